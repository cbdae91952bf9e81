// Table engine, reading side: refusal of files that are not tables, defect handling, field texts,
// record buffers and table creation.
#include <gtest/gtest.h>

#include <ctime>
#include <functional>

#include "base/codepage.h"
#include "dbf/dbf.h"
#include "dbf/dbf_test_util.h"
#include "platform/files.h"
#include "support/fixture.h"

namespace velk {
namespace {

using test::RawField;

std::string validImage() {
  return test::dbfImage({{"NAME", 'C', 10}, {"E", 'N', 8, 1}}, {test::padR("Stahl", 10) + test::padL("12.5", 8),
                                                                test::padR("Messing", 10) + test::padL("99.0", 8)});
}

TEST(DbfOpen, RefusesFilesThatAreNotTables) {
  struct Case {
    const char* name;
    std::function<std::string()> bytes;
    const char* reason;  // UTF-8
  };
  const std::vector<Case> cases = {
      {"empty file", [] { return std::string(); }, "Prolog ist kleiner als 32 Bytes"},
      {"31 bytes", [] { return validImage().substr(0, 31); }, "Prolog ist kleiner als 32 Bytes"},
      {"version 0x30",
       [] {
         auto b = validImage();
         b[0] = 0x30;
         return b;
       },
       "Versions-Byte ungültig"},
      {"version 0x00",
       [] {
         auto b = validImage();
         b[0] = 0x00;
         return b;
       },
       "Versions-Byte ungültig"},
      {"version 0xFF",
       [] {
         auto b = validImage();
         b[0] = char(0xFF);
         return b;
       },
       "Versions-Byte ungültig"},
      {"no fields", [] { return test::dbfImage({}, {}); }, "Zu viele Datenfelder"},
      {"header length below 64",
       [] {
         auto b = validImage();
         test::putU16(b, 8, 40);
         return b;
       },
       "Zu viele Datenfelder"},
      {"300 fields",
       [] {
         std::vector<RawField> f;
         for (int i = 0; i < 300; ++i) f.push_back({"F" + std::to_string(i), 'C', 1});
         return test::dbfImage(f, {});
       },
       "Zu viele Datenfelder"},
      {"header longer than file",
       [] {
         auto b = validImage();
         test::putU16(b, 8, 5000);
         return b;
       },
       "Prolog ist länger als die Datei"},
      {"missing 0x0D",
       [] {
         auto b = validImage();
         b[96] = ' ';
         return b;
       },
       "Feldliste ohne Abschluss (0x0D)"},
      {"no room for 0x0D",
       [] {
         auto b = validImage();
         test::putU16(b, 8, 96);
         return b;
       },
       "Feldliste ohne Abschluss (0x0D)"},
      {"descriptor cut by header length",
       [] {
         auto b = validImage();
         b[96] = 'X';
         test::putU16(b, 8, 96 + 16);
         return b;
       },
       "Feldbeschreibung unvollständig"},
      {"record length 0",
       [] {
         auto b = validImage();
         test::putU16(b, 10, 0);
         return b;
       },
       "Satzlänge ist 0"},
      {"record length not matching",
       [] {
         auto b = validImage();
         test::putU16(b, 10, 17);
         return b;
       },
       "Satzlänge passt nicht zu den Feldern"},
      {"unknown field type",
       [] {
         auto b = validImage();
         b[32 + 11] = 'X';
         return b;
       },
       "Feldtyp ungültig"},
      {"field length 0",
       [] {
         auto b = validImage();
         b[32 + 16] = 0;
         return b;
       },
       "Feldlänge ist 0"},
  };
  test::TempDir dir;
  for (const Case& c : cases) {
    const std::string path = dir.file("t.dbf");
    test::writeFile(path, c.bytes());
    DbfTable t;
    DbfStatus st = t.open(path, true);
    EXPECT_FALSE(st.ok()) << c.name;
    EXPECT_EQ(st.message, path + oem(" ist keine dBASE-Datenbank. ") + oem(c.reason)) << c.name;
    EXPECT_FALSE(t.isOpen()) << c.name;
    EXPECT_EQ(t.recordCount(), 0u) << c.name;
  }
}

TEST(DbfOpen, MissingFileNamesThePathAndErrno) {
  test::TempDir dir;
  DbfTable t;
  DbfStatus st = t.open(dir.file("fehlt.dbf"));
  EXPECT_EQ(st.message, oem("Datei ") + dir.file("fehlt.dbf") + oem(" nicht gefunden oder kein Zugriffsrecht !"));
  EXPECT_EQ(st.systemError, ENOENT);
  EXPECT_FALSE(t.open(dir.path()).ok()) << "a folder is no table";
}

TEST(DbfOpen, AcceptsTheDBaseVersionBytes) {
  for (int v : {0x02, 0x03, 0x04, 0x83, 0x8B, 0x8C, 0xF5}) {
    DbfTable t;
    auto b = validImage();
    b[0] = static_cast<char>(v);
    ASSERT_TRUE(t.openBytes(b, "x.dbf")) << v;
    EXPECT_EQ(t.version(), v);
    EXPECT_EQ(t.recordCount(), 2u);
  }
}

TEST(DbfOpen, RecordCountIsCheckedAgainstTheFileSize) {
  struct Case {
    std::uint32_t claimed;
    std::size_t cutBytes;  // removed from the end of a 3-record image
    std::uint32_t expected;
  };
  // Record length 11: the image is header + 33 record bytes + 0x1A.
  for (const Case& c : std::vector<Case>{
           {3, 0, 3}, {10, 0, 3}, {0xFFFFFFFF, 0, 3}, {3, 1, 3}, {3, 2, 2}, {3, 12, 2}, {2, 0, 2}, {0, 0, 0}}) {
    std::string b = test::dbfImage({{"NAME", 'C', 10}}, {"aaaaaaaaaa", "bbbbbbbbbb", "cccccccccc"});
    test::putU32(b, 4, c.claimed);
    b.resize(b.size() - c.cutBytes);
    DbfTable t;
    ASSERT_TRUE(t.openBytes(b, "x.dbf"));
    EXPECT_EQ(t.recordCount(), c.expected) << c.claimed << " claimed, cut " << c.cutBytes;
    if (c.expected) {
      EXPECT_EQ(t.fieldText(c.expected, 0), std::string(10, "abc"[c.expected - 1]));
    }
    EXPECT_EQ(t.record(c.expected + 1), "");
  }
}

TEST(DbfRead, FieldTextsAreRawAndTrimmedByType) {
  const std::string umlaut = oem("Öl gehärtet");
  using test::padL;
  using test::padR;
  std::string b = test::dbfImage({{"NAME", 'C', 12},
                                  {"E", 'N', 8, 1},
                                  {"OK", 'L', 1},
                                  {"DATUM", 'D', 8},
                                  {"NOTIZ", 'M', 10},
                                  {"LANGERNAME", 'C', 3}},
                                 {" " + padR(umlaut, 12) + padL("12.5", 8) + "T" + "20240131" + padL("7", 10) + "abc",
                                  "*" + padR("", 12) + padR("", 8) + "?" + padR("", 8) + padR("", 10) + padR("", 3)},
                                 0x83, 0x57);
  DbfTable t;
  ASSERT_TRUE(t.openBytes(b, "x.dbf"));
  EXPECT_EQ(t.languageDriver(), 0x57);
  EXPECT_EQ(dbfCodePage(t.languageDriver()), DbfCodePage::Win1252);
  int y, m, d;
  t.lastUpdate(y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 19991231);
  ASSERT_EQ(t.fieldCount(), 6);
  EXPECT_EQ(t.field(1).offset, 13);
  EXPECT_EQ(t.field(1).decimals, 1);
  EXPECT_EQ(t.fieldText(1, 0), umlaut) << "bytes pass unconverted";
  EXPECT_EQ(t.fieldRaw(1, 0), umlaut + " ");
  EXPECT_EQ(t.fieldText(1, 1), "12.5");
  EXPECT_EQ(t.fieldText(1, 2), "T");
  EXPECT_TRUE(t.fieldBool(1, 2));
  EXPECT_EQ(t.fieldText(1, 3), "20240131");
  EXPECT_EQ(t.fieldText(1, 4), "7");
  EXPECT_FALSE(t.isDeleted(1));
  EXPECT_TRUE(t.isDeleted(2));
  EXPECT_EQ(t.fieldText(2, 0), "");
  EXPECT_EQ(t.fieldText(2, 2), "?");
  EXPECT_FALSE(t.fieldBool(2, 2));
  EXPECT_FALSE(t.fieldBool(1, 0)) << "only logical fields are true";
  // Out of range reads are empty, never a crash.
  EXPECT_EQ(t.fieldText(0, 0), "");
  EXPECT_EQ(t.fieldText(3, 0), "");
  EXPECT_EQ(t.fieldText(1, 6), "");
  EXPECT_EQ(t.fieldText(1, -1), "");
  EXPECT_EQ(t.field(99).name, "");
  // Names: case-insensitive, cut to 10 characters.
  EXPECT_EQ(t.fieldIndex("datum"), 3);
  EXPECT_EQ(t.fieldIndex("LANGERNAMEXYZ"), 5);
  EXPECT_EQ(t.fieldIndex("LANGERNAM"), -1);
  EXPECT_EQ(t.fieldIndex("FEHLT"), -1);
}

TEST(DbfRead, NumberTexts) {
  struct Case {
    const char* text;
    double value;
    bool ok;
  };
  for (const Case& c : std::vector<Case>{{"  12.5", 12.5, true},
                                         {"-3", -3, true},
                                         {"+4.25 ", 4.25, true},
                                         {"1,5", 1.5, true},
                                         {"", 0, false},
                                         {"  ", 0, false},
                                         {"1.2.3", 0, false},
                                         {"abc", 0, false},
                                         {"nan", 0, false},
                                         {"1e999", 0, false},
                                         {"*****", 0, false},
                                         {"12 5", 0, false}}) {
    bool ok = !c.ok;
    EXPECT_EQ(parseDbfNumber(c.text, &ok), c.value) << c.text;
    EXPECT_EQ(ok, c.ok) << c.text;
  }
}

TEST(DbfRecordBuffer, SetFieldGivesDefinedBytes) {
  DbfTable t;
  ASSERT_TRUE(t.openBytes(
      test::dbfImage(
          {{"NAME", 'C', 5}, {"E", 'N', 7, 2}, {"NR", 'N', 3}, {"OK", 'L', 1}, {"DATUM", 'D', 8}, {"NOTIZ", 'M', 10}},
          {}),
      "x.dbf"));
  struct Case {
    int field;
    const char* text;
    const char* stored;
    bool ok;
  };
  const std::vector<Case> cases = {
      {0, "abc", "abc  ", true},
      {0, "abcdefg", "abcde", false},
      {0, "", "     ", true},
      {1, "12.345", "  12.35", true},
      {1, " -1 ", "  -1.00", true},
      {1, "1,5", "   1.50", true},
      {1, "", "       ", true},
      {1, "x", "   0.00", false},
      {1, "123456", "*******", false},
      {1, "-0.001", "   0.00", true},
      {2, "999", "999", true},
      {2, "1000", "***", false},
      {2, "2.6", "  3", true},
      {3, "j", "T", true},
      {3, "Nein", "F", true},
      {3, "x", "?", false},
      {3, "", " ", true},
      {4, "20240229", "20240229", true},
      {4, "2024-02-29", "        ", false},
      {5, "1", "          ", false},
  };
  for (const Case& c : cases) {
    std::string r = t.blankRecord();
    EXPECT_EQ(t.setFieldText(r, c.field, c.text), c.ok) << c.field << " " << c.text;
    EXPECT_EQ(std::string(r.substr(static_cast<std::size_t>(t.field(c.field).offset),
                                   static_cast<std::size_t>(t.field(c.field).length))),
              c.stored)
        << c.field << " " << c.text;
  }
  std::string r = t.blankRecord();
  EXPECT_FALSE(t.setFieldNumber(r, 1, 1.0 / 0.0));
  EXPECT_FALSE(t.setFieldNumber(r, 0, 1.0)) << "C field";
  EXPECT_FALSE(t.setFieldBool(r, 0, true)) << "C field";
  EXPECT_FALSE(t.setFieldText(r, 7, "x")) << "no such field";
  std::string shortRec = "  ";
  EXPECT_FALSE(t.setFieldText(shortRec, 0, "x")) << "buffer of the wrong length";
  EXPECT_EQ(shortRec, "  ");
}

TEST(DbfCreate, WritesAnEmptyTableWithTheLanguageDriver) {
  test::TempDir dir;
  const std::string path = dir.file("neu.dbf");
  ASSERT_TRUE(DbfTable::create(
      path, {{"name", 'C', 10, 0, 0}, {"E", 'N', 8, 1, 0}, {"OK", 'L', 1, 0, 0}, {"DATUM", 'D', 8, 0, 0}}, 0x03));
  const std::string b = test::readFile(path);
  ASSERT_EQ(b.size(), 32u + 4 * 32 + 1 + 1);
  EXPECT_EQ(b[0], 0x03);
  EXPECT_EQ(b[29], 0x03);
  EXPECT_EQ(b[32 + 4 * 32], 0x0D);
  EXPECT_EQ(b.back(), 0x1A);
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  EXPECT_EQ(b[1], tm.tm_year);
  EXPECT_EQ(b[2], tm.tm_mon + 1);
  EXPECT_EQ(b[3], tm.tm_mday);
  DbfTable t;
  ASSERT_TRUE(t.open(path));
  EXPECT_EQ(t.field(0).name, "NAME") << "names are upper-cased";
  EXPECT_EQ(t.recordLength(), 1 + 10 + 8 + 1 + 8);
  EXPECT_EQ(t.recordCount(), 0u);
}

TEST(DbfCreate, RefusesInvalidFieldLists) {
  test::TempDir dir;
  const std::vector<std::vector<DbfField>> bad = {
      {},
      {{"", 'C', 5, 0, 0}},
      {{"ELFZEICHENXX", 'C', 5, 0, 0}},
      {{"1ABC", 'C', 5, 0, 0}},
      {{"A-B", 'C', 5, 0, 0}},
      {{"A", 'C', 0, 0, 0}},
      {{"A", 'C', 255, 0, 0}},
      {{"A", 'N', 21, 0, 0}},
      {{"A", 'N', 5, 4, 0}},
      {{"A", 'L', 2, 0, 0}},
      {{"A", 'D', 6, 0, 0}},
      {{"A", 'M', 10, 0, 0}},
      {{"A", 'F', 10, 2, 0}},
      {{"A", 'X', 1, 0, 0}},
      {{"A", 'C', 5, 0, 0}, {"a", 'C', 5, 0, 0}},
      std::vector<DbfField>(256, DbfField{"A", 'C', 1, 0, 0}),
  };
  for (std::size_t k = 0; k < bad.size(); ++k) {
    EXPECT_FALSE(DbfTable::create(dir.file("x.dbf"), bad[k]).ok()) << k;
    EXPECT_FALSE(fileExists(dir.file("x.dbf"))) << k;
  }
}

}  // namespace
}  // namespace velk
