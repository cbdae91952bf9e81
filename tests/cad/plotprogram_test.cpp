// Plot program output: the configuration form's command line, the device dialog's plot steps,
// the question sequence with its batch file, and the start of the plot program (launcher seam:
// no program is ever started here).
#include "cad/plotprogram.h"

#include <sys/stat.h>

#include <cerrno>

#include "graphics/output.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

TEST(PlotForm, CommandLineFromTheControls) {
  struct Case {
    const char* what;
    std::function<void(PlotFormValues&)> set;
    std::string options;  // after "c:\plotrix\ruvoreve /t/plotrix"
  };
  const Case cases[] = {
      {"defaults", [](PlotFormValues&) {}, " /CHPL"},
      {"file interface", [](PlotFormValues& v) { v.outInterface = 3; }, " /CHPL /D3 /F/t/plotrix"},
      {"serial port 2",
       [](PlotFormValues& v) {
         v.outInterface = 1;
         v.com = "2";
         v.lpt = "3";
       },
       " /CHPL /D1 /P3"},
      {"parallel port 3", [](PlotFormValues& v) { v.lpt = "3"; }, " /CHPL /P4"},
      {"fit scale",
       [](PlotFormValues& v) {
         v.fitScale = true;
         v.scale = "2";
       },
       " /CHPL /M*"},
      {"scale 2.5", [](PlotFormValues& v) { v.scale = "2.5"; }, " /CHPL /M2.5"},
      {"everything",
       [](PlotFormValues& v) {
         v.outcode = 2;
         v.xnull = "-4";
         v.ynull = "7.5";
         v.textWidth = "0.8";
         v.rotate = true;
         v.psFont = "Courier";
       },
       " /CPS /X-4 /Y7.5 /B0.8 /R /TCourier"},
      {"Aristo, unchanged numbers",
       [](PlotFormValues& v) {
         v.outcode = 5;
         v.scale = "1.0";
         v.xnull = "0,0";
       },
       " /CART"},
  };
  for (const Case& c : cases) {
    PlotFormValues v;
    v.outdir = "/t";
    c.set(v);
    EXPECT_EQ(PlotFormCommandLine(v), "c:\\plotrix\\ruvoreve /t/plotrix" + c.options) << c.what;
  }
  PlotFormValues spaced;
  spaced.outdir = "/my temp/";
  spaced.plotrixPath = "/opt/plot rix/ruvoreve";
  EXPECT_EQ(PlotFormCommandLine(spaced), "\"/opt/plot rix/ruvoreve\" \"/my temp/plotrix\" /CHPL");
  EXPECT_EQ(splitCommandLine(PlotFormCommandLine(spaced)),
            (std::vector<std::string>{"/opt/plot rix/ruvoreve", "/my temp/plotrix", "/CHPL"}));
  EXPECT_EQ(PostScriptFonts().size(), 35u);
  EXPECT_EQ(PostScriptFonts().back(), "andere Schriften");
}

class PlotTest : public SessionTest {
 protected:
  PlotTest() {
    ws.config.tempDir = dir.path();
    ws.start.startDir = dir.path();
    ws.programs.hook = [this](const std::vector<std::string>& argv) {
      started.push_back(argv);
      return startResult;
    };
  }
  void drawSomething() {
    Window(ws.drawing, 0, 0, 10, 10);
    Tables(ws.drawing, DrawingKind::Drawing);
    BeginEntities(ws.drawing, ws.diag);
    Line(ws.drawing, 0, 0, 1, 1);
    EndEntities(ws.drawing);
    FinishDrawing(ws);
  }
  std::vector<std::string> prompts() const {
    std::vector<std::string> out;
    for (const Request& r : ui.requests()) out.push_back(u8(r.prompt));
    return out;
  }
  std::vector<std::vector<std::string>> started;
  int startResult = 0;
};

TEST_F(PlotTest, DeviceDialogChoosesEditsAndStartsTheLine) {
  ws.config.plotCommandLineCount = 2;
  ws.config.plotCommandLines = {"C:\\PLOTRIX\\RUVOREVE PLOTRIX.DXF /M1.0", std::string(80, 'z')};
  const std::string temp = dir.path();
  const std::string shown = "c:\\plotrix\\ruvoreve " + temp + "plotrix /CHPL /D3 /F" + temp + "plotrix /M2.5";
  // The form: interface "Datei" and scale 2.5.
  const Answer form = Answer::Acting<PlotFormRequest>([](const PlotFormRequest& q) {
    PlotFormResult typed{q.values, true};
    typed.values.outInterface = 3;
    typed.values.scale = "2.5";
    return typed;
  });
  ui.script({Answer::Choice(4), Answer::Choice(2), form, Answer::Text(shown)});
  OpenDrawing(ws, DeviceCode::Ask);
  ASSERT_FALSE(ws.abort);
  drawSomething();
  ASSERT_FALSE(ws.abort);

  const auto& r = ui.requests();
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[1].prompt, "PLOTRIX Command Line");
  EXPECT_EQ(r[1].helpNumber, 2055);
  EXPECT_EQ(r[1].items, (std::vector<std::string>{"C:\\PLOTRIX\\RUVOREVE PLOTRIX.DXF /M1.0", std::string(65, 'z')}));
  EXPECT_EQ(r[2].kind, Request::Kind::PlotForm);
  EXPECT_EQ(r[2].prompt, "c:\\plotrix\\ruvoreve " + temp + "plotrix /CHPL");  // the form's start values
  EXPECT_EQ(r[3].prompt, "PLOTRIX-Kommandozeile (0=Parameter)");
  EXPECT_EQ(r[3].helpNumber, 2060);
  EXPECT_EQ(r[3].offered, shown);  // a line longer than 60 is shown whole, never cut
  EXPECT_EQ(r[3].maxLength, static_cast<int>(shown.size()));
  EXPECT_EQ(ws.plotCommandLine, 2);
  EXPECT_EQ(ws.config.plotCommandLines[1], shown);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0], (std::vector<std::string>{"c:\\plotrix\\ruvoreve", temp + "plotrix", "/CHPL", "/D3",
                                                  "/F" + temp + "plotrix", "/M2.5"}));
  EXPECT_NE(readFile(temp + "plotrix.dxf").find("EOF"), std::string::npos);
}

TEST_F(PlotTest, CancelOrEmptyEntryThenCancelProducesNothing) {
  ws.config.plotCommandLines[0] = "old line";
  // Cancel in the form.
  ui.script({Answer::Choice(4), Answer::Cancel()});
  OpenDrawing(ws, DeviceCode::Ask);
  EXPECT_TRUE(ws.abort);
  // An empty entry runs the question sequence, which is cancelled at its first step.
  ws.abort = false;
  ui.script({Answer::Choice(4), Answer::Yes(), Answer::Text(""), Answer::Cancel()});
  OpenDrawing(ws, DeviceCode::Ask);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ui.requests().back().prompt, "PLOTRIX/RUVOREVE");
  drawSomething();
  EXPECT_EQ(ws.config.plotCommandLines[0], "old line");
  EXPECT_TRUE(started.empty());
  EXPECT_FALSE(fileExists(dir.file("plotrix.dxf")));
}

TEST_F(PlotTest, QuestionSequenceWritesABatchFileForALongLine) {
  const ShortTempDir shortDir;  // the program folder entry takes 40 characters
  const std::string prog = shortDir.file("prog");
  std::filesystem::create_directory(prog);
  writeFile(prog + "/ruvoreve", "");
  int faults = 1;
  ws.io.writeFault = [&faults](std::string_view) { return faults-- > 0 ? EACCES : 0; };
  std::string line = "0";
  ui.script({Answer::Choice(1), Answer::Text("/nonexistent"), Answer::Text(prog), Answer::Choice(2), Answer::Choice(1),
             Answer::Text("2"), Answer::Text("2.5"), Answer::Yes(), Answer::Text("-3"), Answer::Text("0"),
             Answer::Text("1"), Answer::Text("Courier"), Answer::Text("plot.x"), Answer::Text("plot"),
             Answer::Text("plot")});
  AskPlotParameters(ws, line, 0);
  ASSERT_FALSE(ws.abort);
  EXPECT_EQ(prompts(),
            (std::vector<std::string>{
                "PLOTRIX/RUVOREVE", "Programmverzeichnis von ruvoreve.exe", "Programmverzeichnis von ruvoreve.exe",
                "Ausgabeformat", "Ausgabeschnittstelle", "COM-Port", "Maßstab (0=anpassen)", "Plot um 90 Grad drehen ?",
                "Nullpunktverschiebung in x-Richtung", "Nullpunktverschiebung in y-Richtung", "Textbreitenfaktor",
                "Postscript-Zeichensatz", "Kommandozeile zu lang, Es wird eine Batch-Datei erzeugt.",
                "Name der Batch-Datei (ohne .bat)", "Name der Batch-Datei (ohne .bat)",
                "Datei plot.BAT kann nicht angelegt werden", "Name der Batch-Datei (ohne .bat)"}));
  EXPECT_EQ(ui.requests()[3].items, (std::vector<std::string>{"HP-GL Laserjet (HPL)", "Postscript  (PS)", "HP-GL (PLT)",
                                                              "HP-GL/2  (PL2)", "Aristo  (ART)"}));
  EXPECT_EQ(ui.requests()[13].offered, "velk");  // the batch name starts as the program's short name
  const std::string bat = dir.file("plot.BAT");
  EXPECT_EQ(line, bat);
  EXPECT_EQ(readFile(bat), "#!/bin/sh\nexec '" + prog + "/ruvoreve' '" + dir.path() +
                               "plotrix' '/CPS' '/D1' '/P2' '/M2.5' '/X-3' '/R' '/TCourier'\n");
  struct stat st {};
  ASSERT_EQ(::stat(bat.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u);
  EXPECT_EQ(PlotBatchScript("a 'b c' \"d'e\""), "#!/bin/sh\nexec 'a' 'b c' 'd'\\''e'\n");
}

TEST_F(PlotTest, BatchQuestionStartsAt61Characters) {
  const ShortTempDir shortDir;  // the program folder entry takes 40 characters
  const std::string prog = shortDir.file("prog");
  std::filesystem::create_directory(prog);
  writeFile(prog + "/PLOTRIX.EXE", "");  // found whatever its case; the line names it as stored
  for (size_t length : {60u, 61u}) {
    // program path, blank, temp folder + "plotrix", " /CHPL"
    const size_t fixed = prog.size() + 12 + 1 + 2 + 7 + 6;
    ws.config.tempDir = "/" + std::string(length - fixed, 't') + "/";
    std::string line = "keep";
    ui.clearRequests();
    ui.script({Answer::Choice(2), Answer::Text(prog), Answer::Choice(1), Answer::Choice(2), Answer::Text("1"),
               Answer::Text("1"), Answer::No(), Answer::Text("0"), Answer::Text("0"), Answer::Text("1")});
    if (length == 61) ui.push(Answer::Cancel());
    AskPlotParameters(ws, line, 0);
    if (length == 60) {
      EXPECT_FALSE(ws.abort);
      EXPECT_EQ(line, prog + "/PLOTRIX.EXE " + ws.config.tempDir + "plotrix /CHPL");
      EXPECT_EQ(line.size(), 60u);
    } else {
      EXPECT_TRUE(ws.abort);
      EXPECT_EQ(line, "keep");
      EXPECT_EQ(u8(ui.requests().back().prompt), "Name der Batch-Datei (ohne .bat)");
    }
  }
}

TEST_F(PlotTest, StartOfThePlotProgramAndItsErrors) {
  // Batch mode: no device dialog, the current (configured) line is started after the DXF file.
  ws.config.plotCommandLines[0] = "C:\\PLOTRIX\\RUVOREVE PLOTRIX.DXF /M1.0";
  OpenDrawing(ws, DeviceCode::Plot);
  ASSERT_FALSE(ws.abort);
  drawSomething();
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0], (std::vector<std::string>{"C:\\PLOTRIX\\RUVOREVE", "PLOTRIX.DXF", "/M1.0"}));

  struct Case {
    int err;
    const char* message;
  };
  const Case cases[] = {{ENOMEM, "out of memory !"}, {ENOENT, "file not found"}, {EACCES, "Exec error 5"},
                        {ENOEXEC, "Exec error 11"},  {EIO, "Exec error 31"},     {0, nullptr}};
  for (const Case& c : cases) {
    ui.clearRequests();
    startResult = c.err;
    EXPECT_EQ(RunPlotCommandLine(ws), c.err);
    const auto errors = ui.messages(MessageKind::Error);
    if (c.message) {
      ASSERT_EQ(errors.size(), 1u) << c.err;
      EXPECT_EQ(errors[0], c.message);
    } else {
      EXPECT_TRUE(errors.empty());
    }
  }
  // An empty line starts nothing: "file not found".
  ui.clearRequests();
  ws.config.plotCommandLines[0].clear();
  EXPECT_EQ(RunPlotCommandLine(ws), ENOENT);
  EXPECT_EQ(ui.messages(MessageKind::Error), (std::vector<std::string>{"file not found"}));
  // A DXF file that cannot be written starts nothing.
  started.clear();
  ws.config.plotCommandLines[0] = "plot";
  OpenDrawing(ws, DeviceCode::Plot);
  ws.io.writeFault = [](std::string_view) { return ENOSPC; };
  drawSomething();
  EXPECT_TRUE(ws.abort);
  EXPECT_TRUE(started.empty());
}

}  // namespace
}  // namespace velk::test
