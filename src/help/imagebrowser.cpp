// Help image browser: reading and editing the help image list and the browser's pass loop
// around the browser window.
#include "help/imagebrowser.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "base/codepage.h"
#include "dialogs/configio.h"
#include "dialogs/dialogs.h"
#include "help/helptext.h"

namespace velk {

namespace {

constexpr uint16_t kBrowserHelp = 2300;
constexpr uint16_t kNewHelp = 2310;
constexpr uint16_t kDeleteHelp = 2320;
constexpr uint16_t kChangeHelp = 2330;
constexpr uint16_t kChangeNameHelp = 2340;
constexpr uint16_t kInsertHelp = 2350;
// Bytes of a list line that are read: far more than an entry shows.
constexpr std::size_t kListLineKept = 512;

bool isControl(char c) { return static_cast<unsigned char>(c) < 0x20; }

// One field of a list line from pos: an optional separating comma and blanks, then a quoted
// text up to its closing quote. Without the opening quote the text runs to the next comma (the
// first field) or to the line end (the second), and error is set.
std::string readField(std::string_view line, std::size_t& pos, bool last, bool& error) {
  if (pos < line.size() && line[pos] == ',') ++pos;
  while (pos < line.size() && line[pos] == ' ') ++pos;
  if (pos >= line.size()) return {};
  if (line[pos] == '"') {
    ++pos;
    std::size_t end = line.find('"', pos);
    if (end == std::string_view::npos) end = line.size();
    std::string field(line.substr(pos, end - pos));
    pos = std::min(end + 1, line.size());
    return field;
  }
  error = true;
  std::size_t end = last ? line.size() : line.find(',', pos);
  if (end == std::string_view::npos) end = line.size();
  std::string field(line.substr(pos, end - pos));
  pos = end;
  return field;
}

// The name of an entry without blanks and control characters, as written.
std::string strippedName(const HelpImageEntry& entry) {
  std::string name;
  for (const char c : entry.name)
    if (c != ' ' && !isControl(c)) name += c;
  return name;
}

// Field text as it may stand between the quotes of a list line.
std::string listField(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == '"')
      c = '\'';
    else if (isControl(c))
      c = ' ';
  }
  return out;
}

std::string temporaryFolder(const HelpContext& ws) {
  return withSeparator(ws.config.tempDir.empty() ? ws.tempRoot : ws.config.tempDir);
}

// Opens the list for reading; a folder of that name counts as no list.
bool openList(const std::string& path, std::filebuf& file) {
  if (isDirectory(path)) return false;
  return file.open(path, std::ios::in | std::ios::binary) != nullptr;
}

// The line an edit addresses: the selected item, else the one the user chooses.
bool targetLine(HelpContext& ws, int selected, int count, const char* prompt, int& line) {
  if (selected >= 1 && selected <= count) {
    line = selected;
    return true;
  }
  uint16_t choice = 1;
  ChooseItem(ws, oem(prompt), count, choice);
  if (ws.abort) return false;
  line = choice;
  return true;
}

// The image file (chosen in the PLT folder) and its description for a new line.
bool askNewLine(HelpContext& ws, std::string& line) {
  std::string folder = pltFolder(ws);
  std::string name;
  ChooseFileToOpen(ws, 1, folder, "*.plt", name);
  if (ws.abort) return false;
  std::string info;
  EnterText(ws, "Information zum Hilfebild", kHelpImageInfoLength, info);
  if (ws.abort) return false;
  line = helpImageListLine(name, info);
  return true;
}

}  // namespace

HelpImageList readHelpImageList(std::streambuf& file) {
  HelpImageList list;
  BoundedLineReader reader(file, kListLineKept);
  std::string line;
  while (static_cast<int>(list.entries.size()) < kMaxHelpImages && reader.next(line)) {
    HelpImageEntry entry;
    std::size_t pos = 0;
    entry.name = readField(line, pos, false, list.fieldError);
    entry.info = readField(line, pos, true, list.fieldError);
    entry.text = helpImageEntryText(entry.name, entry.info);
    list.entries.push_back(std::move(entry));
  }
  return list;
}

HelpImageList readHelpImageList(std::string_view fileBytes) {
  ViewStreamBuf buffer(fileBytes);
  return readHelpImageList(buffer);
}

std::string helpImageEntryText(std::string_view name, std::string_view info) {
  std::string text(name);
  if (text.size() < static_cast<std::size_t>(kHelpImageNameLength)) text.resize(kHelpImageNameLength, ' ');
  text += ": ";
  text.append(info.substr(0, kHelpImageEntryWidth));
  if (text.size() > kHelpImageEntryWidth) text.resize(kHelpImageEntryWidth);
  for (char& c : text)
    if (isControl(c)) c = ' ';
  return text;
}

std::string helpImageName(const HelpImageEntry& entry) { return lower(strippedName(entry)); }

std::string helpImageListLine(std::string_view name, std::string_view info) {
  return "\"" + listField(name) + "\",\"" + listField(info) + "\"\r\n";
}

std::optional<std::string> editHelpImageList(std::string_view bytes, HelpImageListEdit edit, int line,
                                             std::string_view newLine) {
  std::string out;
  out.reserve(bytes.size() + newLine.size() + 2);
  if (edit == HelpImageListEdit::Append) {
    out.assign(bytes);
    if (!out.empty() && out.back() != '\r' && out.back() != '\n') out += "\r\n";
    out.append(newLine);
    return out;
  }
  int k = 0;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t next = bytes.find_first_of("\r\n", pos);
    if (next == std::string_view::npos) {
      next = bytes.size();
    } else {
      ++next;
      if (bytes[next - 1] == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
    }
    const std::string_view whole = bytes.substr(pos, next - pos);
    if (++k == line) {
      switch (edit) {
        case HelpImageListEdit::Delete:
          break;
        case HelpImageListEdit::Replace:
          out.append(newLine);
          break;
        case HelpImageListEdit::InsertBefore:
          out.append(newLine);
          out.append(whole);
          break;
        case HelpImageListEdit::Append:
          break;
      }
    } else {
      // A lone CR before an empty LF line left behind by a deletion would read as one CR LF:
      // that line end becomes CR LF itself, so the line count stays straight.
      if (!out.empty() && out.back() == '\r' && !whole.empty() && whole.front() == '\n') out += '\n';
      out.append(whole);
    }
    pos = next;
  }
  if (line < 1 || line > k) return std::nullopt;
  return out;
}

std::string helpImageListPath(const HelpContext& ws) { return pltFolder(ws) + lower(ws.start.shortName) + ".dbh"; }

void RewriteHelpImageList(HelpContext& ws, HelpImageListEdit edit, int line, const std::string& newLine) {
  const std::string path = helpImageListPath(ws);
  int err = 0;
  const std::optional<std::string> bytes =
      isDirectory(path) ? std::nullopt : readWholeFile(path, kMaxHelpImageListBytes + 1, &err);
  if (!bytes) {
    CheckInputFile(ws, path);
    ws.abort = true;
    return;
  }
  if (bytes->size() > kMaxHelpImageListBytes) {
    // Only a list read whole can be written back without losing its end.
    ShowError(ws, "Datei " + utf8ToCp850(path) + oem(" ist zu groß !"));
    ws.abort = true;
    return;
  }
  const std::optional<std::string> updated = editHelpImageList(*bytes, edit, line, newLine);
  if (!updated) {  // the list lost that line since it was shown
    ShowError(ws, "DBH file error");
    ws.abort = true;
    return;
  }
  // The work copy of the list in the temporary folder; a configured temporary folder may be
  // shared, so a link planted under that name is removed, never written through.
  const std::string work = temporaryFolder(ws) + "$$$.dbh";
  ::unlink(work.c_str());
  if (int e = atomicWriteFile(work, *updated, ws.io)) return ReportIoError(ws, IoStage::Create, work, e);
  const int e = atomicWriteFile(path, *updated, ws.io);
  ::unlink(work.c_str());
  if (e) ReportIoError(ws, IoStage::Create, path, e);
}

namespace {

// The edit actions of the window: asks what they need and rewrites the list. False when a
// dialog was cancelled or the deletion refused.
bool editList(HelpContext& ws, HelpImageAction action, int selected, const HelpImageList& list) {
  const int count = static_cast<int>(list.entries.size());
  std::string newLine;
  int line = 0;
  switch (action) {
    case HelpImageAction::New:
      SetHelpNumber(ws, kNewHelp);
      if (!askNewLine(ws, newLine)) return false;
      RewriteHelpImageList(ws, HelpImageListEdit::Append, 0, newLine);
      return true;
    case HelpImageAction::Delete:
      SetHelpNumber(ws, kDeleteHelp);
      if (selected >= 1 && selected <= count) {
        line = selected;
        if (!AskQuestion(ws, oem("Löschen ?"))) return false;
      } else if (!targetLine(ws, selected, count, "Zu löschende Zeile wählen...", line)) {
        return false;
      }
      RewriteHelpImageList(ws, HelpImageListEdit::Delete, line, {});
      return true;
    case HelpImageAction::Change: {
      SetHelpNumber(ws, kChangeHelp);
      if (!targetLine(ws, selected, count, "Zu ändernde Zeile wählen...", line)) return false;
      const HelpImageEntry& entry = list.entries[static_cast<std::size_t>(line - 1)];
      std::string name = helpImageName(entry);
      SetHelpNumber(ws, kChangeNameHelp);
      EnterText(ws, "Dateiname (ohne Endung .plt)", kHelpImageNameLength, name);
      if (ws.abort) return false;
      std::string info = listField(leftStr(entry.info, kHelpImageInfoLength));
      SetHelpNumber(ws, kChangeHelp);
      EnterText(ws, "Information zum Hilfebild", kHelpImageInfoLength, info);
      if (ws.abort) return false;
      RewriteHelpImageList(ws, HelpImageListEdit::Replace, line, helpImageListLine(name, info));
      return true;
    }
    case HelpImageAction::Insert:
      SetHelpNumber(ws, kInsertHelp);
      if (!targetLine(ws, selected, count, "Vor welche Zeile einfügen ?", line)) return false;
      SetHelpNumber(ws, kChangeHelp);
      if (!askNewLine(ws, newLine)) return false;
      RewriteHelpImageList(ws, HelpImageListEdit::InsertBefore, line, newLine);
      return true;
    case HelpImageAction::Show:
    case HelpImageAction::Leave:
      break;
  }
  return true;
}

}  // namespace

void ShowHelpImages(HelpContext& ws) {
  ws.abort = false;
  int running = 0;
  HelpImageAction last = HelpImageAction::Show;
  bool firstPass = true;
  for (;;) {
    ++running;
    int count = 0;
    bool draw = false;
    std::string image, imageAsWritten;
    const std::string listPath = helpImageListPath(ws);
    std::filebuf file;
    if (openList(listPath, file)) {
      const HelpImageList list = readHelpImageList(file);
      file.close();
      if (list.fieldError) ShowError(ws, "DBH file error");
      count = static_cast<int>(list.entries.size());
      std::vector<std::string> items;
      for (int i = 0; i < count; ++i) {
        ws.choiceItems[static_cast<std::size_t>(i) + 1] = list.entries[static_cast<std::size_t>(i)].text;
        items.push_back(list.entries[static_cast<std::size_t>(i)].text);
      }
      SetHelpNumber(ws, kBrowserHelp);
      // The window opens on max(1, preselection - 1): after a show on the item shown, after an
      // edit on the item it opened with before (each further edit in a row moves it one on).
      const int preselection = last == HelpImageAction::Show ? running : running - 1;

      HelpImageAction action = HelpImageAction::Show;
      int selected = 1;
      if (firstPass) {
        firstPass = false;
      } else {
        HelpImagesRequest request;
        request.caption = std::string(kAppTitle) + " " + "Hilfebilder";
        request.items = std::move(items);
        const int target = std::max(1, preselection - 1);
        request.selected = target <= count ? target : 0;
        request.left = ws.helpImagesLeft;
        request.top = ws.helpImagesTop;
        request.helpNumber = ws.helpNumber;
        request.onHelp = [&ws] {
          ShowHelp(ws, 0, 1);
          ws.abort = false;
        };
        const std::optional<HelpImagesResult> result = ws.ui.show(request);
        // nullopt: closed without a button, where it was opened.
        if (result) {
          ws.helpImagesLeft = result->left;
          ws.helpImagesTop = result->top;
        }
        if (!result || result->action == HelpImageAction::Leave) {
          ws.abort = true;
          return;
        }
        action = result->action;
        selected = result->selected;
      }
      last = action;

      if (action == HelpImageAction::Show) {
        if (selected < 1) {  // nothing selected
          ws.abort = true;
          return;
        }
        running = selected;
        if (selected <= count) {
          imageAsWritten = strippedName(list.entries[static_cast<std::size_t>(selected - 1)]);
          image = lower(imageAsWritten);
          draw = true;
        }
      } else {
        // A cancelled dialog or a "no" ends the browser.
        if (!editList(ws, action, selected, list)) ws.abort = true;
      }
    } else {
      // No list: a ".plt" file chooser, whose folder becomes the PLT folder.
      std::string folder = pltFolder(ws);
      std::string name;
      ChooseFileToOpen(ws, 1, folder, "*.plt", name);
      if (ws.abort) return;
      ws.config.pltDir = folder;
      running = 1;
      count = 2;
      image = imageAsWritten = name;
      draw = true;
    }

    // Only a show draws: after an edit the next pass shows the re-read list.
    if (draw && running >= 1 && running <= count) DrawHelpImage(ws, helpImagePath(ws, image, imageAsWritten));
    if (ws.abort) {
      ws.abort = false;
      return;
    }
  }
}

}  // namespace velk
