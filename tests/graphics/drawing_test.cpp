// Drawing layer: state and routing (through a recording device plugged in as a provider), the
// screen device's records, device selection, file naming, commits and aborts, block-file cleanup.
#include "draw/drawing.h"

#include <cerrno>
#include <filesystem>

#include "draw/dxf.h"
#include "graphics/output.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

// Plugged in on a device code to see exactly what the layer routes to a device.
class RecordingDevice : public DrawingDevice {
 public:
  explicit RecordingDevice(std::vector<std::string>& log) : log_(log) {}
  void window(Real x1, Real y1, Real x2, Real y2) override { add("window", {x1, y1, x2, y2}); }
  void tables(DrawingKind kind) override { add("tables", {Real(kind == DrawingKind::Diagram ? 2 : 0)}); }
  void beginEntities() override { add("begin", {}); }
  void endEntities() override { add("end", {}); }
  void finish() override { add("finish", {}); }
  void discard() override { add("discard", {}); }
  void layer(int n, const std::string& name) override { add("layer " + name, {Real(n)}); }
  void line(Real x1, Real y1, Real x2, Real y2) override { add("line", {x1, y1, x2, y2}); }
  void circle(Real x, Real y, Real r) override { add("circle", {x, y, r}); }
  void arc(Real x, Real y, Real s, Real e, Real r) override { add("arc", {x, y, s, e, r}); }
  void solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override {
    add("solid", {x1, y1, x2, y2, x3, y3, x4, y4});
  }
  void text(const std::string& t, Real x, Real y, const TextAttributes& a) override {
    add("text " + t, {x, y, a.height, a.widthFactor, a.angle, a.slant});
  }
  void insert(const std::string& name, Real x, Real y, Real angle, Real xs, Real ys) override {
    add("insert " + name, {x, y, angle, xs, ys});
  }

 private:
  void add(const std::string& what, std::initializer_list<Real> v) {
    std::string s = what;
    for (Real x : v) s += " " + FormatRecordReal(x);
    log_.push_back(s);
  }
  std::vector<std::string>& log_;
};

class DrawingTest : public SessionTest {
 protected:
  DrawingTest() {
    temp = dir.file("tmp/");
    std::filesystem::create_directory(temp);
    ws.config.tempDir = temp;
    ws.config.cadDir = dir.path();
    SetDeviceFactory(ws.drawing, DeviceCode::Tab, [this](const DrawingOptions&, const std::string& path) {
      opened = path;
      return std::make_unique<RecordingDevice>(log);
    });
  }
  // Opens the recording device (code 5) in batch naming, so no dialog is involved.
  void openRecording() {
    ws.start.batchCad = true;
    ws.spring.fileName = "feder";
    OpenDrawing(ws, DeviceCode::Tab);
    ASSERT_FALSE(ws.abort);
    log.clear();
  }
  std::string temp;
  std::string opened;
  std::vector<std::string> log;
};

TEST_F(DrawingTest, OriginJustificationAndTextState) {
  openRecording();
  SetOrigin(ws.drawing, 100, 200);
  Line(ws.drawing, 1, 2, 3, 4);
  TextStyle(ws.drawing, 2, 0, 3.5L, 0);  // width 0: factor 0.7 (x configured 1)
  SetTextJustify(ws.drawing, 2, 0);
  Text(ws.drawing, "0123456789", 50, 0);  // right-justified: 10 x 3.5 x 0.7 = 24.5 to the left
  SetTextJustify(ws.drawing, 1, 2);
  Text(ws.drawing, "ab", 0, 0);  // centre: -0.5 x 2 x 3.5 x 0.7; top: -3.5
  SetTextJustify(ws.drawing, 0, 1);
  Text(ws.drawing, "", 0, 0);           // nothing
  ws.drawing.options.cadTextWidth = 2;  // the options the drawing was opened with
  ws.drawing.options.cadTextAngle = 15;
  TextStyle(ws.drawing, 1, 30, 2, 3);  // factor 2 x 3/2
  Text(ws.drawing, "m", 0, 10);        // middle: -1
  EXPECT_EQ(log, (std::vector<std::string>{"line 101 202 103 204", "text 0123456789 125.5 200 3.5 0.7 0 0",
                                           "text ab 97.55 196.5 3.5 0.7 0 0", "text m 100 209 2 3 30 15"}));
}

TEST_F(DrawingTest, PenRectangleAndTextLine) {
  openRecording();
  Rectangle(ws.drawing, 0, 0, 10, 5);
  TextStyle(ws.drawing, 2, 0, 5, 0);
  SetLineSpacing(ws.drawing, 1.5L);
  MoveTo(ws.drawing, 1, 50);
  TextLine(ws.drawing, "a");
  TextLine(ws.drawing, "b");
  LineTo(ws.drawing, 0, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"line 0 0 0 5", "line 0 5 10 5", "line 10 5 10 0", "line 10 0 0 0",
                                           "text a 1 50 5 0.7 0 0", "text b 1 38 5 0.7 0 0", "line 1 26 0 0"}));
}

TEST_F(DrawingTest, LayersAndNonFiniteInput) {
  ws.config.layerName[1] = "MITTE";
  openRecording();
  for (int n : {40, 32, 1, 7, -3}) SetLayer(ws.drawing, n);
  Arc(ws.drawing, 0, 0, 0, 90, 0);  // radius 0: nothing on every device
  Line(ws.drawing, 0, 0, std::numeric_limits<Real>::infinity(), 1);
  Circle(ws.drawing, std::numeric_limits<Real>::quiet_NaN(), 0, 1);
  EXPECT_EQ(log, (std::vector<std::string>{"layer 24 24", "layer 16 16", "layer MITTE 1", "layer 7 7", "layer 0 0"}));
  EXPECT_EQ(LayerName(DrawingOptionsFor(ws), 2), "2");
  EXPECT_EQ(LayerColor(DrawingOptionsFor(ws), 4), 3);
  EXPECT_EQ(LayerColor(DrawingOptionsFor(ws), 31), 16);
  ws.config.layerColor[31] = 7;
  EXPECT_EQ(LayerColor(DrawingOptionsFor(ws), 31), 7);
}

TEST_F(DrawingTest, SequenceRoutingAndFinish) {
  ws.start.batchCad = true;
  ws.spring.fileName = "feder";
  OpenDrawing(ws, DeviceCode::Tab);
  EXPECT_EQ(opened, dir.file("feder.txt"));
  Window(ws.drawing, 0, 0, 160, 120);
  Tables(ws.drawing, DrawingKind::Diagram);
  BeginEntities(ws.drawing, ws.diag);
  Solid(ws.drawing, 0, 0, 1, 0, 0, 1, 1, 1);
  Arc(ws.drawing, 1, 2, 10, 20, 3);
  Insert(ws.drawing, ws.diag, "LOGO_2", 1, 2, 0, 1, 1);
  EndEntities(ws.drawing);
  FinishDrawing(ws);
  EXPECT_EQ(log,
            (std::vector<std::string>{"window 0 0 160 120", "layer 0 0", "tables 2", "begin", "solid 0 0 1 0 0 1 1 1",
                                      "arc 1 2 10 20 3", "insert LOGO_2 1 2 0 1 1", "end", "finish"}));
  EXPECT_FALSE(ws.drawing.out);
  Line(ws.drawing, 0, 0, 1, 1);  // no device open: nothing happens
  EXPECT_EQ(log.size(), 9u);
}

TEST_F(DrawingTest, DeviceDialogAndUnavailableDevices) {
  SetDeviceFactory(ws.drawing, DeviceCode::Iges, {});  // a code without a writer
  ui.script({Answer::Choice(2)});
  OpenDrawing(ws, DeviceCode::Ask);
  EXPECT_TRUE(ws.abort);
  ASSERT_GE(ui.requests().size(), 2u);
  const Request& r = ui.requests()[0];
  EXPECT_EQ(r.kind, Request::Kind::Radio);
  EXPECT_EQ(r.prompt, "CAD-Code");
  EXPECT_EQ(r.helpNumber, 2050);
  EXPECT_EQ(r.items, (std::vector<std::string>{"DXF", "IGES", "Kontrollausgabe auf Bildschirm",
                                               "Ausgabe auf Laserprinter/Plotter mit PLOTRIX", "TXT"}));
  EXPECT_EQ(r.index, 3);  // the device code starts at the screen
  EXPECT_EQ(u8(ui.messages(MessageKind::Error).at(0)), "IGES nicht verfügbar");
  EXPECT_EQ(ws.drawing.device, DeviceCode::Iges);
  // Cancel in the dialog: abort, nothing opened.
  ws.abort = false;
  ui.script({Answer::Cancel()});
  OpenDrawing(ws, DeviceCode::Ask);
  EXPECT_TRUE(ws.abort);
  EXPECT_FALSE(ws.drawing.out);
}

TEST_F(DrawingTest, SaveDialogNamesTheFile) {
  ui.script({Answer::Text(dir.file("zeichnung"))});
  ws.spring.fileName = "feder";
  OpenDrawing(ws, DeviceCode::Dxf);
  ASSERT_FALSE(ws.abort);
  const Request& r = ui.requests().back();
  EXPECT_EQ(r.kind, Request::Kind::SaveFile);
  EXPECT_EQ(ws.drawing.fileName, dir.file("zeichnung.dxf"));
  Window(ws.drawing, 0, 0, 10, 10);
  BeginEntities(ws.drawing, ws.diag);
  EndEntities(ws.drawing);
  FinishDrawing(ws);
  EXPECT_TRUE(std::filesystem::exists(dir.file("zeichnung.dxf")));
  // Cancel: abort, no file.
  ui.script({Answer::Cancel()});
  OpenDrawing(ws, DeviceCode::Dxf);
  EXPECT_TRUE(ws.abort);
  EXPECT_FALSE(ws.drawing.out);
}

TEST_F(DrawingTest, AbortedOrFailedDrawingLeavesTheOldFile) {
  writeFile(dir.file("feder.dxf"), "old");
  ws.start.batchCad = true;
  ws.spring.fileName = "feder";
  auto draw = [this] {
    OpenDrawing(ws, DeviceCode::Dxf);
    ASSERT_FALSE(ws.abort);
    Window(ws.drawing, 0, 0, 10, 10);
    Tables(ws.drawing, DrawingKind::Drawing);
    BeginEntities(ws.drawing, ws.diag);
    Line(ws.drawing, 0, 0, 1, 1);
  };
  draw();
  ws.abort = true;  // e.g. a failed step: Finish discards
  EndEntities(ws.drawing);
  FinishDrawing(ws);
  EXPECT_EQ(readFile(dir.file("feder.dxf")), "old");
  // A caller that stops without Finish: the next Open discards the unfinished drawing.
  ws.abort = false;
  draw();
  ws.abort = false;
  draw();
  FinishDrawing(ws);
  EXPECT_NE(readFile(dir.file("feder.dxf")), "old");
  // A full disk: message, abort, the previous file stays.
  writeFile(dir.file("feder.dxf"), "old");
  draw();
  ws.io.writeFault = [](std::string_view) { return ENOSPC; };
  FinishDrawing(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(u8(ui.messages(MessageKind::Error).back()),
            writeFailure("Diskette/Platte voll", dir.file("feder.dxf"), ENOSPC));
  EXPECT_EQ(readFile(dir.file("feder.dxf")), "old");
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1);  // no temporary file left behind
}

TEST_F(DrawingTest, ScreenDeviceRecords) {
  ws.display.W = 400;
  ws.display.H = 300;
  ws.config.lineThickness[20] = 60;  // outside 2..50: width 1
  ws.config.lineThickness[21] = 4;
  OpenDrawing(ws, DeviceCode::Screen);
  ASSERT_FALSE(ws.abort);
  Window(ws.drawing, 0, 0, 398, 298);
  auto& rec = ws.display.records;
  rec.clear();
  SetLayer(ws.drawing, 1);   // dash-dot, DXF colour 2 -> palette 14
  SetLayer(ws.drawing, 2);   // dashed
  SetLayer(ws.drawing, 5);   // colour 1 -> 12, width 3
  SetLayer(ws.drawing, 9);   // style 0, colour unchanged, width 1
  SetLayer(ws.drawing, 20);  // pen colour 5 -> 9, width 60 -> 1
  SetLayer(ws.drawing, 21);  // pen colour 6 -> 13, width 4
  Solid(ws.drawing, 0, 0, 1, 0, 0, 1, 1, 1);
  SetLineStyle(ws.drawing, 1);
  TextStyle(ws.drawing, 2, 0, 10, 20);
  Text(ws.drawing, oem("Länge"), 1, 2);
  Arc(ws.drawing, 0, 0, 0, 2, 10);
  EXPECT_EQ(rec, (std::vector<std::string>{"11;2", "8;14", "11;3", "11;0", "8;12", "12;3", "12;1", "8;9", "8;13",
                                           "12;4", "7;0;0;1;0;1;1;0;1", "11;1", "9;10;19;2;0", "6;1;2;L\xE4nge",
                                           "4;10;0;9.9939083;0.34899497"}));
  FinishDrawing(ws);
}

TEST_F(DrawingTest, ScreenFooterFrameLogosAndCleanup) {
  ws.config.printBorder = true;
  ws.spring.fileName = "feder";
  ws.spring.dataDir = "/daten/";
  writeFile(temp + "$LOGO_2.dx$", "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n480\n21\n0\n0\nEOF\n");
  writeFile(temp + "$OTHER.dx$", "0\nEOF\n");
  writeFile(temp + "keep.txt", "x");
  int repaints = 0;
  ws.display.invalidate = [&repaints] { ++repaints; };
  OpenDrawing(ws, DeviceCode::Screen);
  Window(ws.drawing, 0, 0, 160, 120);
  BeginEntities(ws.drawing, ws.diag);
  const auto& rec = ws.display.records;
  // Header, the current layer, the frame on layer 19, then the footer text on layer 30.
  EXPECT_EQ(std::vector<std::string>(rec.begin() + 1, rec.begin() + 4),
            (std::vector<std::string>{"11;0", "8;12", "12;1"}));
  EXPECT_EQ(rec[0].substr(0, 3), "10;");
  const std::string footer = DrawingOptionsFor(ws).footer;
  EXPECT_NE(footer.find(" - ORVAN VELK V3.4 - /daten/feder.vlk"), std::string::npos) << footer;
  EXPECT_NE(std::find(rec.begin(), rec.end(), "4;0;0;0;120"), rec.end());
  EXPECT_NE(std::find(rec.begin(), rec.end(), "9;0.72;0.684;2;0"), rec.end());  // 0.006 x 120, 0.95 x 0.0045 x 160
  EXPECT_NE(std::find(rec.begin(), rec.end(), "6;0.8;0.24;" + footer), rec.end());
  // LOGO_2 at (0.91 x 160, 0.01 x 120) scaled 160/480: its line ends 160 units right of it.
  EXPECT_NE(std::find(rec.begin(), rec.end(), "4;145.6;1.2;305.6;1.2"), rec.end());
  EndEntities(ws.drawing);
  FinishDrawing(ws);
  EXPECT_FALSE(std::filesystem::exists(temp + "$LOGO_2.dx$"));
  EXPECT_FALSE(std::filesystem::exists(temp + "$OTHER.dx$"));
  EXPECT_TRUE(std::filesystem::exists(temp + "keep.txt"));
  EXPECT_EQ(repaints, 3);  // clear at Open, clear viewport at BeginEntities and at Finish
}

TEST_F(DrawingTest, ScreenFileCheckAndLogo) {
  writeFile(temp + "hilfe.plt", "IN;");
  EXPECT_TRUE(ScreenFileExists(ws, temp + "hilfe.plt"));
  EXPECT_FALSE(ws.abort);
  EXPECT_FALSE(ScreenFileExists(ws, dir.file("fehlt.plt")));
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(u8(ui.messages(MessageKind::Error).at(0)), dir.file("fehlt.plt") + " nicht gefunden !");
  ws.abort = false;
  DrawOrvanLogo(ws.display);
  const auto& rec = ws.display.records;
  ASSERT_FALSE(rec.empty());
  EXPECT_EQ(rec[0], "10;1;1;1014;676;-1;-1;38;33");
  EXPECT_EQ(std::count(rec.begin(), rec.end(), "8;9") + std::count(rec.begin(), rec.end(), "8;13"),
            4);  // 9 9 13 13 9 13
  EXPECT_EQ(std::count_if(rec.begin(), rec.end(), [](const std::string& r) { return r.rfind("7;", 0) == 0; }), 6);
}

TEST_F(DrawingTest, LongFileNamesAreShortenedInTheFooter) {
  ws.spring.dataDir = "/" + std::string(100, 'd') + "/";
  ws.spring.fileName = std::string(40, 'n');
  const std::string full = ws.spring.dataDir + ws.spring.fileName + ".vlk";
  const std::string footer = DrawingOptionsFor(ws).footer;
  EXPECT_NE(footer.find(full.substr(0, 57) + " ... " + full.substr(full.size() - 58)), std::string::npos);
  ws.spring.fileName.clear();
  EXPECT_EQ(DrawingOptionsFor(ws).footer.substr(DrawingOptionsFor(ws).footer.size() - 3), " - ");
}

TEST_F(DrawingTest, LogosOnlyOnScreenAndPlotDevices) {
  writeFile(temp + "$LOGO_2.dx$", "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n0\n0\nEOF\n");
  openRecording();  // device 5
  Window(ws.drawing, 0, 0, 480, 360);
  BeginEntities(ws.drawing, ws.diag);
  EXPECT_EQ(log, (std::vector<std::string>{"window 0 0 480 360", "layer 0 0", "begin"}));
  FinishDrawing(ws);
  // The plot device writes INSERT entities for them.
  SetDeviceFactory(ws.drawing, DeviceCode::Plot, [](const DrawingOptions& options, const std::string& path) {
    return std::make_unique<DxfDevice>(options, path, true);
  });
  OpenDrawing(ws, DeviceCode::Plot);
  ASSERT_FALSE(ws.abort);
  EXPECT_EQ(ws.drawing.fileName, temp + "plotrix.dxf");
  Window(ws.drawing, 0, 0, 480, 360);
  BeginEntities(ws.drawing, ws.diag);
  EndEntities(ws.drawing);
  FinishDrawing(ws);
  const std::string dxf = readFile(temp + "plotrix.dxf");
  EXPECT_NE(dxf.find("  0\r\nINSERT\r\n  8\r\n0\r\n  2\r\nLOGO_2\r\n 10\r\n436.800000\r\n 20\r\n3.600000\r\n"),
            std::string::npos);
  EXPECT_EQ(dxf.find("LOGO_3"), std::string::npos);
}

}  // namespace
}  // namespace velk::test
