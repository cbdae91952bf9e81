// The graphics window's display list: text records of every screen drawing, the drawing calls
// that append them, and the replay of the list through a view mapping onto an abstract canvas.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/canvas.h"
#include "base/numfmt.h"

namespace velk {

struct ViewMapping;

// Record codes of the display list.
enum RecordCode : int {
  kRecMoveTo = 1,      // x; y
  kRecLineTo = 2,      // x; y
  kRecCircle = 3,      // x; y; r
  kRecLine = 4,        // x1; y1; x2; y2
  kRecArc = 5,         // bx1; by1; bx2; by2; ax; ay; ex; ey
  kRecText = 6,        // x; y; text (rest of the record, may contain ";")
  kRecSolid = 7,       // x1; y1; ...; x4; y4
  kRecColor = 8,       // n
  kRecTextStyle = 9,   // height; width; font; angle
  kRecWindow = 10,     // px1; py1; px2; py2; xmin; ymin; xmax; ymax
  kRecLineStyle = 11,  // n
  kRecLineWidth = 12,  // n
  kRecSleep = 13,      // ms
};

// Reals in records: general format, at most 8 significant digits, "." always (never the
// process locale), exponent with at least two digits where needed. Non-finite values are
// never written (a record that would carry one is not appended).
std::string FormatRecordReal(Real v);

// A record split into its code and numeric fields (text records keep their text separately).
// Missing or non-numeric fields read as 0 and clear `complete`; an unknown or unreadable code
// gives code 0.
struct ParsedRecord {
  int code = 0;
  int count = 0;  // fields present (numeric ones, before the text of record 6)
  double f[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  std::string_view text;  // record 6 only
  bool complete = true;   // every field the code needs was present and numeric
};
ParsedRecord ParseRecord(std::string_view record);

// RGB values 0xRRGGBB of palette colours 1..16.
uint32_t PaletteColor(int n);
// Drawing-layer (DXF) colour number -> palette number.
int GetColorTurbo(int n);

// The display list of the graphics window (the session's d) with what the drawing code
// needs to write it. The view of it (zoom, scales) belongs to the window: see viewmapping.h.
struct DisplayList {
  std::vector<std::string> records;

  // Nominal client size minus one: the configured resolution (SetupWindowSize); the defaults are
  // those of the 1024 x 768 screen without a display. Window records state pixels of this size.
  int W = 1015, H = 677;
  // Counts the windows the drawing code has set (each starts a new, unzoomed view), with the
  // keep-aspect wish of the last one; the window's mapping follows them (ViewMapping::follow).
  unsigned long long windowSerial = 0;
  bool keepAspect = true;

  // Set by the window: asks for a repaint (the window's Clear and ClearViewPort). May be empty.
  std::function<void()> invalidate;

  // Record deduplication; 0 when the window is created, -1 after ClearDisplay.
  int currentColor = 0, currentLineStyle = 0, currentLineWidth = 0;
};

// Nominal size from a configured resolution (0 or out of range: derived from the screen size).
void SetWindowSize(DisplayList& d, int resolutionX, int resolutionY, int screenWidth, int screenHeight);

// --- the window's drawing methods (append records).
// Empties the list and asks the window to repaint.
void ClearDisplay(DisplayList& d);
// The window's ClearViewPort: a repaint replays the list.
void ClearViewPort(DisplayList& d);
// Appends the window record of the viewport vx1..vy2 (fractions of the window, y upwards; inset:
// one pixel less on each side) and the world window. False for a world window without width or
// height (or a non-finite one, which appends nothing): the caller stops the drawing.
bool SetWindow(DisplayList& d, bool keepAspect, bool inset, Real vx1, Real vy1, Real vx2, Real vy2, Real xmin,
               Real ymin, Real xmax, Real ymax);
// The start of every screen drawing: the keep-aspect window on the whole (inset) window, and
// line style 0. False as SetWindow.
bool Header(DisplayList& d, Real x1, Real y1, Real x2, Real y2);
void DisplayLine(DisplayList& d, Real x1, Real y1, Real x2, Real y2);
void DisplayCircle(DisplayList& d, Real x, Real y, Real r);
// Counter-clockwise; a sweep below 4 degrees becomes a chord (record 4).
void DisplayArc(DisplayList& d, Real x, Real y, Real start, Real end, Real r);
void DisplaySolid(DisplayList& d, Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
// text is already in the display code page.
void OutTextXY(DisplayList& d, const std::string& text, Real x, Real y);
void DisplayRectangle(DisplayList& d, Real x1, Real y1, Real x2, Real y2);
void SetColor(DisplayList& d, int n);  // only n <= 16 and when it changes
void SetColorAcad(DisplayList& d, int n);
void SetDisplayLineStyle(DisplayList& d, int n);  // only when it changes
void SetLineWidth(DisplayList& d, int n);         // only when it changes
int LineStyleFromName(std::string_view name);
void SetTextStyleRecord(DisplayList& d, int font, Real angle, Real height, Real width);
void SleepMs(DisplayList& d, int ms);
// Header (-1, -1, 38, 33) and the program logo as filled quadrilaterals in colours 9 and 13.
void DrawOrvanLogo(DisplayList& d);

// --- replay.

// True for a colour whose luma (0.299 R + 0.587 G + 0.114 B of the 0..255 components) is above
// one half: white paper, a light grey or yellow window.
bool IsLightColor(uint32_t rgb);

// How a replay draws on its target; the output service fills it from the configuration. The defaults are those of a
// fresh configuration on the screen: black, the background the palette is made for (yellow, light cyan and white show
// on it).
struct ReplayStyle {
  uint32_t background = 0x000000;  // colour 0, and the brush of monochrome output
  bool monochrome = false;         // ink() for pen and text, background brush
  std::string fontFace = "Arial";
  int fontStyle = 0;  // bit 0 bold, 1 italic, 2 underline, 3 strike-out; used for 1..15
  Real textHeightFactor = 1, textWidthFactor = 0.8L;
  int penWidthFactor = 1;     // pen width of a width record times this (4 on the printer)
  bool frame = false;         // the world window's rectangle first (printing with a frame)
  bool frameInColor = false;  // that rectangle in palette colour 11

  // Palette colour n (1..16) as drawn on this background. On a light background colour 15
  // (white, what drawing-layer colour 7 maps to) is drawn black, as CAD programs draw their
  // colour 7, so that nothing drawn in it becomes invisible.
  uint32_t color(int n) const;
  // Pen and text of monochrome output: black on a light background, white on a dark one.
  uint32_t ink() const;
};

enum class ReplayStatus {
  Done,              // every record was visited
  DegenerateWindow,  // a window record without width or height stopped the replay there
};

// Replays the list onto the canvas through the mapping: starts from colour 1, cell height and
// character width 3.5, angle 0, pen width 1; each window record sets viewport and world window of
// a local copy of the mapping and applies its zoom rectangle again. Records with an unknown code,
// missing fields or non-numbers are skipped. Reads the list and the mapping only; the caller sets
// the abort flag on DegenerateWindow. Printing is a replay onto the printer canvas with
// PrinterMapping and the printer's style.
ReplayStatus Replay(const DisplayList& list, const ViewMapping& view, Canvas& canvas, const ReplayStyle& style = {});

}  // namespace velk
