// Display list records, the drawing calls that append them, and the replay of the list through
// a view mapping onto a canvas (window, printer or file).
#include "draw/displaylist.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "draw/viewmapping.h"

namespace velk {

namespace {

constexpr Real kPi = 3.14159265358979323846264338327950288L;

int R(double v) { return RoundPixel(v); }

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
    case 0:
      return 0;
    case 1:
      return 12;
    case 2:
      return 14;
    case 3:
      return 10;
    case 4:
      return 11;
    case 5:
      return 9;
    case 6:
      return 13;
    case 7:
      return 15;
    default:
      return n - 7;  // 8..15 -> 1..8; negative numbers stay below 1 and select nothing
  }
}

void SetWindowSize(DisplayList& d, int resolutionX, int resolutionY, int screenWidth, int screenHeight) {
  d.W = resolutionX >= 1 && resolutionX <= 5000 ? resolutionX : screenWidth - 9;
  d.H = resolutionY >= 1 && resolutionY <= 5000 ? resolutionY : screenHeight - 91;
  if (d.W < 1) d.W = 1;
  if (d.H < 1) d.H = 1;
}

void ClearDisplay(DisplayList& d) {
  d.records.clear();
  // A new list must record its own first colour, style and width: the replay starts from its
  // defaults, not from whatever the previous drawing left current.
  d.currentColor = d.currentLineStyle = d.currentLineWidth = -1;
  if (d.invalidate) d.invalidate();
}

void ClearViewPort(DisplayList& d) {
  if (d.invalidate) d.invalidate();
}

bool SetWindow(DisplayList& d, bool keepAspect, bool inset, Real vx1, Real vy1, Real vx2, Real vy2, Real xmin,
               Real ymin, Real xmax, Real ymax) {
  if (!finite({vx1, vy1, vx2, vy2, xmin, ymin, xmax, ymax})) {
    return false;
  }
  int px1 = R(vx1 * d.W), px2 = R(vx2 * d.W);
  int py1 = R((1 - vy2) * d.H), py2 = R((1 - vy1) * d.H);
  if (inset) {
    ++px1;
    --px2;
    ++py1;
    --py2;
  }
  appendRecord(d, kRecWindow, {Real(px1), Real(py1), Real(px2), Real(py2), xmin, ymin, xmax, ymax});
  ++d.windowSerial;
  d.keepAspect = keepAspect;
  return xmax != xmin && ymax != ymin;
}

bool Header(DisplayList& d, Real x1, Real y1, Real x2, Real y2) {
  const bool ok = SetWindow(d, true, true, 0, 0, 1, 1, x1, y1, x2, y2);
  SetDisplayLineStyle(d, 0);
  return ok;
}

void DisplayLine(DisplayList& d, Real x1, Real y1, Real x2, Real y2) { appendRecord(d, kRecLine, {x1, y1, x2, y2}); }

void DisplayCircle(DisplayList& d, Real x, Real y, Real r) { appendRecord(d, kRecCircle, {x, y, r}); }

void DisplayArc(DisplayList& d, Real x, Real y, Real start, Real end, Real r) {
  if (!finite({x, y, start, end, r})) return;
  Real sweep = std::fmod(end - start, Real(360));
  if (sweep < 0) sweep += 360;
  const Real a = start * kPi / 180, e = end * kPi / 180;
  const Real ax = x + r * std::cos(a), ay = y + r * std::sin(a);
  const Real ex = x + r * std::cos(e), ey = y + r * std::sin(e);
  if (sweep < 4) {
    DisplayLine(d, ax, ay, ex, ey);
    return;
  }
  appendRecord(d, kRecArc, {x - r, y - r, x + r, y + r, ax, ay, ex, ey});
}

void DisplaySolid(DisplayList& d, Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  appendRecord(d, kRecSolid, {x1, y1, x2, y2, x3, y3, x4, y4});
}

void OutTextXY(DisplayList& d, const std::string& text, Real x, Real y) {
  if (!finite({x, y})) return;
  std::string rec = "6;";
  appendReal(rec, x);
  rec += ';';
  appendReal(rec, y);
  rec += ';';
  // A record is one line: line breaks inside a text would split it.
  for (char c : text) rec += (c == '\n' || c == '\r') ? ' ' : c;
  d.records.push_back(std::move(rec));
}

void DisplayRectangle(DisplayList& d, Real x1, Real y1, Real x2, Real y2) {
  DisplayLine(d, x1, y1, x1, y2);
  DisplayLine(d, x1, y2, x2, y2);
  DisplayLine(d, x2, y2, x2, y1);
  DisplayLine(d, x2, y1, x1, y1);
}

void SetColor(DisplayList& d, int n) {
  if (n <= 16 && n != d.currentColor) appendIntRecord(d, kRecColor, n);
  d.currentColor = n;
}

void SetColorAcad(DisplayList& d, int n) { SetColor(d, GetColorTurbo(n)); }

void SetDisplayLineStyle(DisplayList& d, int n) {
  if (n != d.currentLineStyle) appendIntRecord(d, kRecLineStyle, n);
  d.currentLineStyle = n;
}

void SetLineWidth(DisplayList& d, int n) {
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

void SetTextStyleRecord(DisplayList& d, int font, Real angle, Real height, Real width) {
  if (!finite({angle, height, width})) return;
  std::string rec = "9;";
  appendReal(rec, height);
  rec += ';';
  appendReal(rec, width);
  rec += ';';
  appendInt(rec, font);
  rec += ';';
  appendReal(rec, angle);
  d.records.push_back(std::move(rec));
}

void SleepMs(DisplayList& d, int ms) { appendIntRecord(d, kRecSleep, ms); }

void DrawOrvanLogo(DisplayList& d) {
  // Two interlocking chevrons in the two logo colours; the picture is our own.
  Header(d, -1, -1, 38, 33);
  SetDisplayLineStyle(d, 0);
  struct Quad {
    int color;
    Real p[8];
  };
  static constexpr Quad kQuads[] = {
      {9, {2, 4, 8, 4, 12, 28, 6, 28}},     {9, {8, 4, 14, 4, 22, 20, 16, 20}},  {13, {16, 20, 22, 20, 30, 4, 24, 4}},
      {13, {24, 4, 30, 4, 34, 28, 28, 28}}, {9, {2, 30, 34, 30, 34, 32, 2, 32}}, {13, {2, 0, 34, 0, 34, 2, 2, 2}},
  };
  for (const Quad& q : kQuads) {
    SetColor(d, q.color);
    DisplaySolid(d, q.p[0], q.p[1], q.p[2], q.p[3], q.p[4], q.p[5], q.p[6], q.p[7]);
  }
}

// --- replay.

bool IsLightColor(uint32_t rgb) {
  const unsigned r = (rgb >> 16) & 0xFFu, g = (rgb >> 8) & 0xFFu, b = rgb & 0xFFu;
  // Integer form of 0.299 R + 0.587 G + 0.114 B > 127.5.
  return 299u * r + 587u * g + 114u * b > 127500u;
}

uint32_t ReplayStyle::color(int n) const {
  if (n == 15 && IsLightColor(background)) return 0x000000;
  return PaletteColor(n);
}

uint32_t ReplayStyle::ink() const { return IsLightColor(background) ? 0x000000u : 0xFFFFFFu; }

namespace {

class Replayer {
 public:
  Replayer(const ViewMapping& view, Canvas& canvas, const ReplayStyle& style) : m_(view), c_(canvas), st_(style) {
    background_ = st_.background & 0xFFFFFFu;
    const int fs = st_.fontStyle;
    const bool styled = fs >= 1 && fs <= 15;
    font_.face = st_.fontFace.empty() ? std::string("Arial") : st_.fontFace;
    font_.weight = styled && (fs & 1) ? 700 : 100;
    font_.italic = styled && (fs & 2);
    font_.underline = styled && (fs & 4);
    font_.strikeOut = styled && (fs & 8);
    refreshMapping();
  }

  ReplayStatus run(const std::vector<std::string>& records) {
    color(1);
    c_.setPenWidth(penWidth(1));
    if (st_.frame) {
      if (st_.frameInColor) c_.setPenColor(PaletteColor(11));
      const int x1 = X(m_.xmin), y1 = Y(m_.ymin), x2 = X(m_.xmax), y2 = Y(m_.ymax);
      c_.line(x1, y1, x1, y2);
      c_.line(x1, y2, x2, y2);
      c_.line(x2, y2, x2, y1);
      c_.line(x2, y1, x1, y1);
    }
    for (const std::string& rec : records)
      if (!step(rec)) return ReplayStatus::DegenerateWindow;
    return ReplayStatus::Done;
  }

 private:
  // The mapping in double precision: every coordinate of the replay goes through it.
  void refreshMapping() {
    left_ = m_.deviceLeft();
    bottom_ = m_.deviceBottom();
    vx_ = static_cast<double>(m_.vxmin);
    vy_ = static_cast<double>(m_.vymin);
    sx_ = static_cast<double>(m_.sx);
    sy_ = static_cast<double>(m_.sy);
  }
  int X(double x) const { return left_ + R((x - vx_) * sx_); }
  int Y(double y) const { return bottom_ - R((y - vy_) * sy_); }
  int penWidth(int w) const { return w * st_.penWidthFactor; }

  // False when the record stops the replay.
  bool step(std::string_view rec) {
    const ParsedRecord r = ParseRecord(rec);
    if (!r.complete) return true;  // missing fields or non-numbers: the record is ignored
    const double* f = r.f;
    switch (r.code) {
      case kRecMoveTo:
        c_.moveTo(X(f[0]), Y(f[1]));
        break;
      case kRecLineTo:
        c_.lineTo(X(f[0]), Y(f[1]));
        break;
      case kRecCircle: {
        const int l = X(f[0] - f[2]), rt = X(f[0] + f[2]), t = Y(f[1] + f[2]), b = Y(f[1] - f[2]);
        c_.ellipse(std::min(l, rt), std::min(t, b), std::max(l, rt), std::max(t, b));
        break;
      }
      case kRecLine:
        c_.line(X(f[0]), Y(f[1]), X(f[2]), Y(f[3]));
        break;
      case kRecArc: {
        const int l = X(f[0]), rt = X(f[2]), t = Y(f[3]), b = Y(f[1]);
        c_.arc(std::min(l, rt), std::min(t, b), std::max(l, rt), std::max(t, b), X(f[4]), Y(f[5]), X(f[6]), Y(f[7]));
        break;
      }
      case kRecSolid: {
        int xy[8];
        for (std::size_t k = 0; k < 4; ++k) {
          xy[2 * k] = X(f[2 * k]);
          xy[2 * k + 1] = Y(f[2 * k + 1]);
        }
        c_.polygon(xy, 4);
        break;
      }
      case kRecText:
        text(f[0], f[1], r.text);
        break;
      case kRecColor:
        color(intField(f[0], -1));
        break;
      case kRecTextStyle:
        cellHeight_ = 1.6L * f[0] * st_.textHeightFactor;
        charWidth_ = 1.1L * f[1] * st_.textWidthFactor;
        angle_ = f[3];
        break;
      case kRecWindow:
        if (!m_.applyWindow(R(f[0]), R(f[1]), R(f[2]), R(f[3]), f[4], f[5], f[6], f[7])) return false;
        refreshMapping();
        break;
      case kRecLineStyle: {
        int s = intField(f[0], 0);
        if (s < 0 || s > 3) s = 0;
        c_.setPenStyle(s);
        break;
      }
      case kRecLineWidth:
        c_.setPenWidth(penWidth(std::clamp(intField(f[0], 1), 0, 1000)));
        break;
      case kRecSleep:
        c_.pause(std::clamp(intField(f[0], 0), 0, 10000));
        break;
      default:
        break;
    }
    return true;
  }

  void color(int n) {
    if (n >= 1 && n <= 16) {
      current_ = n;
      if (st_.monochrome) {
        setColors(st_.ink(), background_, st_.ink());
      } else {
        const uint32_t rgb = st_.color(n);
        setColors(rgb, rgb, rgb);
      }
    } else if (n == 0) {
      current_ = 0;
      setColors(background_, background_, background_);
    }
  }

  void setColors(uint32_t pen, uint32_t brush, uint32_t font) {
    c_.setPenColor(pen);
    c_.setBrushColor(brush);
    c_.setTextColor(font);
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
    font.cellHeight = R(C * m_.sy);
    font.charWidth = R(charWidth_ * m_.sx);
    if (current_ == 0) {
      c_.setTextColor(background_);
    } else if (st_.monochrome) {
      c_.setTextColor(st_.ink());
    } else if (current_ <= 15) {
      c_.setTextColor(st_.color(current_));  // 16 leaves the text colour as it was
    }
    c_.text(X(rx), Y(ry), std::string(t), font);
  }

  ViewMapping m_;  // the caller's mapping, as the window records change it during this replay
  Canvas& c_;
  const ReplayStyle& st_;
  FontSpec font_;
  uint32_t background_ = 0;
  int current_ = 1;
  Real cellHeight_ = 3.5L, charWidth_ = 3.5L, angle_ = 0;
  int left_ = 0, bottom_ = 0;
  double vx_ = 0, vy_ = 0, sx_ = 1, sy_ = 1;
};

}  // namespace

ReplayStatus Replay(const DisplayList& list, const ViewMapping& view, Canvas& canvas, const ReplayStyle& style) {
  Replayer r(view, canvas, style);
  return r.run(list.records);
}

}  // namespace velk
