// The tables that ship with the program: reproducible from their CSV sources, readable by the
// engine and by python3-dbfread, and plausible material data record by record.
#include <gtest/gtest.h>

#include "calc/material.h"
#include "calcservice/materialselect.h"
#include "dbf/dbf.h"
#include "support/fixture.h"
#include "support/run_process.h"
#include "tables/tableservice.h"

namespace velk::test {
namespace {

const std::string kShare = std::string(VELK_SOURCE_DATA_DIR) + "/";

TEST(ShippedTables, GeneratorReproducesTheShippedBytes) {
  const std::string python = pythonWithModules({"csv"});
  ASSERT_FALSE(python.empty());
  TempDir out;
  ASSERT_EQ(runProcess({python, kShare + "../tools/make_tables.py", "--out", out.path()}), 0);
  for (const char* name : {"velkwst.dbf", "talmwst.dbf", "printout.dbf"})
    EXPECT_EQ(readFile(out.file(name)), readFile(kShare + name)) << name << ": run tools/make_tables.py";
}

TEST(ShippedTables, EngineAndDbfreadReadThem) {
  struct Case {
    const char* name;
    int fields;
    std::uint32_t records;
  } cases[] = {{"velkwst.dbf", 29, 14}, {"talmwst.dbf", 27, 15}, {"printout.dbf", 9, 7}};
  const std::string python = pythonWithModules({"dbfread"});
  ASSERT_FALSE(python.empty()) << "python3 with dbfread is required (scripts/setup.sh)";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DbfTable t;
    ASSERT_TRUE(t.open(kShare + c.name, true));
    EXPECT_EQ(t.version(), 0x03);
    EXPECT_EQ(t.languageDriver(), kDbfDriverCp850);
    EXPECT_EQ(t.fieldCount(), c.fields);
    EXPECT_EQ(t.recordCount(), c.records);
    std::string out;
    ASSERT_EQ(runProcess({python, "-c",
                          "import sys, dbfread\n"
                          "t = dbfread.DBF(sys.argv[1], load=True)\n"
                          "print(t.encoding, len(t.fields), len(t.records))\n",
                          kShare + c.name},
                         &out),
              0);
    EXPECT_EQ(out, "cp850 " + std::to_string(c.fields) + " " + std::to_string(c.records) + "\n");
  }
  DbfTable wire;
  ASSERT_TRUE(wire.open(kShare + "talmwst.dbf", true));
  EXPECT_EQ(wire.fieldText(6, 1), oem("Federdraht ölschlussvergütet"));
}

class ShippedMaterials : public SessionTest {
 protected:
  ShippedMaterials() { ws.config.dbfDir = kShare; }
};

TEST_F(ShippedMaterials, EveryRecordIsPlausible) {
  ASSERT_TRUE(OpenTableReadOnly(ws.table, ws.diag, ws, ws, "velkwst"));
  for (int n = 1; n <= RecCount(ws.table); ++n) {
    GoRecord(ws.table, ws.messages, n);
    StripRecord r;
    ReadStripRecord(ws, r);
    SCOPED_TRACE(r.name1);
    EXPECT_EQ(r.field29, n);
    EXPECT_GT(r.E, 0);
    EXPECT_GT(r.rho, 0);
    EXPECT_GT(r.t0, 0);
    EXPECT_GT(r.tmin, 0);
    EXPECT_LT(r.tmin, r.tmax);
    EXPECT_GT(r.f, 0);
    CalcMessages m;
    for (Real t : {r.tmin, r.tmax}) EXPECT_GT(StrengthAt(r, t, m), 500);
    if (r.tG > 0) {
      EXPECT_GT(r.plain.upper, r.plain.stroke);
      EXPECT_GT(r.plain.m, 0);
      EXPECT_NE(r.name4.find("Richtwert"), std::string::npos) << "strip fatigue values are guide values";
    }
  }
  ASSERT_TRUE(OpenTableReadOnly(ws.table, ws.diag, ws, ws, "talmwst"));
  for (int n = 1; n <= RecCount(ws.table); ++n) {
    GoRecord(ws.table, ws.messages, n);
    WireRecord r;
    ReadWireRecord(ws, r);
    SCOPED_TRACE(r.name1);
    EXPECT_EQ(r.runningNo, n);
    EXPECT_GT(r.G, 0);
    EXPECT_GT(r.E, r.G);
    EXPECT_GT(r.d0, 0);
    EXPECT_LT(r.dmin, r.dmax);
    CalcMessages m;
    for (Real d : {r.dmin > 0 ? r.dmin : 0.1L, r.dmax}) EXPECT_GT(StrengthAt(r, d, m), 500);
    if (r.dG > 0) {
      EXPECT_GT(r.plain.upper, r.plain.stroke);
    }
  }
  CloseTable(ws.table);
  EXPECT_EQ(ws.messages.count, 0);
}

TEST_F(ShippedMaterials, StartValuesSelectTheCommonMaterials) {
  MaterialLoadResult r = LoadMaterialRecords(ws);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(ws.materials.strip.name1, "C75S +QT");
  EXPECT_EQ(ws.materials.wire.name1, "EN 10270-1 DH");
  EXPECT_EQ(ws.spring.matName, "C75S +QT");
}

TEST_F(ShippedMaterials, PrintLayoutsReadByFieldName) {
  OpenTableFile(ws.table, ws.diag, ws, kShare + "printout.dbf");
  ASSERT_FALSE(ws.abort);
  EXPECT_EQ(FieldName(ws.table, 9), "BORDERLINE");
  GoRecord(ws.table, ws.messages, 2);
  EXPECT_EQ(FieldText(ws.table, 1), "A4 quer 1:1");
  EXPECT_TRUE(FieldBool(ws.table, "landscape"));
  EXPECT_FALSE(FieldBool(ws.table, "variable"));
  EXPECT_EQ(parseReal(FieldText(ws.table, 2)), 1);
  CloseTable(ws.table);
}

}  // namespace
}  // namespace velk::test
