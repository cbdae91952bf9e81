// IGES writer: 80-column records, Hollerith strings, parameter splitting, the entities of the
// drawing layer and the IGES file device with its write-beside-and-rename commit.
#include "draw/iges.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "base/codepage.h"
#include "base/identity.h"
#include "draw/dxf.h"
#include "platform/files.h"

namespace velk {

namespace {

constexpr Real kPi = 3.14159265358979323846264338327950288L;
constexpr int kContentColumns = 72;
constexpr int kParameterColumns = 64;
// Sequence numbers have 7 digits; an entity that would need more is left out.
constexpr int kMaxSequence = 9999999;

// Control characters would break the record layout; they never reach a record.
std::string withoutControls(std::string_view s, char replacement) {
  std::string out(s);
  for (char& c : out) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) c = replacement;
  }
  return out;
}

// The file name in the code page texts are written in (no length limit, unlike cadText's display path).
std::string fileNameText(const NumberSettings& s, const std::string& nativeName) {
  std::string o = oem(nativeName);
  switch (s.cadTextMode) {
    case 2:
      return cp850ToWin1252(o);
    case 3:
      return plainText(o);
    default:
      return o;
  }
}

std::string field8(const std::string& v) { return padLeft(v.size() > 8 ? v.substr(0, 8) : v, 8); }

std::string todayYymmdd() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  if (localtime_r(&now, &tm) == nullptr) return "000101";
  return fmtIntZero((tm.tm_year + 1900) % 100, 2) + fmtIntZero(tm.tm_mon + 1, 2) + fmtIntZero(tm.tm_mday, 2);
}

}  // namespace

std::string IgesHollerith(std::string_view text) {
  return fmtInt(static_cast<long long>(text.size())) + "H" + std::string(text);
}

std::vector<std::string> SplitIgesParameters(std::string_view text, std::size_t width) {
  if (width < 2) width = 2;
  // Mark the bytes of Hollerith strings: a parameter that starts with digits and "H".
  std::vector<bool> inString(text.size(), false);
  std::size_t i = 0;
  bool paramStart = true;
  while (i < text.size()) {
    if (paramStart) {
      std::size_t j = i;
      std::size_t n = 0;
      while (j < text.size() && text[j] >= '0' && text[j] <= '9') {
        n = std::min<std::size_t>(n * 10 + static_cast<std::size_t>(text[j] - '0'), text.size());
        ++j;
      }
      paramStart = false;
      if (j > i && j < text.size() && text[j] == 'H') {
        const std::size_t end = std::min(text.size(), j + 1 + n);
        for (std::size_t k = j + 1; k < end; ++k) inString[k] = true;
        i = end;
        continue;
      }
    }
    if (text[i] == ',' || text[i] == ';') paramStart = true;
    ++i;
  }

  std::vector<std::string> pieces;
  std::size_t pos = 0;
  while (text.size() - pos > width) {
    std::size_t cut = 0;  // length of the piece
    for (std::size_t k = pos + width - 1; k-- > pos;) {
      if (text[k] == ',' && !inString[k]) {
        cut = k - pos + 1;
        break;
      }
    }
    if (cut == 0) cut = width;
    pieces.emplace_back(text.substr(pos, cut));
    pos += cut;
  }
  if (pos < text.size() || pieces.empty()) pieces.emplace_back(text.substr(pos));
  return pieces;
}

int IgesColor(int colorIndex) {
  static constexpr int kTable[16] = {0, 2, 5, 3, 7, 4, 6, 0, 8, 10, 11, 12, 13, 14, 15, 1};
  return colorIndex >= 0 && colorIndex < 16 ? kTable[colorIndex] : 0;
}

IgesPen IgesLayerPen(const DrawingOptions& options, int n) {
  IgesPen pen;
  if (n >= 0 && n <= 5) {
    pen.colorIndex = n == 0 ? 7 : LayerColor(options, n);
    pen.lineFont = n == 1 ? 4 : n == 2 ? 2 : 1;
  } else {
    pen.colorIndex = LayerColor(options, n);  // pens 16..31 configured, other layers (n mod 16) + 1
  }
  return pen;
}

// --- the writer.

IgesWriter::IgesWriter(int decimals) : decimals_(std::clamp(decimals, 0, 10)) {}

std::string IgesWriter::num(Real v) const { return DxfNumber(v, decimals_); }
std::string IgesWriter::dir(Real v) const { return DxfNumber(v, decimals_ + 3); }

void IgesWriter::record(std::string& section, std::string_view contents, char letter, int& counter) {
  ++counter;
  std::string r = padRight(leftStr(contents, kContentColumns), kContentColumns);
  r += letter;
  r += fmtIntZero(counter, 7);
  r += "\r\n";
  section += r;
}

void IgesWriter::startAndGlobal(std::string_view fileName, Real maxCoordinate, std::string_view date,
                                const NumberSettings& settings) {
  s_.clear();
  g_.clear();
  d_.clear();
  p_.clear();
  sCount_ = gCount_ = dCount_ = pCount_ = 0;
  entity_ = -1;
  pPointer_ = 1;
  lineFont_ = 1;
  color_ = 0;

  record(s_, std::string("IGES-Datei generiert von ") + kAppTitle, 'S', sCount_);
  record(s_, "Uebersetzer von ORVAN GMBH, Uebersetzerversion 3.1", 'S', sCount_);

  NumberSettings point = settings;
  point.decimalComma = 1;  // IGES numbers always carry "."
  const std::string f = IgesHollerith(withoutControls(fileName, '_'));
  const std::string maxText = std::isfinite(maxCoordinate) ? fmtSig(point, maxCoordinate) : std::string("0");
  const std::string lines[5] = {
      ",," + IgesHollerith("FILE") + "," + f + "," + IgesHollerith(std::string(kAppTitle) + " V" + kVersion) + "," +
          IgesHollerith(std::string(kAppTitle) + " IGES 3.1") + ",",
      "16,38,6,99,15,",
      f + ",1.0,2," + IgesHollerith("MM") + ",32767,3.2767D1,",
      IgesHollerith(std::string(date) + ".081107") + ",1.0D-8," + maxText + ",",
      IgesHollerith("Kelmor") + "," + IgesHollerith("ORVAN") + ",4,0;",
  };
  // A long file name would push a line past column 72: such a line continues on further
  // records, cut after a parameter delimiter wherever possible.
  for (const std::string& l : lines)
    for (const std::string& piece : SplitIgesParameters(l, static_cast<std::size_t>(kContentColumns)))
      record(g_, piece, 'G', gCount_);
}

void IgesWriter::setPen(int lineFont, int color) {
  lineFont_ = lineFont;
  color_ = color;
}

void IgesWriter::entity(int type, const std::vector<std::string>& parameterLines, const char* form) {
  std::vector<std::string> pieces;
  for (const std::string& l : parameterLines)
    for (std::string& piece : SplitIgesParameters(l, static_cast<std::size_t>(kParameterColumns)))
      pieces.push_back(std::move(piece));
  if (entity_ + 2 + 1 > kMaxSequence || pCount_ + static_cast<long long>(pieces.size()) > kMaxSequence) return;
  entity_ += 2;
  const std::string number = fmtInt(entity_);
  for (const std::string& piece : pieces)
    record(p_, padRight(piece, kParameterColumns) + padLeft(number, 8), 'P', pCount_);
  const int lines = static_cast<int>(pieces.size());
  const std::string t = fmtInt(type);
  const std::string font = fmtInt(lineFont_), color = fmtInt(color_);
  record(d_,
         field8(t) + field8(fmtInt(pPointer_)) + field8("1") + field8(font) + field8(color) + field8("") +
             field8(type == 110 ? "" : "0") + field8("") + field8("00000000"),
         'D', dCount_);
  record(d_,
         field8(t) + field8("") + field8(color) + field8(fmtInt(lines)) + field8(form) + field8("") + field8("") +
             field8("") + field8(""),
         'D', dCount_);
  pPointer_ += lines;
}

void IgesWriter::line(Real x1, Real y1, Real x2, Real y2) {
  entity(110, {"110," + num(x1) + "," + num(y1) + ",0.0," + num(x2) + "," + num(y2) + ",0.0;"}, "");
}

void IgesWriter::arc(Real cx, Real cy, Real sx, Real sy, Real ex, Real ey) {
  entity(100,
         {"100,0.0," + num(cx) + "," + num(cy) + "," + num(sx) + "," + num(sy) + "," + num(ex) + "," + num(ey) + ";"},
         "");
}

void IgesWriter::circle(Real x, Real y, Real r) { arc(x, y, x + r, y, x + r, y); }

void IgesWriter::solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  entity(106,
         {"106,1,5,0.0," + num(x1) + "," + num(y1) + ",", num(x4) + "," + num(y4) + ",", num(x3) + "," + num(y3) + ",",
          num(x2) + "," + num(y2) + ",", num(x1) + "," + num(y1) + ";"},
         "11");
}

void IgesWriter::text(std::string_view text, Real x, Real y, const TextAttributes& attr) {
  const Real nc = static_cast<Real>(text.size());
  const Real a = attr.angle * kPi / 180;
  entity(212,
         {"212,1," + fmtInt(static_cast<long long>(text.size())) + "," + num(nc * attr.height * attr.widthFactor) +
              "," + num(attr.height) + ",1,," + dir(a) + ",0,0," + num(x) + "," + num(y) + ",0.0,",
          IgesHollerith(text) + ";"},
         "");
}

std::string IgesWriter::file() const {
  std::string out;
  out.reserve(s_.size() + g_.size() + d_.size() + p_.size() + 82);
  out += s_;
  out += g_;
  out += d_;
  out += p_;
  const std::string t = "S" + fmtIntZero(sCount_, 7) + "G" + fmtIntZero(gCount_, 7) + "D" + fmtIntZero(dCount_, 7) +
                        "P" + fmtIntZero(pCount_, 7);
  out += padRight(t, kContentColumns) + "T0000001\r\n";
  return out;
}

// --- the file device.

IgesDevice::IgesDevice(const DrawingOptions& options, std::string path)
    : date(todayYymmdd()), path_(std::move(path)), writer_(options.num.decimalPlaces), options_(options) {}

void IgesDevice::window(Real, Real, Real x2, Real y2) {
  writer_.startAndGlobal(fileNameText(options_.num, lastComponent(path_)), std::max(x2, y2), date, options_.num);
}

void IgesDevice::finish() {
  if (const int err = atomicWriteFile(path_, writer_.file(), options_.io)) {
    fail(WriteFailureText(path_, err));
    return;
  }
  written_ = true;
}

void IgesDevice::discard() { writer_ = IgesWriter(options_.num.decimalPlaces); }

void IgesDevice::layer(int n, const std::string&) {
  const IgesPen pen = IgesLayerPen(options_, n);
  writer_.setPen(pen.lineFont, IgesColor(pen.colorIndex));
}

void IgesDevice::line(Real x1, Real y1, Real x2, Real y2) { writer_.line(x1, y1, x2, y2); }

void IgesDevice::circle(Real x, Real y, Real r) {
  if (std::isfinite(r)) writer_.circle(x, y, r);
}

void IgesDevice::arc(Real x, Real y, Real start, Real end, Real r) {
  const Real s = start * kPi / 180, e = end * kPi / 180;
  writer_.arc(x, y, x + r * std::cos(s), y + r * std::sin(s), x + r * std::cos(e), y + r * std::sin(e));
}

void IgesDevice::solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  writer_.solid(x1, y1, x2, y2, x3, y3, x4, y4);
}

void IgesDevice::text(const std::string& text, Real x, Real y, const TextAttributes& attr) {
  // IGES strings are 7-bit: a text with code page characters is transcribed ("ü" -> "ue"), and
  // what has no transcription becomes "?".
  std::string t = withoutControls(cadText(options_.num, text), ' ');
  const auto high = [](char c) { return static_cast<unsigned char>(c) > 127; };
  if (std::any_of(t.begin(), t.end(), high)) {
    t = plainText(withoutControls(text, ' '));
    for (char& c : t)
      if (high(c)) c = '?';
  }
  if (!t.empty()) writer_.text(t, x, y, attr);
}

std::unique_ptr<DrawingDevice> MakeIgesDevice(const DrawingOptions& options, const std::string& path) {
  return std::make_unique<IgesDevice>(options, path);
}

}  // namespace velk
