// The /SVG pictures of the shipped examples as an independent viewer shows them: every text of
// every view lies inside the picture with its top, the texts of the Quick 2 results table stay
// between their grid lines and apart from each other, and rsvg-convert draws nothing outside.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>

#include "commands/springfile.h"
#include "draw/drawing.h"
#include "draw/svgcanvas.h"
#include "graphics/output.h"
#include "graphics/springdrawing.h"
#include "graphics/views.h"
#include "shell/startup.h"
#include "support/fixture.h"
#include "support/run_process.h"

namespace velk::test {
namespace {

const std::string kExamples = std::string(VELK_SOURCE_DATA_DIR) + "/examples/";

// The taller of the faces a viewer may take for Arial: DejaVu Sans' ascent and descent, and the
// height of its capitals, in em.
constexpr double kAscentEm = 0.928, kDescentEm = 0.236, kCapEm = 0.73;

std::string attr(const std::string& tag, const std::string& name) {
  const std::size_t k = tag.find(" " + name + "=\"");
  if (k == std::string::npos) return {};
  const std::size_t start = k + name.size() + 3;
  return tag.substr(start, tag.find('"', start) - start);
}

double number(const std::string& s) { return s.empty() ? 0 : std::stod(s); }

// Characters of escaped UTF-8 content.
int characters(const std::string& content) {
  int n = 0;
  for (std::size_t i = 0; i < content.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(content[i]);
    if (c == '&') i = content.find(';', i);
    if ((c & 0xC0) != 0x80) ++n;
  }
  return n;
}

// A text of the document with its cell as the document states it: the reference point, the
// direction, the baseline and the width along the direction.
struct SvgText {
  std::string content;
  double x = 0, y = 0, angle = 0, stretch = 1, baseline = 0, em = 0, width = 0;
  // Corner of the box at distance u along the text and v below its reference point.
  std::pair<double, double> at(double u, double v) const {
    const double a = angle * std::acos(-1.0) / 180;
    return {x + u * std::cos(a) + v * std::sin(a), y - u * std::sin(a) + v * std::cos(a)};
  }
  double top() const { return baseline - kAscentEm * em; }
  double bottom() const { return baseline + kDescentEm * em; }
};

struct SvgLine {
  double x1, y1, x2, y2;
};

struct Picture {
  int width = 0, height = 0;
  std::vector<SvgText> texts;
  std::vector<SvgLine> lines;
};

Picture parse(const std::string& svg) {
  Picture p;
  const std::size_t root = svg.find("<svg ");
  const std::string head = svg.substr(root, svg.find('>', root) - root);
  p.width = std::stoi(attr(head, "width"));
  p.height = std::stoi(attr(head, "height"));
  for (std::size_t k = svg.find("<line "); k != std::string::npos; k = svg.find("<line ", k + 1)) {
    const std::string tag = svg.substr(k, svg.find('>', k) - k);
    p.lines.push_back(
        {number(attr(tag, "x1")), number(attr(tag, "y1")), number(attr(tag, "x2")), number(attr(tag, "y2"))});
  }
  for (std::size_t k = svg.find("<text "); k != std::string::npos; k = svg.find("<text ", k + 1)) {
    const std::size_t close = svg.find('>', k);
    const std::string tag = svg.substr(k, close - k);
    SvgText t;
    t.content = svg.substr(close + 1, svg.find("</text>", close) - close - 1);
    std::istringstream tr(attr(tag, "transform"));
    std::string op;
    while (std::getline(tr, op, ')')) {
      op.erase(0, op.find_first_not_of(' '));
      const std::size_t paren = op.find('(');
      std::istringstream args(op.substr(paren + 1));
      const std::string name = op.substr(0, paren);
      double a = 0, b = 0;
      args >> a >> b;
      if (name == "translate") t.x = a, t.y = b;
      if (name == "rotate") t.angle = -a;
      if (name == "scale") t.stretch = a;
    }
    t.baseline = number(attr(tag, "y"));
    t.em = number(attr(tag, "font-size"));
    t.width = characters(t.content) * kSvgAverageCharWidth * t.em * t.stretch;
    p.texts.push_back(t);
  }
  return p;
}

// What the picture draws outside itself: the document on a transparent page m pixels larger on
// every side, clipped to that frame less a tolerance t along the picture's edge (antialiasing,
// the half width of a border line). Nothing drawn outside leaves the page empty.
std::string outsideOnly(const std::string& svg, const Picture& p, int m, int t) {
  const std::string w = std::to_string(p.width), h = std::to_string(p.height);
  const std::string size = "width=\"" + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\"";
  const std::size_t k = svg.find(size), open = svg.find('>', k), close = svg.rfind("</svg>");
  if (k == std::string::npos || close == std::string::npos) return {};
  const auto n = [](int v) { return std::to_string(v); };
  const std::string frame = "M" + n(-m) + "," + n(-m) + " H" + n(p.width + m) + " V" + n(p.height + m) + " H" + n(-m) +
                            " Z M" + n(-t) + "," + n(-t) + " V" + n(p.height + t) + " H" + n(p.width + t) + " V" +
                            n(-t) + " Z";
  return svg.substr(0, k) + "width=\"" + n(p.width + 2 * m) + "\" height=\"" + n(p.height + 2 * m) + "\" viewBox=\"" +
         n(-m) + " " + n(-m) + " " + n(p.width + 2 * m) + " " + n(p.height + 2 * m) + "\"" +
         svg.substr(k + size.size(), open + 1 - k - size.size()) +
         "\n<defs><clipPath id=\"outside\"><path clip-rule=\"evenodd\" d=\"" + frame +
         "\"/></clipPath></defs>\n<g clip-path=\"url(#outside)\">" + svg.substr(open + 1, close - open - 1) +
         "</g>\n</svg>\n";
}

// Reads PNG files with the standard library's zlib and prints, per file, the rows that hold any
// drawn pixel. An image is empty exactly when its filtered rows are all zero, whatever the filters.
constexpr const char* kPngCheck = R"(
import struct, sys, zlib
for name in sys.argv[1:]:
    data = open(name, 'rb').read()
    pos, idat, w, h, bpp = 8, b'', 0, 0, 0
    while pos < len(data):
        n, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        if kind == b'IHDR':
            w, h, depth, ctype = struct.unpack('>IIBB', body[:10])
            bpp = {6: 4, 2: 3, 4: 2, 0: 1}[ctype] * depth // 8
        elif kind == b'IDAT':
            idat += body
        pos += n + 12
    raw, stride = zlib.decompress(idat), w * bpp + 1
    print(name.rsplit('/', 1)[-1], sum(1 for y in range(h) if any(raw[y * stride + 1:(y + 1) * stride])))
)";

class SvgPicturesTest : public SessionTest {
 protected:
  // The /SVG:view picture of a shipped example, drawn as the batch job draws it (the input read,
  // its bare name kept, the view or drawing on the screen device in batch mode, the list
  // rendered) but written nowhere.
  std::string picture(const std::string& example, int view) {
    readInputFile(ws, kExamples + example + ".vlk");
    EXPECT_FALSE(ws.abort) << example;
    ws.spring.fileName = bareName(example);
    ws.spring.dataDir.clear();
    ws.start.batchCad = true;
    ws.abort = false;
    if (view <= 6)
      ShowView(ws, *ViewKindFromNumber(view), DeviceCode::Screen);
    else
      DrawSpring(ws, view == 7 ? SpringView::Front : SpringView::Side, DeviceCode::Screen, false);
    ws.start.batchCad = false;
    EXPECT_FALSE(ws.abort) << example << " " << view;
    const std::string svg = RenderDisplayListSvg(ws);
    EXPECT_FALSE(ws.abort) << example << " " << view;
    return svg;
  }
  static std::vector<std::string> examples() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(kExamples))
      if (e.path().extension() == ".vlk") names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(SvgPicturesTest, EveryTextOfEveryViewLiesInsideThePicture) {
  const std::vector<std::string> names = examples();
  ASSERT_GE(names.size(), 5u);
  int texts = 0;
  for (const std::string& example : names)
    for (int view = 1; view <= 8; ++view) {
      const Picture p = parse(picture(example, view));
      const std::string where = example + " view " + std::to_string(view);
      for (const SvgText& t : p.texts) {
        // A label the view itself places off its sheet (Goodman's sigma2 of a stress far above
        // the diagram) is no text the picture cuts off.
        if (t.x < 0 || t.x > p.width || t.y < 0 || t.y > p.height) continue;
        ++texts;
        EXPECT_GT(t.em, 0) << where << ": " << t.content;
        for (const double u : {0.0, t.width})
          for (const double v : {t.top(), t.bottom()}) {
            const auto [x, y] = t.at(u, v);
            EXPECT_TRUE(x >= -0.5 && x <= p.width + 0.5 && y >= -0.5 && y <= p.height + 0.5)
                << where << ": [" << t.content << "] reaches " << x << ", " << y;
          }
      }
    }
  EXPECT_GT(texts, 500);
}

// Quick 2's results table: no grid line runs through a text, and the texts of one row keep
// apart (they used to run into each other as "sig.q1:153.3al.1:360").
TEST_F(SvgPicturesTest, QuickTwoTableTextsStayInTheirCells) {
  for (const std::string& example : examples()) {
    const Picture p = parse(picture(example, 4));
    std::map<double, std::vector<const SvgText*>> rows;
    for (const SvgText& t : p.texts)
      if (t.angle == 0) rows[t.y].push_back(&t);
    int tableRows = 0;
    for (auto& [y, row] : rows) {
      std::sort(row.begin(), row.end(), [](auto* a, auto* b) { return a->x < b->x; });
      bool table = false;
      for (const SvgText* t : row)
        if (t->content.find("sig.") != std::string::npos || t->content.find("sigma [") != std::string::npos)
          table = true;
      if (!table) continue;
      ++tableRows;
      for (std::size_t i = 0; i + 1 < row.size(); ++i)
        EXPECT_LE(row[i]->x + row[i]->width, row[i + 1]->x)
            << example << ": [" << row[i]->content << "] runs into [" << row[i + 1]->content << "]";
      for (const SvgText* t : row)
        for (const SvgLine& l : p.lines) {
          if (l.y1 != l.y2 || std::max(l.x1, l.x2) <= t->x || std::min(l.x1, l.x2) >= t->x + t->width) continue;
          EXPECT_FALSE(l.y1 > t->baseline - kCapEm * t->em && l.y1 < t->bottom())
              << example << ": the line at " << l.y1 << " strikes through [" << t->content << "]";
        }
    }
    EXPECT_GE(tableRows, 4) << example;
  }
}

// rsvg-convert (librsvg, the renderer of many desktops and converters) draws the pictures, and
// nothing it draws falls outside them: no title cut off at the top, no value beyond the edge.
TEST_F(SvgPicturesTest, RsvgConvertDrawsNothingOutside) {
  std::string version;
  if (runProcess({"rsvg-convert", "--version"}, &version) != 0) GTEST_SKIP() << "rsvg-convert is not installed";
  const std::string python = pythonWithModules({"zlib"});
  if (python.empty()) GTEST_SKIP() << "no python3 to read the PNG files";
  constexpr int kMargin = 40, kTolerance = 2;
  std::vector<std::string> argv = {python, "-c", kPngCheck};
  std::string want;
  const auto render = [&](const std::string& name, const std::string& svg) {
    const std::string clipped = outsideOnly(svg, parse(svg), kMargin, kTolerance);
    ASSERT_FALSE(clipped.empty()) << name;
    writeFile(dir.file(name + ".svg"), clipped);
    ASSERT_EQ(runProcess({"rsvg-convert", "-o", dir.file(name + ".png"), dir.file(name + ".svg")}), 0) << name;
    argv.push_back(dir.file(name + ".png"));
  };
  for (const std::string& example : examples())
    for (int view = 1; view <= 8; ++view) {
      const std::string name = example + "_" + std::to_string(view);
      render(name, picture(example, view));
      want += name + ".png 0\n";
    }
  // The check sees a text whose top lies above the picture, as the titles' did.
  std::string probe = picture("uhrfeder", 4);
  probe.insert(probe.rfind("</svg>"), "<text x=\"10\" y=\"8\" font-size=\"20\" fill=\"#FFFFFF\">Probe</text>\n");
  render("probe", probe);
  std::string got;
  ASSERT_EQ(runProcess(argv, &got), 0);
  const std::size_t last = got.rfind("probe.png ");
  ASSERT_NE(last, std::string::npos) << got;
  EXPECT_GT(std::stoi(got.substr(last + 10)), 0) << "the probe above the picture was not seen";
  EXPECT_EQ(got.substr(0, last), want);
}

}  // namespace
}  // namespace velk::test
