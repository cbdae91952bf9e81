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

struct Workspace;
struct OnlineFormRequest;  // dialogs/onlinetable.h
struct OnlineFormResult;

// The table browser window over the open table (ws.table). The window runs the browser's menu
// commands and grid edits through the Browser* functions of tables/tableservice.h on *ws and
// re-reads BrowseRows after each; texts are code page 850, filePath is native.
struct BrowseRequest {
  std::string caption;
  std::string title1, title2;
  int mode = 1;  // 1 selection (no editing, deleted records hidden), any other value edit
  std::string filePath;
  std::uint32_t currentRecord = 0;
  std::vector<std::uint32_t> rows;  // records shown, in display order
  uint16_t helpNumber = 0;
  Workspace* ws = nullptr;
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

  // Table browser: the chosen record on OK, nullopt on cancel.
  virtual std::optional<std::uint32_t> browseTable(const BrowseRequest& request) = 0;

  // Modal read-only text window with an "OK" button.
  virtual void showTextWindow(const std::string& caption, const std::vector<std::string>& lines) = 0;

  // Online input form of the design modes (dialogs/onlinetable.h): shows the request modally and
  // fills the result (how it was closed, edit texts, focus row, window position).
  virtual void showOnlineTable(const OnlineFormRequest& request, OnlineFormResult& result) = 0;
};

}  // namespace velk
