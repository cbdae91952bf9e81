// Shared test scaffolding: a fresh session with a scripted headless UI and a private folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/codepage.h"
#include "session/session.h"
#include "ui/headless.h"

namespace velk::test {

// A temporary folder removed with its contents at the end of the test, in the system's temporary
// folder (TMPDIR), whose path may be of any length.
class TempDir {
 public:
  TempDir() : TempDir(std::filesystem::temp_directory_path()) {}
  explicit TempDir(const std::filesystem::path& parent) {
    std::string tmpl = (parent / "velk-test-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) std::abort();
    path_ = tmpl + "/";
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// A temporary folder with a short path of fixed length ("/tmp/velk-test-XXXXXX/"), whatever
// TMPDIR says: for paths typed into entries the program limits in length.
class ShortTempDir : public TempDir {
 public:
  ShortTempDir() : TempDir("/tmp") {}
};

// The message of a failed write: the message's own text, the file and the reason (strerror).
inline std::string writeFailure(const std::string& text, const std::string& path, int err) {
  return text + ": " + path + " (" + std::strerror(err) + ")";
}

inline void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A scripted UI that fails the running test on any question the script does not answer.
class ScriptedUi : public HeadlessUi {
 public:
  ScriptedUi() : HeadlessUi(Mode::Scripted) {
    onUnexpected = [](const std::string& what) { ADD_FAILURE() << what; };
  }
};

// Fixture: fresh session per test, working in its own folder; the program's private temporary
// folder is one of the test's own too.
class SessionTest : public ::testing::Test {
 protected:
  SessionTest() : ws(ui) {
    ws.config.dataDir = dir.path();
    ws.spring.dataDir = dir.path();
    ws.tempRoot = dir.file("private/");
    ws.start.configDir = dir.file("config/");
    std::filesystem::create_directory(ws.tempRoot);
  }
  void TearDown() override { EXPECT_TRUE(ui.scriptDone()) << "scripted answers left over"; }

  TempDir dir;
  ScriptedUi ui;
  Session ws;
};

// UTF-8 view of recorded CP850 texts.
inline std::string u8(const std::string& oemText) { return cp850ToUtf8(oemText); }

}  // namespace velk::test
