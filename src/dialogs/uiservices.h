// The one interface through which the core reaches the user: modal dialogs, message boxes,
// file choosers and the windows other parts show. Qt implements it in gui/, the headless
// implementation (batch mode, tests) in dialogs/headless.h. All texts are code page 850.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velk {

enum class MessageKind { Error, Info, Titled };
enum class QuestionAnswer { Yes, No, Cancel };
enum class CursorShape { Normal, Busy };

struct FileDialogRequest {
  std::string caption;
  std::string folder;       // start folder (native path)
  std::string filter;       // "*.vlk|*.vlk" style: description|pattern pairs
  std::string defaultName;  // proposed file name, may be empty
};

class UiServices {
 public:
  virtual ~UiServices() = default;

  // Single-line text dialog ("Eingabe"): true on OK with the new text, false on cancel.
  virtual bool textDialog(const std::string& caption, const std::string& prompt, int maxLength,
                          std::string& text, uint16_t helpNumber) = 0;
  // Radio dialog (up to 7 items) and list dialog ("Auswahl"); index is 1-based.
  virtual bool radioDialog(const std::string& prompt, const std::vector<std::string>& items, int& index,
                           uint16_t helpNumber) = 0;
  virtual bool listDialog(const std::string& prompt, const std::vector<std::string>& items, int& index,
                          uint16_t helpNumber) = 0;
  // Yes/no dialog with "&Ja" / "&Nein"; yes is preset and returned.
  virtual bool yesNoDialog(const std::string& prompt, bool& yes, uint16_t helpNumber) = 0;
  // Question box with yes, no and cancel.
  virtual QuestionAnswer questionBox(const std::string& caption, const std::string& question) = 0;
  virtual void messageBox(MessageKind kind, const std::string& caption, const std::string& text) = 0;
  virtual void beep() = 0;
  virtual void setCursor(CursorShape shape) = 0;
  virtual void setWindowTitle(const std::string& title) = 0;

  // File choosers; nullopt on cancel. Paths are native.
  virtual std::optional<std::string> chooseFolder(const std::string& start) = 0;
  virtual std::optional<std::string> openFileDialog(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> saveFileDialog(const FileDialogRequest& request) = 0;

  // Modal read-only text window with an "OK" button.
  virtual void showTextWindow(const std::string& caption, const std::vector<std::string>& lines) = 0;
};

}  // namespace velk
