// The input file: byte layout, round trips, name resolution and safe saving.
#include "data/inputfile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>

#include "base/textfile.h"
#include "commands/springfile.h"
#include "dialogs/dialogs.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

std::vector<std::string> linesOf(const std::string& bytes) {
  std::vector<std::string> out;
  TextReader r(bytes);
  while (!r.atEnd()) out.push_back(r.readLine());
  return out;
}

// A spring with every stored field set to a value that shows a fault when lost.
void fillSpring(Spring& s) {
  s.titleLine = "Feder 1   Zeichn.Nr.: 4711";
  s.bemerk1 = oem("Bemerkung mit Ümlaut");
  s.bemerk2 = "zweite";
  s.zeichname = "Feder 1";
  s.zeichnr = "4711";
  s.zeichname2 = "Zweitname";
  s.b = 12.5L;
  s.t = 0.35L;
  s.n0 = 7.25L;
  s.ri = 6;
  s.re = 40.125L;
  s.alpha1 = -30;
  s.alpha2 = 720.5L;
  s.theta = -20.5L;
  s.matNoFlat = 4;
  s.formi = 2;
  s.forme = 2;
  s.li = 8;
  s.le = 10.5L;
  s.rbi = 1.5L;
  s.rbe = 0.25L;
  s.crossSection = 2;
  s.matNoRound = 7;
  s.statdyn = 2;
  s.freq = 2.5L;
  Documentation& d = s.doc;
  d.changeCount = 2;
  d.changes[0] = {"A", "01.02.2026", "mk", "erste Zeile\r\nzweite Zeile"};
  d.changes[1] = {"B", "03.04.2026", "jw", "nur eine"};
  d.info.checkDate = "05.06.2026";
  d.info.checker = "Prüfer";
  d.info.standardsDate = "07.08.2026";
  d.info.standardsChecker = "Norm";
  d.info.releaseDate = "09.10.2026";
  d.info.releaser = "Frei";
  d.info.creationDate = "11.12.2025";
  d.info.replaces = "Z-1";
  d.info.replacedBy = "Z-3";
  d.info.author = "Autor";
  d.info.freeTextCount = 2;
  d.info.freeTexts[0] = {10, 20.5L, 3.5L, 90, "Text eins"};
  d.info.freeTexts[1] = {-5, 0, 2.5L, 0, "Text zwei"};
  d.documents[0] = {"xdg-open", "/home/u/a.pdf"};
  d.documents[4] = {"libreoffice", "b.odt"};
}

class InputFileTest : public SessionTest {};

TEST_F(InputFileTest, LayoutOfTheStartValues) {
  auto lines = linesOf(inputFileBytes(ws.spring, ws.num()));
  ASSERT_GE(lines.size(), 26u);
  EXPECT_EQ(lines[0], std::string(65, '-'));
  EXPECT_EQ(lines[4], std::string(65, '-'));
  EXPECT_EQ(lines[11], "20.0000000");  // b
  EXPECT_EQ(lines[12], "2.0000000");   // t
  EXPECT_EQ(lines[16], "0");           // alpha1
  EXPECT_EQ(lines[19], "1");           // matNoFlat
  for (int i = 22; i < 26; ++i) EXPECT_EQ(lines[i], "0") << "line " << i + 1;
  // Empty change history: keyword, count, rule, drawing information, four lines, documents.
  EXPECT_EQ(lines[26], oem("ÄNDERUNGEN"));
  EXPECT_EQ(lines[26][0], '\x8E');
  EXPECT_EQ(lines[27], "0");
  EXPECT_EQ(lines[28], std::string(20, '-'));
  EXPECT_EQ(std::count(lines[29].begin(), lines[29].end(), '|'), 8);
  EXPECT_EQ(lines[34], "Dokumente");
  EXPECT_EQ(lines[35], "5");
  EXPECT_EQ(lines[37], "NOTEPAD.EXE");
  EXPECT_EQ(lines[39], std::string(14, '-'));
  ASSERT_EQ(lines.size(), 36u + 1 + 15 + 5);
  EXPECT_EQ(lines[52], "1");          // crossSection
  EXPECT_EQ(lines[53], "3");          // matNoRound
  EXPECT_EQ(lines[54], "1");          // statdyn
  EXPECT_EQ(lines[55], "1.0000000");  // freq
  EXPECT_EQ(lines[56], "N");          // kugelstrahlen
  EXPECT_EQ(inputFileBytes(ws.spring, ws.num()).substr(0, 67), std::string(65, '-') + "\r\n");
}

TEST_F(InputFileTest, RealLinesFollowNumberSettings) {
  struct Case {
    Real x;
    int places, comma;
    const char* text;
  } cases[] = {
      {20, 3, 1, "20.0000000"},    {20, 3, 2, "20,0000000"},
      {20, 1, 1, "20.00000"},      {0, 3, 1, "0"},
      {-30, 3, 1, "-30"},          {-30.5L, 3, 1, "-30.5000000"},
      {0.25L, 3, 1, "0.2500000"},  {210000, 3, 1, "210000.0000000"},
      {-2.5L, 3, 1, "-2.5000000"}, {5e-9L, 3, 1, "0"},
      {-4.99999999L, 3, 1, "-5"},
  };
  for (const Case& c : cases) {
    NumberSettings s;
    s.decimalPlaces = c.places;
    s.decimalComma = c.comma;
    EXPECT_EQ(realLineText(s, c.x), c.text) << static_cast<double>(c.x);
    EXPECT_NEAR(static_cast<double>(lineToReal(c.text)), static_cast<double>(c.x), 1e-8);
  }
}

TEST_F(InputFileTest, WriteReadWriteIsByteIdenticalInEveryNumberSetting) {
  for (int comma : {1, 2}) {
    for (int places : {1, 3, 5}) {
      fillSpring(ws.spring);
      ws.config.num.decimalComma = comma;
      ws.config.num.decimalPlaces = places;
      const std::string first = inputFileBytes(ws.spring, ws.num());
      resetToStartValues(ws.spring);
      ws.spring.doc = Documentation{};
      parseInputFile(ws.spring, ws.num(), first);
      EXPECT_EQ(inputFileBytes(ws.spring, ws.num()), first) << "comma " << comma << " places " << places;
    }
  }
}

TEST_F(InputFileTest, ValuesThatRoundToAnotherFormStillRoundTripByteForByte) {
  ws.spring.b = 1e-8L;              // fixed form rounds to zero
  ws.spring.alpha1 = -4.99999999L;  // fixed form rounds to a whole number below 1
  ws.spring.doc.info.freeTextCount = 1;
  ws.spring.doc.info.freeTexts[0].x = 9.9999L;  // significant digits round up to "10.000"
  const std::string first = inputFileBytes(ws.spring, ws.num());
  parseInputFile(ws.spring, ws.num(), first);
  EXPECT_EQ(inputFileBytes(ws.spring, ws.num()), first);
  EXPECT_EQ(ws.spring.alpha1, -5);
  EXPECT_EQ(ws.spring.doc.info.freeTexts[0].x, 10);
}

// Awkward values in every real field: after one save, writing what was read gives the same bytes.
TEST_F(InputFileTest, AwkwardValuesAreStableAfterOneSave) {
  const Real values[] = {0.9999999999L,  -0.9999999999L, 1e-300L, -1e-300L, 123456789.123L, -0.0L, 0.99999995L, 0.5L,
                         9.99999999e20L, -4.9999999999L, 1e4000L, 5e-8L,    1.00000005L};
  for (int comma : {1, 2}) {
    for (Real v : values) {
      ws.config.num.decimalComma = comma;
      resetToStartValues(ws.spring);
      for (Real* f : {&ws.spring.b, &ws.spring.t, &ws.spring.n0, &ws.spring.ri, &ws.spring.alpha2, &ws.spring.freq})
        *f = v;
      const std::string saved = inputFileBytes(ws.spring, ws.num());
      parseInputFile(ws.spring, ws.num(), saved);
      const std::string once = inputFileBytes(ws.spring, ws.num());
      parseInputFile(ws.spring, ws.num(), once);
      EXPECT_EQ(inputFileBytes(ws.spring, ws.num()), once) << static_cast<double>(v) << " comma " << comma;
      EXPECT_EQ(once, saved) << static_cast<double>(v) << " comma " << comma;
    }
  }
  ws.spring.alpha2 = 0.9999999999L;  // the clock spring's end angle
  parseInputFile(ws.spring, ws.num(), inputFileBytes(ws.spring, ws.num()));
  EXPECT_EQ(ws.spring.alpha2, 1);
}

TEST_F(InputFileTest, EveryFieldComesBack) {
  fillSpring(ws.spring);
  const Spring expected = ws.spring;
  writeInputFile(ws, "feder");
  ASSERT_FALSE(ws.abort);
  resetToStartValues(ws.spring);
  ws.spring.doc = Documentation{};
  readInputFile(ws, "feder");
  ASSERT_FALSE(ws.abort);
  const Spring& s = ws.spring;
  for (auto [a, b] : {std::pair{s.b, expected.b},
                      {s.t, expected.t},
                      {s.n0, expected.n0},
                      {s.ri, expected.ri},
                      {s.re, expected.re},
                      {s.alpha1, expected.alpha1},
                      {s.alpha2, expected.alpha2},
                      {s.theta, expected.theta},
                      {s.li, expected.li},
                      {s.le, expected.le},
                      {s.rbi, expected.rbi},
                      {s.rbe, expected.rbe},
                      {s.freq, expected.freq}})
    EXPECT_EQ(a, b);
  EXPECT_EQ(s.titleLine, expected.titleLine);
  EXPECT_EQ(s.bemerk1, expected.bemerk1);
  EXPECT_EQ(s.zeichname2, expected.zeichname2);
  EXPECT_EQ(s.matNoFlat, 4);
  EXPECT_EQ(s.matNoRound, 7);
  EXPECT_EQ(s.crossSection, 2);
  EXPECT_EQ(s.statdyn, 2);
  EXPECT_EQ(s.formi, 2);
  EXPECT_EQ(s.forme, 2);
  EXPECT_EQ(s.doc.changeCount, 2);
  EXPECT_EQ(s.doc.changes[0].description, "erste Zeile\r\nzweite Zeile");
  EXPECT_EQ(s.doc.changes[1].editor, "jw");
  EXPECT_EQ(s.doc.info.checker, expected.doc.info.checker);
  EXPECT_EQ(s.doc.info.releaser, "Frei");
  EXPECT_EQ(s.doc.info.author, "Autor");
  EXPECT_EQ(s.doc.info.replacedBy, "Z-3");
  ASSERT_EQ(s.doc.info.freeTextCount, 2);
  EXPECT_EQ(s.doc.info.freeTexts[0].y, 20.5L);
  EXPECT_EQ(s.doc.info.freeTexts[1].text, "Text zwei");
  EXPECT_EQ(s.doc.documents[4].program, "libreoffice");
  EXPECT_EQ(s.doc.documents[0].file, "/home/u/a.pdf");
  // The two-line description is one file line with "|" before the line feed.
  EXPECT_NE(readFile(dir.file("feder.vlk")).find("erste Zeile|\nzweite Zeile\r\n"), std::string::npos);
}

TEST_F(InputFileTest, BarInFieldLineTextIsWrittenAsSlash) {
  ws.spring.doc.info.checker = "A|B";
  ws.spring.doc.info.freeTextCount = 1;
  ws.spring.doc.info.freeTexts[0].text = "x|y";
  parseInputFile(ws.spring, ws.num(), inputFileBytes(ws.spring, ws.num()));
  EXPECT_EQ(ws.spring.doc.info.checker, "A/B");
  EXPECT_EQ(ws.spring.doc.info.checkDate, ws.spring.doc.info.checkDate);
  EXPECT_EQ(ws.spring.doc.info.freeTexts[0].text, "x/y");
  EXPECT_EQ(ws.spring.doc.info.freeTextCount, 1);
}

TEST_F(InputFileTest, ShotPeeningIsStoredAndOlderFilesReadAsNotPeened) {
  ws.spring.kugelstrahlen = 'J';
  std::string bytes = inputFileBytes(ws.spring, ws.num());
  ws.spring.kugelstrahlen = 'N';
  parseInputFile(ws.spring, ws.num(), bytes);
  EXPECT_EQ(ws.spring.kugelstrahlen, 'J');
  // A file of the older layout ends after freq.
  bytes.resize(bytes.size() - 3);
  parseInputFile(ws.spring, ws.num(), bytes);
  EXPECT_EQ(ws.spring.kugelstrahlen, 'N');
}

TEST_F(InputFileTest, NameResolution) {
  ws.spring.dataDir = "/data/springs";
  EXPECT_EQ(resolveInputName(ws.spring, "spring"), "/data/springs/spring.vlk");
  EXPECT_EQ(resolveInputName(ws.spring, "/x/spring.txt"), "/x/spring.txt");
  EXPECT_EQ(resolveInputName(ws.spring, "../x"), "/data/springs/../x.vlk") << "only the last component counts";
  ws.spring.dataDir.clear();
  EXPECT_EQ(resolveInputName(ws.spring, "test"), "test.vlk");
}

TEST_F(InputFileTest, ShortFileReadsMissingValuesAsZero) {
  parseInputFile(ws.spring, ws.num(), "-\r\n-\r\n-\r\n-\r\n-\r\ntitle\r\nb1\r\nb2\r\nname\r\nnr\r\nname2\r\n12,5\r\n");
  EXPECT_EQ(ws.spring.b, 12.5L);
  EXPECT_EQ(ws.spring.zeichname, "name");
  EXPECT_EQ(ws.spring.t, 0);
  EXPECT_EQ(ws.spring.crossSection, 0);
  EXPECT_EQ(ws.spring.doc.changeCount, 0);
}

TEST_F(InputFileTest, FailedSaveKeepsThePreviousFile) {
  writeInputFile(ws, "feder");
  ASSERT_FALSE(ws.abort);
  const std::string before = readFile(dir.file("feder.vlk"));
  ws.spring.b = 99;
  for (int err : {ENOSPC, EACCES}) {
    ws.io.writeFault = [err](std::string_view p) { return p.find("feder.vlk") != std::string_view::npos ? err : 0; };
    ws.overwritePrompt = false;
    writeInputFile(ws, "feder");
    EXPECT_TRUE(ws.abort);
    EXPECT_EQ(readFile(dir.file("feder.vlk")), before);
  }
  auto errors = ui.messages(MessageKind::Error);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0], writeFailure("Diskette/Platte voll", dir.file("feder.vlk"), ENOSPC));
  EXPECT_EQ(errors[1], writeFailure("Fehler bei Zugriff auf Diskette/Platte", dir.file("feder.vlk"), EACCES));
}

TEST_F(InputFileTest, DiskFullIsReportedAsSuch) {
  int full = ::open("/dev/full", O_WRONLY);
  EXPECT_EQ(writeAll(full, "x"), ENOSPC);
  ::close(full);
  EXPECT_EQ(ioCodeFromErrno(ENOSPC), kIoDiskFull);
  EXPECT_EQ(ioErrorText(IoStage::Write, kIoDiskFull), "Diskette/Platte voll");
  ws.io.writeFault = [](std::string_view) { return ENOSPC; };
  ws.overwritePrompt = false;
  ws.spring.dataDir = dir.path();
  // The creation test already fails: the save stops with the invalid-name message, nothing written.
  writeInputFile(ws, "voll");
  EXPECT_TRUE(ws.abort);
  EXPECT_FALSE(fileExists(dir.file("voll.vlk")));
}

TEST_F(InputFileTest, OverwriteQuestionAndItsSwitch) {
  writeFile(dir.file("feder.vlk"), "old");
  ui.script({Answer::No()});
  writeInputFile(ws, "feder");
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(readFile(dir.file("feder.vlk")), "old") << "declining must not touch the file";
  EXPECT_EQ(u8(ui.requests().back().prompt), dir.file("feder.vlk") + " existiert bereits.   überschreiben ?");
  EXPECT_EQ(ws.helpNumber, 3055);

  ws.overwritePrompt = false;  // File->Save
  writeInputFile(ws, "feder");
  EXPECT_FALSE(ws.abort);
  EXPECT_NE(readFile(dir.file("feder.vlk")), "old");

  ws.overwritePrompt = true;
  writeInputFile(ws, dir.file("aktuell.vlk"));
  writeInputFile(ws, dir.file("aktuell.vlk"));  // "aktuell" is overwritten without asking
  EXPECT_FALSE(ws.abort);
}

TEST_F(InputFileTest, ArchiveModeRefusesSavesOfAFileFromTheCommandLine) {
  ws.start.startedWithFile = true;
  ws.config.archiveMode = true;
  writeInputFile(ws, "feder");
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(u8(ui.messages(MessageKind::Error).at(0)),
            "File- und User- Befehle sind im Archivierungsmodus nicht möglich.");
  writeInputFile(ws, "aktuell");
  EXPECT_FALSE(ws.abort);

  ws.config.archiveMode = false;
  writeInputFile(ws, "feder");
  EXPECT_FALSE(ws.abort);
  EXPECT_FALSE(ws.start.startedWithFile) << "the first save ends the started-with-a-file state";
}

TEST_F(InputFileTest, SaveAsDialogAndCancel) {
  ui.script({Answer::Cancel()});
  ws.spring.fileName = "keep";
  writeInputFile(ws, "");
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ws.spring.fileName, "keep");

  ui.script({Answer::Text(dir.file("neu.txt"))});
  writeInputFile(ws, "");
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(ws.spring.fileName, "neu");
  EXPECT_TRUE(fileExists(dir.file("neu.vlk")));
}

TEST_F(InputFileTest, UnreadableFileSetsAbortWithMessage) {
  readInputFile(ws, "fehlt");
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(u8(ui.messages(MessageKind::Error).at(0)),
            "Datei " + dir.file("fehlt.vlk") + " nicht gefunden oder kein Zugriffsrecht !");
}

TEST_F(InputFileTest, ReadThroughOpenDialogTakesFolderAndName) {
  writeInputFile(ws, "gewaehlt");
  ui.script({Answer::Text(dir.file("gewaehlt.vlk"))});
  ws.spring.dataDir = "/nowhere";
  readInputFile(ws, "");
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(ws.spring.dataDir, dir.path());
  EXPECT_EQ(ws.spring.fileName, "gewaehlt");
}

// The same spring, its file's line ends changed as editors, transfers and other systems change
// them, reads to the same values: writing what was read gives the original bytes again.
TEST_F(InputFileTest, AnyLineEndsReadTheSameSpring) {
  fillSpring(ws.spring);
  // A description that ends in a line break: its "|" stands at the end of a line of its own.
  ws.spring.doc.changes[1].description = "zwei\r\nZeilen\r\n";
  const std::string original = inputFileBytes(ws.spring, ws.num());
  // The written lines (the multi-line descriptions keep their "|" + LF inside).
  std::vector<std::string> lines;
  for (std::size_t from = 0; from < original.size();) {
    const std::size_t end = original.find("\r\n", from);
    lines.push_back(original.substr(from, end - from));
    from = end + 2;
  }
  const auto joined = [&](const std::function<std::string(std::size_t)>& endOf, bool innerLfAsCr = false) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      std::string line = lines[i];
      if (innerLfAsCr) std::replace(line.begin(), line.end(), '\n', '\r');
      out += line + endOf(i);
    }
    return out;
  };
  // One LF where the writer put CR LF, after line n (1-based).
  const auto strayLf = [&](std::size_t n) { return joined([n](std::size_t i) { return i + 1 == n ? "\n" : "\r\n"; }); };
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"CR LF", original},
      {"LF", joined([](std::size_t) { return "\n"; })},
      {"CR", joined([](std::size_t) { return "\r"; }, true)},
      {"CR LF and LF alternating", joined([](std::size_t i) { return i % 2 ? "\n" : "\r\n"; })},
      // A CR before an empty LF line would be one CR LF: there the mix takes CR LF.
      {"CR LF, LF and CR mixed", joined([&](std::size_t i) {
         if (i % 3 == 2 && !(i + 1 < lines.size() && lines[i + 1].empty())) return "\r";
         return i % 3 == 1 ? "\n" : "\r\n";
       })},
      {"stray LF in the header", strayLf(3)},
      {"stray LF after b", strayLf(12)},
      {"stray LF after theta", strayLf(19)},
      {"stray LF after a description", strayLf(33)},
      {"stray LF before the last line", strayLf(lines.size() - 1)},
      {"no line end at the end", original.substr(0, original.size() - 2)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(notSpringFileReason(c.bytes), "");
    Spring s;
    std::vector<std::string> notes;
    parseInputFile(s, ws.num(), c.bytes, &notes);
    EXPECT_TRUE(notes.empty()) << notes.front();
    EXPECT_EQ(s.doc.changes[0].description, "erste Zeile\r\nzweite Zeile");
    EXPECT_EQ(s.doc.changes[1].description, "zwei\r\nZeilen\r\n");
    EXPECT_EQ(inputFileBytes(s, ws.num()), original);
  }
}

// A "|" at the end of a description whose next line is no entry's end is a "|" and nothing more:
// the following lines keep their places.
TEST_F(InputFileTest, ABarWithoutTheEntryRuleJoinsNothing) {
  ws.spring.doc.changeCount = 1;
  ws.spring.doc.changes[0] = {"A", "01.02.2026", "mk", "Ende|"};
  ws.spring.doc.info.author = "Autor";
  std::string bytes = inputFileBytes(ws.spring, ws.num());
  const std::string rule = "Ende|\r\n" + std::string(14, '-') + "\r\n";
  ASSERT_NE(bytes.find(rule), std::string::npos);
  bytes.replace(bytes.find(rule), rule.size(), "Ende|\r\nkein Strich\r\n");
  Spring s;
  parseInputFile(s, ws.num(), bytes);
  EXPECT_EQ(s.doc.changes[0].description, "Ende\r");
  EXPECT_EQ(s.doc.info.author, "Autor");
}

// Descriptions that hold the entry rule themselves, or end in a line break before an entry
// named like the rule, read back from the file the program wrote.
TEST_F(InputFileTest, DescriptionsLikeTheRuleReadBackAsWritten) {
  const std::string rule(14, '-');
  Documentation& d = ws.spring.doc;
  d.changeCount = 3;
  d.changes[0] = {"A", "1", "a", "X\r\n" + rule};
  d.changes[1] = {"B", "2", "b", "Y\r"};
  d.changes[2] = {rule, "3", "c", rule + "\r\n\r\n" + rule + "\r\n"};
  const std::string bytes = inputFileBytes(ws.spring, ws.num());
  Spring s;
  parseInputFile(s, ws.num(), bytes);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(s.doc.changes[i].designation, d.changes[i].designation) << i;
    EXPECT_EQ(s.doc.changes[i].description, d.changes[i].description) << i;
  }
  EXPECT_EQ(inputFileBytes(s, ws.num()), bytes);
}

}  // namespace
}  // namespace velk::test
