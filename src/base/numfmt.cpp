// Number formatting and parsing, units and text helpers.
// Locale-independent throughout: digits come from exact integer arithmetic, parsing from std::from_chars.
#include "base/numfmt.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <limits>

#include "base/decimaldigits.h"

namespace velk {

namespace {

// Display factors (internal metric value * factor = imperial value) and their input factors.
constexpr Real kInchPerMm = 0.03937007874015748L;
constexpr Real kMmPerInch = 25.4L;
constexpr Real kPsiPerMpa = 145.037L;
constexpr Real kLbfinPerNmm = 0.008850749005255468L;
constexpr Real kNmmPerLbfin = 112.984788L;
constexpr Real kFahrenheitToCelsius = 0.5555555555555556L;

// Upper bound on decimals of one fixed-point text: keeps a stray argument from asking for
// megabytes; the significant-digit forms never come near it.
constexpr int kMaxDecimals = 100;

bool imperial(const NumberSettings& s) { return s.units == 1; }

// Text for values that have no digits.
std::string nonFinite(Real x) {
  if (std::isnan(x)) return "nan";
  return x < 0 ? "-inf" : "inf";
}

void applyDecimalComma(const NumberSettings& s, std::string& t) {
  if (s.decimalComma == 2) std::replace(t.begin(), t.end(), '.', ',');
}

std::string pad(std::string t, int width) {
  if (width > 0 && t.size() < static_cast<std::size_t>(width))
    t.insert(0, static_cast<std::size_t>(width) - t.size(), ' ');
  return t;
}

// Integer positions p of the significant-digit rule (independent of n).
int integerPositions(Real x) {
  if (!std::isfinite(x)) return 0;
  const int c = decimalExponent(x == 0 ? Real{0.5} : std::fabs(x));
  return c >= 0 ? c + 1 : 0;
}

std::string_view trimBlanks(std::string_view t) {
  constexpr std::string_view kWs = " \t\r\n";
  const std::size_t a = t.find_first_not_of(kWs);
  if (a == std::string_view::npos) return {};
  const std::size_t b = t.find_last_not_of(kWs);
  return t.substr(a, b - a + 1);
}

// Decimal number grammar: [+-] (digits [. [digits]] | . digits) [(e|E) [+-] digits].
// On success `exponentHint` is the decimal magnitude of the number (position of its first
// significant digit, exponent included), used to tell underflow from overflow.
bool isDecimalNumber(std::string_view t, long long& exponentHint) {
  std::size_t i = 0;
  const std::size_t n = t.size();
  if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
  long long intDigits = 0;  // significant digits before the point
  long long leadingFracZeros = 0;
  bool anyDigit = false;
  bool nonZeroSeen = false;
  for (; i < n && t[i] >= '0' && t[i] <= '9'; ++i) {
    anyDigit = true;
    if (t[i] != '0') nonZeroSeen = true;
    if (nonZeroSeen) ++intDigits;
  }
  if (i < n && t[i] == '.') {
    ++i;
    for (; i < n && t[i] >= '0' && t[i] <= '9'; ++i) {
      anyDigit = true;
      if (!nonZeroSeen) {
        if (t[i] == '0') {
          ++leadingFracZeros;
        } else {
          nonZeroSeen = true;
        }
      }
    }
  }
  if (!anyDigit) return false;
  long long exp = 0;
  if (i < n && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    bool negExp = false;
    if (i < n && (t[i] == '+' || t[i] == '-')) negExp = t[i++] == '-';
    if (i >= n || t[i] < '0' || t[i] > '9') return false;
    for (; i < n && t[i] >= '0' && t[i] <= '9'; ++i) exp = std::min(exp * 10 + (t[i] - '0'), 1000000000LL);
    if (negExp) exp = -exp;
  }
  if (i != n) return false;
  exponentHint = intDigits > 0 ? intDigits + exp : exp - leadingFracZeros;
  return true;
}

bool parseDecimal(std::string_view text, Real& value) {
  value = 0;
  std::string buf(trimBlanks(text));
  const std::size_t comma = buf.find(',');
  if (comma != std::string::npos) buf[comma] = '.';
  long long magnitude = 0;
  if (!isDecimalNumber(buf, magnitude)) return false;
  const char* first = buf.data();
  const char* last = buf.data() + buf.size();
  if (*first == '+') ++first;  // from_chars takes only a minus sign
  Real v = 0;
  const auto r = std::from_chars(first, last, v, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    if (magnitude > 0) return false;  // overflow
    v = 0;                            // underflow: a number too small to hold is zero
  } else if (r.ec != std::errc() || r.ptr != last) {
    return false;
  }
  value = v == 0 ? Real{0} : v;  // no negative zero
  return true;
}

std::string twoDigits(int n) { return fmtIntZero(n, 2); }

}  // namespace

int decimalExponent(Real x) {
  if (x == 0 || !std::isfinite(x)) return 0;
  const Real b = std::fabs(x);
  int ex = 0;
  std::frexp(b, &ex);  // b in [2^(ex-1), 2^ex)
  // floor((ex-1) * log10 2), exact for |ex| < 17000; the true exponent is this or one more.
  const int k = static_cast<int>((static_cast<long long>(ex - 1) * 1292913986LL) >> 32);
  return detail::compareWithPow10(b, k + 1) >= 0 ? k + 1 : k;
}

void significantDigits(int n, Real x, int& p, int& q) {
  if (!std::isfinite(x)) {
    p = 0;
    q = 0;
    return;
  }
  n = std::clamp(n, -20, 40);  // keeps the exact arithmetic bounded for absurd requests
  const Real b = x == 0 ? Real{0.5} : std::fabs(x);
  const int c = decimalExponent(b);
  if (c >= n) {
    p = c + 1;
    q = 0;
    return;
  }
  p = c < 0 ? 0 : c + 1;
  q = c < 0 ? n - c - 1 : n - c;
  // Drop trailing zeros: one guard digit, then truncate digit by digit.
  const detail::DecimalDigits k = detail::roundScaled(b, q + 1);
  std::string_view digits = k.view();
  for (;;) {
    digits.remove_suffix(1);
    if (digits.empty() || digits == "0") {  // nothing but zeros left
      q = 0;
      break;
    }
    if (digits.back() != '0') break;
    --q;
  }
  q = std::max(q, 0);
}

std::string fmtFixed(const NumberSettings& s, int w, int d, Real x) {
  if (s.decimalPlaces != 3) d = std::clamp(d + s.decimalPlaces - 3, 0, 10);
  d = std::clamp(d, 0, kMaxDecimals);
  const int width = d > 0 ? w + d + 1 : w;
  if (!std::isfinite(x)) return pad(nonFinite(x), width);
  if (std::fabs(x) < 1e-8L) x = 0;
  const detail::DecimalDigits digits = detail::roundScaled(std::fabs(x), d);
  const std::string_view dv = digits.view();
  std::string t;
  t.reserve(dv.size() + static_cast<std::size_t>(d) + 3);
  if (x < 0 && !digits.isZero()) t += '-';
  if (d > 0) {
    const auto dd = static_cast<std::size_t>(d);
    if (dv.size() <= dd) {
      t += '0';
      t += '.';
      t.append(dd - dv.size(), '0');
      t += dv;
    } else {
      t += dv.substr(0, dv.size() - dd);
      t += '.';
      t += dv.substr(dv.size() - dd);
    }
  } else {
    t += dv;
  }
  t = pad(std::move(t), width);
  applyDecimalComma(s, t);
  return t;
}

std::string fmtSig(const NumberSettings& s, Real x) { return fmtSigN(s, 0, x); }

std::string fmtSigN(const NumberSettings& s, int k, Real x) {
  if (std::fabs(x) < 1e-5L) return "0";
  int p = 0;
  int q = 0;
  significantDigits(3 - k, x, p, q);
  return fmtFixed(s, p, q, x);
}

std::string fmtFixedDec(const NumberSettings& s, int d, Real x) { return fmtFixed(s, integerPositions(x), d, x); }

std::string fmtAuto(const NumberSettings& s, Real x) {
  if (std::fabs(x) < 1e-12L) x = 0;
  if (std::fabs(x) < 1e-5L || std::fabs(x) >= 10000) return fmtEng(s, x);
  return fmtSig(s, x);
}

std::string fmtEng(const NumberSettings& s, Real x) {
  if (!std::isfinite(x)) return fmtSig(s, x);
  const int a = decimalExponent(x);
  const int r = a % 3;  // C++ remainder takes the sign of a, as the rule wants
  if (a >= 4) return fmtSig(s, detail::scalePow10(x, -(a - r))) + "E" + fmtInt(static_cast<long long>(a / 3) * 3);
  if (a < -2) return fmtSig(s, detail::scalePow10(x, r - a)) + "E" + fmtInt(static_cast<long long>(a / 3) * 3);
  return fmtSig(s, x);
}

std::string fmtSigned(const NumberSettings& s, Real x) {
  if (x == 0) return {};
  if (x > 0) return "+" + fmtSigN(s, 1, x);
  return fmtSigN(s, 1, x);  // negative, or nan
}

std::string fmtTolerance(const NumberSettings& s, Real u, Real l) {
  if (u == 0 && l == 0) return {};
  if (std::fabs(u + l) < 1e-4L) return plusMinus(s) + fmtSigN(s, 1, u);
  if (u == 0) return fmtSigned(s, l);
  if (l == 0) return fmtSigned(s, u);
  return fmtSigned(s, u) + "/" + fmtSigned(s, l);
}

std::string fmtInt(long long n) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, n);
  return std::string(buf, r.ptr);
}

std::string fmtIntZero(long long n, int w) {
  std::string t = fmtInt(n);
  const bool neg = n < 0;
  if (w > 0 && t.size() < static_cast<std::size_t>(w)) {
    t.insert(neg ? 1 : 0, static_cast<std::size_t>(w) - t.size(), '0');
  }
  return t;
}

std::string fmtIntRight(long long n, int w) { return pad(fmtInt(n), w); }

// ---- units ----

Real toDisplayLength(const NumberSettings& s, Real x) { return imperial(s) ? x * kInchPerMm : x; }
Real toDisplayStress(const NumberSettings& s, Real x) { return imperial(s) ? x * kPsiPerMpa : x; }
Real toDisplayMoment(const NumberSettings& s, Real x) { return imperial(s) ? x * kLbfinPerNmm : x; }
Real toDisplayTemp(const NumberSettings& s, Real x) { return imperial(s) ? x * 1.8L + 32 : x; }

std::string fmtLength(const NumberSettings& s, Real x) {
  return imperial(s) ? fmtFixedDec(s, 4, toDisplayLength(s, x)) : fmtSig(s, x);
}
std::string fmtLengthFixed(const NumberSettings& s, int w, int d, Real x) {
  return imperial(s) ? fmtFixed(s, std::max(w - 1, 1), d + 1, toDisplayLength(s, x)) : fmtFixed(s, w, d, x);
}
std::string fmtStressFixed(const NumberSettings& s, int w, int d, Real x) {
  return imperial(s) ? fmtFixed(s, w + 2, std::max(d - 2, 0), toDisplayStress(s, x)) : fmtFixed(s, w, d, x);
}
std::string fmtStressDec(const NumberSettings& s, int d, Real x) {
  return imperial(s) ? fmtFixedDec(s, std::max(d - 2, 0), toDisplayStress(s, x)) : fmtFixedDec(s, d, x);
}
std::string fmtMomentFixed(const NumberSettings& s, int w, int d, Real x) {
  return imperial(s) ? fmtFixed(s, std::max(w - 2, 1), d + 2, toDisplayMoment(s, x)) : fmtFixed(s, w, d, x);
}
std::string fmtTempFixed(const NumberSettings& s, int w, int d, Real x) {
  return fmtFixed(s, w, d, toDisplayTemp(s, x));
}
std::string fmtStress(const NumberSettings& s, Real x) { return fmtSig(s, toDisplayStress(s, x)); }
std::string fmtMoment(const NumberSettings& s, Real x) { return fmtSig(s, toDisplayMoment(s, x)); }
std::string fmtTemp(const NumberSettings& s, Real x) { return fmtSig(s, toDisplayTemp(s, x)); }

Real parseLength(const NumberSettings& s, std::string_view text) {
  const Real v = parseReal(text);
  return imperial(s) ? v * kMmPerInch : v;
}
Real parseMoment(const NumberSettings& s, std::string_view text) {
  const Real v = parseReal(text);
  return imperial(s) ? v * kNmmPerLbfin : v;
}
Real parseTemp(const NumberSettings& s, std::string_view text) {
  const Real v = parseReal(text);
  return imperial(s) ? (v - 32) * kFahrenheitToCelsius : v;
}

// Labels in code page 850: 0xF8 degree sign, 0xF1 plus/minus.
std::string unitLength(const NumberSettings& s) { return imperial(s) ? "in" : "mm"; }
std::string unitStress(const NumberSettings& s) { return imperial(s) ? "psi" : "MPa"; }
std::string unitMoment(const NumberSettings& s) { return imperial(s) ? "lbfin" : "Nmm"; }
std::string unitTemp(const NumberSettings& s) {
  const char* scale = imperial(s) ? "F" : "C";
  return (s.plainChars == 1 ? std::string(" ") : std::string("\xF8")) + scale;
}
std::string unitAngle(const NumberSettings& s) { return s.plainChars == 1 ? "deg" : "\xF8"; }
std::string plusMinus(const NumberSettings& s) { return s.plainChars == 1 ? "+/-" : " \xF1 "; }

// ---- parsing ----

Real parseReal(std::string_view text) {
  Real v = 0;
  return parseDecimal(text, v) ? v : Real{0};
}

bool tryParseReal(std::string_view text, Real& value) { return parseDecimal(text, value); }

bool tryParseInt(std::string_view text, long long& value) {
  value = 0;
  const std::string_view t = trimBlanks(text);
  const char* first = t.data();
  const char* last = t.data() + t.size();
  if (first != last && *first == '+') {
    ++first;
    if (first != last && *first == '-') return false;  // "+-5"
  }
  long long v = 0;
  const auto r = std::from_chars(first, last, v, 10);
  if (r.ec != std::errc() || r.ptr != last) return false;
  value = v;
  return true;
}

long long parseInt(std::string_view text) {
  long long v = 0;
  return tryParseInt(text, v) ? v : 0;
}

// ---- text operations ----

std::string padRight(std::string_view s, int n) {
  const auto len = static_cast<std::size_t>(std::max(n, 0));
  std::string t(s.substr(0, len));
  t.append(len - t.size(), ' ');
  return t;
}

std::string padLeft(std::string_view s, int n) {
  const auto len = static_cast<std::size_t>(std::max(n, 0));
  std::string t = trim(s);
  if (t.size() > len) t.resize(len);
  t.insert(0, len - t.size(), ' ');
  return t;
}

std::string leftStr(std::string_view s, int n) {
  return std::string(s.substr(0, static_cast<std::size_t>(std::max(n, 0))));
}

std::string rightStr(std::string_view s, int n) {
  const auto len = std::min(s.size(), static_cast<std::size_t>(std::max(n, 0)));
  return std::string(s.substr(s.size() - len));
}

std::string trim(std::string_view s) {
  const std::size_t a = s.find_first_not_of(' ');
  // The program's texts hold at most 255 characters; 254 leading blanks count as an empty text.
  if (a == std::string_view::npos || a >= 254) return {};
  const std::size_t b = s.find_last_not_of(' ');
  return std::string(s.substr(a, b - a + 1));
}

std::string stripSpaces(std::string_view s) {
  std::string t;
  t.reserve(s.size());
  for (const char c : s) {
    if (c != ' ') t += c;
  }
  return t;
}

std::string replaceChar(std::string_view s, char a, char b) {
  std::string t(s);
  std::replace(t.begin(), t.end(), a, b);
  return t;
}

std::string upper(std::string_view s) {
  std::string t(s);
  for (char& c : t) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return t;
}

std::string lower(std::string_view s) {
  std::string t(s);
  for (char& c : t) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return t;
}

std::string pointToComma(std::string_view s) { return replaceChar(s, '.', ','); }
std::string commaToPoint(std::string_view s) { return replaceChar(s, ',', '.'); }

namespace {
// A number as the report writes it, with blanks around: sign, digits with at most one "." or ","
// and an optional exponent. Texts such as " > 10 Mio." are none and keep their punctuation.
bool looksNumeric(std::string_view t) {
  std::size_t i = 0;
  const std::size_t n = t.size();
  while (i < n && t[i] == ' ') ++i;
  if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
  int digits = 0;
  int separators = 0;
  for (; i < n; ++i) {
    const char c = t[i];
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == '.' || c == ',') {
      if (++separators > 1) return false;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (i < n && (t[i] == 'E' || t[i] == 'e')) {
    ++i;
    if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
    int expDigits = 0;
    while (i < n && t[i] >= '0' && t[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  while (i < n && t[i] == ' ') ++i;
  return i == n;
}
}  // namespace

std::string spreadsheetValue(const NumberSettings& s, std::string_view text) {
  if (!looksNumeric(text)) return std::string(text);
  return s.spreadsheetDecimal == 1 ? commaToPoint(text) : pointToComma(text);
}

// ---- dates and times ----

std::string dateText(const NumberSettings& s, int year, int month, int day) {
  const std::string y = fmtIntZero(year, 4);
  const std::string m = twoDigits(month);
  const std::string d = twoDigits(day);
  switch (s.dateFormat) {
    case 1:
      return d + "." + m + "." + y;
    case 2:
      return m + "/" + d + "/" + y;
    case 4:
      return d + "/" + m + "/" + y;
    default:  // 3 and anything unknown
      return y + "/" + m + "/" + d;
  }
}

std::string todayText(const NumberSettings& s) {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  if (localtime_r(&now, &tm) == nullptr) return {};
  return dateText(s, tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

std::string timeText() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  if (localtime_r(&now, &tm) == nullptr) return {};
  return fmtInt(tm.tm_hour) + ":" + twoDigits(tm.tm_min);
}

std::string fileDateText(long long unixSeconds) {
  if (unixSeconds < std::numeric_limits<std::time_t>::min() || unixSeconds > std::numeric_limits<std::time_t>::max()) {
    return {};
  }
  const auto t = static_cast<std::time_t>(unixSeconds);
  std::tm tm{};
  if (localtime_r(&t, &tm) == nullptr || tm.tm_year > std::numeric_limits<int>::max() - 1900) return {};
  NumberSettings ymd;
  ymd.dateFormat = 3;
  return dateText(ymd, static_cast<int>(tm.tm_year) + 1900, tm.tm_mon + 1, tm.tm_mday);
}

}  // namespace velk
