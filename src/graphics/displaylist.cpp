// Display list records, the world-to-pixel mapping with zoom and pan, the key and mouse
// commands, and the replay of the list onto a canvas (window and printer).
#include "graphics/displaylist.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "core/workspace.h"

namespace velk {

namespace {

constexpr Real kPi = 3.14159265358979323846264338327950288L;

// R(v): nearest integer, halves to even; clamped to +-1e9 so far-away coordinates stay defined.
// Adding and removing 2^52 rounds to an integer in the default rounding mode (ties to even)
// without a library call; the replay does this for every coordinate.
int R(double v) {
  if (!(v >= -1e9)) return v != v ? 0 : -1000000000;  // also catches NaN
  if (v > 1e9) return 1000000000;
  const double t = v >= 0 ? (v + 0x1p52) - 0x1p52 : (v - 0x1p52) + 0x1p52;
  return static_cast<int>(t);
}

bool finite(std::initializer_list<Real> values) {
  for (Real v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

// Fast path of appendReal for the common case of a value that is (within a relative 1e-9) a
// number of at most 4 decimals and 8 digits, as every plotter coordinate is: writes exactly what
// the general format with 8 significant digits writes. False for any other value.
bool appendDecimal4(std::string& out, double d) {
  const long double s = static_cast<long double>(d) * 10000.0L;
  if (!(std::fabs(s) < 1e8L)) return false;
  const long long k = std::llround(s);
  if (k == 0 || std::fabs(s - static_cast<long double>(k)) >= std::fabs(static_cast<long double>(k)) * 1e-9L)
    return false;
  unsigned long long m = k < 0 ? static_cast<unsigned long long>(-k) : static_cast<unsigned long long>(k);
  char buf[24];
  char* const e = buf + sizeof buf;
  char* p = e;
  int f = 4;
  while (f > 0 && m % 10 == 0) {
    m /= 10;
    --f;
  }
  for (int i = 0; i < f; ++i) {
    *--p = static_cast<char>('0' + m % 10);
    m /= 10;
  }
  if (f > 0) *--p = '.';
  do {
    *--p = static_cast<char>('0' + m % 10);
    m /= 10;
  } while (m);
  if (k < 0) *--p = '-';
  out.append(p, e);
  return true;
}

void appendReal(std::string& out, Real v) {
  char buf[40];
  double d = static_cast<double>(v);
  if (d == 0 || !std::isfinite(d)) d = 0;  // no "-0"; non-finite never reaches here
  if (d != 0 && appendDecimal4(out, d)) return;
  const auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 8);
  out.append(buf, r.ptr);
}

void appendInt(std::string& out, long long n) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, n);
  out.append(buf, r.ptr);
}

// Record with code and real fields, appended only when every field is finite.
void appendRecord(DisplayList& d, int code, std::initializer_list<Real> fields) {
  if (!finite(fields)) return;
  std::string rec;
  rec.reserve(16 * fields.size() + 4);
  appendInt(rec, code);
  for (Real v : fields) {
    rec += ';';
    appendReal(rec, v);
  }
  d.records.push_back(std::move(rec));
}

void appendIntRecord(DisplayList& d, int code, long long n) {
  std::string rec;
  appendInt(rec, code);
  rec += ';';
  appendInt(rec, n);
  d.records.push_back(std::move(rec));
}

// Number of numeric fields a record code needs.
int fieldsFor(int code) {
  switch (code) {
    case kRecMoveTo:
    case kRecLineTo:
    case kRecText:
      return 2;
    case kRecCircle:
      return 3;
    case kRecLine:
    case kRecTextStyle:
      return 4;
    case kRecArc:
    case kRecSolid:
    case kRecWindow:
      return 8;
    case kRecColor:
    case kRecLineStyle:
    case kRecLineWidth:
    case kRecSleep:
      return 1;
    default:
      return -1;
  }
}

bool parseNumber(std::string_view s, double& out) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\r')) s.remove_suffix(1);
  if (s.empty()) return false;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
  return r.ec == std::errc() && r.ptr == s.data() + s.size() && std::isfinite(out);
}

// An integer field: values outside int range map to `outside`.
int intField(double v, int outside) {
  if (!(v >= -2147483648.0 && v <= 2147483647.0)) return outside;
  return static_cast<int>(v);
}

}  // namespace

std::string FormatRecordReal(Real v) {
  std::string s;
  appendReal(s, v);
  return s;
}

ParsedRecord ParseRecord(std::string_view record) {
  ParsedRecord p;
  const size_t first = record.find(';');
  double code = 0;
  if (!parseNumber(record.substr(0, first), code) || code != std::floor(code)) {
    p.complete = false;
    return p;
  }
  const int need = fieldsFor(intField(code, 0));
  if (need < 0) {
    p.complete = false;
    return p;
  }
  p.code = static_cast<int>(code);
  size_t pos = first == std::string_view::npos ? record.size() : first + 1;
  bool more = first != std::string_view::npos;
  for (int i = 0; i < need; ++i) {
    if (!more) {
      p.complete = false;
      break;
    }
    size_t end = record.find(';', pos);
    if (end == std::string_view::npos) {
      end = record.size();
      more = false;
    }
    double v = 0;
    if (parseNumber(record.substr(pos, end - pos), v)) {
      p.f[i] = v;
      ++p.count;
    } else {
      p.complete = false;
    }
    pos = more ? end + 1 : record.size();
  }
  if (p.code == kRecText) {
    if (more) {
      p.text = record.substr(pos);
    } else {
      p.complete = false;
    }
  }
  return p;
}

uint32_t PaletteColor(int n) {
  static constexpr uint32_t kPalette[17] = {0x000000, 0x000080, 0x00FF00, 0x00FFFF, 0xFF0000, 0x800080,
                                            0x800000, 0xC0C0C0, 0xB0B0B0, 0x0000FF, 0x00FF00, 0x00FFFF,
                                            0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF, 0x000000};
  if (n < 1 || n > 16) return 0;
  return kPalette[n];
}

int GetColorTurbo(int n) {
  if (n > 15) n = n % 16 + 1;
  switch (n) {
    case 0: return 0;
    case 1: return 12;
    case 2: return 14;
    case 3: return 10;
    case 4: return 11;
    case 5: return 9;
    case 6: return 13;
    case 7: return 15;
    default: return n - 7;  // 8..15 -> 1..8; negative numbers stay below 1 and select nothing
  }
}

void SetupWindowSize(Workspace& ws) {
  DisplayList& d = ws.display;
  const int rx = ws.config.resolutionX;
  const int ry = ws.config.resolutionY;
  d.W = rx >= 1 && rx <= 5000 ? rx : ws.screen.width - 9;
  d.H = ry >= 1 && ry <= 5000 ? ry : ws.screen.height - 91;
  if (d.W < 1) d.W = 1;
  if (d.H < 1) d.H = 1;
}

void ClearDisplay(Workspace& ws) {
  DisplayList& d = ws.display;
  d.records.clear();
  // A new list must record its own first colour, style and width: the replay starts from its
  // defaults, not from whatever the previous drawing left current.
  d.currentColor = d.currentLineStyle = d.currentLineWidth = -1;
  if (d.invalidate) d.invalidate();
}

void ClearViewPort(Workspace& ws) {
  if (ws.display.invalidate) ws.display.invalidate();
}

void SetWindow(Workspace& ws, bool keepAspect, bool inset, Real vx1, Real vy1, Real vx2, Real vy2, Real xmin,
               Real ymin, Real xmax, Real ymax) {
  DisplayList& d = ws.display;
  if (!finite({vx1, vy1, vx2, vy2, xmin, ymin, xmax, ymax})) {
    ws.abort = true;
    return;
  }
  int px1 = R(vx1 * d.W), px2 = R(vx2 * d.W);
  int py1 = R((1 - vy2) * d.H), py2 = R((1 - vy1) * d.H);
  if (inset) {
    ++px1;
    --px2;
    ++py1;
    --py2;
  }
  d.px1 = px1;
  d.py1 = py1;
  d.px2 = px2;
  d.py2 = py2;
  appendRecord(d, kRecWindow, {Real(px1), Real(py1), Real(px2), Real(py2), xmin, ymin, xmax, ymax});
  d.xmin = xmin;
  d.ymin = ymin;
  d.xmax = xmax;
  d.ymax = ymax;
  d.keepAspect = keepAspect;
  if (xmax == xmin || ymax == ymin) {
    ws.abort = true;
    return;
  }
  SetScale(d, px1, py1, px2, py2);
}

void SetScale(DisplayList& d, int zx1, int zy1, int zx2, int zy2) {
  if (zx1 == zx2 || zy1 == zy2) return;
  d.zx1 = zx1;
  d.zy1 = zy1;
  d.zx2 = zx2;
  d.zy2 = zy2;
  if (d.px2 == d.px1 || d.py2 == d.py1) return;  // no viewport yet: keep the old mapping
  const Real fx = (d.xmax - d.xmin) / (d.px2 - d.px1);
  const Real fy = (d.ymax - d.ymin) / (d.py2 - d.py1);
  const Real vxmin = d.xmin + (zx1 - d.px1) * fx;
  const Real vxmax = d.xmin + (zx2 - d.px1) * fx;
  const Real vymin = d.ymin + (zy1 - d.py1) * fy;
  const Real vymax = d.ymin + (zy2 - d.py1) * fy;
  if (vxmax == vxmin || vymax == vymin) return;
  Real sx = (d.px2 - d.px1) / (vxmax - vxmin);
  Real sy = (d.py2 - d.py1) / (vymax - vymin);
  if (d.keepAspect) {
    const Real a = 0.75L * d.W / d.H;
    const Real s2 = sy * a;
    if (sx >= s2) {
      sx = s2;
    } else {
      sy = sx / a;
    }
  }
  if (!finite({vxmin, vxmax, vymin, vymax, sx, sy})) return;
  d.vxmin = vxmin;
  d.vxmax = vxmax;
  d.vymin = vymin;
  d.vymax = vymax;
  d.sx = sx;
  d.sy = sy;
}

void Header(Workspace& ws, Real x1, Real y1, Real x2, Real y2) {
  DisplayList& d = ws.display;
  const Real wx = d.xmax - d.xmin, wy = d.ymax - d.ymin;
  if (wx != 0 && wy != 0) {
    const Real f = (d.W * 0.75L / d.H) * (640 / wx) / (480 / wy);
    if (std::isfinite(f) && f != 0) d.aspectFactor = f;
  }
  SetWindow(ws, true, true, 0, 0, 1, 1, x1, y1, x2, y2);
  SetDisplayLineStyle(ws, 0);
  SaveLimit(d);
}

void SaveLimit(DisplayList& d) {
  d.savedLimit[0] = d.xmin;
  d.savedLimit[1] = d.ymin;
  d.savedLimit[2] = d.xmax;
  d.savedLimit[3] = d.ymax;
}

void RestoreLimit(Workspace& ws) {
  const Real* s = ws.display.savedLimit;
  SetWindow(ws, true, true, 0, 0, 1, 1, s[0], s[1], s[2], s[3]);
}

void ReSetWindow(Workspace& ws) {
  SetWindow(ws, false, false, 0, 0, 1, 1, 0, 0, 1, 1);
  ResetZoom(ws.display);
}

void ResetZoom(DisplayList& d) { SetScale(d, d.px1, d.py1, d.px2, d.py2); }

void SaveViewPort(DisplayList& d) {
  d.savedViewport[0] = d.px1;
  d.savedViewport[1] = d.py1;
  d.savedViewport[2] = d.px2;
  d.savedViewport[3] = d.py2;
}

void RetrieveViewPort(DisplayList& d) {
  d.px1 = d.savedViewport[0];
  d.py1 = d.savedViewport[1];
  d.px2 = d.savedViewport[2];
  d.py2 = d.savedViewport[3];
}

void DisplayLine(Workspace& ws, Real x1, Real y1, Real x2, Real y2) {
  appendRecord(ws.display, kRecLine, {x1, y1, x2, y2});
}

void DisplayCircle(Workspace& ws, Real x, Real y, Real r) { appendRecord(ws.display, kRecCircle, {x, y, r}); }

void DisplayArc(Workspace& ws, Real x, Real y, Real start, Real end, Real r) {
  if (!finite({x, y, start, end, r})) return;
  Real sweep = std::fmod(end - start, Real(360));
  if (sweep < 0) sweep += 360;
  const Real a = start * kPi / 180, e = end * kPi / 180;
  const Real ax = x + r * std::cos(a), ay = y + r * std::sin(a);
  const Real ex = x + r * std::cos(e), ey = y + r * std::sin(e);
  if (sweep < 4) {
    DisplayLine(ws, ax, ay, ex, ey);
    return;
  }
  appendRecord(ws.display, kRecArc, {x - r, y - r, x + r, y + r, ax, ay, ex, ey});
}

void DisplaySolid(Workspace& ws, Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  appendRecord(ws.display, kRecSolid, {x1, y1, x2, y2, x3, y3, x4, y4});
}

void OutTextXY(Workspace& ws, const std::string& text, Real x, Real y) {
  if (!finite({x, y})) return;
  std::string rec = "6;";
  appendReal(rec, x);
  rec += ';';
  appendReal(rec, y);
  rec += ';';
  // A record is one line: line breaks inside a text would split it.
  for (char c : text) rec += (c == '\n' || c == '\r') ? ' ' : c;
  ws.display.records.push_back(std::move(rec));
}

void DisplayRectangle(Workspace& ws, Real x1, Real y1, Real x2, Real y2) {
  DisplayLine(ws, x1, y1, x1, y2);
  DisplayLine(ws, x1, y2, x2, y2);
  DisplayLine(ws, x2, y2, x2, y1);
  DisplayLine(ws, x2, y1, x1, y1);
}

void SetColor(Workspace& ws, int n) {
  DisplayList& d = ws.display;
  if (n <= 16 && n != d.currentColor) appendIntRecord(d, kRecColor, n);
  d.currentColor = n;
}

void SetColorAcad(Workspace& ws, int n) { SetColor(ws, GetColorTurbo(n)); }

void SetDisplayLineStyle(Workspace& ws, int n) {
  DisplayList& d = ws.display;
  if (n != d.currentLineStyle) appendIntRecord(d, kRecLineStyle, n);
  d.currentLineStyle = n;
}

void SetLineWidth(Workspace& ws, int n) {
  DisplayList& d = ws.display;
  if (n != d.currentLineWidth) appendIntRecord(d, kRecLineWidth, n);
  d.currentLineWidth = n;
}

int LineStyleFromName(std::string_view name) {
  const std::string n = upper(name);
  if (n == "DOTTED" || n == "PUNKT") return 1;
  if (n == "CENTER" || n == "DASHDOT" || n == "STRICHPUNKT") return 2;
  if (n == "DASHED" || n == "HIDDEN" || n == "VERDECKT") return 3;
  return 0;
}

void SetTextStyleRecord(Workspace& ws, int font, Real angle, Real height, Real width) {
  if (!finite({angle, height, width})) return;
  std::string rec = "9;";
  appendReal(rec, height);
  rec += ';';
  appendReal(rec, width);
  rec += ';';
  appendInt(rec, font);
  rec += ';';
  appendReal(rec, angle);
  ws.display.records.push_back(std::move(rec));
}

void SleepMs(Workspace& ws, int ms) { appendIntRecord(ws.display, kRecSleep, ms); }

void DrawOrvanLogo(Workspace& ws) {
  // Two interlocking chevrons in the two logo colours; the picture is our own.
  Header(ws, -1, -1, 38, 33);
  SetDisplayLineStyle(ws, 0);
  struct Quad {
    int color;
    Real p[8];
  };
  static constexpr Quad kQuads[] = {
      {9, {2, 4, 8, 4, 12, 28, 6, 28}},      {9, {8, 4, 14, 4, 22, 20, 16, 20}},
      {13, {16, 20, 22, 20, 30, 4, 24, 4}},  {13, {24, 4, 30, 4, 34, 28, 28, 28}},
      {9, {2, 30, 34, 30, 34, 32, 2, 32}},   {13, {2, 0, 34, 0, 34, 2, 2, 2}},
  };
  for (const Quad& q : kQuads) {
    SetColor(ws, q.color);
    DisplaySolid(ws, q.p[0], q.p[1], q.p[2], q.p[3], q.p[4], q.p[5], q.p[6], q.p[7]);
  }
}

int WorldToPixelX(const DisplayList& d, Real x) { return d.px1 + R((x - d.vxmin) * d.sx); }
int WorldToPixelY(const DisplayList& d, Real y) { return d.py2 - R((y - d.vymin) * d.sy); }

bool ProcessKey(Workspace& ws, ViewKey key) {
  DisplayList& d = ws.display;
  const Real p = ws.config.panFactor;
  const Real z = ws.config.zoomFactor;
  const int dx = d.zx2 - d.zx1, dy = d.zy2 - d.zy1;
  int zx1 = d.zx1, zy1 = d.zy1, zx2 = d.zx2, zy2 = d.zy2;
  switch (key) {
    case ViewKey::Escape:
    case ViewKey::F5:
      ResetZoom(d);
      return true;
    case ViewKey::Up:
    case ViewKey::PageUp: {
      const int s = R((key == ViewKey::PageUp ? 5 * p : p) * dy);
      zy1 -= s;
      zy2 -= s;
      break;
    }
    case ViewKey::Down:
    case ViewKey::PageDown: {
      const int s = R((key == ViewKey::PageDown ? 5 * p : p) * dy);
      zy1 += s;
      zy2 += s;
      break;
    }
    case ViewKey::Left: {
      const int s = R(p * dx);
      zx1 += s;
      zx2 += s;
      break;
    }
    case ViewKey::Right: {
      const int s = R(p * dx);
      zx1 -= s;
      zx2 -= s;
      break;
    }
    case ViewKey::Plus:
    case ViewKey::Minus: {
      if (!(z > 0) || !std::isfinite(z)) return true;
      const int cx = static_cast<int>((static_cast<long long>(d.zx1) + d.zx2) / 2);
      const int cy = static_cast<int>((static_cast<long long>(d.zy1) + d.zy2) / 2);
      const Real fx = key == ViewKey::Plus ? dx / z : dx * z;
      const Real fy = key == ViewKey::Plus ? dy / z : dy * z;
      const int hw = R(fx) / 2, hh = R(fy) / 2;
      zx1 = cx - hw;
      zx2 = cx + hw;
      zy1 = cy - hh;
      zy2 = cy + hh;
      break;
    }
    case ViewKey::Other:
      return false;
  }
  SetScale(d, zx1, zy1, zx2, zy2);
  return true;
}

bool MouseZoom(DisplayList& d, int X1, int Y1, int X2, int Y2, int cw, int ch) {
  if (X1 == X2 || Y1 == Y2 || cw <= 0 || ch <= 0) return false;
  const int xs = std::min(X1, X2), xl = std::max(X1, X2);
  const int ys = std::min(Y1, Y2), yl = std::max(Y1, Y2);
  int nx1, nx2, ny1, ny2;
  if (d.keepAspect && d.sx != 0 && d.sy != 0 && d.xmax != d.xmin && d.ymax != d.ymin) {
    // Exact mapping: the client pixel goes back to world coordinates through the current
    // mapping, then forward to zoom-rectangle units, so the dragged area becomes the visible one.
    const Real kx = Real(d.W + 1) / cw, ky = Real(d.H + 1) / ch;
    auto zoomX = [&](int X) {
      const Real wx = d.vxmin + (X * kx - d.px1) / d.sx;
      return R(d.px1 + (wx - d.xmin) / (d.xmax - d.xmin) * (d.px2 - d.px1));
    };
    auto zoomY = [&](int Y) {
      const Real wy = d.vymin + (d.py2 - Y * ky) / d.sy;
      return R(d.py1 + (wy - d.ymin) / (d.ymax - d.ymin) * (d.py2 - d.py1));
    };
    nx1 = zoomX(xs);
    nx2 = zoomX(xl);
    ny1 = zoomY(yl);
    ny2 = zoomY(ys);
  } else {
    const Real w = d.zx2 - d.zx1, h = d.zy2 - d.zy1;
    nx1 = R(Real(xs) / cw * w + d.zx1);
    nx2 = R(Real(xl) / cw * w + d.zx1);
    ny1 = R(Real(ch - yl) / ch * h + d.zy1);
    ny2 = R(Real(ch - ys) / ch * h + d.zy1);
  }
  SetScale(d, nx1, ny1, nx2, ny2);
  return true;
}

void MouseRightDown(DisplayList& d) { ResetZoom(d); }

void MouseShowAll(Workspace& ws) {
  RestoreLimit(ws);
  ResetZoom(ws.display);
  ReSetWindow(ws);
  ws.display.doubleClickPending = false;
}

// --- replay.

namespace {

constexpr uint32_t kBlack = 0x000000;

struct Target {
  Canvas* canvas = nullptr;
  bool printer = false;
};

class Replayer {
 public:
  Replayer(Workspace& ws, Canvas& screen, Canvas* printer, const PrintMapping* mapping)
      : ws_(ws), d_(ws.display), screen_(screen), printer_(printing(ws, printer) ? printer : nullptr) {
    if (mapping) map_ = *mapping;
    const Configuration& c = ws.config;
    background_ = static_cast<uint32_t>(c.backgroundColor) & 0xFFFFFFu;
    monoScreen_ = !c.colorGraphics;
    colorPrinter_ = c.printMode == 2;
    const int style = c.graphicsFontStyle;
    font_.face = c.graphicsFont.empty() ? std::string("Arial") : c.graphicsFont;
    const bool styled = style >= 1 && style <= 15;
    font_.weight = styled && (style & 1) ? 700 : 100;
    font_.italic = styled && (style & 2);
    font_.underline = styled && (style & 4);
    font_.strikeOut = styled && (style & 8);
    heightFactor_ = c.textHeightFactor;
    widthFactor_ = c.graphicsTextWidth;
    refreshMapping();
  }

  size_t run() {
    // Reset state: colour 1, cell height and character width 3.5 world units, angle 0.
    current_ = 1;
    cellHeight_ = 3.5L;
    charWidth_ = 3.5L;
    angle_ = 0;
    color(1);
    screen_.setPenWidth(1);
    if (printer_) printer_->setPenWidth(1);
    if (printer_ && ws_.config.printBorder) {
      if (!monoScreen_) printer_->setPenColor(PaletteColor(11));
      const int x1 = px(d_.xmin), y1 = py(d_.ymin), x2 = px(d_.xmax), y2 = py(d_.ymax);
      printer_->line(x1, y1, x1, y2);
      printer_->line(x1, y2, x2, y2);
      printer_->line(x2, y2, x2, y1);
      printer_->line(x2, y1, x1, y1);
    }
    size_t done = 0;
    for (size_t i = 0; i < d_.records.size(); ++i) {
      if (i > 0 && i % 50000 == 0) {
        screen_.processEvents();
        if (i >= d_.records.size()) break;  // a nested drawing cleared the list
      }
      ++done;
      const std::string_view rec = d_.records[i];
      if (!step(rec)) break;
    }
    return done;
  }

 private:
  static bool printing(const Workspace& ws, const Canvas* printer) { return printer && ws.display.printing; }

  // Screen mapping in double precision (every coordinate of the replay goes through it).
  void refreshMapping() {
    vx_ = static_cast<double>(d_.vxmin);
    vy_ = static_cast<double>(d_.vymin);
    sx_ = static_cast<double>(d_.sx);
    sy_ = static_cast<double>(d_.sy);
  }
  int sxp(double x) const { return d_.px1 + R((x - vx_) * sx_); }
  int syp(double y) const { return d_.py2 - R((y - vy_) * sy_); }
  int px(Real x) const {
    const Real pw = map_.pageWidth;
    return R(pw * map_.marginX / 210) + R(pw * ((x - d_.vxmin) * d_.sx + d_.px1) * map_.scaleX / d_.W);
  }
  int py(Real y) const {
    return R(Real(map_.pageWidth) * map_.marginY / 210) +
           R(Real(map_.pageHeight) * (d_.py2 - (y - d_.vymin) * d_.sy) * map_.scaleY / d_.H);
  }

  // Draws a geometric record on the screen and, in printing mode, on the printer.
  template <typename F>
  void both(F&& draw) {
    draw(screen_, false);
    if (printer_) draw(*printer_, true);
  }
  int X(bool printer, double x) const { return printer ? px(x) : sxp(x); }
  int Y(bool printer, double y) const { return printer ? py(y) : syp(y); }

  bool step(std::string_view rec) {
    const ParsedRecord r = ParseRecord(rec);
    if (!r.complete) return true;  // missing fields or non-numbers: the record is ignored
    const double* f = r.f;
    switch (r.code) {
      case kRecMoveTo:
        both([&](Canvas& c, bool p) { c.moveTo(X(p, f[0]), Y(p, f[1])); });
        break;
      case kRecLineTo:
        both([&](Canvas& c, bool p) { c.lineTo(X(p, f[0]), Y(p, f[1])); });
        break;
      case kRecCircle:
        both([&](Canvas& c, bool p) {
          int l = X(p, f[0] - f[2]), rt = X(p, f[0] + f[2]), t = Y(p, f[1] + f[2]), b = Y(p, f[1] - f[2]);
          c.ellipse(std::min(l, rt), std::min(t, b), std::max(l, rt), std::max(t, b));
        });
        break;
      case kRecLine:
        both([&](Canvas& c, bool p) { c.line(X(p, f[0]), Y(p, f[1]), X(p, f[2]), Y(p, f[3])); });
        break;
      case kRecArc:
        both([&](Canvas& c, bool p) {
          int l = X(p, f[0]), rt = X(p, f[2]), t = Y(p, f[3]), b = Y(p, f[1]);
          c.arc(std::min(l, rt), std::min(t, b), std::max(l, rt), std::max(t, b), X(p, f[4]), Y(p, f[5]),
                X(p, f[6]), Y(p, f[7]));
        });
        break;
      case kRecSolid:
        both([&](Canvas& c, bool p) {
          int xy[8];
          for (int k = 0; k < 4; ++k) {
            xy[2 * k] = X(p, f[2 * k]);
            xy[2 * k + 1] = Y(p, f[2 * k + 1]);
          }
          c.polygon(xy, 4);
        });
        break;
      case kRecText:
        text(f[0], f[1], r.text);
        break;
      case kRecColor:
        color(intField(f[0], -1));
        break;
      case kRecTextStyle:
        cellHeight_ = 1.6L * f[0] * heightFactor_;
        charWidth_ = 1.1L * f[1] * widthFactor_;
        angle_ = f[3];
        break;
      case kRecWindow: {
        d_.px1 = R(f[0]);
        d_.py1 = R(f[1]);
        d_.px2 = R(f[2]);
        d_.py2 = R(f[3]);
        d_.xmin = f[4];
        d_.ymin = f[5];
        d_.xmax = f[6];
        d_.ymax = f[7];
        if (d_.xmax == d_.xmin || d_.ymax == d_.ymin) {
          ws_.abort = true;
          return false;
        }
        SetScale(d_, d_.zx1, d_.zy1, d_.zx2, d_.zy2);
        refreshMapping();
        break;
      }
      case kRecLineStyle: {
        int s = intField(f[0], 0);
        if (s < 0 || s > 3) s = 0;
        screen_.setPenStyle(s);
        if (printer_) printer_->setPenStyle(s);
        break;
      }
      case kRecLineWidth: {
        const int w = std::clamp(intField(f[0], 1), 0, 1000);
        screen_.setPenWidth(w);
        if (printer_) printer_->setPenWidth(4 * w);
        break;
      }
      case kRecSleep:
        if (!printer_) screen_.sleepMs(std::clamp(intField(f[0], 0), 0, 10000));
        break;
      default:
        break;
    }
    return true;
  }

  void color(int n) {
    if (n >= 1 && n <= 16) {
      current_ = n;
      if (monoScreen_) {
        setColors(screen_, kBlack, background_, kBlack);
      } else {
        setColors(screen_, PaletteColor(n), PaletteColor(n), PaletteColor(n));
      }
      if (printer_) {
        if (colorPrinter_) {
          setColors(*printer_, PaletteColor(n), PaletteColor(n), PaletteColor(n));
        } else {
          setColors(*printer_, kBlack, background_, kBlack);
        }
      }
    } else if (n == 0) {
      current_ = 0;
      setColors(screen_, background_, background_, background_);
      if (printer_) setColors(*printer_, background_, background_, background_);
    }
  }

  static void setColors(Canvas& c, uint32_t pen, uint32_t brush, uint32_t font) {
    c.setPenColor(pen);
    c.setBrushColor(brush);
    c.setTextColor(font);
  }

  void text(double x, double y, std::string_view t) {
    const Real a = angle_ * kPi / 180;
    const Real C = cellHeight_;
    Real rx = x, ry = y + 0.75L * C;
    if (angle_ != 0) {
      rx = x - 0.7L * C * std::sin(a);
      ry = y + 0.75L * C * std::cos(a);
    }
    FontSpec font = font_;
    font.escapement = R(10 * angle_);
    const std::string text(t);
    if (printer_) {
      font.cellHeight = R(Real(map_.pageHeight) * C * d_.sy * map_.scaleY / d_.H);
      font.charWidth = R(Real(map_.pageWidth) * charWidth_ * d_.sx * map_.scaleX / d_.W);
      if (current_ == 0) {
        printer_->setTextColor(background_);
      } else if (!colorPrinter_) {
        printer_->setTextColor(kBlack);
      } else if (current_ <= 15) {
        printer_->setTextColor(PaletteColor(current_));
      }
      printer_->text(px(rx), py(ry), text, font);
      return;
    }
    font.cellHeight = R(C * d_.sy);
    font.charWidth = R(charWidth_ * d_.sx);
    if (current_ == 0) {
      screen_.setTextColor(background_);
    } else if (monoScreen_) {
      screen_.setTextColor(kBlack);
    } else if (current_ <= 15) {
      screen_.setTextColor(PaletteColor(current_));
    }
    screen_.text(sxp(rx), syp(ry), text, font);
  }

  Workspace& ws_;
  DisplayList& d_;
  Canvas& screen_;
  Canvas* printer_;
  PrintMapping map_;
  FontSpec font_;
  uint32_t background_ = 0xFFFFFF;
  bool monoScreen_ = false, colorPrinter_ = false;
  Real heightFactor_ = 1, widthFactor_ = 0.8L;
  int current_ = 1;
  Real cellHeight_ = 3.5L, charWidth_ = 3.5L, angle_ = 0;
  double vx_ = 0, vy_ = 0, sx_ = 1, sy_ = 1;
};

}  // namespace

size_t ReplayDisplayList(Workspace& ws, Canvas& screen, Canvas* printer, const PrintMapping* mapping) {
  Replayer r(ws, screen, printer, mapping);
  return r.run();
}

}  // namespace velk
