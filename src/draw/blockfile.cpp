// Block-file reader (group-code/value pairs of the DXF entities the screen device draws)
// and the bulge-to-arc geometry of polyline segments.
#include "draw/blockfile.h"

#include <cmath>
#include <utility>

#include "draw/displaylist.h"

namespace velk {

namespace {

constexpr Real kPi = 3.14159265358979323846264338327950288L;

// Walks the bytes as group-code/value line pairs.
class PairReader {
 public:
  explicit PairReader(std::string_view bytes) : s_(bytes) {}

  // Peeks at the next pair without consuming it.
  bool peek(int& code, std::string_view& value) {
    if (!havePeek_) {
      size_t save = pos_;
      if (!nextLine(codeLine_) || !nextLine(valueLine_)) {
        pos_ = save;
        return false;
      }
      long long c = 0;
      if (!tryParseInt(trimmed(codeLine_), c) || c < -32768 || c > 32767) c = 0;
      code_ = static_cast<int>(c);
      havePeek_ = true;
    }
    code = code_;
    value = valueLine_;
    return true;
  }
  void consume() { havePeek_ = false; }
  bool next(int& code, std::string_view& value) {
    if (!peek(code, value)) return false;
    consume();
    return true;
  }

  static std::string_view trimmed(std::string_view v) {
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
    return v;
  }

 private:
  bool nextLine(std::string_view& line) {
    if (pos_ >= s_.size()) return false;
    size_t end = s_.find('\n', pos_);
    if (end == std::string_view::npos) end = s_.size();
    line = s_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    return true;
  }

  std::string_view s_;
  size_t pos_ = 0;
  bool havePeek_ = false;
  int code_ = 0;
  std::string_view codeLine_, valueLine_;
};

Real num(std::string_view v) { return parseReal(PairReader::trimmed(v)); }

// Reads the pairs of one entity up to (not including) the next group 0.
template <typename F>
void readGroups(PairReader& in, F&& onPair) {
  int code = 0;
  std::string_view value;
  while (in.peek(code, value) && code != 0) {
    in.consume();
    onPair(code, value);
  }
}

bool isEntity(PairReader& in, std::string_view name) {
  int code = 0;
  std::string_view value;
  return in.peek(code, value) && code == 0 && PairReader::trimmed(value) == name;
}

}  // namespace

std::vector<BlockEntity> ParseBlockFile(std::string_view bytes) {
  std::vector<BlockEntity> out;
  PairReader in(bytes);
  int code = 0;
  std::string_view value;
  while (in.next(code, value)) {
    if (code != 0) continue;
    const std::string_view name = PairReader::trimmed(value);
    if (name == "EOF") break;
    BlockEntity e;
    auto layerOr = [&e](int c, std::string_view v) {
      if (c == 8) e.layer = std::string(PairReader::trimmed(v));
    };
    if (name == "LINE" || name == "SOLID") {
      e.kind = name == "LINE" ? BlockEntity::Kind::Line : BlockEntity::Kind::Solid;
      readGroups(in, [&](int c, std::string_view v) {
        layerOr(c, v);
        if (c >= 10 && c <= 13) e.v[static_cast<std::size_t>(2 * (c - 10))] = num(v);
        if (c >= 20 && c <= 23) e.v[static_cast<std::size_t>(2 * (c - 20) + 1)] = num(v);
      });
    } else if (name == "CIRCLE" || name == "ARC") {
      e.kind = name == "CIRCLE" ? BlockEntity::Kind::Circle : BlockEntity::Kind::Arc;
      readGroups(in, [&](int c, std::string_view v) {
        layerOr(c, v);
        if (c == 10) e.v[0] = num(v);
        if (c == 20) e.v[1] = num(v);
        if (c == 40) e.v[2] = num(v);
        if (c == 50) e.v[3] = num(v);
        if (c == 51) e.v[4] = num(v);
      });
    } else if (name == "TEXT") {
      e.kind = BlockEntity::Kind::Text;
      e.v[2] = 3.5L;
      e.v[3] = 1;
      readGroups(in, [&](int c, std::string_view v) {
        layerOr(c, v);
        if (c == 1) e.text = std::string(v);
        if (c == 10) e.v[0] = num(v);
        if (c == 20) e.v[1] = num(v);
        if (c == 40) e.v[2] = num(v);
        if (c == 41) e.v[3] = num(v);
        if (c == 50) e.v[4] = num(v);
      });
    } else if (name == "INSERT") {
      e.kind = BlockEntity::Kind::Insert;
      e.v[2] = 1;
      e.v[3] = 1;
      readGroups(in, [&](int c, std::string_view v) {
        layerOr(c, v);
        if (c == 2) e.text = std::string(PairReader::trimmed(v));
        if (c == 10) e.v[0] = num(v);
        if (c == 20) e.v[1] = num(v);
        if (c == 41) e.v[2] = num(v);
        if (c == 42) e.v[3] = num(v);
        if (c == 50) e.v[4] = num(v);
      });
    } else if (name == "POLYLINE") {
      e.kind = BlockEntity::Kind::Polyline;
      readGroups(in, [&](int c, std::string_view v) {
        layerOr(c, v);
        if (c == 70) e.closed = num(v) == 1;
      });
      if (!isEntity(in, "VERTEX")) {
        BlockEntity m;
        m.kind = BlockEntity::Kind::Message;
        m.text = "Error in DXF File";
        out.push_back(std::move(m));
        continue;  // the polyline is skipped; the next entity is read as usual
      }
      while (isEntity(in, "VERTEX")) {
        in.consume();
        BlockVertex vx;
        readGroups(in, [&](int c, std::string_view v) {
          if (c == 8) vx.layer = std::string(PairReader::trimmed(v));
          if (c == 10) vx.x = num(v);
          if (c == 20) vx.y = num(v);
          if (c == 42) vx.bulge = num(v);
        });
        e.vertices.push_back(std::move(vx));
      }
      if (isEntity(in, "SEQEND")) {
        in.consume();
        readGroups(in, [](int, std::string_view) {});
      }
    } else {
      readGroups(in, [](int, std::string_view) {});  // any other entity or section marker
      continue;
    }
    out.push_back(std::move(e));
  }
  return out;
}

BulgeArc ArcFromBulge(Real x1, Real y1, Real x2, Real y2, Real bulge) {
  BulgeArc a;
  const Real phi = 4 * std::atan(bulge);
  const Real half = std::sin(phi / 2);
  if (half == 0) {
    a.message = "Fehler in GetArcCenter (dphi = " + FormatRecordReal(phi) + " ! ";
    return a;
  }
  const Real dx = x2 - x1, dy = y2 - y1;
  const Real l = std::sqrt(dx * dx + dy * dy);
  const Real mx = (x1 + x2) / 2, my = (y1 + y2) / 2;
  if (l == 0) {
    a.message = "GetArcCenter l12=0";
    a.cx = mx;
    a.cy = my;
  } else {
    const Real k = (l / 2) / std::tan(phi / 2) / l;
    a.cx = mx + k * -dy;
    a.cy = my + k * dx;
  }
  a.r = std::fabs((l / 2) / half);
  a.start = std::atan2(y1 - a.cy, x1 - a.cx) * 180 / kPi;
  a.end = std::atan2(y2 - a.cy, x2 - a.cx) * 180 / kPi;
  if (phi < 0) std::swap(a.start, a.end);
  a.arc = true;
  return a;
}

}  // namespace velk
