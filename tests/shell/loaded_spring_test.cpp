// Reading a spring loads its materials and calculates it; the shipped examples; the /JSON job.
#include <sstream>

#include "commands/springfile.h"
#include "data/inputfile.h"
#include "shell/jsonexport.h"
#include "shell/startup.h"
#include "support/fixture.h"
#include "support/run_process.h"

namespace velk::test {
namespace {

const std::string kExamples = std::string(VELK_SOURCE_DATA_DIR) + "/examples/";

class LoadedSpringTest : public SessionTest {};

TEST_F(LoadedSpringTest, ReadingTakesTheMaterialTheFileNamesAndCalculates) {
  ws.spring.E = 1;  // whatever the program held before must not leak into the result
  ws.spring.G = 1;
  readInputFile(ws, kExamples + "drahtfeder_dynamisch.vlk");
  ASSERT_FALSE(ws.abort);
  EXPECT_EQ(ws.spring.matSource, 0);
  EXPECT_EQ(ws.spring.matName, "EN 10270-1 DH");
  EXPECT_EQ(ws.spring.E, 206000);
  EXPECT_EQ(ws.spring.G, 81500);
  EXPECT_GT(ws.spring.sigman, 1000);
  EXPECT_GT(ws.spring.cT, 0);
  EXPECT_FALSE(ws.messages.fatal);
  EXPECT_GT(ws.spring.cyclesN, 1e5) << "dynamic example with a finite lifetime";
  EXPECT_LT(ws.spring.fatigueRatio, 1);
}

TEST_F(LoadedSpringTest, ExamplesReadAsShippedAndShowTheirPoint) {
  struct Case {
    const char* name;
    std::vector<std::string> messages;
  } cases[] = {
      {"uhrfeder", {"Warnung: Sig.c>Sig.zul !"}},
      {"rueckstellfeder", {"Warnung: Sig.c>Sig.zul !"}},
      {"drahtfeder_dynamisch", {"Warnung: Sig.c>Sig.zul !"}},
      {"drahtfeder_kugelgestrahlt", {"Warnung: approx.Goodman", "Warnung: Sig.c>Sig.zul !"}},
      {"grenzfall",
       {"Fehler : a1 < 0 !", "Fehler : a2 < 0 !", "Fehler : al.2>al.c !", "Fehler : al.1>al.c !",
        "Fehler : Sig.2>Sig.zul !", "Fehler : Sig.q1>Sig.zul !", "Fehler : Sig.q2>Sig.zul !", "Fehler : rbi<d !",
        "Warnung: rbi<1.5*d !"}},
  };
  for (const Case& c : cases) {
    const std::string path = kExamples + c.name + ".vlk";
    readInputFile(ws, path);
    ASSERT_FALSE(ws.abort) << c.name;
    std::vector<std::string> got(ws.messages.entries.begin(), ws.messages.entries.begin() + ws.messages.count);
    EXPECT_EQ(got, c.messages) << c.name;
    EXPECT_FALSE(ws.messages.fatal) << c.name;
    // The shipped bytes are what the program itself writes for that spring.
    EXPECT_EQ(readFile(path), inputFileBytes(ws.spring, ws.num())) << c.name;
  }
}

TEST_F(LoadedSpringTest, ResultsDoNotDependOnWhatWasCalculatedBefore) {
  auto json = [&](const char* name) {
    readInputFile(ws, kExamples + name);
    std::ostringstream out;
    writeJson(ws, out);
    return out.str();
  };
  const std::string a = json("drahtfeder_dynamisch.vlk");
  json("uhrfeder.vlk");
  json("grenzfall.vlk");
  EXPECT_EQ(json("drahtfeder_dynamisch.vlk"), a);
}

TEST_F(LoadedSpringTest, TableProblemsOfTheLoadedSpringReachTheMessageList) {
  readInputFile(ws, kExamples + "uhrfeder.vlk");
  ws.spring.matNoFlat = 99;
  parseInputFile(ws.spring, ws.num(), inputFileBytes(ws.spring, ws.num()));
  calculateLoadedSpring(ws);
  EXPECT_EQ(ws.messages.entries[ws.messages.count - 1], "DBF #99 not found.");
  EXPECT_FALSE(ws.messages.fatal) << "calculated with the last record";

  ws.config.dbfDir = dir.path();  // no tables there
  calculateLoadedSpring(ws);
  EXPECT_EQ(ws.messages.entries[ws.messages.count - 1], "Fatal  : velkwst DBF error");
  EXPECT_TRUE(ws.messages.fatal);
}

TEST(JsonNumber, FullPrecisionAndNothingOutsideTheDoubleRange) {
  EXPECT_EQ(jsonNumber(20), "20");
  EXPECT_EQ(jsonNumber(0.1L), "0.100000000000000000001");
  EXPECT_NEAR(std::stod(jsonNumber(-1e300L).value_or("0")), -1e300, 1e285);
  EXPECT_NE(jsonNumber(1e-4000L).value_or("").find("e-4"), std::string::npos) << "a number, read back as 0";
  for (Real x : {1e3000L, -1.72e598L, std::numeric_limits<Real>::infinity(), std::numeric_limits<Real>::quiet_NaN()})
    EXPECT_FALSE(jsonNumber(x).has_value()) << static_cast<double>(x);
  EXPECT_EQ(jsonString(oem("Tür \"1\"\r")), "\"Tür \\\"1\\\"\\r\"");
}

// A result no JSON number holds: the JSON says fatal, keeps the inputs and has no results.
TEST_F(LoadedSpringTest, JsonWithAResultBeyondTheDoubleRangeIsFatalWithoutResults) {
  readInputFile(ws, kExamples + "uhrfeder.vlk");
  ASSERT_FALSE(ws.messages.fatal);
  ws.spring.delta2 = 1.72e598L;
  ws.spring.alpha2 = 1e400L;  // an input: left out alone
  std::ostringstream out;
  EXPECT_FALSE(writeJson(ws, out));
  const std::string all = out.str();
  const std::size_t units = all.find("\"units\": {");
  ASSERT_NE(units, std::string::npos);
  const std::string json = all.substr(0, units) + all.substr(all.find("\"messages\""));
  EXPECT_NE(json.find("\"fatal\": true"), std::string::npos);
  EXPECT_NE(json.find("Ergebnis ungültig"), std::string::npos);
  EXPECT_NE(json.find("\"alpha2: keine Zahl\""), std::string::npos);
  EXPECT_NE(json.find("\"t\": "), std::string::npos);
  for (const char* gone : {"\"delta2\": ", "\"sigman\": ", "\"alpha2\": ", "e+598"})
    EXPECT_EQ(json.find(gone), std::string::npos) << gone;
}

// wvelk FILE /JSON as a whole process, checked with Python's json module.
TEST(JsonJob, WritesTheBareNameInTheCurrentFolderWithStableKeys) {
  TempDir dir;
  const std::string python = pythonWithModules({"json"});
  ASSERT_FALSE(python.empty());
  const std::string check =
      "import json,os,sys\n"
      "os.chdir(sys.argv[1])\n"
      "d=json.load(open('drahtfeder_dynamisch.json', encoding='utf-8'))\n"
      "s=d['spring']\n"
      "assert d['fatal'] is False, d\n"
      "assert d['material']['name1']=='EN 10270-1 DH'\n"
      "for k in ['b','t','ri','re','n0','alpha1','alpha2','cT','T1','T2','sigmaq1','sigmaq2','sigman','kb',\n"
      "          'cyclesN','strokePerm','matNoRound','crossSection','kugelstrahlen','zeichname']:\n"
      "  assert k in s, k\n"
      "assert abs(s['t']-2)<1e-12 and s['crossSection']==2\n"
      "print('ok')\n";
  std::string out;
  // Run wvelk in the temp folder through a tiny Python wrapper (cwd + exit code).
  const std::string run =
      "import subprocess,sys\n"
      "sys.exit(subprocess.run([sys.argv[1], sys.argv[2], '/JSON', '/NOGUI'], cwd=sys.argv[3]).returncode)\n";
  EXPECT_EQ(runProcess({python, "-c", run, WVELK_PATH, kExamples + "drahtfeder_dynamisch.vlk", dir.path()}), 0);
  EXPECT_EQ(runProcess({python, "-c", check, dir.path()}, &out), 0);
  EXPECT_EQ(out, "ok\n");

  // A fatal spring still gets its JSON, with exit code 2.
  ScriptedUi ui;
  Session ws(ui);
  ws.spring.n0 = 0;
  ws.overwritePrompt = false;
  writeInputFile(ws, dir.file("kaputt.vlk"));
  EXPECT_EQ(runProcess({python, "-c", run, WVELK_PATH, dir.file("kaputt.vlk"), dir.path()}), 2);
  EXPECT_NE(readFile(dir.file("kaputt.json")).find("\"fatal\": true"), std::string::npos);
  EXPECT_NE(readFile(dir.file("kaputt.json")).find("Fatal  : n = 0 !"), std::string::npos);

  // Unreadable input: 1. Output name equal to the input: refused with 2, input untouched.
  EXPECT_EQ(runProcess({python, "-c", run, WVELK_PATH, dir.file("fehlt.vlk"), dir.path()}), 1);
  std::filesystem::copy_file(dir.file("kaputt.vlk"), dir.file("x.json"));
  const std::string before = readFile(dir.file("x.json"));
  EXPECT_EQ(runProcess({python, "-c", run, WVELK_PATH, "x.json", dir.path()}), 2);
  EXPECT_EQ(readFile(dir.file("x.json")), before);
}

}  // namespace
}  // namespace velk::test
