// The test process's own temporary root: TMPDIR names a fresh folder for the run, removed at its end.
// Nothing a test or a program it starts leaves in the temporary folder (the program's private
// folder "velk-<uid>" among it) is then seen by a test process running beside it, as under ctest -j.
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
    if (saved_) ::setenv("TMPDIR", saved_->c_str(), 1);
    else ::unsetenv("TMPDIR");
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

 private:
  std::optional<std::string> saved_;
  std::string root_;
};

[[maybe_unused]] ::testing::Environment* const kTempRoot =
    ::testing::AddGlobalTestEnvironment(new TempRootEnvironment);

}  // namespace
}  // namespace velk::test
