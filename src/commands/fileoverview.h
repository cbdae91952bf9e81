// The file overview behind File -> Open (table): one table row per input file of the data folder,
// its window's request and result, column sorting, and the scan loop that fills the table.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/numfmt.h"
#include "data/spring.h"
#include "ui/overviewform.h"

namespace velk {

// The material of a spring as the overview shows it. The spring names its material by record
// number only, so the caller supplies the names of the records the spring loaded.
struct OverviewMaterial {
  std::string stripName;    // name line 1 of the strip record (code page 850)
  std::string wireName;     // name line 1 of the wire record
  bool fatigueData = true;  // the fatigue values behind sighz are present for this material
};

// The header texts "File" ... "alpha h".
const OverviewCells& OverviewHeader();
// Widths of the 30 columns in pixels: "No." 90, "Material" 100, all others the default.
std::array<int, kOverviewColumns> OverviewColumnWidths();

// The cells of one file's row. file is the native file name, modifiedUnix its time stamp in
// seconds since 1970 (shown as yyyy/mm/dd in local time). Units, decimals and the decimal comma
// follow num; "b" stays empty for round wire, "sig.hz" when the fatigue data are missing.
OverviewCells OverviewRow(const NumberSettings& num, std::string_view file, long long modifiedUnix,
                          const Spring& spring, const OverviewMaterial& material);
// The row of a file that could not be read: file name and date only. Showing the values of the
// previously read spring there would present another spring's data under this file's name.
OverviewCells OverviewUnreadableRow(std::string_view file, long long modifiedUnix);

// The file a result asks to open: the native name of the chosen data row; nullopt for
// "Export Excel", the header row or an index outside the rows.
std::optional<std::string> ChosenOverviewFile(const FileOverviewResult& result);

// The window's request. programTitle is code page 850, folder a native path. When the window
// is shown again after "Export Excel" or an open, pass the rows of the last result so the
// user's sorting stays.
FileOverviewRequest MakeFileOverviewRequest(const NumberSettings& num, std::string_view programTitle,
                                            std::string_view folder, std::vector<OverviewTableRow> rows);

// ---- Scanning the folder ----
struct OverviewFile {
  std::string name;            // native file name with extension, without folder
  long long modifiedUnix = 0;  // time stamp, seconds since 1970
};

// The input files of folder: regular files whose extension is ext (ASCII letters compared
// without case, so files copied from other systems as ".VLK" are found), sorted by name so the
// table does not depend on the order of the directory. An unreadable folder gives no files.
std::vector<OverviewFile> ListOverviewFiles(const std::string& folder, std::string_view ext);

// What the scan needs from the command layer.
struct OverviewScan {
  std::string folder;        // native; "/" is appended when missing
  std::string ext;           // without the dot
  std::string programTitle;  // code page 850
  // The files to show (normally ListOverviewFiles).
  std::function<std::vector<OverviewFile>(const std::string& folder, const std::string& ext)> listFiles;
  // Reads the input file at path into the spring given to ScanOverviewFiles (and loads its
  // material). Returns false when the file could not be read. A failed read must not leave the
  // abort flag set: the abort flag means "stop scanning", a bad file only gets an empty row.
  std::function<bool(const std::string& path)> readSpring;
  // The material of the spring just read; may be empty (all names empty, fatigue data present).
  std::function<OverviewMaterial()> material;
  // Receives the window caption during the scan: program title + " -> " + file name.
  std::function<void(const std::string& caption)> progress;
};

// Reads every file scan.listFiles gives (ListOverviewFiles when it is empty) and returns the table, header first, one
// row per file read. abort is tested before each file and after each read; once set, the scan ends without a row for
// the file being read. spring is the record readSpring fills.
std::vector<OverviewTableRow> ScanOverviewFiles(const OverviewScan& scan, const Spring& spring,
                                                const NumberSettings& num, const bool& abort);

}  // namespace velk
