// File-name services: the creation test never touches an existing file, window title, input check.
#include <cerrno>

#include "dialogs/dialogs.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

class FileServicesTest : public SessionTest {};

TEST_F(FileServicesTest, CreationTestLeavesAnExistingFileAlone) {
  writeFile(dir.file("a.vlk"), "keep me");
  ui.script({Answer::Yes()});
  PrepareOutputFile(ws, dir.file("a.vlk"));
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(readFile(dir.file("a.vlk")), "keep me");
  // No probe is left behind either.
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST_F(FileServicesTest, UnusableNamesAreRefused) {
  ws.io.writeFault = [](std::string_view p) { return p.find("ro/") != std::string_view::npos ? EACCES : 0; };
  std::filesystem::create_directory(dir.file("ro"));
  for (std::string name : {dir.file("ro/x.vlk"), dir.file("nofolder/x.vlk"), dir.file("ro")}) {
    ui.clearRequests();
    PrepareOutputFile(ws, name);
    EXPECT_TRUE(ws.abort) << name;
    EXPECT_EQ(u8(ui.messages(MessageKind::Error).at(0)), "Ungültiger Dateiname \"" + name + "\" !");
  }
}

TEST_F(FileServicesTest, CheckInputFileAndWindowTitle) {
  CheckInputFile(ws, " " + dir.file("fehlt.txt") + " ");
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(u8(ui.messages(MessageKind::Error).at(0)),
            "Datei " + dir.file("fehlt.txt") + " nicht gefunden oder kein Zugriffsrecht !");

  SetWindowTitle(ws);
  EXPECT_EQ(ui.windowTitle, "VELK - Spiralfedern");
  ws.spring.fileName = "feder";
  SetWindowTitle(ws);
  EXPECT_EQ(ui.windowTitle, "VELK - Spiralfedern  -  feder.vlk");
  ws.spring.fileName = "feder.txt";
  SetWindowTitle(ws);
  EXPECT_EQ(ui.windowTitle, "VELK - Spiralfedern  -  feder.txt");
}

TEST_F(FileServicesTest, ChooseFileToOpenKinds) {
  std::string folder = dir.path(), result;
  ui.script({Answer::Text("/x/y/feder.abc")});
  ChooseFileToOpen(ws, 4, folder, "*.abc", result);
  EXPECT_EQ(result, "feder");
  EXPECT_EQ(folder, "/x/y/");
  EXPECT_EQ(ws.spring.fileExt, "abc");

  ui.script({Answer::Text("/x/y/z.txt")});
  ChooseFileToOpen(ws, 5, folder, "*.txt", result);
  EXPECT_EQ(result, "/x/y/z.txt");

  ui.script({Answer::Cancel()});
  ChooseFileToOpen(ws, 5, folder, "*.txt", result);
  EXPECT_TRUE(ws.abort);
  EXPECT_TRUE(result.empty());

  ui.script({Answer::Cancel()});
  ChooseFileFrom(ws, "/p/q.exe", "*.exe", result);
  EXPECT_EQ(result, "/p/q.exe");
  EXPECT_TRUE(ws.abort);

  ui.script({Answer::Cancel()});
  std::string chosen;
  ChooseFolder(ws, dir.path(), chosen);
  EXPECT_EQ(chosen, dir.path());
  EXPECT_FALSE(ws.abort) << "a cancelled folder choice does not abort";
}

}  // namespace
}  // namespace velk::test
