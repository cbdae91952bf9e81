// Choosing, browsing and entering materials on copies of the shipped tables with a scripted UI,
// and loading the records a spring file names without the browser.
#include "calcservice/materialselect.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dbf/dbf.h"
#include "support/fixture.h"
#include "support/run_process.h"
#include "tables/tableservice.h"

namespace velk::test {
namespace {

using Kind = Request::Kind;

class MaterialSelect : public SessionTest {
 protected:
  MaterialSelect() {
    for (const char* name : {"velkwst.dbf", "talmwst.dbf"})
      std::filesystem::copy_file(std::string(VELK_SOURCE_DATA_DIR) + "/" + name, tables.file(name));
    ws.config.dbfDir = tables.path();
    ws.config.tempDir = temp.path();
  }

  // The fields of one record of a table file, as the engine reads them.
  static std::vector<std::string> record(const std::string& path, std::uint32_t n) {
    DbfTable t;
    EXPECT_TRUE(t.open(path, true));
    std::vector<std::string> out;
    for (int i = 0; i < t.fieldCount(); ++i) out.push_back(t.fieldText(n, i));
    return out;
  }
  static std::uint32_t count(const std::string& path) {
    DbfTable t;
    EXPECT_TRUE(t.open(path, true));
    return t.recordCount();
  }

  TempDir tables;
  TempDir temp;
};

TEST_F(MaterialSelect, ConfirmedStripSelectionCopiesTheRecord) {
  ui.script({Answer::Choice(5)});
  SelectMaterial(ws);
  ASSERT_FALSE(ws.abort);
  EXPECT_EQ(ws.spring.matNoFlat, 5);
  const StripRecord& r = ws.materials.strip;
  EXPECT_EQ(r.name1, "C60S +QT");
  EXPECT_EQ(r.name4, oem("vergütet, Richtwert"));
  EXPECT_EQ(r.E, 206000);
  EXPECT_EQ(r.Rm0, 1450);
  EXPECT_EQ(r.t0, 1);
  EXPECT_EQ(r.Rmmax, 1750);
  EXPECT_EQ(r.plain.upper, 812);
  EXPECT_EQ(r.plain.m, 0.68L);
  EXPECT_EQ(r.tmax, 3);
  EXPECT_EQ(r.f, 0.75L);
  EXPECT_EQ(r.field28, "EN10132-4 est");
  EXPECT_EQ(r.field29, 5);
  EXPECT_EQ(ws.spring.matSource, 0);
  EXPECT_EQ(ws.spring.matName, "C60S +QT");
  EXPECT_EQ(ws.spring.E, 206000);
  EXPECT_EQ(ws.spring.rho, 7.85L);
  EXPECT_FALSE(ws.table.dbf.isOpen());

  const Request& b = ui.requests().back();
  EXPECT_EQ(b.kind, Kind::Browse);
  EXPECT_EQ(b.mode, 1);
  EXPECT_EQ(b.caption, "Material   ");
  EXPECT_EQ(b.index, 1) << "positioned on matNoFlat";
  EXPECT_EQ(b.helpNumber, 9590);
  ASSERT_EQ(b.records.size(), 14u);
  EXPECT_EQ(b.records.front(), 8u) << "listed by name: 51CrV4 first";
  EXPECT_TRUE(fileExists(temp.file("velkwst.ndx")));
}

TEST_F(MaterialSelect, CancelledSelectionChangesNothing) {
  for (int cross : {1, 2}) {
    SCOPED_TRACE(cross);
    ws.spring.crossSection = static_cast<uint16_t>(cross);
    ws.abort = false;
    const Spring before = ws.spring;
    ui.script({Answer::Cancel()});
    SelectMaterial(ws);
    EXPECT_TRUE(ws.abort);
    EXPECT_EQ(ws.spring.matNoFlat, before.matNoFlat);
    EXPECT_EQ(ws.spring.matNoRound, before.matNoRound);
    EXPECT_EQ(ws.spring.E, before.E);
    EXPECT_EQ(ws.spring.G, before.G);
    EXPECT_EQ(ws.spring.matSource, before.matSource);
    EXPECT_EQ(ws.spring.matName, before.matName);
    EXPECT_TRUE(ws.materials.strip.name1.empty());
    EXPECT_TRUE(ws.materials.wire.name1.empty());
  }
}

TEST_F(MaterialSelect, WireSelectionTakesModuliAndDensity) {
  ws.spring.crossSection = 2;
  ui.script({Answer::Choice(11)});
  SelectMaterial(ws);
  ASSERT_FALSE(ws.abort);
  EXPECT_EQ(ws.spring.matNoRound, 11);
  EXPECT_EQ(ws.materials.wire.name1, "1.4310 NS");
  EXPECT_EQ(ws.materials.wire.dmin, 0);
  EXPECT_EQ(ws.spring.E, 185000);
  EXPECT_EQ(ws.spring.G, 73000);
  EXPECT_EQ(ws.spring.rho, 7.9L);
  EXPECT_EQ(ws.spring.matSource, 0);
  EXPECT_EQ(ui.requests().back().index, 3);
  EXPECT_TRUE(fileExists(temp.file("talmwst.ndx")));

  // matNoRound 0: no index, the browser starts on record 1.
  std::filesystem::remove(temp.file("talmwst.ndx"));
  ws.spring.matNoRound = 0;
  ui.script({Answer::Choice(3)});
  SelectMaterial(ws);
  EXPECT_EQ(ui.requests().back().index, 1);
  EXPECT_EQ(ui.requests().back().records.front(), 1u);
  EXPECT_FALSE(fileExists(temp.file("talmwst.ndx")));
  EXPECT_EQ(ws.materials.wire.name1, "EN 10270-1 DH");
}

TEST_F(MaterialSelect, MissingTableGivesTheFatalMessage) {
  ws.config.dbfDir = dir.path();  // no tables here
  struct Case {
    int cross;
    const char* message;
  } cases[] = {{1, "Fatal  : velkwst DBF error"}, {2, "Fatal  : TALMWST DBF error"}};
  for (const Case& c : cases) {
    ws.abort = false;
    ClearCalcMessages(ws.messages);
    ws.spring.crossSection = static_cast<uint16_t>(c.cross);
    SelectMaterial(ws);
    EXPECT_TRUE(ws.abort);
    ASSERT_EQ(ws.messages.count, 1);
    EXPECT_EQ(ws.messages.entries[0], c.message);
  }
  EXPECT_EQ(ui.messages(MessageKind::Error).size(), 2u);
}

TEST_F(MaterialSelect, EditingTheStripTableCopiesNothing) {
  ui.script({Answer::Choice(2)});
  EditStripTable(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(ui.requests().back().mode, 2);
  EXPECT_EQ(ui.requests().back().caption, "Material    (" + tables.file("velkwst.dbf") + ")");
  EXPECT_TRUE(ws.materials.strip.name1.empty());
  EXPECT_EQ(ws.spring.matNoFlat, 1);
}

TEST_F(MaterialSelect, EditingTheWireTableWithoutANewMaterial) {
  ui.script({Answer::No(), Answer::Choice(2)});
  EditWireTable(ws);
  const auto& r = ui.requests();
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].kind, Kind::YesNo);
  EXPECT_EQ(r[0].prompt, "Neuen Werkstoff eintragen ?");
  EXPECT_EQ(r[0].offered, "N");
  EXPECT_EQ(r[0].helpNumber, 4050);
  EXPECT_EQ(r[1].mode, 2);
  EXPECT_EQ(r[1].helpNumber, 9590);
  EXPECT_EQ(ws.materials.wire.name1, "EN 10270-1 SH") << "the record under the cursor is read";
  EXPECT_EQ(ws.spring.matNoRound, 3);

  // Yes, then a cancel in the first step: no browser.
  ui.clearRequests();
  ui.script({Answer::Yes(), Answer::Cancel()});
  EditWireTable(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ui.requests().back().kind, Kind::Text);
}

// The answers of the 19 steps of the new-material dialog (step 5 has three texts).
std::vector<std::string> wireAnswers() {
  return {oem("Testdraht Öl"),
          "200000",
          "78000",
          "7.9",
          "Zeile 2",
          "Zeile 3",
          "Zeile 4",
          "1",
          "2000",
          "10",
          "1500",
          "2600",
          "0.2",
          "12",
          "150",
          "1120",
          "10",
          "840",
          "600",
          "450",
          "650"};
}

TEST_F(MaterialSelect, NewWireMaterialIsAskedStepByStepAndAppended) {
  for (const std::string& a : wireAnswers()) ui.push(Answer::Text(a));
  EnterWireMaterial(ws);
  ASSERT_FALSE(ws.abort);

  struct Step {
    const char* prompt;
    uint16_t help;
    const char* offered;
  } steps[] = {
      {"Werkstoff", 5050, ""},
      {"Elastizitätsmodul E  [N/mm²]", 5060, "210000"},
      {"Schubmodul G  [N/mm²]", 5070, "80000"},
      {"Dichte rho  [kg/dm^3]", 5080, "7.85"},
      {"Name 2", 4010, ""},
      {"Name 3", 4010, ""},
      {"Name 4", 4010, ""},
      {"Drahtdurchmesser d0", 4020, "0"},
      {"Zugfestigkeit Rm0 bei d= 1 mm  [N/mm²]", 4020, "0"},
      {"Drahtdurchmesser dx", 4020, "10"},
      {"Zugfestigkeit Rmx bei d= 10 mm  [N/mm²]", 4020, "500"},
      {"Max. Zugfestigkeit Rm max (bei d=0.1mm) [N/mm²]", 4020, "0"},
      {"Drahtdurchmesser dmin [mm]", 4030, "0"},
      {"Drahtdurchmesser dmax [mm]", 4030, "0"},
      {"Max. Betriebstemperatur Tmax [°C]", 4030, "0"},
      {"zul. Schubspannung tauo0 bei d = 1 mm  [N/mm²]", 4040, "1120"},
      {"Drahtdurchmesser dx", 4040, "10"},
      {"zul. Schubspannung tauo bei d = 10 mm  [N/mm²]", 4040, "840"},
      {"zulässige Hubspannung tauh0 bei d=1, tau u=0  [N/mm²]", 4040, "600"},
      {"zulässige Hubspannung tauhx bei d = 10 mm  [N/mm²]", 4040, "450"},
      {"zul. Schubspannung tau u lim. bei d = 1 mm  [N/mm²]", 4040, "693.3"},
  };
  const auto& r = ui.requests();
  ASSERT_EQ(r.size(), std::size(steps));
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    EXPECT_EQ(u8(r[i].prompt), steps[i].prompt) << i;
    EXPECT_EQ(r[i].helpNumber, steps[i].help) << i;
    EXPECT_EQ(r[i].offered, steps[i].offered) << i;
  }
  EXPECT_EQ(r[0].maxLength, 50);
  EXPECT_EQ(r[4].maxLength, 30);
  EXPECT_EQ(r[5].maxLength, 20);

  const std::string path = tables.file("talmwst.dbf");
  ASSERT_EQ(count(path), 16u);
  EXPECT_EQ(record(path, 16), (std::vector<std::string>{oem("Testdraht Öl"),
                                                        "Zeile 2",
                                                        "Zeile 3",
                                                        "Zeile 4",
                                                        "78000",
                                                        "200000",
                                                        "7.90",
                                                        "2000",
                                                        "1.000",
                                                        "2600",
                                                        "500",
                                                        "1.000",
                                                        "1120",
                                                        "280",
                                                        "600",
                                                        "150",
                                                        "0.800",
                                                        "0",
                                                        "0",
                                                        "0",
                                                        "0",
                                                        "0.000",
                                                        "0.200",
                                                        "12.000",
                                                        "150",
                                                        "",
                                                        "16"}));
  EXPECT_EQ(ws.spring.matSource, 11);
  EXPECT_EQ(ws.spring.matName, oem("Testdraht Öl"));
  EXPECT_EQ(ws.spring.E, 200000);
  EXPECT_EQ(ws.materials.wire.kRm, 500);
  EXPECT_EQ(ws.materials.wire.runningNo, 16);
  EXPECT_FALSE(ws.table.dbf.isOpen());

  // Interop: an independent reader sees the appended record.
  const std::string python = pythonWithModules({"dbfread"});
  ASSERT_FALSE(python.empty()) << "python3 with dbfread is required (scripts/setup.sh)";
  std::string out;
  ASSERT_EQ(runProcess({python, "-c",
                        "import sys, dbfread\n"
                        "t = dbfread.DBF(sys.argv[1], load=True)\n"
                        "r = t.records[-1]\n"
                        "line = ' '.join(str(v) for v in (len(t.records), t.encoding, r['NAME1'], r['KRM'],\n"
                        "                                 r['M'], r['DMAX'], r['NR']))\n"
                        "sys.stdout.buffer.write((line + '\\n').encode('utf-8'))\n",
                        path},
                       &out),
            0);
  EXPECT_EQ(out, "16 cp850 Testdraht \xC3\x96l 500 0.8 12.0 16\n");
}

TEST_F(MaterialSelect, DiameterEqualToTheReferenceGivesNoPerDecadeValue) {
  std::vector<std::string> answers = wireAnswers();
  answers[9] = "1";   // dx = d0
  answers[16] = "1";  // dx2 = d0
  for (const std::string& a : answers) ui.push(Answer::Text(a));
  EnterWireMaterial(ws);
  ASSERT_FALSE(ws.abort);
  const auto fields = record(tables.file("talmwst.dbf"), 16);
  EXPECT_EQ(fields[10], "0");  // kRm
  EXPECT_EQ(fields[13], "0");  // decrease of tau o
  EXPECT_EQ(fields[15], "0");  // decrease of tau h
  EXPECT_EQ(fields[16], "0.800");
}

TEST_F(MaterialSelect, CancelledNewMaterialWritesNothing) {
  const std::string path = tables.file("talmwst.dbf");
  const std::string before = readFile(path);
  std::vector<std::string> answers = wireAnswers();
  for (std::size_t i = 0; i < 11; ++i) ui.push(Answer::Text(answers[i]));  // steps 1 to 9
  ui.push(Answer::Cancel());                                               // step 10
  EnterWireMaterial(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(readFile(path), before);
  EXPECT_FALSE(ws.table.dbf.isOpen());
  EXPECT_EQ(u8(ui.requests().back().prompt), "Max. Zugfestigkeit Rm max (bei d=0.1mm) [N/mm²]");
}

TEST_F(MaterialSelect, LoadingTheRecordsASpringNames) {
  struct Case {
    const char* what;
    int cross;
    int flat, round;
    std::vector<std::string> messages;
    const char* stripName;
    const char* wireName;
  } cases[] = {
      {"start values", 1, 1, 3, {}, "C75S +QT", "EN 10270-1 DH"},
      {"strip number beyond the table", 1, 99, 3, {"DBF #99 not found."}, "CuNi18Zn20 federh.", "EN 10270-1 DH"},
      {"the other table's number is not reported", 1, 2, 99, {}, "X10CrNi18-8 C1300", "CuBe2 ausgeh\x84rtet"},
      {"wire number 0 is record 1", 2, 1, 0, {}, "C75S +QT", "EN 10270-1 SM"},
      {"wire number beyond the table", 2, 1, 40, {"DBF #40 not found."}, "C75S +QT", "CuBe2 ausgeh\x84rtet"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ws.materials = {};
    ws.spring.crossSection = static_cast<uint16_t>(c.cross);
    ws.spring.matNoFlat = static_cast<uint16_t>(c.flat);
    ws.spring.matNoRound = static_cast<uint16_t>(c.round);
    ws.spring.matSource = 1;
    ws.abort = true;  // left as it was
    MaterialLoadResult r = LoadMaterialRecords(ws);
    EXPECT_TRUE(ws.abort);
    EXPECT_EQ(r.messages, c.messages);
    EXPECT_TRUE(r.stripLoaded && r.wireLoaded);
    EXPECT_EQ(ws.materials.strip.name1, c.stripName);
    EXPECT_EQ(ws.materials.wire.name1, c.wireName);
    EXPECT_EQ(ws.spring.matNoFlat, c.flat) << "the file's numbers stay";
    EXPECT_EQ(ws.spring.matNoRound, c.round);
    EXPECT_EQ(ws.spring.matSource, 0);
    EXPECT_EQ(ws.spring.matName, c.cross == 1 ? c.stripName : c.wireName);
    EXPECT_FALSE(ws.table.dbf.isOpen());
  }
  EXPECT_EQ(ws.spring.G, 47000) << "wire: G from the record";
  EXPECT_EQ(ws.messages.count, 0) << "the caller appends the messages";
  EXPECT_TRUE(ui.requests().empty());
}

TEST_F(MaterialSelect, LoadingFromMissingOrEmptyTablesReportsOnlyTheSpringsTable) {
  TempDir empty;
  ASSERT_TRUE(DbfTable::create(empty.file("velkwst.dbf"), {{"NAME1", 'C', 20, 0, 0}}));
  ws.config.dbfDir = empty.path();  // strip table without records, no wire table
  ws.spring.E = 123;
  for (int cross : {1, 2}) {
    ws.spring.crossSection = static_cast<uint16_t>(cross);
    ws.abort = false;
    MaterialLoadResult r = LoadMaterialRecords(ws);
    EXPECT_FALSE(ws.abort);
    EXPECT_FALSE(r.stripLoaded);
    EXPECT_FALSE(r.wireLoaded);
    EXPECT_EQ(r.messages,
              std::vector<std::string>{cross == 1 ? "Fatal  : velkwst DBF error" : "Fatal  : TALMWST DBF error"});
  }
  EXPECT_EQ(ws.spring.E, 123) << "material values stay as they were";
  EXPECT_EQ(ws.spring.matSource, 1);
  EXPECT_TRUE(ui.requests().empty()) << "no message box";
}

}  // namespace
}  // namespace velk::test
