// DXF writer: number format, section layout with its table quirks, entity groups, and files
// read back by an independent reader (python3-ezdxf).
#include "draw/dxf.h"

#include <clocale>
#include <cmath>
#include <sstream>

#include "config/configfile.h"
#include "graphics/output.h"
#include "support/fixture.h"
#include "support/run_process.h"
#include "support/run_wvelk.h"

namespace velk::test {
namespace {

TEST(DxfNumber, FixedPointWithPointAlways) {
  struct Case {
    Real v;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      {-0.5L, 2, "-0.50"},
      {12, 2, "12.00"},
      {1.5L, 6, "1.500000"},
      {-1e-9L, 6, "0.000000"},
      {-0.0000004L, 6, "0.000000"},
      {2.0L / 3, 3, "0.667"},
      {1e20L, 1, "1000000000.0"},
      {0.125L, 32, "0.12500000000000000000000000000000"},
      {std::numeric_limits<Real>::infinity(), 2, "0.00"},
      {std::nanl(""), 2, "0.00"},
      {-std::numeric_limits<Real>::infinity(), 1, "0.0"},
      {-1e22L, 0, "-1000000000"},
  };
  for (const Case& c : cases) EXPECT_EQ(DxfNumber(c.v, c.decimals), c.text) << static_cast<double>(c.v);
  EXPECT_EQ(DxfNumber(-1e300L, 32).size(), 1 + 10 + 1 + 32u);  // huge values are clamped
  EXPECT_EQ(DxfNumber(1e4000L, 2), "1000000000.00");
}

class DxfTest : public SessionTest {
 protected:
  DxfTest() {
    ws.start.batchCad = true;
    ws.spring.fileName = "feder";
  }
  // Draws through the drawing layer on the DXF device and returns the file.
  std::string drawDxf(DrawingKind kind, const std::function<void()>& body) {
    OpenDrawing(ws, DeviceCode::Dxf);
    EXPECT_FALSE(ws.abort);
    Window(ws.drawing, -10, -5, 150, 110);
    Tables(ws.drawing, kind);
    BeginEntities(ws.drawing, ws.diag);
    body();
    EndEntities(ws.drawing);
    FinishDrawing(ws);
    EXPECT_FALSE(ws.abort);
    return readFile(path());
  }
  std::string path() const { return dir.file("feder.dxf"); }
  static std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < text.size()) {
      size_t end = text.find("\r\n", pos);
      if (end == std::string::npos) end = text.size();
      out.push_back(text.substr(pos, end - pos));
      pos = end + 2;
    }
    return out;
  }
  static int count(const std::vector<std::string>& l, const std::string& code, const std::string& value) {
    int n = 0;
    for (size_t i = 0; i + 1 < l.size(); i += 2) n += l[i] == code && l[i + 1] == value;
    return n;
  }
};

TEST_F(DxfTest, HeaderTablesAndQuirks) {
  ws.config.decimalsDxf = 2;
  ws.config.cadTextFont = "txt8";
  const auto l = lines(drawDxf(DrawingKind::Drawing, [] {}));
  const std::vector<std::string> head(l.begin(), l.begin() + 30);
  EXPECT_EQ(head, (std::vector<std::string>{"  0", "SECTION", "  2", "HEADER",  "  9", "$DWGCODEPAGE", "  3", "dos850",
                                            "  9", "$EXTMIN", " 10", "-10.00",  " 20", "-5.00",        "  9", "$EXTMAX",
                                            " 10", "150.00",  " 20", "110.00",  "  9", "$LIMMIN",      " 10", "-10.00",
                                            " 20", "-5.00",   "  9", "$LIMMAX", " 10", "150.00"}));
  EXPECT_EQ(count(l, "  9", "$LTSCALE"), 1);
  EXPECT_EQ(count(l, " 40", "15"), 1);
  EXPECT_EQ(count(l, "  0", "LAYER"), 6);
  EXPECT_EQ(count(l, " 70", "24"), 1);
  EXPECT_EQ(count(l, " 70", "6"), 1);  // the LTYPE table's fixed value for drawings
  EXPECT_EQ(count(l, " 49", "-0.25"), 2);
  EXPECT_EQ(count(l, "  3", "TXT8"), 1);
  // The STYLE table closes with "  4", an empty value, then "0" and "ENDTAB".
  const auto style = std::find(l.begin(), l.end(), "TXT8");
  ASSERT_NE(style, l.end());
  EXPECT_EQ(std::vector<std::string>(style + 1, style + 7),
            (std::vector<std::string>{"  4", "", "0", "ENDTAB", "  0", "ENDSEC"}));
  EXPECT_EQ(std::vector<std::string>(l.end() - 8, l.end()),
            (std::vector<std::string>{"  0", "SECTION", "  2", "ENTITIES", "  0", "ENDSEC", "  0", "EOF"}));
}

TEST_F(DxfTest, DiagramTablesListThePens) {
  ws.config.layerMonochrome = true;
  const auto l = lines(drawDxf(DrawingKind::Diagram, [] {}));
  EXPECT_EQ(count(l, "  0", "LAYER"), 22);
  EXPECT_EQ(count(l, " 70", "24"), 1);
  EXPECT_EQ(count(l, " 70", "23"), 1);
  EXPECT_EQ(count(l, " 62", "1"), 22);  // monochrome layers
  EXPECT_EQ(count(l, "  2", "31"), 1);
}

TEST_F(DxfTest, EntitiesUnderAGermanLocaleAndCommaSetting) {
  ws.config.num.decimalComma = 2;
  ws.config.num.cadTextMode = 3;  // transcribed
  ws.config.decimalsDxf = 99;     // invalid: 6
  const std::string old = std::setlocale(LC_ALL, nullptr);
  ASSERT_TRUE(std::setlocale(LC_ALL, "de_DE.UTF-8"));
  const std::string dxf = drawDxf(DrawingKind::Drawing, [this] {
    SetLayer(ws.drawing, 2);
    Arc(ws.drawing, 1, 2, 0, 360, 3);
    Arc(ws.drawing, 1, 2, 10, 10, 3);
    Arc(ws.drawing, 1, 2, 360, 1e-6L, 3);
    Arc(ws.drawing, 1, 2, 10, 20, 0.5L);
    TextStyle(ws.drawing, 2, 12.5L, 2.5L, 0);
    Text(ws.drawing, oem("Länge"), 1, 1);
    Line(ws.drawing, 0, 0, std::numeric_limits<Real>::quiet_NaN(), 1);
  });
  std::setlocale(LC_ALL, old.c_str());
  const auto l = lines(dxf);
  EXPECT_EQ(count(l, "  0", "CIRCLE"), 3);
  EXPECT_EQ(count(l, "  0", "ARC"), 1);
  EXPECT_EQ(count(l, "  0", "LINE"), 0);
  EXPECT_EQ(count(l, "  1", "Laenge"), 1);
  EXPECT_EQ(count(l, " 41", "0.7"), 1);
  EXPECT_EQ(count(l, " 50", "12.5"), 1);
  EXPECT_EQ(count(l, " 40", "0.500000"), 1);
  EXPECT_EQ(dxf.find(','), std::string::npos);
  EXPECT_EQ(dxf.find("nan"), std::string::npos);
  EXPECT_EQ(dxf.find("inf"), std::string::npos);
  const std::string arc =
      "  0\r\nARC\r\n  8\r\n2\r\n 10\r\n1.000000\r\n 20\r\n2.000000\r\n 40\r\n0.500000\r\n 50\r\n"
      "10.000000\r\n 51\r\n20.000000\r\n";
  EXPECT_NE(dxf.find(arc), std::string::npos);
}

// Dumps what ezdxf reads: layers, then one line per entity.
constexpr const char* kEzdxfDump = R"(
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
f = lambda v: '%.6g' % v
print('layers', ' '.join(sorted(l.dxf.name for l in doc.layers if l.dxf.name != 'Defpoints')))  # ezdxf adds Defpoints itself
print('ltypes', ' '.join(sorted(t.dxf.name.upper() for t in doc.linetypes)))
for e in doc.modelspace():
    t = e.dxftype(); d = e.dxf
    if t == 'LINE': v = [d.start.x, d.start.y, d.end.x, d.end.y]
    elif t == 'CIRCLE': v = [d.center.x, d.center.y, d.radius]
    elif t == 'ARC': v = [d.center.x, d.center.y, d.radius, d.start_angle, d.end_angle]
    elif t == 'SOLID': v = [p for i in range(4) for p in (d.get('vtx%d' % i)[0], d.get('vtx%d' % i)[1])]
    elif t == 'TEXT': v = [d.insert.x, d.insert.y, d.height, d.width, d.rotation, d.oblique]
    elif t == 'INSERT': v = [d.insert.x, d.insert.y, d.xscale, d.yscale, d.rotation]
    else: v = []
    extra = (' [' + d.text + ']') if t == 'TEXT' else ((' ' + d.name) if t == 'INSERT' else '')
    print(t, d.layer, ' '.join(f(x) for x in v) + extra)
auditor = doc.audit()
print('audit', len(auditor.errors), *[str(e.message) for e in auditor.errors])
)";

TEST_F(DxfTest, EzdxfReadsWhatWasDrawn) {
  const std::string python = pythonWithModules({"ezdxf"});
  ASSERT_FALSE(python.empty()) << "python3 with ezdxf is required (scripts/setup.sh)";
  ws.config.layerName[4] = "KONTUR";
  ws.config.cadTextAngle = 15;
  ws.config.num.cadTextMode = 2;  // ANSI
  drawDxf(DrawingKind::Diagram, [this] {
    SetOrigin(ws.drawing, 10, 20);
    SetLayer(ws.drawing, 4);
    Line(ws.drawing, 0, 0, 100, 50.25L);
    SetLayer(ws.drawing, 17);
    Circle(ws.drawing, 5, 5, 2.5L);
    Arc(ws.drawing, 0, 0, 30, 120, 10);
    Solid(ws.drawing, 0, 0, 1, 0, 0, 1, 1, 1);
    SetLayer(ws.drawing, 0);
    TextStyle(ws.drawing, 2, 90, 5, 4);
    Text(ws.drawing, oem("Federlänge ; x"), -10, -20);
    Insert(ws.drawing, ws.diag, "LOGO_2", 1, 2, 0, 1, 1);  // the DXF file device writes no INSERT
  });
  std::string out;
  ASSERT_EQ(runProcess({python, "-c", kEzdxfDump, path()}, &out), 0) << out;
  EXPECT_EQ(out,
            "layers 0 1 16 17 18 19 2 20 21 22 23 24 25 26 27 28 29 3 30 31 5 KONTUR\n"
            "ltypes BYBLOCK BYLAYER CONTINUOUS DASHDOT DASHED\n"
            "LINE KONTUR 10 20 110 70.25\n"
            "CIRCLE 17 15 25 2.5\n"
            "ARC 17 10 20 10 30 120\n"
            "SOLID 17 10 20 11 20 10 21 11 21\n"
            "TEXT 0 0 0 5 0.8 90 15 [Federl\xC3\xA4nge ; x]\n"
            "audit 0\n");
}

// Degree signs and umlauts read back as such for every text type: the header names the code page.
TEST_F(DxfTest, EzdxfDecodesDegreeAndUmlautForEveryTextType) {
  const std::string python = pythonWithModules({"ezdxf"});
  ASSERT_FALSE(python.empty()) << "python3 with ezdxf is required (scripts/setup.sh)";
  struct Case {
    int mode;
    const char* codepage;
    const char* text;  // UTF-8, as ezdxf gives it
  };
  const Case cases[] = {
      {1, "dos850", "alpha1= 360 \\xb0 Federl\\xfcnge"},
      {2, "ANSI_1252", "alpha1= 360 \\xb0 Federl\\xfcnge"},
  };
  for (const Case& c : cases) {
    ws.config.num.cadTextMode = c.mode;
    drawDxf(DrawingKind::Drawing, [this] {
      SetLayer(ws.drawing, 0);
      TextStyle(ws.drawing, 2, 0, 5, 4);
      Text(ws.drawing, oem("alpha1= 360 ° Federlünge"), 0, 0);
    });
    std::string out;
    ASSERT_EQ(runProcess({python, "-c",
                          // ezdxf maps only the ANSI_* names to codecs and takes any other name for
                          // 1252; the DOS names are AutoCAD's for the IBM code pages, so "dosNNN" is
                          // handed over as cpNNN.
                          "import io, sys, ezdxf\n"
                          "raw = open(sys.argv[1], 'rb').read()\n"
                          "name = raw.split(b'$DWGCODEPAGE')[1].split()[1].decode()\n"
                          "enc = 'cp' + name[3:] if name.lower().startswith('dos') else 'cp' + name.split('_')[1]\n"
                          "doc = ezdxf.read(io.StringIO(raw.decode(enc).replace('\\r\\n', '\\n')))\n"
                          "print(name)\n"
                          "print(ascii([e.dxf.text for e in doc.modelspace() if e.dxftype() == 'TEXT']))\n",
                          path()},
                         &out),
              0)
        << out;
    EXPECT_EQ(out, std::string(c.codepage) + "\n['" + c.text + "']\n") << c.mode;
  }
  // The transcribed type writes plain ASCII under the 1252 name.
  ws.config.num.cadTextMode = 3;
  const std::string file = drawDxf(DrawingKind::Drawing, [this] {
    SetLayer(ws.drawing, 0);
    TextStyle(ws.drawing, 2, 0, 5, 4);
    Text(ws.drawing, oem("360 ° Federlünge"), 0, 0);
  });
  EXPECT_NE(file.find("$DWGCODEPAGE\r\n  3\r\nANSI_1252\r\n"), std::string::npos);
  for (unsigned char ch : file) EXPECT_LT(ch, 128u);
}

// A batch DXF job with a new configuration (no velk.cfg yet) writes its texts as ANSI, which
// ezdxf reads with no help: every degree sign of quick view 1 reads as "°". A stored
// configuration keeps its text type, OEM included.
TEST_F(DxfTest, NewConfigurationWritesTextsEzdxfReadsWithDegreeSigns) {
  const std::string python = pythonWithModules({"ezdxf"});
  ASSERT_FALSE(python.empty()) << "python3 with ezdxf is required (scripts/setup.sh)";
  std::filesystem::create_directories(dir.file("work"));
  std::filesystem::copy_file(std::string(VELK_SOURCE_DATA_DIR) + "/examples/uhrfeder.vlk", dir.file("work/uhr.vlk"));
  const std::string config = "VELK_CONFIG_DIR=" + ws.start.configDir;
  struct Case {
    int stored;  // 0: no configuration file
    const char* codepage;
    const char* degree;  // the degree sign as ezdxf decodes it
  };
  const Case cases[] = {{0, "ANSI_1252", "\\xb0"}, {1, "dos850", "\\xf8"}, {2, "ANSI_1252", "\\xb0"}};
  for (const Case& c : cases) {
    std::filesystem::remove_all(ws.start.configDir);
    if (c.stored != 0) {
      std::filesystem::create_directories(ws.start.configDir);
      ws.config.num.cadTextMode = c.stored;
      writeFile(ws.start.configDir + "velk.cfg", configurationFileBytes(ws));
    }
    ProcessResult r = runWvelk({"uhr.vlk", "/CAD1:1"}, dir.file("work"), {config});
    ASSERT_EQ(r.exitCode, 0) << c.stored << r.err;
    std::string out;
    ASSERT_EQ(runProcess({python, "-c",
                          "import sys, ezdxf\n"
                          "doc = ezdxf.readfile(sys.argv[1])\n"
                          "print(doc.header['$DWGCODEPAGE'])\n"
                          "texts = [e.dxf.text for e in doc.modelspace() if e.dxftype() == 'TEXT']\n"
                          "print(len(texts), sum('\\xb0' in t for t in texts), sum('\\xf8' in t for t in texts))\n"
                          "print(ascii(next(t for t in texts if '\\xb0' in t or '\\xf8' in t)))\n",
                          dir.file("work/uhr.dxf")},
                         &out),
              0)
        << out;
    std::istringstream lines(out);
    std::string codepage, texts, degrees, wrong, sample;
    lines >> codepage >> texts >> degrees >> wrong >> std::ws;
    std::getline(lines, sample);
    EXPECT_EQ(codepage, c.codepage) << c.stored;
    EXPECT_NE(sample.find(c.degree), std::string::npos) << c.stored << " " << sample;
    if (c.stored == 1) continue;  // ezdxf takes dos850 for 1252: every degree sign reads "ø"
    EXPECT_GT(std::stoi(degrees), 0) << out;
    EXPECT_EQ(wrong, "0") << out;
  }
}

TEST_F(DxfTest, EzdxfReadsAManyEntityDrawing) {
  const std::string python = pythonWithModules({"ezdxf"});
  ASSERT_FALSE(python.empty());
  drawDxf(DrawingKind::Drawing, [this] {
    for (int i = 0; i < 200; ++i) {
      SetLayer(ws.drawing, i % 6);
      Arc(ws.drawing, 0, 0, i * 7.0L, i * 7.0L + 5, 1 + i * 0.1L);
      Line(ws.drawing, i, 0, i + 0.5L, 1);
    }
  });
  std::string out;
  ASSERT_EQ(runProcess({python, "-c", kEzdxfDump, path()}, &out), 0);
  std::istringstream in(out);
  std::string line;
  int arcs = 0, lines = 0;
  while (std::getline(in, line)) {
    arcs += line.rfind("ARC ", 0) == 0;
    lines += line.rfind("LINE ", 0) == 0;
  }
  EXPECT_NE(out.find("audit 0\n"), std::string::npos) << out.substr(out.rfind("audit"));
  EXPECT_EQ(arcs, 200);
  EXPECT_EQ(lines, 200);
}

}  // namespace
}  // namespace velk::test
