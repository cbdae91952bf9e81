// Number formats, parsing, units, text helpers and dates; rounding checked against glibc printf.
// Runs a locale check under de_DE to prove no format or parse depends on the process locale.
#include "base/numfmt.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <regex>
#include <string>
#include <vector>

namespace velk {
namespace {

const Real kInf = std::numeric_limits<Real>::infinity();
const Real kNan = std::numeric_limits<Real>::quiet_NaN();

NumberSettings withDecimals(int decimalPlaces) {
  NumberSettings s;
  s.decimalPlaces = decimalPlaces;
  return s;
}
NumberSettings imperialUnits(int plainChars = 0) {
  NumberSettings s;
  s.units = 1;
  s.plainChars = plainChars;
  return s;
}

// glibc printf of the exact binary value under the "C" locale: the reference for rounding.
std::string printfC(const char* format, int precision, Real x) {
  const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  const locale_t old = uselocale(c);
  std::vector<char> buf(6000);
  std::snprintf(buf.data(), buf.size(), format, precision, x);
  uselocale(old);
  freelocale(c);
  return buf.data();
}

TEST(FmtSig, EverydayValues) {
  const NumberSettings s;
  const struct {
    Real x;
    const char* want;
  } cases[] = {
      {0, "0"},           {0.000004L, "0"},    {0.00002L, "0.00002"}, {-0.000001L, "0"},
      {12.0L, "12"},      {12.3456L, "12.35"}, {0.012345L, "0.0123"}, {1234.4L, "1234"},
      {-5, "-5"},         {0.5L, "0.5"},       {7.85L, "7.85"},       {210000, "210000"},
      {123.44L, "123.4"}, {1.2L, "1.2"},       {999.9999L, "1000"},   {1000, "1000"},
      {-0.25L, "-0.25"},  {9.9999L, "10.000"}, {0.1L, "0.1"},         {100, "100"},
  };
  for (const auto& c : cases) EXPECT_EQ(fmtSig(s, c.x), c.want) << static_cast<double>(c.x);
}

TEST(FmtSig, FollowsDecimalPlacesAndDecimalComma) {
  EXPECT_EQ(fmtSig(withDecimals(5), 12.3456L), "12.3456");
  EXPECT_EQ(fmtSig(withDecimals(0), 12.3456L), "12");
  NumberSettings comma;
  comma.decimalComma = 2;
  EXPECT_EQ(fmtSig(comma, 12.3456L), "12,35");
  EXPECT_EQ(fmtFixed(comma, 3, 2, 1.5L), "  1,50");
}

TEST(FmtFixed, WidthDecimalsAndDecimalPlacesShift) {
  const NumberSettings s;
  EXPECT_EQ(fmtFixed(s, 3, 2, 1.5L), "  1.50");                       // w + d + 1 characters
  EXPECT_EQ(fmtFixed(s, 4, 0, 42), "  42");                           // no point when d = 0
  EXPECT_EQ(fmtFixed(s, 1, 2, 12345.678L), "12345.68");               // never cut
  EXPECT_EQ(fmtFixed(s, 4, -2, 3.6L), "   4");                        // d <= 0 counts as 0
  EXPECT_EQ(fmtFixed(s, 2, 3, 5e-9L), " 0.000");                      // below 1e-8 is zero
  EXPECT_EQ(fmtFixed(withDecimals(5), 3, 7, 1), "  1.000000000");     // 9 decimals
  EXPECT_EQ(fmtFixed(withDecimals(0), 5, 2, 1.234L), "    1");        // shifted below 0
  EXPECT_EQ(fmtFixed(withDecimals(20), 1, 3, 0.5L), "0.5000000000");  // kept at 10
}

TEST(FmtFixed, RoundsTheExactBinaryValueNeverMinusZero) {
  const NumberSettings s;
  EXPECT_EQ(fmtFixed(s, 1, 2, 0.125L), "0.12");  // exact tie: to even
  EXPECT_EQ(fmtFixed(s, 1, 2, 0.375L), "0.38");
  EXPECT_EQ(fmtFixed(s, 1, 0, 2.5L), "2");
  EXPECT_EQ(fmtFixed(s, 1, 0, -3.5L), "-4");
  EXPECT_EQ(fmtFixed(s, 1, 2, 1.005), "1.00");  // the double 1.005 lies below the tie
  EXPECT_EQ(fmtFixed(s, 1, 2, -0.004L), "0.00");
  EXPECT_EQ(fmtFixed(s, 1, 0, -0.4L), "0");
  EXPECT_EQ(fmtFixed(s, 1, 2, -0.0L), "0.00");
  EXPECT_EQ(fmtSig(s, -0.0L), "0");
}

TEST(FmtFixed, MatchesPrintfOnRandomValuesAndTies) {
  const NumberSettings s;
  std::mt19937_64 rng(20240611);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> exponent(-7, 15);
  std::uniform_int_distribution<int> decimals(0, 10);
  for (int i = 0; i < 20000; ++i) {
    Real x = static_cast<Real>(mantissa(rng)) * std::pow(Real{10}, exponent(rng));
    if (i % 3 == 0) x = std::ldexp(std::round(x * 64), -6);  // multiples of 1/64: many exact ties
    if (i % 2 == 0) x = -x;
    const int d = decimals(rng);
    std::string want = printfC("%.*Lf", d, x);
    if (want.find_first_not_of("-0.") == std::string::npos && want[0] == '-') want.erase(0, 1);
    ASSERT_EQ(fmtFixed(s, 0, d, x), want) << "d=" << d << " x=" << printfC("%.*Le", 25, x);
  }
}

TEST(FmtSig, HugeAndNonFiniteValues) {
  const NumberSettings s;
  const std::string big = fmtSig(s, 1e300L);
  EXPECT_EQ(big, printfC("%.*Lf", 0, 1e300L));
  EXPECT_EQ(big.size(), 301u);
  EXPECT_EQ(fmtSig(s, 1e4000L), printfC("%.*Lf", 0, 1e4000L));  // just below 10^4000: 4000 nines
  EXPECT_EQ(fmtSig(s, -LDBL_MAX), printfC("%.*Lf", 0, -LDBL_MAX));
  EXPECT_EQ(fmtSig(s, kInf), "inf");
  EXPECT_EQ(fmtSig(s, -kInf), "-inf");
  EXPECT_EQ(fmtSig(s, kNan), "nan");
  EXPECT_EQ(fmtFixed(s, 3, 2, kInf), "   inf");
  EXPECT_EQ(fmtAuto(s, kNan), "nan");
  EXPECT_EQ(fmtEng(s, -kInf), "-inf");
  EXPECT_EQ(fmtFixedDec(s, 2, kInf), "inf");
  EXPECT_EQ(fmtTolerance(s, kInf, 0), "+inf");
  EXPECT_EQ(fmtLength(imperialUnits(), kNan), "  nan");  // padded like 0.xxxx
}

TEST(DecimalExponent, ExactAtPowersOfTen) {
  EXPECT_EQ(decimalExponent(1000), 3);
  EXPECT_EQ(decimalExponent(999.9999L), 2);
  EXPECT_EQ(decimalExponent(std::nextafter(Real{1000}, Real{0})), 2);
  EXPECT_EQ(decimalExponent(1), 0);
  EXPECT_EQ(decimalExponent(-0.5L), -1);
  EXPECT_EQ(decimalExponent(1e27L), 27);
  EXPECT_EQ(decimalExponent(std::nextafter(1e27L, Real{0})), 26);
  EXPECT_EQ(decimalExponent(0), 0);
  EXPECT_EQ(decimalExponent(kInf), 0);
  EXPECT_EQ(decimalExponent(kNan), 0);
  EXPECT_EQ(decimalExponent(std::numeric_limits<Real>::denorm_min()), -4951);
  // Across the whole range, against the exponent printf writes with enough digits to be exact.
  for (int k = -4930; k <= 4930; k += 7) {
    const Real p = std::pow(Real{10}, k);
    for (const Real x : {p, std::nextafter(p, Real{0}), std::nextafter(p, kInf), p * 3}) {
      const std::string sci = printfC("%.*Le", 60, x);
      ASSERT_EQ(decimalExponent(x), std::atoi(sci.c_str() + sci.find('e') + 1)) << sci;
    }
  }
}

TEST(SignificantDigits, EndsEvenWhenNoDigitIsLeft) {
  const NumberSettings s;
  EXPECT_EQ(fmtSigN(s, 3, 0.5L), "0");  // n = 0: the trailing-zero loop runs out of digits
  EXPECT_EQ(fmtSigN(s, 3, 0.06L), "0");
  EXPECT_EQ(fmtSigN(s, 3, 123), "123");
  EXPECT_EQ(fmtSigN(s, 5, 0.5L), "0");  // n < 0
  EXPECT_EQ(fmtSigN(s, 1, 12.3456L), "12.3");
  EXPECT_EQ(fmtSigN(s, -10, 1.0L / 3), "0.3333333333333");
  int p = -1, q = -1;
  significantDigits(3, 0, p, q);
  EXPECT_EQ(p, 0);
  EXPECT_EQ(q, 1);
}

TEST(FmtEng, EngineeringExponentsTruncateTowardZero) {
  const NumberSettings s;
  EXPECT_EQ(fmtEng(s, 0.0002L), "0.2E-3");
  EXPECT_EQ(fmtEng(s, 12300), "12.3E3");
  EXPECT_EQ(fmtEng(s, -12300), "-12.3E3");
  EXPECT_EQ(fmtEng(s, 0.001L), "1E-3");
  EXPECT_EQ(fmtEng(s, 5000), "5000");
  EXPECT_EQ(fmtEng(s, 1e4000L), "10E3999");
  EXPECT_EQ(fmtAuto(s, 0), "0");
  EXPECT_EQ(fmtAuto(s, 1e-13L), "0");
  EXPECT_EQ(fmtAuto(s, 0.000002L), "2E-6");
  EXPECT_EQ(fmtAuto(s, 12.3456L), "12.35");
  EXPECT_EQ(fmtAuto(s, 12300), "12.3E3");
}

TEST(FmtTolerance, SymmetricOneSidedAndPairs) {
  const NumberSettings s;
  EXPECT_EQ(fmtTolerance(s, 5, -5), " \xF1 5");
  EXPECT_EQ(fmtTolerance(s, 5, -3), "+5/-3");
  EXPECT_EQ(fmtTolerance(s, 0, -3), "-3");
  EXPECT_EQ(fmtTolerance(s, 2, 0), "+2");
  EXPECT_EQ(fmtTolerance(s, 0, 0), "");
  EXPECT_EQ(fmtTolerance(s, 0.125L, -0.12505L), " \xF1 0.12");  // tie to even
  NumberSettings plain;
  plain.plainChars = 1;
  EXPECT_EQ(fmtTolerance(plain, 5, -5), "+/-5");
  EXPECT_EQ(fmtSigned(s, 0), "");
}

TEST(FmtInt, LeadingZerosAndBlanks) {
  EXPECT_EQ(fmtInt(-42), "-42");
  EXPECT_EQ(fmtInt(LLONG_MIN), "-9223372036854775808");
  EXPECT_EQ(fmtIntZero(7, 3), "007");
  EXPECT_EQ(fmtIntZero(-7, 3), "-07");
  EXPECT_EQ(fmtIntZero(1234, 2), "1234");
  EXPECT_EQ(fmtIntRight(7, 3), "  7");
}

TEST(Units, ImperialConvertsAtTheEdge) {
  const NumberSettings metric;
  const NumberSettings imp = imperialUnits();
  EXPECT_EQ(fmtLength(imp, 25.4L), "1.0000");
  EXPECT_EQ(parseLength(imp, "1"), 25.4L);
  EXPECT_EQ(parseLength(metric, "1"), 1);
  EXPECT_EQ(fmtTemp(imp, 20), "68");
  EXPECT_NEAR(static_cast<double>(parseTemp(imp, "68")), 20.0, 1e-12);
  EXPECT_EQ(fmtStress(imp, 1000), "145037");
  EXPECT_EQ(fmtMoment(imp, 1000), "8.85");  // 8.8507: the truncated third decimal is 0
  EXPECT_EQ(parseMoment(imp, "1"), 112.984788L);
  EXPECT_EQ(fmtLengthFixed(imp, 3, 2, 25.4L), " 1.000");
  EXPECT_EQ(fmtStressFixed(imp, 5, 2, 1000), " 145037");
  EXPECT_EQ(fmtMomentFixed(imp, 5, 1, 1000), "  8.851");
  EXPECT_EQ(fmtTempFixed(imp, 3, 1, 100), "212.0");
  EXPECT_EQ(fmtStressDec(imp, 3, 1), "145.0");
  EXPECT_EQ(fmtLength(metric, 25.4L), "25.4");
  EXPECT_EQ(toDisplayStress(metric, 7), 7);
}

TEST(Units, Labels) {
  NumberSettings plain;
  plain.plainChars = 1;
  const struct {
    NumberSettings s;
    const char* len;
    const char* stress;
    const char* moment;
    const char* temp;
    const char* angle;
    const char* pm;
  } cases[] = {
      {NumberSettings{}, "mm", "MPa", "Nmm",
       "\xF8"
       "C",
       "\xF8", " \xF1 "},
      {plain, "mm", "MPa", "Nmm", " C", "deg", "+/-"},
      {imperialUnits(), "in", "psi", "lbfin",
       "\xF8"
       "F",
       "\xF8", " \xF1 "},
      {imperialUnits(1), "in", "psi", "lbfin", " F", "deg", "+/-"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(unitLength(c.s), c.len);
    EXPECT_EQ(unitStress(c.s), c.stress);
    EXPECT_EQ(unitMoment(c.s), c.moment);
    EXPECT_EQ(unitTemp(c.s), c.temp);
    EXPECT_EQ(unitAngle(c.s), c.angle);
    EXPECT_EQ(plusMinus(c.s), c.pm);
  }
}

TEST(ParseReal, WholeTextMustBeADecimalNumber) {
  const struct {
    const char* text;
    bool ok;
    Real value;
  } cases[] = {
      {"1,5", true, 1.5L}, {"1,5,0", false, 0}, {"", false, 0},     {" 2.5 ", true, 2.5L},  {"-3e2", true, -300},
      {"+4", true, 4},     {".5", true, 0.5L},  {"5.", true, 5},    {"1E-3", true, 0.001L}, {"-0", true, 0},
      {"nan", false, 0},   {"inf", false, 0},   {"0x10", false, 0}, {"1e9999", false, 0},   {"1e-9999", true, 0},
      {"abc", false, 0},   {"1.5x", false, 0},  {"--1", false, 0},  {"1 000", false, 0},    {"e5", false, 0},
      {"1e", false, 0},    {".", false, 0},     {"+-1", false, 0},  {"1.2.3", false, 0},
  };
  for (const auto& c : cases) {
    Real v = 99;
    EXPECT_EQ(tryParseReal(c.text, v), c.ok) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
    EXPECT_EQ(parseReal(c.text), c.value) << c.text;
    if (c.value == 0) {
      EXPECT_FALSE(std::signbit(parseReal(c.text))) << c.text;  // never -0
    }
  }
  EXPECT_EQ(parseReal("0.1"), 0.1L);  // correctly rounded to 80 bits, not via double
}

TEST(ParseInt, DecimalIntegersOnly) {
  const struct {
    const char* text;
    bool ok;
    long long value;
  } cases[] = {
      {"42", true, 42}, {" -7 ", true, -7}, {"+3", true, 3},   {"3.5", false, 0},
      {"", false, 0},   {"x", false, 0},    {"+-1", false, 0}, {"99999999999999999999", false, 0},
  };
  for (const auto& c : cases) {
    long long v = 99;
    EXPECT_EQ(tryParseInt(c.text, v), c.ok) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
    EXPECT_EQ(parseInt(c.text), c.value) << c.text;
  }
}

// Sets a process locale for one test and restores the previous one whatever happens.
class ProcessLocale {
 public:
  ProcessLocale() : old_(std::setlocale(LC_ALL, nullptr)) {}
  ~ProcessLocale() { std::setlocale(LC_ALL, old_.c_str()); }
  bool set(const char* name) { return std::setlocale(LC_ALL, name) != nullptr; }

 private:
  std::string old_;
};

TEST(NumberLocale, GermanProcessLocaleChangesNothing) {
  ProcessLocale locale;
  ASSERT_TRUE(locale.set("de_DE.UTF-8")) << "locale de_DE.UTF-8 must be installed";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 1.5);
  ASSERT_STREQ(probe, "1,5");  // the locale really is active
  const NumberSettings s;
  EXPECT_EQ(fmtFixed(s, 1, 2, 1.5L), "1.50");
  EXPECT_EQ(fmtSig(s, 12.3456L), "12.35");
  EXPECT_EQ(fmtEng(s, 0.0002L), "0.2E-3");
  EXPECT_EQ(fmtSig(s, 1e30L).find(','), std::string::npos);
  EXPECT_EQ(parseReal("1.5"), 1.5L);
  EXPECT_EQ(parseReal("2.5e-1"), 0.25L);
  EXPECT_EQ(parseReal("1,5"), 1.5L);
  EXPECT_EQ(parseInt("12"), 12);
}

TEST(TextOps, ColumnsTrimAndCase) {
  EXPECT_EQ(padRight("abc", 5), "abc  ");
  EXPECT_EQ(padRight("abcdef", 3), "abc");
  EXPECT_EQ(padRight("abc", -1), "");
  EXPECT_EQ(padLeft("  ab ", 4), "  ab");
  EXPECT_EQ(padLeft("abcdef", 3), "abc");
  EXPECT_EQ(leftStr("abcdef", 2), "ab");
  EXPECT_EQ(rightStr("abcdef", 2), "ef");
  EXPECT_EQ(rightStr("ab", 5), "ab");
  EXPECT_EQ(trim("  a b  "), "a b");
  EXPECT_EQ(trim("   "), "");
  EXPECT_EQ(trim(std::string(253, ' ') + "x"), "x");
  EXPECT_EQ(trim(std::string(254, ' ') + "x"), "");
  EXPECT_EQ(stripSpaces(" a b "), "ab");
  EXPECT_EQ(replaceChar("a-b-c", '-', '_'), "a_b_c");
  EXPECT_EQ(upper("ab\x84z1"), "AB\x84Z1");  // 0x84 "ä" stays
  EXPECT_EQ(lower("AB\x8EZ1"), "ab\x8Ez1");
  EXPECT_EQ(pointToComma("1.5.2"), "1,5,2");
  EXPECT_EQ(commaToPoint("1,5"), "1.5");
}

TEST(Strings, SpreadsheetValueSwapsNumbersOnly) {
  struct Case {
    const char* in;
    const char* comma;  // spreadsheetDecimal 2
    const char* point;  // spreadsheetDecimal 1
  };
  const Case cases[] = {
      {"1.5", "1,5", "1.5"},
      {"1,5", "1,5", "1.5"},
      {"  -12.25 ", "  -12,25 ", "  -12.25 "},
      {"1.5E-03", "1,5E-03", "1.5E-03"},
      {"7", "7", "7"},
      {" > 10 Mio.", " > 10 Mio.", " > 10 Mio."},
      {" > 10 Mio,", " > 10 Mio,", " > 10 Mio,"},
      {"Mio.", "Mio.", "Mio."},
      {"1.2.3", "1.2.3", "1.2.3"},
      {"1.5 mm", "1.5 mm", "1.5 mm"},
      {"1E", "1E", "1E"},
      {".", ".", "."},
      {"", "", ""},
  };
  NumberSettings s;
  for (const Case& c : cases) {
    s.spreadsheetDecimal = 2;
    EXPECT_EQ(spreadsheetValue(s, c.in), c.comma) << c.in;
    s.spreadsheetDecimal = 1;
    EXPECT_EQ(spreadsheetValue(s, c.in), c.point) << c.in;
  }
}

TEST(Dates, FormatsAndFileStamps) {
  const char* want[] = {"05.03.2024", "03/05/2024", "2024/03/05", "05/03/2024", "2024/03/05"};
  const int formats[] = {1, 2, 3, 4, 9};
  for (int i = 0; i < 5; ++i) {
    NumberSettings s;
    s.dateFormat = formats[i];
    EXPECT_EQ(dateText(s, 2024, 3, 5), want[i]) << formats[i];
  }
  NumberSettings s;
  s.dateFormat = 3;
  EXPECT_TRUE(std::regex_match(todayText(s), std::regex(R"(\d{4}/\d\d/\d\d)")));
  EXPECT_TRUE(std::regex_match(timeText(), std::regex(R"([12]?\d:[0-5]\d)")));
  EXPECT_TRUE(std::regex_match(fileDateText(1700000000), std::regex(R"(2023/11/1[45])")));
  EXPECT_EQ(fileDateText(LLONG_MAX), "");
}

}  // namespace
}  // namespace velk
