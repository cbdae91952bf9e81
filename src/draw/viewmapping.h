// The graphics window's view: how world coordinates of the display list become device pixels
// (world window, viewport, zoom rectangle, scales), and the keys and mouse actions that change it.
#pragma once

#include "base/numfmt.h"

namespace velk {

struct DisplayList;

// R(v): nearest integer, halves to even, clamped to +-1e9 so far-away coordinates stay defined
// (NaN gives 0). Adding and removing 2^52 rounds in the default rounding mode without a library
// call; the replay does this for every coordinate.
inline int RoundPixel(double v) {
  if (!(v >= -1e9)) return v != v ? 0 : -1000000000;
  if (v > 1e9) return 1000000000;
  const double t = v >= 0 ? (v + 0x1p52) - 0x1p52 : (v - 0x1p52) + 0x1p52;
  return static_cast<int>(t);
}

// Keep-aspect rule: both axes take the smaller of the two scales, so a world unit is as long in x
// as in y on a device with square pixels, whatever the shape of the window or the page. The
// larger of the two directions then shows more than the world window.
void KeepAspect(Real& sx, Real& sy);

enum class ViewKey { Escape, F5, Up, Down, PageUp, PageDown, Left, Right, Plus, Minus, Other };

// One mapping of the graphics window (a value: the window owns one, printing builds another).
//
// Two pixel spaces are involved. Record pixels are those of the window's nominal size W x H (the
// space in which window records state their viewport, and in which the zoom rectangle lives).
// Device pixels are those of the canvas drawn on; device = offset + record pixel * device scale
// per axis, the identity for the window itself and a page transform for the printer.
struct ViewMapping {
  int W = 1015, H = 677;                    // nominal size minus one (record pixels)
  Real offsetX = 0, offsetY = 0;            // device position of record pixel (0, 0)
  Real deviceScaleX = 1, deviceScaleY = 1;  // device pixels per record pixel

  Real xmin = 0, ymin = 0, xmax = 1, ymax = 1;  // world window
  int px1 = 0, py1 = 0, px2 = 0, py2 = 0;       // viewport in record pixels, py1 the top edge
  // Zoom rectangle: the part of the viewport, in record pixels with y counted upwards from py1,
  // that is enlarged to fill the viewport.
  int zx1 = 0, zy1 = 0, zx2 = 640, zy2 = 480;
  Real vxmin = 0, vymin = 0, vxmax = 1, vymax = 1;  // visible window (world)
  Real sx = 1, sy = 1;                              // device pixels per world unit
  bool keepAspect = true;
  Real savedLimit[4] = {0, 0, 1, 1};  // world window of the drawing's header
  int savedViewport[4] = {0, 0, 0, 0};
  // Aspect factor (W * 0.75 / H) * (640 / width) / (480 / height) of the world window before the
  // last header, for callers that scale a rubber band by it; zoomToBand needs none, it maps the
  // dragged pixels exactly.
  Real aspectFactor = 1;
  // The drawing of the list this mapping follows (DisplayList::windowSerial).
  unsigned long long followedSerial = 0;

  bool operator==(const ViewMapping&) const = default;

  // --- world to device pixels.
  int toDeviceX(Real x) const;
  int toDeviceY(Real y) const;
  // Device position of the viewport's left and bottom edges (the origin of the two formulas).
  int deviceLeft() const;
  int deviceBottom() const;

  // --- the window records and the scale.
  // A window record as the replay meets it: viewport and world window, then the current zoom
  // rectangle again (so zooming survives every repaint). False, with the scales unchanged, when
  // the world window has no width or no height.
  bool applyWindow(int vpx1, int vpy1, int vpx2, int vpy2, Real wxmin, Real wymin, Real wxmax, Real wymax);
  // A window as a drawing sets it: like applyWindow, with the zoom rectangle reset to the whole
  // viewport and the given keep-aspect wish.
  bool declareWindow(bool keep, int vpx1, int vpy1, int vpx2, int vpy2, Real wxmin, Real wymin, Real wxmax, Real wymax);
  // Sets the zoom rectangle and recomputes visible window and scales; nothing happens for a
  // rectangle without width or height.
  void setScale(int x1, int y1, int x2, int y2);
  // The zoom rectangle becomes the whole viewport (Esc, F5, right button).
  void resetZoom();
  // Device transform: canvas pixels for the record pixels (see above); recomputes the scales.
  void setDevice(Real offX, Real offY, Real scaleX, Real scaleY);
  // The window's client area is width x height device pixels: the nominal window is stretched
  // onto it (the keep-aspect rule still keeps the pixels square).
  void fitClient(int width, int height);
  void saveViewport();
  void retrieveViewport();

  // --- following the display list.
  // Takes over the drawing of the list as it was first shown: its nominal size, its last window
  // record with the keep-aspect wish, the zoom rectangle reset and the window kept as the
  // header's limits. Without a window record only the size is taken.
  void adopt(const DisplayList& list);
  // adopt, when the list has set a window since this mapping last followed it (every new
  // drawing starts unzoomed). True when it did.
  bool follow(const DisplayList& list);

  // --- keys and mouse. The window repaints after each command that returns true.
  // Esc/F5 reset, arrows pan by panFactor of the zoom rectangle (Page Up/Down by five times
  // that), numeric + and - zoom by zoomFactor about the centre. False for keys without command.
  bool applyKey(ViewKey key, Real panFactor, Real zoomFactor);
  void zoomIn(Real factor);
  void zoomOut(Real factor);
  // Rubber band from (X1, Y1) to (X2, Y2) in device pixels: the dragged area becomes the visible
  // one. False, and nothing changes, when the two corners share an x or a y coordinate.
  bool zoomToBand(int X1, int Y1, int X2, int Y2);
  // The whole drawing as first shown: the header's world window on the inset viewport of the
  // whole window, keep-aspect, no zoom (double click; "fit" before printing).
  void showWholeDrawing();
};

// The mouse protocol of the window on its mapping: right button resets the zoom, a double click
// shows the whole drawing, a left drag is the rubber band. Each function returns true when the
// window must repaint.
struct ViewMouse {
  bool bandActive = false;
  int startX = 0, startY = 0, endX = 0, endY = 0;  // the band's corners (device pixels)

  bool leftDown(int X, int Y);
  // Moves the band's free corner; the window draws the outline from start to end.
  void move(int X, int Y);
  bool leftUp(ViewMapping& view, int X, int Y);
  bool rightDown(ViewMapping& view);
  bool doubleClick(ViewMapping& view);
};

// Page of printing mode: printable area in printer pixels, margins in millimetres (a millimetre
// is pageWidth / 210 printer pixels in both directions), scale factors of the print setup.
struct PrintPage {
  int pageWidth = 0, pageHeight = 0;
  Real marginX = 0, marginY = 0;
  Real scaleX = 1, scaleY = 1;
};

// The printer's mapping: the screen mapping (world window, zoom) with the nominal window placed
// on the page at the margins and stretched to pageWidth * scaleX by pageHeight * scaleY, under
// the same keep-aspect rule.
ViewMapping PrinterMapping(const ViewMapping& screen, const PrintPage& page);

}  // namespace velk
