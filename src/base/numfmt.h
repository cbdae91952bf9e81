// Number formatting and parsing, units and text helpers.
// Every number the program shows, prints or writes goes through here; nothing depends on the process locale.
#pragma once

#include <string>
#include <string_view>

namespace velk {

using Real = long double;

// The user's number settings (persisted by the configuration).
struct NumberSettings {
  int units = 0;               // 0 metric, 1 imperial
  int decimalPlaces = 3;       // shifts every fixed-point format by (decimalPlaces - 3)
  int decimalComma = 1;        // 1 "x.xx", 2 "x,xx"
  int spreadsheetDecimal = 2;  // 1 English, 2 German (tab-separated output)
  int plainChars = 0;          // 1 replaces special characters by plain ones
  int dateFormat = 1;          // 1 DD.MM.YYYY, 2 MM/DD/YYYY, 3 YYYY/MM/DD, 4 DD/MM/YYYY
  int cadTextMode = 1;         // 1 OEM, 2 ANSI, 3 transliterated
  bool operator==(const NumberSettings&) const = default;
};

// Decimal exponent floor(log10 |x|), 0 for x == 0; exact at powers of ten.
int decimalExponent(Real x);

// Significant-digit rule: integer positions p and decimals q for n digits.
void significantDigits(int n, Real x, int& p, int& q);

std::string fmtFixed(const NumberSettings& s, int w, int d, Real x);
std::string fmtSig(const NumberSettings& s, Real x);
std::string fmtSigN(const NumberSettings& s, int k, Real x);
std::string fmtFixedDec(const NumberSettings& s, int d, Real x);
std::string fmtAuto(const NumberSettings& s, Real x);
std::string fmtEng(const NumberSettings& s, Real x);
std::string fmtSigned(const NumberSettings& s, Real x);
std::string fmtTolerance(const NumberSettings& s, Real u, Real l);
std::string fmtInt(long long n);
std::string fmtIntZero(long long n, int w);
std::string fmtIntRight(long long n, int w);

// Unit-aware formatting: metric is the plain operation, imperial converts first.
std::string fmtLength(const NumberSettings& s, Real x);
std::string fmtLengthFixed(const NumberSettings& s, int w, int d, Real x);
std::string fmtStressFixed(const NumberSettings& s, int w, int d, Real x);
std::string fmtStressDec(const NumberSettings& s, int d, Real x);
std::string fmtMomentFixed(const NumberSettings& s, int w, int d, Real x);
std::string fmtTempFixed(const NumberSettings& s, int w, int d, Real x);
std::string fmtStress(const NumberSettings& s, Real x);
std::string fmtMoment(const NumberSettings& s, Real x);
std::string fmtTemp(const NumberSettings& s, Real x);
Real toDisplayLength(const NumberSettings& s, Real x);
Real toDisplayStress(const NumberSettings& s, Real x);
Real toDisplayMoment(const NumberSettings& s, Real x);
Real toDisplayTemp(const NumberSettings& s, Real x);
Real parseLength(const NumberSettings& s, std::string_view text);
Real parseMoment(const NumberSettings& s, std::string_view text);
Real parseTemp(const NumberSettings& s, std::string_view text);
// Unit labels, in code page 850.
std::string unitLength(const NumberSettings& s);
std::string unitStress(const NumberSettings& s);
std::string unitMoment(const NumberSettings& s);
std::string unitTemp(const NumberSettings& s);
std::string unitAngle(const NumberSettings& s);
std::string plusMinus(const NumberSettings& s);

// Text to number. The first "," becomes "."; anything that does not convert
// (including trailing garbage, "nan" and out-of-range values) gives 0.
Real parseReal(std::string_view text);
// Strict variant for dialogs: false when the text is not a number.
bool tryParseReal(std::string_view text, Real& value);
long long parseInt(std::string_view text);
bool tryParseInt(std::string_view text, long long& value);

// Text operations (byte strings, code page 850).
std::string padRight(std::string_view s, int n);
std::string padLeft(std::string_view s, int n);
std::string leftStr(std::string_view s, int n);
std::string rightStr(std::string_view s, int n);
std::string trim(std::string_view s);
std::string stripSpaces(std::string_view s);
std::string replaceChar(std::string_view s, char a, char b);
std::string upper(std::string_view s);
std::string lower(std::string_view s);
std::string pointToComma(std::string_view s);
std::string commaToPoint(std::string_view s);
// A value for a spreadsheet column: a number gets the configured decimal separator (1 ".",
// otherwise ","); anything that is not a plain number (" > 10 Mio.") is returned unchanged.
std::string spreadsheetValue(const NumberSettings& s, std::string_view text);

// Dates and times.
std::string todayText(const NumberSettings& s);
std::string dateText(const NumberSettings& s, int year, int month, int day);
std::string timeText();
std::string fileDateText(long long unixSeconds);

}  // namespace velk
