// Tab-separated drawing file of device 5: one line per primitive (MINMAX, LINE, CIRCLE, ARC,
// TEXT, SOLID), fields separated by tabs, for programs that read no DXF.
#pragma once

#include <string>
#include <string_view>

#include "draw/drawing.h"

namespace velk {

// Builds the file in memory (CR LF line ends). Numbers are fixed-point with `decimals`
// decimals and the decimal separator of the number settings; non-finite values write 0.
class TabDrawingWriter {
 public:
  TabDrawingWriter(std::string& out, int decimals, const NumberSettings& num);

  void extents(Real x1, Real y1, Real x2, Real y2);  // "MINMAX"
  void beginEntities();                              // "SECTION ENTITIES"
  void line(Real x1, Real y1, Real x2, Real y2);
  void circle(Real x, Real y, Real r);
  // Written as CIRCLE when start == end or the arc runs from 0 to 360 (or 360 to 0) within 1e-5.
  void arc(Real x, Real y, Real r, Real start, Real end);
  // text is already converted for the file; it is the rest of the line (tabs stay).
  void text(Real x, Real y, std::string_view text);
  void solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
  void end();  // "EOF"

  std::string number(Real v) const;

 private:
  void row(std::string_view kind, std::initializer_list<Real> values);

  std::string& out_;
  int decimals_;
  bool comma_;
};

// The file device. Collects the file in memory; finish writes it under a temporary name beside
// the target and renames it over the target, discard leaves no file.
class TabDrawingDevice : public DrawingDevice {
 public:
  TabDrawingDevice(const DrawingOptions& options, std::string path);

  void window(Real x1, Real y1, Real x2, Real y2) override;
  void beginEntities() override;
  void finish() override;
  void discard() override;
  void line(Real x1, Real y1, Real x2, Real y2) override;
  void circle(Real x, Real y, Real r) override;
  void arc(Real x, Real y, Real start, Real end, Real r) override;
  void solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override;
  void text(const std::string& text, Real x, Real y, const TextAttributes& attr) override;

  const std::string& path() const { return path_; }
  bool written() const { return written_; }

 private:
  std::string path_;
  std::string buffer_;
  TabDrawingWriter writer_;
  NumberSettings num_;
  IoHooks io_;
  bool written_ = false;
};

// The device of code 5.
std::unique_ptr<DrawingDevice> MakeTabDevice(const DrawingOptions& options, const std::string& path);

}  // namespace velk
