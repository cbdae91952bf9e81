// Workbooks: what we write is read by an independent reader (python3-openpyxl) with the cell
// types and values we meant; column A of workbooks from other writers (openpyxl, hand-made
// packages with inline strings and prefixes) is read back; bad packages are refused with a
// message and nothing read.
#include "sheet/workbook.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "support/fixture.h"
#include "support/run_process.h"

namespace velk::test {
namespace {

// Every non-empty cell of the first sheet: row, column, openpyxl's type, value, number format.
const char* kDump = R"(
import sys, openpyxl
sys.stdout.reconfigure(encoding='utf-8')
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
for row in ws.iter_rows():
    for c in row:
        if c.value is None: continue
        print(c.row, c.column, c.data_type, repr(c.value), c.number_format, sep='|')
)";

std::string dump(const std::string& path) {
  const std::string python = pythonWithModules({"openpyxl"});
  EXPECT_FALSE(python.empty()) << "python3 with openpyxl is required (scripts/setup.sh)";
  if (python.empty()) return {};
  std::string out;
  EXPECT_EQ(runProcess({python, "-c", kDump, path}, &out), 0) << out;
  return out;
}

// A zip package built here: the parts given, deflated.
std::string makeZip(const std::vector<std::pair<std::string, std::string>>& parts) {
  TempDir d;
  const std::string path = d.file("p.zip");
  int error = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  EXPECT_NE(z, nullptr);
  for (const auto& [name, content] : parts) {
    zip_source_t* s = zip_source_buffer(z, content.data(), content.size(), 0);
    EXPECT_GE(zip_file_add(z, name.c_str(), s, ZIP_FL_OVERWRITE), 0);
  }
  EXPECT_EQ(zip_close(z), 0);
  return readFile(path);
}

const std::string kXmlHead = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)";

std::string sheetXml(const std::string& rows) {
  return kXmlHead + R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)" +
         rows + "</sheetData></worksheet>";
}

TEST(Workbook, CellsFromTextAreNumbersOnlyWhenTheyAreWhole) {
  struct Case {
    const char* text;
    bool comma;
    bool number;
    double value;
    int decimals;
  } cases[] = {
      {"   12.500", false, true, 12.5, 3}, {"12,500", true, true, 12.5, 3},
      {"12,5", false, false, 0, 0},  // English: the comma is no separator
      {"12.5", true, false, 0, 0},   // German: nor is the point
      {"-3", false, true, -3, 0},          {"+0.25", false, true, 0.25, 2},
      {"1.50E+03", false, true, 1500, 2},  {"7 mm", false, false, 0, 0},
      {"-", false, false, 0, 0},           {".", false, false, 0, 0},
      {"1e", false, false, 0, 0},          {"", false, false, 0, 0},
  };
  for (const Case& c : cases) {
    const SheetCell cell = cellFromText(c.text, c.comma);
    EXPECT_EQ(cell.kind == SheetCell::Kind::Number, c.number) << c.text;
    if (!c.number) {
      EXPECT_EQ(cell.text, c.text);
      continue;
    }
    EXPECT_DOUBLE_EQ(cell.number, c.value) << c.text;
    EXPECT_EQ(cell.decimals, c.decimals) << c.text;
  }
}

TEST(Workbook, OpenpyxlReadsTypesValuesAndFormats) {
  TempDir d;
  SheetData data;
  data.rows.push_back({SheetCell::textCell("Federlänge"), SheetCell::textCell("L"), SheetCell::textCell("mm"),
                       SheetCell::numberCell(12.5, 3)});
  data.rows.push_back({});  // an empty row stays empty
  data.rows.push_back({SheetCell{}, SheetCell::textCell("x"), SheetCell{}, SheetCell::numberCell(-4, 0),
                       SheetCell::numberCell(1500, 2, true)});
  data.rows.push_back({SheetCell::textCell("<&> \"quoted\" \t tab")});
  data.columnWidths = {30, 0, 8};
  const std::string path = d.file("book.xlsx");
  ASSERT_EQ(writeWorkbook(path, data), 0);
  EXPECT_EQ(dump(path),
            "1|1|s|'Federlänge'|General\n"
            "1|2|s|'L'|General\n"
            "1|3|s|'mm'|General\n"
            "1|4|n|12.5|0.000\n"
            "3|2|s|'x'|General\n"
            "3|4|n|-4|0\n"
            "3|5|n|1500|0.00E+00\n"
            "4|1|s|'<&> \"quoted\" \\t tab'|General\n");
  // No temporary file is left beside it.
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(d.path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST(Workbook, AFailedWriteLeavesThePreviousFile) {
  TempDir d;
  const std::string path = d.file("book.xlsx");
  writeFile(path, "old");
  IoHooks hooks;
  hooks.writeFault = [](std::string_view) { return ENOSPC; };
  EXPECT_EQ(writeWorkbook(path, SheetData{{{SheetCell::textCell("a")}}, {}}, hooks), ENOSPC);
  EXPECT_EQ(readFile(path), "old");
  // A text longer than a cell takes.
  EXPECT_EQ(writeWorkbook(path, SheetData{{{SheetCell::textCell(std::string(40000, 'x'))}}, {}}), EFBIG);
  EXPECT_EQ(readFile(path), "old");
  EXPECT_NE(writeWorkbook(d.file("missing/book.xlsx"), SheetData{}), 0);
}

TEST(Workbook, WhatWeWriteReadsBack) {
  TempDir d;
  SheetData data;
  for (const char* line : {"VELK 3.4", "", "Zeile mit Ümlaut", "  führende Blanks", "12,5"})
    data.rows.push_back({SheetCell::textCell(line), SheetCell::textCell("B ignored")});
  data.rows.push_back({SheetCell::numberCell(3.25, 2)});
  data.rows.push_back({});
  const std::string path = d.file("book.xlsx");
  ASSERT_EQ(writeWorkbook(path, data), 0);
  const WorkbookColumn col = readWorkbookColumn(readFile(path), "book.xlsx");
  ASSERT_TRUE(col.ok) << col.error;
  EXPECT_EQ(col.lines,
            (std::vector<std::string>{"VELK 3.4", "", "Zeile mit Ümlaut", "  führende Blanks", "12,5", "3.25"}));
}

TEST(Workbook, ColumnAOfAnOpenpyxlWorkbook) {
  const std::string python = pythonWithModules({"openpyxl"});
  ASSERT_FALSE(python.empty());
  TempDir d;
  const std::string path = d.file("py.xlsx");
  const char* script = R"(
import sys, openpyxl
wb = openpyxl.Workbook()
ws = wb.active
ws.title = 'Feder'
ws['A1'] = 'erste Zeile äöü'
ws['B1'] = 'nicht A'
ws['A2'] = 3
ws['A3'] = 2.5
ws['A6'] = 'nach der Lücke'
ws['C9'] = 'kein A'
wb.create_sheet('Zweites')['A1'] = 'anderes Blatt'
wb.save(sys.argv[1])
)";
  ASSERT_EQ(runProcess({python, "-c", script, path}), 0);
  const WorkbookColumn col = readWorkbookColumn(readFile(path), "py.xlsx");
  ASSERT_TRUE(col.ok) << col.error;
  EXPECT_EQ(col.lines, (std::vector<std::string>{"erste Zeile äöü", "3", "2.5", "", "", "nach der Lücke"}));
}

TEST(Workbook, FirstSheetFoundThroughTheWorkbookWithInlineStringsAndPrefixes) {
  const std::string book =
      kXmlHead + R"(<x:workbook xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
                 R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><x:sheets>)"
                 R"(<x:sheet name="Daten" sheetId="2" r:id="rId7"/><x:sheet name="Rest" sheetId="1" r:id="rId1"/>)"
                 R"(</x:sheets></x:workbook>)";
  const std::string rels =
      kXmlHead +
      R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
      R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
      R"(<Relationship Id="rId7" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/daten.xml"/>)"
      R"(<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="strings.xml"/>)"
      R"(</Relationships>)";
  const std::string strings =
      kXmlHead + R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>null</t></si>)"
                 R"(<si><r><t>zu</t></r><r><t xml:space="preserve">sam men</t></r><rPh><t>phon</t></rPh></si></sst>)";
  const std::string daten =
      kXmlHead + R"(<x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><x:sheetData>)"
                 R"(<x:row r="1"><x:c r="A1" t="inlineStr"><x:is><x:t>inline &amp; fein</x:t></x:is></x:c></x:row>)"
                 R"(<x:row r="2"><x:c r="A2" t="s"><x:v>1</x:v></x:c><x:c r="B2" t="s"><x:v>0</x:v></x:c></x:row>)"
                 R"(<x:row r="4"><x:c r="A4" t="str"><x:f>1+1</x:f><x:v>2</x:v></x:c></x:row>)"
                 R"(<x:row><x:c><x:v>-1.5</x:v></x:c></x:row>)"
                 R"(</x:sheetData></x:worksheet>)";
  const std::string zip = makeZip(
      {{"xl/workbook.xml", book},
       {"xl/_rels/workbook.xml.rels", rels},
       {"xl/strings.xml", strings},
       {"xl/worksheets/sheet1.xml", sheetXml(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>falsch</t></is></c></row>)")},
       {"xl/worksheets/daten.xml", daten}});
  const WorkbookColumn col = readWorkbookColumn(zip, "daten.xlsx");
  ASSERT_TRUE(col.ok) << col.error;
  EXPECT_EQ(col.lines, (std::vector<std::string>{"inline & fein", "zusam men", "", "2", "-1.5"}));
}

TEST(Workbook, BadPackagesAreRefusedWithAMessage) {
  const std::string sheet1 = "xl/worksheets/sheet1.xml";
  std::string good;
  {
    TempDir d;
    SheetData data;
    for (int i = 0; i < 200; ++i) data.rows.push_back({SheetCell::textCell("Zeile " + std::to_string(i))});
    ASSERT_EQ(writeWorkbook(d.file("g.xlsx"), data), 0);
    good = readFile(d.file("g.xlsx"));
  }
  const std::string entities =
      R"(<?xml version="1.0"?><!DOCTYPE lolz [<!ENTITY lol "lol"><!ENTITY lol2 "&lol;&lol;&lol;&lol;">]>)"
      R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)"
      R"(<row r="1"><c r="A1" t="inlineStr"><is><t>&lol2;</t></is></c></row></sheetData></worksheet>)";
  const std::string longCell =
      sheetXml(R"(<row r="3"><c r="A3" t="inlineStr"><is><t>)" + std::string(1 << 20, 'x') + "</t></is></c></row>");
  const std::string longShared = kXmlHead +
                                 R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>)" +
                                 std::string(1 << 20, 'y') + "</t></si></sst>";
  struct Case {
    const char* what;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"no zip", "VELK 3.4\r\nnot a workbook\r\n", "b.xlsx ist keine Arbeitsmappe (.xlsx)"},
      {"empty", "", "b.xlsx ist keine Arbeitsmappe (.xlsx)"},
      {"truncated", good.substr(0, good.size() / 2), "b.xlsx ist keine Arbeitsmappe (.xlsx)"},
      {"no sheet", makeZip({{"xl/styles.xml", "<styleSheet/>"}}),
       "b.xlsx: Die Arbeitsmappe enthält kein Tabellenblatt"},
      {"entities", makeZip({{sheet1, entities}}),
       "b.xlsx: Die Arbeitsmappe enthält unzulässige XML-Definitionen (DOCTYPE)"},
      {"malformed", makeZip({{sheet1, "<worksheet><sheetData><row>"}}), "b.xlsx: Die Arbeitsmappe ist beschädigt"},
      {"missing shared string", makeZip({{sheet1, sheetXml(R"(<row r="1"><c r="A1" t="s"><v>5</v></c></row>)")}}),
       "b.xlsx: Die Arbeitsmappe ist beschädigt"},
      {"1 MB cell", makeZip({{sheet1, longCell}}), "b.xlsx: Zelle A3 ist länger als 32767 Zeichen"},
      {"1 MB shared string",
       makeZip({{sheet1, sheetXml(R"(<row r="2"><c r="A2" t="s"><v>0</v></c></row>)")},
                {"xl/sharedStrings.xml", longShared}}),
       "b.xlsx: Zelle A2 ist länger als 32767 Zeichen"},
      {"row beyond the limit", makeZip({{sheet1, sheetXml(R"(<row r="1048577"><c><v>1</v></c></row>)")}}),
       "b.xlsx: Die Tabelle hat mehr als 1048576 Zeilen"},
      // 65 MiB of blanks pack into a few dozen kilobytes.
      {"zip bomb", makeZip({{sheet1, sheetXml(std::string(65u << 20, ' '))}}),
       "b.xlsx: Die Arbeitsmappe ist entpackt zu groß (mehr als 64 MB)"},
  };
  for (const Case& c : cases) {
    const WorkbookColumn col = readWorkbookColumn(c.bytes, "b.xlsx");
    EXPECT_FALSE(col.ok) << c.what;
    EXPECT_TRUE(col.lines.empty()) << c.what;
    EXPECT_EQ(u8(col.error), c.message) << c.what;
  }
  // A shared string nobody in column A names may be long: it is not kept.
  const WorkbookColumn unused = readWorkbookColumn(
      makeZip({{sheet1, sheetXml(R"(<row r="1"><c r="B1" t="s"><v>0</v></c><c r="A1"><v>7</v></c></row>)")},
               {"xl/sharedStrings.xml", longShared}}),
      "b.xlsx");
  ASSERT_TRUE(unused.ok) << unused.error;
  EXPECT_EQ(unused.lines, std::vector<std::string>{"7"});
}

TEST(Workbook, TheLimitsHoldWhileInflating) {
  // A part within the packed limit that inflates beyond the part limit, and parts that together
  // go beyond the total.
  WorkbookLimits small;
  small.maxEntryBytes = 1u << 20;
  small.maxTotalBytes = (3u << 20) / 2;
  const std::string rows = R"(<row r="1"><c r="A1" t="s"><v>0</v></c></row>)" + std::string(800u << 10, ' ');
  const std::string strings =
      kXmlHead + R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>a</t></si>)" +
      std::string(800u << 10, ' ') + "</sst>";
  const WorkbookColumn total = readWorkbookColumn(
      makeZip({{"xl/worksheets/sheet1.xml", sheetXml(rows)}, {"xl/sharedStrings.xml", strings}}), "t", small);
  EXPECT_FALSE(total.ok);
  EXPECT_EQ(u8(total.error), "t: Die Arbeitsmappe ist entpackt zu groß (mehr als 1 MB)");
  // Column A as a whole.
  WorkbookLimits column;
  column.maxColumnBytes = 1000;
  std::string many;
  for (int r = 1; r <= 100; ++r) many += "<row r=\"" + std::to_string(r) + "\"><c><v>1234567890</v></c></row>";
  EXPECT_FALSE(readWorkbookColumn(makeZip({{"xl/worksheets/sheet1.xml", sheetXml(many)}}), "t", column).ok);
}

TEST(Workbook, AHundredThousandRowsAreRead) {
  TempDir d;
  SheetData data;
  for (int i = 1; i <= 100000; ++i) data.rows.push_back({SheetCell::textCell("Zeile " + std::to_string(i))});
  ASSERT_EQ(writeWorkbook(d.file("big.xlsx"), data), 0);
  const WorkbookColumn col = readWorkbookColumn(readFile(d.file("big.xlsx")), "big.xlsx");
  ASSERT_TRUE(col.ok) << col.error;
  ASSERT_EQ(col.lines.size(), 100000u);
  EXPECT_EQ(col.lines.front(), "Zeile 1");
  EXPECT_EQ(col.lines.back(), "Zeile 100000");
}

TEST(Workbook, RecognisedByNameOrSignature) {
  EXPECT_TRUE(isWorkbookFile("feder.xlsx", ""));
  EXPECT_TRUE(isWorkbookFile("/a/b/FEDER.XLSX", "VELK"));
  EXPECT_TRUE(isWorkbookFile("feder.vlk", std::string("PK\3\4rest", 8)));
  EXPECT_FALSE(isWorkbookFile("feder.vlk", "VELK 3.4"));
  EXPECT_FALSE(isWorkbookFile("a.xlsx/feder", "PK"));
  EXPECT_FALSE(isWorkbookFile("feder.xlsxx", ""));
}

// Peak resident memory of this process in KiB after the peak was reset, or -1 where the system
// does not offer the reset.
long long peakSinceReset(bool reset) {
  if (reset) {
    FILE* f = std::fopen("/proc/self/clear_refs", "w");
    if (!f) return -1;
    const bool ok = std::fputs("5", f) >= 0;
    if (std::fclose(f) != 0 || !ok) return -1;
  }
  const std::string status = readFile("/proc/self/status");
  const std::size_t at = status.find("VmHWM:");
  return at == std::string::npos ? -1 : std::atoll(status.c_str() + at + 6);
}

// Nested elements cost expat memory for each open one: the depth is bounded, and so is the
// number of elements of a part.
TEST(Workbook, NestingAndElementCountAreBounded) {
  const std::string sheet1 = "xl/worksheets/sheet1.xml";
  std::string nested;  // 15 million open elements, about 45 MB inflated, a few dozen KB packed
  nested.reserve(45u << 20);
  nested += "<worksheet>";
  for (int i = 0; i < 15000000; ++i) nested += "<a>";
  const std::string deep = makeZip({{sheet1, nested}});
  nested = std::string();
  EXPECT_LT(deep.size(), 200u << 10);
  const long long before = peakSinceReset(true);
  const auto started = std::chrono::steady_clock::now();
  const WorkbookColumn col = readWorkbookColumn(deep, "tief.xlsx");
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  const long long peak = peakSinceReset(false);
  EXPECT_FALSE(col.ok);
  EXPECT_EQ(u8(col.error), "tief.xlsx: Die Arbeitsmappe ist zu tief verschachtelt (mehr als 256 Ebenen)");
  EXPECT_LT(seconds, 5.0);
  if (before > 0 && peak > 0) {
    EXPECT_LT(peak - before, 64 << 10) << "KiB beyond the state before";
  }

  // Both limits at their edge, with small limits.
  WorkbookLimits small;
  small.maxDepth = 8;
  small.maxElements = 1000;
  const auto rows = [](int n) {
    std::string r;
    for (int i = 1; i <= n; ++i)
      r += "<row r=\"" + std::to_string(i) + "\"><c><v>" + std::to_string(i) + "</v></c></row>";
    return r;
  };
  // One row with its cell at the given depth: worksheet, sheetData, row, c and v are 5 levels.
  const auto wrapped = [](int depth) {
    std::string open, close;
    for (int i = 0; i < depth - 5; ++i) open += "<x>", close += "</x>";
    return open + R"(<row r="1"><c><v>1</v></c></row>)" + close;
  };
  const struct {
    const char* what;
    std::string xml;
    const char* message;  // nullptr: read
  } cases[] = {
      {"depth 8", sheetXml(wrapped(8)), nullptr},
      {"depth 9", sheetXml(wrapped(9)), "k.xlsx: Die Arbeitsmappe ist zu tief verschachtelt (mehr als 8 Ebenen)"},
      {"332 rows: 998 elements", sheetXml(rows(332)), nullptr},
      {"334 rows: 1004 elements", sheetXml(rows(334)),
       "k.xlsx: Ein Teil der Arbeitsmappe hat mehr als 1000 XML-Elemente"},
  };
  for (const auto& c : cases) {
    const WorkbookColumn k = readWorkbookColumn(makeZip({{sheet1, c.xml}}), "k.xlsx", small);
    EXPECT_EQ(k.ok, c.message == nullptr) << c.what << ": " << k.error;
    if (c.message) {
      EXPECT_EQ(u8(k.error), c.message) << c.what;
    }
  }
}

}  // namespace
}  // namespace velk::test
