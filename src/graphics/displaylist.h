// The graphics window's display list: text records of every screen drawing, the mapping from
// world coordinates to pixels with zoom and pan, and the replay onto an abstract canvas.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/numfmt.h"

namespace velk {

struct Workspace;

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

// Window state and the display list (ws.display). Pixels: x right, y down; W x H nominal size.
struct DisplayList {
  std::vector<std::string> records;

  // Nominal client size minus one: the configured resolution (SetupWindowSize); the defaults are
  // those of the 1024 x 768 screen without a display.
  int W = 1015, H = 677;
  Real xmin = 0, ymin = 0, xmax = 1, ymax = 1;  // world window
  int px1 = 0, py1 = 0, px2 = 0, py2 = 0;       // viewport, py1 top edge
  int zx1 = 0, zy1 = 0, zx2 = 640, zy2 = 480;   // zoom rectangle
  Real vxmin = 0, vymin = 0, vxmax = 1, vymax = 1;  // visible window
  Real sx = 1, sy = 1;                          // pixels per world unit
  bool keepAspect = true;
  Real savedLimit[4] = {0, 0, 1, 1};
  int savedViewport[4] = {0, 0, 0, 0};
  Real aspectFactor = 1.0;
  bool printing = false;

  // Set by the window: asks for a repaint (the window's Clear and ClearViewPort). May be empty.
  std::function<void()> invalidate;

  // Record deduplication; 0 when the window is created, -1 after ClearDisplay.
  int currentColor = 0, currentLineStyle = 0, currentLineWidth = 0;
  bool rubberBand = false, doubleClickPending = false;
};

// Nominal size from the configured resolution (0 or out of range: derived from ws.screen).
void SetupWindowSize(Workspace& ws);

// --- the window's drawing methods (append records).
// Empties the list and asks the window to repaint.
void ClearDisplay(Workspace& ws);
// The window's ClearViewPort: a repaint replays the list.
void ClearViewPort(Workspace& ws);
void SetWindow(Workspace& ws, bool keepAspect, bool inset, Real vx1, Real vy1, Real vx2, Real vy2, Real xmin,
               Real ymin, Real xmax, Real ymax);
void SetScale(DisplayList& d, int zx1, int zy1, int zx2, int zy2);
void Header(Workspace& ws, Real x1, Real y1, Real x2, Real y2);
void SaveLimit(DisplayList& d);
void RestoreLimit(Workspace& ws);
void ReSetWindow(Workspace& ws);
void ResetZoom(DisplayList& d);
void SaveViewPort(DisplayList& d);
void RetrieveViewPort(DisplayList& d);
void DisplayLine(Workspace& ws, Real x1, Real y1, Real x2, Real y2);
void DisplayCircle(Workspace& ws, Real x, Real y, Real r);
// Counter-clockwise; a sweep below 4 degrees becomes a chord (record 4).
void DisplayArc(Workspace& ws, Real x, Real y, Real start, Real end, Real r);
void DisplaySolid(Workspace& ws, Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
// text is already in the display code page.
void OutTextXY(Workspace& ws, const std::string& text, Real x, Real y);
void DisplayRectangle(Workspace& ws, Real x1, Real y1, Real x2, Real y2);
void SetColor(Workspace& ws, int n);  // only n <= 16 and when it changes
void SetColorAcad(Workspace& ws, int n);
void SetDisplayLineStyle(Workspace& ws, int n);  // only when it changes
void SetLineWidth(Workspace& ws, int n);         // only when it changes
int LineStyleFromName(std::string_view name);
void SetTextStyleRecord(Workspace& ws, int font, Real angle, Real height, Real width);
void SleepMs(Workspace& ws, int ms);
// Header (-1, -1, 38, 33) and the program logo as filled quadrilaterals in colours 9 and 13.
void DrawOrvanLogo(Workspace& ws);

// --- mapping.
int WorldToPixelX(const DisplayList& d, Real x);
int WorldToPixelY(const DisplayList& d, Real y);

// --- keys and mouse (plain functions; the GUI calls them and then repaints).
enum class ViewKey { Escape, F5, Up, Down, PageUp, PageDown, Left, Right, Plus, Minus, Other };
// Applies the key's command to the zoom rectangle; false for keys without a command.
bool ProcessKey(Workspace& ws, ViewKey key);
// Left-button drag from (X1, Y1) to (X2, Y2) in a client area of cw x ch pixels: false when the
// drag shares an x or a y coordinate (no zoom).
bool MouseZoom(DisplayList& d, int X1, int Y1, int X2, int Y2, int cw, int ch);
// Right button: ResetZoom. Double click then left button: the whole drawing again.
void MouseRightDown(DisplayList& d);
void MouseShowAll(Workspace& ws);

// --- replay.
// Pen styles: 0 solid, 1 dotted, 2 dash-dot, 3 dashed.
struct FontSpec {
  std::string face;
  int cellHeight = 0;  // pixels
  int charWidth = 0;   // pixels
  int escapement = 0;  // tenths of a degree
  int weight = 100;
  bool italic = false, underline = false, strikeOut = false;
};

// Drawing target of a replay (window or printer). Coordinates are device pixels.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void setPenColor(uint32_t rgb) = 0;
  virtual void setBrushColor(uint32_t rgb) = 0;
  virtual void setTextColor(uint32_t rgb) = 0;
  virtual void setPenStyle(int style) = 0;
  virtual void setPenWidth(int width) = 0;
  virtual void moveTo(int x, int y) = 0;
  virtual void lineTo(int x, int y) = 0;
  virtual void line(int x1, int y1, int x2, int y2) = 0;
  // Unfilled ellipse in the bounding rectangle.
  virtual void ellipse(int left, int top, int right, int bottom) = 0;
  // Counter-clockwise arc in the bounding rectangle from the ray through (ax, ay) to the ray
  // through (ex, ey).
  virtual void arc(int left, int top, int right, int bottom, int ax, int ay, int ex, int ey) = 0;
  // Filled polygon (brush colour) through the points in order.
  virtual void polygon(const int* xy, int points) = 0;
  // Text (Windows-1252 bytes) with its top-left reference point at (x, y), transparent background.
  virtual void text(int x, int y, const std::string& text, const FontSpec& font) = 0;
  // Lets pending window messages through (every 50 000 records).
  virtual void processEvents() {}
  virtual void sleepMs(int ms) { (void)ms; }
};

// Printer mapping of printing mode.
struct PrintMapping {
  int pageWidth = 0, pageHeight = 0;  // printable page in printer pixels
  Real marginX = 0, marginY = 0;      // millimetres
  Real scaleX = 1, scaleY = 1;
};

// Replays the list onto screen and, while ws.display.printing is set and printer is given, onto
// the printer as well (texts then go to the printer only). Starts from colour 1, cell height and
// character width 3.5, angle 0, pen width 1. Records with an unknown code, missing fields or
// non-numbers are skipped. A window record with xmin = xmax or ymin = ymax sets ws.abort and stops
// the replay. Updates the window state (viewport, world window, scales) as window records pass.
// Returns the number of records visited.
size_t ReplayDisplayList(Workspace& ws, Canvas& screen, Canvas* printer = nullptr,
                         const PrintMapping* mapping = nullptr);

}  // namespace velk
