// The file overview behind File -> Open (table): rows, sorting, the window's request and the scan.
// Cells are code page 850; the window converts them for the screen like every other text.
#include "commands/fileoverview.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/codepage.h"

namespace velk {

namespace {

enum Column {
  kFile,
  kDate,
  kNo,
  kT,
  kB,
  kRe,
  kRi,
  kN0,
  kLw,
  kA0,
  kDelta0,
  kDelta1,
  kDelta2,
  kDeltac,
  kT1,
  kT2,
  kTc,
  kMaterial,
  kE,
  kSigmaZ,
  kKb,
  kSigmaK1,
  kSigmaK2,
  kSigmaC,
  kSigmaKh,
  kSigmaHz,
  kAlpha1,
  kAlpha2,
  kAlphac,
  kAlphah,
};
static_assert(kAlphah + 1 == kOverviewColumns);

constexpr int kWidthNo = 90;
constexpr int kWidthMaterial = 100;
// Texts this long or longer are not shown (the display conversion's limit).
constexpr std::size_t kDisplayLimit = 255;

// The display conversion, staying in code page 850: the screen layer converts 850 to its own
// encoding, so only the setting that changes the characters themselves (plain characters)
// applies here.
std::string displayText(const NumberSettings& num, std::string_view oemText) {
  if (oemText.size() >= kDisplayLimit) return {};
  return num.plainChars == 1 ? plainText(oemText) : std::string(oemText);
}

// First cells shared by readable and unreadable rows.
OverviewCells fileCells(std::string_view file, long long modifiedUnix) {
  OverviewCells cells;
  cells[kFile] = oem(file);
  cells[kDate] = fileDateText(modifiedUnix);
  return cells;
}

bool sameExtension(std::string_view name, std::string_view ext) {
  if (name.size() <= ext.size() + 1) return false;  // a bare ".vlk" has no name
  const std::string_view tail = name.substr(name.size() - ext.size() - 1);
  return tail[0] == '.' && lower(tail.substr(1)) == lower(ext);
}

}  // namespace

const OverviewCells& OverviewHeader() {
  static const OverviewCells kHeader = {
      "File",    "Date  y/m/d", "No.",     "t (d)",   "b",      "re",     "ri",      "n0",       "Lw",      "a0",
      "delta 0", "delta 1",     "delta 2", "delta c", "T1",     "T2",     "Tc",      "Material", "E",       "sig.z",
      "kb",      "sig.k1",      "sig.k2",  "sig.c",   "sig.kh", "sig.hz", "alpha 1", "alpha 2",  "alpha c", "alpha h",
  };
  return kHeader;
}

std::array<int, kOverviewColumns> OverviewColumnWidths() {
  std::array<int, kOverviewColumns> widths;
  widths.fill(kOverviewDefaultColumnWidth);
  widths[kNo] = kWidthNo;
  widths[kMaterial] = kWidthMaterial;
  return widths;
}

OverviewCells OverviewRow(const NumberSettings& num, std::string_view file, long long modifiedUnix, const Spring& s,
                          const OverviewMaterial& material) {
  const bool roundWire = s.crossSection == 2;
  OverviewCells c = fileCells(file, modifiedUnix);
  c[kNo] = displayText(num, s.zeichnr);
  c[kT] = fmtLengthFixed(num, 3, 3, s.t);
  if (!roundWire) c[kB] = fmtLengthFixed(num, 3, 2, s.b);
  c[kRe] = fmtLengthFixed(num, 3, 1, s.re);
  c[kRi] = fmtLengthFixed(num, 3, 1, s.ri);
  c[kN0] = fmtFixed(num, 3, 3, s.n0);
  c[kLw] = fmtLengthFixed(num, 5, 0, s.Lw);
  c[kA0] = fmtLengthFixed(num, 2, 2, s.a0);
  c[kDelta0] = fmtFixed(num, 5, 0, s.delta0);
  c[kDelta1] = fmtFixed(num, 5, 0, s.delta1);
  c[kDelta2] = fmtFixed(num, 5, 0, s.delta2);
  c[kDeltac] = fmtFixed(num, 5, 0, s.deltac);
  c[kT1] = fmtMomentFixed(num, 5, 0, s.T1);
  c[kT2] = fmtMomentFixed(num, 5, 0, s.T2);
  c[kTc] = fmtMomentFixed(num, 5, 0, s.Tc);
  c[kMaterial] = displayText(num, roundWire ? material.wireName : material.stripName);
  c[kE] = fmtStressFixed(num, 6, 0, s.E);
  c[kSigmaZ] = fmtStressFixed(num, 4, 0, s.sigman);
  c[kKb] = fmtFixed(num, 1, 2, s.kb);
  c[kSigmaK1] = fmtStressFixed(num, 4, 0, s.sigmaq1);
  c[kSigmaK2] = fmtStressFixed(num, 4, 0, s.sigmaq2);
  c[kSigmaC] = fmtStressFixed(num, 4, 0, s.sigmac);
  c[kSigmaKh] = fmtStressFixed(num, 4, 0, s.sigmah);
  if (material.fatigueData) c[kSigmaHz] = fmtStressFixed(num, 4, 0, s.sighz);
  c[kAlpha1] = fmtFixed(num, 4, 0, s.alpha1);
  c[kAlpha2] = fmtFixed(num, 4, 0, s.alpha2);
  c[kAlphac] = fmtFixed(num, 4, 0, s.alphac);
  c[kAlphah] = fmtFixed(num, 4, 0, s.alphah);
  return c;
}

OverviewCells OverviewUnreadableRow(std::string_view file, long long modifiedUnix) {
  return fileCells(file, modifiedUnix);
}

std::optional<std::string> ChosenOverviewFile(const FileOverviewResult& result) {
  if (result.action != FileOverviewResult::Action::Open) return std::nullopt;
  if (result.chosenRow == 0 || result.chosenRow >= result.rows.size()) return std::nullopt;
  const std::string& file = result.rows[result.chosenRow].file;
  if (file.empty()) return std::nullopt;
  return file;
}

FileOverviewRequest MakeFileOverviewRequest(const NumberSettings& num, std::string_view programTitle,
                                            std::string_view folder, std::vector<OverviewTableRow> rows) {
  FileOverviewRequest request;
  request.caption = displayText(num, programTitle) + "  -  " + oem(folder);
  if (rows.empty()) rows.push_back({{}, OverviewHeader()});
  request.rows = std::move(rows);
  request.columnWidths = OverviewColumnWidths();
  return request;
}

std::vector<OverviewFile> ListOverviewFiles(const std::string& folder, std::string_view ext) {
  namespace fs = std::filesystem;
  std::vector<OverviewFile> files;
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code entryError;
    if (!it->is_regular_file(entryError)) continue;
    std::string name = it->path().filename().string();
    if (!sameExtension(name, ext)) continue;
    const auto written = it->last_write_time(entryError);
    long long seconds = 0;
    if (!entryError) {
      const auto sys = std::chrono::file_clock::to_sys(written);
      seconds = std::chrono::duration_cast<std::chrono::seconds>(sys.time_since_epoch()).count();
    }
    files.push_back({std::move(name), seconds});
  }
  std::sort(files.begin(), files.end(), [](const OverviewFile& a, const OverviewFile& b) { return a.name < b.name; });
  return files;
}

std::vector<OverviewTableRow> ScanOverviewFiles(const OverviewScan& scan, const Spring& spring,
                                                const NumberSettings& num, const bool& abort) {
  std::vector<OverviewTableRow> rows;
  rows.push_back({{}, OverviewHeader()});
  std::string folder = scan.folder;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  const std::vector<OverviewFile> files =
      scan.listFiles ? scan.listFiles(scan.folder, scan.ext) : ListOverviewFiles(scan.folder, scan.ext);
  const std::string title = displayText(num, scan.programTitle);
  for (const OverviewFile& f : files) {
    if (abort) break;
    if (scan.progress) scan.progress(title + " -> " + oem(f.name));
    const bool read = scan.readSpring && scan.readSpring(folder + f.name);
    if (abort) break;
    if (read) {
      const OverviewMaterial material = scan.material ? scan.material() : OverviewMaterial{};
      rows.push_back({f.name, OverviewRow(num, f.name, f.modifiedUnix, spring, material)});
    } else {
      rows.push_back({f.name, OverviewUnreadableRow(f.name, f.modifiedUnix)});
    }
  }
  return rows;
}

}  // namespace velk
