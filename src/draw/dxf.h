// DXF writer: the ASCII DXF file of devices 1 (DXF file) and 4 (plot program), sections
// HEADER, TABLES and ENTITIES with LINE, CIRCLE, ARC, TEXT, SOLID and INSERT.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "draw/drawing.h"

namespace velk {

// Fixed-point value with `decimals` decimals and "." whatever the decimal-comma setting;
// |v| < 1e-8 and non-finite values are written as 0 (a file never receives "inf" or "nan").
// The largest coordinate magnitude written to a CAD file (mm); larger values are clamped.
inline constexpr double kCadCoordinateLimit = 1e9;
std::string DxfNumber(Real v, int decimals);
// The configured DXF decimals: 1..32, anything else 6.
int DxfDecimals(const DrawingOptions& options);

// Appends group pairs to a byte buffer (CR LF line ends). The formats follow the drawing
// layer's conventions: group codes right-aligned in 3 characters.
class DxfWriter {
 public:
  DxfWriter(std::string& out, int decimals, const NumberSettings& num);

  void pair(int code, std::string_view value);
  void real(int code, Real v);       // coordinate format
  void shortReal(int code, Real v);  // TEXT groups 41, 50, 51: short number format with "."

  void header(Real x1, Real y1, Real x2, Real y2);
  // Drawings 6 layers, diagrams 22 (pens 16..31 added).
  void tables(const DrawingOptions& options, DrawingKind kind);
  void beginEntities();
  void endEntities();
  void endOfFile();

  void line(std::string_view layer, Real x1, Real y1, Real x2, Real y2);
  void circle(std::string_view layer, Real x, Real y, Real r);
  // Written as CIRCLE when start == end or the arc runs from 0 to 360 (or 360 to 0) within 1e-5.
  void arc(std::string_view layer, Real x, Real y, Real r, Real start, Real end);
  // text is already converted for the file (configured CAD text type).
  void text(std::string_view layer, std::string_view text, Real x, Real y, const TextAttributes& attr);
  void solid(std::string_view layer, Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
  void insert(std::string_view layer, std::string_view name, Real x, Real y, Real xscale, Real yscale, Real angle);

 private:
  std::string& out_;
  int decimals_;
  NumberSettings num_;
};

// The DXF file device. Collects the file in memory and, at finish, writes it under a temporary
// name beside the target and renames it over the target; discard leaves no file. With
// writesInserts (the plot device) Insert becomes an INSERT entity, otherwise it is ignored.
class DxfDevice : public DrawingDevice {
 public:
  DxfDevice(const DrawingOptions& options, std::string path, bool writesInserts);

  void window(Real x1, Real y1, Real x2, Real y2) override;
  void tables(DrawingKind kind) override;
  void beginEntities() override;
  void endEntities() override;
  void finish() override;
  void discard() override;
  void layer(int n, const std::string& name) override;
  void line(Real x1, Real y1, Real x2, Real y2) override;
  void circle(Real x, Real y, Real r) override;
  void arc(Real x, Real y, Real start, Real end, Real r) override;
  void solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override;
  void text(const std::string& text, Real x, Real y, const TextAttributes& attr) override;
  void insert(const std::string& name, Real x, Real y, Real angle, Real xscale, Real yscale) override;

  const std::string& path() const { return path_; }
  const std::string& bytes() const { return buffer_; }

 protected:
  // The caller's write commit; false (the device has failed) when the file was not written.
  bool write();
  // True once finish has written the file.
  bool written() const { return written_; }

 private:
  std::string path_;
  std::string buffer_;
  DxfWriter writer_;
  DrawingOptions options_;
  std::string layer_ = "0";
  bool writesInserts_;
  bool written_ = false;
};

}  // namespace velk
