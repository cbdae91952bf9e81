// Workbook cells from the program's values and texts, and how a workbook is recognised: the parts
// of the workbook interface that need no workbook library.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "base/numfmt.h"
#include "sheet/workbook.h"

namespace velk {

SheetCell SheetCell::textCell(std::string utf8) {
  SheetCell c;
  c.kind = Kind::Text;
  c.text = std::move(utf8);
  return c;
}

SheetCell SheetCell::numberCell(double value, int decimals, bool scientific) {
  SheetCell c;
  c.kind = Kind::Number;
  c.number = value;
  c.decimals = decimals;
  c.scientific = scientific;
  return c;
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

SheetCell cellFromText(std::string_view text, bool decimalComma) {
  const char separator = decimalComma ? ',' : '.';
  std::size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  const std::string_view t = text.substr(b, e - b);
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t intDigits = 0, decimals = 0;
  while (i < t.size() && isDigit(t[i])) ++i, ++intDigits;
  bool hasSeparator = false;
  if (i < t.size() && t[i] == separator) {
    hasSeparator = true;
    ++i;
    while (i < t.size() && isDigit(t[i])) ++i, ++decimals;
  }
  bool scientific = false;
  if (intDigits + decimals > 0 && i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
    std::size_t expDigits = 0;
    while (j < t.size() && isDigit(t[j])) ++j, ++expDigits;
    if (expDigits > 0) {
      scientific = true;
      i = j;
    }
  }
  Real value = 0;
  if (intDigits + decimals == 0 || i != t.size() || (hasSeparator && decimals == 0 && intDigits == 0) ||
      !tryParseReal(decimalComma ? commaToPoint(t) : std::string(t), value))
    return SheetCell::textCell(std::string(text));
  return SheetCell::numberCell(static_cast<double>(value), static_cast<int>(decimals), scientific);
}

namespace {

bool caseEqualsAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

bool isWorkbookFile(std::string_view path, std::string_view firstBytes) {
  if (firstBytes.size() >= 4 && firstBytes.substr(0, 4) == std::string_view("PK\3\4", 4)) return true;
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.find_last_of("/\\");
  return dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash) &&
         caseEqualsAscii(path.substr(dot + 1), "xlsx");
}

}  // namespace velk
