// dBASE III .ndx index files: the written B-tree is checked block by block by an independent walker
// here (header, block size, balanced leaves, interior keys), then read back by the engine's reader.
#include "dbf/ndx.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "dbf/dbf.h"
#include "dbf/dbf_test_util.h"
#include "support/fixture.h"

namespace velk {
namespace {

using test::getU32;
using test::padL;
using test::padR;

unsigned get16(const std::string& b, std::size_t at) {
  return static_cast<std::uint8_t>(b[at]) | (static_cast<unsigned>(static_cast<std::uint8_t>(b[at + 1])) << 8);
}

// Table with NAME C20 (pseudo-random keys with duplicates and bytes above 0x7F), WERT N8.2, DATUM D8.
DbfTable bigTable(int records) {
  std::vector<std::string> recs;
  std::uint32_t x = 12345;
  for (int i = 0; i < records; ++i) {
    x = x * 1103515245u + 12345u;
    std::string name = "K" + std::to_string((x >> 8) % 700);
    if (i % 7 == 0) name += "\x84";
    const int cents = static_cast<int>((x >> 4) % 200000) - 100000;
    const int a = cents < 0 ? -cents : cents;
    const std::string frac = std::to_string(a % 100);
    const std::string text =
        (cents < 0 ? "-" : "") + std::to_string(a / 100) + "." + (frac.size() < 2 ? "0" : "") + frac;
    std::string wert = i % 11 == 0 ? "        " : padL(text, 8);
    const int year = 1990 + static_cast<int>((x >> 12) % 40);
    recs.push_back(padR(name, 20) + wert + std::to_string(year) + "0" + std::to_string(1 + (x >> 20) % 9) + "15");
  }
  DbfTable t;
  EXPECT_TRUE(
      t.openBytes(test::dbfImage({{"NAME", 'C', 20}, {"WERT", 'N', 8, 2}, {"DATUM", 'D', 8}}, recs), "big.dbf"));
  return t;
}

// Independent walk of an index image: checks every block and returns the leaf entries in order.
struct Walk {
  const std::string& img;
  std::size_t group, keyLength;
  std::function<bool(const std::string&, const std::string&)> less;
  std::vector<std::pair<std::string, std::uint32_t>> leaves;
  int leafDepth = -1;

  // Returns the last key of the subtree.
  std::string visit(std::uint32_t block, int depth) {
    const std::size_t base = block * 512;
    EXPECT_LE(base + 512, img.size());
    const std::uint32_t count = getU32(img, base);
    const bool leaf = getU32(img, base + 4) == 0;
    if (leaf) {
      EXPECT_TRUE(leafDepth < 0 || leafDepth == depth) << "all leaves on one level";
      leafDepth = depth;
      std::string last;
      for (std::uint32_t k = 0; k < count; ++k) {
        const std::size_t at = base + 4 + k * group;
        last = img.substr(at + 8, keyLength);
        leaves.emplace_back(last, getU32(img, at + 4));
      }
      return last;
    }
    EXPECT_GE(count, 1u) << "interior blocks have two children at least";
    std::string last;
    for (std::uint32_t k = 0; k <= count; ++k) {
      const std::size_t at = base + 4 + k * group;
      const std::string childLast = visit(getU32(img, at), depth + 1);
      if (k < count) {
        EXPECT_EQ(getU32(img, at + 4), 0u) << "interior entries carry no record";
        EXPECT_EQ(img.substr(at + 8, keyLength), childLast) << "interior key = last key of its child";
      }
      last = childLast;
    }
    return last;
  }
};

void checkIndex(const DbfTable& t, int field, int keyLength, int keyType) {
  std::string img;
  ASSERT_TRUE(buildNdxImage(t, field, img));
  ASSERT_EQ(img.size() % 512, 0u);
  const std::size_t group = (static_cast<std::size_t>(keyLength) + 8 + 3) / 4 * 4;
  EXPECT_EQ(getU32(img, 4), img.size() / 512) << "total blocks";
  EXPECT_EQ(get16(img, 12), static_cast<unsigned>(keyLength));
  EXPECT_EQ(get16(img, 14), (512 - 8) / group);
  EXPECT_EQ(get16(img, 16), static_cast<unsigned>(keyType));
  EXPECT_EQ(get16(img, 18), group);
  EXPECT_EQ(img.substr(24, t.field(field).name.size() + 1), t.field(field).name + '\0');

  auto numeric = [](const std::string& k) { return NdxIndex::numericKey(k); };
  Walk w{img,
         group,
         static_cast<std::size_t>(keyLength),
         keyType ? std::function<bool(const std::string&, const std::string&)>(
                       [&](const std::string& a, const std::string& b) { return numeric(a) < numeric(b); })
                 : [](const std::string& a, const std::string& b) { return a < b; },
         {},
         -1};
  w.visit(getU32(img, 0), 0);
  ASSERT_EQ(w.leaves.size(), t.recordCount());
  for (std::size_t k = 1; k < w.leaves.size(); ++k) {
    const auto& [a, ra] = w.leaves[k - 1];
    const auto& [b, rb] = w.leaves[k];
    ASSERT_FALSE(w.less(b, a)) << "keys ascend at " << k;
    if (!w.less(a, b)) {
      ASSERT_LT(ra, rb) << "equal keys by record number at " << k;
    }
  }

  // The engine's reader and the in-memory order agree with the walk.
  NdxIndex ndx;
  ASSERT_TRUE(ndx.openBytes(img, "x.ndx"));
  EXPECT_EQ(ndx.isNumeric(), keyType == 1);
  std::vector<NdxEntry> entries;
  ASSERT_TRUE(ndx.entries(entries));
  const std::vector<std::uint32_t> order = indexOrder(t, field);
  ASSERT_EQ(entries.size(), order.size());
  for (std::size_t k = 0; k < entries.size(); ++k) {
    EXPECT_EQ(entries[k].record, order[k]);
    EXPECT_EQ(entries[k].record, w.leaves[k].second);
    if (keyType == 0) {
      EXPECT_EQ(entries[k].key,
                std::string(t.fieldRaw(order[k], field)).substr(0, static_cast<std::size_t>(keyLength)));
    }
  }
}

TEST(Ndx, CharacterNumericAndDateIndexesOverSeveralLevels) {
  const DbfTable t = bigTable(3000);
  checkIndex(t, 0, 20, 0);
  checkIndex(t, 1, 8, 1);
  checkIndex(t, 2, 8, 1);
  // Numeric keys hold the field's value; blanks index as 0.
  std::string img;
  ASSERT_TRUE(buildNdxImage(t, 1, img));
  NdxIndex ndx;
  ASSERT_TRUE(ndx.openBytes(img, "x.ndx"));
  std::vector<NdxEntry> entries;
  ASSERT_TRUE(ndx.entries(entries));
  for (const NdxEntry& e : entries) EXPECT_EQ(NdxIndex::numericKey(e.key), parseDbfNumber(t.fieldRaw(e.record, 1)));
}

TEST(Ndx, DateKeysAreJulianDays) {
  DbfTable t;
  ASSERT_TRUE(t.openBytes(test::dbfImage({{"DATUM", 'D', 8}}, {"20000101", "19700101", "        "}), "d.dbf"));
  std::string img;
  ASSERT_TRUE(buildNdxImage(t, 0, img));
  NdxIndex ndx;
  ASSERT_TRUE(ndx.openBytes(img, "d.ndx"));
  std::vector<NdxEntry> e;
  ASSERT_TRUE(ndx.entries(e));
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(NdxIndex::numericKey(e[1].key), 2440588.0);
  EXPECT_EQ(NdxIndex::numericKey(e[2].key), 2451545.0);
  EXPECT_EQ(e[0].record, 3u);
}

TEST(Ndx, SmallAndEmptyTablesAndLongKeys) {
  for (int n : {0, 1, 18, 19, 18 * 19, 18 * 19 + 1}) {
    SCOPED_TRACE(n);
    const DbfTable t = bigTable(n);
    checkIndex(t, 0, 20, 0);
    std::string img;
    ASSERT_TRUE(buildNdxImage(t, 0, img));
    if (n == 0) {
      EXPECT_EQ(img.size(), 1024u);
      EXPECT_EQ(getU32(img, 0), 1u);
    }
  }
  DbfTable wide;
  ASSERT_TRUE(wide.openBytes(
      test::dbfImage({{"TEXT", 'C', 150}}, {std::string(150, 'b'), std::string(99, 'a') + "z" + std::string(50, 'a')}),
      "w.dbf"));
  checkIndex(wide, 0, 100, 0);
}

TEST(Ndx, FieldsThatCannotBeIndexed) {
  DbfTable t;
  ASSERT_TRUE(t.openBytes(test::dbfImage({{"OK", 'L', 1}, {"NOTIZ", 'M', 10}}, {"T         1"}), "x.dbf"));
  std::string img;
  EXPECT_FALSE(buildNdxImage(t, 0, img).ok());
  EXPECT_FALSE(buildNdxImage(t, 1, img).ok());
  EXPECT_FALSE(buildNdxImage(t, 5, img).ok());
  EXPECT_TRUE(indexOrder(t, 0).empty());
}

TEST(Ndx, WritesAFileTheReaderOpens) {
  test::TempDir dir;
  const DbfTable t = bigTable(100);
  ASSERT_TRUE(buildNdx(t, 0, dir.file("velkwst.ndx")));
  NdxIndex ndx;
  ASSERT_TRUE(ndx.open(dir.file("velkwst.ndx")));
  EXPECT_EQ(ndx.header().expression, "NAME");
  std::vector<NdxEntry> e;
  ASSERT_TRUE(ndx.entries(e));
  EXPECT_EQ(e.size(), 100u);
  EXPECT_FALSE(ndx.open(dir.file("fehlt.ndx")).ok());
}

TEST(Ndx, ReaderSurvivesDamagedFiles) {
  const DbfTable t = bigTable(500);
  std::string good;
  ASSERT_TRUE(buildNdxImage(t, 0, good));
  const std::uint32_t root = getU32(good, 0);
  const std::uint32_t firstChild = getU32(good, root * 512 + 4);
  struct Case {
    const char* name;
    std::function<void(std::string&)> damage;
    bool opens;
  };
  const std::vector<Case> cases = {
      {"shorter than a block", [](std::string& b) { b.resize(511); }, false},
      {"root 0", [](std::string& b) { test::putU32(b, 0, 0); }, false},
      {"root beyond the file", [](std::string& b) { test::putU32(b, 0, 9999); }, false},
      {"key length 0", [](std::string& b) { test::putU16(b, 12, 0); }, false},
      {"key type 2", [](std::string& b) { test::putU16(b, 16, 2); }, false},
      {"numeric key of 20 bytes", [](std::string& b) { test::putU16(b, 16, 1); }, false},
      {"entry shorter than key", [](std::string& b) { test::putU16(b, 18, 8); }, false},
      {"entry longer than a block", [](std::string& b) { test::putU16(b, 18, 600); }, false},
      {"child pointing at the root", [&](std::string& b) { test::putU32(b, root * 512 + 4, root); }, true},
      {"child beyond the file", [&](std::string& b) { test::putU32(b, root * 512 + 4, 70000); }, true},
      {"child pointing at the header", [&](std::string& b) { test::putU32(b, root * 512 + 4 + 28, 0); }, true},
      {"key count too large", [&](std::string& b) { test::putU32(b, firstChild * 512, 0xFFFFFFFF); }, true},
      {"file cut before the root", [&](std::string& b) { b.resize((root + 1) * 512 - 1); }, false},
  };
  for (const Case& c : cases) {
    std::string b = good;
    c.damage(b);
    NdxIndex ndx;
    DbfStatus st = ndx.openBytes(b, "x.ndx");
    EXPECT_EQ(st.ok(), c.opens) << c.name << ": " << st.message;
    if (!st) continue;
    std::vector<NdxEntry> e;
    EXPECT_FALSE(ndx.entries(e).ok()) << c.name;
    EXPECT_LT(e.size(), 500u) << c.name;
  }
}

}  // namespace
}  // namespace velk
