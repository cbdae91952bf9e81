// dBASE III single-key index files (.ndx): bulk-built B-trees and a reader that walks them.
// Leaves hold every key with its record number; an interior entry holds the last key of its child.
#include "dbf/ndx.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "base/codepage.h"
#include "dbf/dbfio.h"

namespace velk {

namespace {

constexpr std::size_t kBlock = 512;
constexpr int kMaxCharKey = 100;

std::uint32_t get32(std::string_view b, std::size_t at) {
  std::uint32_t v = 0;
  for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<std::uint8_t>(b[at + static_cast<std::size_t>(k)]);
  return v;
}

std::uint32_t get16(std::string_view b, std::size_t at) {
  return static_cast<std::uint8_t>(b[at]) | (static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 1])) << 8);
}

void put32(std::string& b, std::size_t at, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) b[at + static_cast<std::size_t>(k)] = static_cast<char>((v >> (8 * k)) & 0xFF);
}

void put16(std::string& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

std::string doubleKey(double v) {
  std::uint64_t bits = std::bit_cast<std::uint64_t>(v);
  std::string k(8, '\0');
  for (int i = 0; i < 8; ++i) k[static_cast<std::size_t>(i)] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  return k;
}

// Julian day number of a YYYYMMDD date text, 0 when it is not one.
double julianDay(std::string_view t) {
  if (t.size() < 8) return 0;
  int v[8];
  for (int i = 0; i < 8; ++i) {
    if (t[static_cast<std::size_t>(i)] < '0' || t[static_cast<std::size_t>(i)] > '9') return 0;
    v[i] = t[static_cast<std::size_t>(i)] - '0';
  }
  long y = v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3];
  long m = v[4] * 10 + v[5];
  long d = v[6] * 10 + v[7];
  if (m < 1 || m > 12 || d < 1 || d > 31) return 0;
  long a = (14 - m) / 12;
  long yy = y + 4800 - a;
  long mm = m + 12 * a - 3;
  // Whole-day arithmetic of the Julian day number: every division truncates on purpose.
  // NOLINTNEXTLINE(bugprone-integer-division)
  return static_cast<double>(d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045);
}

struct KeyedRecord {
  std::string key;
  double number = 0;
  std::uint32_t record = 0;
};

// Keys of all records on keyField in index order; false when the field cannot be indexed.
bool collectKeys(const DbfTable& table, int keyField, std::vector<KeyedRecord>& keys, int& keyLength, bool& numeric) {
  keys.clear();
  if (!table.isOpen() || keyField < 0 || keyField >= table.fieldCount()) return false;
  const DbfField& f = table.field(keyField);
  if (f.type == 'C') {
    numeric = false;
    keyLength = std::min(f.length, kMaxCharKey);
  } else if (f.type == 'N' || f.type == 'F' || f.type == 'D') {
    numeric = true;
    keyLength = 8;
  } else {
    return false;
  }
  keys.reserve(table.recordCount());
  for (std::uint32_t n = 1; n <= table.recordCount(); ++n) {
    KeyedRecord k;
    k.record = n;
    std::string_view raw = table.fieldRaw(n, keyField);
    if (!numeric) {
      k.key.assign(raw.substr(0, static_cast<std::size_t>(keyLength)));
    } else {
      k.number = f.type == 'D' ? julianDay(raw) : parseDbfNumber(raw);
      k.key = doubleKey(k.number);
    }
    keys.push_back(std::move(k));
  }
  if (numeric) {
    std::stable_sort(keys.begin(), keys.end(),
                     [](const KeyedRecord& a, const KeyedRecord& b) { return a.number < b.number; });
  } else {
    // Byte order; std::string compares its chars as unsigned (char_traits<char>::lt).
    std::stable_sort(keys.begin(), keys.end(),
                     [](const KeyedRecord& a, const KeyedRecord& b) { return a.key < b.key; });
  }
  return true;
}

}  // namespace

std::vector<std::uint32_t> indexOrder(const DbfTable& table, int keyField) {
  std::vector<KeyedRecord> keys;
  int keyLength = 0;
  bool numeric = false;
  std::vector<std::uint32_t> order;
  if (!collectKeys(table, keyField, keys, keyLength, numeric)) return order;
  order.reserve(keys.size());
  for (const KeyedRecord& k : keys) order.push_back(k.record);
  return order;
}

DbfStatus buildNdxImage(const DbfTable& table, int keyField, std::string& image) {
  image.clear();
  std::vector<KeyedRecord> keys;
  int keyLength = 0;
  bool numeric = false;
  if (!collectKeys(table, keyField, keys, keyLength, numeric))
    return {oem("Feld ") + std::string(table.field(keyField).name) + oem(" kann nicht indiziert werden."), 0};
  const std::size_t group = (static_cast<std::size_t>(keyLength) + 8 + 3) / 4 * 4;
  const std::size_t perBlock = (kBlock - 8) / group;

  std::vector<std::string> blocks;  // blocks[0] is block 1
  struct Node {
    std::uint32_t block;
    std::string lastKey;
  };
  std::vector<Node> level;

  // Leaves, filled evenly.
  const std::size_t leafCount = std::max<std::size_t>(1, (keys.size() + perBlock - 1) / perBlock);
  std::size_t next = 0;
  for (std::size_t j = 0; j < leafCount; ++j) {
    const std::size_t take = keys.size() / leafCount + (j < keys.size() % leafCount ? 1 : 0);
    std::string b(kBlock, '\0');
    put32(b, 0, static_cast<std::uint32_t>(take));
    for (std::size_t k = 0; k < take; ++k) {
      const KeyedRecord& kr = keys[next + k];
      const std::size_t at = 4 + k * group;
      put32(b, at + 4, kr.record);
      std::string key = kr.key;
      key.resize(static_cast<std::size_t>(keyLength), ' ');
      std::copy(key.begin(), key.end(), b.begin() + static_cast<std::ptrdiff_t>(at + 8));
    }
    std::string last = take ? keys[next + take - 1].key : std::string();
    last.resize(static_cast<std::size_t>(keyLength), numeric ? '\0' : ' ');
    next += take;
    blocks.push_back(std::move(b));
    level.push_back({static_cast<std::uint32_t>(blocks.size()), std::move(last)});
  }

  // Interior levels: up to perBlock keys and perBlock + 1 children each, filled evenly.
  while (level.size() > 1) {
    const std::size_t fanout = perBlock + 1;
    const std::size_t parents = (level.size() + fanout - 1) / fanout;
    std::vector<Node> up;
    std::size_t child = 0;
    for (std::size_t j = 0; j < parents; ++j) {
      const std::size_t take = level.size() / parents + (j < level.size() % parents ? 1 : 0);
      std::string b(kBlock, '\0');
      put32(b, 0, static_cast<std::uint32_t>(take - 1));
      for (std::size_t k = 0; k < take; ++k) {
        const Node& c = level[child + k];
        const std::size_t at = 4 + k * group;
        put32(b, at, c.block);
        if (k + 1 < take)
          std::copy(c.lastKey.begin(), c.lastKey.end(), b.begin() + static_cast<std::ptrdiff_t>(at + 8));
      }
      std::string last = level[child + take - 1].lastKey;
      child += take;
      blocks.push_back(std::move(b));
      up.push_back({static_cast<std::uint32_t>(blocks.size()), std::move(last)});
    }
    level = std::move(up);
  }

  std::string head(kBlock, '\0');
  put32(head, 0, level.front().block);
  put32(head, 4, static_cast<std::uint32_t>(blocks.size() + 1));
  put16(head, 12, static_cast<std::uint32_t>(keyLength));
  put16(head, 14, static_cast<std::uint32_t>(perBlock));
  put16(head, 16, numeric ? 1 : 0);
  put16(head, 18, static_cast<std::uint32_t>(group));
  const std::string& expr = table.field(keyField).name;
  std::copy_n(expr.begin(), std::min<std::size_t>(expr.size(), kBlock - 25), head.begin() + 24);

  image.reserve(kBlock * (blocks.size() + 1));
  image = std::move(head);
  for (const std::string& b : blocks) image += b;
  return {};
}

DbfStatus buildNdx(const DbfTable& table, int keyField, const std::string& path) {
  std::string image;
  if (DbfStatus st = buildNdxImage(table, keyField, image); !st) return st;
  return dbfio::replaceFile(path, image);
}

double NdxIndex::numericKey(std::string_view key) {
  if (key.size() != 8) return 0;
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | static_cast<std::uint8_t>(key[static_cast<std::size_t>(i)]);
  return std::bit_cast<double>(bits);
}

DbfStatus NdxIndex::open(const std::string& path) {
  std::string bytes;
  open_ = false;
  if (DbfStatus st = dbfio::readFile(path, bytes); !st) return st;
  return openBytes(bytes, path);
}

DbfStatus NdxIndex::openBytes(std::string_view bytes, const std::string& name) {
  open_ = false;
  name_ = name;
  header_ = NdxHeader{};
  bytes_.clear();
  auto refuse = [&](std::string_view reason) {
    return DbfStatus{name + oem(" ist keine dBASE-Indexdatei. ") + oem(reason), 0};
  };
  if (bytes.size() < kBlock) return refuse("Kopfblock ist kleiner als 512 Bytes");
  NdxHeader h;
  h.rootBlock = get32(bytes, 0);
  h.totalBlocks = get32(bytes, 4);
  h.keyLength = static_cast<int>(get16(bytes, 12));
  h.keysPerBlock = static_cast<int>(get16(bytes, 14));
  h.keyType = static_cast<int>(get16(bytes, 16));
  h.groupLength = static_cast<int>(get16(bytes, 18));
  h.unique = bytes[23] != 0;
  std::string_view expr = bytes.substr(24, kBlock - 24);
  h.expression = std::string(expr.substr(0, std::min(expr.find('\0'), expr.size())));
  if (h.keyType != 0 && h.keyType != 1) return refuse("Schlüsseltyp ungültig");
  if (h.keyLength < 1 || (h.keyType == 1 && h.keyLength != 8)) return refuse("Schlüssellänge ungültig");
  if (h.groupLength < h.keyLength + 8 || 4 + static_cast<std::size_t>(h.groupLength) + 4 > kBlock)
    return refuse("Eintragslänge ungültig");
  const std::size_t blocks = bytes.size() / kBlock;
  if (h.rootBlock < 1 || h.rootBlock >= blocks) return refuse("Wurzelblock liegt nicht in der Datei");
  header_ = std::move(h);
  bytes_.assign(bytes.substr(0, blocks * kBlock));
  open_ = true;
  return {};
}

DbfStatus NdxIndex::entries(std::vector<NdxEntry>& out) const {
  out.clear();
  if (!open_) return {oem("Keine Indexdatei geöffnet."), 0};
  auto damaged = [&](std::uint32_t block) {
    return DbfStatus{name_ + oem(": Indexdatei beschädigt (Block ") + std::to_string(block) + oem(")."), 0};
  };
  const std::size_t blocks = bytes_.size() / kBlock;
  const std::size_t group = static_cast<std::size_t>(header_.groupLength);
  const std::size_t keyLength = static_cast<std::size_t>(header_.keyLength);
  std::vector<bool> visited(blocks, false);
  struct Frame {
    std::uint32_t block;
    std::uint32_t nextChild;
    std::uint32_t children;
  };
  std::vector<Frame> stack;

  // Enters a block: emits a leaf's entries, or pushes an interior block for its children.
  auto enter = [&](std::uint32_t block) -> DbfStatus {
    if (block < 1 || block >= blocks || visited[block]) return damaged(block);
    visited[block] = true;
    std::string_view b = std::string_view(bytes_).substr(block * kBlock, kBlock);
    const std::uint64_t count = get32(b, 0);
    const bool leaf = get32(b, 4) == 0;
    const std::uint64_t need = 4 + count * group + (leaf ? 0 : 4);
    if (need > kBlock) return damaged(block);
    if (leaf) {
      for (std::uint64_t k = 0; k < count; ++k) {
        const std::size_t at = 4 + static_cast<std::size_t>(k) * group;
        out.push_back({std::string(b.substr(at + 8, keyLength)), get32(b, at + 4)});
      }
    } else {
      stack.push_back({block, 0, static_cast<std::uint32_t>(count + 1)});
    }
    return {};
  };

  if (DbfStatus st = enter(header_.rootBlock); !st) return st;
  while (!stack.empty()) {
    Frame& f = stack.back();
    if (f.nextChild == f.children) {
      stack.pop_back();
      continue;
    }
    std::string_view b = std::string_view(bytes_).substr(f.block * kBlock, kBlock);
    const std::uint32_t child = get32(b, 4 + f.nextChild * group);
    ++f.nextChild;  // before enter(): it may grow the stack and move f
    if (DbfStatus st = enter(child); !st) return st;
  }
  return {};
}

}  // namespace velk
