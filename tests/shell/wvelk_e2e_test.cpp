// wvelk as a whole process: help text, refusals, exit codes, locale independence.
#include <sys/stat.h>

#include <algorithm>

#include "commands/springfile.h"
#include "data/inputfile.h"
#include "support/fixture.h"
#include "support/run_process.h"
#include "support/run_wvelk.h"

namespace velk::test {
namespace {

TEST(Wvelk, HelpTextAndVersionOnStdout) {
  TempDir dir;
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"?"}, {"/?"}, {"?", "/NOGUI"}, {"--help"}, {"-h"}, {"x.vlk", "/I", "--help"}}) {
    ProcessResult r = runWvelk(args, dir.path());
    EXPECT_EQ(r.exitCode, 0) << args[0];
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 28) << r.out;
    EXPECT_EQ(r.out.substr(0, 23), "VELK Command Line Mode\n");
    EXPECT_EQ(r.err, "") << args[0];
  }
  // The version is the build's project version.
  const std::string cmake = readFile(std::string(VELK_SOURCE_DATA_DIR) + "/../CMakeLists.txt");
  const std::size_t at = cmake.find("project(velk VERSION ");
  ASSERT_NE(at, std::string::npos);
  const std::size_t from = at + 21;
  const std::string version = cmake.substr(from, cmake.find(' ', from) - from);
  ProcessResult v = runWvelk({"--version"}, dir.path());
  EXPECT_EQ(v.exitCode, 0);
  EXPECT_EQ(v.out, "wvelk (VELK) " + version + "\n");
  EXPECT_EQ(v.err, "");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << "help and version write nothing";
}

TEST(Wvelk, WindowedStartWithoutExtensionIsRefusedOnStderr) {
  TempDir dir;
  ProcessResult r = runWvelk({"test"}, dir.path());
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.err.find("Erweiterung .vlk muß mit angegeben werden"), std::string::npos) << r.err;
}

// Without a display and without a batch job the program says so at once instead of waiting.
const std::string kExamples = std::string(VELK_SOURCE_DATA_DIR) + "/examples/";

TEST(Wvelk, WindowedStartWithoutDisplayEndsWithTwo) {
  TempDir dir;
  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("uhr.vlk"));
  for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"uhr.vlk"}, {"uhr.vlk", "/E"}}) {
    ProcessResult r = runWvelk(args, dir.path());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("no display"), std::string::npos) << r.err;
  }
}

// /PDF:j: the page as printed, one page, without a display.
TEST(Wvelk, PdfJobWritesOnePage) {
  TempDir dir;
  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("uhr.vlk"));
  for (const char* job : {"/PDF:7", "/PDF:2"}) {
    ProcessResult r = runWvelk({"uhr.vlk", job}, dir.path());
    ASSERT_EQ(r.exitCode, 0) << job << r.err;
    const std::string pdf = readFile(dir.file("uhr.pdf"));
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-") << job;
    std::size_t pages = 0;
    for (std::size_t at = pdf.find("/Type /Page\n"); at != std::string::npos; at = pdf.find("/Type /Page\n", at + 1))
      ++pages;
    EXPECT_EQ(pages, 1u) << job;
  }
  EXPECT_EQ(runWvelk({"uhr.vlk", "/PDF:9"}, dir.path()).exitCode, 0);  // nothing to draw, said on stderr
}

TEST(Wvelk, BatchJobs) {
  TempDir dir;
  ProcessResult missing = runWvelk({"fehlt.vlk", "/I", "/NOGUI"}, dir.path());
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("fehlt.vlk nicht gefunden"), std::string::npos) << missing.err;

  // The name without extension is completed in the current folder.
  std::filesystem::copy_file(std::string(VELK_SOURCE_DATA_DIR) + "/null.vlk", dir.file("test.vlk"));
  ProcessResult report = runWvelk({"test", "/I"}, dir.path());
  EXPECT_EQ(report.exitCode, 0) << report.err;
  EXPECT_NE(readFile(dir.file("test.txt")).find("HAUPTABMESSUNGEN"), std::string::npos);

  // CAD: DXF of view 3 and the front view; a device without a writer and a view that does not exist.
  EXPECT_EQ(runWvelk({"test.vlk", "/cad1:3"}, dir.path()).exitCode, 0);
  EXPECT_NE(readFile(dir.file("test.dxf")).find("EOF"), std::string::npos);
  EXPECT_EQ(runWvelk({"test.vlk", "/CAD1:7"}, dir.path()).exitCode, 0);
  EXPECT_NE(readFile(dir.file("test.dxf")).find("LINE"), std::string::npos);
  ProcessResult iges = runWvelk({"test.vlk", "/CAD2:1"}, dir.path());
  EXPECT_EQ(iges.exitCode, 0) << iges.err;
  EXPECT_NE(readFile(dir.file("test.igs")).find("T0000001"), std::string::npos);
  // 9: the production drawing, with its title block.
  ProcessResult production = runWvelk({"test.vlk", "/CAD1:9"}, dir.path());
  EXPECT_EQ(production.exitCode, 0) << production.err;
  EXPECT_NE(readFile(dir.file("test.dxf")).find("Zeichnungsnummer"), std::string::npos);
  ProcessResult none = runWvelk({"test.vlk", "/CAD1:10"}, dir.path());
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_NE(none.err.find("nothing was drawn"), std::string::npos) << none.err;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) {
    std::string name = e.path().filename().string();
    EXPECT_TRUE(name == "test.vlk" || name == "test.dxf" || name == "test.txt" || name == "test.igs") << name;
  }
}

// /SVG:j replays the screen drawing into an SVG picture; /CAD5:j and /SVG:j never write over
// their input file.
TEST(Wvelk, SvgPicturesAndOutputNamesEqualToTheInput) {
  TempDir dir;
  const std::string examples = std::string(VELK_SOURCE_DATA_DIR) + "/examples/";
  std::filesystem::copy_file(examples + "uhrfeder.vlk", dir.file("uhr.vlk"));
  std::filesystem::copy_file(examples + "drahtfeder_dynamisch.vlk", dir.file("draht.vlk"));
  std::vector<std::string> pictures;
  for (const char* spring : {"uhr", "draht"})
    for (int j = 1; j <= 8; ++j) {
      ProcessResult r = runWvelk({std::string(spring) + ".vlk", "/SVG:" + std::to_string(j), "/NOGUI"}, dir.path());
      ASSERT_EQ(r.exitCode, 0) << spring << " " << j << ": " << r.err;
      const std::string name = dir.file(std::string(spring) + std::to_string(j) + ".svg");
      std::filesystem::rename(dir.file(std::string(spring) + ".svg"), name);
      pictures.push_back(name);
    }
  // Every picture parses as XML, is an SVG of the window's size and holds a drawing.
  const std::string python = pythonWithModules({});
  constexpr const char* kCheck = R"(
import sys, xml.etree.ElementTree as ET
for name in sys.argv[1:]:
    root = ET.parse(name).getroot()
    n = sum(1 for e in root.iter() if e.tag.split('}')[1] in ('line', 'path', 'ellipse', 'polygon'))
    t = sum(1 for e in root.iter() if e.tag.endswith('text'))
    print(root.tag.endswith('svg'), int(root.get('width')) > 100, n >= 4, t > 0)
)";
  std::vector<std::string> argv = {python, "-c", kCheck};
  argv.insert(argv.end(), pictures.begin(), pictures.end());
  std::string out;
  ASSERT_EQ(velk::test::runProcess(argv, &out), 0);
  std::string want;
  for (std::size_t i = 0; i < pictures.size(); ++i) want += "True True True True\n";
  EXPECT_EQ(out, want);

  ProcessResult none = runWvelk({"uhr.vlk", "/SVG:0"}, dir.path());
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_NE(none.err.find("nothing was drawn"), std::string::npos);

  std::filesystem::copy_file(dir.file("uhr.vlk"), dir.file("x.txt"));
  std::filesystem::copy_file(dir.file("uhr.vlk"), dir.file("y.svg"));
  const std::string before = readFile(dir.file("x.txt"));
  for (const auto& args :
       std::vector<std::vector<std::string>>{{"x.txt", "/CAD5:1"}, {"x.txt", "/I"}, {"y.svg", "/SVG:1"}}) {
    ProcessResult r = runWvelk(args, dir.path());
    EXPECT_EQ(r.exitCode, 2) << args[1];
    EXPECT_NE(r.err.find("overwrite the input"), std::string::npos) << r.err;
  }
  EXPECT_EQ(readFile(dir.file("x.txt")), before);
  EXPECT_EQ(readFile(dir.file("y.svg")), before);
  // The tab drawing file of another input is written.
  EXPECT_EQ(runWvelk({"uhr.vlk", "/CAD5:7"}, dir.path()).exitCode, 0);
  EXPECT_TRUE(fileExists(dir.file("uhr.txt")));
}

// A velk.cfg beside someone else's springs names a plot command: the batch job neither reads it
// nor starts anything, and says so in one line; the user's own folder is the one read.
TEST(Wvelk, ConfigurationComesOnlyFromTheConfigurationFolder) {
  TempDir dir;
  TempDir config;
  writeFile(dir.file("velk.cfg"), "velk Konfiguration\r\nVersion 3.4\r\n");
  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("uhr.vlk"));
  ProcessResult r = runWvelk({"uhr.vlk", "/I", "/NOGUI"}, dir.path(), {"VELK_CONFIG_DIR=" + config.path()});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "wvelk: " + dir.path() + "velk.cfg wird nicht gelesen; Konfiguration aus " + config.path() + "\n");
  EXPECT_FALSE(fileExists(config.file("velk.cfg"))) << "a batch job never writes the configuration";

  // Without the planted file nothing is said.
  std::remove(dir.file("velk.cfg").c_str());
  r = runWvelk({"uhr.vlk", "/I", "/NOGUI"}, dir.path(), {"VELK_CONFIG_DIR=" + config.path()});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, "");
}

TEST(Wvelk, OutputDoesNotDependOnTheLocale) {
  TempDir dir;
  ProcessResult c = runWvelk({"?"}, dir.path(), {"LC_ALL=C"});
  ProcessResult de = runWvelk({"?"}, dir.path(), {"LC_ALL=de_DE.UTF-8"});
  EXPECT_EQ(c.out, de.out);
  EXPECT_EQ(c.exitCode, de.exitCode);
}

}  // namespace
}  // namespace velk::test

namespace velk::test {
namespace {

// The files of folder (without the input spring), sorted.
std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Command lines as a whole: the files written, the exit code and what stderr says; each in a
// folder of its own holding the spring as "s.vlk".
TEST(WvelkCommandLine, TableOfCommandLines) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> files;  // besides s.vlk
    int exitCode;
    std::vector<std::string> said;  // fragments of stderr
  } cases[] = {
      {{"s.vlk", "/I", "/JSON", "/SVG:7", "/CAD1:7"}, {"s.dxf", "s.json", "s.svg", "s.txt"}, 0, {}},
      {{"s.vlk", "/NOGUI", "/I"}, {"s.txt"}, 0, {}},
      // An unknown switch ends the run before anything is read or written.
      {{"s.vlk", "/JSON", "/NOGUI", "/BOGUS"}, {}, 1, {"unknown switch /BOGUS"}},
      {{"s.vlk", "/svg", "/JSON"}, {}, 1, {"unknown switch /svg"}},
      {{"s.vlk", "/JSONX"}, {}, 1, {"unknown switch /JSONX"}},
      {{"s.vlk", "--frobnicate", "/I"}, {}, 1, {"unknown switch --frobnicate"}},
      // Switches in any letter case, jobs before the file.
      {{"s.vlk", "/cad1:7", "/Json"}, {"s.dxf", "s.json"}, 0, {}},
      {{"/I", "s.vlk"}, {"s.txt"}, 0, {}},
      {{"/I"}, {}, 1, {"no spring file"}},
      // Absolute paths that begin like a switch are spring files (here missing ones).
      {{"s.vlk", "/I", "/pdfs/out.pdf"}, {"s.txt"}, 1, {"/pdfs/out.pdf"}},
      {{"/cadfiles/x.dxf", "/I"}, {}, 1, {"/cadfiles/x.dxf"}},
      // Views out of range write nothing and say so with the switch as typed.
      {{"s.vlk", "/CAD1:0"}, {}, 2, {"/CAD1:0: the view number is out of range (1..9)"}},
      {{"s.vlk", "/CAD1:10"}, {}, 2, {"/CAD1:10: the view number is out of range"}},
      {{"s.vlk", "/CAD2:-1"}, {}, 2, {"/CAD2:-1: the view number is out of range"}},
      {{"s.vlk", "/CAD5:99999999999999999999"}, {}, 2, {"/CAD5:99999999999999999999: the view number is out of range"}},
      {{"s.vlk", "/SVG:0"}, {}, 2, {"/SVG:0: the view number is out of range"}},
      {{"s.vlk", "/SVG:x"}, {}, 2, {"/SVG:x: the view number is out of range"}},
      {{"s.vlk", "/PDF:10"}, {}, 2, {"/PDF:10: the view number is out of range"}},
      {{"s.vlk", "/JSON", "/SVG:0"}, {"s.json"}, 2, {"/SVG:0"}},
      {{"s.vlk", "/SET:t=0,7", "/SET:n0=9", "/JSON"}, {"s.json"}, 0, {}},
      {{"s.vlk", "/JSON", "/SET:dicke=1", "/I"}, {}, 1, {"dicke", "no such input", "valid names", "n0"}},
      {{"s.vlk", "/SET:t=0.3mm", "/JSON"}, {}, 1, {"/SET:t=0.3mm", "not a number"}},
      {{"s.vlk", "/CAD3:1"}, {}, 2, {"device 3", "graphics window"}},
      {{"s.vlk", "/CAD0:1"}, {}, 2, {"device 0", "dialog"}},
      {{"s.vlk", "/CAD9:1"}, {}, 2, {"no device 9", "1 DXF file"}},
      {{"s.vlk", "/JSON", "/CAD9:1"}, {"s.json"}, 2, {"no device 9"}},
      {{"s.vlk", "/E", "/NOGUI"}, {}, 2, {"nothing to do"}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("s.vlk"));
    std::string shown;
    for (const std::string& a : c.args) shown += a + " ";
    const ProcessResult r = runWvelk(c.args, dir.path());
    EXPECT_EQ(r.exitCode, c.exitCode) << shown << r.err;
    std::vector<std::string> expected = c.files;
    expected.push_back("s.vlk");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(filesIn(dir.path()), expected) << shown << r.err;
    for (const std::string& f : c.said)
      EXPECT_NE(r.err.find(f), std::string::npos) << shown << ": " << f << " in " << r.err;
  }
}

TEST(WvelkCommandLine, SetChangesTheCalculatedSpring) {
  TempDir dir;
  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("s.vlk"));
  ASSERT_EQ(runWvelk({"s.vlk", "/SET:t=0,7", "/SET:bemerk1=Studie", "/JSON"}, dir.path()).exitCode, 0);
  const std::string json = readFile(dir.file("s.json"));
  EXPECT_NE(json.find("\"bemerk1\": \"Studie\""), std::string::npos) << json.substr(0, 400);
  const std::size_t t = json.find("\"t\": ");
  ASSERT_NE(t, std::string::npos);
  EXPECT_NEAR(std::stod(json.substr(t + 5, 30)), 0.7, 1e-12);
}

// Input that is no spring file, lines that are no numbers, a FIFO.
TEST(WvelkCommandLine, InputChecks) {
  TempDir dir;
  const std::string good = readFile(kExamples + "uhrfeder.vlk");
  writeFile(dir.file("leer.vlk"), "");
  writeFile(dir.file("bin.vlk"), std::string("\x7f"
                                             "ELF\0\0\0",
                                             7) +
                                     good);
  writeFile(dir.file("kurz.vlk"), good.substr(0, 40));
  for (const char* name : {"leer.vlk", "bin.vlk", "kurz.vlk"}) {
    const ProcessResult r = runWvelk({name, "/JSON"}, dir.path());
    EXPECT_EQ(r.exitCode, 1) << name;
    EXPECT_NE(r.err.find("keine Federdatei"), std::string::npos) << name << r.err;
  }
  ASSERT_EQ(::mkfifo(dir.file("pipe.vlk").c_str(), 0600), 0);
  const ProcessResult fifo = runWvelk({"pipe.vlk", "/JSON"}, dir.path());
  EXPECT_EQ(fifo.exitCode, 1);
  EXPECT_NE(fifo.err.find("keine gewöhnliche Datei"), std::string::npos) << fifo.err;

  // Line 13 holds t: a unit behind the number makes it no number.
  std::string bytes = good;
  std::size_t begin = 0;
  for (int i = 1; i < 13; ++i) begin = bytes.find('\n', begin) + 1;
  const std::size_t end = bytes.find_first_of("\r\n", begin);
  bytes.replace(begin, end - begin, "0.3 mm");
  writeFile(dir.file("mm.vlk"), bytes);
  const ProcessResult mm = runWvelk({"mm.vlk", "/JSON"}, dir.path());
  const std::size_t first = mm.err.find("Zeile 13 keine Zahl: 0.3 mm");
  EXPECT_NE(first, std::string::npos) << mm.err;
  EXPECT_EQ(mm.err.find("keine Zahl", first + 20), std::string::npos) << "said once\n" << mm.err;
  for (const std::string& f : filesIn(dir.path())) EXPECT_NE(f, "leer.json") << "nothing written for a refused input";
}

// Outputs whose permission bits forbid writing stay as they are, also for root.
TEST(WvelkCommandLine, WriteProtectedOutputsAreNotReplaced) {
  for (const auto& [job, output] : std::vector<std::pair<std::string, std::string>>{
           {"/I", "s.txt"}, {"/JSON", "s.json"}, {"/SVG:7", "s.svg"}, {"/CAD1:7", "s.dxf"}, {"/CAD5:1", "s.txt"}}) {
    TempDir dir;
    std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("s.vlk"));
    writeFile(dir.file(output), "alt");
    ::chmod(dir.file(output).c_str(), 0444);
    const ProcessResult r = runWvelk({"s.vlk", job}, dir.path());
    EXPECT_EQ(r.exitCode, 2) << job << r.err;
    EXPECT_NE(r.err.find(output), std::string::npos) << job << r.err;
    EXPECT_EQ(readFile(dir.file(output)), "alt") << job;
  }
}

// A link planted in the folder does not redirect a batch output: one owned by another user, or
// one in a folder others can write, is refused and its target kept.
TEST(WvelkCommandLine, PlantedLinksAreRefused) {
  for (const bool foreignOwner : {true, false}) {
    TempDir dir;
    std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("s.vlk"));
    TempDir other;
    writeFile(other.file("victim"), "victim");
    std::filesystem::create_symlink(other.file("victim"), dir.file("s.json"));
    if (foreignOwner) {
      // Only root can give a link away; others test the shared folder alone.
      if (::geteuid() != 0 || ::lchown(dir.file("s.json").c_str(), 65534, 65534) != 0) continue;
    } else {
      ::chmod(dir.path().c_str(), 0777);
    }
    const ProcessResult r = runWvelk({"s.vlk", "/JSON"}, dir.path());
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_NE(r.err.find("s.json"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("symbolic link"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(other.file("victim")), "victim");
  }
}

// Several spring files: each is read fresh and runs every job; the exit code is the highest.
TEST(WvelkCommandLine, SeveralSpringFilesEachRunEveryJob) {
  TempDir alone;
  std::filesystem::copy_file(kExamples + "drahtfeder_dynamisch.vlk", alone.file("b.vlk"));
  ASSERT_EQ(runWvelk({"b.vlk", "/JSON"}, alone.path()).exitCode, 0);

  TempDir dir;
  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("a.vlk"));
  std::filesystem::copy_file(kExamples + "drahtfeder_dynamisch.vlk", dir.file("b.vlk"));
  // A file whose name looks like an option is a spring file because it exists.
  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("-n.vlk"));
  const ProcessResult r = runWvelk({"/I", "a.vlk", "b.vlk", "/JSON", "-n.vlk"}, dir.path());
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"-n.json", "-n.txt", "-n.vlk", "a.json", "a.txt", "a.vlk",
                                                           "b.json", "b.txt", "b.vlk"}));
  // Nothing of the watch spring reaches the wire spring read after it.
  EXPECT_EQ(readFile(dir.file("b.json")), readFile(alone.file("b.json")));

  // A missing file in between: the others are written, exit 1; a fatal one makes it 2.
  ScriptedUi ui;
  Session ws(ui);
  ws.spring.n0 = 0;
  ws.overwritePrompt = false;
  writeInputFile(ws, dir.file("kaputt.vlk"));
  std::remove(dir.file("a.txt").c_str());
  std::remove(dir.file("b.txt").c_str());
  const ProcessResult missing = runWvelk({"a.vlk", "fehlt.vlk", "b.vlk", "/I"}, dir.path());
  EXPECT_EQ(missing.exitCode, 1) << missing.err;
  EXPECT_TRUE(fileExists(dir.file("a.txt")) && fileExists(dir.file("b.txt")));
  EXPECT_NE(missing.err.find("fehlt.vlk"), std::string::npos) << missing.err;
  EXPECT_EQ(runWvelk({"kaputt.vlk", "fehlt.vlk", "a.vlk", "/I"}, dir.path()).exitCode, 2);
}

// A relative VELK_CONFIG_DIR would make the working folder (someone else's springs) the
// configuration: it is ignored with one line, and the user's own folder is read.
TEST(WvelkCommandLine, RelativeConfigurationFolderIsIgnored) {
  TempDir dir;
  TempDir xdg;
  writeFile(dir.file("velk.cfg"), "velk Konfiguration\r\nVersion 3.4\r\n");
  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("a.vlk"));
  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("b.vlk"));
  for (const char* relative : {".", "./", "cfg"}) {
    const ProcessResult r = runWvelk({"a.vlk", "b.vlk", "/I", "/NOGUI"}, dir.path(),
                                     {std::string("VELK_CONFIG_DIR=") + relative, "XDG_CONFIG_HOME=" + xdg.path()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string own = withSeparator(xdg.path()) + "velk/";
    EXPECT_EQ(r.err, "wvelk: " + dir.path() + "velk.cfg wird nicht gelesen; Konfiguration aus " + own + "\n" +
                         "wvelk: VELK_CONFIG_DIR=" + relative +
                         " is not an absolute folder and is ignored; configuration from " + own + "\n")
        << "each said once for both files";
  }
}

// /CAD4:j draws for the plot program; when that cannot start, nothing was plotted: exit 2.
TEST(WvelkCommandLine, PlotProgramThatCannotStartFails) {
  TempDir dir;
  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("s.vlk"));
  const ProcessResult r = runWvelk({"s.vlk", "/CAD4:7"}, dir.path(), {"PATH=" + dir.path() + "empty"});
  EXPECT_EQ(r.exitCode, 2) << r.err;
  EXPECT_NE(r.err.find("plot program"), std::string::npos) << r.err;
}

// The JSON: schema version, units for every number, numbers only; a fatal result has its inputs
// and messages but no results.
TEST(WvelkCommandLine, JsonSchemaUnitsAndFatalResults) {
  TempDir dir;
  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("ok.vlk"));
  ScriptedUi ui;
  Session ws(ui);
  ws.spring.n0 = 0;
  ws.overwritePrompt = false;
  writeInputFile(ws, dir.file("fatal.vlk"));
  EXPECT_EQ(runWvelk({"ok.vlk", "/JSON"}, dir.path()).exitCode, 0);
  EXPECT_EQ(runWvelk({"fatal.vlk", "/JSON"}, dir.path()).exitCode, 2);
  const std::string python = pythonWithModules({"json"});
  ASSERT_FALSE(python.empty());
  constexpr const char* kCheck = R"(
import json, math, sys
def numbers(o):
    if isinstance(o, dict):
        for v in o.values(): yield from numbers(v)
    elif isinstance(o, list):
        for v in o: yield from numbers(v)
    elif isinstance(o, (int, float)) and not isinstance(o, bool):
        yield o
def strict(x):
    raise ValueError(x)
for name in sys.argv[1:]:
    d = json.load(open(name, encoding='utf-8'), parse_constant=strict)
    s, u = d['spring'], d['units']['spring']
    assert d['schemaVersion'] == 1
    assert all(math.isfinite(x) for x in numbers(d)), name
    selectors = {'crossSection', 'statdyn', 'formi', 'forme', 'matNoFlat', 'matNoRound', 'matSource'}
    assert all(k in u for k, v in s.items() if not isinstance(v, str) and k not in selectors), name
    assert u['t'] == 'mm' and u['alpha1'] == 'degree' and u['sigman'] == 'N/mm^2' and u['cT'] == 'Nmm/degree'
    print(name, d['fatal'], 'sigman' in s, 'cT' in s, 't' in s, len(d['messages']) > 0)
)";
  std::string out;
  ASSERT_EQ(runProcess({python, "-c", kCheck, dir.file("ok.json"), dir.file("fatal.json")}, &out), 0) << out;
  EXPECT_EQ(out, dir.file("ok.json") + " False True True True True\n" + dir.file("fatal.json") +
                     " True False False True True\n");
}

// Names Linux allows: 250 bytes, and a backslash that is part of the name.
TEST(WvelkCommandLine, LongAndBackslashNames) {
  TempDir dir;
  const std::string stem(246, 'f');
  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file(stem + ".vlk"));
  const ProcessResult r = runWvelk({stem + ".vlk", "/JSON"}, dir.path());
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(std::filesystem::exists(dir.file(stem + ".json")));  // 251 bytes

  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("back\\slash.vlk"));
  writeFile(dir.file("slash.txt"), "fremd");
  EXPECT_EQ(runWvelk({"back\\slash.vlk", "/I"}, dir.path()).exitCode, 0);
  EXPECT_TRUE(std::filesystem::exists(dir.file("back\\slash.txt")));
  EXPECT_EQ(readFile(dir.file("slash.txt")), "fremd");
}

}  // namespace
}  // namespace velk::test
