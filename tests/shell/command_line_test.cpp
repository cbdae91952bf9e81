// The command-line procedure: help, refusals, batch preparation, windowed starts.
#include "commands/springfile.h"
#include "data/inputfile.h"
#include "shell/startup.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

class CommandLineTest : public SessionTest {
 protected:
  CommandLineTest() {
    ws.start.startDir = dir.path();
    ws.start.configDir = dir.path();
    ws.programData = dir.path();
  }
  StartOutcome run(std::vector<std::string> args) { return runCommandLine(ws, args); }
  std::string springFile(const std::string& name) {
    ws.spring.b = 33;
    writeInputFile(ws, dir.file(name));
    EXPECT_FALSE(ws.abort);
    resetToStartValues(ws.spring);
    return dir.file(name);
  }
};

TEST_F(CommandLineTest, HelpTextHas28LinesAndEndsTheProcess) {
  for (auto args : {std::vector<std::string>{"?"}, {"/?", "x.vlk", "/I"}}) {
    ui.clearRequests();
    StartOutcome out = run(args);
    EXPECT_EQ(out.kind, StartOutcome::Kind::Exit);
    EXPECT_EQ(out.exitCode, 0);
    ASSERT_EQ(ui.requests().size(), 1u);
    const Request& r = ui.requests()[0];
    EXPECT_EQ(r.kind, Request::Kind::TextWindow);
    EXPECT_EQ(r.caption, "VELK");
    ASSERT_EQ(r.items.size(), 28u);
    EXPECT_EQ(r.items[0], "VELK Command Line Mode");
    EXPECT_EQ(r.items[2], "wvelk Filename... [/I] [/CADi:j] [/SET:n=v]... [/NOGUI]");
    EXPECT_EQ(r.items[7], "            i: 1=DXF, 2=IGS, 4=plot program, 5=TXT");
    EXPECT_EQ(r.items[12], "/JSON    -> JSON file");
    EXPECT_EQ(r.items[13], "/XLSX    -> XLSX report workbook");
    EXPECT_EQ(r.items[14], "/STEP    -> STEP 3D model (mm, unloaded)");
    EXPECT_EQ(r.items[20], "Note: /I and /CAD5:j both write Filename.txt");
    EXPECT_EQ(r.items[23], "Example: wvelk test.vlk             ->  GUI");
    EXPECT_EQ(r.items[26], "Example: wvelk *.vlk /JSON         ->  one .json each");
    EXPECT_EQ(r.items[27], "");
    for (const std::string& l : r.items) EXPECT_LE(l.size(), 65u) << l;
  }
}

TEST_F(CommandLineTest, WindowedStartWithoutExtensionIsRefused) {
  StartOutcome out = run({"test"});
  EXPECT_EQ(out.kind, StartOutcome::Kind::Exit);
  EXPECT_EQ(out.exitCode, 0);
  EXPECT_EQ(u8(ui.messages(MessageKind::Error).at(0)), "Erweiterung .vlk muß mit angegeben werden");
}

TEST_F(CommandLineTest, TextBatchJobReadsTheFileWithoutExtension) {
  std::string path = springFile("test.vlk");
  StartOutcome out = run({dir.file("test"), "/I", "/nogui"});
  EXPECT_EQ(out.kind, StartOutcome::Kind::BatchJobs);
  EXPECT_EQ(out.jobs, std::vector<std::string>{"/I"});
  EXPECT_TRUE(out.noGui);
  EXPECT_EQ(ws.spring.b, 33);
  EXPECT_EQ(ws.spring.fileName, "test") << "bare name for the report file";
}

TEST_F(CommandLineTest, BatchJobOnMissingFileExitsWithOne) {
  for (const char* sw : {"/I", "/CAD1:1"}) {
    StartOutcome out = run({dir.file("fehlt.vlk"), sw});
    EXPECT_EQ(out.kind, StartOutcome::Kind::Exit);
    EXPECT_EQ(out.exitCode, 1) << sw;
  }
}

TEST_F(CommandLineTest, CadArgumentIsParsedByPosition) {
  struct Case {
    const char* arg;
    int device, view;
  } cases[] = {{"/CAD1:3", 1, 3}, {"/cad1:3", 1, 3}, {"/CAD11:1", 1, 1}, {"/CAD1:9", 1, 9},
               {"/CADx:y", 0, 0}, {"/CAD", 0, 0},    {"/CAD5:12", 5, 12}};
  for (const Case& c : cases) {
    int i = -1, j = -1;
    parseCadArgument(c.arg, i, j);
    EXPECT_EQ(i, c.device) << c.arg;
    EXPECT_EQ(j, c.view) << c.arg;
  }
  springFile("t.vlk");
  StartOutcome out = run({dir.file("t.vlk"), "/cad2:5"});
  EXPECT_EQ(out.kind, StartOutcome::Kind::BatchJobs);
  EXPECT_EQ(out.jobs, std::vector<std::string>{"/cad2:5"});
}

TEST_F(CommandLineTest, NoArgumentsOpensTheWindowWithStartValues) {
  StartOutcome out = run({});
  EXPECT_EQ(out.kind, StartOutcome::Kind::OpenWindow);
  EXPECT_TRUE(ws.spring.fileName.empty());
  EXPECT_EQ(ws.spring.b, 20);
  EXPECT_FALSE(ws.spring.modified);
}

TEST_F(CommandLineTest, GSwitchOpensWindowAndLoadsTheTemplateNotTheFile) {
  springFile("null.vlk");  // b = 33 in the template
  ws.spring.b = 20;
  StartOutcome out = run({dir.file("other.vlk"), "/G"});
  EXPECT_EQ(out.kind, StartOutcome::Kind::OpenWindow);
  EXPECT_EQ(ws.spring.b, 33);
  EXPECT_TRUE(ws.spring.fileName.empty());
}

TEST_F(CommandLineTest, WindowedStartLoadsTheNamedFile) {
  std::string path = springFile("feder.vlk");
  StartOutcome out = run({path});
  EXPECT_EQ(out.kind, StartOutcome::Kind::OpenWindow);
  EXPECT_EQ(ws.spring.b, 33);
  EXPECT_TRUE(ws.start.startedWithFile);
  EXPECT_EQ(ws.spring.fileName, path);
  EXPECT_TRUE(ws.errorMessagesEnabled);
}

TEST_F(CommandLineTest, WindowedStartWithANewNameKeepsStartValues) {
  StartOutcome out = run({dir.file("neu.vlk")});
  EXPECT_EQ(out.kind, StartOutcome::Kind::OpenWindow);
  EXPECT_EQ(ws.spring.fileName, dir.file("neu.vlk"));
  EXPECT_FALSE(fileExists(dir.file("neu.vlk"))) << "the creation test leaves nothing behind";
}

TEST_F(CommandLineTest, UserDirectoryPrompt) {
  ws.config.askUserDir = true;
  std::filesystem::create_directory(dir.file("mk"));
  ui.script({Answer::Text("mk")});
  EXPECT_EQ(run({}).kind, StartOutcome::Kind::OpenWindow);
  EXPECT_EQ(ws.spring.dataDir, dir.path() + "mk");

  for (const char* bad : {"", "..", "c:x", "fehlt"}) {
    ui.clearRequests();
    ui.script({Answer::Text(bad)});
    StartOutcome out = run({});
    EXPECT_EQ(out.kind, StartOutcome::Kind::Exit) << bad;
    EXPECT_EQ(u8(ui.messages(MessageKind::Error).back()), std::string("Ungültiges Passwort ") + bad + " !");
  }
  ui.script({Answer::Cancel()});
  EXPECT_EQ(run({}).kind, StartOutcome::Kind::Exit);
}

TEST(BareName, StripsFolderAndExtension) {
  EXPECT_EQ(bareName("/a/b/test.vlk"), "test");
  EXPECT_EQ(bareName("test"), "test");
  EXPECT_EQ(bareName("a.b/c"), "c");
  EXPECT_EQ(bareName("x.y.vlk"), "x.y");
}

}  // namespace
}  // namespace velk::test

namespace velk::test {
namespace {

// The whole argument vector: files and jobs in their order, switches anywhere and only as whole
// words, absolute paths never switches, the rest refused.
TEST(CommandLineParse, TableOfCommandLines) {
  using V = std::vector<std::string>;
  struct Case {
    V args;
    V files;
    V jobs;
    bool noGui, batch;
    std::size_t settings, notes, errors;
  } cases[] = {
      {{}, {}, {}, false, false, 0, 0, 0},
      {{"s.vlk"}, {"s.vlk"}, {}, false, false, 0, 0, 0},
      {{"s.vlk", "/E"}, {"s.vlk"}, {}, false, false, 0, 0, 0},
      {{"s.vlk", "/g"}, {"s.vlk"}, {}, false, false, 0, 0, 0},
      {{"s.vlk", "/G", "/I"}, {"s.vlk"}, {"/I"}, false, false, 0, 0, 0},
      {{"s.vlk", "/E", "/NOGUI"}, {"s.vlk"}, {}, true, true, 0, 0, 0},
      {{"s.vlk", "/I"}, {"s.vlk"}, {"/I"}, false, true, 0, 0, 0},
      {{"/I", "s.vlk"}, {"s.vlk"}, {"/I"}, false, true, 0, 0, 0},
      {{"a.vlk", "b.vlk", "/i"}, {"a.vlk", "b.vlk"}, {"/i"}, false, true, 0, 0, 0},
      {{"s.vlk", "/NOGUI", "/I"}, {"s.vlk"}, {"/I"}, true, true, 0, 0, 0},
      {{"s.vlk", "/I", "/JSON", "/SVG:7", "/CAD1:7"},
       {"s.vlk"},
       {"/I", "/JSON", "/SVG:7", "/CAD1:7"},
       false,
       true,
       0,
       0,
       0},
      {{"s.vlk", "/cad1:7", "/Json", "/svg:x", "/pdf:10", "/CAD5:99999999999999999999"},
       {"s.vlk"},
       {"/cad1:7", "/Json", "/svg:x", "/pdf:10", "/CAD5:99999999999999999999"},
       false,
       true,
       0,
       0,
       0},
      {{"s.vlk", "/SET:t=0.7", "/json", "/SET:n0=9"}, {"s.vlk"}, {"/json"}, false, true, 2, 0, 0},
      {{"s.vlk", "/SET:bemerk1=Serie 2/3", "/JSON"}, {"s.vlk"}, {"/JSON"}, false, true, 1, 0, 0},
      {{"s.vlk", "/SET:t", "/I"}, {"s.vlk"}, {"/I"}, false, true, 1, 1, 0},
      {{"s.vlk", "/PDF:1", "/cad5:2"}, {"s.vlk"}, {"/PDF:1", "/cad5:2"}, false, true, 0, 0, 0},
      // Absolute paths that begin like a switch are files.
      {{"/pdfs/out.pdf", "/I"}, {"/pdfs/out.pdf"}, {"/I"}, false, true, 0, 0, 0},
      {{"s.vlk", "/cadfiles/x.dxf", "/svg/a.vlk", "/I"},
       {"s.vlk", "/cadfiles/x.dxf", "/svg/a.vlk"},
       {"/I"},
       false,
       true,
       0,
       0,
       0},
      // Unknown switches, prefixes of switches and words that only begin like one.
      {{"s.vlk", "/I", "/XYZ"}, {"s.vlk"}, {"/I"}, false, false, 0, 0, 1},
      {{"s.vlk", "/Info"}, {"s.vlk"}, {}, false, false, 0, 0, 1},
      {{"s.vlk", "/JSONX"}, {"s.vlk"}, {}, false, false, 0, 0, 1},
      {{"s.vlk", "/CAD", "/cadfiles", "/SVG", "/svg7", "/PD", "/PDF1", "/CAD:1", "/NOGU"},
       {"s.vlk"},
       {},
       false,
       false,
       0,
       0,
       8},
      {{"s.vlk", "--bogus", "-x", "/JSON"}, {"s.vlk"}, {"/JSON"}, false, false, 0, 0, 2},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.args) shown += a + " ";
    const CommandLine cl = parseCommandLine(c.args);
    EXPECT_EQ(cl.files, c.files) << shown;
    EXPECT_EQ(cl.jobs, c.jobs) << shown;
    EXPECT_EQ(cl.noGui, c.noGui) << shown;
    EXPECT_EQ(isBatchCommandLine(cl), c.batch) << shown;
    EXPECT_EQ(cl.settings.size(), c.settings) << shown;
    EXPECT_EQ(cl.notes.size(), c.notes) << shown;
    EXPECT_EQ(cl.errors.size(), c.errors) << shown;
    EXPECT_FALSE(cl.help || cl.version) << shown;
  }
  // Help and version, wherever they stand; "?" only first (later it may name a file).
  struct Ask {
    V args;
    bool help, onStdout, version, noGui;
  } asks[] = {
      {{"?"}, true, false, false, false},           {{"/?", "s.vlk", "/I"}, true, false, false, false},
      {{"s.vlk", "/?"}, true, false, false, false}, {{"?", "/NOGUI"}, true, false, false, true},
      {{"--help"}, true, true, false, false},       {{"s.vlk", "-h"}, true, true, false, false},
      {{"--version"}, false, false, true, false},   {{"s.vlk", "?"}, false, false, false, false},
  };
  for (const Ask& a : asks) {
    const CommandLine cl = parseCommandLine(a.args);
    EXPECT_EQ(cl.help, a.help) << a.args.back();
    EXPECT_EQ(cl.helpOnStdout, a.onStdout) << a.args.back();
    EXPECT_EQ(cl.version, a.version) << a.args.back();
    EXPECT_EQ(cl.noGui, a.noGui) << a.args.back();
    EXPECT_FALSE(isBatchCommandLine(cl)) << a.args.back();
  }
}

// An existing file is a file name whatever it looks like; commandLineForFile keeps every job.
TEST(CommandLineParse, ExistingFilesAndOneFileAtATime) {
  TempDir dir;
  writeFile(dir.file("-n.vlk"), "");
  const std::string existing = dir.file("-n.vlk");
  const CommandLine cl = parseCommandLine({existing, "/I", "b.vlk", "/SET:t=1", "/NOGUI"});
  EXPECT_EQ(cl.files, (std::vector<std::string>{existing, "b.vlk"}));
  const CommandLine second = commandLineForFile(cl, 1);
  EXPECT_EQ(second.files, std::vector<std::string>{"b.vlk"});
  EXPECT_EQ(second.jobs, std::vector<std::string>{"/I"});
  EXPECT_EQ(second.settings.size(), 1u);
  EXPECT_TRUE(second.noGui);
}

}  // namespace
}  // namespace velk::test
