// The drawing documentation commands: change menu, change entry and drawing information forms,
// change-history printout, document setup and the start of linked documents.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "data/documentation.h"
#include "help/context.h"

namespace velk {

// Help numbers of the documentation dialogs.
inline constexpr uint16_t kHelpChangeMenu = 2600;
inline constexpr uint16_t kHelpChangeEntry = 3000;
inline constexpr uint16_t kHelpDrawingInfo = 3010;
inline constexpr uint16_t kHelpDocumentProgram = 2710;  // tool tips of the document setup form
inline constexpr uint16_t kHelpDocumentFile = 2720;
inline constexpr uint16_t kHelpDocumentSetup = 2730;

// Widths of the stored texts (code page 850 characters).
inline constexpr int kLenChangeDesignation = 20;
inline constexpr int kLenChangeDate = 10;
inline constexpr int kLenChangeEditor = 5;
inline constexpr int kLenInfoField = 10;  // dates and names of the drawing information
inline constexpr int kLenReplace = 15;    // "Ersatz für", "Ersetzt durch"
inline constexpr int kLenFreeText = 80;
inline constexpr int kLenDocumentPath = 50;  // program and file of a linked document

// The change-history commands. action 0 asks (help 2600, "Änderungen", item 4 preselected):
// 1 "neu", 2 "ändern", 3 "löschen", 4 "anzeigen", 5 "Ausdruck", 6 "Zeichnungsinfo", 7 "zurück....";
// cancel and 7 do nothing. 1 adds an entry dated today and opens its form (at 25 entries:
// "Max. Änderungen = 25 !"), 2 opens the form of the last entry, 3 removes the last entry; each
// then shows the history on the screen (3 even without entries). 4 shows it, 5 prints it with the
// device choice, 6 opens the drawing information. A cancelled form leaves the history as it was
// (a cancelled "neu" adds nothing) and shows nothing. Every stored change sets spring.modified.
void ChangeMenu(HelpContext& ws, int action);

// The change entry form for entry 1..25: "OK" stores designation (20), date (10), editor (5)
// and description (line breaks made CR LF), clears ws.abort and sets spring.modified;
// "Abbrechen" sets ws.abort and changes nothing.
void EditChangeEntry(HelpContext& ws, int entry);

// The drawing information form: "OK" stores every field by StoreDrawingInfo and sets
// spring.modified; "Abbrechen" sets ws.abort and changes nothing.
void EditDrawingInfo(HelpContext& ws);

// The change-history printout through the report writer. device 1: the screen without asking
// (and without a page header); 0: the device choice; any other code forces that device.
// Stops on abort. Description lines are printed one per line, each after one blank.
void PrintChangeHistory(HelpContext& ws, std::optional<ReportDevice> device);

// The document setup form: "OK" stores the ten texts (each cut to 50) and sets spring.modified;
// "Abbrechen" sets ws.abort. The "..." buttons choose a file (all files shown: programs here have
// no ".exe"); cancelling that choice only keeps the field's text.
void EditDocuments(HelpContext& ws);

// Starts linked document number 1..5: its program with its file as one further argument (no file
// argument when the file is empty), through ws.programs, never through a shell. A Windows program
// name that does not exist here ("NOTEPAD.EXE") opens the file with xdg-open instead. Any program
// but xdg-open starts only after a yes to its command line shown (once per command line in the
// session: ws.confirmedCommands); no or cancel starts nothing and sets ws.abort. Failures show
// "file not found", "out of memory !" or "Exec error " + code and set ws.abort.
void OpenDocument(HelpContext& ws, int number);

// An argument vector as one line a user can read (and a shell would split back the same way):
// words of plain characters as they are, any other word in single quotes.
std::string readableCommandLine(const std::vector<std::string>& argv);

// The reset of File->New: no change entries (their texts cleared too), creation date = today,
// every other date, name and replace field empty, no free texts, the five documents at their
// start values (program "NOTEPAD.EXE", no file).
void ResetDocumentation(HelpContext& ws);

// ---- Store rules and formatting, shared by the commands and the tests ----

// The index printed for entry number (1-based): the number for style 1 ("1,2,3..."), the lower-
// case letter ("a" for 1) for every other style.
std::string ChangeIndexText(int style, int number);

// A change entry as the form stores it.
void StoreChangeEntry(ChangeEntry& entry, const ChangeEntryResult& typed);
// Description lines as typed (CR LF, CR or LF) with CR LF line breaks.
std::string normaliseLineBreaks(const std::string& text);

// The drawing information as its form shows it (row titles from the release-field text, free
// texts 1..count in the short number format, later rows empty) and as "OK" stores it: names and
// texts cut to their widths, numbers read with "," accepted (unreadable: 0); free-text row 1 is
// always stored, each later row while its trimmed text is not empty; the count is the number of
// rows stored.
DrawingInfoRequest DrawingInfoFormFor(const HelpContext& ws);
void StoreDrawingInfo(DrawingInfo& info, const DrawingInfoResult& typed);

// The ten document texts cut to 50.
void StoreDocuments(std::array<LinkedDocument, kLinkedDocuments>& documents, const DocumentSetupResult& typed);

}  // namespace velk
