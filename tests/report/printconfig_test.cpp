// Tests of the graphics print setup: macro bits and their outputs, presets, the print form in print and
// setup mode, stored layouts in a private copy of printout.dbf, printer information and printer mapping.
#include "reportui/printconfig.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "dbf/dbf.h"
#include "support/run_process.h"

namespace velk {
namespace {

namespace fs = std::filesystem;

const std::string kShippedLayouts = std::string(VELK_SOURCE_DATA_DIR) + "/printout.dbf";

class TempFolder {
 public:
  TempFolder() {
    std::string tmpl = (fs::temp_directory_path() / "velk-printconfig-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) std::abort();
    path_ = tmpl + "/";
  }
  ~TempFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// ---- Print macro ----

struct MacroCase {
  const char* name;
  int value;
  std::vector<MacroOutput> outputs;
};

TEST(PrintMacro, BitsGiveOutputsInBoxOrder) {
  using O = MacroOutput;
  const std::vector<MacroCase> cases = {
      {"nothing", 0, {}},
      {"box 1 only", 0x1, {O::StandardOutput}},
      {"boxes 8 and 1", 0x81, {O::StandardOutput, O::HaighGoodman}},
      {"drawing between quick 2 and characteristic", 0x38, {O::Quick2, O::ProductionDrawing, O::Characteristic}},
      {"all eight",
       0xFF,
       {O::StandardOutput, O::Excerpt, O::Quick1, O::Quick2, O::ProductionDrawing, O::Characteristic, O::Goodman,
        O::HaighGoodman}},
      {"hidden boxes 9..14 and higher bits print nothing", 0x3F00 | (1 << 20), {}},
      {"every bit set (negative value)",
       -1,
       {O::StandardOutput, O::Excerpt, O::Quick1, O::Quick2, O::ProductionDrawing, O::Characteristic, O::Goodman,
        O::HaighGoodman}},
  };
  for (const MacroCase& c : cases) {
    std::vector<MacroOutput> got;
    for (const MacroJob& j : PrintMacroJobs(c.value)) got.push_back(j.output);
    EXPECT_EQ(got, c.outputs) << c.name;
  }
}

TEST(PrintMacro, JobsNameTheirViewAndPreset) {
  struct Row {
    MacroOutput output;
    MacroJobKind kind;
    int view;
    int preset;
  };
  const Row expected[] = {
      {MacroOutput::StandardOutput, MacroJobKind::Report, 0, 0},
      {MacroOutput::Excerpt, MacroJobKind::Report, 0, 0},
      {MacroOutput::Quick1, MacroJobKind::View, 1, 0},
      {MacroOutput::Quick2, MacroJobKind::View, 4, 0},
      {MacroOutput::ProductionDrawing, MacroJobKind::Drawing, 9, 0},
      {MacroOutput::Characteristic, MacroJobKind::View, 2, 0},
      {MacroOutput::Goodman, MacroJobKind::View, 3, 0},
      {MacroOutput::HaighGoodman, MacroJobKind::View, 7, 0},
  };
  const std::vector<MacroJob> jobs = PrintMacroJobs(0xFF);
  ASSERT_EQ(jobs.size(), std::size(expected));
  for (size_t i = 0; i < jobs.size(); ++i) {
    EXPECT_EQ(jobs[i].output, expected[i].output) << i;
    EXPECT_EQ(jobs[i].kind, expected[i].kind) << i;
    EXPECT_EQ(jobs[i].view, expected[i].view) << i;
    EXPECT_EQ(jobs[i].preset, expected[i].preset) << i;
  }
}

TEST(PrintMacro, FormShowsEightBoxesAndStoresAllFourteen) {
  const int value = 0x5 | (1 << 9) | (1 << 20);  // boxes 1, 3, hidden box 10, a bit beyond the form
  const PrintMacroRequest r = MakePrintMacroRequest(value, "VELK");
  EXPECT_EQ(r.caption, "VELK");
  EXPECT_EQ(r.helpNumber, 3520);
  EXPECT_EQ(cp850ToUtf8(r.helpCaption), "&Hilfetext");
  const char* captions[] = {"&Ausdruck",         "&Auszug",
                            "&Quick 1",          "&Quick 2",
                            "&Zeichnung",        "T-alpha &Federkennlinie",
                            "&Goodman-Diagramm", "Haigh-&Goodman-Diagramm"};
  for (int i = 0; i < kPrintMacroBoxes; ++i) {
    EXPECT_EQ(r.boxes[i].visible, i < 8) << "box " << i + 1;
    if (i < 8) {
      EXPECT_EQ(r.boxes[i].caption, captions[i]) << "box " << i + 1;
    }
  }
  EXPECT_TRUE(r.boxes[0].checked);
  EXPECT_FALSE(r.boxes[1].checked);
  EXPECT_TRUE(r.boxes[2].checked);
  EXPECT_TRUE(r.boxes[9].checked);  // hidden, but kept

  PrintMacroResult res;
  for (int i = 0; i < kPrintMacroBoxes; ++i) res.checked[i] = r.boxes[i].checked;
  res.checked[0] = false;  // box 1 unchecked
  res.checked[7] = true;   // box 8 checked
  const int stored = ApplyPrintMacroResult(value, res);
  EXPECT_EQ(stored, 0x4 | 0x80 | (1 << 9) | (1 << 20));
  // What the form shows again is what was stored.
  EXPECT_EQ(PrintMacroJobs(stored).front().output, MacroOutput::Quick1);
}

TEST(PrintMacro, ReportsGoToTheWindowsPrinterAndTheConfiguredDeviceStays) {
  Configuration c;
  c.textDevice = 1;  // screen
  c.textDeviceAsk = true;
  {
    MacroReportDevice scope(c);
    EXPECT_EQ(c.textDevice, 4) << "the Windows printer";
    EXPECT_FALSE(c.textDeviceAsk);
  }
  EXPECT_EQ(c.textDevice, 1);
  EXPECT_TRUE(c.textDeviceAsk);
}

// ---- Presets ----

TEST(PrintPresets, MacroPresetsAndTheFormsDrawingProposalDiffer) {
  PrintLayout base;
  base.scaleX = 3;
  base.scaleY = 4;
  base.originX = 10;
  base.originY = 20;
  base.border = true;
  base.monochrome = false;
  struct Row {
    int preset;
    Real scaleX;
    bool border, landscape;
  };
  const Row rows[] = {{0, 1.0L, false, true}, {1, 1.0L, true, true}, {2, 1.8L, false, false}, {7, 1.0L, false, true}};
  for (const Row& row : rows) {
    const PrintLayout l = ApplyPrintPreset(row.preset, base);
    EXPECT_EQ(l.scaleX, row.scaleX) << row.preset;
    EXPECT_EQ(l.scaleY, 1.0L) << row.preset;
    EXPECT_EQ(l.originX, 0) << row.preset;
    EXPECT_EQ(l.originY, 0) << row.preset;
    EXPECT_EQ(l.border, row.border) << row.preset;
    EXPECT_EQ(l.landscape, row.landscape) << row.preset;
    EXPECT_FALSE(l.monochrome) << "shading stays that of the configuration";
  }
  // The form proposes 1.9 for a drawing, the macro prints it with 1.8.
  const PrintConfigRequest form = MakePrintConfigRequest(Configuration{}, PrintConfigMode::Print, 2, PrinterInfo{});
  EXPECT_EQ(form.values.scaleX, "1.9");
}

// ---- The print configuration form ----

TEST(PrintConfigForm, OpensWithConfigurationOrDrawingValues) {
  Configuration c;
  c.printScaleX = 1.25L;
  c.printScaleY = 0.5L;
  c.printOriginX = 12;
  c.printOriginY = -3;
  c.printBorder = true;
  c.printOrientation = 2;
  c.printMode = 2;
  PrinterInfo printer;
  printer.name = "Laser";

  PrintConfigRequest r = MakePrintConfigRequest(c, PrintConfigMode::Print, 1, printer);
  EXPECT_EQ(cp850ToUtf8(r.caption), "Ausdruck");
  EXPECT_EQ(cp850ToUtf8(r.editLabels[0]), "Maßstab x");
  EXPECT_EQ(cp850ToUtf8(r.storeCaption), "Ü&bernehmen Datenbank");
  EXPECT_EQ(r.printerCaption, "Drucker...");
  EXPECT_EQ(r.helpNumber, 1030);
  EXPECT_EQ(r.printerLabel, std::string(35, ' ') + "Laser");
  EXPECT_EQ(r.values.scaleX, "1.25");
  EXPECT_EQ(r.values.scaleY, "0.5");
  EXPECT_EQ(r.values.originX, "12");
  EXPECT_EQ(r.values.originY, "-3");
  EXPECT_TRUE(r.values.border);
  EXPECT_TRUE(r.values.landscape);
  EXPECT_FALSE(r.values.monochrome);
  EXPECT_FALSE(r.values.fit);

  c.num.decimalComma = 2;
  c.printMode = 1;
  r = MakePrintConfigRequest(c, PrintConfigMode::Setup, 2, printer);
  EXPECT_EQ(r.mode, PrintConfigMode::Setup);
  EXPECT_EQ(r.values.scaleX, "1,9");
  EXPECT_EQ(r.values.scaleY, "1");
  EXPECT_EQ(r.values.originX, "0");
  EXPECT_EQ(r.values.originY, "0");
  EXPECT_FALSE(r.values.border);
  EXPECT_FALSE(r.values.landscape);
  EXPECT_TRUE(r.values.monochrome);

  // A name longer than the label stays whole.
  EXPECT_EQ(PrinterLabel(std::string(45, 'x')), std::string(45, 'x'));
}

TEST(PrintConfigForm, PrintAndSetupModeRunDifferentSteps) {
  using S = PrintStep;
  PrintConfigResult res;
  res.values.scaleX = "1,5";
  res.values.scaleY = "2";
  res.values.originX = "7";
  res.values.originY = "abc";
  res.values.border = true;
  res.values.monochrome = false;
  res.values.landscape = true;

  Configuration c;
  PrintConfigOutcome out = ApplyPrintConfigResult(c, PrintConfigMode::Print, res);
  EXPECT_EQ(out.steps,
            (std::vector<S>{S::SetOrientation, S::PaintScreen, S::BeginDocument, S::PaintPrinter, S::EndDocument}));
  EXPECT_EQ(c.printScaleX, 1.5L);
  EXPECT_EQ(c.printScaleY, 2.0L);
  EXPECT_EQ(c.printOriginX, 7);
  EXPECT_EQ(c.printOriginY, 0);  // not a number
  EXPECT_TRUE(c.printBorder);
  EXPECT_EQ(c.printMode, 2);
  EXPECT_EQ(c.printOrientation, 2);

  res.values.fit = true;
  out = ApplyPrintConfigResult(c, PrintConfigMode::Print, res);
  EXPECT_EQ(out.steps, (std::vector<S>{S::SetOrientation, S::ResetGraphicsWindow, S::PaintScreen, S::BeginDocument,
                                       S::PaintPrinter, S::EndDocument}));

  // Setup mode: the same values are taken, then an empty document and the printer information.
  res.values.landscape = false;
  Configuration c2;
  out = ApplyPrintConfigResult(c2, PrintConfigMode::Setup, res);
  EXPECT_EQ(out.steps, (std::vector<S>{S::SetOrientation, S::BeginDocument, S::EndDocument, S::ShowPrinterInfo}));
  EXPECT_EQ(c2.printScaleX, 1.5L);
  EXPECT_EQ(c2.printOrientation, 1);
  EXPECT_FALSE(out.layout.landscape);
}

TEST(PrintConfigForm, UnreadableOrZeroScaleFallsBackToOne) {
  PrintConfigValues v;
  v.scaleX = "x";
  v.scaleY = "0";
  v.originX = "12.6";
  v.originY = "-4,4";
  const PrintLayout l = LayoutFromValues(v);
  EXPECT_EQ(l.scaleX, 1.0L);
  EXPECT_EQ(l.scaleY, 1.0L);
  EXPECT_EQ(l.originX, 13);
  EXPECT_EQ(l.originY, -4);
}

// ---- Stored layouts ----

class StoredLayouts : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(kShippedLayouts, tables.file("printout.dbf"));
    path = tables.file("printout.dbf");
  }
  TempFolder tables, work;
  std::string path;
};

TEST_F(StoredLayouts, TableIsTakenFromTheWorkingFolderFirst) {
  LayoutTableLocation loc = FindPrintLayoutTable(work.path(), tables.path());
  EXPECT_TRUE(loc.ok());
  EXPECT_EQ(loc.path, path);

  fs::copy_file(path, work.file("printout.dbf"));
  loc = FindPrintLayoutTable(work.path(), tables.path());
  EXPECT_TRUE(loc.ok());
  EXPECT_EQ(loc.path, work.file("printout.dbf"));

  TempFolder empty;
  loc = FindPrintLayoutTable(work.path() + "nowhere", empty.path());
  EXPECT_FALSE(loc.ok());
  EXPECT_EQ(loc.error, "Datei " + empty.file("printout.dbf") + " nicht gefunden oder kein Zugriffsrecht !");
}

TEST_F(StoredLayouts, ShippedRecordFillsTheForm) {
  PrintConfigValues v;
  LayoutTableOutcome out = LoadPrintLayout(path, 6, v);  // "A4 quer Rahmen monochrom"
  ASSERT_TRUE(out.ok()) << out.error;
  EXPECT_EQ(out.record, 6u);
  EXPECT_EQ(v.scaleX, "1.0000");
  EXPECT_EQ(v.originX, "0");
  EXPECT_TRUE(v.landscape);
  EXPECT_TRUE(v.monochrome);
  EXPECT_FALSE(v.fit);
  EXPECT_TRUE(v.border);

  out = LoadPrintLayout(path, 7, v);  // the drawing layout
  EXPECT_EQ(v.scaleX, "1.9000");
  EXPECT_FALSE(v.landscape);
  EXPECT_FALSE(v.monochrome);
  EXPECT_FALSE(v.border);
  EXPECT_EQ(LayoutFromValues(v).scaleX, 1.9L);
}

TEST_F(StoredLayouts, RecordNumbersOutsideTheTable) {
  PrintConfigValues v;
  LayoutTableOutcome out = LoadPrintLayout(path, 99, v);
  EXPECT_TRUE(out.ok());
  EXPECT_EQ(out.record, 7u);
  EXPECT_EQ(out.calcMessage, "DBF #99 not found.");
  EXPECT_EQ(v.scaleX, "1.9000");

  out = LoadPrintLayout(path, 0, v);
  EXPECT_EQ(out.record, 1u);
  EXPECT_TRUE(out.calcMessage.empty());
}

TEST_F(StoredLayouts, StoreThenLoadRoundTrips) {
  PrintConfigValues stored;
  stored.scaleX = "1,25";
  stored.scaleY = "0.8";
  stored.originX = "15";
  stored.originY = "-5";
  stored.landscape = true;
  stored.monochrome = false;
  stored.fit = true;
  stored.border = true;
  const std::string name = oem("Größer als A4 mit Überlänge und mehr");  // 36 characters: cut to 25
  LayoutTableOutcome out = StorePrintLayout(path, name, stored);
  ASSERT_TRUE(out.ok()) << out.error;
  EXPECT_EQ(out.record, 8u);

  PrintConfigValues loaded;
  out = LoadPrintLayout(path, 8, loaded);
  ASSERT_TRUE(out.ok()) << out.error;
  EXPECT_EQ(loaded.scaleX, "1.2500");
  EXPECT_EQ(loaded.scaleY, "0.8000");
  EXPECT_EQ(loaded.originX, "15");
  EXPECT_EQ(loaded.originY, "-5");
  EXPECT_TRUE(loaded.landscape);
  EXPECT_FALSE(loaded.monochrome);
  EXPECT_TRUE(loaded.fit);
  EXPECT_TRUE(loaded.border);
  // The layout the form then prints with is the one stored.
  const PrintLayout a = LayoutFromValues(stored), b = LayoutFromValues(loaded);
  EXPECT_EQ(a.scaleX, b.scaleX);
  EXPECT_EQ(a.scaleY, b.scaleY);
  EXPECT_EQ(a.originX, b.originX);
  EXPECT_EQ(a.originY, b.originY);

  DbfTable t;
  ASSERT_TRUE(t.open(path, true));
  EXPECT_EQ(t.recordCount(), 8u);
  EXPECT_EQ(t.fieldText(8, 0), leftStr(name, 25));
  EXPECT_EQ(t.fieldText(7, 0), "Zeichnung A4 hoch 1.9:1");  // earlier records untouched

  // An independent reader sees the appended record (when python3-dbfread is at hand).
  const std::string python = test::pythonWithModules({"dbfread"});
  if (python.empty()) return;
  std::string text;
  ASSERT_EQ(test::runProcess({python, "-c",
                              "import sys, dbfread\n"
                              "r = list(dbfread.DBF(sys.argv[1], encoding='cp850'))[-1]\n"
                              "print(r['NAME'], r['XSCALE'], r['YORIGIN'], r['LANDSCAPE'], r['MONOCHROM'],"
                              " r['VARIABLE'], r['BORDERLINE'], sep='|')\n",
                              path},
                             &text),
            0);
  EXPECT_EQ(text, "Größer als A4 mit Überlän|1.25|-5|True|False|True|True\n");
}

TEST_F(StoredLayouts, BadOrMissingTableGivesTheMessageAndChangesNothing) {
  PrintConfigValues v;
  v.scaleX = "3";
  const std::string missing = tables.file("gone.dbf");
  LayoutTableOutcome out = LoadPrintLayout(missing, 1, v);
  EXPECT_EQ(out.error, "Datei " + missing + " nicht gefunden oder kein Zugriffsrecht !");
  EXPECT_EQ(v.scaleX, "3");
  out = StorePrintLayout(missing, "x", v);
  EXPECT_EQ(out.error, "Datei " + missing + " nicht gefunden oder kein Zugriffsrecht !");
  EXPECT_FALSE(fs::exists(missing));

  const std::string bad = tables.file("bad.dbf");
  {
    std::ofstream f(bad, std::ios::binary);
    f << "not a table at all, but longer than thirty-two bytes";
  }
  const std::string before = readBytes(bad);
  out = LoadPrintLayout(bad, 1, v);
  EXPECT_NE(out.error.find(" ist keine dBASE-Datenbank."), std::string::npos) << out.error;
  EXPECT_EQ(v.scaleX, "3");
  out = StorePrintLayout(bad, "x", v);
  EXPECT_NE(out.error.find(" ist keine dBASE-Datenbank."), std::string::npos) << out.error;
  EXPECT_EQ(readBytes(bad), before);
  EXPECT_EQ(out.record, 0u);
}

TEST_F(StoredLayouts, EmptyTableLeavesTheFormAlone) {
  const std::string emptyTable = tables.file("empty.dbf");
  DbfTable shipped;
  ASSERT_TRUE(shipped.open(path, true));
  ASSERT_TRUE(DbfTable::create(emptyTable, shipped.fields()));
  PrintConfigValues v;
  v.scaleX = "2";
  const LayoutTableOutcome out = LoadPrintLayout(emptyTable, 1, v);
  EXPECT_TRUE(out.ok());
  EXPECT_EQ(out.record, 0u);
  EXPECT_EQ(v.scaleX, "2");
}

// ---- Printer information and mapping ----

TEST(PrinterInformation, RowsNameEveryValue) {
  PrinterInfo p;
  p.name = "Laser";
  p.technology = 2;
  p.widthMm = 203;
  p.heightMm = 290;
  p.widthPx = 4800;
  p.heightPx = 6850;
  p.offsetLeftPx = 71;
  p.offsetTopPx = 59;
  p.dpiX = 600;
  p.dpiY = 600;
  p.colors = 2;
  p.fonts = {"Courier", "Helvetica"};
  const PrinterInfoRequest r = MakePrinterInfoRequest(p);
  EXPECT_EQ(r.caption, "Printer Info");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Name", "Laser"},
      {"Treiberversion", "?"},
      {"Technologie", "Rasterdrucker"},
      {"Druckbreite (mm)", "203"},
      {"Druckhöhe (mm)", "290"},
      {"Breite (Pixel)", "4800"},
      {"Höhe (Pixel)", "6850"},
      {"Linker Seitenoffset (Pixel)", "71"},
      {"Oberer Seitenoffset (Pixel)", "59"},
      {"DPI (horizontal)", "600"},
      {"DPI (vertikal)", "600"},
      {"Pinsel", "?"},
      {"Stifte", "?"},
      {"Markierer", "?"},
      {"Farben", "2"},
      {"Schriften", "2"},
      {"", "Courier"},
      {"", "Helvetica"},
  };
  ASSERT_EQ(r.rows.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(cp850ToUtf8(r.rows[i].first), expected[i].first) << i;
    EXPECT_EQ(r.rows[i].second, expected[i].second) << i;
  }
  const char* tech[] = {"Plotter", "Rasterbildschirm", "Rasterdrucker", "?", "Zeichendrucker", "Metafile", "?"};
  for (int t = 0; t <= 6; ++t) EXPECT_EQ(PrinterTechnologyText(t), tech[t]) << t;
  EXPECT_EQ(PrinterTechnologyText(-1), "?");
}

TEST(PrinterMappingTest, LayoutAndPrinterGiveTheReplayValues) {
  PrinterInfo p;
  p.widthPx = 4800;
  p.heightPx = 6800;
  p.landscape = false;
  PrintLayout l;
  l.scaleX = 1.9L;
  l.scaleY = 1.0L;
  l.originX = 10;
  l.originY = 5;
  l.border = true;
  l.monochrome = false;

  PrinterPage m = MakePrinterPage(l, p);
  ASSERT_TRUE(m.valid());
  EXPECT_EQ(m.pageWidth, 4800);
  EXPECT_EQ(m.pageHeight, 6800);
  EXPECT_EQ(m.marginX, 10);
  EXPECT_EQ(m.marginY, 5);
  EXPECT_EQ(m.scaleX, 1.9L);
  EXPECT_NEAR(static_cast<double>(m.pixelsPerMm), 4800.0 / 210, 1e-12);
  EXPECT_EQ(m.penWidthFactor, 4);
  EXPECT_FALSE(m.monochrome);
  EXPECT_TRUE(m.border);

  // A landscape job on a printer still reporting portrait takes the page turned.
  l.landscape = true;
  m = MakePrinterPage(l, p);
  EXPECT_EQ(m.pageWidth, 6800);
  EXPECT_EQ(m.pageHeight, 4800);
  EXPECT_TRUE(m.landscape);

  // No printer: nothing to map onto.
  EXPECT_FALSE(MakePrinterPage(l, PrinterInfo{}).valid());
}

}  // namespace
}  // namespace velk
