// CAD -> 3D model (STEP) through the scripted UI: the installation angle, the file offered, the
// file written, and every way out that writes nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "commands/menucommands.h"
#include "commands/menumodel.h"
#include "commands/springfile.h"
#include "dialogs/dialogs.h"
#include "draw/springpath.h"
#include "step/step_readback.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

const std::string kExample = std::string(VELK_SOURCE_DATA_DIR) + "/examples/uhrfeder.vlk";

// The strip example loaded from a copy in the test's folder.
class StepCommand : public SessionTest {
 protected:
  StepCommand() {
    std::filesystem::copy_file(kExample, dir.file("uhr.vlk"));
    ws.spring.fileName = dir.file("uhr.vlk");
    readInputFile(ws, ws.spring.fileName);
    EXPECT_FALSE(ws.abort);
    EXPECT_FALSE(ws.messages.fatal);
  }
  // The angle preset i of the dialog (0 deltac, 1 delta2, 2 delta1, 3 delta0: unloaded).
  static Answer preset(int i) {
    return Answer::Acting<InstallationAngleRequest>(
        [i](const InstallationAngleRequest& q) { return InstallationAngleResult{q.presets.at(i)}; });
  }
};

TEST_F(StepCommand, WritesTheSpringAtTheChosenAngle) {
  ui.script({preset(1), Answer::Text(dir.file("montiert"))});
  CadStepModel(ws);
  ASSERT_FALSE(ws.abort);
  const std::vector<SaveFileRequest> asked = ui.shown<SaveFileRequest>();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].defaultName, "uhr.step");
  EXPECT_EQ(withSeparator(asked[0].folder), dir.path());
  EXPECT_EQ(ws.spring.deltaDraw, ws.spring.delta2);
  // The extension is added; the solid is the spring turned to delta2, of the same volume.
  const ReadBack r = readStep(dir.file("montiert.step"));
  ASSERT_TRUE(r.read);
  EXPECT_EQ(r.solids, 1);
  EXPECT_TRUE(r.valid);
  const Real length = PathLength(CentreLine(ws.spring, ws.spring.delta0 - ws.spring.delta2));
  EXPECT_NEAR(r.volume, ws.spring.b * ws.spring.t * length, 0.02 * ws.spring.b * ws.spring.t * length);
}

TEST_F(StepCommand, CancelAnywhereWritesNothing) {
  ui.script({Answer::Cancel()});
  CadStepModel(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_TRUE(ui.shown<SaveFileRequest>().empty());

  ui.script({preset(3), Answer::Cancel()});
  CadStepModel(ws);
  EXPECT_TRUE(ws.abort);

  // An existing file is replaced only when the user says so.
  writeFile(dir.file("uhr.step"), "alt");
  ui.script({preset(3), Answer::Text(dir.file("uhr.step")), Answer::No()});
  CadStepModel(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(readFile(dir.file("uhr.step")), "alt");
  EXPECT_FALSE(fileExists(dir.file("montiert.step")));
}

TEST_F(StepCommand, UnwritableFileIsSaidAndTheOldOneKept) {
  writeFile(dir.file("uhr.step"), "alt");
  // The disk fills up when the file itself is written (the name's probe still succeeds).
  const std::string target = dir.file("uhr.step");
  ws.io.writeFault = [target](std::string_view path) { return path == target ? ENOSPC : 0; };
  ui.script({preset(3), Answer::Text(dir.file("uhr.step")), Answer::Yes()});
  CadStepModel(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(readFile(dir.file("uhr.step")), "alt");
  ASSERT_EQ(ui.messages(MessageKind::Error).size(), 1u);
  EXPECT_EQ(u8(ui.messages(MessageKind::Error)[0]),
            writeFailure(u8(ioErrorText(IoStage::Write, kIoDiskFull)), target, ENOSPC));
}

TEST_F(StepCommand, TheItemSitsInTheCadMenuInEveryLanguage) {
  const MenuModel menu = buildMainMenu({});
  EXPECT_EQ(menu.item(MenuId::CadStepModel).caption, "3D-&Modell (STEP)...");
  EXPECT_EQ(*menu.item(MenuId::CadStepModel).parent, MenuId::Cad);
  EXPECT_EQ(captionA(kLanguageEnglish, CapA::Modell3d), "3D &model (STEP)");
  EXPECT_EQ(captionA(kLanguageKorean, CapA::Modell3d), "3D 모델 (STEP)(&M)");
}

}  // namespace
}  // namespace velk::test
