// The test process's own temporary root: TMPDIR names a fresh folder for the run, removed at its end.
// Nothing a test or a program it starts leaves in the temporary folder (the program's private
// folder "velk-<uid>" among it) is then seen by a test process running beside it, as under ctest -j.
// Each test also gets a configuration folder of its own (VELK_CONFIG_DIR, not yet created), so no
// test, and no program a test starts, reads or writes the configuration of the user running them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace velk::test {
namespace {

class TempRootEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (const char* old = std::getenv("TMPDIR")) saved_ = old;
    std::string tmpl = (std::filesystem::temp_directory_path() / "velk-tests-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) std::abort();
    root_ = tmpl;
    ::setenv("TMPDIR", root_.c_str(), 1);
  }
  void TearDown() override {
    if (saved_)
      ::setenv("TMPDIR", saved_->c_str(), 1);
    else
      ::unsetenv("TMPDIR");
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

 private:
  std::optional<std::string> saved_;
  std::string root_;
};

[[maybe_unused]] ::testing::Environment* const kTempRoot = ::testing::AddGlobalTestEnvironment(new TempRootEnvironment);

class PrivateConfigFolder : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo&) override {
    const char* tmp = std::getenv("TMPDIR");
    const std::string root = tmp && *tmp ? tmp : "/tmp";
    ::setenv("VELK_CONFIG_DIR", (root + "/config-" + std::to_string(++count_) + "/").c_str(), 1);
  }

 private:
  int count_ = 0;
};

[[maybe_unused]] const bool kPrivateConfig =
    (::testing::UnitTest::GetInstance()->listeners().Append(new PrivateConfigFolder), true);

}  // namespace
}  // namespace velk::test
