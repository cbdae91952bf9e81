// The calculation message list: duplicates, the limit of 11 entries, the 36-character cut.
#include "data/messages.h"

#include <gtest/gtest.h>

#include <string>

namespace velk {
namespace {

TEST(CalcMessages, SameMessageTwiceIsStoredOnce) {
  CalcMessages list;
  AddCalcMessage(list, "Fehler : a0 < 0 !");
  AddCalcMessage(list, "Warnung: n < 2 !");
  AddCalcMessage(list, "Fehler : a0 < 0 !");
  ASSERT_EQ(list.count, 2);
  EXPECT_EQ(list.entries[0], "Fehler : a0 < 0 !");
  EXPECT_EQ(list.entries[1], "Warnung: n < 2 !");
  // A prefix is a different message.
  AddCalcMessage(list, "Fehler : a0");
  EXPECT_EQ(list.count, 3);
}

TEST(CalcMessages, TwelfthMessageIsDroppedAndCountStaysEleven) {
  CalcMessages list;
  for (int i = 1; i <= 12; ++i) AddCalcMessage(list, "Warnung: " + std::to_string(i));
  ASSERT_EQ(list.count, kMaxCalcMessages);
  EXPECT_EQ(list.entries[10], "Warnung: 11");
  AddCalcMessage(list, "Warnung: 1");  // a duplicate of a full list changes nothing either
  EXPECT_EQ(list.count, 11);
  EXPECT_FALSE(list.fatal);
}

TEST(CalcMessages, CutTo36CharactersAndComparedOnThem) {
  CalcMessages list;
  const std::string head = "Warnung: " + std::string(27, 'x');  // exactly 36
  AddCalcMessage(list, head + "first tail");
  ASSERT_EQ(list.count, 1);
  EXPECT_EQ(list.entries[0], head);
  AddCalcMessage(list, head + "second tail");  // equal in the first 36 characters
  EXPECT_EQ(list.count, 1);
  AddCalcMessage(list, head.substr(0, 35) + "y");
  EXPECT_EQ(list.count, 2);
  AddCalcMessage(list, "");
  EXPECT_EQ(list.count, 3);
}

TEST(CalcMessages, ClearEmptiesTheListAndTheFatalFlag) {
  CalcMessages list;
  AddCalcMessage(list, "Fatal  : n = 0 !");
  list.fatal = true;
  ClearCalcMessages(list);
  EXPECT_EQ(list.count, 0);
  EXPECT_FALSE(list.fatal);
  AddCalcMessage(list, "Fatal  : n = 0 !");  // a cleared entry does not count as a duplicate
  EXPECT_EQ(list.count, 1);
}

}  // namespace
}  // namespace velk
