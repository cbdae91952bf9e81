// Tab-separated drawing file: the line layouts, the number format with the configured decimal
// separator, and the file device with its write-beside-and-rename commit.
#include "draw/tabdrawing.h"

#include <cmath>

#include "base/codepage.h"
#include "draw/dxf.h"
#include "platform/files.h"

namespace velk {

TabDrawingWriter::TabDrawingWriter(std::string& out, int decimals, const NumberSettings& num)
    : out_(out), decimals_(decimals), comma_(num.decimalComma == 2) {}

std::string TabDrawingWriter::number(Real v) const {
  std::string s = DxfNumber(v, decimals_);  // "." and no "inf"/"nan"
  if (comma_) s = pointToComma(s);
  return s;
}

void TabDrawingWriter::row(std::string_view kind, std::initializer_list<Real> values) {
  out_ += kind;
  for (Real v : values) {
    out_ += '\t';
    out_ += number(v);
  }
  out_ += "\r\n";
}

void TabDrawingWriter::extents(Real x1, Real y1, Real x2, Real y2) { row("MINMAX", {x1, y1, x2, y2}); }
void TabDrawingWriter::beginEntities() { out_ += "SECTION ENTITIES\r\n"; }
void TabDrawingWriter::line(Real x1, Real y1, Real x2, Real y2) { row("LINE", {x1, y1, x2, y2}); }
void TabDrawingWriter::circle(Real x, Real y, Real r) { row("CIRCLE", {x, y, r}); }

void TabDrawingWriter::arc(Real x, Real y, Real r, Real start, Real end) {
  auto near = [](Real a, Real b) { return std::fabs(a - b) < 1e-5L; };
  if (start == end || (near(start, 0) && near(end, 360)) || (near(start, 360) && near(end, 0))) {
    circle(x, y, r);
    return;
  }
  row("ARC", {x, y, r, start, end});
}

void TabDrawingWriter::text(Real x, Real y, std::string_view text) {
  out_ += "TEXT\t" + number(x) + "\t" + number(y) + "\t";
  out_ += text;
  out_ += "\r\n";
}

void TabDrawingWriter::solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  row("SOLID", {x1, y1, x2, y2, x3, y3, x4, y4});
}

void TabDrawingWriter::end() { out_ += "EOF\r\n"; }

// --- the file device.

TabDrawingDevice::TabDrawingDevice(const DrawingOptions& options, std::string path)
    : path_(std::move(path)), writer_(buffer_, DxfDecimals(options), options.num), num_(options.num), io_(options.io) {}

void TabDrawingDevice::window(Real x1, Real y1, Real x2, Real y2) { writer_.extents(x1, y1, x2, y2); }
void TabDrawingDevice::beginEntities() { writer_.beginEntities(); }

void TabDrawingDevice::finish() {
  writer_.end();
  if (const int err = atomicWriteFile(path_, buffer_, io_)) {
    fail(WriteFailureText(path_, err));
    return;
  }
  written_ = true;
}

void TabDrawingDevice::discard() {
  buffer_.clear();
  buffer_.shrink_to_fit();
}

void TabDrawingDevice::line(Real x1, Real y1, Real x2, Real y2) { writer_.line(x1, y1, x2, y2); }
void TabDrawingDevice::circle(Real x, Real y, Real r) { writer_.circle(x, y, r); }
void TabDrawingDevice::arc(Real x, Real y, Real start, Real end, Real r) { writer_.arc(x, y, r, start, end); }
void TabDrawingDevice::solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  writer_.solid(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TabDrawingDevice::text(const std::string& text, Real x, Real y, const TextAttributes&) {
  std::string t = cadText(num_, text);
  for (char& c : t)
    if (c == '\r' || c == '\n') c = ' ';  // one line per text; a tab stays in the text field
  writer_.text(x, y, t);
}

std::unique_ptr<DrawingDevice> MakeTabDevice(const DrawingOptions& options, const std::string& path) {
  return std::make_unique<TabDrawingDevice>(options, path);
}

}  // namespace velk
