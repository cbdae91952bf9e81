// IGES writer: Hollerith strings, parameter splitting, colours, the exact records of a small
// file, and a structural checker applied to the views and spring drawings on device 2.
#include "draw/iges.h"

#include <clocale>
#include <cmath>
#include <map>

#include "calc/calc_fixture.h"
#include "graphics/output.h"
#include "graphics/springdrawing.h"
#include "graphics/views.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

// ---- an independent reader of the IGES record structure ----

struct IgesEntity {
  int type = 0;
  int form = 0;
  int lineFont = 0;
  int color = 0;
  int pLines = 0;
  std::vector<std::string> params;  // strings without their count, numbers as written
};

struct IgesCheck {
  std::vector<std::string> problems;
  std::vector<std::string> global;  // the 24 global parameters
  std::vector<IgesEntity> entities;
  std::map<char, int> lines;
  std::string ok() const {
    std::string all;
    for (size_t i = 0; i < problems.size() && i < 10; ++i) all += problems[i] + "\n";
    return all;
  }
};

bool isNumber(const std::string& t) {
  size_t i = t[0] == '-' ? 1 : 0;
  size_t digits = 0;
  while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && t[i] == 'D') {
    ++i;
    if (i < t.size() && t[i] == '-') ++i;
    const size_t e = i;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
    if (i == e) return false;
  }
  return i == t.size();
}

// Free-format parameters of a section: blanks between parameters are ignored, a Hollerith string
// runs on for its count of characters across records; every parameter ends with "," or ";".
std::vector<std::string> parseParams(const std::string& data, std::vector<std::string>& problems,
                                     const std::string& where) {
  std::vector<std::string> out;
  size_t i = 0;
  bool ended = false;
  while (i < data.size() && !ended) {
    while (i < data.size() && data[i] == ' ') ++i;
    if (i >= data.size()) break;
    std::string token;
    size_t j = i;
    while (j < data.size() && std::isdigit(static_cast<unsigned char>(data[j]))) ++j;
    if (j > i && j < data.size() && data[j] == 'H') {
      const size_t n = std::stoul(data.substr(i, j - i));
      if (j + 1 + n > data.size()) {
        problems.push_back(where + ": Hollerith string runs past the data");
        return out;
      }
      token = "H:" + data.substr(j + 1, n);
      i = j + 1 + n;
      while (i < data.size() && data[i] == ' ') ++i;
    } else {
      while (i < data.size() && data[i] != ',' && data[i] != ';' && data[i] != ' ') token += data[i++];
      while (i < data.size() && data[i] == ' ') ++i;
      if (!token.empty() && !isNumber(token)) problems.push_back(where + ": bad number [" + token + "]");
    }
    if (i >= data.size() || (data[i] != ',' && data[i] != ';')) {
      problems.push_back(where + ": parameter not followed by a delimiter after [" + token + "]");
      return out;
    }
    ended = data[i] == ';';
    out.push_back(token);
    ++i;
  }
  if (!ended) problems.push_back(where + ": no record delimiter");
  for (; i < data.size(); ++i)
    if (data[i] != ' ') {
      problems.push_back(where + ": data after the record delimiter");
      break;
    }
  return out;
}

int field(const std::string& rec, int n) {  // D field n (1..9) of a record
  const std::string f = rec.substr(static_cast<size_t>(8 * (n - 1)), 8);
  if (f.find_first_not_of(' ') == std::string::npos) return 0;
  if (f.back() == ' ' || f.find_first_not_of(" 0123456789") != std::string::npos) return -1;  // right-aligned
  return std::stoi(f);
}

IgesCheck checkIges(const std::string& file) {
  IgesCheck c;
  auto& p = c.problems;
  if (file.size() < 2 || file.compare(file.size() - 2, 2, "\r\n") != 0) p.push_back("file does not end with CR LF");
  std::vector<std::string> recs;
  for (size_t pos = 0; pos < file.size();) {
    size_t end = file.find("\r\n", pos);
    if (end == std::string::npos) end = file.size();
    recs.push_back(file.substr(pos, end - pos));
    pos = end + 2;
  }
  std::map<char, std::vector<std::string>> sec;
  const std::string order = "SGDPT";
  size_t last = 0;
  for (size_t k = 0; k < recs.size(); ++k) {
    const std::string& r = recs[k];
    const std::string at = "record " + std::to_string(k + 1);
    if (r.size() != 80) {
      p.push_back(at + ": " + std::to_string(r.size()) + " columns");
      continue;
    }
    for (char ch : r)
      if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) p.push_back(at + ": control character");
    const size_t s = order.find(r[72]);
    if (s == std::string::npos || s < last) {
      p.push_back(at + ": section letter " + r.substr(72, 1) + " out of order");
      continue;
    }
    last = s;
    const std::string seq = r.substr(73);
    if (seq.find_first_not_of("0123456789") != std::string::npos ||
        std::stoi(seq) != static_cast<int>(sec[r[72]].size()) + 1)
      p.push_back(at + ": sequence number " + seq);
    sec[r[72]].push_back(r);
  }
  for (char s : order) c.lines[s] = static_cast<int>(sec[s].size());
  if (sec['T'].size() != 1 || sec['S'].empty() || sec['G'].empty()) {
    p.push_back("sections S, G and one T expected");
    return c;
  }
  char t[40];
  std::snprintf(t, sizeof t, "S%07dG%07dD%07dP%07d", c.lines['S'], c.lines['G'], c.lines['D'], c.lines['P']);
  if (sec['T'][0].substr(0, 72) != std::string(t) + std::string(40, ' '))
    p.push_back("Terminate counts: " + sec['T'][0]);

  std::string g;
  for (const std::string& r : sec['G']) g += r.substr(0, 72);
  c.global = parseParams(g, p, "global");
  if (c.global.size() != 24) p.push_back("global: " + std::to_string(c.global.size()) + " parameters");

  const auto& d = sec['D'];
  const auto& pl = sec['P'];
  if (d.size() % 2) p.push_back("odd number of D records");
  int pointer = 1;
  for (size_t k = 0; k + 1 < d.size(); k += 2) {
    const std::string at = "D entry " + std::to_string(k + 1);
    const std::string &a = d[k], &b = d[k + 1];
    IgesEntity e;
    e.type = field(a, 1);
    if (field(b, 1) != e.type) p.push_back(at + ": type differs between its lines");
    if (field(a, 2) != pointer) p.push_back(at + ": P pointer " + std::to_string(field(a, 2)));
    e.lineFont = field(a, 4);
    e.color = field(b, 3);
    if (field(a, 5) != e.color) p.push_back(at + ": level and colour differ");
    if (a.substr(64, 8) != "00000000") p.push_back(at + ": status");
    e.form = field(b, 5);
    const int count = e.pLines = field(b, 4);
    if (count < 1 || pointer - 1 + count > static_cast<int>(pl.size())) {
      p.push_back(at + ": P line count " + std::to_string(count));
      break;
    }
    std::string data;
    for (int q = pointer - 1; q < pointer - 1 + count; ++q) {
      if (field(pl[static_cast<size_t>(q)].substr(64), 1) != static_cast<int>(k) + 1)
        p.push_back(at + ": P line " + std::to_string(q + 1) + " points back elsewhere");
      data += pl[static_cast<size_t>(q)].substr(0, 64);
    }
    pointer += count;
    e.params = parseParams(data, p, at);
    if (e.params.empty() || e.params[0] != std::to_string(e.type)) p.push_back(at + ": parameter type differs");
    const std::map<int, size_t> sizes = {{110, 7}, {100, 8}, {106, 14}, {212, 14}};
    if (!sizes.count(e.type) || e.params.size() != sizes.at(e.type))
      p.push_back(at + ": type " + std::to_string(e.type) + " with " + std::to_string(e.params.size()) + " parameters");
    if (e.type == 212 && e.params.size() == 14 && e.params[2] != std::to_string(e.params[13].size() - 2))
      p.push_back(at + ": character count differs from the string");
    if ((e.type == 106) != (e.form == 11)) p.push_back(at + ": form number");
    c.entities.push_back(e);
  }
  if (pointer - 1 != static_cast<int>(pl.size())) p.push_back("P lines not owned by any entity");
  return c;
}

// ---- units ----

TEST(IgesUnits, HollerithSplittingAndColours) {
  EXPECT_EQ(IgesHollerith("FILE"), "4HFILE");
  EXPECT_EQ(IgesHollerith(""), "0H");
  struct Case {
    std::string text;
    size_t width;
    std::vector<std::string> pieces;
  };
  const std::string s70(70, 'x');
  const Case cases[] = {
      {"110,1,2;", 64, {"110,1,2;"}},
      {std::string(64, 'a'), 64, {std::string(64, 'a')}},
      {std::string(65, 'a'), 64, {std::string(64, 'a'), "a"}},
      // the last "," among the first width - 1 characters ends a piece
      {"12345,12345,123;", 8, {"12345,", "12345,", "123;"}},
      {"1234567,12;", 8, {"1234567,", "12;"}},
      {"12345678,1;", 8, {"12345678", ",1;"}},
      // commas inside a Hollerith string are no cut points; a string that fits goes whole
      {"1,2,7Ha,b,c,d;", 8, {"1,2,", "7Ha,b,c,", "d;"}},
      {"1,2,5Ha,b,c;", 8, {"1,2,", "5Ha,b,c;"}},
      {"1,20Habcdefghijklmnopqrst,2;", 8, {"1,", "20Habcde", "fghijklm", "nopqrst,", "2;"}},
      {"72H" + s70 + "ab;", 64, {("72H" + s70 + "ab;").substr(0, 64), ("72H" + s70 + "ab;").substr(64)}},
      {"99Hshort,1;", 8, {"99Hshort", ",1;"}},  // a count past the end is taken as far as it goes
  };
  for (const Case& c : cases) EXPECT_EQ(SplitIgesParameters(c.text, c.width), c.pieces) << c.text;

  const int table[16] = {0, 2, 5, 3, 7, 4, 6, 0, 8, 10, 11, 12, 13, 14, 15, 1};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(IgesColor(i), table[i]) << i;
  for (int i : {16, 17, 255, -1}) EXPECT_EQ(IgesColor(i), 0) << i;
}

class IgesTest : public SessionTest {
 protected:
  IgesTest() {
    ws.start.batchCad = true;
    ws.spring.fileName = "feder";
  }
  std::string path() const { return dir.file(ws.spring.fileName + ".igs"); }
  std::string draw(Real x2, Real y2, const std::function<void()>& body) {
    OpenDrawing(ws, DeviceCode::Iges);
    EXPECT_FALSE(ws.abort);
    if (auto* d = dynamic_cast<IgesDevice*>(ws.drawing.out.get())) d->date = "240131";
    Window(ws.drawing, -10, -5, x2, y2);
    Tables(ws.drawing, DrawingKind::Drawing);
    BeginEntities(ws.drawing, ws.diag);
    body();
    EndEntities(ws.drawing);
    FinishDrawing(ws);
    EXPECT_FALSE(ws.abort);
    return readFile(path());
  }
};

// Nine fields right-aligned in 8 columns each.
std::string d8(std::initializer_list<std::string> fields) {
  std::string out;
  for (const std::string& f : fields) out += std::string(8 - f.size(), ' ') + f;
  return out;
}

std::string rec(const std::string& contents, char letter, int seq) {
  char n[8];
  std::snprintf(n, sizeof n, "%07d", seq);
  return contents + std::string(72 - contents.size(), ' ') + letter + n + "\r\n";
}

TEST_F(IgesTest, SmallFileRecordByRecordWithTheCommaSetting) {
  ws.config.num.decimalComma = 2;  // IGES numbers keep "." all the same
  const std::string old = std::setlocale(LC_ALL, nullptr);
  const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  const std::string file = draw(12.5L, 8, [this] {
    Line(ws.drawing, 0, 0, 10, 5);
    SetLayer(ws.drawing, 1);
    Circle(ws.drawing, 1, 1, 2);
  });
  std::setlocale(LC_ALL, old.c_str());
  EXPECT_TRUE(german) << "de_DE.UTF-8 locale missing: the locale half of this test did not run";
  const std::string expected =
      rec("IGES-Datei generiert von VELK", 'S', 1) + rec("Uebersetzer von ORVAN GMBH, Uebersetzerversion 3.1", 'S', 2) +
      rec(",,4HFILE,9Hfeder.igs,9HVELK V3.4,13HVELK IGES 3.1,", 'G', 1) + rec("16,38,6,99,15,", 'G', 2) +
      rec("9Hfeder.igs,1.0,2,2HMM,32767,3.2767D1,", 'G', 3) + rec("13H240131.081107,1.0D-8,12.5,", 'G', 4) +
      rec("6HKelmor,5HORVAN,4,0;", 'G', 5) + rec(d8({"110", "1", "1", "1", "0", "", "", "", "00000000"}), 'D', 1) +
      rec(d8({"110", "", "0", "1", "", "", "", "", ""}), 'D', 2) +
      rec(d8({"100", "2", "1", "4", "5", "", "0", "", "00000000"}), 'D', 3) +
      rec(d8({"100", "", "5", "1", "", "", "", "", ""}), 'D', 4) +
      rec("110,0.000,0.000,0.0,10.000,5.000,0.0;                                  1", 'P', 1) +
      rec("100,0.0,1.000,1.000,3.000,1.000,3.000,1.000;                           3", 'P', 2) +
      rec("S0000002G0000005D0000004P0000002", 'T', 1);
  EXPECT_EQ(file, expected);
}

TEST_F(IgesTest, PensSolidsAndLongTexts) {
  ws.config.layerColor[20] = 40;  // a pen colour without an IGES colour
  ws.config.num.decimalPlaces = 1;
  const std::string text70 = "Federlänge, Breite, Dicke; alles in mm, gemessen am Muster Nr. 12, ok!";
  ASSERT_EQ(oem(text70).size(), 70u);
  const std::string file = draw(100, 50, [&] {
    SetLayer(ws.drawing, 2);
    Arc(ws.drawing, 0, 0, 90, 180, 2);
    SetLayer(ws.drawing, 15);
    Solid(ws.drawing, 0, 0, 1, 0, 0, 1, 1, 1);
    SetLayer(ws.drawing, 20);
    TextStyle(ws.drawing, 2, 90, 5, 0);
    ws.config.num.cadTextMode = 3;
    Text(ws.drawing, oem(text70), 1, 2);
    Text(ws.drawing, "a\r\nb\tc", 1, 2);
  });
  const IgesCheck c = checkIges(file);
  ASSERT_TRUE(c.problems.empty()) << c.ok();
  ASSERT_EQ(c.entities.size(), 4u);
  const IgesEntity &arc = c.entities[0], &solid = c.entities[1], &text = c.entities[2], &ctl = c.entities[3];
  EXPECT_EQ(arc.lineFont, 2);
  EXPECT_EQ(arc.color, 5);  // layer 2: DXF colour 2
  EXPECT_EQ(arc.params, (std::vector<std::string>{"100", "0.0", "0.0", "0.0", "0.0", "2.0", "-2.0", "0.0"}));
  EXPECT_EQ(solid.color, 0);  // layer 15: index 16 has no IGES colour
  EXPECT_EQ(solid.params, (std::vector<std::string>{"106", "1", "5", "0.0", "0.0", "0.0", "1.0", "1.0", "0.0", "1.0",
                                                    "1.0", "0.0", "0.0", "0.0"}));
  EXPECT_EQ(text.color, 0);  // pen colour 40
  EXPECT_EQ(text.lineFont, 1);
  const std::string plain = "Federlaenge, Breite, Dicke; alles in mm, gemessen am Muster Nr. 12, ok!";
  EXPECT_EQ(text.params, (std::vector<std::string>{"212", "1", "71", "248.5", "5.0", "1", "", "1.5708", "0", "0", "1.0",
                                                   "2.0", "0.0", "H:" + plain}));
  EXPECT_EQ(ctl.params.back(), "H:a  b c");  // control characters never reach a record
  EXPECT_GE(text.pLines, 3);                 // a text of 70 characters
}

TEST_F(IgesTest, LongFileNameWrapsTheGlobalSection) {
  ws.spring.fileName = "Spiralfeder, Ausführung " + std::string(140, 'x') + ",\x01;Variante";
  const std::string file = draw(1e6L, 8, [this] { Line(ws.drawing, 0, 0, 1, 1); });
  const IgesCheck c = checkIges(file);
  ASSERT_TRUE(c.problems.empty()) << c.ok();
  EXPECT_GT(c.lines.at('G'), 5);
  EXPECT_EQ(c.global.at(3), "H:" + oem("Spiralfeder, Ausführung ") + std::string(140, 'x') + ",_;Variante.igs");
  EXPECT_EQ(c.global.at(11), c.global.at(3));
  EXPECT_EQ(c.global.at(19), "1000000");
}

TEST_F(IgesTest, AbortedOrFailedDrawingLeavesNoFile) {
  writeFile(path(), "old");
  OpenDrawing(ws, DeviceCode::Iges);
  Window(ws.drawing, 0, 0, 1, 1);
  Line(ws.drawing, 0, 0, 1, 1);
  ws.abort = true;  // a caller stopped half-way
  FinishDrawing(ws);
  EXPECT_EQ(readFile(path()), "old");
  ws.abort = false;
  ws.io.writeFault = [](std::string_view) { return ENOSPC; };
  OpenDrawing(ws, DeviceCode::Iges);
  Window(ws.drawing, 0, 0, 1, 1);
  FinishDrawing(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ui.messages(MessageKind::Error).size(), 1u);
  EXPECT_EQ(readFile(path()), "old");
  size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) files += !e.is_directory();
  EXPECT_EQ(files, 1u);  // no temporary file left beside it, none in the working folder either
}

// Every view and both spring drawings of a strip and a wire spring: well-formed IGES with the
// same number of entities the screen receives (less the footer line).
TEST(IgesDrawings, ViewsAndSpringDrawingsAreWellFormed) {
  TempDir dir;
  for (int spring = 0; spring < 2; ++spring) {
    for (int item = 1; item <= 9; ++item) {
      ScriptedUi ui;
      Session ws(ui);
      if (spring == 0)
        stripExample(ws);
      else
        wireExample(ws);
      ws.spring.matName = "Werkstoff";
      ws.config.num.decimalComma = item % 2 ? 2 : 1;
      CalculateSpring(ws);
      ASSERT_FALSE(ws.messages.fatal);
      ws.start.batchCad = true;
      ws.spring.dataDir = dir.path();
      ws.spring.fileName = std::string(spring ? "wire" : "strip") + std::to_string(item);
      auto draw = [&](DeviceCode device) {
        if (item <= 7)
          ShowView(ws, *ViewKindFromNumber(item), device);
        else
          DrawSpring(ws, item == 8 ? SpringView::Front : SpringView::Side, device, false);
        ASSERT_FALSE(ws.abort);
      };
      draw(DeviceCode::Tab);  // the tab file counts the primitives the IGES file must hold
      const std::string tab = readFile(dir.file(ws.spring.fileName + ".txt"));
      size_t primitives = 0;
      for (const char* kind : {"\nLINE\t", "\nCIRCLE\t", "\nARC\t", "\nTEXT\t", "\nSOLID\t"})
        for (size_t pos = tab.find(kind); pos != std::string::npos; pos = tab.find(kind, pos + 1)) ++primitives;
      draw(DeviceCode::Iges);
      const IgesCheck c = checkIges(readFile(dir.file(ws.spring.fileName + ".igs")));
      EXPECT_TRUE(c.problems.empty()) << ws.spring.fileName << "\n" << c.ok();
      EXPECT_EQ(c.entities.size(), primitives) << ws.spring.fileName;
      EXPECT_GE(primitives, 4u) << ws.spring.fileName;
    }
  }
}

}  // namespace
}  // namespace velk::test

namespace velk::test {
namespace {

// IGES strings are 7-bit: code page characters are transcribed for every text type.
class IgesTextTest : public IgesTest {};

TEST_F(IgesTextTest, TextsAreSevenBitForEveryTextType) {
  for (int mode : {1, 2, 3}) {
    ws.config.num.cadTextMode = mode;
    const std::string file = draw(100, 100, [this] { Text(ws.drawing, oem("alpha1= 360 ° Länge Übermaß"), 1, 2); });
    for (unsigned char ch : file) ASSERT_LT(ch, 128u) << mode;
    EXPECT_NE(file.find("Laenge"), std::string::npos) << mode;
  }
}

}  // namespace
}  // namespace velk::test
