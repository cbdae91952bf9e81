// The graphics window's view: world-to-device mapping with zoom and pan, the keep-aspect rule,
// the key and mouse commands, and the printer's mapping of a page.
#include "draw/viewmapping.h"

#include <algorithm>
#include <cmath>

#include "draw/displaylist.h"

namespace velk {

namespace {

bool finite(std::initializer_list<Real> values) {
  for (Real v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

// Zoom-rectangle coordinates stay well inside int, however often the user pans or zooms out.
int clampPixel(long long v) { return static_cast<int>(std::clamp(v, -1000000000LL, 1000000000LL)); }

int R(Real v) { return RoundPixel(static_cast<double>(v)); }

}  // namespace

void KeepAspect(Real& sx, Real& sy) {
  if (sx > sy) {
    sx = sy;
  } else {
    sy = sx;
  }
}

int ViewMapping::deviceLeft() const { return R(offsetX + px1 * deviceScaleX); }
int ViewMapping::deviceBottom() const { return R(offsetY + py2 * deviceScaleY); }

int ViewMapping::toDeviceX(Real x) const { return deviceLeft() + R((x - vxmin) * sx); }
int ViewMapping::toDeviceY(Real y) const { return deviceBottom() - R((y - vymin) * sy); }

bool ViewMapping::applyWindow(int vpx1, int vpy1, int vpx2, int vpy2, Real wxmin, Real wymin, Real wxmax, Real wymax) {
  px1 = vpx1;
  py1 = vpy1;
  px2 = vpx2;
  py2 = vpy2;
  xmin = wxmin;
  ymin = wymin;
  xmax = wxmax;
  ymax = wymax;
  if (xmax == xmin || ymax == ymin || !finite({xmin, ymin, xmax, ymax})) return false;
  setScale(zx1, zy1, zx2, zy2);
  return true;
}

bool ViewMapping::declareWindow(bool keep, int vpx1, int vpy1, int vpx2, int vpy2, Real wxmin, Real wymin, Real wxmax,
                                Real wymax) {
  keepAspect = keep;
  zx1 = vpx1;  // applyWindow then scales with the whole viewport as zoom rectangle
  zy1 = vpy1;
  zx2 = vpx2;
  zy2 = vpy2;
  return applyWindow(vpx1, vpy1, vpx2, vpy2, wxmin, wymin, wxmax, wymax);
}

void ViewMapping::setScale(int x1, int y1, int x2, int y2) {
  if (x1 == x2 || y1 == y2) return;
  zx1 = x1;
  zy1 = y1;
  zx2 = x2;
  zy2 = y2;
  if (px2 == px1 || py2 == py1) return;  // no viewport yet: keep the old mapping
  const Real fx = (xmax - xmin) / (px2 - px1);
  const Real fy = (ymax - ymin) / (py2 - py1);
  const Real nxmin = xmin + (x1 - px1) * fx;
  const Real nxmax = xmin + (x2 - px1) * fx;
  const Real nymin = ymin + (y1 - py1) * fy;
  const Real nymax = ymin + (y2 - py1) * fy;
  if (nxmax == nxmin || nymax == nymin) return;
  Real nsx = (px2 - px1) * deviceScaleX / (nxmax - nxmin);
  Real nsy = (py2 - py1) * deviceScaleY / (nymax - nymin);
  if (keepAspect) KeepAspect(nsx, nsy);
  if (!finite({nxmin, nxmax, nymin, nymax, nsx, nsy})) return;
  vxmin = nxmin;
  vxmax = nxmax;
  vymin = nymin;
  vymax = nymax;
  sx = nsx;
  sy = nsy;
}

void ViewMapping::resetZoom() { setScale(px1, py1, px2, py2); }

void ViewMapping::setDevice(Real offX, Real offY, Real scaleX, Real scaleY) {
  if (!finite({offX, offY, scaleX, scaleY}) || !(scaleX > 0) || !(scaleY > 0)) return;
  offsetX = offX;
  offsetY = offY;
  deviceScaleX = scaleX;
  deviceScaleY = scaleY;
  setScale(zx1, zy1, zx2, zy2);
}

void ViewMapping::fitClient(int width, int height) {
  if (width < 2 || height < 2 || W < 1 || H < 1) return;
  setDevice(0, 0, Real(width - 1) / W, Real(height - 1) / H);
}

void ViewMapping::saveViewport() {
  savedViewport[0] = px1;
  savedViewport[1] = py1;
  savedViewport[2] = px2;
  savedViewport[3] = py2;
}

void ViewMapping::retrieveViewport() {
  px1 = savedViewport[0];
  py1 = savedViewport[1];
  px2 = savedViewport[2];
  py2 = savedViewport[3];
}

void ViewMapping::adopt(const DisplayList& list) {
  followedSerial = list.windowSerial;
  W = list.W;
  H = list.H;
  // The last window record is the one in force when the drawing ended; the one before it (or
  // this mapping's own) is the window the header's aspect factor refers to.
  const ParsedRecord* last = nullptr;
  ParsedRecord found[2];
  int n = 0;
  for (auto it = list.records.rbegin(); it != list.records.rend() && n < 2; ++it) {
    if (it->size() < 3 || it->compare(0, 3, "10;") != 0) continue;
    found[n] = ParseRecord(*it);
    if (found[n].complete) ++n;
  }
  if (n == 0) return;
  last = &found[0];
  const Real wx = n == 2 ? found[1].f[6] - found[1].f[4] : xmax - xmin;
  const Real wy = n == 2 ? found[1].f[7] - found[1].f[5] : ymax - ymin;
  if (wx != 0 && wy != 0 && H != 0) {
    const Real f = (W * 0.75L / H) * (640 / wx) / (480 / wy);
    if (std::isfinite(f) && f != 0) aspectFactor = f;
  }
  const double* f = last->f;
  declareWindow(list.keepAspect, RoundPixel(f[0]), RoundPixel(f[1]), RoundPixel(f[2]), RoundPixel(f[3]), f[4], f[5],
                f[6], f[7]);
  savedLimit[0] = xmin;
  savedLimit[1] = ymin;
  savedLimit[2] = xmax;
  savedLimit[3] = ymax;
}

bool ViewMapping::follow(const DisplayList& list) {
  if (list.windowSerial == followedSerial) return false;
  adopt(list);
  return true;
}

void ViewMapping::zoomIn(Real factor) {
  if (!(factor > 0) || !std::isfinite(factor)) return;
  const long long cx = (static_cast<long long>(zx1) + zx2) / 2, cy = (static_cast<long long>(zy1) + zy2) / 2;
  const long long hw = R((zx2 - zx1) / factor) / 2, hh = R((zy2 - zy1) / factor) / 2;
  setScale(clampPixel(cx - hw), clampPixel(cy - hh), clampPixel(cx + hw), clampPixel(cy + hh));
}

void ViewMapping::zoomOut(Real factor) {
  if (!(factor > 0) || !std::isfinite(factor)) return;
  const long long cx = (static_cast<long long>(zx1) + zx2) / 2, cy = (static_cast<long long>(zy1) + zy2) / 2;
  const long long hw = R((zx2 - zx1) * factor) / 2, hh = R((zy2 - zy1) * factor) / 2;
  setScale(clampPixel(cx - hw), clampPixel(cy - hh), clampPixel(cx + hw), clampPixel(cy + hh));
}

bool ViewMapping::applyKey(ViewKey key, Real panFactor, Real zoomFactor) {
  const long long dx = zx2 - zx1, dy = zy2 - zy1;
  long long mx = 0, my = 0;  // shift of the zoom rectangle
  switch (key) {
    case ViewKey::Escape:
    case ViewKey::F5:
      resetZoom();
      return true;
    case ViewKey::Up:
      my = -R(panFactor * dy);
      break;
    case ViewKey::PageUp:
      my = -R(5 * panFactor * dy);
      break;
    case ViewKey::Down:
      my = R(panFactor * dy);
      break;
    case ViewKey::PageDown:
      my = R(5 * panFactor * dy);
      break;
    case ViewKey::Left:
      mx = R(panFactor * dx);
      break;
    case ViewKey::Right:
      mx = -R(panFactor * dx);
      break;
    case ViewKey::Plus:
      zoomIn(zoomFactor);
      return true;
    case ViewKey::Minus:
      zoomOut(zoomFactor);
      return true;
    case ViewKey::Other:
      return false;
  }
  setScale(clampPixel(zx1 + mx), clampPixel(zy1 + my), clampPixel(zx2 + mx), clampPixel(zy2 + my));
  return true;
}

bool ViewMapping::zoomToBand(int X1, int Y1, int X2, int Y2) {
  if (X1 == X2 || Y1 == Y2) return false;
  if (sx == 0 || sy == 0 || xmax == xmin || ymax == ymin || px2 == px1 || py2 == py1) return false;
  // A device pixel goes back to the world through the mapping in force, then forward to
  // record pixels of the zoom rectangle, so the dragged area becomes the visible one.
  const Real left = deviceLeft(), bottom = deviceBottom();
  auto zoomX = [&](int X) {
    const Real wx = vxmin + (X - left) / sx;
    return R(px1 + (wx - xmin) / (xmax - xmin) * (px2 - px1));
  };
  auto zoomY = [&](int Y) {
    const Real wy = vymin + (bottom - Y) / sy;
    return R(py1 + (wy - ymin) / (ymax - ymin) * (py2 - py1));
  };
  setScale(zoomX(std::min(X1, X2)), zoomY(std::max(Y1, Y2)), zoomX(std::max(X1, X2)), zoomY(std::min(Y1, Y2)));
  return true;
}

void ViewMapping::showWholeDrawing() {
  // The header's window: the whole window inset by one pixel on each side.
  declareWindow(true, 1, 1, W - 1, H - 1, savedLimit[0], savedLimit[1], savedLimit[2], savedLimit[3]);
}

bool ViewMouse::leftDown(int X, int Y) {
  bandActive = true;
  startX = endX = X;
  startY = endY = Y;
  return false;
}

void ViewMouse::move(int X, int Y) {
  if (!bandActive) return;
  endX = X;
  endY = Y;
}

bool ViewMouse::leftUp(ViewMapping& view, int X, int Y) {
  if (!bandActive) return false;
  bandActive = false;
  endX = X;
  endY = Y;
  return view.zoomToBand(startX, startY, X, Y);
}

bool ViewMouse::rightDown(ViewMapping& view) {
  bandActive = false;
  view.resetZoom();
  return true;
}

bool ViewMouse::doubleClick(ViewMapping& view) {
  bandActive = false;
  view.showWholeDrawing();
  return true;
}

ViewMapping PrinterMapping(const ViewMapping& screen, const PrintPage& page) {
  ViewMapping p = screen;
  const Real mm = Real(page.pageWidth) / 210;
  p.setDevice(R(mm * page.marginX), R(mm * page.marginY), page.pageWidth * page.scaleX / p.W,
              page.pageHeight * page.scaleY / p.H);
  return p;
}

}  // namespace velk
