// Starting external programs: shell-like splitting without a shell, PATH lookup, the fallback
// for Windows program names of old configurations, real starts and their error texts.
#include "platform/process.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/files.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

TEST(ProcessCommandLine, SplitsAsAShellWouldWithoutExpanding) {
  struct Case {
    std::string line;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"gedit", {"gedit"}},
      {"  gedit   --new-window  ", {"gedit", "--new-window"}},
      {"'/opt/my editor/bin/ed' -x", {"/opt/my editor/bin/ed", "-x"}},
      {"\"/opt/my editor/ed\" \"a \\\"b\\\" \\$c\"", {"/opt/my editor/ed", "a \"b\" $c"}},
      {"my\\ editor arg", {"my editor", "arg"}},
      {"ed $HOME ~ *.txt `ls` ;rm", {"ed", "$HOME", "~", "*.txt", "`ls`", ";rm"}},
      {"ed ''", {"ed", ""}},
      {"ed 'unterminated rest", {"ed", "unterminated rest"}},
      {"ed \"a\"'b'c", {"ed", "abc"}},
      {"C:\\WINDOWS\\WRITE.EXE", {"C:\\WINDOWS\\WRITE.EXE"}},
      {"c:\\Programme\\Internet Explorer\\Iexplore.exe", {"c:\\Programme\\Internet", "Explorer\\Iexplore.exe"}},
      {"\"C:\\Program Files\\App\\app.exe\" /p", {"C:\\Program Files\\App\\app.exe", "/p"}},
  };
  for (const Case& c : cases) EXPECT_EQ(splitCommandLine(c.line), c.words) << c.line;
}

TEST(ProcessCommandLine, RecognisesWindowsProgramNames) {
  for (const char* name : {"NOTEPAD.EXE", "notepad", "Notepad", "C:\\WINDOWS\\WRITE.EXE", "write", "iexplore",
                           "c:/tools/x", "prog.bat", "dir\\prog"})
    EXPECT_TRUE(isWindowsProgramName(name)) << name;
  for (const char* name : {"", "gedit", "xdg-open", "/usr/bin/mousepad", "notepadqq", "exe"})
    EXPECT_FALSE(isWindowsProgramName(name)) << name;
}

TEST(ProcessCommandLine, FindsProgramsInPathOrByTheirPath) {
  EXPECT_FALSE(findProgram("sh").empty());
  EXPECT_EQ(findProgram("/bin/sh"), "/bin/sh");
  EXPECT_TRUE(findProgram("no-such-program-velk").empty());
  EXPECT_TRUE(findProgram("/etc/passwd").empty());  // not executable
  EXPECT_TRUE(findProgram("").empty());
}

// Only the bare name xdg-open, looked up in absolute PATH folders, is the desktop's opener: one
// beside a spring file or in any named folder is some other program of that name.
TEST(ProcessCommandLine, DesktopOpenerOnlyByNameFromAbsolutePathFolders) {
  TempDir dir;
  writeFile(dir.file("xdg-open"), "#!/bin/sh\n");
  ASSERT_EQ(::chmod(dir.file("xdg-open").c_str(), 0755), 0);
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  struct Case {
    std::string path;
    std::vector<std::string> argv;
    bool opener;
  } cases[] = {
      {dir.path(), {"xdg-open", "a.pdf"}, true},
      {"/usr/bin:" + dir.path(), {"xdg-open"}, true},
      {dir.path() + "no-such-folder", {"xdg-open", "a.pdf"}, true},  // not installed: nothing starts
      {dir.path(), {"./xdg-open", "a.pdf"}, false},
      {dir.path(), {dir.file("xdg-open"), "a.pdf"}, false},
      {dir.path(), {"/usr/bin/xdg-open", "a.pdf"}, false},
      {dir.path(), {"bin/xdg-open"}, false},
      {dir.path(), {"XDG-OPEN"}, false},
      {dir.path(), {"xdg-open.sh"}, false},
      {dir.path(), {}, false},
  };
  for (const Case& c : cases) {
    ::setenv("PATH", c.path.c_str(), 1);
    EXPECT_EQ(isDesktopOpener(c.argv), c.opener) << (c.argv.empty() ? "" : c.argv[0]) << " PATH=" << c.path;
  }
  // A relative PATH entry that holds it: found through the working folder, not the opener.
  const std::string relative = std::filesystem::relative(dir.path()).string();
  ::setenv("PATH", relative.c_str(), 1);
  EXPECT_FALSE(isDesktopOpener({"xdg-open"})) << relative;
  ::setenv("PATH", oldPath.c_str(), 1);
}

TEST(ProcessCommandLine, CommandForAFile) {
  const std::string file = "/tmp/a b/outwin.txt";
  ProgramCommand c = commandForFile("sh -x", file);
  EXPECT_EQ(c.status, ProgramCommand::Status::Ready);
  EXPECT_EQ(c.argv, (std::vector<std::string>{"sh", "-x", file}));  // a blank in the file is no split

  c = commandForFile("NOTEPAD.EXE /p", file);
  EXPECT_EQ(c.status, ProgramCommand::Status::Ready);
  EXPECT_TRUE(c.fallback);
  EXPECT_EQ(c.argv, (std::vector<std::string>{"xdg-open", file}));

  c = commandForFile("no-such-program-velk", file);
  EXPECT_EQ(c.status, ProgramCommand::Status::NotFound);
  EXPECT_EQ(c.program, "no-such-program-velk");
  EXPECT_EQ(commandForFile("  ", file).status, ProgramCommand::Status::Empty);
}

TEST(ProcessStart, StartsWithAnArgumentVectorAndReportsStartErrors) {
  TempDir dir;
  ProgramLauncher launcher;
  // A file name full of shell metacharacters stays one argument: no shell sees it.
  const std::string made = dir.file("a b;$(x)`y`");
  ASSERT_EQ(StartProgram(launcher, {"touch", made}, true), 0);
  for (int i = 0; i < 200 && !fileExists(made); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(fileExists(made));
  EXPECT_EQ(launcher.children.size(), 1u);

  const int e = StartProgram(launcher, {"no-such-program-velk"});
  EXPECT_EQ(e, ENOENT);
  EXPECT_EQ(startErrorText(e), "file not found");
  EXPECT_EQ(StartProgram(launcher, {}), ENOENT);

  // The hook replaces starting altogether.
  std::vector<std::string> seen;
  launcher.hook = [&](const std::vector<std::string>& argv) {
    seen = argv;
    return EACCES;
  };
  EXPECT_EQ(StartProgram(launcher, {"rm", "-rf", "/"}), EACCES);
  EXPECT_EQ(seen, (std::vector<std::string>{"rm", "-rf", "/"}));
}

TEST(ProcessStart, ErrorTextsFollowTheStartCodes) {
  EXPECT_EQ(startErrorText(ENOMEM), "out of memory !");
  EXPECT_EQ(startErrorText(ENOENT), "file not found");
  EXPECT_EQ(startErrorText(EACCES), "Exec error 5");
  EXPECT_EQ(startErrorText(ENOEXEC), "Exec error 11");
  EXPECT_EQ(startErrorText(EIO), "Exec error 31");
}

}  // namespace
}  // namespace velk::test
