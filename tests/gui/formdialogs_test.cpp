// The input forms, the configuration dialog, the print forms, the plot form and the file overview,
// each driven once as a user would: change values, press the buttons, confirm or cancel.
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <functional>
#include <string>
#include <vector>

#include "cad/plotprogram.h"
#include "dialogs/configform.h"
#include "dialogs/inputforms.h"
#include "gui/printing.h"
#include "gui/text.h"
#include "gui/windows.h"
#include "guitest.h"
#include "ui/overviewform.h"
#include "ui/printforms.h"

namespace velk::gui {
namespace {

using test::findChildNamed;
using test::whileOpen;

// Records what the help buttons ask for; every help number has a tool tip "hint <n>".
class FakeHelp : public HelpProvider {
 public:
  std::vector<uint16_t> texts, images;
  void showHelpText(uint16_t n) override { texts.push_back(n); }
  void showHelpImage(uint16_t n) override { images.push_back(n); }
  void showHelpImages() override { images.push_back(0); }
  std::string hint(uint16_t n) override { return "hint " + std::to_string(n); }
};

template <typename T = QWidget>
T* child(QWidget* w, const char* name) {
  T* c = findChildNamed<T>(w, QString::fromLatin1(name));
  EXPECT_NE(c, nullptr) << name;
  return c;
}
void retype(QWidget* w, const char* name, const QString& text) {
  auto* e = child<QLineEdit>(w, name);
  e->clear();
  QTest::keyClicks(e, text);
}
void click(QWidget* w, const char* name) { child<QAbstractButton>(w, name)->click(); }
void pressOk(QWidget* w) { click(w, "ok"); }

class FormDialogs : public ::testing::Test {
 protected:
  FakeHelp help;
  WindowEnv env{nullptr, &help, 100, 100};
};

// ---- Every window: Esc is cancel ----

TEST_F(FormDialogs, EscapeCancelsEveryWindow) {
  ConfigFormContext ctx;
  const std::vector<std::pair<const char*, std::function<bool()>>> windows = {
      {"calc settings", [&] { return run(env, CalcSettingsRequest{}).has_value(); }},
      {"spring ends", [&] { return run(env, SpringEndsRequest{}).has_value(); }},
      {"application", [&] { return run(env, ApplicationRequest{}).has_value(); }},
      {"configuration", [&] { return run(env, MakeConfigFormRequest(Configuration{}, ctx)).has_value(); }},
      {"colour list", [&] { return run(env, MakeColorSelectRequest("3")).has_value(); }},
      {"print setup", [&] { return run(env, PrintConfigRequest{}).has_value(); }},
      {"printer info", [&] { return run(env, PrinterInfoRequest{}).has_value(); }},
      {"print macro", [&] { return run(env, PrintMacroRequest{}).has_value(); }},
      {"file overview", [&] { return run(env, FileOverviewRequest{}).has_value(); }},
      {"plot form", [&] { return run(env, PlotFormRequest{}).has_value(); }},
  };
  for (const auto& [name, open] : windows) {
    const bool answered = whileOpen(open, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_FALSE(answered) << name;
  }
}

// ---- Input forms ----

TEST_F(FormDialogs, CalcSettingsReturnTheItemsAndCallTheHelpButtons) {
  Spring spring;
  NumberSettings num;
  InputFormContext ctx;
  int imagesShown = 0;
  const CalcSettingsRequest q = buildCalcSettingsRequest(spring, num, ctx, [&] { ++imagesShown; });
  const auto r = whileOpen([&] { return run(env, q); },
                           [](QWidget* w) {
                             EXPECT_EQ(child<QLabel>(w, "crossSectionLabel")->toolTip(), QStringLiteral("hint 5490"));
                             child<QComboBox>(w, "crossSection")->setCurrentIndex(1);
                             child<QComboBox>(w, "units")->setCurrentIndex(1);
                             findChildNamed<QPushButton>(w, QStringLiteral("&Hilfetext"))->click();
                             click(w, "helpImages");
                             pressOk(w);
                           });
  ASSERT_TRUE(r);
  EXPECT_EQ(r->crossSectionIndex, 1);
  EXPECT_EQ(r->unitsIndex, 1);
  EXPECT_EQ(help.texts, std::vector<uint16_t>{1000});
  EXPECT_EQ(imagesShown, 1);
}

TEST_F(FormDialogs, SpringEndsEnableBentEndsAndSwitchUnits) {
  Spring spring;
  spring.formi = 1;
  spring.forme = 2;
  spring.le = 25.4L;
  NumberSettings num;
  InputFormContext ctx;
  const SpringEndsRequest q = buildSpringEndsRequest(spring, num, ctx);
  const auto r = whileOpen([&] { return run(env, q); },
                           [](QWidget* w) {
                             EXPECT_FALSE(child(w, "li")->isEnabled());  // clamped
                             EXPECT_TRUE(child(w, "le")->isEnabled());   // bent
                             click(w, "formi1");                         // "abgebogen"
                             EXPECT_TRUE(child(w, "li")->isEnabled());
                             retype(w, "li", QStringLiteral("12,5"));
                             click(w, "kugelstrahlen");
                             const QString mm = child<QLineEdit>(w, "le")->text();
                             click(w, "metric");  // "mm <--> inch": the same lengths in inches
                             EXPECT_EQ(child<QLabel>(w, "liu")->text(), QStringLiteral("in"));
                             EXPECT_NE(child<QLineEdit>(w, "le")->text(), mm);
                             pressOk(w);
                           });
  ASSERT_TRUE(r);
  EXPECT_EQ(r->formiIndex, 1);
  EXPECT_EQ(r->formeIndex, 1);
  EXPECT_TRUE(r->kugelstrahlen);
  EXPECT_EQ(num.units, 1);  // the switch is the program's
  EXPECT_FALSE(r->li.empty());
  EXPECT_FALSE(r->le.empty());
}

TEST_F(FormDialogs, ApplicationEnablesTheFrequencyForDynamicLoads) {
  ApplicationRequest q;
  q.controls = {0, "5", "20"};
  q.freqEnabled = false;
  const auto r = whileOpen([&] { return run(env, q); },
                           [](QWidget* w) {
                             EXPECT_FALSE(child(w, "freq")->isEnabled());
                             click(w, "statdyn1");
                             EXPECT_TRUE(child(w, "freq")->isEnabled());
                             retype(w, "freq", QStringLiteral("12"));
                             retype(w, "temperatur", QStringLiteral("68"));
                             findChildNamed<QPushButton>(w, QStringLiteral("&Hilfe"))->click();
                             pressOk(w);
                           });
  ASSERT_TRUE(r);
  EXPECT_EQ(r->statdynIndex, 1);
  EXPECT_EQ(r->freq, "12");
  EXPECT_EQ(r->temperatur, "68");
  EXPECT_EQ(help.texts, std::vector<uint16_t>{9020});
}

// ---- Colour list, print forms ----

TEST_F(FormDialogs, ColorListSelectsTheCellsColourAndReturnsTheChosenNumber) {
  const auto r = whileOpen([&] { return run(env, MakeColorSelectRequest("3")); },
                           [](QWidget* w) {
                             auto* list = child<QListWidget>(w, "colors");
                             EXPECT_EQ(list->count(), 16);
                             EXPECT_EQ(list->currentRow(), 2);
                             list->setCurrentRow(15);
                             pressOk(w);
                           });
  ASSERT_TRUE(r);
  EXPECT_EQ(r->number, 16);
}

TEST_F(FormDialogs, PrintSetupCallsItsButtonsAndReturnsTheFields) {
  PrintConfigRequest q;
  q.okCaption = "OK";
  q.cancelCaption = "Abbrechen";
  q.loadCaption = "Datenbank";
  q.printerCaption = "Drucker...";
  std::vector<PrintConfigValues> stored;
  q.loadLayout = [](PrintConfigValues& v) {
    v.scaleY = "2.5";
    v.fit = true;
    return true;
  };
  q.storeLayout = [&stored](const PrintConfigValues& v) { stored.push_back(v); };
  q.choosePrinter = [] { return std::optional<PrinterChoice>({"             lp", true}); };
  const auto r = whileOpen([&] { return run(env, q); },
                           [](QWidget* w) {
                             retype(w, "scaleX", QStringLiteral("1,9"));
                             click(w, "load");
                             EXPECT_EQ(child<QLineEdit>(w, "scaleY")->text(), QStringLiteral("2.5"));
                             EXPECT_EQ(child<QLineEdit>(w, "scaleX")->text(),
                                       QStringLiteral("1,9"));  // kept by the layout callback
                             click(w, "store");
                             click(w, "printer");
                             EXPECT_EQ(child<QLabel>(w, "printerLabel")->text(), QStringLiteral("             lp"));
                             click(w, "shading1");
                             pressOk(w);
                           });
  ASSERT_TRUE(r);
  EXPECT_EQ(r->values.scaleX, "1,9");
  EXPECT_EQ(r->values.scaleY, "2.5");
  EXPECT_TRUE(r->values.fit);
  EXPECT_TRUE(r->values.landscape);  // the orientation follows the chosen printer
  EXPECT_FALSE(r->values.monochrome);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].scaleY, "2.5");
}

TEST_F(FormDialogs, ThePrinterChoiceIsThePlatformsPrintDialogAndCancelKeepsTheChoice) {
  QString chosen = QStringLiteral("no such printer");
  WindowEnv withChoice = env;
  withChoice.chosenPrinter = &chosen;
  ChoosePrinterRequest q;
  q.caption = "Drucker";
  const auto r = whileOpen([&] { return run(withChoice, q); },
                           [](QWidget* w) {
                             EXPECT_NE(qobject_cast<QPrintDialog*>(w), nullptr);
                             EXPECT_EQ(w->windowTitle(), QStringLiteral("Drucker"));
                             QTest::keyClick(w, Qt::Key_Escape);
                           });
  EXPECT_FALSE(r.has_value());
  EXPECT_EQ(chosen, QStringLiteral("no such printer"));
  // A printer that is no longer there is not forced on a print.
  QPrinter printer;
  const QString before = printer.printerName();
  useChosenPrinter(withChoice, printer);
  EXPECT_EQ(printer.printerName(), before);
}

TEST_F(FormDialogs, PrinterInfoShowsItsRows) {
  PrinterInfoRequest q;
  q.rows = {{"Name", "lp"}, {"DPI (horizontal)", "600"}, {"", "Courier"}};
  const auto r = whileOpen([&] { return run(env, q); },
                           [](QWidget* w) {
                             auto* grid = child<QTableWidget>(w, "grid");
                             ASSERT_EQ(grid->rowCount(), 3);
                             EXPECT_EQ(grid->item(1, 1)->text(), QStringLiteral("600"));
                             pressOk(w);
                           });
  EXPECT_TRUE(r);
}

TEST_F(FormDialogs, PrintMacroShowsTheVisibleBoxesAndReturnsAllFourteen) {
  PrintMacroRequest q;
  for (std::size_t i = 0; i < 8; ++i) q.boxes[i] = {"box " + std::to_string(i + 1), i == 0, true};
  q.boxes[12].checked = true;  // hidden, kept
  const auto r = whileOpen([&] { return run(env, q); },
                           [](QWidget* w) {
                             EXPECT_TRUE(child(w, "box8")->isVisible());
                             EXPECT_FALSE(child(w, "box9")->isVisible());
                             click(w, "box1");
                             click(w, "box7");
                             pressOk(w);
                           });
  ASSERT_TRUE(r);
  std::array<bool, kPrintMacroBoxes> expected{};
  expected[6] = expected[12] = true;
  EXPECT_EQ(r->checked, expected);
}

// ---- File overview ----

TEST_F(FormDialogs, FileOverviewSortsByAHeaderAndOpensTheClickedRow) {
  FileOverviewRequest q;
  OverviewCells header, a, b;
  header[0] = "File";
  header[3] = "t (d)";
  a[0] = "a.vlk", a[3] = "0.500";
  b[0] = "b.vlk", b[3] = "0.200";
  q.rows = {{"", header}, {"a.vlk", a}, {"b.vlk", b}};
  const auto r = whileOpen([&] { return run(env, q); },
                           [](QWidget* w) {
                             auto* table = child<QTableWidget>(w, "table");
                             QHeaderView* h = table->horizontalHeader();
                             const QPoint at(h->sectionViewportPosition(3) + 5, 5);
                             QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, h->viewport()->mapToGlobal(at));
                             QApplication::sendEvent(h->viewport(), &rightClick);
                             EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("b.vlk"));
                             QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                                               table->visualItemRect(table->item(1, 2)).center());
                           });
  ASSERT_TRUE(r);
  EXPECT_EQ(r->action, FileOverviewResult::Action::Open);
  ASSERT_EQ(r->rows.size(), 3u);
  EXPECT_EQ(r->rows[r->chosenRow].file, "a.vlk");
  EXPECT_EQ(r->rows[1].file, "b.vlk");

  const auto excel =
      whileOpen([&] { return run(env, q); }, [](QWidget* w) { child<QAction>(w, "exportExcel")->trigger(); });
  ASSERT_TRUE(excel);
  EXPECT_EQ(excel->action, FileOverviewResult::Action::ExportExcel);
}

// ---- Plot form ----

TEST_F(FormDialogs, PlotFormShowsTheCommandLineOfEveryChange) {
  PlotFormRequest q;
  q.values.outdir = "/tmp/velk";
  q.psFonts = PostScriptFonts();
  q.tempFolder = "/var/tmp/velk";
  q.commandLine = PlotFormCommandLine;
  const auto r = whileOpen(
      [&] { return run(env, q); },
      [](QWidget* w) {
        auto* line = child<QLabel>(w, "commandLine");
        EXPECT_EQ(line->text(), QStringLiteral("c:\\plotrix\\ruvoreve /tmp/velk/plotrix /CHPL"));
        EXPECT_FALSE(child(w, "outdir")->isEnabled());
        click(w, "interface2");  // "Datei"
        EXPECT_TRUE(child(w, "outdir")->isEnabled());
        click(w, "tempDir");  // "<"
        EXPECT_EQ(line->text(),
                  QStringLiteral("c:\\plotrix\\ruvoreve /var/tmp/velk/plotrix /CHPL /D3 /F/var/tmp/velk/plotrix"));
        click(w, "fitScale");
        EXPECT_FALSE(child(w, "scale")->isEnabled());
        EXPECT_TRUE(line->text().endsWith(QStringLiteral(" /M*")));
        click(w, "outcode1");  // PS enables the font box
        EXPECT_TRUE(child(w, "psFont")->isEnabled());
        child<QComboBox>(w, "psFont")->setCurrentIndex(4);
        EXPECT_TRUE(line->text().endsWith(QStringLiteral(" /THelvetica")));
        pressOk(w);
      });
  ASSERT_TRUE(r);
  EXPECT_TRUE(r->changed);
  EXPECT_EQ(r->values.outInterface, 3);
  EXPECT_EQ(r->values.outcode, 2);
  EXPECT_EQ(r->values.outdir, "/var/tmp/velk");
  EXPECT_TRUE(r->values.fitScale);
  EXPECT_EQ(r->values.scale, "0");
  EXPECT_EQ(r->values.psFont, "Helvetica");

  const auto untouched = whileOpen([&] { return run(env, q); }, pressOk);
  ASSERT_TRUE(untouched);
  EXPECT_FALSE(untouched->changed);
}

// ---- Configuration dialog ----

class FakeChoosers : public ConfigFormChoosers {
 public:
  std::vector<std::string> calls;
  std::optional<std::string> chooseFolder(const std::string& start) override {
    calls.push_back("folder " + start);
    return std::string("/chosen/");
  }
  std::optional<std::string> chooseFile(const std::string& current, const std::string& filter) override {
    calls.push_back("file " + current + " " + filter);
    return std::string("/cfg/other.cfg");
  }
  std::optional<std::string> configurePlotLine(const std::string&) override {
    calls.push_back("plot");
    return std::string("plot configured");
  }
  std::optional<std::string> enterText(const std::string&, int, const std::string&) override {
    calls.push_back("text");
    return std::nullopt;
  }
};

TEST_F(FormDialogs, ConfigurationDialogEditsEveryPageKindAndTellsItsPage) {
  FakeChoosers choosers;
  ConfigFormContext ctx;
  ctx.deviceNames = {"Bildschirm", "Textdatei", "HTML"};
  ctx.configDir = "/cfg/";
  ctx.choosers = &choosers;
  Configuration config;
  const ConfigFormRequest q = MakeConfigFormRequest(config, ctx, 1);
  ASSERT_EQ(q.pages.size(), 9u);

  const auto r = whileOpen([&] { return run(env, q); },
                           [&](QWidget* w) {
                             auto* pages = child<QTabWidget>(w, "pages");
                             EXPECT_EQ(pages->count(), 9);
                             EXPECT_EQ(pages->currentIndex(), 1);
                             for (int i = 0; i < pages->count(); ++i) {
                               pages->setCurrentIndex(i);
                               EXPECT_EQ(pages->tabText(i), qs(q.pages[static_cast<std::size_t>(i)]));
                             }
                             // An edit, a chooser ("...") and a proposal ("<").
                             retype(w, "ediDir", QStringLiteral("/edi/"));
                             click(w, "dbfDirChoose");
                             EXPECT_EQ(child<QLineEdit>(w, "dbfDir")->text(), QStringLiteral("/chosen/"));
                             retype(w, "zoomFactor", QStringLiteral("7"));
                             click(w, "panFactorPropose");
                             EXPECT_EQ(child<QLineEdit>(w, "zoomFactor")->text(),
                                       QStringLiteral("7"));  // kept across the proposal
                             // A radio group, a check box, a combo box.
                             click(w, "colorGraphics1");
                             click(w, "layerMonochrome");
                             child<QComboBox>(w, "textDevice")->setCurrentIndex(2);
                             // Tables: a typed cell, a preset button, the colour list opened from a cell.
                             auto* layers = child<QTableWidget>(w, "layerTable");
                             layers->item(0, 0)->setText(QStringLiteral("Achse"));
                             click(w, "layerPreset5");
                             layers->setCurrentCell(2, 1);
                             whileOpen(
                                 [&] {
                                   click(w, "layerColor");
                                   return 0;
                                 },
                                 [](QWidget* list) {
                                   child<QListWidget>(list, "colors")->setCurrentRow(4);
                                   pressOk(list);
                                 });
                             click(w, "penThickness3");
                             // The plot command lines' "Config" (the plot form of the choosers).
                             click(w, "plotLineConfig1");
                             EXPECT_EQ(child<QLineEdit>(w, "plotLine1")->text(), QStringLiteral("plot configured"));
                             pages->setCurrentIndex(5);
                             click(w, "save");
                           });
  ASSERT_TRUE(r);
  EXPECT_EQ(r->exit, ConfigFormExit::Save);
  EXPECT_EQ(r->page, 5);
  const ConfigFormValues& v = r->values;
  EXPECT_EQ(v.ediDir, "/edi/");
  EXPECT_EQ(v.dbfDir, "/chosen/");
  EXPECT_EQ(v.zoomFactor, "7");
  EXPECT_EQ(v.panFactor, "0.02");
  EXPECT_EQ(v.colorGraphics, 1);
  EXPECT_TRUE(v.layerMonochrome);
  EXPECT_EQ(v.textDevice, "HTML");
  EXPECT_EQ(v.layers[0].name, "Achse");
  EXPECT_EQ(v.layers[4].name, "5");
  EXPECT_EQ(v.layers[2].color, "5");
  for (const ConfigPenRow& pen : v.pens) EXPECT_EQ(pen.thickness, "3");
  EXPECT_EQ(v.plotLines[1], "plot configured");
  EXPECT_EQ(choosers.calls, (std::vector<std::string>{"folder " + config.dbfDir, "plot"}));

  // "Import..": the chosen file comes back; untouched controls come back as they were shown.
  const auto imported = whileOpen([&] { return run(env, q); }, [](QWidget* w) { click(w, "import"); });
  ASSERT_TRUE(imported);
  EXPECT_EQ(imported->exit, ConfigFormExit::Import);
  EXPECT_EQ(imported->importPath, "/cfg/other.cfg");
  EXPECT_EQ(imported->page, 1);
  EXPECT_EQ(imported->values.windowX, q.values.windowX);
  EXPECT_EQ(imported->values.textDevice, q.values.textDevice);
}

TEST_F(FormDialogs, ConfigurationToolTipsFollowTheHelpLevel) {
  ConfigFormContext ctx;
  for (const int level : {0, 1}) {
    Configuration config;
    config.helpLevel = level;
    const ConfigFormRequest q = MakeConfigFormRequest(config, ctx);
    whileOpen([&] { return run(env, q); },
              [level](QWidget* w) {
                EXPECT_EQ(child(w, "dbfDir")->toolTip().isEmpty(), level == 0) << level;
                pressOk(w);
              });
  }
}

}  // namespace
}  // namespace velk::gui
