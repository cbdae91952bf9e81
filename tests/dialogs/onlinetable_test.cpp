// Online input table: the exchange area and its protocol around the form, and whole design-mode
// dialogues driven through the headless online form.
#include "dialogs/onlinetable.h"

#include <gtest/gtest.h>

#include "calc/calc_fixture.h"
#include "calcservice/designtable.h"

namespace velk::test {
namespace {

class OnlineTableTest : public SessionTest {
 protected:
  // A table of three input rows "1", "2", "3" and two output rows.
  void threeRows() {
    BeginOnlineTable(ws, "Test", 3, 2);
    for (int i = 1; i <= 3; ++i) SetOnlineInput(ws, i, "in", "mm", std::to_string(i));
  }
  const OnlineTable& t = ws.online;
};

TEST_F(OnlineTableTest, BeginAndEndSwitchMessageBoxesAndClearState) {
  AddCalcMessage(ws.messages, "Fatal  : n = 0 !");
  ws.messages.fatal = true;
  BeginOnlineTable(ws, std::string(70, 'x'), 20, -3);
  EXPECT_EQ(t.onlineTitle, std::string(60, 'x'));
  EXPECT_EQ(t.inCount, 12);
  EXPECT_EQ(t.outCount, 0);
  EXPECT_EQ(ws.messages.count, 0);
  EXPECT_FALSE(ws.messages.fatal);
  EXPECT_FALSE(ws.errorMessagesEnabled);
  ws.abort = true;
  EndOnlineTable(ws);
  EXPECT_TRUE(ws.errorMessagesEnabled);
  EXPECT_FALSE(ws.abort);

  // Row texts are cut to 9 characters; rows outside 1..12 are ignored.
  SetOnlineInput(ws, 1, "caption-long", "unit-too-long", "123456789012");
  SetOnlineOutput(ws, 12, "sig.zul", "1234567890", "MPa");
  SetOnlineOutput(ws, 13, "x", "y", "z");
  SetOnlineInput(ws, 0, "x", "y", "z");
  EXPECT_EQ(t.inLabel[1], "caption-l");
  EXPECT_EQ(t.inUnit[1], "unit-too-");
  EXPECT_EQ(t.inText[1], "123456789");
  EXPECT_EQ(t.outValue[12], "123456789");
  EXPECT_EQ(t.inLabel[0], "");
}

TEST_F(OnlineTableTest, ClosingTakesTextsMovesFocusAndSetsAbort) {
  const struct {
    const char* name;
    Answer answer;
    int startRow;
    int row;
    bool abort;
    const char* text2;  // input row 2 afterwards
    OnlineKey lastKey;
  } rows[] = {
      {"enter takes 9 characters", Answer::Online({{2, "123456789012"}}), 1, 2, false, "123456789", OnlineKey::None},
      {"esc takes nothing", Answer::Online({{2, "9"}}, OnlineClose::Escape), 1, 2, true, "2", OnlineKey::None},
      {"cancel is esc", Answer::Cancel(), 3, 3, true, "2", OnlineKey::None},
      {"close takes the texts", Answer::Online({{2, "9"}}, OnlineClose::Close), 1, 2, true, "9", OnlineKey::None},
      {"down", Answer::Online({{2, "7"}}, OnlineClose::Down), 1, 3, false, "7", OnlineKey::Down},
      {"down in the last row", Answer::Online({}, OnlineClose::Down), 3, 3, false, "2", OnlineKey::None},
      {"up in the first row", Answer::Online({}, OnlineClose::Up), 1, 1, false, "2", OnlineKey::None},
      {"up", Answer::Online({}, OnlineClose::Up, 3), 1, 2, false, "2", OnlineKey::Up},
      {"focus row above the table", Answer::Online({}), 99, 3, false, "2", OnlineKey::None},
      {"focus row below the table", Answer::Online({}), 0, 1, false, "2", OnlineKey::None},
  };
  for (const auto& r : rows) {
    ws.online = OnlineTable{};
    threeRows();
    ws.abort = !r.abort;
    ui.push(r.answer);
    EXPECT_EQ(ShowOnlineTable(ws, r.startRow, 6100), r.row) << r.name;
    EXPECT_EQ(ws.abort, r.abort) << r.name;
    EXPECT_EQ(t.inText[2], r.text2) << r.name;
    EXPECT_EQ(t.inText[1], "1") << r.name;
    EXPECT_EQ(t.currentRow, r.row) << r.name;
    EXPECT_EQ(t.lastKey, r.lastKey) << r.name;
  }
}

TEST_F(OnlineTableTest, FormIsShownWithCaptionMessagesAndHelp) {
  threeRows();
  SetOnlineOutput(ws, 1, "cT", "6.667", "Nmm/\xF8");
  ui.push(Answer::Online({}));
  ShowOnlineTable(ws, 2, 6100);
  ASSERT_EQ(ui.shown<OnlineFormRequest>().size(), 1u);
  const OnlineFormRequest q = ui.shown<OnlineFormRequest>()[0];
  EXPECT_EQ(q.caption, "VELK - Spiralfedern    Test");
  EXPECT_EQ(q.focusRow, 2);
  EXPECT_EQ(q.helpContext, 6100);
  EXPECT_EQ(q.table.outValue[1], "6.667");
  EXPECT_TRUE(q.messages.empty());  // no calculation messages: an empty message group
  EXPECT_EQ(q.help, ws.help);
  ASSERT_EQ(ui.requests().size(), 1u);
  EXPECT_EQ(ui.requests()[0].kind, Request::Kind::Online);
  EXPECT_EQ(ui.requests()[0].helpNumber, 6100);

  AddCalcMessage(ws.messages, "Fehler : a0 < 0 !");
  AddCalcMessage(ws.messages, "Warnung: n < 2 !");
  ui.push(Answer::Online({}));
  ShowOnlineTable(ws, 1, 6000);
  EXPECT_EQ(ui.shown<OnlineFormRequest>()[1].messages,
            (std::vector<std::string>{"Fehler : a0 < 0 !", "Warnung: n < 2 !"}));
}

// A user who moves the window: the position is kept for the next showing and the next dialogue.
class MovingUi : public ScriptedUi {
 public:
  using ScriptedUi::show;
  std::optional<OnlineFormResult> show(const OnlineFormRequest& q) override {
    shownAt.emplace_back(q.table.left, q.table.top);
    // Esc (a cancelled script) leaves the moved form as well, without its texts.
    OnlineFormResult r = ScriptedUi::show(q).value_or(
        OnlineFormResult{OnlineClose::Escape, q.table.inText, q.focusRow, q.table.left, q.table.top});
    r.left += 100;
    r.top += 10;
    return r;
  }
  std::vector<std::pair<int, int>> shownAt;
};

TEST(OnlineTablePosition, WindowPositionSurvivesShowingsAndDialogues) {
  MovingUi moving;
  Session ws(moving);
  moving.script({Answer::Online({}), Answer::Cancel(), Answer::Online({})});
  BeginOnlineTable(ws, "A", 1, 1);
  ShowOnlineTable(ws, 1, 6000);
  ShowOnlineTable(ws, 1, 6000);  // Esc keeps the position too
  EndOnlineTable(ws);
  BeginOnlineTable(ws, "B", 1, 1);
  ShowOnlineTable(ws, 1, 6000);
  EndOnlineTable(ws);
  EXPECT_EQ(moving.shownAt, (std::vector<std::pair<int, int>>{{12, 26}, {112, 36}, {212, 46}}));
}

TEST(OnlineTableGeometry, GroupHeightsAndHintNumbers) {
  EXPECT_EQ(OnlineGroupHeight(8), 246);
  EXPECT_EQ(OnlineGroupHeight(11), 327);
  EXPECT_EQ(OnlineRowTop(1), 29);
  EXPECT_EQ(OnlineInputHint(6100, 1), 6100);
  EXPECT_EQ(OnlineInputHint(6100, 3), 6110);
  EXPECT_EQ(OnlineOutputHint(6100, 1), 6170);  // a multiple of 100: + 2 i + 68
  EXPECT_EQ(OnlineOutputHint(6150, 1), 6225);  // otherwise + 2 i + 73
}

TEST(OnlineTableBatch, BatchModeLeavesTheForm) {
  HeadlessUi batch(HeadlessUi::Mode::Batch);
  Session ws(batch);
  BeginOnlineTable(ws, "A", 2, 0);
  SetOnlineInput(ws, 1, "t", "mm", "1");
  EXPECT_EQ(ShowOnlineTable(ws, 1, 6000), 1);
  EXPECT_TRUE(ws.abort);
}

// ---- whole dialogues ----

class DesignDialogue : public SessionTest {
 protected:
  void strip() {
    stripExample(ws);
    CalculateSpring(ws);
  }
  std::vector<std::string> inTexts(const OnlineFormRequest& q) const {
    return std::vector<std::string>(q.table.inText.begin() + 1, q.table.inText.begin() + 1 + q.table.inCount);
  }
  std::vector<std::string> outLabels(const OnlineFormRequest& q) const {
    return std::vector<std::string>(q.table.outLabel.begin() + 1, q.table.outLabel.begin() + 1 + q.table.outCount);
  }
  Spring& s = ws.spring;
  const NumberSettings& n = ws.config.num;
};

TEST_F(DesignDialogue, DimensioningEditConfirmReadCancel) {
  strip();
  s.T1 = 500, s.T2 = 800, s.alphah = 45, s.re = 60;
  // Re = 0 computes the outer radius; then T2 = 900 in the row "T2"; then the user leaves.
  ui.script({Answer::Online({{4, "0"}}), Answer::Online({{2, "900"}}), Answer::Cancel()});
  DimensioningTable(ws);

  ASSERT_EQ(ui.shown<OnlineFormRequest>().size(), 3u);
  const OnlineFormRequest first = ui.shown<OnlineFormRequest>()[0];
  EXPECT_EQ(first.caption, "VELK - Spiralfedern    Auslegung");
  EXPECT_EQ(first.helpContext, 6100);
  EXPECT_EQ(first.focusRow, 1);
  EXPECT_EQ(inTexts(first), (std::vector<std::string>{"500", "800", "45", "60", "10", "1", "20"}));
  EXPECT_EQ(outLabels(first), (std::vector<std::string>{"cT", "al.1", "al.2", "al.c", "sig.q1", "sig.q2", "sig.c",
                                                        "sig.zul", "Lw", "n0", "a0"}));
  EXPECT_EQ(first.table.outValue[1], "6.667");  // 300 Nmm / 45°
  EXPECT_EQ(u8(first.table.outUnit[1]), "Nmm/°");
  EXPECT_EQ(first.table.outValue[2], "75");  // 500 / (300 / 45)
  EXPECT_EQ(first.table.outValue[3], "120");
  EXPECT_EQ(first.table.outValue[8], "1350");  // sigman of t = 1

  // The computed outer radius appears in the "Re" row, with the focus still there.
  const OnlineFormRequest second = ui.shown<OnlineFormRequest>()[1];
  EXPECT_EQ(second.focusRow, 4);
  EXPECT_NE(second.table.inText[4], "0");
  EXPECT_GT(parseReal(second.table.inText[4]), 10);

  const OnlineFormRequest third = ui.shown<OnlineFormRequest>()[2];
  EXPECT_EQ(third.focusRow, 2);
  EXPECT_EQ(third.table.inText[2], "900");
  EXPECT_EQ(third.table.outValue[1], "8.889");  // 400 Nmm / 45°
  EXPECT_EQ(third.table.outValue[3], FormatValue(n, ValueKind::Plain, 900 / (400.0L / 45)));

  // Cancelled: the spring keeps the last pass, message boxes are back on, no abort remains.
  EXPECT_FALSE(ws.abort);
  EXPECT_TRUE(ws.errorMessagesEnabled);
  EXPECT_NEAR(static_cast<double>(s.T2), 900, 1e-9);
  EXPECT_NEAR(static_cast<double>(s.T1), 500, 1e-9);
  EXPECT_EQ(FormatValue(n, ValueKind::Length, s.re), third.table.inText[4]);
  const Spring kept = s;
  CalculateSpring(ws);
  EXPECT_NEAR(static_cast<double>(s.T2), static_cast<double>(kept.T2), 1e-9);
  EXPECT_NEAR(static_cast<double>(s.alphah), 45, 1e-12);
}

TEST_F(DesignDialogue, DimensioningWithEqualMomentsShowsTheSolverStop) {
  strip();
  s.T1 = 500, s.T2 = 800, s.alphah = 45;
  ui.script({Answer::Online({{2, "500"}}), Answer::Cancel()});
  DimensioningTable(ws);
  ASSERT_EQ(ui.shown<OnlineFormRequest>().size(), 2u);
  const OnlineFormRequest q = ui.shown<OnlineFormRequest>()[1];
  // The angles stay those of the first pass; the calculation shows its results for them, and
  // the solver's stop is listed after the calculation's messages.
  EXPECT_EQ(q.table.outValue[2], "75");
  EXPECT_EQ(q.table.outValue[3], "120");
  ASSERT_FALSE(q.messages.empty());
  EXPECT_EQ(q.messages.back(), "Fatal  : R = 0 !");
  EXPECT_EQ(q.table.inText[2], "800");  // the calculation's T2 for the unchanged angles
}

TEST_F(DesignDialogue, RecalculationReadsDecimalCommaAndKeepsValuesOnCancel) {
  strip();
  ui.script({Answer::Online({{2, "1,5"}}), Answer::Online({{2, "3"}}, OnlineClose::Escape)});
  RecalculationTable(ws);
  ASSERT_EQ(ui.shown<OnlineFormRequest>().size(), 2u);
  const OnlineFormRequest q = ui.shown<OnlineFormRequest>()[1];
  EXPECT_EQ(q.caption, "VELK - Spiralfedern    Nachrechnung");
  EXPECT_EQ(q.table.inCount, 8);
  EXPECT_EQ(q.table.outCount, 11);
  EXPECT_EQ(q.table.inText[2], "1.5");
  EXPECT_EQ(q.table.outValue[10], "8.5");  // a0 = (60 - 10) / 5 - 1.5
  EXPECT_EQ(s.t, 1.5L);                    // the Esc edit "3" was never read
  EXPECT_EQ(s.a0, 8.5L);
}

TEST_F(DesignDialogue, CancelInTheFirstPassKeepsTheShownPass) {
  for (OnlineClose how : {OnlineClose::Escape, OnlineClose::Close}) {
    strip();
    ui.clearShown();
    ui.push(Answer::Online({{2, "3"}}, how));
    RecalculationTable(ws);
    EXPECT_EQ(s.t, 1);
    EXPECT_EQ(ws.online.inText[2], how == OnlineClose::Close ? "3" : "1");
    EXPECT_FALSE(ws.abort);
  }
}

TEST_F(DesignDialogue, WireRecalculationNeverReadsTheWidthRow) {
  wireExample(ws);
  CalculateSpring(ws);
  ui.script({Answer::Online({{1, "5"}, {2, "2,5"}}), Answer::Cancel()});
  RecalculationTable(ws);
  ASSERT_EQ(ui.shown<OnlineFormRequest>().size(), 2u);
  for (const OnlineFormRequest& q : ui.shown<OnlineFormRequest>()) {
    EXPECT_EQ(q.table.inLabel[1], " ");
    EXPECT_EQ(q.table.inUnit[1], "");
    EXPECT_EQ(q.table.inText[1], "");
    EXPECT_EQ(q.table.inLabel[2], "d");
  }
  EXPECT_EQ(s.b, 20);
  EXPECT_EQ(s.t, 2.5L);
}

TEST_F(DesignDialogue, ImperialUnitsConvertAtTheTable) {
  strip();
  ws.config.num.units = 1;
  ui.script({Answer::Online({{4, "0.5"}}), Answer::Cancel()});
  RecalculationTable(ws);
  const OnlineFormRequest first = ui.shown<OnlineFormRequest>()[0];
  EXPECT_EQ(first.table.inText[4], "0.3937");  // Ri 10 mm
  EXPECT_EQ(first.table.inText[8], "68");      // 20 °C
  EXPECT_EQ(u8(first.table.inUnit[8]), "°F");
  EXPECT_EQ(first.table.inUnit[2], "in");
  EXPECT_EQ(first.table.outUnit[1], "lbfin/\xF8");
  EXPECT_EQ(first.table.outUnit[5], "psi");
  EXPECT_EQ(s.ri, 0.5L * 25.4L);
  EXPECT_NEAR(static_cast<double>(s.theta), 20, 1e-12);
  // The first pass works with the shown precision: 1 mm is shown as 0.0394 in.
  EXPECT_EQ(s.t, parseLength(ws.config.num, "0.0394"));
}

TEST_F(DesignDialogue, QuickViewIsRefreshedOnlyWithHelp) {
  for (int level : {1, 0}) {
    strip();
    ws.config.helpLevel = level;
    int refreshed = 0;
    ui.script({Answer::Online({}), Answer::Cancel()});
    RecalculationTable(ws, [&](CalcContext&) { ++refreshed; });
    EXPECT_EQ(refreshed, level == 1 ? 2 : 0);
  }
}

TEST_F(DesignDialogue, PreDimensioningStoresTheDefaultRatio) {
  strip();
  s.T1 = 1000, s.T2 = 3000, s.alphah = 720, s.b_t = 7;
  ui.script({Answer::Online({{5, "0"}}), Answer::Cancel()});
  PreDimensioningTable(ws);
  ASSERT_EQ(ui.shown<OnlineFormRequest>().size(), 2u);
  EXPECT_EQ(ui.shown<OnlineFormRequest>()[0].caption, "VELK - Spiralfedern    Vorauslegung");
  EXPECT_EQ(ui.shown<OnlineFormRequest>()[0].helpContext, 6200);
  EXPECT_EQ(ui.shown<OnlineFormRequest>()[0].table.inCount, 5);
  EXPECT_EQ(ui.shown<OnlineFormRequest>()[1].table.inText[5], "10");
  EXPECT_EQ(s.b_t, 10);
  EXPECT_NEAR(static_cast<double>(s.T2), 3000, 1e-9);

  // A wire has no width ratio row.
  wireExample(ws);
  CalculateSpring(ws);
  ui.clearShown();
  ui.push(Answer::Cancel());
  PreDimensioningTable(ws);
  EXPECT_EQ(ui.shown<OnlineFormRequest>()[0].table.inCount, 4);
  ui.clearShown();
  ui.push(Answer::Cancel());
  DimensioningTable(ws);
  EXPECT_EQ(ui.shown<OnlineFormRequest>()[0].table.inCount, 6);
  EXPECT_EQ(ui.shown<OnlineFormRequest>()[0].table.inLabel[6], "d");
}

}  // namespace
}  // namespace velk::test
