// Report texts, explanation window, saving an edited explanation and the message window,
// run against a scripted UI and an explanation file in a private PLT folder.
#include <cerrno>
#include <filesystem>

#include "report/reportwriter.h"
#include "reportui/explanations.h"
#include "reportui/reportservice.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

const char* const kPrompt = "Berechnungsmodul meldet Warnungen oder Fehler, siehe Ursache und Abhilfe.";

class ExplanationTest : public SessionTest {
 protected:
  ExplanationTest() {
    std::filesystem::create_directory(dir.file("plt"));
    std::filesystem::create_directory(dir.file("tmp"));
    ws.config.pltDir = dir.file("plt/");
    ws.config.tempDir = dir.file("tmp/");
    original =
        oem("Fehler : sigma2=0 !\r\nUrsache sigma2\r\nAbhilfe sigma2\r\n"
            "Fehler : sigmak2=0 !\r\nUrsache sigmak2\r\nAbhilfe sigmak2\r\n"
            "Fehler : t > b !\r\nUrsache t>b\r\nAbhilfe t>b\r\n"
            "Warnung: d<dmin (...)\r\nUrsache dmin\r\nAbhilfe dmin\r\n");
    writeFile(errFile(), original);
  }
  std::string errFile() const { return dir.file("plt/velk.err"); }
  void add(std::initializer_list<const char*> messages) {
    for (const char* m : messages) AddCalcMessage(ws.messages, oem(m));
  }
  std::vector<Request> ofKind(Request::Kind kind) const {
    std::vector<Request> out;
    for (const Request& r : ui.requests())
      if (r.kind == kind) out.push_back(r);
    return out;
  }

  std::string original;
};

TEST_F(ExplanationTest, ReportTexts) {
  add({"Fehler : sigmak2=0 !", "Fatal  : n = 0 !", "Warnung: d<dmin (0.05)"});
  EXPECT_EQ(CauseText(ws, 1), "Ursache sigmak2");
  EXPECT_EQ(RemedyText(ws, 1), "Abhilfe sigmak2");
  EXPECT_EQ(CauseText(ws, 2), NoExplanationText());
  EXPECT_EQ(RemedyText(ws, 2), "");
  EXPECT_EQ(CauseText(ws, 3), "Ursache dmin");
  EXPECT_EQ(CauseText(ws, 4), NoExplanationText()) << "no message 4";
  // Without a file the report texts are empty; the PLT folder defaults to the program's data.
  std::filesystem::remove(errFile());
  EXPECT_EQ(CauseText(ws, 1), "");
  EXPECT_EQ(RemedyText(ws, 1), "");
  ws.config.pltDir.clear();
  EXPECT_EQ(explanationFilePath(ws), withSeparator(ws.programData) + "velk.err");
  EXPECT_TRUE(ui.requests().empty()) << "the report texts never ask or show anything";
}

TEST_F(ExplanationTest, WindowShowsTheEntryAndSavesEditsOnRequest) {
  add({"Fehler : sigmak2=0 !"});
  // OK without changes: no question, nothing written.
  ui.script({Answer::Yes()});
  ShowExplanation(ws, 1);
  auto shown = ofKind(Request::Kind::Explanation);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Fehlermeldung");
  EXPECT_EQ(shown[0].prompt, "Fehler : sigmak2=0 !");
  EXPECT_EQ(shown[0].items, (std::vector<std::string>{"Ursache sigmak2", "Abhilfe sigmak2"}));
  EXPECT_EQ(shown[0].helpNumber, 1970);
  EXPECT_TRUE(ofKind(Request::Kind::Question).empty());

  // Edited, but "no" to saving; then closed without OK; then cancel on the question.
  const Answer edited = Answer::With(ExplanationResult{true, "x", "y"});
  ui.script({edited, Answer::No(), Answer::Cancel(), edited, Answer::Cancel()});
  ShowExplanation(ws, 1);
  EXPECT_FALSE(ws.abort);
  ShowExplanation(ws, 1);
  EXPECT_FALSE(ws.abort);
  ShowExplanation(ws, 1);
  EXPECT_TRUE(ws.abort) << "cancelling the save question aborts";
  EXPECT_EQ(readFile(errFile()), original);
  EXPECT_EQ(ofKind(Request::Kind::Question).at(0).prompt, "Save Changes ?");

  // Edited and saved: the entry of this message, not the first one sharing 14 characters.
  ws.abort = false;
  ui.script(
      {Answer::With(ExplanationResult{true, oem("neue Ursache: Hubspannung fehlt"), "neue\nAbhilfe"}), Answer::Yes()});
  ShowExplanation(ws, 1);
  EXPECT_FALSE(ws.abort);
  std::string expected = original;
  expected.replace(expected.find("Ursache sigmak2\r\nAbhilfe sigmak2"), 32,
                   oem("neue Ursache: Hubspannung fehlt\r\nneue Abhilfe"));
  EXPECT_EQ(readFile(errFile()), expected);
  EXPECT_FALSE(std::filesystem::exists(dir.file("tmp/velk.err"))) << "the work copy is removed";
  EXPECT_EQ(CauseText(ws, 1), oem("neue Ursache: Hubspannung fehlt"));
}

TEST_F(ExplanationTest, WindowWithoutFileOrEntry) {
  add({"Fatal  : n = 0 !", "Fehler : t > b !"});
  ShowExplanation(ws, 1);
  EXPECT_FALSE(ws.abort);
  ASSERT_EQ(ui.messages(MessageKind::Titled).size(), 1u);
  EXPECT_EQ(ofKind(Request::Kind::Message).at(0).caption, "Meldung");
  EXPECT_EQ(ui.messages(MessageKind::Titled)[0], NoExplanationText());

  std::filesystem::remove(errFile());
  ShowExplanation(ws, 2);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(u8(ui.messages(MessageKind::Error).at(0)),
            "Datei " + errFile() + " nicht gefunden oder kein Zugriffsrecht !");
  EXPECT_TRUE(ofKind(Request::Kind::Explanation).empty());
}

TEST_F(ExplanationTest, FailedSavesLeaveTheFileAsItWas) {
  struct Case {
    const char* name;
    const char* failing;  // path part whose write fails, nullptr: none
    int err;
    const char* message;
  };
  const Case cases[] = {
      {"work copy, disk full", "tmp/", ENOSPC, "Diskette/Platte voll"},
      {"work copy, write-protected", "tmp/", EACCES, "file write error"},
      {"the file itself", "plt/", EROFS, "file write error"},
      {"message without entry", nullptr, 0, "Fatal  : n = 0 ! not found."},
  };
  for (const Case& c : cases) {
    ui.clearRequests();
    ws.abort = false;
    const std::string failing = c.failing ? dir.file(c.failing) : std::string();
    ws.io.writeFault = [&](std::string_view p) { return !failing.empty() && p.starts_with(failing) ? c.err : 0; };
    SaveExplanation(ws, c.failing ? "Fehler : t > b !" : "Fatal  : n = 0 !", "U", "A");
    EXPECT_TRUE(ws.abort) << c.name;
    // A failed write names the file it failed on (the work copy or the file itself) and why.
    const std::string expected =
        c.err == 0
            ? std::string(c.message)
            : writeFailure(c.message, std::string(c.failing) == "tmp/" ? dir.file("tmp/velk.err") : errFile(), c.err);
    EXPECT_EQ(ui.messages(MessageKind::Error), std::vector<std::string>{expected}) << c.name;
    EXPECT_EQ(readFile(errFile()), original) << c.name;
    EXPECT_FALSE(std::filesystem::exists(dir.file("tmp/velk.err"))) << c.name;
  }
}

TEST_F(ExplanationTest, SavingWhenTheTemporaryFolderIsThePltFolder) {
  // The work copy would be the file itself: it is replaced atomically in one step.
  ws.config.tempDir = dir.file("plt/../plt/");
  SaveExplanation(ws, "Fehler : t > b !", "U", "A");
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(findExplanation(readFile(errFile()), "Fehler : t > b !", 18).cause, "U");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("plt")), {}), 1);
}

TEST_F(ExplanationTest, WorkCopyNeverWritesThroughALinkInTheTemporaryFolder) {
  writeFile(dir.file("victim"), "keep");
  std::filesystem::create_symlink(dir.file("victim"), dir.file("tmp/velk.err"));
  SaveExplanation(ws, "Fehler : t > b !", "U", "A");
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(readFile(dir.file("victim")), "keep");
  EXPECT_EQ(findExplanation(readFile(errFile()), "Fehler : t > b !", 18).cause, "U");
}

TEST_F(ExplanationTest, MessageWindowWithoutMessages) {
  ShowMessageWindow(ws);
  EXPECT_EQ(ui.messages(MessageKind::Info), std::vector<std::string>{NoMessagesText()});
  EXPECT_EQ(ui.requests().size(), 1u);
}

TEST_F(ExplanationTest, MessageWindowAtNormalHelpLevel) {
  add({"Fehler : sigma2=0 !", "Fehler : t > b !", "Fatal  : n = 0 !"});
  // Starts on "Weiter/zurück..."; explaining message 1 preselects message 2; choosing the
  // last item ends the window.
  ui.script({Answer::Choice(1), Answer::Yes(), Answer::Choice(4)});
  ShowMessageWindow(ws);
  auto radios = ofKind(Request::Kind::Radio);
  ASSERT_EQ(radios.size(), 2u);
  EXPECT_EQ(radios[0].prompt, kPrompt);
  EXPECT_EQ(radios[0].items, (std::vector<std::string>{"Fehler : sigma2=0 !", "Fehler : t > b !", "Fatal  : n = 0 !",
                                                       oem("Weiter/zurück...")}));
  EXPECT_EQ(radios[0].index, 4);
  EXPECT_EQ(radios[0].helpNumber, 1210);
  EXPECT_EQ(radios[1].index, 2);
  EXPECT_EQ(ofKind(Request::Kind::Explanation).at(0).prompt, "Fehler : sigma2=0 !");

  // Level 0 behaves the same; cancel ends the window.
  ui.clearRequests();
  ws.config.helpLevel = 0;
  ui.script({Answer::Cancel()});
  ShowMessageWindow(ws);
  EXPECT_EQ(ofKind(Request::Kind::Radio).at(0).index, 4);
  EXPECT_TRUE(ofKind(Request::Kind::Explanation).empty());
}

TEST_F(ExplanationTest, MessageWindowAtExtendedHelpWalksThroughAllMessages) {
  ws.config.helpLevel = 2;
  add({"Fehler : sigma2=0 !", "Fehler : t > b !", "Fatal  : n = 0 !"});
  // One confirmation each; the message without entry shows its box; after the last the window ends.
  ui.script({Answer::Choice(1), Answer::Yes(), Answer::Choice(2), Answer::Yes(), Answer::Choice(3)});
  ShowMessageWindow(ws);
  auto radios = ofKind(Request::Kind::Radio);
  ASSERT_EQ(radios.size(), 3u);
  EXPECT_EQ(radios[0].index, 1);
  EXPECT_EQ(radios[1].index, 2);
  EXPECT_EQ(radios[2].index, 3);
  EXPECT_EQ(ofKind(Request::Kind::Explanation).size(), 2u);
  EXPECT_EQ(ui.messages(MessageKind::Titled), std::vector<std::string>{NoExplanationText()});
}

TEST_F(ExplanationTest, MessageWindowEndsWhenAnExplanationAborts) {
  add({"Fehler : sigma2=0 !", "Fehler : t > b !"});
  std::filesystem::remove(errFile());
  ui.script({Answer::Choice(1)});
  ShowMessageWindow(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ofKind(Request::Kind::Radio).size(), 1u);
  EXPECT_EQ(ui.messages(MessageKind::Error).size(), 1u);
}

TEST_F(ExplanationTest, ElevenMessagesUseTheListDialog) {
  for (int i = 0; i < kMaxCalcMessages; ++i) AddCalcMessage(ws.messages, "Warnung: Nr. " + std::to_string(i));
  ui.script({Answer::Cancel()});
  ShowMessageWindow(ws);
  auto lists = ofKind(Request::Kind::List);
  ASSERT_EQ(lists.size(), 1u);
  EXPECT_EQ(lists[0].items.size(), 12u);
  EXPECT_EQ(lists[0].index, 12);
}

TEST_F(ExplanationTest, PrintMessageList) {
  ShowMessageWindow(ws);
  PrintMessageList(ws);
  EXPECT_EQ(ui.messages(MessageKind::Info), (std::vector<std::string>{NoMessagesText(), NoMessagesText()}));

  ws.spring.fileName = "feder";
  ws.spring.titleLine = "Zeichnung 4711";
  add({"Fehler : sigmak2=0 !", "Fatal  : n = 0 !"});
  PrintMessageList(ws);
  ASSERT_FALSE(ws.abort);
  ASSERT_EQ(ui.shown<ReportWindowRequest>().size(), 1u);
  std::string text;
  const std::vector<ReportWindowRequest> windows = ui.shown<ReportWindowRequest>();
  for (const std::string& l : windows[0].lines) text += l + "\n";
  for (const char* part : {"VELK V3.4", "Error Messages", "Zeichnung 4711", "Fehler : sigmak2=0 !", "Ursache sigmak2",
                           "Abhilfe sigmak2", "Fatal  : n = 0 !", "keine Beschreibung dieser Fehlermeldung vorhanden."})
    EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
  EXPECT_EQ(text.find("Ursache sigma2"), std::string::npos) << "not the entry sharing 14 characters";
  EXPECT_EQ(text.find("Bl. 1/ 1"), text.find("Bl.")) << "one sheet stated";

  // After a fatal stop the window explains the list instead of a report.
  ws.messages.fatal = true;
  ui.script({Answer::Cancel()});
  PrintMessageList(ws);
  EXPECT_EQ(ui.shown<ReportWindowRequest>().size(), 1u);
  EXPECT_EQ(ofKind(Request::Kind::Radio).size(), 1u);
}

}  // namespace
}  // namespace velk::test
