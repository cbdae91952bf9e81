// HP-GL/2 help image reader: a streaming reader of the instructions PU, PD, PA, SP, CI, SI, DI,
// LB, AA, PE and CS that draws through the graphics window's methods; all else is skipped.
#include "help/hpgl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "base/codepage.h"
#include "dialogs/dialogs.h"
#include "draw/displaylist.h"
#include "help/context.h"
#include "platform/files.h"

namespace velk {

namespace {

constexpr Real kPi = 3.14159265358979323846264338327950288L;
constexpr int kEtx = 3;
constexpr int kEnd = -1;

// Bytes of a file read in chunks, or of a buffer already in memory; at most kMaxHpglFileBytes.
class ByteSource {
 public:
  explicit ByteSource(std::string_view bytes)
      : cur_(bytes.data()), end_(bytes.data() + std::min(bytes.size(), kMaxHpglFileBytes)) {}
  explicit ByteSource(std::FILE* file) : file_(file), buffer_(std::size_t{64} * 1024) {}

  int get() {
    if (cur_ == end_ && !refill()) return kEnd;
    return static_cast<unsigned char>(*cur_++);
  }

 private:
  bool refill() {
    if (!file_ || left_ == 0) return false;
    const size_t n = std::fread(buffer_.data(), 1, std::min(buffer_.size(), left_), file_);
    if (n == 0) {
      file_ = nullptr;
      return false;
    }
    left_ -= n;
    cur_ = buffer_.data();
    end_ = cur_ + n;
    return true;
  }

  const char* cur_ = nullptr;
  const char* end_ = nullptr;
  std::FILE* file_ = nullptr;
  size_t left_ = kMaxHpglFileBytes;
  std::vector<char> buffer_;
};

int asciiUpper(int c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

constexpr int pair(char a, char b) { return (a << 8) | b; }

// cos and sin of an angle in degrees, exact for multiples of 90 so that quarter arcs end on
// the points a drawing program meant.
void cosSinDeg(Real deg, Real& c, Real& s) {
  const Real q = deg / 90;
  if (q == std::floor(q) && std::fabs(q) < 1e18L) {
    static constexpr int kCos[4] = {1, 0, -1, 0};
    static constexpr int kSin[4] = {0, 1, 0, -1};
    const long long k = static_cast<long long>(q);
    const int i = static_cast<int>(((k % 4) + 4) % 4);
    c = kCos[i];
    s = kSin[i];
    return;
  }
  const Real a = deg * kPi / 180;
  c = std::cos(a);
  s = std::sin(a);
}

Real directionDeg(Real dx, Real dy) { return std::atan2(dy, dx) * 180 / kPi; }

// A token: the significant characters up to and including the next "," or ";".
struct Token {
  char text[kMaxHpglTokenLength];
  size_t length = 0;
  bool overflow = false;  // longer than kMaxHpglTokenLength: reads as 0
  bool ends = false;      // terminated by ";": the command ends with it

  std::string_view view() const { return {text, length}; }
};

// Numbers are held within +-kMaxHpglValue: far beyond any drawing, and small enough that every
// position, radius and text size the reader derives stays a finite double on its way into the
// display list.
Real clampValue(Real v) { return std::clamp(v, -kMaxHpglValue, kMaxHpglValue); }

// Plain integers (the common case in plotter files) without the general parser; everything else
// goes through parseReal, so the result is the same either way.
Real tokenReal(const Token& t) {
  if (t.overflow) return 0;
  const std::string_view s = t.view();
  size_t i = (!s.empty() && (s[0] == '-' || s[0] == '+')) ? 1 : 0;
  if (s.size() > i && s.size() - i <= 18) {
    long long v = 0;
    size_t j = i;
    for (; j < s.size() && s[j] >= '0' && s[j] <= '9'; ++j) v = v * 10 + (s[j] - '0');
    if (j == s.size()) return clampValue(s[0] == '-' ? Real(-v) : Real(v));
  }
  return clampValue(parseReal(s));
}

class Reader {
 public:
  Reader(HelpContext& ws, ByteSource& source) : ws_(ws), st_(ws.hpgl), in_(source) {}

  void run() {
    st_.x = st_.y = kHpglNoPosition;
    for (;;) {
      int c1 = next();
      if (c1 == ';') c1 = next();
      if (ended_) break;
      const int c2 = next();
      if (ended_) break;
      execute(asciiUpper(c1), asciiUpper(c2));
      if (ended_) break;
    }
  }

 private:
  enum class Kind { Coordinate, Value, Pen };
  enum class NumberEnd { Done, Semicolon, End };

  // The next significant character (CR, LF and blank skipped); kEnd, with ended_ set, at the end.
  int next() {
    for (;;) {
      const int c = in_.get();
      if (c == kEnd) {
        ended_ = true;
        return kEnd;
      }
      if (c != '\r' && c != '\n' && c != ' ') return c;
    }
  }

  // The next character of a label: blanks belong to it, only CR and LF are skipped.
  int nextLabelChar() {
    for (;;) {
      const int c = in_.get();
      if (c == kEnd) {
        ended_ = true;
        return kEnd;
      }
      if (c != '\r' && c != '\n') return c;
    }
  }

  // Reads characters up to and including the next ";". False at the end of the file.
  bool skipCommand() {
    for (;;) {
      const int c = next();
      if (ended_) return false;
      if (c == ';') return true;
    }
  }

  // After the last parameter an instruction uses: further parameters are skipped, so that they
  // are not taken for the next instruction. False at the end of the file.
  bool finish(const Token& last) { return last.ends || skipCommand(); }

  // False at the end of the file (an incomplete token is never used).
  bool readToken(Token& t, Kind kind) {
    t.length = 0;
    t.overflow = false;
    t.ends = false;
    for (;;) {
      const int c = next();
      if (ended_) return false;
      if (c == ',' || c == ';') {
        t.ends = c == ';';
        return true;
      }
      if (kind == Kind::Coordinate && (c == 'P' || c == 'A')) continue;
      if (t.length == sizeof t.text) {
        t.overflow = true;
        continue;
      }
      t.text[t.length++] = static_cast<char>(c);
    }
  }

  void penColor() { SetColor(ws_.display, HpglPenColor(st_.pen)); }

  void execute(int a, int b) {
    switch ((a << 8) | b) {
      case pair('P', 'U'):
        st_.penDown = false;
        pointList();
        break;
      case pair('P', 'D'):
        st_.penDown = true;
        pointList();
        break;
      case pair('P', 'A'):
        pointList();
        break;
      case pair('S', 'P'):
        selectPen();
        break;
      case pair('C', 'I'):
        circle();
        break;
      case pair('S', 'I'):
        twoValues(st_.charWidth, st_.charHeight);
        break;
      case pair('D', 'I'):
        twoValues(st_.run, st_.rise);
        break;
      case pair('L', 'B'):
        label();
        break;
      case pair('A', 'A'):
        arc();
        break;
      case pair('P', 'E'):
        encodedPolyline();
        break;
      case pair('C', 'S'):
        characterSet();
        break;
      default:
        skipCommand();
        break;
    }
  }

  // PU, PD, PA: coordinate pairs up to ";"; an x without y is ignored.
  void pointList() {
    Token t;
    for (;;) {
      if (!readToken(t, Kind::Coordinate) || t.ends) return;
      const Real x = tokenReal(t) * kPlotterUnit;
      if (!readToken(t, Kind::Coordinate)) return;
      const Real y = tokenReal(t) * kPlotterUnit;
      if (st_.penDown) {
        penColor();
        DisplayLine(ws_.display, st_.x, st_.y, x, y);
      }
      st_.x = x;
      st_.y = y;
      if (t.ends) return;
    }
  }

  void selectPen() {
    Token t;
    if (!readToken(t, Kind::Pen) || !finish(t)) return;
    if (t.ends && t.length == 0 && !t.overflow) {
      st_.pen = 1;
      return;
    }
    // A byte, as the pen number always was: the value modulo 256.
    st_.pen = static_cast<uint8_t>(t.overflow ? 0 : parseInt(t.view()));
  }

  void circle() {
    Token t;
    if (!readToken(t, Kind::Coordinate) || !finish(t)) return;
    penColor();
    DisplayCircle(ws_.display, st_.x, st_.y, tokenReal(t) * kPlotterUnit);
  }

  // SI (width, height) and DI (run, rise). Without parameters ("SI;") both stay as they are.
  void twoValues(Real& first, Real& second) {
    Token t;
    if (!readToken(t, Kind::Value)) return;
    if (t.ends) return;
    const Real a = tokenReal(t);
    if (!readToken(t, Kind::Value) || !finish(t)) return;
    first = a;
    second = tokenReal(t);
  }

  void characterSet() {
    Token t;
    if (!readToken(t, Kind::Coordinate) || !finish(t)) return;
    st_.charSet = tokenReal(t);
  }

  // LB: characters up to ETX, drawn at the current position, which does not move.
  void label() {
    std::string text;
    bool tooLong = false;
    for (;;) {
      const int c = nextLabelChar();
      if (ended_) return;
      if (c == kEtx) break;
      if (tooLong) continue;  // the rest of an overlong label is passed over up to its ETX
      if (c == '}' && st_.charSet == 3) {
        if (!text.empty()) text.back() = umlautOf(text.back());
        continue;
      }
      if (text.size() == kMaxLabelLength) {
        tooLong = true;
        continue;
      }
      text += static_cast<char>(c);
    }
    if (tooLong) return;
    penColor();
    SetTextStyleRecord(ws_.display, 2, HpglLabelAngle(st_.run, st_.rise), st_.charHeight * 10, st_.charWidth * 10);
    OutTextXY(ws_.display, toDisplay(ws_.config.num, text), st_.x, st_.y);
  }

  // Character set 3: "}" after A, O, U, a, o, u makes that letter its umlaut (code page 850).
  static char umlautOf(char c) {
    switch (c) {
      case 'A':
        return static_cast<char>(142);
      case 'O':
        return static_cast<char>(153);
      case 'U':
        return static_cast<char>(154);
      case 'a':
        return static_cast<char>(132);
      case 'o':
        return static_cast<char>(148);
      case 'u':
        return static_cast<char>(129);
      default:
        return c;
    }
  }

  // AA x, y, sweep: arc about (x, y) from the current position; its end becomes the position.
  void arc() {
    Token t;
    if (!readToken(t, Kind::Coordinate) || t.ends) return;
    const Real cx = tokenReal(t) * kPlotterUnit;
    if (!readToken(t, Kind::Coordinate) || t.ends) return;
    const Real cy = tokenReal(t) * kPlotterUnit;
    if (!readToken(t, Kind::Value) || !finish(t)) return;
    const Real sweep = tokenReal(t);
    const Real turn = std::fmod(sweep, Real(360));  // (-360, 360), exact
    Real c = 1, s = 0;
    cosSinDeg(turn, c, s);
    const Real dx = st_.x - cx, dy = st_.y - cy;
    if (st_.penDown) {
      const Real r = std::hypot(dx, dy);
      const Real a0 = directionDeg(dx, dy);
      penColor();
      if (turn != 0) {
        if (sweep > 0) {
          DisplayArc(ws_.display, cx, cy, a0, a0 + turn, r);
        } else {
          DisplayArc(ws_.display, cx, cy, a0 + turn, a0, r);
        }
      } else if (sweep != 0) {
        // A whole turn: the window's Arc would take equal start and end angles for a zero sweep
        // and draw a chord, so the full circle goes in as a circle.
        DisplayCircle(ws_.display, cx, cy, r);
      } else {
        DisplayArc(ws_.display, cx, cy, a0, a0 + 360, r);
      }
    }
    st_.x = cx + dx * c - dy * s;
    st_.y = cy + dx * s + dy * c;
  }

  // One number of an encoded polyline whose first character c has been read.
  NumberEnd decodeNumber(int c, int bits, Real& value) {
    // Sixty bits hold every number a drawing can use; a number with more significant bits is far
    // beyond kMaxHpglValue and reads as that bound. The lowest bit is the sign.
    uint64_t sum = 0;
    int shift = 0;
    bool saturated = false;
    for (;;) {
      if (c == ';') return NumberEnd::Semicolon;
      int digit = -1;
      bool last = false;
      if (bits == 6) {
        if (c >= 63 && c <= 126) {
          digit = c - 63;
        } else if (c >= 191 && c <= 254) {
          digit = c - 191;
          last = true;
        }
      } else {
        if (c >= 63 && c <= 94) {
          digit = c - 63;
        } else if (c >= 95 && c <= 126) {
          digit = c - 95;
          last = true;
        }
      }
      if (digit >= 0) {
        if (shift < 60) {
          sum |= static_cast<uint64_t>(digit) << shift;
          shift += bits;
        } else if (digit != 0) {
          saturated = true;
        }
        if (last) break;
      }
      c = next();
      if (ended_) return NumberEnd::End;
    }
    const bool negative = (sum & 1) != 0;
    const Real magnitude = saturated ? kMaxHpglValue : static_cast<Real>(sum >> 1);
    value = clampValue(negative ? -magnitude : magnitude);
    return NumberEnd::Done;
  }

  // PE: flags and encoded points up to ";". Numbers are base 64 unless "7" switches to base 32.
  void encodedPolyline() {
    st_.penDown = true;
    int bits = 6;
    bool absolute = false;
    for (;;) {
      const int c = next();
      if (ended_ || c == ';') break;
      if (c == '7') {
        bits = 5;
      } else if (c == '<') {
        st_.penDown = false;
      } else if (c == '=') {
        absolute = true;
      } else if (c == '>') {
        // Fractional-bits flag: its value is passed over. The terminator still ends PE.
        if (next() == ';' || ended_) break;
      } else if (c == ':') {
        Real pen = 0;
        const int d = next();
        if (ended_ || decodeNumber(d, bits, pen) != NumberEnd::Done) break;
        if (pen >= 1 && pen <= 15 && pen == std::floor(pen)) st_.pen = static_cast<uint8_t>(pen);
      } else if (c >= 63 && c <= 254) {
        Real x = 0, y = 0;
        if (decodeNumber(c, bits, x) != NumberEnd::Done) break;
        const int d = next();
        if (ended_ || decodeNumber(d, bits, y) != NumberEnd::Done) break;
        x *= kPlotterUnit;
        y *= kPlotterUnit;
        if (!absolute) {
          x += st_.x;
          y += st_.y;
        }
        if (st_.penDown) {
          penColor();
          DisplayLine(ws_.display, st_.x, st_.y, x, y);
        }
        st_.x = x;
        st_.y = y;
        st_.penDown = true;
        absolute = false;
      }
    }
    st_.penDown = true;
  }

  HelpContext& ws_;
  HpglState& st_;
  ByteSource& in_;
  bool ended_ = false;
};

}  // namespace

int HpglPenColor(int pen) {
  static constexpr int kColors[8] = {0, 12, 14, 10, 11, 9, 13, 15};
  return pen >= 1 && pen <= 7 ? kColors[pen] : pen;
}

Real HpglLabelAngle(Real run, Real rise) {
  if (run == 0) return rise >= 0 ? 90 : -90;
  return directionDeg(run, rise);
}

void DrawHpgl(HelpContext& ws, std::string_view bytes) {
  ByteSource source(bytes);
  Reader(ws, source).run();
  ws.abort = false;
}

void DrawHpglFile(HelpContext& ws, const std::string& fileName) {
  ws.hpgl.x = ws.hpgl.y = kHpglNoPosition;
  BusyCursor(ws);
  std::FILE* file = fileExists(fileName) ? std::fopen(fileName.c_str(), "rb") : nullptr;
  if (!file) {
    ShowTitled(ws, kAppTitle, oem(stripSpaces(fileName)) + " " + "nicht gefunden" + " !");
    ws.abort = true;
    NormalCursor(ws);
    return;
  }
  ByteSource source(file);
  Reader(ws, source).run();
  std::fclose(file);
  ws.abort = false;
  NormalCursor(ws);
}

}  // namespace velk
