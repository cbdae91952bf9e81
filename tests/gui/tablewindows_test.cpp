// The table browser, the online input form, the report text window and text printing, driven
// as the user drives them.
#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "dialogs/captions.h"
#include "gui/tablewindows_browse.h"
#include "gui/tablewindows_print.h"
#include "gui/windows.h"
#include "guitest.h"
#include "tables/tableservice.h"

namespace velk::gui {
namespace {

using test::findChildNamed;
using test::whileOpen;

class FakeHelp final : public HelpProvider {
 public:
  std::vector<std::string> calls;
  void showHelpText(uint16_t n) override { calls.push_back("text " + std::to_string(n)); }
  void showHelpImage(uint16_t n) override { calls.push_back("image " + std::to_string(n)); }
  void showHelpImages() override { calls.push_back("image list"); }
  std::string hint(uint16_t n) override { return "hint " + std::to_string(n); }
};

// ---- The table browser ----

// A table of three fields (NAME text, E number, AKTIV logical) whose record 3 is marked deleted.
// It answers the grid like the open table and records every command with the current record it
// was given.
class FakeTable final : public BrowseController {
 public:
  std::vector<std::array<std::string, 3>> cells{{"Stahl", "206000", "T"},
                                                {"\x8e"
                                                 "tzstahl",
                                                 "110000", "F"},  // "Ätzstahl", code page 850
                                                {"Alt", "1", "T"},
                                                {"Messing", "100000", "F"}};
  std::vector<bool> deleted{false, false, true, false};
  std::uint32_t current = 2;
  std::uint32_t searchHit = 4;
  int sortPos = 0;
  std::vector<std::string> calls;
  std::string lastCall() const { return calls.empty() ? std::string() : calls.back(); }

  std::vector<std::uint32_t> rows(int mode) override {
    std::vector<std::uint32_t> r;
    for (std::uint32_t n = 1; n <= cells.size(); ++n)
      if (mode != 1 || !deleted[n - 1]) r.push_back(n);
    if (sortPos > 0)
      std::stable_sort(r.begin(), r.end(), [&](std::uint32_t a, std::uint32_t b) {
        return cells[a - 1][sortPos - 1] < cells[b - 1][sortPos - 1];
      });
    return r;
  }
  void setCell(std::uint32_t record, int pos, const std::string& text) override {
    calls.push_back("setCell " + std::to_string(record) + " " + std::to_string(pos) + " " + text);
    cells[record - 1][pos - 1] = text;
  }
  void setDeleted(std::uint32_t record, bool d) override {
    calls.push_back("setDeleted " + std::to_string(record) + (d ? " on" : " off"));
    deleted[record - 1] = d;
  }
  void search() override {
    calls.push_back("search from " + std::to_string(current));
    current = searchHit;
  }
  void searchNext() override {
    calls.push_back("searchNext from " + std::to_string(current));
    current = searchHit;
  }
  void sortByColumn(int pos) override {
    calls.push_back("sort " + std::to_string(pos) + " at " + std::to_string(current));
    sortPos = pos;
  }
  void appendRecord() override {
    calls.push_back("append");
    cells.push_back({"", "", ""});
    deleted.push_back(false);
    current = static_cast<std::uint32_t>(cells.size());
  }
  void pack() override { calls.push_back("pack"); }
  void appendDbf() override { calls.push_back("appendDbf"); }
  void appendDelimited() override { calls.push_back("appendDelimited"); }
  void saveDelimited() override { calls.push_back("saveDelimited"); }
  void exportHtml() override { calls.push_back("exportHtml"); }
  void print() override { calls.push_back("print"); }
  void showFile() override { calls.push_back("showFile"); }

  int fieldCount() override { return 3; }
  std::string fieldName(int pos) override { return std::array<std::string, 3>{"NAME", "E", "AKTIV"}[pos - 1]; }
  char fieldType(int pos) override { return "CNL"[pos - 1]; }
  std::string cellText(std::uint32_t record, int pos) override { return cells[record - 1][pos - 1]; }
  bool isDeleted(std::uint32_t record) override { return deleted[record - 1]; }
  std::uint32_t recordCount() override { return static_cast<std::uint32_t>(cells.size()); }
  std::uint32_t currentRecord() override { return current; }
  void setCurrentRecord(std::uint32_t record) override {
    if (record >= 1 && record <= cells.size()) current = record;
  }
};

BrowseRequest browseRequest(FakeTable& table, int mode) {
  BrowseRequest q;
  q.caption = "Material   ";
  q.title2 = "Material";
  q.mode = mode;
  q.filePath = "/nowhere/velkwst.dbf";
  q.currentRecord = 2;
  q.rows = table.rows(mode);
  q.helpNumber = 2400;
  q.menu = BrowseMenuTexts(kLanguageEnglish);
  q.controller = &table;
  return q;
}

// The record a grid row shows, from the indicator ("3 *" for a deleted record 3).
std::uint32_t recordAt(QTableView* grid, int row) {
  return grid->model()->headerData(row, Qt::Vertical, Qt::DisplayRole).toString().section(' ', 0, 0).toUInt();
}
std::uint32_t currentRecordOf(QTableView* grid) { return recordAt(grid, grid->currentIndex().row()); }

void clickColumnTitle(QTableView* grid, int section) {
  QHeaderView* header = grid->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(section) + 4, header->height() / 2));
}

TEST(TableBrowserWindow, EditModeWritesCellsSortsSearchesAppendsAndReturnsTheRecord) {
  FakeTable table;
  FakeHelp help;
  const BrowseRequest q = browseRequest(table, 2);
  const auto result = whileOpen(
      [&] {
        return run(WindowEnv{nullptr, &help}, q);
      },
      [&](QWidget* w) {
        auto* grid = w->findChild<QTableView*>(QStringLiteral("TzGrid1"));
        ASSERT_NE(grid, nullptr);
        QAbstractItemModel* model = grid->model();
        // All records with their deletion marks; the grid opens on the current record.
        ASSERT_EQ(model->rowCount(), 4);
        EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("NAME"));
        EXPECT_EQ(model->headerData(2, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("3 *"));
        EXPECT_EQ(model->index(0, 2).data(Qt::CheckStateRole).toInt(), Qt::Checked);
        EXPECT_EQ(model->index(1, 0).data().toString(), QStringLiteral("Ätzstahl"));
        EXPECT_EQ(currentRecordOf(grid), 2u);
        EXPECT_TRUE(findChildNamed<QLabel>(w, QStringLiteral("Label_recno"))->text().isEmpty());

        // A cell typed into and confirmed is written through the controller.
        grid->setCurrentIndex(model->index(0, 0));
        grid->edit(grid->currentIndex());
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("Federstahl"));
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();  // the grid writes a confirmed editor through a queued call
        EXPECT_EQ(table.lastCall(), "setCell 1 1 Federstahl");
        EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("Federstahl"));

        // The title of the second column orders the rows by it; record 1 stays current.
        clickColumnTitle(grid, 1);
        EXPECT_EQ(table.lastCall(), "sort 2 at 1");
        std::vector<std::uint32_t> order;
        for (int r = 0; r < model->rowCount(); ++r) order.push_back(recordAt(grid, r));
        EXPECT_EQ(order, (std::vector<std::uint32_t>{3, 4, 2, 1}));
        EXPECT_EQ(currentRecordOf(grid), 1u);

        // Search moves to the record found; the record label follows.
        findChildNamed<QPushButton>(w, QStringLiteral("Button_search"))->click();
        EXPECT_EQ(table.lastCall(), "search from 1");
        EXPECT_EQ(currentRecordOf(grid), 4u);
        EXPECT_EQ(findChildNamed<QLabel>(w, QStringLiteral("Label_recno"))->text(), QStringLiteral("4/4"));

        // Append adds a row and makes it current; the navigator moves from there.
        w->findChild<QAction*>(QStringLiteral("mi_editAppend"))->trigger();
        EXPECT_EQ(table.lastCall(), "append");
        EXPECT_EQ(model->rowCount(), 5);
        EXPECT_EQ(currentRecordOf(grid), 5u);
        findChildNamed<QPushButton>(w, QStringLiteral("nav_next"))->click();
        EXPECT_EQ(currentRecordOf(grid), 3u);
        // Search-next continues from the row the user moved to, and the grid follows the hit.
        table.searchHit = 1;
        table.calls.clear();
        findChildNamed<QPushButton>(w, QStringLiteral("Button_SearchNext"))->click();
        EXPECT_EQ(table.lastCall(), "searchNext from 3");
        EXPECT_EQ(currentRecordOf(grid), 1u);
        // The deletion mark goes to the grid's row.
        findChildNamed<QPushButton>(w, QStringLiteral("nav_prior"))->click();
        findChildNamed<QPushButton>(w, QStringLiteral("nav_delete"))->click();
        EXPECT_EQ(table.lastCall(), "setDeleted 2 on");
        EXPECT_EQ(model->headerData(3, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("2 *"));

        // Menu commands go to the controller.
        for (const char* name : {"mi_editPack", "mi_fileExportHtml", "mi_filePrint", "mi_helpDatei"})
          w->findChild<QAction*>(QLatin1String(name))->trigger();
        w->findChild<QAction*>(QStringLiteral("mi_helpCommon"))->trigger();
        findChildNamed<QPushButton>(w, QStringLiteral("Button_ok"))->click();
      });
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->record, 2u);
  EXPECT_EQ(std::vector<std::string>(table.calls.end() - 4, table.calls.end()),
            (std::vector<std::string>{"pack", "exportHtml", "print", "showFile"}));
  EXPECT_EQ(help.calls, std::vector<std::string>{"text 3210"});
}

TEST(TableBrowserWindow, SelectionModeHidesDeletedRecordsAndRefusesEdits) {
  FakeTable table;
  const BrowseRequest q = browseRequest(table, 1);
  const auto chosen = whileOpen([&] { return run(WindowEnv{}, q); },
                                [&](QWidget* w) {
                                  auto* grid = w->findChild<QTableView*>(QStringLiteral("TzGrid1"));
                                  QAbstractItemModel* model = grid->model();
                                  ASSERT_EQ(model->rowCount(), 3);
                                  for (int r = 0; r < 3; ++r) EXPECT_NE(recordAt(grid, r), 3u);
                                  EXPECT_FALSE(w->findChild<QAction*>(QStringLiteral("mi_editAppend"))->isVisible());
                                  EXPECT_FALSE(w->findChild<QAction*>(QStringLiteral("mi_fileAppenddbf"))->isVisible());
                                  EXPECT_EQ(findChildNamed<QPushButton>(w, QStringLiteral("nav_append")), nullptr);

                                  grid->setFocus();
                                  QTest::keyClicks(grid, QStringLiteral("X"));
                                  QTest::keyClick(grid, Qt::Key_F2);
                                  EXPECT_EQ(grid->viewport()->findChild<QLineEdit*>(), nullptr);
                                  EXPECT_FALSE(model->setData(model->index(0, 0), QStringLiteral("X")));
                                  EXPECT_FALSE(model->flags(model->index(0, 2)).testFlag(Qt::ItemIsUserCheckable));

                                  findChildNamed<QPushButton>(w, QStringLiteral("nav_last"))->click();
                                  findChildNamed<QPushButton>(w, QStringLiteral("Button_ok"))->click();
                                });
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->record, 4u);
  EXPECT_TRUE(table.calls.empty());
  EXPECT_EQ(table.current, 2u) << "moving in the grid alone leaves the table's record to the caller";

  const auto cancelled =
      whileOpen([&] { return run(WindowEnv{}, q); }, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
  EXPECT_FALSE(cancelled.has_value());
}

TEST(TableBrowserWindow, MenusShowTheTextsTheTableServiceGives) {
  FakeTable table;
  BrowseRequest q = browseRequest(table, 2);
  q.menu = BrowseMenuTexts(kLanguageKorean);
  const auto u = [](CapA row) { return QString::fromStdString(captionA(kLanguageKorean, row)); };
  whileOpen([&] { return run(WindowEnv{}, q); },
            [&](QWidget* w) {
              EXPECT_EQ(w->findChild<QMenu*>(QStringLiteral("mi_file"))->title(), u(CapA::Datei));
              EXPECT_EQ(w->findChild<QMenu*>(QStringLiteral("mi_help"))->title(), u(CapA::Hilfe));
              EXPECT_EQ(w->findChild<QAction*>(QStringLiteral("mi_fileExit"))->text(), u(CapA::Beenden));
              EXPECT_EQ(w->findChild<QAction*>(QStringLiteral("mi_helpCommon"))->text(), u(CapA::Sonstige));
              EXPECT_EQ(w->findChild<QAction*>(QStringLiteral("mi_editPack"))->toolTip(),
                        QStringLiteral("Markierte Datensätze löschen"));
              QTest::keyClick(w, Qt::Key_Escape);
            });
}

// ---- The online input form ----

OnlineFormRequest onlineRequest(FakeHelp& help) {
  OnlineFormRequest q;
  q.caption = "VELK    Dimensionierung";
  q.table.inCount = 3;
  q.table.outCount = 2;
  q.table.inLabel = {"", "b", "t", "n0"};
  q.table.inUnit = {"", "mm", "mm", ""};
  q.table.inText = {"", "10", "0.5", "5"};
  q.table.outLabel = {"", "M2", "cT"};
  q.table.outValue = {"", "1200", "3.5"};
  q.table.outUnit = {"", "Nmm", "Nmm/"};
  q.table.left = 40;
  q.table.top = 60;
  q.messages = {"Fehler : t < 0 !"};
  q.focusRow = 2;
  q.helpContext = 6100;
  q.help = &help;
  return q;
}

TEST(OnlineFormWindow, LaysOutTheRowsAndAnswersHintsAndHelp) {
  FakeHelp help;
  const OnlineFormRequest q = onlineRequest(help);
  whileOpen([&] { return run(WindowEnv{}, q); },
            [&](QWidget* w) {
              EXPECT_EQ(w->windowTitle(), QStringLiteral("VELK    Dimensionierung"));
              EXPECT_EQ(findChildNamed<QGroupBox>(w, QStringLiteral("GroupBox_in"))->height(), OnlineGroupHeight(3));
              EXPECT_EQ(findChildNamed<QGroupBox>(w, QStringLiteral("GroupBox_out"))->height(), OnlineGroupHeight(2));
              EXPECT_EQ(findChildNamed<QLineEdit>(w, QStringLiteral("ed_3"))->y(), OnlineRowTop(3) + 2);
              EXPECT_EQ(findChildNamed<QLineEdit>(w, QStringLiteral("ed_4")), nullptr);
              EXPECT_EQ(findChildNamed<QLabel>(w, QStringLiteral("lb_2"))->text(), QStringLiteral("t"));
              EXPECT_EQ(findChildNamed<QLabel>(w, QStringLiteral("lbaw_1"))->text(), QStringLiteral("1200"));
              EXPECT_EQ(findChildNamed<QLabel>(w, QStringLiteral("lber_1"))->text(),
                        QStringLiteral("Fehler : t < 0 !"));
              EXPECT_EQ(findChildNamed<QLabel>(w, QStringLiteral("lber_2")), nullptr);
              EXPECT_EQ(findChildNamed<QLabel>(w, QStringLiteral("lbeu_2"))->toolTip(), QStringLiteral("hint 6105"));
              EXPECT_EQ(findChildNamed<QLabel>(w, QStringLiteral("lbau_1"))->toolTip(), QStringLiteral("hint 6170"));
              EXPECT_EQ(w->focusWidget(), findChildNamed<QLineEdit>(w, QStringLiteral("ed_2")));
              findChildNamed<QPushButton>(w, QStringLiteral("&Hilfe"))->click();
              findChildNamed<QPushButton>(w, QStringLiteral("Hilfe&bild"))->click();
              findChildNamed<QPushButton>(w, QStringLiteral("Hilfebil&der"))->click();
              EXPECT_TRUE(w->isVisible()) << "the form stays open over the image list";
              findChildNamed<QPushButton>(w, QStringLiteral("OK"))->click();
            });
  EXPECT_EQ(help.calls, (std::vector<std::string>{"text 1000", "image 6105", "image list"}));
}

TEST(OnlineFormWindow, EachWayOfLeavingReportsHowWithTheTextsAndThePosition) {
  struct Case {
    const char* name;
    std::function<void(QWidget* window, QLineEdit* edit)> leave;
    OnlineClose how;
    bool textsTaken;
  };
  const std::vector<Case> cases = {
      {"Down", [](QWidget*, QLineEdit* e) { QTest::keyClick(e, Qt::Key_Down); }, OnlineClose::Down, true},
      {"Up", [](QWidget*, QLineEdit* e) { QTest::keyClick(e, Qt::Key_Up); }, OnlineClose::Up, true},
      {"Enter", [](QWidget*, QLineEdit* e) { QTest::keyClick(e, Qt::Key_Return); }, OnlineClose::Confirm, true},
      {"Esc", [](QWidget*, QLineEdit* e) { QTest::keyClick(e, Qt::Key_Escape); }, OnlineClose::Escape, false},
      {"Schliessen",
       [](QWidget* w, QLineEdit*) { findChildNamed<QPushButton>(w, QStringLiteral("&Schließen"))->click(); },
       OnlineClose::Close, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeHelp help;
    const OnlineFormRequest q = onlineRequest(help);
    const auto result = whileOpen([&] { return run(WindowEnv{}, q); },
                                  [&](QWidget* w) {
                                    auto* edit = findChildNamed<QLineEdit>(w, QStringLiteral("ed_2"));
                                    // The field opens selected: typing replaces the value (12 characters, cut by the
                                    // caller).
                                    QTest::keyClicks(edit, QStringLiteral("0,8123456789"));
                                    c.leave(w, edit);
                                  });
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->how, c.how);
    EXPECT_EQ(result->focusRow, 2);
    EXPECT_EQ(result->inText[1], "10");
    EXPECT_EQ(result->inText[2], c.textsTaken ? "0,8123456789" : "0.5");
    EXPECT_EQ(result->left, 40);
    EXPECT_EQ(result->top, 60);
  }
}

// ---- The report text window ----

class FakeReportButtons final : public ReportWindowController {
 public:
  std::vector<std::string> calls;
  void print() override { calls.push_back("print"); }
  void exportNotepad() override { calls.push_back("notepad"); }
};

TEST(ReportTextWindow, ShowsTheLinesRunsItsMenusAndReportsWhereItWas) {
  FakeReportButtons buttons;
  ReportWindowRequest q;
  q.caption = "VELK - /tmp/outwin.txt";
  q.lines = {"Federrate  cT",
             "\x8e"
             "nderung"};  // "Änderung" in code page 850
  q.font = "Courier New";
  q.left = 30, q.top = 40, q.width = 520, q.height = 310;
  q.controller = &buttons;
  const auto where = whileOpen([&] { return run(WindowEnv{}, q); },
                               [&](QWidget* w) {
                                 auto* memo = w->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
                                 ASSERT_NE(memo, nullptr);
                                 EXPECT_TRUE(memo->isReadOnly());
                                 EXPECT_EQ(memo->toPlainText(), QStringLiteral("Federrate  cT\nÄnderung"));
                                 EXPECT_TRUE(memo->font().fixedPitch());
                                 w->findChild<QAction*>(QStringLiteral("mi_print"))->trigger();
                                 w->findChild<QAction*>(QStringLiteral("mi_notepad"))->trigger();
                                 w->findChild<QAction*>(QStringLiteral("mi_exit"))->trigger();
                               });
  EXPECT_EQ(buttons.calls, (std::vector<std::string>{"print", "notepad"}));
  ASSERT_TRUE(where.has_value());
  EXPECT_EQ(where->left, 30);
  EXPECT_EQ(where->top, 40);
  EXPECT_EQ(where->width, 520);
  EXPECT_EQ(where->height, 310);

  // Without a saved position the window still reports where it was, Esc closing it.
  q.width = q.height = 0;
  const auto first =
      whileOpen([&] { return run(WindowEnv{}, q); }, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
  ASSERT_TRUE(first.has_value());
  EXPECT_GT(first->width, 0);
  EXPECT_GT(first->height, 0);
}

// ---- Printing a text file ----

// Page objects of a PDF file (not the page tree, "/Type /Pages").
int pdfPageCount(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return -1;
  const QString bytes = QString::fromLatin1(f.readAll());
  return static_cast<int>(bytes.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

PrintTextRequest threePages() {
  PrintTextRequest q;
  q.documentName = "$OUT1.TMP";
  q.lines = {"Seite 1", "Zeile", "\f", "Seite 2", "\f", "Seite 3", "\f"};
  q.pageCount = 3;
  q.linesPerPage = 66;
  q.font = "Courier New";
  return q;
}

TEST(PrintTextWindow, DrawsTheChosenRangeOnePrinterPageEach) {
  struct Case {
    int first, last, sheets;
  };
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const Case c : {Case{1, 3, 3}, Case{2, 3, 2}, Case{3, 3, 1}}) {
    SCOPED_TRACE(std::to_string(c.first) + ".." + std::to_string(c.last));
    const QString path = dir.filePath(QStringLiteral("range%1-%2.pdf").arg(c.first).arg(c.last));
    int drawn = 0;
    {
      QPdfWriter pdf(path);
      QPainter painter(&pdf);
      drawn = DrawTextPages(painter, pdf, threePages(), c.first, c.last);
    }
    EXPECT_EQ(drawn, c.sheets);
    EXPECT_EQ(pdfPageCount(path), c.sheets);
  }
}

TEST(PrintTextWindow, WithoutAPrinterWritesTheWholeTextIntoTheNamedPdf) {
  if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "a printer is installed";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("bericht.pdf"));
  const auto printed = whileOpen([&] { return run(WindowEnv{}, threePages()); },
                                 [&](QWidget* w) {
                                   auto* name = w->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                                   ASSERT_NE(name, nullptr);
                                   name->setText(path);
                                   QTest::keyClick(name, Qt::Key_Return);
                                 });
  ASSERT_TRUE(printed.has_value());
  EXPECT_FALSE(printed->noPrinter) << "written, so not a failure";
  EXPECT_EQ(printed->pdfPath, path.toStdString());
  EXPECT_EQ(pdfPageCount(path), 3);

  const auto cancelled =
      whileOpen([&] { return run(WindowEnv{}, threePages()); }, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
  EXPECT_FALSE(cancelled.has_value());
}

}  // namespace
}  // namespace velk::gui
