// Scripted dialog sequences of the value requests: range messages, re-asking, cancel.
#include "dialogs/dialogs.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

using Kind = Request::Kind;

class ValueEntryTest : public SessionTest {};

TEST_F(ValueEntryTest, EnterRealOutOfRangeReasksWithRejectedValueThenStores) {
  Real v = 20;
  ui.script({Answer::Text("5"), Answer::Text("250")});
  EnterReal(ws, "Breite", v, 10, 100000000);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(v, 250);
  const auto& r = ui.requests();
  ASSERT_EQ(r.size(), 4u);  // dialog, beep, message, dialog
  EXPECT_EQ(r[0].kind, Kind::Text);
  EXPECT_EQ(r[0].offered, "20");
  EXPECT_EQ(r[0].maxLength, 30);
  EXPECT_EQ(r[1].kind, Kind::Beep);
  EXPECT_EQ(u8(r[2].prompt), "Gültiger Wertebereich: 10 .. 100000000 !");
  EXPECT_EQ(r[2].caption, "Fehler : ");
  EXPECT_EQ(r[3].offered, "5");
}

TEST_F(ValueEntryTest, EnterRealInvalidTextRestoresPreviousValue) {
  Real v = 12.5;
  ui.script({Answer::Text("1,2,3"), Answer::Text("12,75")});
  EnterReal(ws, "x", v, 0, 100);
  EXPECT_EQ(v, 12.75L);
  auto errors = ui.messages(MessageKind::Error);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(u8(errors[0]), "Ungültige Eingabe \"1,2,3\" !");
  EXPECT_EQ(ui.requests()[3].offered, "12.5");
}

TEST_F(ValueEntryTest, UnchangedTextKeepsExactValue) {
  Real v = 12.3456789L;
  ui.script({Answer::Text("12.35")});
  EnterReal(ws, "x", v, 0, 100);
  EXPECT_EQ(v, 12.3456789L);
  EXPECT_FALSE(ws.abort);
}

TEST_F(ValueEntryTest, CancelSetsAbortAndKeepsValue) {
  Real v = 3;
  ui.script({Answer::Cancel()});
  EnterReal(ws, "x", v, 0, 10);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(v, 3);
}

TEST_F(ValueEntryTest, EnterIntegerOrdersBounds) {
  long v = 5;
  ui.script({Answer::Text("31"), Answer::Text("0")});
  EnterInteger(ws, "n", v, 30, 0);
  EXPECT_EQ(v, 0);
  EXPECT_EQ(u8(ui.messages(MessageKind::Error).at(0)), "Gültiger Wertebereich: 0 .. 30 !");
  EXPECT_EQ(ui.requests()[0].maxLength, 12);
}

TEST_F(ValueEntryTest, ErrorsAreSuppressedWhileDisabledButStillReask) {
  ws.errorMessagesEnabled = false;
  Real v = 1;
  ui.script({Answer::Text("x"), Answer::Text("2")});
  EnterReal(ws, "x", v, 0, 10);
  EXPECT_EQ(v, 2);
  EXPECT_TRUE(ui.messages(MessageKind::Error).empty());
}

TEST_F(ValueEntryTest, ChooseItemPicksRadioOrListAndResetsOutOfRangeChoice) {
  for (int n : {7, 8}) {
    for (int i = 1; i <= n; ++i) ws.choiceItems[i] = "item " + std::to_string(i);
    uint16_t choice = 9;
    ui.clearRequests();
    ui.script({Answer::Choice(n)});
    ChooseItem(ws, "Auswahl", n, choice);
    EXPECT_EQ(choice, n);
    ASSERT_FALSE(ui.requests().empty());
    EXPECT_EQ(ui.requests()[0].kind, n <= 7 ? Kind::Radio : Kind::List) << n;
    EXPECT_EQ(ui.requests()[0].index, 1) << "a choice above n preselects item 1";
    EXPECT_EQ(ui.requests()[0].items.size(), static_cast<size_t>(n));
  }
}

TEST_F(ValueEntryTest, YesNoAndQuestion) {
  char a = 'n';
  ui.script({Answer::Yes()});
  AskYesNo(ws, "?", a);
  EXPECT_EQ(a, 'J');
  EXPECT_EQ(ui.requests()[0].index, 2) << "'n' preselects Nein";

  bool flag = true;
  ui.script({Answer::No()});
  AskBoolean(ws, "?", flag);
  EXPECT_FALSE(flag);

  ui.script({Answer::Cancel()});
  EXPECT_FALSE(AskQuestion(ws, "weiter ?"));
  EXPECT_TRUE(ws.abort);
}

TEST_F(ValueEntryTest, EnterTextCutsToMaximumLength) {
  std::string t = "alt";
  ui.script({Answer::Text("abcdefghijk")});
  EnterText(ws, "Name", 8, t);
  EXPECT_EQ(t, "abcdefgh");
}

TEST(HeadlessBatch, AnswersCancelAndPrintsErrorsAsUtf8) {
  HeadlessUi ui(HeadlessUi::Mode::Batch);
  std::ostringstream err, out;
  ui.setStreams(&err, &out);
  Session ws(ui);
  Real v = 1;
  EnterReal(ws, "x", v, 0, 2);
  EXPECT_TRUE(ws.abort);
  ShowError(ws, oem("Ungültiger Dateiname \"a\" !"));
  EXPECT_NE(err.str().find("Ungültiger Dateiname"), std::string::npos);
}

}  // namespace
}  // namespace velk::test
