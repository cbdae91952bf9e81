// Message explanations: cause and remedy of every calculation message from the explanation
// file (PLT folder + short name + ".err"), for the reports, the views and the help windows.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "data/messages.h"

namespace velk {

// The explanation file is a sequence of line triples: message, cause ("Ursache"), remedy
// ("Abhilfe"), code page 850, CR LF (CR or LF alone also end a line when read).
//
// A message is looked up in three steps, the first that finds a line wins:
//   1. a line equal to the whole message (trailing blanks ignored);
//   2. a pattern line: the fixed parts of a formatted message around "...", as in
//      "Warnung: d<dmin (...)" for "Warnung: d<dmin (0.1)" or "DBF #... not found.";
//   3. a line whose first n characters equal the message's first n (14 for the report texts,
//      18 for the explanation window), so that older files keep working.
// Messages that share a prefix ("Fehler : sigma2=0 !", "Fehler : sigmak2=0 !") thus each get
// their own entry. A match on the file's last line counts as no match (nothing follows it).

constexpr std::size_t kReportMatchLength = 14;
constexpr std::size_t kWindowMatchLength = 18;
// Cause and remedy are single lines of at most this many characters; longer lines are cut.
constexpr std::size_t kExplanationLineLength = 255;
// The largest explanation file read; lookups see its first part, saving refuses a larger one.
constexpr std::size_t kMaxExplanationFileBytes = 16u << 20;

// The fixed texts of this module (code page 850).
std::string NoExplanationText();  // "keine Beschreibung dieser Fehlermeldung vorhanden."
std::string NoMessagesText();     // "Berechnung erfolgreich ohne Fehlermeldungen"

// The explanation file is the PLT folder + short name + ".err" (reportui/explanations.h).

struct ExplanationEntry {
  bool found = false;
  std::size_t line = 0;  // 0-based line of the message in the file
  std::string cause;     // cut to kExplanationLineLength, control characters shown as blanks
  std::string remedy;    // empty when the file ends after the cause
};

// The entry of message in the bytes of an explanation file, with the given prefix length for
// step 3. Never fails: any bytes give a defined result.
ExplanationEntry findExplanation(std::string_view fileBytes, std::string_view message, std::size_t prefixLength);

// The file bytes with the cause and remedy of message's entry replaced (the entry the window
// shows: steps 1-3 with 18 characters, then 14), every other byte unchanged; the new texts are
// made single lines (line breaks and control characters become blanks) and cut like the reader
// cuts them. nullopt when the file has no entry for message.
std::optional<std::string> replaceExplanation(std::string_view fileBytes, std::string_view message,
                                              std::string_view cause, std::string_view remedy);

// Cause and remedy of message i (1-based) of the calculation message list for the reports,
// with one read of the explanation file at file: both empty when the file does not exist; the cause
// NoExplanationText() and an empty remedy when the file has no entry for the message.
struct MessageExplanation {
  std::string cause;
  std::string remedy;
};
MessageExplanation ExplainMessage(const std::string& file, const CalcMessages& messages, int i);

}  // namespace velk
