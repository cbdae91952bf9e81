// Tests of the shipped help images (share/*.plt): each is drawn by our reader into the help
// window, independent of what the image before it left behind, and converts with hp2xx.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "draw/displaylist.h"
#include "help/hpgl.h"
#include "support/fixture.h"
#include "support/run_process.h"

namespace velk {
namespace {

namespace fs = std::filesystem;
using test::SessionTest;

const std::string kHelpDir = std::string(VELK_SOURCE_DATA_DIR) + "/";

// The images the help texts refer to (tools/make_help_images.py).
const std::vector<std::string> kImages = {"geometr", "enden", "winkel", "kennlin", "goodman", "modi", "null"};

bool onPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  const std::string dirs = path;
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string dir = dirs.substr(start, end - start);
    if (!dir.empty() && ::access((dir + "/" + name).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

class HelpImagesTest : public SessionTest {
 protected:
  std::vector<std::string> render(const std::string& name) {
    ClearDisplay(ws.display);
    Header(ws.display, 0, 0, 160, 120);
    DrawHpglFile(ws, kHelpDir + name + ".plt");
    EXPECT_FALSE(ws.abort) << name;
    return ws.display.records;
  }
};

TEST_F(HelpImagesTest, EveryShippedImageIsListed) {
  std::vector<std::string> shipped;
  for (const auto& entry : fs::directory_iterator(kHelpDir))
    if (entry.path().extension() == ".plt") shipped.push_back(entry.path().stem().string());
  std::sort(shipped.begin(), shipped.end());
  std::vector<std::string> listed = kImages;
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(shipped, listed);
  for (const std::string& name : shipped) EXPECT_LE(name.size(), 8u) << name;
}

// The forms' "Hilfebil&der" button: the list of help images, and the form that asked keeps its
// abort flag whichever way the list was left.
TEST_F(HelpImagesTest, TheImageListFromAFormLeavesTheAbortFlagAsItWas) {
  ws.config.pltDir = kHelpDir;
  ASSERT_NE(ws.help, nullptr);
  for (const bool abortBefore : {false, true}) {
    ws.abort = abortBefore;
    ui.script({Answer::Cancel()});
    ws.help->showHelpImages();
    EXPECT_EQ(ws.abort, abortBefore);
  }
  const auto shown = ui.shown<HelpImagesRequest>();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_FALSE(shown[0].items.empty()) << "the shipped list of help images";
}

// Every image draws inside the help window, with labels whose umlauts are resolved, and nothing
// comes from the position a file starts with.
TEST_F(HelpImagesTest, ImagesDrawInsideTheWindow) {
  bool umlaut = false;
  for (const std::string& name : kImages) {
    const std::vector<std::string> records = render(name);
    EXPECT_TRUE(ui.messages(MessageKind::Titled).empty()) << name;
    EXPECT_GE(records.size(), 20u) << name;
    EXPECT_LE(records.size(), 5000u) << name;
    int lines = 0, texts = 0;
    for (const std::string& rec : records) {
      const ParsedRecord p = ParseRecord(rec);
      ASSERT_TRUE(p.complete) << name << ": " << rec;
      auto inside = [&](double x, double y, double margin = 0) {
        EXPECT_TRUE(x >= margin - 1e-9 && x <= 160 - margin + 1e-9 && y >= margin - 1e-9 && y <= 120 - margin + 1e-9)
            << name << ": " << rec;
      };
      switch (p.code) {
        case kRecLine:
          ++lines;
          inside(p.f[0], p.f[1]);
          inside(p.f[2], p.f[3]);
          break;
        case kRecCircle:
          inside(p.f[0] - p.f[2], p.f[1] - p.f[2]);
          inside(p.f[0] + p.f[2], p.f[1] + p.f[2]);
          break;
        case kRecArc:
          inside(p.f[4], p.f[5]);
          inside(p.f[6], p.f[7]);
          break;
        case kRecText:
          ++texts;
          inside(p.f[0], p.f[1]);
          EXPECT_FALSE(p.text.empty()) << name;
          EXPECT_EQ(p.text.find('}'), std::string_view::npos) << name << ": " << rec;
          for (char c : p.text)
            if (c == '\xe4' || c == '\xf6' || c == '\xfc' || c == '\xc4' || c == '\xd6' || c == '\xdc') umlaut = true;
          break;
        case kRecColor:
          // Pens 1..8 only: colours 8..15 except white (15) and yellow (14) that vanish on the
          // default white background.
          EXPECT_TRUE(p.f[0] == 8 || p.f[0] == 9 || p.f[0] == 10 || p.f[0] == 12 || p.f[0] == 13)
              << name << ": " << rec;
          break;
        default:
          break;
      }
    }
    EXPECT_GE(lines, 10) << name;
    EXPECT_GE(texts, 1) << name;
  }
  EXPECT_TRUE(umlaut) << "no shipped label shows an umlaut";
}

// The reader keeps pen, pen state, size, direction and character set from the previous image;
// every image sets them itself, so it looks the same whatever was shown before.
TEST_F(HelpImagesTest, ImagesDoNotDependOnThePreviousImage) {
  for (const std::string& name : kImages) {
    ws.hpgl = HpglState{};
    const std::vector<std::string> fresh = render(name);
    HpglState& st = ws.hpgl;
    st.penDown = true;
    st.pen = 2;
    st.charWidth = 7;
    st.charHeight = 9;
    st.run = 0;
    st.rise = -1;
    st.charSet = 1;
    EXPECT_EQ(render(name), fresh) << name;
  }
}

// Some images carry their curves as encoded polylines in base 64, some in base 32.
TEST_F(HelpImagesTest, ImagesUseEncodedPolylines) {
  int base64 = 0, base32 = 0;
  for (const std::string& name : kImages) {
    const std::string bytes = test::readFile(kHelpDir + name + ".plt");
    if (bytes.find("PE7") != std::string::npos) ++base32;
    if (bytes.find("PE<") != std::string::npos) ++base64;
  }
  EXPECT_GE(base64, 2);
  EXPECT_GE(base32, 2);
}

// The shipped files are what the generator writes.
TEST_F(HelpImagesTest, GeneratorIsUpToDate) {
  const std::string python = test::pythonWithModules({});
  if (python.empty()) GTEST_SKIP() << "no python3";
  const std::string script = fs::path(VELK_SOURCE_DATA_DIR).parent_path().string() + "/tools/make_help_images.py";
  EXPECT_EQ(test::runProcess({python, script, "--check", "--out", kHelpDir}), 0)
      << "run tools/make_help_images.py to rewrite the images in share/";
}

// An independent HP-GL/2 converter reads every image.
TEST_F(HelpImagesTest, Hp2xxConvertsEveryImage) {
  if (!onPath("hp2xx")) GTEST_SKIP() << "hp2xx not installed";
  // To standard output: hp2xx keeps an output file's name in a fixed buffer.
  for (const std::string& name : kImages) {
    std::string eps;
    EXPECT_EQ(test::runProcess({"hp2xx", "-q", "-m", "eps", "-f", "-", kHelpDir + name + ".plt"}, &eps), 0) << name;
    EXPECT_GT(eps.size(), 500u) << name;
    EXPECT_EQ(eps.rfind("%!PS-Adobe", 0), 0u) << name;
  }
}

}  // namespace
}  // namespace velk
