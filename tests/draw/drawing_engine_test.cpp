// The drawing layer on its own: a state, a sink and options, no session. A device failure reaches
// the sink with its message and stops the drawing; a stopped drawing leaves no file; the layer
// names come from the options it was opened with.
#include <cerrno>
#include <filesystem>

#include "draw/drawing.h"
#include "draw/dxf.h"
#include "draw/tabdrawing.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

class DrawingEngineTest : public ::testing::Test {
 protected:
  DrawingEngineTest() {
    SetDeviceFactory(state, DeviceCode::Dxf, [](const DrawingOptions& o, const std::string& path) {
      return std::make_unique<DxfDevice>(o, path, false);
    });
    SetDeviceFactory(state, DeviceCode::Tab, MakeTabDevice);
    InstallScreenDevice(state, display);
    options.tempFolder = dir.path();
  }
  // One line on a fresh drawing; the result of Finish.
  bool drawLine(DeviceCode device, const std::string& path, bool stop = false) {
    if (!Open(state, diag, device, path, options)) return false;
    Window(state, 0, 0, 10, 10);
    Tables(state, DrawingKind::Drawing);
    BeginEntities(state, diag);
    SetLayer(state, 3);
    Line(state, 1, 2, 3, 4);
    EndEntities(state);
    return Finish(state, diag, stop);
  }
  size_t files() const {
    size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) n += e.is_regular_file();
    return n;
  }

  TempDir dir;
  DrawingState state;
  DisplayList display;
  Diagnostics diag;
  DrawingOptions options;
};

TEST_F(DrawingEngineTest, WritesWithTheOptionsItWasOpenedWith) {
  options.layerName[3] = "KONTUR";
  options.dxfDecimals = 2;
  ASSERT_TRUE(drawLine(DeviceCode::Dxf, dir.file("a.dxf")));
  const std::string dxf = readFile(dir.file("a.dxf"));
  EXPECT_NE(dxf.find("  0\r\nLINE\r\n  8\r\nKONTUR\r\n 10\r\n1.00\r\n 20\r\n2.00\r\n"), std::string::npos);
  EXPECT_NE(dxf.find("  2\r\nKONTUR\r\n"), std::string::npos);  // in the layer table too
  EXPECT_TRUE(diag.messages().empty());
  EXPECT_EQ(state.fileName, dir.file("a.dxf"));
}

TEST_F(DrawingEngineTest, AWriteFailureGoesToTheSinkAndLeavesNoFile) {
  for (DeviceCode device : {DeviceCode::Dxf, DeviceCode::Tab}) {
    diag.clear();
    const std::string path = dir.file("old.txt");
    writeFile(path, "old");
    int calls = 0;
    options.io.writeFault = [&calls](std::string_view) { return ++calls > 1 ? ENOSPC : 0; };  // the probe passes
    EXPECT_FALSE(drawLine(device, path));
    ASSERT_EQ(diag.messages().size(), 1u);
    EXPECT_EQ(diag.messages()[0].severity, Severity::Error);
    EXPECT_EQ(diag.messages()[0].text, oem(writeFailure("Diskette/Platte voll", path, ENOSPC)));
    EXPECT_EQ(readFile(path), "old");
    EXPECT_EQ(files(), 1u);
    EXPECT_TRUE(state.failed);
    options.io = {};
  }
}

TEST_F(DrawingEngineTest, UnavailableDevicesAndUncreatableFilesAreRefusedWithTheirMessages) {
  SetDeviceFactory(state, DeviceCode::Iges, {});
  EXPECT_FALSE(DeviceAvailable(state, DeviceCode::Iges));
  EXPECT_FALSE(DeviceAvailable(state, DeviceCode::Ask));
  EXPECT_FALSE(Open(state, diag, DeviceCode::Iges, dir.file("a.igs"), options));
  EXPECT_FALSE(Open(state, diag, DeviceCode::Dxf, dir.file("none/a.dxf"), options));
  ASSERT_EQ(diag.messages().size(), 2u);
  EXPECT_EQ(diag.messages()[0].text, oem("IGES nicht verfügbar"));
  EXPECT_EQ(diag.messages()[1].text, "file write error");
  EXPECT_EQ(state.out, nullptr);
  EXPECT_EQ(files(), 0u);
}

TEST_F(DrawingEngineTest, AStoppedDrawingAndAnAbandonedOneLeaveNoFile) {
  EXPECT_FALSE(drawLine(DeviceCode::Dxf, dir.file("a.dxf"), true));
  ASSERT_TRUE(Open(state, diag, DeviceCode::Tab, dir.file("b.txt"), options));
  Line(state, 0, 0, 1, 1);
  Abandon(state);
  EXPECT_EQ(files(), 0u);
  EXPECT_TRUE(diag.messages().empty());
}

TEST_F(DrawingEngineTest, AScreenWindowWithoutExtentStopsTheDrawingSilently) {
  ASSERT_TRUE(Open(state, diag, DeviceCode::Screen, "", options));
  Window(state, 0, 0, 0, 10);
  EXPECT_TRUE(state.failed);
  EXPECT_FALSE(Finish(state, diag, false));
  EXPECT_TRUE(diag.messages().empty());
  EXPECT_FALSE(display.records.empty());  // what was drawn stays on screen
}

TEST_F(DrawingEngineTest, AMissingBlockFileStopsTheScreenDrawing) {
  ASSERT_TRUE(Open(state, diag, DeviceCode::Screen, "", options));
  Window(state, 0, 0, 10, 10);
  Insert(state, diag, "FEHLT", 0, 0, 0, 1, 1);
  ASSERT_EQ(diag.messages().size(), 1u);
  EXPECT_EQ(diag.messages()[0].text, "Invalid temp directory");
  EXPECT_FALSE(Finish(state, diag, false));
}

}  // namespace
}  // namespace velk::test
