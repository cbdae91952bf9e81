// The value dialogs, message boxes, file choosers and small forms, each driven once as a user
// would: keys, buttons, cancel, and what comes back.
#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <utility>
#include <vector>

#include "base/codepage.h"
#include "gui/windows.h"
#include "guitest.h"
#include "support/fixture.h"

// Readable failures for Qt's strings.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace velk::gui {
namespace {

using test::findChildNamed;
using test::whileOpen;

struct FakeHelp : HelpProvider {
  std::vector<std::pair<char, int>> calls;  // 't' text, 'i' image
  void showHelpText(uint16_t n) override { calls.emplace_back('t', n); }
  void showHelpImage(uint16_t n) override { calls.emplace_back('i', n); }
  void showHelpImages() override { calls.emplace_back('l', 0); }
  std::string hint(uint16_t n) override { return "hint " + std::to_string(n); }
};

class BasicDialogs : public ::testing::Test {
 protected:
  FakeHelp help;
  WindowEnv env{nullptr, &help, 100, 100};
};

void click(QWidget* w, const QString& name) {
  auto* b = findChildNamed<QAbstractButton>(w, name);
  ASSERT_NE(b, nullptr) << name.toStdString();
  // A radio button answers clicks on its circle and text only, not on the rest of its row.
  const QPoint at = qobject_cast<QRadioButton*>(b) ? QPoint(4, b->height() / 2) : b->rect().center();
  QTest::mouseClick(b, Qt::LeftButton, {}, at);
}

template <typename T>
T* child(QWidget* w, const char* name) {
  T* c = w->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(c, nullptr) << name;
  return c;
}

void escape(QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }

TEST_F(BasicDialogs, TextDialogLimitsTheTextAndKeepsOpenForHelp) {
  const auto result = whileOpen(
      [&] {
        return run(env, TextRequest{"Eingabe", "Wert", oem("ä"), 5, 1234});
      },
      [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), "Eingabe");
        auto* edit = child<QLineEdit>(w, "edit");
        EXPECT_EQ(edit->text(), QString::fromUtf8("ä"));
        QTest::keyClick(edit, Qt::Key_End);  // the text opens selected
        QTest::keyClicks(edit, "bcdefgh");
        EXPECT_EQ(edit->text(), QString::fromUtf8("äbcde"));
        click(w, "&Hilfetext");
        click(w, "Hilfe&bild");
        EXPECT_TRUE(w->isVisible());
        QTest::keyClick(edit, Qt::Key_Return);
      });
  ASSERT_TRUE(result);
  EXPECT_EQ(result->text, oem("äbcde"));
  EXPECT_EQ(help.calls, (std::vector<std::pair<char, int>>{{'t', 1234}, {'i', 1234}}));
}

TEST_F(BasicDialogs, EscapeOrAbbrechenCancels) {
  const std::vector<std::pair<std::string, std::function<bool()>>> cases = {
      {"text", [&] { return run(env, TextRequest{}).has_value(); }},
      {"radio",
       [&] {
         return run(env, RadioRequest{"p", {"a", "b"}, 1, 0}).has_value();
       }},
      {"list",
       [&] {
         return run(env, ListRequest{"p", {"a", "b"}, 1, 0}).has_value();
       }},
      {"yes/no",
       [&] {
         return run(env, YesNoRequest{"p", true, 0}).has_value();
       }},
      {"question",
       [&] {
         return run(env, QuestionRequest{"VELK", "?"}).has_value();
       }},
      {"explanation",
       [&] {
         return run(env, ExplanationRequest{"m", "c", "r", 1970}).has_value();
       }},
      {"limits",
       [&] {
         return run(env, DiagramLimitsRequest{"t", "x", "y", {"0", "1", "0", "1"}, {}, 1950}).has_value();
       }},
      {"angle",
       [&] {
         return run(env, InstallationAngleRequest{"VELK", "Grad", "5", {}, 0, 10, 6610}).has_value();
       }},
      {"texts", [&] { return run(env, SpringTextsRequest{}).has_value(); }},
      {"change", [&] { return run(env, ChangeEntryRequest{}).has_value(); }},
      {"drawing info", [&] { return run(env, DrawingInfoRequest{}).has_value(); }},
      {"documents", [&] { return run(env, DocumentSetupRequest{}).has_value(); }},
  };
  for (const auto& [name, open] : cases) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(whileOpen(open, escape));
    if (name == "explanation") continue;  // only "OK" and "&Hilfe"
    EXPECT_FALSE(whileOpen(open, [](QWidget* w) { click(w, "cancel"); }));
  }
  EXPECT_TRUE(help.calls.empty());
}

TEST_F(BasicDialogs, RadioDialogPreselectsAndReturnsTheCheckedItem) {
  struct Case {
    int preset, expectChecked;
    const char* clickItem;
    int expect;
  };
  for (const Case& c : {Case{2, 2, "item3", 3}, Case{9, 1, nullptr, 1}, Case{0, 1, "item2", 2}}) {
    SCOPED_TRACE(c.preset);
    const auto result = whileOpen(
        [&] {
          return run(env, RadioRequest{"Wahl", {"a", "b", "c"}, c.preset, 7});
        },
        [&](QWidget* w) {
          EXPECT_EQ(w->windowTitle(), "Auswahl");
          auto* checked = child<QRadioButton>(w, ("item" + std::to_string(c.expectChecked)).c_str());
          EXPECT_TRUE(checked->isChecked());
          if (c.clickItem) click(w, c.clickItem);
          QTest::keyClick(w, Qt::Key_Return);
        });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->index, c.expect);
  }
}

TEST_F(BasicDialogs, DialogsArePlacedOverTheMainWindow) {
  QWidget main;
  main.setGeometry(100, 80, 900, 700);
  main.show();
  WindowEnv placed = env;
  placed.parent = &main;
  whileOpen(
      [&] {
        return run(placed, RadioRequest{"Wahl", {"a", "b"}, 1, 0});
      },
      [&](QWidget* w) {
        const QRect m = main.frameGeometry();
        EXPECT_EQ(w->x(), m.left() + (m.width() - w->width()) / 2);
        EXPECT_EQ(w->y(), m.top() + (m.height() - w->height()) / 2 + 20);
        escape(w);
      });
}

TEST_F(BasicDialogs, ListDialogChoosesWithEnterOrDoubleClick) {
  std::vector<std::string> items;
  for (int i = 1; i <= 10; ++i) items.push_back("Eintrag " + std::to_string(i));
  auto withEnter = whileOpen(
      [&] {
        return run(env, ListRequest{"Wahl", items, 8, 0});
      },
      [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), "Auswahl");
        auto* list = child<QListWidget>(w, "list");
        EXPECT_EQ(list->currentRow(), 7);
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
      });
  ASSERT_TRUE(withEnter);
  EXPECT_EQ(withEnter->index, 9);

  auto withDoubleClick = whileOpen(
      [&] {
        return run(env, ListRequest{"Wahl", items, 11, 0});
      },
      [](QWidget* w) {
        auto* list = child<QListWidget>(w, "list");
        EXPECT_EQ(list->currentRow(), 0);  // out of range: the first item
        QListWidgetItem* third = list->item(2);
        list->scrollToItem(third);
        const QPoint at = list->visualItemRect(third).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
      });
  ASSERT_TRUE(withDoubleClick);
  EXPECT_EQ(withDoubleClick->index, 3);
}

TEST_F(BasicDialogs, YesNoDialogPresetAndAnswer) {
  for (const bool preset : {true, false}) {
    SCOPED_TRACE(preset);
    const auto result = whileOpen(
        [&] {
          return run(env, YesNoRequest{"Sicher ?", preset, 0});
        },
        [&](QWidget* w) {
          EXPECT_EQ(w->windowTitle(), "Eingabe");
          EXPECT_EQ(child<QRadioButton>(w, "yes")->isChecked(), preset);
          EXPECT_EQ(child<QRadioButton>(w, "no")->isChecked(), !preset);
          click(w, preset ? "&Nein" : "&Ja");
          click(w, "ok");
        });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->yes, !preset);
  }
}

TEST_F(BasicDialogs, QuestionBoxAnswers) {
  struct Case {
    const char* button;
    std::optional<bool> expect;
  };
  for (const Case& c : {Case{"yes", true}, Case{"no", false}, Case{"cancel", std::nullopt}}) {
    SCOPED_TRACE(c.button);
    const auto result = whileOpen(
        [&] {
          return run(env, QuestionRequest{"VELK", oem("Löschen ?")});
        },
        [&](QWidget* w) {
          auto* box = qobject_cast<QMessageBox*>(w);
          ASSERT_NE(box, nullptr);
          EXPECT_EQ(box->windowTitle(), "VELK");
          EXPECT_EQ(box->text(), QString::fromUtf8("Löschen ?"));
          EXPECT_EQ(box->icon(), QMessageBox::Question);
          click(w, c.button);
        });
    EXPECT_EQ(result.has_value(), c.expect.has_value());
    if (result && c.expect) {
      EXPECT_EQ(result->yes, *c.expect);
    }
  }
}

TEST_F(BasicDialogs, MessageBoxesByKind) {
  struct Case {
    MessageKind kind;
    const char* caption;
    QMessageBox::Icon icon;
  };
  for (const Case& c : {Case{MessageKind::Error, "Fehler : ", QMessageBox::Critical},
                        Case{MessageKind::Info, "Meldung:", QMessageBox::Information},
                        Case{MessageKind::Titled, "Meldung", QMessageBox::NoIcon}}) {
    SCOPED_TRACE(c.caption);
    const auto result = whileOpen(
        [&] {
          return run(env, MessageRequest{c.kind, c.caption, "Text"});
        },
        [&](QWidget* w) {
          auto* box = qobject_cast<QMessageBox*>(w);
          ASSERT_NE(box, nullptr);
          EXPECT_EQ(box->windowTitle(), c.caption);
          EXPECT_EQ(box->icon(), c.icon);
          click(w, "ok");
        });
    EXPECT_TRUE(result);
  }
}

TEST_F(BasicDialogs, TextWindowShowsTheLines) {
  const auto result = whileOpen(
      [&] {
        return run(env, TextWindowRequest{"VELK", {"eins", oem("zwei ü")}});
      },
      [](QWidget* w) {
        EXPECT_EQ(child<QPlainTextEdit>(w, "text")->toPlainText(), QString::fromUtf8("eins\nzwei ü"));
        click(w, "OK");
      });
  EXPECT_TRUE(result);
}

// Names the file in the chooser's own name field and presses its accept button.
void chooseName(QWidget* w, const QString& name) {
  auto* dialog = qobject_cast<QFileDialog*>(w);
  ASSERT_NE(dialog, nullptr);
  child<QLineEdit>(w, "fileNameEdit")->setText(name);
  auto* box = child<QDialogButtonBox>(w, "buttonBox");
  QPushButton* accept =
      box->button(dialog->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save : QDialogButtonBox::Open);
  ASSERT_NE(accept, nullptr);
  ASSERT_TRUE(accept->isEnabled());
  QTest::mouseClick(accept, Qt::LeftButton);
}

TEST_F(BasicDialogs, FileChoosers) {
  test::TempDir dir;
  test::writeFile(dir.file("a.vlk"), "x");
  std::filesystem::create_directory(dir.file("sub"));
  const std::string folder = dir.path().substr(0, dir.path().size() - 1);

  // Filters: "description|pattern" pairs, several patterns with ";".
  whileOpen(
      [&] {
        return run(env, OpenFileRequest{"Append", folder, "HTML files|*.HTM;*.HTML|All files|*.*", {}});
      },
      [](QWidget* w) {
        EXPECT_EQ(qobject_cast<QFileDialog*>(w)->nameFilters(),
                  (QStringList{"HTML files (*.HTM *.HTML)", "All files (*.*)"}));
        EXPECT_EQ(w->windowTitle(), "Append");
        escape(w);
      });

  const auto opened = whileOpen(
      [&] {
        return run(env, OpenFileRequest{{}, folder, "*.vlk|*.vlk", {}});
      },
      [&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        EXPECT_EQ(d->nameFilters(), QStringList{"*.vlk"});
        EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(d->directory().absolutePath(), QString::fromStdString(folder));
        chooseName(w, "a.vlk");
      });
  ASSERT_TRUE(opened);
  EXPECT_TRUE(std::filesystem::equivalent(opened->path, dir.file("a.vlk"))) << opened->path;

  // The callers ask before overwriting: the chooser returns an existing name at once.
  const auto saved = whileOpen(
      [&] {
        return run(env, SaveFileRequest{{}, folder, "*.vlk|*.vlk", "a.vlk"});
      },
      [](QWidget* w) {
        EXPECT_EQ(child<QLineEdit>(w, "fileNameEdit")->text(), "a.vlk");
        chooseName(w, "a.vlk");
      });
  ASSERT_TRUE(saved);
  EXPECT_TRUE(std::filesystem::equivalent(saved->path, dir.file("a.vlk"))) << saved->path;

  const auto chosenFolder = whileOpen(
      [&] {
        return run(env, FolderRequest{"Select Directory", folder});
      },
      [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), "Select Directory");
        chooseName(w, "sub");
      });
  ASSERT_TRUE(chosenFolder);
  EXPECT_TRUE(std::filesystem::equivalent(chosenFolder->path, dir.file("sub"))) << chosenFolder->path;

  EXPECT_FALSE(whileOpen([&] { return run(env, SaveFileRequest{{}, folder, "*.txt|*.txt", {}}); }, escape));
}

TEST_F(BasicDialogs, ExplanationWindowReportsEdits) {
  for (const bool type : {false, true}) {
    SCOPED_TRACE(type);
    const auto result = whileOpen(
        [&] {
          return run(env, ExplanationRequest{"Fehler : t > b !", "Ursache", "Abhilfe", 1970});
        },
        [&](QWidget* w) {
          EXPECT_EQ(w->windowTitle(), "Fehlermeldung");
          auto* message = child<QLineEdit>(w, "message");
          EXPECT_TRUE(message->isReadOnly());
          EXPECT_EQ(message->text(), "Fehler : t > b !");
          click(w, "&Hilfe");
          if (type) {
            auto* remedy = child<QPlainTextEdit>(w, "remedy");
            remedy->moveCursor(QTextCursor::End);
            QTest::keyClicks(remedy, " neu");
          }
          click(w, "ok");
        });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->edited, type);
    EXPECT_EQ(result->cause, "Ursache");
    EXPECT_EQ(result->remedy, type ? "Abhilfe neu" : "Abhilfe");
  }
  EXPECT_EQ(help.calls, (std::vector<std::pair<char, int>>{{'t', 1970}, {'t', 1970}}));
}

TEST_F(BasicDialogs, DiagramLimitsCalculateFillsTheAutomaticRanges) {
  const DiagramLimitsRequest request{"Goodman", "sigma u", "sigma o", {"0", "1", "0", "1"}, {"0", "800", "-10", "90"},
                                     1950};
  const auto result = whileOpen([&] { return run(env, request); },
                                [](QWidget* w) {
                                  EXPECT_EQ(w->windowTitle(), "Goodman");
                                  EXPECT_EQ(child<QLabel>(w, "labelX")->text(), "sigma u");
                                  EXPECT_EQ(child<QLabel>(w, "labelY")->text(), "sigma o");
                                  EXPECT_EQ(child<QLineEdit>(w, "xmax")->text(), "1");
                                  click(w, "calc");
                                  EXPECT_TRUE(w->isVisible());
                                  EXPECT_EQ(child<QLineEdit>(w, "ymin")->text(), "-10");
                                  auto* xmin = child<QLineEdit>(w, "xmin");
                                  xmin->selectAll();
                                  QTest::keyClicks(xmin, "5,5");
                                  click(w, "&Hilfetext");
                                  click(w, "ok");
                                });
  ASSERT_TRUE(result);
  EXPECT_EQ(result->values, (std::vector<std::string>{"5,5", "800", "-10", "90"}));
  EXPECT_EQ(help.calls, (std::vector<std::pair<char, int>>{{'t', 1950}}));
}

TEST_F(BasicDialogs, InstallationAnglePresetsAndTrackBar) {
  const InstallationAngleRequest request{"VELK", "Grad", "100", {"10", "20", "30", "40,5"}, 11, 40, 6610};
  const auto result = whileOpen([&] { return run(env, request); },
                                [](QWidget* w) {
                                  auto* edit = child<QLineEdit>(w, "edit");
                                  auto* track = child<QSlider>(w, "track");
                                  EXPECT_EQ(edit->text(), "100");
                                  EXPECT_EQ(track->minimum(), 11);
                                  EXPECT_EQ(track->maximum(), 40);
                                  click(w, "l1");  // delta 1
                                  EXPECT_EQ(edit->text(), "30");
                                  EXPECT_EQ(track->value(), 30);
                                  click(w, "l0");  // beyond the track bar's end: the text stays as the preset has it
                                  EXPECT_EQ(edit->text(), "40,5");
                                  EXPECT_EQ(track->value(), 40);
                                  QTest::keyClick(track, Qt::Key_Left);  // the user's move writes the position
                                  EXPECT_EQ(edit->text(), "39");
                                  edit->selectAll();
                                  QTest::keyClicks(edit, "12,6");
                                  EXPECT_EQ(track->value(), 13);
                                  EXPECT_EQ(edit->text(), "12,6");
                                  click(w, "up");  // "^"
                                  EXPECT_EQ(edit->text(), "13");
                                  click(w, "&Hilfetext");
                                  click(w, "ok");
                                });
  ASSERT_TRUE(result);
  EXPECT_EQ(result->value, "13");
  EXPECT_EQ(help.calls, (std::vector<std::pair<char, int>>{{'t', 6610}}));
}

TEST_F(BasicDialogs, SpringTextsLimitEachFieldAndUseTheRequestsHelp) {
  FakeHelp own;
  SpringTextsRequest request;
  request.caption = "Eingabe";
  request.labels = {"Zeichnungsname", "Zeichnungsname 2", "Zeichnungsnummer", "Zeile 1", "Zeile 2"};
  request.values = {"Feder", "", "", "b1", "b2"};
  request.lengths = {25, 30, 3, 65, 65};
  request.helpNumber = 1010;
  request.help = &own;
  const auto result = whileOpen([&] { return run(env, request); },
                                [](QWidget* w) {
                                  QTest::keyClicks(child<QLineEdit>(w, "zeichnr"), "12345");
                                  QTest::keyClicks(child<QLineEdit>(w, "zeichname2"), "zwei");
                                  click(w, "Hilfe&bild");
                                  click(w, "ok");
                                });
  ASSERT_TRUE(result);
  EXPECT_EQ(result->zeichname, "Feder");
  EXPECT_EQ(result->zeichname2, "zwei");
  EXPECT_EQ(result->zeichnr, "123");
  EXPECT_EQ(result->bemerk2, "b2");
  EXPECT_EQ(own.calls, (std::vector<std::pair<char, int>>{{'i', 1010}}));
  EXPECT_TRUE(help.calls.empty());
}

TEST_F(BasicDialogs, ChangeEntryTodayButtonAndDescription) {
  ChangeEntryRequest request;
  request.caption = oem("Änderung 2");
  request.designation = "A1";
  request.description = "eins\r\nzwei";
  request.today = "10.12.2024";
  const auto result = whileOpen([&] { return run(env, request); },
                                [](QWidget* w) {
                                  EXPECT_EQ(w->windowTitle(), QString::fromUtf8("Änderung 2"));
                                  auto* description = child<QPlainTextEdit>(w, "description");
                                  EXPECT_EQ(description->toPlainText(), "eins\nzwei");
                                  click(w, "<10.12.2024");
                                  QTest::keyClicks(child<QLineEdit>(w, "editor"), "MuellerX");
                                  click(w, "&Hilfe");
                                  click(w, "ok");
                                });
  ASSERT_TRUE(result);
  EXPECT_EQ(result->designation, "A1");
  EXPECT_EQ(result->date, "10.12.2024");
  EXPECT_EQ(result->editor, "Muell");
  EXPECT_EQ(result->description, "eins\nzwei");
  EXPECT_EQ(help.calls, (std::vector<std::pair<char, int>>{{'t', 3000}}));
}

TEST_F(BasicDialogs, DrawingInfoTodayButtonsAndFreeTexts) {
  DrawingInfoRequest request;
  request.caption = "Zeichnungsinfo";
  request.rowTitles = {"Bearb.", "Gepr.", "Norm", "Frei"};
  request.people[0] = {"01.01.2024", "AB"};
  request.freeTexts[0] = {"1", "2", "3", "0", "Text"};
  request.today = "10.12.2024";
  request.textLength = 5;
  const auto result =
      whileOpen([&] { return run(env, request); },
                [](QWidget* w) {
                  auto* people = child<QTableWidget>(w, "people");
                  EXPECT_EQ(people->verticalHeaderItem(3)->text(), "Frei");
                  click(w, "today3");
                  EXPECT_EQ(people->item(2, 0)->text(), "10.12.2024");
                  auto* texts = child<QTableWidget>(w, "freeTexts");
                  texts->editItem(texts->item(1, 4));
                  auto* editor = texts->viewport()->findChild<QLineEdit*>();
                  ASSERT_NE(editor, nullptr);
                  QTest::keyClicks(editor, "abcdefg");
                  QTest::keyClick(editor, Qt::Key_Return);
                  QCoreApplication::processEvents();  // the grid takes the typed text in on its next turn
                  QTest::keyClicks(child<QLineEdit>(w, "replaces"), "Z-1");
                  click(w, "&Hilfe");
                  click(w, "ok");
                });
  ASSERT_TRUE(result);
  EXPECT_EQ(result->replaces, "Z-1");
  EXPECT_EQ(result->people[0][1], "AB");
  EXPECT_EQ(result->people[2][0], "10.12.2024");
  EXPECT_EQ(result->people[3][0], "");
  EXPECT_EQ(result->freeTexts[0][4], "Text");
  EXPECT_EQ(result->freeTexts[1][4], "abcde");
  EXPECT_EQ(help.calls, (std::vector<std::pair<char, int>>{{'t', 3010}}));
}

TEST_F(BasicDialogs, DocumentSetupBrowsesEachField) {
  std::vector<std::pair<int, std::string>> asked;
  DocumentSetupRequest request;
  request.caption = "Document Setup";
  request.programs = {"NOTEPAD.EXE", "prog2", "", "", ""};
  request.files = {"", "file2", "", "", ""};
  request.browse = [&](int field, std::string& text) {
    asked.emplace_back(field, text);
    if (field != 3) return false;
    text = "/usr/bin/other";
    return true;
  };
  const auto result = whileOpen([&] { return run(env, request); },
                                [](QWidget* w) {
                                  EXPECT_EQ(child<QLineEdit>(w, "program1")->toolTip(), "hint 2710");
                                  EXPECT_EQ(child<QLineEdit>(w, "file5")->toolTip(), "hint 2720");
                                  click(w, "browseProgram2");
                                  click(w, "browseFile2");
                                  click(w, "&Hilfetext");
                                  click(w, "ok");
                                });
  ASSERT_TRUE(result);
  EXPECT_EQ(asked, (std::vector<std::pair<int, std::string>>{{3, "prog2"}, {4, "file2"}}));
  EXPECT_EQ(result->programs[0], "NOTEPAD.EXE");
  EXPECT_EQ(result->programs[1], "/usr/bin/other");
  EXPECT_EQ(result->files[1], "file2");
  EXPECT_EQ(help.calls, (std::vector<std::pair<char, int>>{{'t', 2730}}));
}

TEST_F(BasicDialogs, HelpImageBrowserActions) {
  struct Case {
    const char* name;
    int selected;  // as the window opens
    std::function<void(QWidget*)> act;
    HelpImageAction action;
    int expectSelected;
  };
  auto press = [](const char* button) { return [button](QWidget* w) { click(w, button); }; };
  const std::vector<Case> cases = {
      {"list", 2, [](QWidget* w) { QTest::keyClick(child<QComboBox>(w, "list"), Qt::Key_Down); }, HelpImageAction::Show,
       3},
      {"up", 2, press("up"), HelpImageAction::Show, 1},
      {"down at the end", 3, press("down"), HelpImageAction::Show, 3},
      {"down from none", 0, press("down"), HelpImageAction::Show, 1},
      {"new", 2, press("new"), HelpImageAction::New, 0},
      {"delete", 2, press("delete"), HelpImageAction::Delete, 2},
      {"change", 1, press("change"), HelpImageAction::Change, 1},
      {"insert", 3, press("insert"), HelpImageAction::Insert, 3},
      {"ok", 2, press("ok"), HelpImageAction::Leave, 2},
      {"escape", 2, escape, HelpImageAction::Leave, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HelpImagesRequest request;
    request.caption = "VELK Hilfebilder";
    request.items = {"spring1 : eins", "spring2 : zwei", "spring3 : drei"};
    request.selected = c.selected;
    request.left = 40;
    request.top = 30;
    const auto result = whileOpen([&] { return run(env, request); },
                                  [&](QWidget* w) {
                                    EXPECT_EQ(w->windowTitle(), "VELK Hilfebilder");
                                    EXPECT_EQ(child<QComboBox>(w, "list")->currentIndex(), c.selected - 1);
                                    c.act(w);
                                  });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->action, c.action);
    EXPECT_EQ(result->selected, c.expectSelected);
    EXPECT_EQ(result->left, 40);
    EXPECT_EQ(result->top, 30);
  }
}

TEST_F(BasicDialogs, HelpImageBrowserHelpKeepsItOpen) {
  int helped = 0;
  HelpImagesRequest request;
  request.items = {"a", "b"};
  request.onHelp = [&] { ++helped; };
  const auto result = whileOpen([&] { return run(env, request); },
                                [](QWidget* w) {
                                  click(w, "help");
                                  EXPECT_TRUE(w->isVisible());
                                  click(w, "ok");
                                });
  ASSERT_TRUE(result);
  EXPECT_EQ(helped, 1);
  EXPECT_EQ(result->action, HelpImageAction::Leave);
}

}  // namespace
}  // namespace velk::gui
