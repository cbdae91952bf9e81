#include "base/diagnostics.h"

#include <utility>

namespace velk {

void Diagnostics::error(std::string text) { add({Severity::Error, "Fehler : ", std::move(text)}); }

void Diagnostics::info(std::string text) { add({Severity::Info, "Meldung:", std::move(text)}); }

void Diagnostics::titled(std::string caption, std::string text) {
  add({Severity::Titled, std::move(caption), std::move(text)});
}

void Diagnostics::add(Diagnostic message) {
  if (message.severity == Severity::Error) ++errors_;
  if (kept_.size() == kKept) kept_.pop_front();
  kept_.push_back(std::move(message));
  if (listener_) {
    const Diagnostic shown = kept_.back();  // the listener may add messages itself
    listener_(shown);
  }
}

}  // namespace velk
