// The drawing documentation commands: change menu, the three documentation forms with their
// store rules, the change-history printout and the start of linked documents.
#include "docs/docmenu.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

#include "base/codepage.h"
#include "dialogs/dialogs.h"
#include "platform/process.h"
#include "reportui/reportservice.h"

namespace velk {

namespace {

// Blanks and control characters count as empty space when a typed text is judged empty.
std::string trimBlank(std::string_view s) {
  std::size_t a = 0, b = s.size();
  while (a < b && static_cast<unsigned char>(s[a]) <= ' ') ++a;
  while (b > a && static_cast<unsigned char>(s[b - 1]) <= ' ') --b;
  return std::string(s.substr(a, b - a));
}

// A description's lines, whatever line breaks it holds.
std::vector<std::string> descriptionLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

void showHistory(HelpContext& ws) { PrintChangeHistory(ws, ReportDevice::Screen); }

// "neu": a new last entry dated today, kept only when its form is confirmed.
void newChange(HelpContext& ws) {
  Documentation& d = ws.spring.doc;
  if (d.changeCount >= kMaxChangeEntries) {
    ShowError(ws, oem("Max. Änderungen = ") + fmtInt(kMaxChangeEntries) + " !");
    ws.abort = true;
    return;
  }
  // The slot keeps the texts it held (an entry removed by "löschen" comes back), dated today.
  ChangeEntry& slot = d.changes[d.changeCount];
  const std::string oldDate = slot.date;
  slot.date = todayText(ws.num());
  ++d.changeCount;
  EditChangeEntry(ws, d.changeCount);
  if (ws.abort) {
    --d.changeCount;
    slot.date = oldDate;
    return;
  }
  showHistory(ws);
}

}  // namespace

std::string ChangeIndexText(int style, int number) {
  if (style == 1 || number < 1 || number > 26) return fmtInt(number);
  return std::string(1, static_cast<char>('a' + number - 1));
}

std::string normaliseLineBreaks(const std::string& text) {
  const std::vector<std::string> lines = descriptionLines(text);
  std::string out = lines.front();
  for (std::size_t i = 1; i < lines.size(); ++i) out += "\r\n" + lines[i];
  return out;
}

void StoreChangeEntry(ChangeEntry& entry, const ChangeEntryResult& typed) {
  entry.designation = leftStr(typed.designation, kLenChangeDesignation);
  entry.date = leftStr(typed.date, kLenChangeDate);
  entry.editor = leftStr(typed.editor, kLenChangeEditor);
  entry.description = normaliseLineBreaks(typed.description);
}

DrawingInfoRequest DrawingInfoFormFor(const HelpContext& ws) {
  const DrawingInfo& info = ws.spring.doc.info;
  const NumberSettings& ns = ws.num();
  DrawingInfoRequest q;
  q.caption = "Zeichnungsinfo";
  q.replaces = info.replaces;
  q.replacedBy = info.replacedBy;
  q.rowTitles = {"Bearb.", "Gepr.", "Norm", ws.config.releaseFieldText};
  q.people = {{{info.creationDate, info.author},
               {info.checkDate, info.checker},
               {info.standardsDate, info.standardsChecker},
               {info.releaseDate, info.releaser}}};
  const int count = std::clamp(info.freeTextCount, 0, kMaxFreeTexts);
  for (int i = 0; i < count; ++i) {
    const FreeText& f = info.freeTexts[i];
    q.freeTexts[i] = {fmtSig(ns, f.x), fmtSig(ns, f.y), fmtSig(ns, f.h), fmtSig(ns, f.phi), f.text};
  }
  q.today = todayText(ns);
  q.replaceLength = kLenReplace;
  q.peopleLength = kLenInfoField;
  q.textLength = kLenFreeText;
  q.helpNumber = kHelpDrawingInfo;
  return q;
}

void StoreDrawingInfo(DrawingInfo& info, const DrawingInfoResult& typed) {
  info.replaces = leftStr(typed.replaces, kLenReplace);
  info.replacedBy = leftStr(typed.replacedBy, kLenReplace);
  std::string* const cells[4][2] = {{&info.creationDate, &info.author},
                                    {&info.checkDate, &info.checker},
                                    {&info.standardsDate, &info.standardsChecker},
                                    {&info.releaseDate, &info.releaser}};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 2; ++c) *cells[r][c] = leftStr(typed.people[r][c], kLenInfoField);

  // Row 1 always; then rows up to the first one without text.
  int count = 0;
  for (int r = 0; r < kMaxFreeTexts; ++r) {
    const std::array<std::string, 5>& row = typed.freeTexts[r];
    if (r > 0 && trimBlank(row[4]).empty()) break;
    FreeText& f = info.freeTexts[r];
    f.x = parseReal(trimBlank(row[0]));
    f.y = parseReal(trimBlank(row[1]));
    f.h = parseReal(trimBlank(row[2]));
    f.phi = parseReal(trimBlank(row[3]));
    f.text = leftStr(row[4], kLenFreeText);
    ++count;
  }
  info.freeTextCount = count;
}

void StoreDocuments(std::array<LinkedDocument, kLinkedDocuments>& documents, const DocumentSetupResult& typed) {
  for (int i = 0; i < kLinkedDocuments; ++i) {
    documents[i].program = leftStr(typed.programs[i], kLenDocumentPath);
    documents[i].file = leftStr(typed.files[i], kLenDocumentPath);
  }
}

void ChangeMenu(HelpContext& ws, int action) {
  ws.abort = false;
  if (action == 0) {
    const char* items[] = {"neu", "ändern", "löschen", "anzeigen", "Ausdruck", "Zeichnungsinfo", "zurück...."};
    for (int i = 0; i < 7; ++i) ws.choiceItems[i + 1] = oem(items[i]);
    uint16_t choice = 4;
    SetHelpNumber(ws, kHelpChangeMenu);
    ChooseItem(ws, oem("Änderungen"), 7, choice);
    if (ws.abort) return;
    action = choice;
  }
  Documentation& d = ws.spring.doc;
  switch (action) {
    case 1:
      newChange(ws);
      return;
    case 2:
      if (d.changeCount > 0) {
        EditChangeEntry(ws, d.changeCount);
        if (!ws.abort) showHistory(ws);
      }
      return;
    case 3:
      if (d.changeCount > 0) {
        --d.changeCount;
        ws.spring.modified = true;
      }
      showHistory(ws);
      return;
    case 4:
      showHistory(ws);
      return;
    case 5:
      PrintChangeHistory(ws, kDeviceAsk);
      return;
    case 6:
      EditDrawingInfo(ws);
      return;
    default:  // 7 "zurück....": nothing
      return;
  }
}

void EditChangeEntry(HelpContext& ws, int entry) {
  if (entry < 1 || entry > kMaxChangeEntries) {
    ws.abort = true;
    return;
  }
  ChangeEntry& e = ws.spring.doc.changes[entry - 1];
  ChangeEntryRequest q;
  q.caption = oem("Änderung") + " " + fmtInt(entry);
  q.designation = e.designation;
  q.date = e.date;
  q.editor = e.editor;
  q.description = normaliseLineBreaks(e.description);
  q.today = todayText(ws.num());
  q.designationLength = kLenChangeDesignation;
  q.dateLength = kLenChangeDate;
  q.editorLength = kLenChangeEditor;
  q.helpNumber = kHelpChangeEntry;
  SetHelpNumber(ws, kHelpChangeEntry);
  const std::optional<ChangeEntryResult> typed = ws.ui.show(q);
  if (!typed) {
    ws.abort = true;
    return;
  }
  StoreChangeEntry(e, *typed);
  ws.spring.modified = true;
  ws.abort = false;
}

void EditDrawingInfo(HelpContext& ws) {
  const DrawingInfoRequest q = DrawingInfoFormFor(ws);
  SetHelpNumber(ws, kHelpDrawingInfo);
  const std::optional<DrawingInfoResult> typed = ws.ui.show(q);
  if (!typed) {
    ws.abort = true;
    return;
  }
  StoreDrawingInfo(ws.spring.doc.info, *typed);
  ws.spring.modified = true;
  ws.abort = false;
}

void PrintChangeHistory(HelpContext& ws, std::optional<ReportDevice> device) {
  const Spring& s = ws.spring;
  const Documentation& d = s.doc;
  const DrawingInfo& info = d.info;
  SetReportHeader(ws.report, std::string(kProgramTitle) + " V" + kVersion, oem("Änderungsprotokoll"), s.titleLine,
                  s.bemerk1, s.bemerk2, 0);
  OpenReport(ws, device, s.fileName + ".TXT");
  if (ws.abort) return;
  // The quick look on the screen goes without the page header.
  if (device != ReportDevice::Screen) {
    WritePageHeader(ws.report, 0, 0);
    if (ReportStopped(ws)) return;
  }
  WriteTextLine(ws.report, "");
  WriteTextLine(ws.report, "Erstellungsdatum: " + info.creationDate + "     " + "Erstellt von" + ": " + info.author);
  if (!trimBlank(info.replaces).empty()) {
    WriteTextLine(ws.report, "");
    WriteTextLine(ws.report, oem("Ersatz für: ") + padRight(info.replaces, kLenReplace));
  }
  if (!trimBlank(info.replacedBy).empty()) {
    WriteTextLine(ws.report, "");
    WriteTextLine(ws.report, "Ersetzt durch: " + padRight(info.replacedBy, kLenReplace));
  }
  WriteTextLine(ws.report, "");
  WriteTextLine(ws.report, padRight("Index", 6) + "  " + padRight("Datum", 10) + "   " + padRight("Bearb.", 6) + "   " +
                               padRight(oem("Änderung"), 20));
  WriteTextLine(ws.report, DoubleRule(ws.report));
  const int n = std::clamp(d.changeCount, 0, kMaxChangeEntries);
  for (int i = 0; i < n; ++i) {
    const ChangeEntry& e = d.changes[i];
    WriteTextLine(ws.report, "  " + ChangeIndexText(ws.config.changeIndexStyle, i + 1) + "     " +
                                 padRight(e.date, 10) + "   " + padRight(e.editor, 6) + "   " +
                                 padRight(e.designation, 20));
    // A line break inside a report line would break the page model: one line per description line.
    for (const std::string& line : descriptionLines(e.description)) WriteTextLine(ws.report, " " + line);
    WriteTextLine(ws.report, ThinRule(ws.report));
    if (ReportStopped(ws)) return;
  }
  CloseReport(ws);
}

void EditDocuments(HelpContext& ws) {
  DocumentSetupRequest q;
  q.caption = "Document Setup";
  for (int i = 0; i < kLinkedDocuments; ++i) {
    q.programs[i] = ws.spring.doc.documents[i].program;
    q.files[i] = ws.spring.doc.documents[i].file;
  }
  q.maxLength = kLenDocumentPath;
  q.programHint = kHelpDocumentProgram;
  q.fileHint = kHelpDocumentFile;
  q.helpNumber = kHelpDocumentSetup;
  q.browse = [&ws](int field, std::string& text) {
    if (field < 1 || field > 2 * kLinkedDocuments) return false;
    // Programs here carry no ".exe" and many files no extension: both choosers show all files.
    const char* filter = "*";
    const bool abortBefore = ws.abort;
    std::string chosen;
    ChooseFileFrom(ws, cp850ToUtf8(trimBlank(text)), filter, chosen);
    const bool cancelled = ws.abort;
    // Cancelling the file choice does not cancel the form.
    ws.abort = abortBefore;
    if (cancelled) return false;
    text = utf8ToCp850(chosen);
    return true;
  };
  SetHelpNumber(ws, kHelpDocumentSetup);
  const std::optional<DocumentSetupResult> typed = ws.ui.show(q);
  if (!typed) {
    ws.abort = true;
    return;
  }
  StoreDocuments(ws.spring.doc.documents, *typed);
  ws.spring.modified = true;
  ws.abort = false;
}

std::string readableCommandLine(const std::vector<std::string>& argv) {
  std::string line;
  for (const std::string& word : argv) {
    if (!line.empty()) line += ' ';
    const bool plain = !word.empty() && word.find_first_not_of(
                                            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
                                            "@%+=:,./_-") == std::string::npos;
    if (plain) {
      line += word;
      continue;
    }
    // Any other word in single quotes, a quote inside it as '\'' : the line reads as a shell would.
    line += '\'';
    for (char c : word) line += c == '\'' ? std::string("'\\''") : std::string(1, c);
    line += '\'';
  }
  return line;
}

namespace {

// A spring file can come from anyone and names the programs of its documents: a program other
// than the desktop's opener found on PATH by name starts only once the user has seen its command
// line and said yes, once per command line and session.
bool allowedToStart(HelpContext& ws, const std::vector<std::string>& argv) {
  if (argv.empty() || isDesktopOpener(argv)) return true;
  if (ws.confirmedCommands.count(argv)) return true;
  YesNoRequest q;
  q.prompt = oem("Dieses Programm starten ?  ") + utf8ToCp850(readableCommandLine(argv));
  q.yes = false;
  const std::optional<YesNoResult> answer = ws.ui.show(q);
  if (!answer || !answer->yes) return false;
  ws.confirmedCommands.insert(argv);
  return true;
}

}  // namespace

void OpenDocument(HelpContext& ws, int number) {
  if (number < 1 || number > kLinkedDocuments) return;
  const LinkedDocument& doc = ws.spring.doc.documents[number - 1];
  // The texts are code page 850; the system's names are UTF-8.
  const std::string file = cp850ToUtf8(trimBlank(doc.file));
  BusyCursor(ws);
  ProgramCommand cmd = commandForFile(cp850ToUtf8(doc.program), file);
  int err = ENOENT;
  if (cmd.status == ProgramCommand::Status::Ready) {
    // The file is one argument, blanks and all; an empty one is no argument at all.
    if (file.empty()) cmd.argv.pop_back();
    if (!allowedToStart(ws, cmd.argv)) {
      NormalCursor(ws);
      ws.abort = true;
      return;
    }
    err = StartProgram(ws.programs, cmd.argv);
  }
  NormalCursor(ws);
  if (err != 0) {
    ShowError(ws, startErrorText(err));
    ws.abort = true;
  }
}

void ResetDocumentation(HelpContext& ws) {
  Documentation& d = ws.spring.doc;
  d.changeCount = 0;
  d.changes = {};
  d.info = DrawingInfo{};
  d.info.creationDate = todayText(ws.num());
  d.documents = {};
}

}  // namespace velk
