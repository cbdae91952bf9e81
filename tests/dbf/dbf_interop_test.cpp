// Interoperability of the table engine with independent dBASE implementations: tables written by
// python3-dbf are read by the engine, tables the engine writes or appends to are read by python3-dbfread.
#include <gtest/gtest.h>

#include "base/codepage.h"
#include "dbf/dbf.h"
#include "dbf/dbf_test_util.h"
#include "support/fixture.h"
#include "support/run_process.h"

namespace velk {
namespace {

// Writes a cp850 dBASE III table with python3-dbf; record 3 is deleted.
constexpr const char* kPythonDbfWriter = R"(
import sys, datetime, dbf
t = dbf.Table(sys.argv[1], 'NAME C(20); MENGE N(8,2); AKTIV L; DATUM D', dbf_type='db3', codepage='cp850')
t.open(dbf.READ_WRITE)
t.append(('Federstahl', 12.5, True, datetime.date(2024, 1, 31)))
t.append(('Öl gehärtet', -3.25, False, None))
t.append(('weg', 1, True, datetime.date(2000, 2, 29)))
dbf.delete(t[2])
t.close()
)";

// Prints what python3-dbfread reads: encoding, fields, live records, number of deleted records.
constexpr const char* kDbfreadDump = R"(
import sys, dbfread
t = dbfread.DBF(sys.argv[1], load=True)
print(t.encoding)
print(' '.join('%s:%s:%d:%d' % (f.name, f.type, f.length, f.decimal_count) for f in t.fields))
for r in t.records:
    print('|'.join(str(v) for v in r.values()))
print('deleted', len(t.deleted))
)";

class DbfInterop : public ::testing::Test {
 protected:
  void SetUp() override {
    python = test::pythonWithModules({"dbf", "dbfread"});
    ASSERT_FALSE(python.empty()) << "python3 with the modules dbf and dbfread is required (scripts/setup.sh)";
  }
  std::string dbfread(const std::string& path) {
    std::string out;
    EXPECT_EQ(test::runProcess({python, "-c", kDbfreadDump, path}, &out), 0);
    return out;
  }
  test::TempDir dir;
  std::string python;
};

TEST_F(DbfInterop, EngineReadsTablesWrittenByPythonDbf) {
  const std::string path = dir.file("py.dbf");
  ASSERT_EQ(test::runProcess({python, "-c", kPythonDbfWriter, path}), 0);
  DbfTable t;
  ASSERT_TRUE(t.open(path, true));
  EXPECT_EQ(t.languageDriver(), kDbfDriverCp850);
  ASSERT_EQ(t.fieldCount(), 4);
  EXPECT_EQ(t.field(1).name, "MENGE");
  EXPECT_EQ(t.field(1).length, 8);
  EXPECT_EQ(t.field(1).decimals, 2);
  ASSERT_EQ(t.recordCount(), 3u);
  EXPECT_EQ(t.fieldText(1, 0), "Federstahl");
  EXPECT_EQ(t.fieldText(1, 1), "12.50");
  EXPECT_TRUE(t.fieldBool(1, 2));
  EXPECT_EQ(t.fieldText(1, 3), "20240131");
  EXPECT_EQ(t.fieldText(2, 0), oem("Öl gehärtet"));
  EXPECT_EQ(t.fieldText(2, 1), "-3.25");
  EXPECT_FALSE(t.fieldBool(2, 2));
  EXPECT_EQ(t.fieldText(2, 3), "");
  EXPECT_FALSE(t.isDeleted(2));
  EXPECT_TRUE(t.isDeleted(3));
}

TEST_F(DbfInterop, DbfreadReadsTablesTheEngineWroteEditedAndPacked) {
  const std::string path = dir.file("velk.dbf");
  ASSERT_TRUE(DbfTable::create(
      path, {{"NAME", 'C', 20, 0, 0}, {"MENGE", 'N', 8, 2, 0}, {"AKTIV", 'L', 1, 0, 0}, {"DATUM", 'D', 8, 0, 0}}));
  DbfTable t;
  ASSERT_TRUE(t.open(path));
  auto rec = [&](const std::string& name, double menge, bool aktiv, const std::string& datum) {
    std::string r = t.blankRecord();
    t.setFieldText(r, 0, name);
    t.setFieldNumber(r, 1, menge);
    t.setFieldBool(r, 2, aktiv);
    t.setFieldText(r, 3, datum);
    return r;
  };
  ASSERT_TRUE(t.append(rec("Federstahl", 12.5, true, "20240131")));
  ASSERT_TRUE(t.appendRecords({rec(oem("Öl gehärtet"), -3.25, false, ""), rec("weg", 1, true, "20000229")}));
  std::string r(t.record(1));
  t.setFieldNumber(r, 1, 99.999);
  ASSERT_TRUE(t.writeRecord(1, r));
  ASSERT_TRUE(t.setDeleted(3, true));
  EXPECT_EQ(dbfread(path),
            "cp850\n"
            "NAME:C:20:0 MENGE:N:8:2 AKTIV:L:1:0 DATUM:D:8:0\n"
            "Federstahl|100.0|True|2024-01-31\n"
            "Öl gehärtet|-3.25|False|None\n"
            "deleted 1\n");
  ASSERT_TRUE(t.pack());
  EXPECT_EQ(dbfread(path),
            "cp850\n"
            "NAME:C:20:0 MENGE:N:8:2 AKTIV:L:1:0 DATUM:D:8:0\n"
            "Federstahl|100.0|True|2024-01-31\n"
            "Öl gehärtet|-3.25|False|None\n"
            "deleted 0\n");
}

TEST_F(DbfInterop, DbfreadReadsRecordsTheEngineAppendedToAPythonTable) {
  const std::string path = dir.file("py.dbf");
  ASSERT_EQ(test::runProcess({python, "-c", kPythonDbfWriter, path}), 0);
  DbfTable t;
  ASSERT_TRUE(t.open(path));
  std::string r = t.blankRecord();
  t.setFieldText(r, 0, oem("Bänder"));
  t.setFieldText(r, 1, "7");
  t.setFieldText(r, 2, "J");
  t.setFieldText(r, 3, "19991231");
  ASSERT_TRUE(t.append(r));
  // An engine-created Windows-1252 table is decoded as such.
  const std::string ansi = dir.file("ansi.dbf");
  ASSERT_TRUE(DbfTable::create(ansi, {{"NAME", 'C', 8, 0, 0}}, kDbfDriverWin1252));
  DbfTable a;
  ASSERT_TRUE(a.open(ansi));
  std::string ar = a.blankRecord();
  a.setFieldText(ar, 0, "B\xE4nder");
  ASSERT_TRUE(a.append(ar));
  EXPECT_EQ(dbfread(path),
            "cp850\n"
            "NAME:C:20:0 MENGE:N:8:2 AKTIV:L:1:0 DATUM:D:8:0\n"
            "Federstahl|12.5|True|2024-01-31\n"
            "Öl gehärtet|-3.25|False|None\n"
            "Bänder|7.0|True|1999-12-31\n"
            "deleted 1\n");
  EXPECT_EQ(dbfread(ansi), "cp1252\nNAME:C:8:0\nBänder\ndeleted 0\n");
}

}  // namespace
}  // namespace velk
