// Code-page tables against glibc iconv, round trips, plain characters and the 255-byte limit.
// iconv is an independent implementation of the same code charts.
#include "base/codepage.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "base/numfmt.h"

namespace velk {
namespace {

std::string allBytes() {
  std::string s;
  for (int b = 0; b < 256; ++b) s += static_cast<char>(b);
  return s;
}

// One byte through iconv; empty when iconv has no mapping.
std::string iconvByte(const char* to, const char* from, char byte) {
  const iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return "<no iconv>";
  char in[1] = {byte};
  char out[8];
  char* ip = in;
  char* op = out;
  std::size_t il = 1;
  std::size_t ol = sizeof out;
  const std::size_t r = iconv(cd, &ip, &il, &op, &ol);
  iconv_close(cd);
  return r == static_cast<std::size_t>(-1) ? std::string() : std::string(out, op);
}

TEST(Codepage, Cp850AndWin1252MatchIconv) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    ASSERT_EQ(cp850ToUtf8(byte), iconvByte("UTF-8", "CP850", byte[0])) << "850 byte " << b;
    const std::string win = iconvByte("UTF-8", "CP1252", byte[0]);
    ASSERT_EQ(win1252ToUtf8(byte), win.empty() ? "?" : win) << "1252 byte " << b;
    // 850 -> 1252 keeps the character wherever 1252 has it.
    const std::string direct = iconvByte("CP1252", "CP850", byte[0]);
    if (!direct.empty()) {
      ASSERT_EQ(cp850ToWin1252(byte), direct) << "850 byte " << b;
    }
  }
}

TEST(Codepage, EveryCp850ByteSurvivesUtf8AndBack) {
  const std::string all = allBytes();
  EXPECT_EQ(utf8ToCp850(cp850ToUtf8(all)), all);
  EXPECT_EQ(cp850ToUtf8("\x84\x94\x81\xE1\xF8\xFD\xE6\xF1"), "äöüß°²µ±");
  EXPECT_EQ(oem("Ungültige Eingabe"), "Ung\x81ltige Eingabe");
}

TEST(Codepage, Win1252RoundTripsThrough850WhereBothHaveTheCharacter) {
  const std::string all = allBytes();
  const std::string oemText = win1252ToCp850(all);
  const std::string back = cp850ToWin1252(oemText);
  for (int b = 0; b < 256; ++b) {
    if (oemText[b] == '?' && b != '?') {
      // Only the C1 range of 1252 (curly quotes, euro, ...) is missing from 850; 0x83 is ƒ.
      EXPECT_TRUE(b >= 0x80 && b < 0xA0 && b != 0x83) << b;
    } else {
      EXPECT_EQ(static_cast<unsigned char>(back[b]), b) << b;
    }
  }
  EXPECT_EQ(toOem("\xC4rger \xB0"), "\x8Erger \xF8");
}

TEST(Codepage, BoxDrawingAndMissingCharactersBestFit) {
  EXPECT_EQ(cp850ToWin1252("\xDA\xC4\xBF\xB3\xC5\xCD\xC1"), "+-+||-+");
  EXPECT_EQ(cp850ToWin1252("\xB0\xDB\xFE\xD5"), "????");  // shades, blocks, square, dotless i
  EXPECT_EQ(cp850ToWin1252("\x84\x9F"), "\xE4\x83");      // ä and ƒ keep their character
}

TEST(Codepage, BadUtf8AndUnknownCharactersBecomeQuestionMarks) {
  const struct {
    const char* in;
    const char* want;
  } cases[] = {
      {"\xC3\xA4", "\x84"},          // ä
      {"\xE2\x82\xAC", "?"},         // euro sign: not in 850
      {"\xFF", "?"},                 // never valid
      {"a\xC3", "a?"},               // truncated sequence
      {"\xC0\xAF", "??"},            // overlong "/"
      {"\xED\xA0\x80", "???"},       // surrogate
      {"\xF4\x90\x80\x80", "????"},  // beyond U+10FFFF
      {"\xF0\x9F\x98\x80x", "?x"},   // valid but not in 850
  };
  for (const auto& c : cases) EXPECT_EQ(utf8ToCp850(c.in), c.want) << c.in;
}

TEST(Codepage, PlainCharactersAndTheProgramsOwnTable) {
  EXPECT_EQ(plainText("\x8E\x99\x9A\x84\x94\x81\xE1"), "AeOeUeaeoeuess");
  EXPECT_EQ(plainText("\x82\xA0\xA3\xA4\xC4\xCD\xE6\xF1\xF8\xFD"), "eaun--u+/-deg2");
  EXPECT_EQ(plainText("\x87|x"), "\x87|x");
  NumberSettings plain;
  plain.plainChars = 1;
  // Box corners and bars after plainText; the vertical bar stays a vertical bar.
  EXPECT_EQ(toDisplay(plain, "\xDA\xC4\xBF|\xB3\xD6\xB5"), "+-+||+|");
  EXPECT_EQ(toDisplay(plain, "\x8F\xA1\xFC\x87"), "\xC5\xED\xB3\x87");  // listed letters; others unchanged
  EXPECT_EQ(toDisplay(plain,
                      "20\xF8"
                      "C"),
            "20degC");
  const NumberSettings s;
  EXPECT_EQ(toDisplay(s, "\x8E\x84\xF8|"), "\xC4\xE4\xB0|");
}

TEST(Codepage, LongTextsBecomeEmptyOnlyInTheDialogConversions) {
  const NumberSettings s;
  EXPECT_EQ(toOem(std::string(300, 'a')), "");
  EXPECT_EQ(toDisplay(s, std::string(300, 'a')), "");
  EXPECT_EQ(toDisplay(s, std::string(255, 'a')), "");
  EXPECT_EQ(toDisplay(s, std::string(254, 'a')).size(), 254u);
  EXPECT_EQ(toOem(std::string(254, 'a')).size(), 254u);
  EXPECT_EQ(cp850ToWin1252(std::string(300, 'a')).size(), 300u);
}

TEST(Codepage, CadTextModes) {
  NumberSettings s;
  const std::string text = "L\x84nge \xF8";
  s.cadTextMode = 1;
  EXPECT_EQ(cadText(s, text), text);
  s.cadTextMode = 2;
  EXPECT_EQ(cadText(s, text), "L\xE4nge \xB0");
  s.cadTextMode = 3;
  EXPECT_EQ(cadText(s, text), "Laenge deg");
}

}  // namespace
}  // namespace velk
