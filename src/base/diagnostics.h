// The one place engines put what they have to say. An engine (calculation, drawing layer, CAD
// writers, report writer, dBASE engine) never opens a window: it adds a message to the sink and
// goes on or stops as its own contract says. The session installs a listener that shows each
// message as it arrives (a message box in the window, a line on stderr in a batch job), so
// messages keep their order with every other exchange with the user. The sink also keeps the
// latest messages as values for the window's message list and for tests.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>

namespace velk {

enum class Severity { Error, Info, Titled };

struct Diagnostic {
  Severity severity = Severity::Info;
  std::string caption;  // code page 850, as the message box shows it
  std::string text;     // code page 850
};

class Diagnostics {
 public:
  using Listener = std::function<void(const Diagnostic&)>;
  // Messages kept as values; older ones are dropped (a long window session stays bounded).
  static constexpr size_t kKept = 500;

  // An error ("Fehler : "), a notice ("Meldung:") and a message with its own caption.
  void error(std::string text);
  void info(std::string text);
  void titled(std::string caption, std::string text);
  void add(Diagnostic message);

  // The listener sees every message as it is added; none: the messages are only kept.
  void setListener(Listener listener) { listener_ = std::move(listener); }

  const std::deque<Diagnostic>& messages() const { return kept_; }
  size_t errorCount() const { return errors_; }
  void clear() {
    kept_.clear();
    errors_ = 0;
  }

 private:
  Listener listener_;
  std::deque<Diagnostic> kept_;
  size_t errors_ = 0;
};

}  // namespace velk
