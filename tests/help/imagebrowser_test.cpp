// Help image browser: reading the list (quoted fields, broken lines, 131 lines), the list
// edits on bytes, and the browser's pass loop driven by a scripted window.
#include "help/imagebrowser.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "draw/displaylist.h"
#include "help/hpgl.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

using namespace std::string_literals;

TEST(HelpImageList, Fields) {
  struct Row {
    const char* what;
    std::string line;
    const char* name;
    const char* info;
    bool error;
  };
  const Row rows[] = {
      {"quoted", "\"spring1\",\"Spiralfeder\"", "spring1", "Spiralfeder", false},
      {"blank after the comma", "\"a\", \"b\"", "a", "b", false},
      {"no quotes", "spring1,Spiralfeder", "spring1", "Spiralfeder", true},
      {"second field unquoted", "\"a\",b,c", "a", "b,c", true},
      {"unclosed quote", "\"a\",\"bc", "a", "bc", false},
      {"one field", "\"a\"", "a", "", false},
      {"empty line", "", "", "", false},
      {"rest after the fields ignored", "\"a\",\"b\",\"c\"", "a", "b", false},
  };
  for (const Row& r : rows) {
    const HelpImageList list = readHelpImageList(r.line + "\r\n\"next\",\"line\"\r\n");
    ASSERT_EQ(list.entries.size(), 2u) << r.what << ": a field never reads past its line";
    EXPECT_EQ(list.entries[0].name, r.name) << r.what;
    EXPECT_EQ(list.entries[0].info, r.info) << r.what;
    EXPECT_EQ(list.fieldError, r.error) << r.what;
    EXPECT_EQ(list.entries[1].name, "next") << r.what;
  }
}

TEST(HelpImageList, EntriesAndLimits) {
  HelpImageList list =
      readHelpImageList("\"ab\",\"Info\"\r\n\"longname9\",\"x\"\n\"a\0b\",\""s + std::string(80, 'i') + "\"\r");
  ASSERT_EQ(list.entries.size(), 3u);
  EXPECT_EQ(list.entries[0].text, "ab      : Info");
  EXPECT_EQ(list.entries[1].text, "longname9: x");
  EXPECT_EQ(list.entries[2].text, "a b     : " + std::string(55, 'i'));
  EXPECT_EQ(helpImageName(list.entries[2]), "ab");
  EXPECT_EQ(helpImageName(HelpImageEntry{"Sp Ring", "", ""}), "spring");

  std::string lines;
  for (int i = 1; i <= 131; ++i) lines += "\"n" + std::to_string(i) + "\",\"i\"\r\n";
  list = readHelpImageList(lines);
  ASSERT_EQ(list.entries.size(), 130u);
  EXPECT_EQ(list.entries.back().name, "n130");
  EXPECT_TRUE(readHelpImageList("").entries.empty());
  // A megabyte line and NUL bytes: bounded, defined.
  list = readHelpImageList("\"" + std::string(1u << 20, 'x') + "\",\"y\"\r\n" + std::string(1000, '\0'));
  ASSERT_EQ(list.entries.size(), 2u);
  EXPECT_EQ(list.entries[0].text.size(), kHelpImageEntryWidth);
  EXPECT_TRUE(list.fieldError);
}

TEST(HelpImageList, EditsKeepOtherLinesByteForByte) {
  const std::string bytes = "\"a\",\"1\"\r\n\"b\",\"2\"\n\"c\",\"3\"\r\n\"d\",\"4\"\r\"e\",\"5\"";
  const std::string n = helpImageListLine("neu", "Neu \"x\"");
  EXPECT_EQ(n, "\"neu\",\"Neu 'x'\"\r\n");
  struct Row {
    HelpImageListEdit edit;
    int line;
    std::optional<std::string> expected;
  };
  const Row rows[] = {
      {HelpImageListEdit::Delete, 3, "\"a\",\"1\"\r\n\"b\",\"2\"\n\"d\",\"4\"\r\"e\",\"5\""},
      {HelpImageListEdit::Delete, 5, "\"a\",\"1\"\r\n\"b\",\"2\"\n\"c\",\"3\"\r\n\"d\",\"4\"\r"},
      {HelpImageListEdit::Replace, 2, "\"a\",\"1\"\r\n" + n + "\"c\",\"3\"\r\n\"d\",\"4\"\r\"e\",\"5\""},
      {HelpImageListEdit::Replace, 5, "\"a\",\"1\"\r\n\"b\",\"2\"\n\"c\",\"3\"\r\n\"d\",\"4\"\r" + n},
      {HelpImageListEdit::InsertBefore, 1, n + bytes},
      {HelpImageListEdit::InsertBefore, 5,
       "\"a\",\"1\"\r\n\"b\",\"2\"\n\"c\",\"3\"\r\n\"d\",\"4\"\r" + n + "\"e\",\"5\""},
      {HelpImageListEdit::Append, 0, bytes + "\r\n" + n},
      {HelpImageListEdit::Delete, 0, std::nullopt},
      {HelpImageListEdit::Delete, 6, std::nullopt},
      {HelpImageListEdit::Replace, 6, std::nullopt},
  };
  for (const Row& r : rows)
    EXPECT_EQ(editHelpImageList(bytes, r.edit, r.line, n), r.expected) << static_cast<int>(r.edit) << " " << r.line;
  EXPECT_EQ(editHelpImageList("", HelpImageListEdit::Append, 0, n), n);
  EXPECT_EQ(editHelpImageList("x\r\n", HelpImageListEdit::Append, 0, n), "x\r\n" + n);
}

// A scripted window that also notes what the graphics window held whenever the browser window
// opened, and moves the window by (10, 20) each time it closes.
class BrowserUi : public ScriptedUi {
 public:
  using ScriptedUi::show;
  std::optional<HelpImagesResult> show(const HelpImagesRequest& request) override {
    drawn.push_back(ws ? ws->display.records : std::vector<std::string>{});
    // A cancelled script closes the window with "OK" as well.
    HelpImagesResult result = ScriptedUi::show(request).value_or(
        HelpImagesResult{HelpImageAction::Leave, request.selected, request.left, request.top});
    result.left = request.left + 10;
    result.top = request.top + 20;
    return result;
  }
  Session* ws = nullptr;
  std::vector<std::vector<std::string>> drawn;
};

// The browser window left with one of its buttons: the action with the selection the window
// opened with ("&Neu" with none).
Answer press(HelpImageAction action) {
  return Answer::Acting<HelpImagesRequest>([action](const HelpImagesRequest& q) {
    return HelpImagesResult{action, action == HelpImageAction::New ? 0 : q.selected, q.left, q.top};
  });
}
// An arrow of the spin button: shows the item before (up) or after the one selected.
Answer arrow(bool up) {
  return Answer::Acting<HelpImagesRequest>([up](const HelpImagesRequest& q) {
    return HelpImagesResult{HelpImageAction::Show, HelpImageArrow(q.selected, static_cast<int>(q.items.size()), up),
                            q.left, q.top};
  });
}

class BrowserTest : public ::testing::Test {
 protected:
  BrowserTest() : ws(ui) {
    ui.ws = &ws;
    std::filesystem::create_directory(dir.file("plt"));
    std::filesystem::create_directory(dir.file("tmp"));
    ws.config.pltDir = dir.file("plt/");
    ws.config.tempDir = dir.file("tmp/");
    writeFile(dir.file("plt/orvan.hlp"), "2300\r\nBilder\r\n0000\r\n");
    for (int i = 1; i <= 5; ++i) writeFile(dir.file("plt/bild" + std::to_string(i) + ".plt"), plt(i));
    writeFile(list(), original);
  }
  void TearDown() override { EXPECT_TRUE(ui.scriptDone()) << "scripted answers left over"; }

  static std::string plt(int i) { return "SP1;PU0,0;PD" + std::to_string(400 * i) + ",0;"; }
  std::string list() const { return dir.file("plt/velk.dbh"); }
  // The display list image i leaves on a fresh window.
  std::vector<std::string> image(int i) {
    ScriptedUi otherUi;
    Session other(otherUi);
    ClearDisplay(other.display);
    Header(other.display, 0, 0, 160, 120);
    DrawHpgl(other, plt(i));
    return other.display.records;
  }
  std::vector<Request> ofKind(Request::Kind kind) const {
    std::vector<Request> out;
    for (const Request& r : ui.requests())
      if (r.kind == kind) out.push_back(r);
    return out;
  }

  TempDir dir;
  BrowserUi ui;
  Session ws;
  const std::string original =
      "\"bild1\",\"Erstes Bild\"\r\n\"BILD2\",\"Zweites Bild\"\r\n\"bild3\",\"Drittes\"\r\n"
      "\"bild4\",\"Viertes\"\r\n\"bild5\",\"F" +
      oem("ü") + "nftes\"\r\n";
};

TEST_F(BrowserTest, ShowsTheFirstImageThenFollowsTheWindow) {
  // "&Hilfe" keeps the window open: the down arrow is then pressed in the same window.
  const Answer helpThenDown = Answer::Acting<HelpImagesRequest>([](const HelpImagesRequest& q) {
    q.onHelp();
    return HelpImagesResult{HelpImageAction::Show, HelpImageArrow(q.selected, static_cast<int>(q.items.size()), false),
                            q.left, q.top};
  });
  ui.script({Answer::Choice(3), arrow(true), helpThenDown, Answer::Cancel()});
  ShowHelpImages(ws);
  EXPECT_TRUE(ws.abort) << "OK leaves the browser with the abort flag set";
  const auto windows = ofKind(Request::Kind::HelpImages);
  ASSERT_EQ(windows.size(), 4u);
  EXPECT_EQ(windows[0].caption, "VELK Hilfebilder");
  EXPECT_EQ(windows[0].helpNumber, 2300);
  EXPECT_EQ(windows[0].items,
            (std::vector<std::string>{"bild1   : Erstes Bild", "BILD2   : Zweites Bild", "bild3   : Drittes",
                                      "bild4   : Viertes", "bild5   : F" + oem("ü") + "nftes"}));
  // The window opens on the image shown: 1 (first pass), 3, 2 (up), 3 (down).
  const int selected[] = {1, 3, 2, 3};
  const int drawn[] = {1, 3, 2, 3};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(windows[i].index, selected[i]) << i;
    EXPECT_EQ(ui.drawn[i], image(drawn[i])) << i;
  }
  // "&Hilfe" shows help text 2300 and keeps the window open.
  EXPECT_EQ(ui.messages(MessageKind::Titled), std::vector<std::string>{"Bilder     "});
  // The window's position is remembered from one pass to the next and for the run.
  EXPECT_EQ(ui.shown<HelpImagesRequest>()[0].left, 1);
  EXPECT_EQ(ui.shown<HelpImagesRequest>()[3].left, 31);
  EXPECT_EQ(ui.shown<HelpImagesRequest>()[3].top, 61);
  EXPECT_EQ(ws.helpImagesLeft, 41);
  EXPECT_EQ(readFile(list()), original);
}

TEST_F(BrowserTest, DeleteAsksAndLeavesTheOtherLines) {
  ui.script(
      {Answer::Choice(3), press(HelpImageAction::Delete), Answer::Yes(), press(HelpImageAction::Delete), Answer::No()});
  ShowHelpImages(ws);
  EXPECT_FALSE(ws.abort) << "a refused question ends the browser with the flag cleared";
  EXPECT_EQ(readFile(list()),
            "\"bild1\",\"Erstes Bild\"\r\n\"BILD2\",\"Zweites Bild\"\r\n"
            "\"bild4\",\"Viertes\"\r\n\"bild5\",\"F" +
                oem("ü") + "nftes\"\r\n");
  const auto questions = ofKind(Request::Kind::Question);
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(u8(questions[0].prompt), "Löschen ?");
  const auto windows = ofKind(Request::Kind::HelpImages);
  ASSERT_EQ(windows.size(), 3u);
  EXPECT_EQ(windows[2].items.size(), 4u) << "the list is read again after the edit";
  EXPECT_EQ(windows[2].index, 3) << "the selection stays on the line deleted";
  EXPECT_EQ(ui.drawn[2], image(3)) << "nothing is drawn after an edit";
  EXPECT_FALSE(std::filesystem::exists(dir.file("tmp/$$$.dbh")));
}

TEST_F(BrowserTest, WithoutSelectionTheLineIsChosen) {
  // After deleting the last line nothing is selected: the next delete asks for the line.
  ui.script({Answer::Choice(5), press(HelpImageAction::Delete), Answer::Yes(), press(HelpImageAction::Delete),
             Answer::Choice(2), Answer::Cancel()});
  ShowHelpImages(ws);
  const auto windows = ofKind(Request::Kind::HelpImages);
  ASSERT_EQ(windows.size(), 4u);
  EXPECT_EQ(windows[2].index, 0);
  const auto choices = ofKind(Request::Kind::Radio);
  ASSERT_EQ(choices.size(), 1u);
  EXPECT_EQ(u8(choices[0].prompt), "Zu löschende Zeile wählen...");
  EXPECT_EQ(choices[0].items.size(), 4u);
  EXPECT_EQ(choices[0].helpNumber, 2320);
  EXPECT_EQ(readFile(list()), "\"bild1\",\"Erstes Bild\"\r\n\"bild3\",\"Drittes\"\r\n\"bild4\",\"Viertes\"\r\n");
}

TEST_F(BrowserTest, NewChangeInsert) {
  std::filesystem::create_directory(dir.file("other"));
  ui.script({press(HelpImageAction::New), Answer::Text(dir.file("plt/neu.plt")), Answer::Text(oem("Neues \"Bild\"")),
             press(HelpImageAction::Change), Answer::Text("bild9"), Answer::Text("Anders"),  //
             press(HelpImageAction::Insert), Answer::Text(dir.file("other/vor.plt")), Answer::Text("Davor"),
             Answer::Cancel()});
  ShowHelpImages(ws);
  EXPECT_EQ(readFile(list()),
            "\"bild9\",\"Anders\"\r\n\"vor\",\"Davor\"\r\n\"BILD2\",\"Zweites Bild\"\r\n\"bild3\",\"Drittes\"\r\n"
            "\"bild4\",\"Viertes\"\r\n\"bild5\",\"F" +
                oem("ü") + "nftes\"\r\n\"neu\",\"Neues 'Bild'\"\r\n");
  EXPECT_EQ(ws.config.pltDir, dir.file("plt/")) << "only the chooser without a list moves the PLT folder";
  const auto files = ofKind(Request::Kind::OpenFile);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].offered, dir.file("plt"));
  EXPECT_EQ(files[0].prompt, "*.plt|*.plt");
  const auto texts = ofKind(Request::Kind::Text);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].prompt, "Information zum Hilfebild");
  EXPECT_EQ(texts[0].offered, "");
  EXPECT_EQ(texts[0].maxLength, 50);
  EXPECT_EQ(texts[0].helpNumber, 2310);
  EXPECT_EQ(texts[1].prompt, "Dateiname (ohne Endung .plt)");
  EXPECT_EQ(texts[1].offered, "bild1");
  EXPECT_EQ(texts[1].maxLength, 8);
  EXPECT_EQ(texts[1].helpNumber, 2340);
  EXPECT_EQ(texts[2].offered, "Erstes Bild");
  EXPECT_EQ(texts[2].helpNumber, 2330);
  EXPECT_EQ(texts[3].helpNumber, 2330);
  const auto windows = ofKind(Request::Kind::HelpImages);
  ASSERT_EQ(windows.size(), 4u);
  EXPECT_EQ(windows[1].items.size(), 6u);
  EXPECT_EQ(windows[3].items.size(), 7u);
}

TEST_F(BrowserTest, CancelledDialogsEndTheBrowser) {
  struct Case {
    const char* button;
    HelpImageAction action;
    std::vector<Answer> answers;
  };
  const Case cases[] = {
      {"new", HelpImageAction::New, {Answer::Cancel()}},
      {"new", HelpImageAction::New, {Answer::Text(dir.file("plt/x.plt")), Answer::Cancel()}},
      {"delete", HelpImageAction::Delete, {Answer::Cancel()}},
      {"change", HelpImageAction::Change, {Answer::Cancel()}},
      {"change", HelpImageAction::Change, {Answer::Text("x"), Answer::Cancel()}},
      {"insert", HelpImageAction::Insert, {Answer::Cancel()}},
  };
  for (const Case& c : cases) {
    ui.push(press(c.action));
    for (const Answer& a : c.answers) ui.push(a);
    ShowHelpImages(ws);
    EXPECT_FALSE(ws.abort) << c.button;
    EXPECT_TRUE(ui.scriptDone()) << c.button;
    EXPECT_EQ(readFile(list()), original) << c.button;
  }
}

TEST_F(BrowserTest, FailedRewriteLeavesTheList) {
  ws.io.writeFault = [&](std::string_view path) { return path == list() ? ENOSPC : 0; };
  ui.script({press(HelpImageAction::Delete), Answer::Yes()});
  ShowHelpImages(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(ui.messages(MessageKind::Error),
            std::vector<std::string>{writeFailure("Diskette/Platte voll", list(), ENOSPC)});
  EXPECT_EQ(readFile(list()), original);
  EXPECT_FALSE(std::filesystem::exists(dir.file("tmp/$$$.dbh")));
  std::size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.file("plt"))) files += e.is_regular_file();
  EXPECT_EQ(files, 7u) << "no temporary file left beside the list";

  // An unwritable temporary folder stops the edit before the list is touched.
  ui.clearRequests();
  ws.io.writeFault = [&](std::string_view path) { return path == dir.file("tmp/$$$.dbh") ? EACCES : 0; };
  ui.script({press(HelpImageAction::New), Answer::Text(dir.file("plt/x.plt")), Answer::Text("x")});
  ShowHelpImages(ws);
  EXPECT_EQ(ui.messages(MessageKind::Error),
            std::vector<std::string>{writeFailure("file write error", dir.file("tmp/$$$.dbh"), EACCES)});
  EXPECT_EQ(readFile(list()), original);
}

TEST_F(BrowserTest, MissingImageEndsTheBrowser) {
  std::filesystem::remove(dir.file("plt/bild3.plt"));
  ui.script({Answer::Choice(3)});
  ShowHelpImages(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(ui.messages(MessageKind::Titled),
            std::vector<std::string>{dir.file("plt/bild3.plt") + " nicht gefunden !"});
  // The upper-case name of line 2 finds the lower-case file; a missing first image ends at once.
  ui.clearRequests();
  ui.drawn.clear();
  ui.script({Answer::Choice(2), Answer::Cancel()});
  ShowHelpImages(ws);
  EXPECT_EQ(ui.drawn[1], image(2));
  std::filesystem::remove(dir.file("plt/bild1.plt"));
  ui.clearRequests();
  ShowHelpImages(ws);
  EXPECT_TRUE(ofKind(Request::Kind::HelpImages).empty());
}

TEST_F(BrowserTest, BrokenAndLongLists) {
  // Unquoted lines: one "DBH file error" per reading, entries as well as possible.
  writeFile(list(), "bild1,Erstes\r\nbild2,Zweites\r\n");
  ui.script({Answer::Cancel()});
  ShowHelpImages(ws);
  EXPECT_EQ(ui.messages(MessageKind::Error), (std::vector<std::string>{"DBH file error", "DBH file error"}));
  EXPECT_EQ(ui.shown<HelpImagesRequest>().back().items,
            (std::vector<std::string>{"bild1   : Erstes", "bild2   : Zweites"}));

  // 131 lines show 130; deleting line 1 keeps line 131.
  std::string lines;
  for (int i = 1; i <= 131; ++i) lines += "\"bild1\",\"Zeile " + std::to_string(i) + "\"\r\n";
  writeFile(list(), lines);
  ui.script({press(HelpImageAction::Delete), Answer::Yes(), Answer::Cancel()});
  ShowHelpImages(ws);
  EXPECT_EQ(ui.shown<HelpImagesRequest>()[ui.shown<HelpImagesRequest>().size() - 2].items.size(), 130u);
  EXPECT_EQ(ui.shown<HelpImagesRequest>().back().items.back(), "bild1   : Zeile 131");
  EXPECT_EQ(readFile(list()), lines.substr(lines.find('\n') + 1));

  // An empty list: nothing drawn, an empty window; down with nothing to select ends the browser.
  writeFile(list(), "");
  ui.drawn.clear();
  ui.script({arrow(false)});
  ShowHelpImages(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_TRUE(ui.shown<HelpImagesRequest>().back().items.empty());
  EXPECT_EQ(ui.shown<HelpImagesRequest>().back().selected, 0);
}

TEST_F(BrowserTest, WithoutListTheChooserMovesThePltFolder) {
  std::filesystem::remove(list());
  std::filesystem::create_directory(dir.file("elsewhere"));
  writeFile(dir.file("elsewhere/Fremd.plt"), plt(4));
  ui.script({Answer::Text(dir.file("elsewhere/Fremd.plt")), Answer::Cancel()});
  ShowHelpImages(ws);
  EXPECT_TRUE(ws.abort) << "cancel ends the browser";
  EXPECT_EQ(ws.config.pltDir, dir.file("elsewhere/"));
  EXPECT_EQ(ws.display.records, image(4));
  const auto files = ofKind(Request::Kind::OpenFile);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].offered, dir.file("plt"));
  EXPECT_EQ(files[0].prompt, "*.plt|*.plt");
  EXPECT_EQ(files[1].offered, dir.file("elsewhere")) << "the chooser repeats in the new PLT folder";
}

}  // namespace
}  // namespace velk::test
