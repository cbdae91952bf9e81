// The Edit, View, CAD, print, configuration, documentation, spreadsheet and help commands of the
// main window on a shipped example spring, driven through the scripted UI.
#include "commands/menucommands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "calc/calculate.h"
#include "commands/springfile.h"
#include "dialogs/configform.h"
#include "dialogs/configio.h"
#include "dialogs/inputforms.h"
#include "draw/displaylist.h"
#include "report/reportwriter.h"
#include "reportui/printconfig.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

using Kind = Request::Kind;

const std::string kExamples = std::string(VELK_SOURCE_DATA_DIR) + "/examples/";

// Counts what a replay draws.
class CountingCanvas : public Canvas {
 public:
  int marks = 0;
  void setPenColor(uint32_t) override {}
  void setBrushColor(uint32_t) override {}
  void setTextColor(uint32_t) override {}
  void setPenStyle(int) override {}
  void setPenWidth(int) override {}
  void moveTo(int, int) override {}
  void lineTo(int, int) override { ++marks; }
  void line(int, int, int, int) override { ++marks; }
  void ellipse(int, int, int, int) override { ++marks; }
  void arc(int, int, int, int, int, int, int, int) override { ++marks; }
  void polygon(const int*, int) override { ++marks; }
  void text(int, int, const std::string&, const FontSpec&) override { ++marks; }
};

// A loaded example (flat strip "uhrfeder"), material tables copied into a folder of the test,
// the window empty, nothing modified and nothing asked yet.
class MenuCommands : public SessionTest {
 protected:
  MenuCommands() {
    for (const char* name : {"velkwst.dbf", "talmwst.dbf"})
      std::filesystem::copy_file(std::string(VELK_SOURCE_DATA_DIR) + "/" + name, tables.file(name));
    ws.config.dbfDir = tables.path();
    ws.config.tempDir = temp.path();
    ws.start.configDir = dir.path();
    readInputFile(ws, kExamples + "uhrfeder.vlk");
    EXPECT_FALSE(ws.abort);
    EXPECT_EQ(ws.spring.crossSection, 1);
    EXPECT_FALSE(ws.messages.fatal);
    ws.spring.modified = false;
    ClearDisplay(ws.display);
    ui.clearRequests();
  }

  // Every calculation writes cT; a mark shows whether one ran.
  void markResults() { ws.spring.cT = -1; }
  bool calculated() const { return ws.spring.cT != -1; }
  bool drawn() const { return !ws.display.records.empty(); }
  int count(Kind kind) const {
    int n = 0;
    for (const Request& r : ui.requests()) n += r.kind == kind;
    return n;
  }

  TempDir tables;
  TempDir temp;
};

// ---- Edit ----

TEST_F(MenuCommands, EditCommandsFollowTheirPattern) {
  struct Case {
    const char* name;
    void (*command)(Session&);
    std::function<std::vector<Answer>(Session&)> answers;
    bool abort, modified, calc, drawn;
  };
  const auto ends = [](Session& s) {
    return std::vector<Answer>{Answer::With(buildSpringEndsRequest(s.spring, s.config.num, {}).controls)};
  };
  const auto application = [](Session& s) {
    return std::vector<Answer>{Answer::With(buildApplicationRequest(s.spring, s.config.num, {}).controls)};
  };
  const auto just = [](std::vector<Answer> a) { return [a](Session&) { return a; }; };
  const Case cases[] = {
      {"text ok", EditText, just({Answer::With(SpringTextsResult{"Neu", "", "N-1", "", ""})}), false, true, false,
       false},
      {"text cancel", EditText, just({Answer::Cancel()}), true, false, false, false},
      {"ends ok", EditSpringEnds, ends, false, true, true, true},
      {"ends cancel still calculates", EditSpringEnds, just({Answer::Cancel()}), true, false, true, true},
      {"application ok", EditApplication, application, false, true, true, true},
      {"application cancel still calculates", EditApplication, just({Answer::Cancel()}), true, false, true, true},
      {"material ok", EditMaterial, just({Answer::Choice(5)}), false, true, true, true},
      {"material cancel", EditMaterial, just({Answer::Cancel()}), true, false, false, false},
      {"recalculation", EditRecalculation, just({Answer::Online({}, OnlineClose::Close)}), false, true, true, true},
      {"dimensioning", EditDimensioning, just({Answer::Online({}, OnlineClose::Close)}), false, true, true, true},
      {"calculation settings unchanged", EditCalculation, just({Answer::With(CalcSettingsResult{0, 0})}), false, true,
       false, false},
      {"calculation settings cancel", EditCalculation, just({Answer::Cancel()}), true, false, false, false},
      {"quick cancelled in its first form", EditQuick, just({Answer::Cancel()}), true, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    readInputFile(ws, kExamples + "uhrfeder.vlk");
    ws.spring.modified = false;
    ClearDisplay(ws.display);
    markResults();
    ws.abort = true;  // left over from an earlier command: every command clears it first
    for (Answer& a : c.answers(ws)) ui.push(std::move(a));
    c.command(ws);
    EXPECT_EQ(ws.abort, c.abort);
    EXPECT_EQ(ws.spring.modified, c.modified);
    EXPECT_EQ(calculated(), c.calc);
    EXPECT_EQ(drawn(), c.drawn);
    EXPECT_TRUE(ui.scriptDone());
  }
}

TEST_F(MenuCommands, FormResultsReachTheSpring) {
  SpringEndsResult bent = buildSpringEndsRequest(ws.spring, ws.config.num, {}).controls;
  bent.formiIndex = 1;
  bent.li = "12";
  bent.ri = "3";
  ui.script({Answer::With(bent)});
  EditSpringEnds(ws);
  EXPECT_EQ(ws.spring.formi, 2);
  EXPECT_EQ(ws.spring.li, 12);
  EXPECT_EQ(ws.spring.rbi, 3);
  ASSERT_EQ(ui.shown<SpringEndsRequest>().size(), 1u);
  EXPECT_EQ(ui.shown<SpringEndsRequest>()[0].helpNumber, 9060);

  ApplicationResult dynamic = buildApplicationRequest(ws.spring, ws.config.num, {}).controls;
  dynamic.statdynIndex = 1;
  dynamic.freq = "4";
  ui.script({Answer::With(dynamic)});
  EditApplication(ws);
  EXPECT_EQ(ws.spring.statdyn, 2);
  EXPECT_EQ(ws.spring.freq, 4);
}

TEST_F(MenuCommands, ChangedCrossSectionAsksForAMaterialOfTheNewOne) {
  markResults();
  ui.script({Answer::With(CalcSettingsResult{1, 0}), Answer::Choice(1)});
  EditCalculation(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(ws.spring.crossSection, 2);
  ASSERT_EQ(count(Kind::Browse), 1);
  for (const Request& r : ui.requests()) {
    if (r.kind == Kind::Browse) {
      EXPECT_NE(lower(r.offered).find("talmwst"), std::string::npos) << r.offered;
    }
  }
  EXPECT_EQ(ws.spring.matNoRound, 1);
  EXPECT_TRUE(calculated());
  EXPECT_TRUE(drawn());
  EXPECT_TRUE(ws.spring.modified);
}

TEST_F(MenuCommands, CancelledMaterialKeepsTheCrossSection) {
  const std::string material = ws.spring.matName;
  markResults();
  ui.script({Answer::With(CalcSettingsResult{1, 0}), Answer::Cancel()});
  EditCalculation(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ws.spring.crossSection, 1) << "a strip material under a wire cross-section";
  EXPECT_EQ(ws.spring.matName, material);
  EXPECT_FALSE(ws.spring.modified);
  EXPECT_FALSE(calculated());
}

TEST_F(MenuCommands, DesignModeWithoutMaterialDataChoosesOneFirst) {
  ws.spring.sigman = 0;
  ui.script({Answer::Cancel()});
  EditRecalculation(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(count(Kind::Browse), 1);
  EXPECT_EQ(count(Kind::Online), 0) << "no table without material";
  EXPECT_FALSE(ws.spring.modified);

  ui.clearRequests();
  ws.spring.sigman = 0;
  ui.script({Answer::Choice(5), Answer::Online({}, OnlineClose::Close)});
  EditRecalculation(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(ws.spring.matNoFlat, 5);
  EXPECT_GT(ws.spring.sigman, 1);
  EXPECT_EQ(count(Kind::Online), 1);
  EXPECT_TRUE(ws.spring.modified);
}

TEST_F(MenuCommands, FatalDesignPassDrawsNoQuickViewOverTheTable) {
  // Pass 1 draws the quick view; pass 2 (t = 0) ends fatally and draws nothing, so the message
  // window does not open over the table. After the table the refresh shows it once.
  ui.script({Answer::Online({{2, "0"}}), Answer::Online({}, OnlineClose::Close), Answer::Cancel()});
  EditRecalculation(ws);
  EXPECT_TRUE(ws.messages.fatal);
  EXPECT_EQ(count(Kind::Online), 2);
  EXPECT_EQ(count(Kind::Radio), 1);
  EXPECT_EQ(ui.requests().back().kind, Kind::Radio);
  EXPECT_TRUE(ws.spring.modified);
}

// ---- View and CAD ----

TEST_F(MenuCommands, ViewCommandsDrawIntoTheWindow) {
  struct Case {
    const char* name;
    void (*command)(Session&);
    std::vector<Answer> answers;
  };
  const Case cases[] = {
      {"quick 1", ViewQuick1, {}},
      {"quick 2", ViewQuick2, {}},
      {"characteristic", ViewCharLine, {}},
      {"goodman", ViewGoodman, {}},
      {"haigh-goodman", ViewHaighGoodman, {}},
      {"Rm = f(t)", ViewRmT, {}},
      {"sigma b = f(t)", ViewSigmaBT, {}},
      {"drawing", ViewDrawingFront, {}},
      {"drawing at an angle", ViewDrawingAngle, {Answer::Yes()}},
      {"side view", ViewDrawingSide, {}},
  };
  std::vector<std::vector<std::string>> drawings;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClearDisplay(ws.display);
    ws.abort = true;  // a flag left set must not leave the window empty
    for (const Answer& a : c.answers) ui.push(a);
    c.command(ws);
    EXPECT_FALSE(ws.abort);
    EXPECT_GT(ws.display.records.size(), 10u);
    for (const auto& other : drawings) EXPECT_NE(other, ws.display.records) << "the same sheet as another view";
    drawings.push_back(ws.display.records);
  }
  EXPECT_EQ(ui.shown<InstallationAngleRequest>().size(), 1u);
}

TEST_F(MenuCommands, FatalSpringShowsTheMessageWindowInsteadOfAView) {
  ws.spring.t = std::numeric_limits<Real>::quiet_NaN();
  CalculateSpring(ws);
  ASSERT_TRUE(ws.messages.fatal);
  for (void (*command)(Session&) : {ViewQuick1, ViewGoodman, ViewDrawingFront, FilePrintMacro}) {
    ClearDisplay(ws.display);
    ui.clearRequests();
    ui.script({Answer::Cancel()});
    command(ws);
    EXPECT_FALSE(drawn());
    ASSERT_EQ(ui.requests().size(), 1u);
    EXPECT_EQ(ui.requests()[0].kind, Kind::Radio);
    EXPECT_EQ(u8(ui.requests()[0].prompt), "Berechnungsmodul meldet Warnungen oder Fehler, siehe Ursache und Abhilfe.");
  }
}

TEST_F(MenuCommands, CadOutputAsksForTheDevice) {
  ui.script({Answer::Cancel()});
  CadSideView(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_FALSE(drawn());
  ASSERT_EQ(ui.requests().size(), 1u);
  EXPECT_EQ(ui.requests()[0].kind, Kind::Radio) << "the device choice";
}

// ---- Printing and the picture ----

TEST_F(MenuCommands, PrintStoresTheLayoutAndPrintsTheDrawing) {
  ViewQuick1(ws);
  PrintConfigValues values;
  values.scaleX = "2";
  values.originY = "15";
  values.landscape = true;
  values.monochrome = false;
  ui.script({Answer::With(PrintConfigResult{values}), Answer::With(PrintDrawingResult{})});
  FilePrint(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(ws.config.printScaleX, 2);
  EXPECT_EQ(ws.config.printOriginY, 15);
  EXPECT_EQ(ws.config.printOrientation, 2);
  const auto prints = ui.shown<PrintDrawingRequest>();
  ASSERT_EQ(prints.size(), 1u);
  EXPECT_TRUE(prints[0].landscape);
  CountingCanvas page;
  EXPECT_TRUE(prints[0].paint(page, PageGeometry{2000, 1400, 300, 300}));
  EXPECT_GT(page.marks, 20);

  ui.script({Answer::Cancel()});
  FilePrint(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ui.shown<PrintDrawingRequest>().size(), 1u) << "nothing printed after cancel";
}

TEST_F(MenuCommands, ThePrinterButtonAsksThePlatformAndTheFormFollowsIt) {
  std::optional<PrinterChoice> chosen, cancelled;
  ui.script({Answer::Acting<PrintConfigRequest>([&](const PrintConfigRequest& q) {
               EXPECT_TRUE(q.choosePrinter) << "the button is wired";
               chosen = q.choosePrinter();
               cancelled = q.choosePrinter();
               return PrintConfigResult{q.values};
             }),
             Answer::With(ChoosePrinterResult{"lp", true}), Answer::Cancel(), Answer::With(PrinterInfoResult{})});
  FilePrinterSetup(ws);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->label, std::string(38, ' ') + "lp") << "right-aligned in 40 characters";
  EXPECT_TRUE(chosen->landscape);
  EXPECT_FALSE(cancelled.has_value());
  const auto asked = ui.shown<ChoosePrinterRequest>();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].caption, "Drucker");
}

TEST_F(MenuCommands, PrinterSetupPrintsNothing) {
  ui.script({Answer::With(PrintConfigResult{}), Answer::With(PrinterInfoResult{})});
  FilePrinterSetup(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_TRUE(ui.shown<PrintDrawingRequest>().empty());
  EXPECT_EQ(ui.shown<PrinterInfoRequest>().size(), 1u);
}

TEST_F(MenuCommands, PrintMacroPrintsTheCheckedGraphicsInBoxOrder) {
  PrintMacroResult boxes;
  for (int box : {8, 3, 6, 5}) boxes.checked[box - 1] = true;
  ui.script({Answer::With(boxes)});
  for (int i = 0; i < 4; ++i) ui.push(Answer::With(PrintDrawingResult{}));
  FilePrintMacro(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(ws.config.printMacroValue, (1 << 2) | (1 << 4) | (1 << 5) | (1 << 7));
  const auto prints = ui.shown<PrintDrawingRequest>();
  ASSERT_EQ(prints.size(), 4u);
  const char* order[] = {"Quick 1", "Zeichnung", "Federkennlinie", "Haigh-Goodman-Diagramm"};
  for (int i = 0; i < 4; ++i) {
    const std::string& name = prints[static_cast<std::size_t>(i)].documentName;
    EXPECT_EQ(name.substr(name.size() - std::string(order[i]).size()), order[i]) << name;
  }
  EXPECT_TRUE(prints[1].landscape) << "the production drawing's sheet is landscape";
  EXPECT_TRUE(prints[0].landscape);
  // The last view is still in the window: its print draws it.
  CountingCanvas page;
  EXPECT_TRUE(prints[3].paint(page, PageGeometry{2000, 1400, 300, 300}));
  EXPECT_GT(page.marks, 20);
}

TEST_F(MenuCommands, PrintMacroReportGoesToThePrinterAndAFailureStopsTheRest) {
  ws.config.textDevice = 1;
  ws.config.textDeviceAsk = true;
  PrintMacroResult boxes;
  boxes.checked[0] = boxes.checked[2] = true;
  ui.script({Answer::With(boxes)});
  FilePrintMacro(ws);
  EXPECT_EQ(count(Kind::Print), 1) << "the standard output on the printer without asking for the device";
  EXPECT_TRUE(ws.abort) << "there is no printer here";
  EXPECT_TRUE(ui.shown<PrintDrawingRequest>().empty()) << "the macro stops at the failed print";
  EXPECT_EQ(ws.config.textDevice, 1);
  EXPECT_TRUE(ws.config.textDeviceAsk);
}

TEST_F(MenuCommands, PrintMacroCancelPrintsNothingAndKeepsTheSelection) {
  ws.config.printMacroValue = 1 << 2;
  ui.script({Answer::Cancel()});
  FilePrintMacro(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ws.config.printMacroValue, 1 << 2);
  EXPECT_TRUE(ui.shown<PrintDrawingRequest>().empty());
}

TEST_F(MenuCommands, ExportPicturePaintsTheWindowAtItsSize) {
  ViewGoodman(ws);
  ui.script({Answer::With(ExportPictureResult{dir.file("goodman.png"), PictureFormat::Png})});
  FileExportPicture(ws);
  EXPECT_FALSE(ws.abort);
  const auto exports = ui.shown<ExportPictureRequest>();
  ASSERT_EQ(exports.size(), 1u);
  EXPECT_EQ(exports[0].size.width, ws.display.W + 1);
  EXPECT_EQ(exports[0].size.height, ws.display.H + 1);
  CountingCanvas picture;
  EXPECT_TRUE(exports[0].paint(picture, exports[0].size));
  EXPECT_GT(picture.marks, 20);
}

// ---- Configuration dialog ----

class MenuCommandsConfig : public MenuCommands {
 protected:
  ConfigFormValues current() const {
    std::vector<std::string> devices;
    for (int d = 1; d <= 7; ++d) devices.push_back(DeviceChoiceText(ReportDeviceFromCode(d)));
    return ConfigFormValuesFrom(ws.config, devices);
  }
  static Answer leave(ConfigFormExit exit, const ConfigFormValues& values, int page = 0) {
    ConfigFormResult r;
    r.exit = exit;
    r.values = values;
    r.page = page;
    return Answer::With(r);
  }
  std::string configFile() const { return dir.file("velk.cfg"); }
};

TEST_F(MenuCommandsConfig, CancelChangesNothing) {
  ConfigFormValues v = current();
  v.helpLevel = 2;
  ui.script({Answer::Cancel()});
  FileConfig(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ws.config.helpLevel, 1);
  EXPECT_FALSE(std::filesystem::exists(configFile()));
}

TEST_F(MenuCommandsConfig, OkAppliesAndRedrawsTheChosenResultView) {
  ConfigFormValues v = current();
  v.resultGraphic = 4;  // "Diagramm": the characteristic
  ui.script({leave(ConfigFormExit::Ok, v)});
  FileConfig(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(ws.config.defaultResultGraphic, 4);
  EXPECT_EQ(ui.shown<ConfigFormRequest>().size(), 1u);
  EXPECT_TRUE(drawn()) << "the new result view is drawn";
  // OK keeps the choice: the next start reads it.
  ASSERT_TRUE(std::filesystem::exists(configFile()));
  Session next(ui);
  next.start = ws.start;
  ReadConfiguration(next);
  EXPECT_FALSE(next.abort);
  EXPECT_EQ(next.config.defaultResultGraphic, 4);
}

TEST_F(MenuCommandsConfig, OkWithARefusedEntryWritesNothingUntilItIsCorrected) {
  ConfigFormValues bad = current();
  bad.zoomFactor = "abc";
  bad.helpLevel = 2;
  ConfigFormValues good = bad;
  good.zoomFactor = "1.5";
  ui.script({leave(ConfigFormExit::Ok, bad), leave(ConfigFormExit::Ok, good)});
  FileConfig(ws);
  EXPECT_EQ(ui.messages(MessageKind::Error).size(), 1u);
  Session next(ui);
  next.start = ws.start;
  ReadConfiguration(next);
  EXPECT_EQ(next.config.zoomFactor, 1.5L);
  EXPECT_EQ(next.config.helpLevel, 2);
}

// A language or unit switch from the menu is there again at the next start (a new session on
// the same configuration folder), and so are window sizes changed before leaving.
TEST_F(MenuCommandsConfig, MenuSwitchesAndWindowSizesAreKeptForTheNextStart) {
  const auto restart = [this] {
    auto next = std::make_unique<Session>(ui);
    next->start = ws.start;
    ReadConfiguration(*next);
    EXPECT_FALSE(next->abort) << "the file was written";
    return next;
  };
  RunMenuCommand(ws, MenuId::HelpLanguageEnglish);
  EXPECT_EQ(restart()->config.language, 2);
  RunMenuCommand(ws, MenuId::HelpLanguageKorea);
  EXPECT_EQ(restart()->config.language, 8);

  ui.script({Answer::With(CalcSettingsResult{0, 1})});
  EditCalculation(ws);
  EXPECT_EQ(ws.config.num.units, 1);
  EXPECT_EQ(restart()->config.num.units, 1);

  // Leaving the program keeps what the window and the text window were resized to.
  ws.config.resolutionX = 1199;
  ws.config.textWindow = {30, 50, 640, 480};
  CloseDown(ws);
  const auto next = restart();
  EXPECT_EQ(next->config.resolutionX, 1199);
  EXPECT_EQ(next->config.textWindow, (TextWindowRect{30, 50, 640, 480}));
  EXPECT_EQ(next->config.language, 8);
}

TEST_F(MenuCommandsConfig, InvalidNumberIsReportedAndTheDialogReopensOnItsPage) {
  ConfigFormValues v = current();
  v.zoomFactor = "abc";
  ui.script({leave(ConfigFormExit::Ok, v, 1), Answer::Cancel()});
  FileConfig(ws);
  const auto errors = ui.messages(MessageKind::Error);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("\"abc\""), std::string::npos) << errors[0];
  const auto shown = ui.shown<ConfigFormRequest>();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].page, 1);
  EXPECT_EQ(ws.config.zoomFactor, Configuration{}.zoomFactor);
}

TEST_F(MenuCommandsConfig, SaveWritesTheFileAndKeepsTheDialogOpen) {
  ConfigFormValues v = current();
  v.helpLevel = 2;
  ui.script({leave(ConfigFormExit::Save, v, 6), Answer::Cancel()});
  FileConfig(ws);
  EXPECT_EQ(ws.config.helpLevel, 2);
  EXPECT_TRUE(std::filesystem::exists(configFile()));
  const auto shown = ui.shown<ConfigFormRequest>();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].page, 6);
  EXPECT_EQ(shown[1].values.helpLevel, 2) << "reopened with the applied values";
}

// ---- Documentation, help (the spreadsheet link: spreadsheetlink_test.cpp) ----

TEST_F(MenuCommands, DocumentSetupMarksTheSpringOnlyWhenConfirmed) {
  ui.script({Answer::Cancel()});
  DocSetup(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_FALSE(ws.spring.modified);
  ui.script({Answer::Yes()});
  DocSetup(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_TRUE(ws.spring.modified);
}

TEST_F(MenuCommands, HelpShowsHistoryAboutAndSwitchesLanguage) {
  HelpAbout(ws);
  HelpHistory(ws);
  const auto boxes = ui.messages(MessageKind::Titled);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[0].find("3.4"), std::string::npos);
  EXPECT_NE(boxes[1].find("Version 3.4"), std::string::npos);
  HelpLanguage(ws, 2);
  EXPECT_EQ(ws.config.language, 2);
}

}  // namespace
}  // namespace velk::test
