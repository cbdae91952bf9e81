// The drawing layer: shared drawing state, device selection and routing, the screen device,
// blocks drawn from "$name.dx$" files, the footer line, frame and logo blocks.
#include "graphics/drawing.h"

#include <cmath>
#include <filesystem>

#include "graphics/context.h"
#include "base/codepage.h"
#include "dialogs/dialogs.h"
#include "graphics/blockfile.h"
#include "platform/files.h"
#include "tables/tableservice.h"

namespace velk {

namespace {

constexpr Real kPi = 3.14159265358979323846264338327950288L;
constexpr std::size_t kMaxBlockFileBytes = 16u << 20;

bool finite(std::initializer_list<Real> values) {
  for (Real v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

const char* extensionFor(int device) {
  switch (device) {
    case kCadDxf: return "dxf";
    case kCadIges: return "igs";
    case kCadTab: return "txt";
    default: return "";
  }
}

// The screen device: forwards the drawing calls to the graphics window's display list.
class ScreenDevice : public DrawingDevice {
 public:
  void window(OutputContext& ws, Real x1, Real y1, Real x2, Real y2) override { Header(ws, x1, y1, x2, y2); }
  void beginEntities(OutputContext& ws) override {
    ClearViewPort(ws);
    SetDisplayLineStyle(ws, 0);
  }
  void finish(OutputContext& ws) override {
    ClearViewPort(ws);
    NormalCursor(ws);
    DeleteBlockFiles(ws);
  }
  // What was drawn stays on screen; the block files go as at a normal end.
  void discard(OutputContext& ws) override { finish(ws); }

  void layer(OutputContext& ws, int n, const std::string&) override {
    if (n <= 5) {
      SetDisplayLineStyle(ws, n == 2 ? 3 : n == 1 ? 2 : 0);
      SetColorAcad(ws, LayerColor(ws, n));
    } else {
      SetDisplayLineStyle(ws, 0);
      if (n >= 16) SetColorAcad(ws, LayerColor(ws, n));
    }
    SetLineWidth(ws, LayerWidth(ws, n));
  }
  void lineStyle(OutputContext& ws, int n) override { SetDisplayLineStyle(ws, n); }
  void textStyle(OutputContext& ws, int font, Real angle, Real height, Real width) override {
    SetTextStyleRecord(ws, font, angle, height, 0.95L * width);
  }
  void line(OutputContext& ws, Real x1, Real y1, Real x2, Real y2) override { DisplayLine(ws, x1, y1, x2, y2); }
  void circle(OutputContext& ws, Real x, Real y, Real r) override { DisplayCircle(ws, x, y, r); }
  void arc(OutputContext& ws, Real x, Real y, Real start, Real end, Real r) override {
    DisplayArc(ws, x, y, start, end, r);
  }
  void solid(OutputContext& ws, Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override {
    DisplaySolid(ws, x1, y1, x2, y2, x4, y4, x3, y3);  // DXF corner order 1-2-4-3 as an outline
  }
  void text(OutputContext& ws, const std::string& text, Real x, Real y, const TextAttributes&) override {
    OutTextXY(ws, toDisplay(ws.config.num, text), x, y);
  }
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

int layerNumber(const OutputContext& ws, const std::string& name) {
  for (int i = 0; i <= 5; ++i)
    if (name == LayerName(ws, i)) return i;
  long long n = 0;
  if (!tryParseInt(name, n)) return 0;
  if (n < 0 || n > 1000000) return 0;
  return static_cast<int>(n);
}

bool safeBlockName(const std::string& name) {
  return name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

void drawBlock(OutputContext& ws, const std::string& name, Real x, Real y, Real angle, Real xscale, Real yscale);

// Draws one polyline segment of a block: straight, or the bulge arc.
void drawSegment(OutputContext& ws, const BlockVertex& a, const BlockVertex& b) {
  const BlockTransform& t = ws.drawing.block;
  if (a.bulge == 0) {
    const Point p = mapPoint(t, a.x, a.y), q = mapPoint(t, b.x, b.y);
    Line(ws, p.x, p.y, q.x, q.y);
    return;
  }
  const BulgeArc arc = ArcFromBulge(a.x, a.y, b.x, b.y, a.bulge);
  if (!arc.message.empty()) ShowError(ws, arc.message);
  if (!arc.arc) return;
  const Point c = mapPoint(t, arc.cx, arc.cy);
  Arc(ws, c.x, c.y, arc.start + t.rotation, arc.end + t.rotation, arc.r * t.xscale);
}

void drawEntities(OutputContext& ws, const std::vector<BlockEntity>& entities) {
  DrawingState& s = ws.drawing;
  for (const BlockEntity& e : entities) {
    if (++s.blockEntities > s.blockEntityLimit) return;
    if (e.kind == BlockEntity::Kind::Message) {
      ShowError(ws, e.text);
      continue;
    }
    SetLayer(ws, layerNumber(ws, e.layer));
    const BlockTransform t = s.block;
    const Real* v = e.v;
    switch (e.kind) {
      case BlockEntity::Kind::Line: {
        const Point p = mapPoint(t, v[0], v[1]), q = mapPoint(t, v[2], v[3]);
        Line(ws, p.x, p.y, q.x, q.y);
        break;
      }
      case BlockEntity::Kind::Circle: {
        const Point c = mapPoint(t, v[0], v[1]);
        Circle(ws, c.x, c.y, v[2] * t.xscale);
        break;
      }
      case BlockEntity::Kind::Arc: {
        const Point c = mapPoint(t, v[0], v[1]);
        Arc(ws, c.x, c.y, v[3] + t.rotation, v[4] + t.rotation, v[2] * t.xscale);
        break;
      }
      case BlockEntity::Kind::Text: {
        const Point p = mapPoint(t, v[0], v[1]);
        TextStyle(ws, 2, v[4] + t.rotation, v[2] * t.yscale, v[2] * v[3] * t.xscale);
        Text(ws, e.text, p.x, p.y);
        break;
      }
      case BlockEntity::Kind::Solid: {
        Point p[4];
        for (int k = 0; k < 4; ++k) p[k] = mapPoint(t, v[2 * k], v[2 * k + 1]);
        Solid(ws, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, p[3].x, p[3].y);
        break;
      }
      case BlockEntity::Kind::Polyline: {
        const int base = s.layer;
        const size_t n = e.vertices.size();
        for (size_t i = 0; i + 1 < n && s.blockEntities <= s.blockEntityLimit; ++i, ++s.blockEntities) {
          const BlockVertex& a = e.vertices[i];
          SetLayer(ws, a.layer.empty() ? base : layerNumber(ws, a.layer));
          drawSegment(ws, a, e.vertices[i + 1]);
        }
        if (e.closed && n > 0) {
          BlockVertex last = e.vertices[n - 1];
          last.bulge = 0;  // the closing segment is straight
          drawSegment(ws, last, e.vertices[0]);
        }
        break;
      }
      case BlockEntity::Kind::Insert: {
        const int layer = s.layer;
        drawBlock(ws, e.text, v[0], v[1], v[4], v[2], v[3]);
        SetLayer(ws, layer);
        break;
      }
      case BlockEntity::Kind::Message:
        break;
    }
  }
}

void drawBlock(OutputContext& ws, const std::string& name, Real x, Real y, Real angle, Real xscale, Real yscale) {
  DrawingState& s = ws.drawing;
  if (s.blockLevel >= 4) {
    // Deeper nesting is refused: the message, and this block is left out.
    ShowError(ws, "error blockno." + fmtInt(s.blockLevel + 1));
    return;
  }
  const BlockTransform saved = s.block;
  ++s.blockLevel;
  const Point p = mapPoint(saved, x, y);
  s.block = {p.x, p.y, saved.rotation + angle, saved.xscale * xscale, saved.yscale * yscale};
  std::optional<std::string> bytes;
  if (safeBlockName(name)) bytes = readWholeFile(BlockFilePath(ws, name), kMaxBlockFileBytes);
  if (!bytes) {
    ShowError(ws, "Invalid temp directory");
    ws.abort = true;
  } else {
    drawEntities(ws, ParseBlockFile(*bytes));
  }
  --s.blockLevel;
  s.block = saved;
}

std::string shortenedName(const std::string& name) {
  if (name.size() <= 120) return name;
  return name.substr(0, 57) + " ... " + name.substr(name.size() - 58);
}

// The output file of devices 1, 2 and 5: batch name or save dialog. Empty on cancel.
std::string chooseDrawingFile(OutputContext& ws, int device, const std::string& defaultName) {
  const std::string ext = extensionFor(device);
  const Spring& sp = ws.spring;
  if (ws.start.batchCad) return withSeparator(sp.dataDir) + sp.fileName + "." + ext;
  SaveFileRequest q;
  q.filter = "*." + ext + "|*." + ext + "|*.*|*.*";
  q.folder = ws.config.cadDir;
  q.defaultName = defaultName.empty() ? sp.fileName : defaultName;
  const std::optional<FileResult> chosen = ws.ui.show(q);
  if (!chosen || chosen->path.empty()) return {};
  std::string name = chosen->path;
  if (!hasExtension(name)) name += "." + ext;
  return name;
}

}  // namespace

DrawingState::DrawingState() {
  // The screen is the drawing layer's own device; the file devices are installed by the program's
  // wiring (cad/devices.h), so this layer knows none of them.
  providers[kCadScreen].create = [](OutputContext&, const std::string&) -> std::unique_ptr<DrawingDevice> {
    return std::make_unique<ScreenDevice>();
  };
}

void SetDeviceProvider(DrawingState& state, int device, DeviceProvider provider) {
  if (device > 0 && device < kCadDeviceCount) state.providers[device] = std::move(provider);
}

std::string DeviceEntry(int device) {
  switch (device) {
    case kCadDxf: return "DXF";
    case kCadIges: return "IGES";
    case kCadScreen: return "Kontrollausgabe auf Bildschirm";
    case kCadPlot: return "Ausgabe auf Laserprinter/Plotter mit PLOTRIX";
    case kCadTab: return "TXT";
    default: return {};
  }
}

void DeviceDialog(OutputContext& ws) {
  DrawingState& s = ws.drawing;
  for (int i = 1; i <= 5; ++i) ws.choiceItems[i] = DeviceEntry(i);
  uint16_t choice = static_cast<uint16_t>(s.device >= 1 && s.device <= 5 ? s.device : kCadScreen);
  SetHelpNumber(ws, 2050);
  ChooseItem(ws, "CAD-Code", 5, choice);
  if (ws.abort) return;
  s.device = choice;
  if (s.providers[choice].choose) s.providers[choice].choose(ws);
}

void Open(OutputContext& ws, int device, const std::string& defaultName) {
  DrawingState& s = ws.drawing;
  if (s.out) {  // an unfinished drawing (its caller stopped on the abort flag) leaves no file
    s.out->discard(ws);
    s.out.reset();
  }
  if (device == kCadAsk) {
    DeviceDialog(ws);
    if (ws.abort) return;
    device = s.device;
  }
  s.ox = s.oy = 0;
  s.kind = 0;
  s.justifyH = s.justifyV = 0;
  s.lineSpacing = 1.0;
  s.lineStyle = 0;
  s.blockLevel = 0;
  s.block = BlockTransform{};
  s.fileName.clear();
  if (device < 1 || device >= kCadDeviceCount || !s.providers[device].create) {
    ShowError(ws, DeviceEntry(device) + " " + oem("nicht verfügbar"));
    ws.abort = true;
    return;
  }
  s.device = device;
  std::string path;
  if (device == kCadDxf || device == kCadIges || device == kCadTab) {
    path = chooseDrawingFile(ws, device, defaultName);
    if (path.empty()) {
      ws.abort = true;
      return;
    }
  } else if (device == kCadPlot) {
    path = tempFolder(ws) + "plotrix.dxf";
  }
  if (!path.empty() && !canCreateFileAt(path, ws.io)) {
    ReportIoError(ws, IoStage::Create, 0);
    return;
  }
  s.fileName = path;
  if (device == kCadScreen) {
    ClearDisplay(ws);
    BusyCursor(ws);
  }
  s.out = s.providers[device].create(ws, path);
  if (!s.out) ws.abort = true;
}

void Window(OutputContext& ws, Real x1, Real y1, Real x2, Real y2) {
  DrawingState& s = ws.drawing;
  s.x1 = x1;
  s.y1 = y1;
  s.x2 = x2;
  s.y2 = y2;
  s.width = x2 - x1;
  s.height = y2 - y1;
  if (!s.out) return;
  s.out->window(ws, x1, y1, x2, y2);
  s.out->layer(ws, s.layer, s.layerName);  // the current layer carries over from the last drawing
  if ((s.device == kCadScreen || s.device == kCadPlot) && ws.config.printBorder) {
    SetLayer(ws, 19);
    Rectangle(ws, x1, y1, x2, y2);
  }
  if (s.device == kCadScreen) {
    TextStyle(ws, 2, 0, 0.006L * s.height, 0.0045L * s.width);
    SetLayer(ws, 30);
    Text(ws, FooterText(ws), x1 + 0.005L * s.width, y1 + 0.002L * s.height);
  }
}

void Tables(OutputContext& ws, int kind) {
  if (ws.drawing.out) ws.drawing.out->tables(ws, kind);
}

void BeginEntities(OutputContext& ws) {
  DrawingState& s = ws.drawing;
  if (!s.out) return;
  s.out->beginEntities(ws);
  if (s.device != kCadScreen && s.device != kCadPlot) return;
  for (const char* logo : {"LOGO_2", "LOGO_3"}) {
    if (!fileExists(BlockFilePath(ws, logo))) continue;
    const Real f = std::string_view(logo) == "LOGO_2" ? 0.01L : 0.96L;
    Insert(ws, logo, s.x1 + 0.91L * s.width, s.y1 + f * s.height, 0, s.width / 480, s.height / 360);
  }
}

void EndEntities(OutputContext& ws) {
  if (ws.drawing.out) ws.drawing.out->endEntities(ws);
}

void Finish(OutputContext& ws) {
  DrawingState& s = ws.drawing;
  if (!s.out) return;
  std::unique_ptr<DrawingDevice> out = std::move(s.out);
  if (ws.abort) {
    out->discard(ws);
  } else {
    out->finish(ws);
  }
}

// --- primitives.

void Line(OutputContext& ws, Real x1, Real y1, Real x2, Real y2) {
  DrawingState& s = ws.drawing;
  if (!s.out) return;
  x1 += s.ox, y1 += s.oy, x2 += s.ox, y2 += s.oy;
  if (!finite({x1, y1, x2, y2})) return;
  s.out->line(ws, x1, y1, x2, y2);
}

void Circle(OutputContext& ws, Real x, Real y, Real r) {
  DrawingState& s = ws.drawing;
  if (!s.out) return;
  x += s.ox, y += s.oy;
  if (!finite({x, y, r})) return;
  s.out->circle(ws, x, y, r);
}

void Arc(OutputContext& ws, Real x, Real y, Real start, Real end, Real r) {
  DrawingState& s = ws.drawing;
  if (!s.out || r == 0) return;
  x += s.ox, y += s.oy;
  if (!finite({x, y, start, end, r})) return;
  s.out->arc(ws, x, y, start, end, r);
}

void Solid(OutputContext& ws, Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  DrawingState& s = ws.drawing;
  if (!s.out) return;
  x1 += s.ox, x2 += s.ox, x3 += s.ox, x4 += s.ox;
  y1 += s.oy, y2 += s.oy, y3 += s.oy, y4 += s.oy;
  if (!finite({x1, y1, x2, y2, x3, y3, x4, y4})) return;
  s.out->solid(ws, x1, y1, x2, y2, x3, y3, x4, y4);
}

void MoveTo(OutputContext& ws, Real x, Real y) {
  ws.drawing.cx = x;
  ws.drawing.cy = y;
}

void LineTo(OutputContext& ws, Real x, Real y) {
  Line(ws, ws.drawing.cx, ws.drawing.cy, x, y);
  MoveTo(ws, x, y);
}

void Rectangle(OutputContext& ws, Real x1, Real y1, Real x2, Real y2) {
  MoveTo(ws, x1, y1);
  LineTo(ws, x1, y2);
  LineTo(ws, x2, y2);
  LineTo(ws, x2, y1);
  LineTo(ws, x1, y1);
}

void Text(OutputContext& ws, const std::string& text, Real x, Real y) {
  DrawingState& s = ws.drawing;
  if (!s.out || text.empty()) return;
  const Real L = static_cast<Real>(text.size());
  const Real h = s.text.height, w = s.text.widthFactor;
  if (s.justifyH == 1) x -= 0.5L * L * h * w;
  if (s.justifyH == 2) x -= L * h * w;
  if (s.justifyV == 1) y -= 0.5L * h;
  if (s.justifyV == 2) y -= h;
  x += s.ox, y += s.oy;
  if (!finite({x, y})) return;
  s.out->text(ws, text, x, y, s.text);
}

void TextLine(OutputContext& ws, const std::string& text) {
  DrawingState& s = ws.drawing;
  Text(ws, text, s.cx, s.cy);
  s.cy -= 1.6L * s.text.height * s.lineSpacing;
}

// --- state.

void SetTextJustify(OutputContext& ws, int horizontal, int vertical) {
  ws.drawing.justifyH = horizontal;
  ws.drawing.justifyV = vertical;
}

void SetLineSpacing(OutputContext& ws, Real factor) { ws.drawing.lineSpacing = factor; }

void SetOrigin(OutputContext& ws, Real ox, Real oy) {
  ws.drawing.ox = ox;
  ws.drawing.oy = oy;
}

void TextStyle(OutputContext& ws, int font, Real angle, Real height, Real width) {
  DrawingState& s = ws.drawing;
  s.text.height = height;
  const Real ratio = (width == 0 || height == 0) ? 0.7L : width / height;
  s.text.widthFactor = ws.config.cadTextWidth * ratio;
  s.text.angle = angle;
  s.text.slant = ws.config.cadTextAngle;
  if (s.out) s.out->textStyle(ws, font, angle, height, width);
}

void SetLayer(OutputContext& ws, int n) {
  DrawingState& s = ws.drawing;
  n = NormalizeLayer(n);
  s.layer = n;
  s.layerName = LayerName(ws, n);
  if (s.out) s.out->layer(ws, n, s.layerName);
}

void SetLineStyle(OutputContext& ws, int n) {
  ws.drawing.lineStyle = n;
  if (ws.drawing.out) ws.drawing.out->lineStyle(ws, n);
}

void Insert(OutputContext& ws, const std::string& name, Real x, Real y, Real angle, Real xscale, Real yscale) {
  DrawingState& s = ws.drawing;
  if (!s.out) return;
  if (s.device != kCadScreen) {
    if (finite({x, y, angle, xscale, yscale})) s.out->insert(ws, name, x, y, angle, xscale, yscale);
    return;
  }
  // The outermost Insert starts from the identity transform.
  s.blockLevel = 0;
  s.block = BlockTransform{};
  s.blockEntities = 0;
  drawBlock(ws, name, x, y, angle, xscale, yscale);
}

// --- helpers.

int NormalizeLayer(int n) {
  if (n > 31) return n % 16 + 16;
  return n < 0 ? 0 : n;
}

std::string LayerName(const OutputContext& ws, int n) {
  if (n >= 1 && n <= 5) {
    const std::string& name = ws.config.layerName[static_cast<size_t>(n)];
    return name.empty() ? fmtInt(n) : name;
  }
  return fmtInt(n);
}

int LayerColor(const OutputContext& ws, int n) {
  static constexpr int kDefault[6] = {1, 2, 2, 2, 3, 1};
  if (n == 0) return 1;
  if ((n >= 1 && n <= 5) || (n >= 16 && n <= 31)) {
    const int c = ws.config.layerColor[static_cast<size_t>(n)];
    if (c >= 1) return c;
    return n <= 5 ? kDefault[n] : n - 15;
  }
  return n % 16 + 1;
}

int LayerWidth(const OutputContext& ws, int n) {
  static constexpr int kDefault[6] = {1, 1, 1, 1, 2, 3};
  if (n >= 1 && n <= 5) {
    const int w = ws.config.lineThickness[static_cast<size_t>(n)];
    return w >= 1 ? w : kDefault[n];
  }
  if (n >= 16 && n <= 31) {
    const int w = ws.config.lineThickness[static_cast<size_t>(n)];
    return w >= 2 && w <= 50 ? w : 1;
  }
  return 1;
}

std::string FooterText(const OutputContext& ws) {
  std::string t = todayText(ws.config.num) + " " + timeText() + " - " + "ORVAN " + kAppTitle + " V" + kVersion + " - ";
  const Spring& sp = ws.spring;
  if (!sp.fileName.empty()) {
    t += shortenedName(oem(withSeparator(sp.dataDir) + sp.fileName + "." + sp.fileExt));
  }
  return t;
}

std::string BlockFilePath(const OutputContext& ws, const std::string& name) {
  return tempFolder(ws) + "$" + name + ".dx$";
}

bool ScreenFileExists(OutputContext& ws, const std::string& path) {
  if (fileExists(path)) return true;
  ShowError(ws, oem(path) + " " + "nicht gefunden" + " !");
  ws.abort = true;
  return false;
}

void DeleteBlockFiles(OutputContext& ws) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::directory_iterator it(tempFolder(ws), ec);
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

}  // namespace velk
