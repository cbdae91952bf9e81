// Help image browser: the list of help images (velk.dbh in the PLT folder), browsing and
// showing them, and adding, changing, inserting and deleting list lines.
#pragma once

// The list file: one line per help image, "name","info" (two fields in double quotes separated
// by a comma), code page 850, CR LF. name is the image file name without ".plt" (up to 8
// characters, lower case), info a description of up to 50 characters; neither holds a double
// quote. At most the first 130 lines are shown. Line k of the file is entry k of the browser
// (a line end always ends an entry), so edits address the line the user saw. A field without
// its opening quote is read on as well as possible (up to the next comma, or the line end for
// the second field) and reported once per reading as "DBH file error".

#include <cstddef>
#include <optional>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "help/context.h"

namespace velk {

constexpr int kMaxHelpImages = 130;
constexpr std::size_t kHelpImageEntryWidth = 65;  // entry texts are cut here
constexpr int kHelpImageNameLength = 8;
constexpr int kHelpImageInfoLength = 50;
// The largest list file that is rewritten whole; a larger one is refused, never cut.
constexpr std::size_t kMaxHelpImageListBytes = 4u << 20;

struct HelpImageEntry {
  std::string name;  // the first field as read
  std::string info;  // the second field as read
  std::string text;  // name padded to 8 + ": " + info, cut to 65, control characters as blanks
};
struct HelpImageList {
  std::vector<HelpImageEntry> entries;  // at most kMaxHelpImages
  bool fieldError = false;              // some field lacked its opening quote
};

// Reads the first 130 lines of a list. Never fails; memory stays bounded whatever the input.
HelpImageList readHelpImageList(std::streambuf& file);
HelpImageList readHelpImageList(std::string_view fileBytes);

// The entry text of a name and an info.
std::string helpImageEntryText(std::string_view name, std::string_view info);
// The image name of an entry: its name with all blanks (and control characters) removed, lower case.
std::string helpImageName(const HelpImageEntry& entry);
// A list line with its CR LF; a double quote in a field becomes "'", control characters blanks.
std::string helpImageListLine(std::string_view name, std::string_view info);

// Edits of the list on its bytes. Every line not addressed keeps its bytes, its line end
// included; the line given (1-based) is left out, replaced by newLine or preceded by it.
// Append adds newLine at the end (after a CR LF when the last line has no line end). nullopt
// when the file has no such line. newLine comes with its line end.
enum class HelpImageListEdit { Delete, Replace, InsertBefore, Append };
std::optional<std::string> editHelpImageList(std::string_view bytes, HelpImageListEdit edit, int line,
                                             std::string_view newLine);

// PLT folder + lower(short name) + ".dbh".
std::string helpImageListPath(const HelpContext& ws);

// Applies an edit to the list file: the new list is written to the temporary folder as
// "$$$.dbh" and then replaces the list file atomically (temporary file beside it, renamed), so
// that a failure shows its message, sets the abort flag and leaves the list as it was.
void RewriteHelpImageList(HelpContext& ws, HelpImageListEdit edit, int line, const std::string& newLine);

// The help image browser: runs in passes until the user leaves it. "OK" in the window, or a
// show without a selection, ends it with the abort flag set (the calling forms clear it); a
// cancelled dialog, a refused question, a failed rewrite or a missing image ends it with the
// flag cleared. Without a list file it becomes a repeated ".plt" file chooser whose choice
// moves the PLT folder for the rest of the run.
void ShowHelpImages(HelpContext& ws);

}  // namespace velk
