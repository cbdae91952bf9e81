// The drawing layer: shared drawing state, device selection and routing, the screen device,
// blocks drawn from "$name.dx$" files, the footer line, frame and logo blocks.
#include "draw/drawing.h"

#include <cmath>
#include <filesystem>

#include "base/codepage.h"
#include "base/identity.h"
#include "draw/blockfile.h"
#include "platform/files.h"

namespace velk {

namespace {

constexpr Real kPi = 3.14159265358979323846264338327950288L;
constexpr std::size_t kMaxBlockFileBytes = 16u << 20;

bool finite(std::initializer_list<Real> values) {
  for (Real v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

// The screen device: forwards the drawing calls to the graphics window's display list.
class ScreenDevice : public DrawingDevice {
 public:
  ScreenDevice(DisplayList& display, const DrawingOptions& options)
      : d_(display), num_(options.num), tempFolder_(options.tempFolder) {
    for (int n = 0; n < kDrawingLayers; ++n) {
      color_[static_cast<size_t>(n)] = LayerColor(options, n);
      width_[static_cast<size_t>(n)] = LayerWidth(options, n);
    }
    ClearDisplay(d_);
  }

  void window(Real x1, Real y1, Real x2, Real y2) override {
    if (!Header(d_, x1, y1, x2, y2)) fail();
  }
  void beginEntities() override {
    ClearViewPort(d_);
    SetDisplayLineStyle(d_, 0);
  }
  void finish() override {
    ClearViewPort(d_);
    DeleteBlockFiles(tempFolder_);
  }
  // What was drawn stays on screen; the block files go as at a normal end.
  void discard() override { finish(); }

  void layer(int n, const std::string&) override {
    const size_t i = static_cast<size_t>(n);
    if (n <= 5) {
      SetDisplayLineStyle(d_, n == 2 ? 3 : n == 1 ? 2 : 0);
      SetColorAcad(d_, color_[i]);
    } else {
      SetDisplayLineStyle(d_, 0);
      if (n >= 16) SetColorAcad(d_, color_[i]);
    }
    SetLineWidth(d_, width_[i]);
  }
  void lineStyle(int n) override { SetDisplayLineStyle(d_, n); }
  void textStyle(int font, Real angle, Real height, Real width) override {
    SetTextStyleRecord(d_, font, angle, height, 0.95L * width);
  }
  void line(Real x1, Real y1, Real x2, Real y2) override { DisplayLine(d_, x1, y1, x2, y2); }
  void circle(Real x, Real y, Real r) override { DisplayCircle(d_, x, y, r); }
  void arc(Real x, Real y, Real start, Real end, Real r) override { DisplayArc(d_, x, y, start, end, r); }
  void solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override {
    DisplaySolid(d_, x1, y1, x2, y2, x4, y4, x3, y3);  // DXF corner order 1-2-4-3 as an outline
  }
  void text(const std::string& text, Real x, Real y, const TextAttributes&) override {
    OutTextXY(d_, toDisplay(num_, text), x, y);
  }

 private:
  DisplayList& d_;
  NumberSettings num_;
  std::string tempFolder_;
  std::array<int, kDrawingLayers> color_{}, width_{};
};

// Block drawing (screen device).

struct Point {
  Real x, y;
};

Point mapPoint(const BlockTransform& t, Real px, Real py) {
  const Real a = t.rotation * kPi / 180;
  const Real c = std::cos(a), s = std::sin(a);
  const Real u = t.xscale * px, v = t.yscale * py;
  return {t.x + c * u - s * v, t.y + s * u + c * v};
}

int layerNumber(const DrawingOptions& o, const std::string& name) {
  for (int i = 0; i <= 5; ++i)
    if (name == LayerName(o, i)) return i;
  long long n = 0;
  if (!tryParseInt(name, n)) return 0;
  if (n < 0 || n > 1000000) return 0;
  return static_cast<int>(n);
}

bool safeBlockName(const std::string& name) { return name.find_first_of(std::string("/\\\0", 3)) == std::string::npos; }

void drawBlock(DrawingState& s, Diagnostics& diag, const std::string& name, Real x, Real y, Real angle, Real xscale,
               Real yscale);

// Draws one polyline segment of a block: straight, or the bulge arc.
void drawSegment(DrawingState& s, Diagnostics& diag, const BlockVertex& a, const BlockVertex& b) {
  const BlockTransform& t = s.block;
  if (a.bulge == 0) {
    const Point p = mapPoint(t, a.x, a.y), q = mapPoint(t, b.x, b.y);
    Line(s, p.x, p.y, q.x, q.y);
    return;
  }
  const BulgeArc arc = ArcFromBulge(a.x, a.y, b.x, b.y, a.bulge);
  if (!arc.message.empty()) diag.error(arc.message);
  if (!arc.arc) return;
  const Point c = mapPoint(t, arc.cx, arc.cy);
  Arc(s, c.x, c.y, arc.start + t.rotation, arc.end + t.rotation, arc.r * t.xscale);
}

void drawEntities(DrawingState& s, Diagnostics& diag, const std::vector<BlockEntity>& entities) {
  for (const BlockEntity& e : entities) {
    if (++s.blockEntities > s.blockEntityLimit) return;
    if (e.kind == BlockEntity::Kind::Message) {
      diag.error(e.text);
      continue;
    }
    SetLayer(s, layerNumber(s.options, e.layer));
    const BlockTransform t = s.block;
    const Real* v = e.v;
    switch (e.kind) {
      case BlockEntity::Kind::Line: {
        const Point p = mapPoint(t, v[0], v[1]), q = mapPoint(t, v[2], v[3]);
        Line(s, p.x, p.y, q.x, q.y);
        break;
      }
      case BlockEntity::Kind::Circle: {
        const Point c = mapPoint(t, v[0], v[1]);
        Circle(s, c.x, c.y, v[2] * t.xscale);
        break;
      }
      case BlockEntity::Kind::Arc: {
        const Point c = mapPoint(t, v[0], v[1]);
        Arc(s, c.x, c.y, v[3] + t.rotation, v[4] + t.rotation, v[2] * t.xscale);
        break;
      }
      case BlockEntity::Kind::Text: {
        const Point p = mapPoint(t, v[0], v[1]);
        TextStyle(s, 2, v[4] + t.rotation, v[2] * t.yscale, v[2] * v[3] * t.xscale);
        Text(s, e.text, p.x, p.y);
        break;
      }
      case BlockEntity::Kind::Solid: {
        Point p[4];
        for (std::size_t k = 0; k < 4; ++k) p[k] = mapPoint(t, v[2 * k], v[2 * k + 1]);
        Solid(s, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, p[3].x, p[3].y);
        break;
      }
      case BlockEntity::Kind::Polyline: {
        const int base = s.layer;
        const size_t n = e.vertices.size();
        for (size_t i = 0; i + 1 < n && s.blockEntities <= s.blockEntityLimit; ++i, ++s.blockEntities) {
          const BlockVertex& a = e.vertices[i];
          SetLayer(s, a.layer.empty() ? base : layerNumber(s.options, a.layer));
          drawSegment(s, diag, a, e.vertices[i + 1]);
        }
        if (e.closed && n > 0) {
          BlockVertex last = e.vertices[n - 1];
          last.bulge = 0;  // the closing segment is straight
          drawSegment(s, diag, last, e.vertices[0]);
        }
        break;
      }
      case BlockEntity::Kind::Insert: {
        const int layer = s.layer;
        drawBlock(s, diag, e.text, v[0], v[1], v[4], v[2], v[3]);
        SetLayer(s, layer);
        break;
      }
      case BlockEntity::Kind::Message:
        break;
    }
  }
}

void drawBlock(DrawingState& s, Diagnostics& diag, const std::string& name, Real x, Real y, Real angle, Real xscale,
               Real yscale) {
  if (s.blockLevel >= 4) {
    // Deeper nesting is refused: the message, and this block is left out.
    diag.error("error blockno." + fmtInt(s.blockLevel + 1));
    return;
  }
  const BlockTransform saved = s.block;
  ++s.blockLevel;
  const Point p = mapPoint(saved, x, y);
  s.block = {p.x, p.y, saved.rotation + angle, saved.xscale * xscale, saved.yscale * yscale};
  std::optional<std::string> bytes;
  if (safeBlockName(name)) bytes = readWholeFile(BlockFilePath(s.options.tempFolder, name), kMaxBlockFileBytes);
  if (!bytes) {
    diag.error("Invalid temp directory");
    s.failed = true;
  } else {
    drawEntities(s, diag, ParseBlockFile(*bytes));
  }
  --s.blockLevel;
  s.block = saved;
}

std::string shortenedName(const std::string& name) {
  if (name.size() <= 120) return name;
  return name.substr(0, 57) + " ... " + name.substr(name.size() - 58);
}

}  // namespace

std::optional<DeviceCode> DeviceCodeFromNumber(long long n) {
  switch (n) {
    case 0:
      return DeviceCode::Ask;
    case 1:
      return DeviceCode::Dxf;
    case 2:
      return DeviceCode::Iges;
    case 3:
      return DeviceCode::Screen;
    case 4:
      return DeviceCode::Plot;
    case 5:
      return DeviceCode::Tab;
    default:
      return std::nullopt;
  }
}

void SetDeviceFactory(DrawingState& state, DeviceCode device, DeviceFactory factory) {
  if (device != DeviceCode::Ask) state.devices[static_cast<size_t>(DeviceNumber(device))] = std::move(factory);
}

void InstallScreenDevice(DrawingState& state, DisplayList& display) {
  SetDeviceFactory(state, DeviceCode::Screen, [&display](const DrawingOptions& options, const std::string&) {
    return std::make_unique<ScreenDevice>(display, options);
  });
}

bool DeviceAvailable(const DrawingState& state, DeviceCode device) {
  return device != DeviceCode::Ask && state.devices[static_cast<size_t>(DeviceNumber(device))];
}

std::string DeviceEntry(DeviceCode device) {
  switch (device) {
    case DeviceCode::Dxf:
      return "DXF";
    case DeviceCode::Iges:
      return "IGES";
    case DeviceCode::Screen:
      return "Kontrollausgabe auf Bildschirm";
    case DeviceCode::Plot:
      return "Ausgabe auf Laserprinter/Plotter mit PLOTRIX";
    case DeviceCode::Tab:
      return "TXT";
    case DeviceCode::Ask:
      return {};
  }
  return {};
}

void Abandon(DrawingState& s) {
  if (!s.out) return;  // an unfinished drawing (its caller stopped) leaves no file
  s.out->discard();
  s.out.reset();
}

bool Open(DrawingState& s, Diagnostics& diag, DeviceCode device, const std::string& path,
          const DrawingOptions& options) {
  Abandon(s);
  s.ox = s.oy = 0;
  s.kind = DrawingKind::Drawing;
  s.justifyH = s.justifyV = 0;
  s.lineSpacing = 1.0;
  s.lineStyle = 0;
  s.blockLevel = 0;
  s.block = BlockTransform{};
  s.fileName.clear();
  s.failed = false;
  if (!DeviceAvailable(s, device)) {
    diag.error(DeviceEntry(device) + " " + oem("nicht verfügbar"));
    return false;
  }
  s.device = device;
  if (!path.empty() && !canCreateFileAt(path, options.io)) {
    diag.error("file write error");
    return false;
  }
  s.fileName = path;
  s.options = options;
  s.layerName = LayerName(s.options, s.layer);
  s.out = s.devices[static_cast<size_t>(DeviceNumber(device))](s.options, path);
  return s.out != nullptr;
}

void Window(DrawingState& s, Real x1, Real y1, Real x2, Real y2) {
  s.x1 = x1;
  s.y1 = y1;
  s.x2 = x2;
  s.y2 = y2;
  s.width = x2 - x1;
  s.height = y2 - y1;
  if (!s.out) return;
  s.out->window(x1, y1, x2, y2);
  if (s.out->failed()) s.failed = true;
  s.out->layer(s.layer, s.layerName);  // the current layer carries over from the last drawing
  if ((s.device == DeviceCode::Screen || s.device == DeviceCode::Plot) && s.options.printBorder) {
    SetLayer(s, 19);
    Rectangle(s, x1, y1, x2, y2);
  }
  if (s.device == DeviceCode::Screen) {
    TextStyle(s, 2, 0, 0.006L * s.height, 0.0045L * s.width);
    SetLayer(s, 30);
    Text(s, s.options.footer, x1 + 0.005L * s.width, y1 + 0.002L * s.height);
  }
}

void Tables(DrawingState& s, DrawingKind kind) {
  if (s.out) s.out->tables(kind);
}

void BeginEntities(DrawingState& s, Diagnostics& diag) {
  if (!s.out) return;
  s.out->beginEntities();
  if (s.device != DeviceCode::Screen && s.device != DeviceCode::Plot) return;
  for (const char* logo : {"LOGO_2", "LOGO_3"}) {
    if (!fileExists(BlockFilePath(s.options.tempFolder, logo))) continue;
    const Real f = std::string_view(logo) == "LOGO_2" ? 0.01L : 0.96L;
    Insert(s, diag, logo, s.x1 + 0.91L * s.width, s.y1 + f * s.height, 0, s.width / 480, s.height / 360);
  }
}

void EndEntities(DrawingState& s) {
  if (s.out) s.out->endEntities();
}

bool Finish(DrawingState& s, Diagnostics& diag, bool stop) {
  if (!s.out) return !s.failed;
  std::unique_ptr<DrawingDevice> out = std::move(s.out);
  if (stop || s.failed || out->failed()) {
    out->discard();
    return false;
  }
  out->finish();
  if (!out->failed()) return true;
  if (!out->failure().empty()) diag.error(out->failure());
  s.failed = true;
  return false;
}

// --- primitives.

void Line(DrawingState& s, Real x1, Real y1, Real x2, Real y2) {
  if (!s.out) return;
  x1 += s.ox, y1 += s.oy, x2 += s.ox, y2 += s.oy;
  if (!finite({x1, y1, x2, y2})) return;
  s.out->line(x1, y1, x2, y2);
}

void Circle(DrawingState& s, Real x, Real y, Real r) {
  if (!s.out) return;
  x += s.ox, y += s.oy;
  if (!finite({x, y, r})) return;
  s.out->circle(x, y, r);
}

void Arc(DrawingState& s, Real x, Real y, Real start, Real end, Real r) {
  if (!s.out || r == 0) return;
  x += s.ox, y += s.oy;
  if (!finite({x, y, start, end, r})) return;
  s.out->arc(x, y, start, end, r);
}

void Solid(DrawingState& s, Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  if (!s.out) return;
  x1 += s.ox, x2 += s.ox, x3 += s.ox, x4 += s.ox;
  y1 += s.oy, y2 += s.oy, y3 += s.oy, y4 += s.oy;
  if (!finite({x1, y1, x2, y2, x3, y3, x4, y4})) return;
  s.out->solid(x1, y1, x2, y2, x3, y3, x4, y4);
}

void MoveTo(DrawingState& s, Real x, Real y) {
  s.cx = x;
  s.cy = y;
}

void LineTo(DrawingState& s, Real x, Real y) {
  Line(s, s.cx, s.cy, x, y);
  MoveTo(s, x, y);
}

void Rectangle(DrawingState& s, Real x1, Real y1, Real x2, Real y2) {
  MoveTo(s, x1, y1);
  LineTo(s, x1, y2);
  LineTo(s, x2, y2);
  LineTo(s, x2, y1);
  LineTo(s, x1, y1);
}

void Text(DrawingState& s, const std::string& text, Real x, Real y) {
  if (!s.out || text.empty()) return;
  const Real L = static_cast<Real>(text.size());
  const Real h = s.text.height, w = s.text.widthFactor;
  if (s.justifyH == 1) x -= 0.5L * L * h * w;
  if (s.justifyH == 2) x -= L * h * w;
  if (s.justifyV == 1) y -= 0.5L * h;
  if (s.justifyV == 2) y -= h;
  x += s.ox, y += s.oy;
  if (!finite({x, y})) return;
  s.out->text(text, x, y, s.text);
}

void TextLine(DrawingState& s, const std::string& text) {
  Text(s, text, s.cx, s.cy);
  s.cy -= 1.6L * s.text.height * s.lineSpacing;
}

// --- state.

void SetTextJustify(DrawingState& s, int horizontal, int vertical) {
  s.justifyH = horizontal;
  s.justifyV = vertical;
}

void SetLineSpacing(DrawingState& s, Real factor) { s.lineSpacing = factor; }

void SetOrigin(DrawingState& s, Real ox, Real oy) {
  s.ox = ox;
  s.oy = oy;
}

void TextStyle(DrawingState& s, int font, Real angle, Real height, Real width) {
  s.text.height = height;
  const Real ratio = (width == 0 || height == 0) ? 0.7L : width / height;
  s.text.widthFactor = s.options.cadTextWidth * ratio;
  s.text.angle = angle;
  s.text.slant = s.options.cadTextAngle;
  if (s.out) s.out->textStyle(font, angle, height, width);
}

void SetLayer(DrawingState& s, int n) {
  n = NormalizeLayer(n);
  s.layer = n;
  s.layerName = LayerName(s.options, n);
  if (s.out) s.out->layer(n, s.layerName);
}

void SetLineStyle(DrawingState& s, int n) {
  s.lineStyle = n;
  if (s.out) s.out->lineStyle(n);
}

void Insert(DrawingState& s, Diagnostics& diag, const std::string& name, Real x, Real y, Real angle, Real xscale,
            Real yscale) {
  if (!s.out) return;
  if (s.device != DeviceCode::Screen) {
    if (finite({x, y, angle, xscale, yscale})) s.out->insert(name, x, y, angle, xscale, yscale);
    return;
  }
  // The outermost Insert starts from the identity transform.
  s.blockLevel = 0;
  s.block = BlockTransform{};
  s.blockEntities = 0;
  drawBlock(s, diag, name, x, y, angle, xscale, yscale);
}

// --- helpers.

int NormalizeLayer(int n) {
  if (n > 31) return n % 16 + 16;
  return n < 0 ? 0 : n;
}

std::string LayerName(const DrawingOptions& o, int n) {
  if (n >= 1 && n <= 5) {
    const std::string& name = o.layerName[static_cast<size_t>(n)];
    return name.empty() ? fmtInt(n) : name;
  }
  return fmtInt(n);
}

int LayerColor(const DrawingOptions& o, int n) {
  static constexpr int kDefault[6] = {1, 2, 2, 2, 3, 1};
  if (n == 0) return 1;
  if ((n >= 1 && n <= 5) || (n >= 16 && n <= 31)) {
    const int c = o.layerColor[static_cast<size_t>(n)];
    if (c >= 1) return c;
    return n <= 5 ? kDefault[n] : n - 15;
  }
  return n % 16 + 1;
}

int LayerWidth(const DrawingOptions& o, int n) {
  static constexpr int kDefault[6] = {1, 1, 1, 1, 2, 3};
  if (n >= 1 && n <= 5) {
    const int w = o.lineThickness[static_cast<size_t>(n)];
    return w >= 1 ? w : kDefault[n];
  }
  if (n >= 16 && n <= 31) {
    const int w = o.lineThickness[static_cast<size_t>(n)];
    return w >= 2 && w <= 50 ? w : 1;
  }
  return 1;
}

std::string FooterText(const NumberSettings& num, const std::string& inputPath) {
  std::string t = todayText(num) + " " + timeText() + " - " + "ORVAN " + kAppTitle + " V" + kVersion + " - ";
  if (!inputPath.empty()) t += shortenedName(oem(inputPath));
  return t;
}

std::string BlockFilePath(const std::string& tempFolder, const std::string& name) {
  return tempFolder + "$" + name + ".dx$";
}

void DeleteBlockFiles(const std::string& tempFolder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::directory_iterator it(tempFolder, ec);
  if (ec) return;
  std::vector<fs::path> matches;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const std::string name = it->path().filename().string();
    if (name.size() >= 5 && name.front() == '$' && name.compare(name.size() - 4, 4, ".dx$") == 0)
      matches.push_back(it->path());
  }
  bool first = true;
  for (const fs::path& p : matches) {
    std::error_code rc;
    const bool removed = fs::remove(p, rc);
    // A failure at the first match is ignored; one at a later match ends the deletion.
    if ((!removed || rc) && !first) break;
    first = false;
  }
}

std::string WriteFailureText(const std::string& path, int err) {
  const int code = ioCodeFromErrno(err);
  std::string text = code == 100            ? std::string("Lesefehler")
                     : code == kIoDiskFull  ? std::string("Diskette/Platte voll")
                     : code == kIoBadNumber ? std::string("Falsches numerisches Format")
                                            : std::string("Fehler bei Zugriff auf Diskette/Platte");
  if (!path.empty()) text += ": " + oem(path);
  if (err != 0) text += " (" + oem(writeFailureReason(path, err)) + ")";
  return text;
}

}  // namespace velk
