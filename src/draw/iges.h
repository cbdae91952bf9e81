// IGES writer: the fixed-format ASCII IGES file of device 2 (Start, Global, Directory Entry,
// Parameter Data and Terminate sections) with entities 110, 100, 106 form 11 and 212.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "draw/drawing.h"

namespace velk {

// The Hollerith form of a string: its byte count, "H", the bytes ("FILE" -> "4HFILE").
std::string IgesHollerith(std::string_view text);

// Cuts a parameter text into record pieces of at most `width` characters: a text that fits is one
// piece; otherwise each piece ends with the last "," among its first width - 1 characters, or is
// the first `width` characters when there is none. Commas inside Hollerith strings are no cut
// points, so a string is only split when it cannot fit on a record of its own.
std::vector<std::string> SplitIgesParameters(std::string_view text, std::size_t width);

// The IGES colour for a DXF colour index (0..15 by the table; anything else 0, "no colour").
int IgesColor(int colorIndex);

// The colour index and line font of drawing-layer layer n (0..31).
struct IgesPen {
  int colorIndex = 0;
  int lineFont = 1;  // 1 solid, 2 dashed, 4 centre line
};
IgesPen IgesLayerPen(const DrawingOptions& options, int n);

// Builds an IGES file in memory. Numbers are always written with "." (D decimals, directions
// D + 3); nothing non-finite ever reaches a record. Records are 80 columns plus CR LF.
class IgesWriter {
 public:
  explicit IgesWriter(int decimals);

  // Resets every counter and writes the Start and Global sections. fileName is the output
  // file's name (control characters are replaced), date "YYMMDD".
  void startAndGlobal(std::string_view fileName, Real maxCoordinate, std::string_view date, const NumberSettings& num);
  void setPen(int lineFont, int color);

  void line(Real x1, Real y1, Real x2, Real y2);
  // Circular arc about (cx, cy) from (sx, sy) to (ex, ey), counter-clockwise.
  void arc(Real cx, Real cy, Real sx, Real sy, Real ex, Real ey);
  void circle(Real x, Real y, Real r);
  // Corners in DXF order; written as a closed path 1, 4, 3, 2, 1.
  void solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
  // text already converted for the file; attr gives height, width factor and angle (degrees).
  void text(std::string_view text, Real x, Real y, const TextAttributes& attr);

  // The complete file: S, G, D, P sections and the Terminate record.
  std::string file() const;
  int entityCount() const { return (entity_ + 1) / 2; }

 private:
  // One entity: its parameter text (pieces joined by "/" start new P lines) and D entry.
  void entity(int type, const std::vector<std::string>& parameterLines, const char* form);
  void record(std::string& section, std::string_view contents, char letter, int& counter);
  std::string num(Real v) const;
  std::string dir(Real v) const;

  int decimals_;
  std::string s_, g_, d_, p_;
  int sCount_ = 0, gCount_ = 0, dCount_ = 0, pCount_ = 0;
  int entity_ = -1;   // D sequence number of the current entity's first D line
  int pPointer_ = 1;  // first P line of the next entity
  int lineFont_ = 1;
  int color_ = 0;
};

// The IGES file device. Everything is collected in memory; finish writes the file under a
// temporary name beside the target and renames it over the target, discard leaves no file.
class IgesDevice : public DrawingDevice {
 public:
  IgesDevice(const DrawingOptions& options, std::string path);

  void window(Real x1, Real y1, Real x2, Real y2) override;
  void finish() override;
  void discard() override;
  void layer(int n, const std::string& name) override;
  void line(Real x1, Real y1, Real x2, Real y2) override;
  void circle(Real x, Real y, Real r) override;
  void arc(Real x, Real y, Real start, Real end, Real r) override;
  void solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override;
  void text(const std::string& text, Real x, Real y, const TextAttributes& attr) override;

  const std::string& path() const { return path_; }
  bool written() const { return written_; }
  // The date written into the Global section ("YYMMDD"); today unless a test sets it.
  std::string date;

 private:
  std::string path_;
  IgesWriter writer_;
  DrawingOptions options_;
  bool written_ = false;
};

// The device of code 2.
std::unique_ptr<DrawingDevice> MakeIgesDevice(const DrawingOptions& options, const std::string& path);

}  // namespace velk
