// Code-page conversions between 850 (inside the program), Windows-1252 and UTF-8.
// The tables are complete and built at compile time from the two code charts below.
#include "base/codepage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "base/numfmt.h"

namespace velk {

namespace {

// Unicode of code page 850 bytes 0x80..0xFF (0x00..0x7F are ASCII).
constexpr std::array<char16_t, 128> kCp850High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 90
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,  // 98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // A0
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0,  // B0
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,  // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,  // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,  // C8
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE,  // D0
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,  // D8
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,  // E0
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,  // E8
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,  // F0
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,  // F8
};

// Unicode of Windows-1252 bytes 0x80..0x9F; 0 marks the five undefined bytes.
// 0xA0..0xFF are Latin-1 and equal their code points.
constexpr std::array<char16_t, 32> kWin1252C1 = {
    0x20AC, 0x0000, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x0000, 0x017D, 0x0000,  // 88
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x0000, 0x017E, 0x0178,  // 98
};

constexpr char32_t cp850ToUnicode(std::uint8_t b) { return b < 0x80 ? b : kCp850High[b - 0x80]; }

constexpr char32_t win1252ToUnicode(std::uint8_t b) {
  return (b >= 0x80 && b < 0xA0) ? kWin1252C1[b - 0x80] : b;  // 0 for undefined bytes
}

constexpr int unicodeToWin1252(char32_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<int>(u);
  for (int i = 0; i < 32; ++i) {
    if (kWin1252C1[i] != 0 && kWin1252C1[i] == u) return 0x80 + i;
  }
  return -1;
}

// Best fit of the box-drawing characters, as the program's plain-character table draws them.
constexpr char boxFit(std::uint8_t b) {
  switch (b) {
    case 0xB3:
    case 0xB4:
    case 0xB9:
    case 0xBA:
    case 0xC3:
    case 0xC5:
    case 0xCC:
      return '|';
    case 0xBB:
    case 0xBC:
    case 0xBF:
    case 0xC0:
    case 0xC1:
    case 0xC2:
    case 0xC8:
    case 0xC9:
    case 0xCA:
    case 0xCB:
    case 0xCE:
    case 0xD9:
    case 0xDA:
      return '+';
    case 0xC4:
    case 0xCD:
      return '-';
    default:
      return '?';
  }
}

using ByteTable = std::array<char, 256>;

// 850 -> 1252: the same character where 1252 has it, else the best fit.
constexpr ByteTable makeCp850ToWin() {
  ByteTable t{};
  for (int b = 0; b < 256; ++b) {
    const int w = unicodeToWin1252(cp850ToUnicode(static_cast<std::uint8_t>(b)));
    t[b] = static_cast<char>(w >= 0 ? w : boxFit(static_cast<std::uint8_t>(b)));
  }
  return t;
}

// 1252 -> 850: the same character where 850 has it, else '?'.
constexpr ByteTable makeWinToCp850() {
  ByteTable t{};
  for (int b = 0; b < 256; ++b) {
    const char32_t u = win1252ToUnicode(static_cast<std::uint8_t>(b));
    char c = '?';
    if (u != 0 || b == 0) {
      for (int o = 0; o < 256; ++o) {
        if (cp850ToUnicode(static_cast<std::uint8_t>(o)) == u) {
          c = static_cast<char>(o);
          break;
        }
      }
    }
    t[b] = c;
  }
  return t;
}

// The program's own 850 -> Windows table for plain characters (applied after plainText).
// It follows the box-drawing positions of code page 437. The vertical bar '|' (0x7C) stays
// a vertical bar: turning it into a letter would garble every table ruled with it.
constexpr ByteTable makePlainToWin() {
  ByteTable t{};
  for (int b = 0; b < 256; ++b) t[b] = static_cast<char>(b);
  constexpr std::pair<std::uint8_t, std::uint8_t> kLetters[] = {
      {0x81, 0xFC}, {0x82, 0xE9}, {0x84, 0xE4}, {0x86, 0xE5}, {0x8E, 0xC4}, {0x8F, 0xC5}, {0x94, 0xF6},
      {0x99, 0xD6}, {0x9A, 0xDC}, {0xA0, 0xE1}, {0xA1, 0xED}, {0xA2, 0xF3}, {0xA3, 0xFA}, {0xA4, 0xF1},
      {0xE1, 0xDF}, {0xE6, 0xB5}, {0xF1, 0xB1}, {0xF8, 0xB0}, {0xFC, 0xB3}, {0xFD, 0xB2},
  };
  for (const auto& [from, to] : kLetters) t[from] = static_cast<char>(to);
  for (const std::uint8_t b : {0xB3, 0xB4, 0xB5, 0xB6, 0xB9, 0xBA, 0xC3, 0xC5, 0xC6, 0xC7, 0xCC, 0xD1, 0xD7}) {
    t[b] = '|';
  }
  for (const std::uint8_t b : {0xB8, 0xBB, 0xBC, 0xBE, 0xBF, 0xC0, 0xC8, 0xC9, 0xCE, 0xD3, 0xD6, 0xD9, 0xDA}) {
    t[b] = '+';
  }
  t[0xC4] = '-';
  t[0xCD] = '-';
  return t;
}

// Code points of the 850 bytes 0x80..0xFF, sorted for lookup from UTF-8.
using ReverseTable = std::array<std::pair<char32_t, std::uint8_t>, 128>;
constexpr ReverseTable makeUnicodeToCp850() {
  ReverseTable t{};
  for (int i = 0; i < 128; ++i) t[i] = {kCp850High[i], static_cast<std::uint8_t>(0x80 + i)};
  std::sort(t.begin(), t.end());
  return t;
}

constexpr ByteTable kCp850ToWin = makeCp850ToWin();
constexpr ByteTable kWinToCp850 = makeWinToCp850();
constexpr ByteTable kPlainToWin = makePlainToWin();
constexpr ReverseTable kUnicodeToCp850 = makeUnicodeToCp850();

std::string mapBytes(std::string_view s, const ByteTable& table) {
  std::string out(s.size(), '\0');
  for (std::size_t i = 0; i < s.size(); ++i) out[i] = table[static_cast<std::uint8_t>(s[i])];
  return out;
}

void appendUtf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {  // every code point of both code pages lies in the basic plane
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

// Decodes one UTF-8 sequence at s[i] and advances i past it. A malformed, overlong,
// surrogate or out-of-range sequence gives -1 and consumes one byte.
long decodeUtf8(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<std::uint8_t>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int len = 0;
  char32_t u = 0;
  char32_t min = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2, u = b0 & 0x1F, min = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3, u = b0 & 0x0F, min = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4, u = b0 & 0x07, min = 0x10000;
  } else {
    ++i;
    return -1;
  }
  if (s.size() - i < static_cast<std::size_t>(len)) {
    ++i;
    return -1;
  }
  for (int k = 1; k < len; ++k) {
    const auto c = static_cast<std::uint8_t>(s[i + static_cast<std::size_t>(k)]);
    if ((c & 0xC0) != 0x80) {
      ++i;
      return -1;
    }
    u = (u << 6) | (c & 0x3F);
  }
  if (u < min || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) {
    ++i;
    return -1;
  }
  i += static_cast<std::size_t>(len);
  return static_cast<long>(u);
}

char unicodeToCp850(char32_t u) {
  if (u < 0x80) return static_cast<char>(u);
  const auto it =
      std::lower_bound(kUnicodeToCp850.begin(), kUnicodeToCp850.end(), std::pair<char32_t, std::uint8_t>{u, 0});
  return (it != kUnicodeToCp850.end() && it->first == u) ? static_cast<char>(it->second) : '?';
}

// The program's texts are at most 254 characters; longer ones are refused as a whole.
constexpr std::size_t kMaxTextLength = 254;

}  // namespace

std::string cp850ToWin1252(std::string_view oem) { return mapBytes(oem, kCp850ToWin); }

std::string win1252ToCp850(std::string_view ansi) { return mapBytes(ansi, kWinToCp850); }

std::string toOem(std::string_view ansi) {
  if (ansi.size() > kMaxTextLength) return {};
  return win1252ToCp850(ansi);
}

std::string toDisplay(const NumberSettings& s, std::string_view oem) {
  if (oem.size() > kMaxTextLength) return {};
  if (s.plainChars == 1) return mapBytes(plainText(oem), kPlainToWin);
  return cp850ToWin1252(oem);
}

std::string cp850ToUtf8(std::string_view oem) {
  std::string out;
  out.reserve(oem.size() + oem.size() / 2);
  for (const char c : oem) appendUtf8(out, cp850ToUnicode(static_cast<std::uint8_t>(c)));
  return out;
}

std::string utf8ToCp850(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const long u = decodeUtf8(utf8, i);
    out += u < 0 ? '?' : unicodeToCp850(static_cast<char32_t>(u));
  }
  return out;
}

std::string win1252ToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size() + ansi.size() / 2);
  for (const char c : ansi) {
    const auto b = static_cast<std::uint8_t>(c);
    const char32_t u = win1252ToUnicode(b);
    if (u == 0 && b != 0) {
      out += '?';
    } else {
      appendUtf8(out, u);
    }
  }
  return out;
}

std::string plainText(std::string_view oem) {
  std::string out;
  out.reserve(oem.size() + 8);
  for (const char c : oem) {
    switch (static_cast<std::uint8_t>(c)) {
      case 0x81:
        out += "ue";
        break;
      case 0x82:
        out += 'e';
        break;
      case 0x84:
        out += "ae";
        break;
      case 0x8E:
        out += "Ae";
        break;
      case 0x94:
        out += "oe";
        break;
      case 0x99:
        out += "Oe";
        break;
      case 0x9A:
        out += "Ue";
        break;
      case 0xA0:
        out += 'a';
        break;
      case 0xA3:
        out += 'u';
        break;
      case 0xA4:
        out += 'n';
        break;
      case 0xC4:
      case 0xCD:
        out += '-';
        break;
      case 0xE1:
        out += "ss";
        break;
      case 0xE6:
        out += 'u';
        break;
      case 0xF1:
        out += "+/-";
        break;
      case 0xF8:
        out += "deg";
        break;
      case 0xFD:
        out += '2';
        break;
      default:
        out += c;
        break;
    }
  }
  return out;
}

std::string cadText(const NumberSettings& s, std::string_view oem) {
  switch (s.cadTextMode) {
    case 2:
      return toDisplay(s, oem);
    case 3:
      return plainText(oem);
    default:
      return std::string(oem);
  }
}

}  // namespace velk
