// The table browser, the online input form of the design modes and the report text window.
// Text printing lives in tablewindows_print.cpp, the browser's grid in tablewindows_browse.cpp.
#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>
#include <array>
#include <cmath>
#include <functional>

#include "gui/dialogkit.h"
#include "gui/tablewindows_browse.h"
#include "gui/tablewindows_print.h"
#include "gui/text.h"
#include "gui/windows.h"

namespace velk::gui {

// ---- The table browser ----

std::optional<BrowseRequest::Result> run(const WindowEnv& env, const BrowseRequest& request) {
  return RunBrowser(env, request);
}

// ---- The online input form ----

namespace {

// The form tells Esc (texts dropped) from the other ways of closing it.
class OnlineDialog final : public QDialog {
 public:
  using QDialog::QDialog;
  OnlineClose how = OnlineClose::Close;  // the title bar's close and "&Schließen" leave it so
  bool closing = false;                  // focus moves while the form closes are not the user's

  void done(int r) override {
    closing = true;
    QDialog::done(r);
  }

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Escape) how = OnlineClose::Escape;
    QDialog::keyPressEvent(e);
  }
};

// Keys and focus of the edit fields, handed to the form.
class EditWatcher final : public QObject {
 public:
  std::function<bool(QObject*, int key)> onKey;
  std::function<void(QObject*)> onFocus;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::KeyPress && onKey(watched, static_cast<QKeyEvent*>(e)->key())) return true;
    if (e->type() == QEvent::FocusIn) onFocus(watched);
    return false;
  }
};

// The fonts of a form built without layouts follow the dialog-elements scale.
void scaleFont(QWidget& w, const WindowEnv& env) {
  if (env.elementScalePercent == 100 || env.elementScalePercent <= 0) return;
  QFont f = w.font();
  if (f.pointSizeF() > 0) f.setPointSizeF(f.pointSizeF() * env.elementScalePercent / 100.0);
  w.setFont(f);
}

}  // namespace

std::optional<OnlineFormResult> run(const WindowEnv& windowEnv, const OnlineFormRequest& request) {
  const OnlineTable& t = request.table;
  WindowEnv env = windowEnv;
  if (request.help) env.help = request.help;
  const double scale = env.windowScalePercent > 0 ? env.windowScalePercent / 100.0 : 1.0;
  auto px = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
  auto place = [&](QWidget* w, int x, int y, int width, int height) {
    w->setGeometry(px(x), px(y), px(width), px(height));
  };
  const int inCount = std::clamp(t.inCount, 0, kOnlineRows);
  const int outCount = std::clamp(t.outCount, 0, kOnlineRows);
  int focusRow = std::clamp(request.focusRow, 1, std::max(inCount, 1));

  OnlineDialog dialog(env.parent);
  dialog.setObjectName(QStringLiteral("Form_online"));
  dialog.setWindowTitle(qs(request.caption));
  scaleFont(dialog, env);

  auto label = [&](QWidget* parent, const QString& name, const std::string& text, Qt::Alignment align) {
    auto* l = new QLabel(qs(text), parent);
    l->setObjectName(name);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
  };

  // Input group: label, edit field and unit per row.
  auto* inGroup = new QGroupBox(QStringLiteral(" Eingabefeld "), &dialog);
  inGroup->setObjectName(QStringLiteral("GroupBox_in"));
  // Wider than the form it follows by the room a unit such as "Nmm" needs in today's fonts.
  place(inGroup, 10, 5, 166, OnlineGroupHeight(inCount));
  std::array<QLineEdit*, kOnlineRows + 1> edits{};
  for (int i = 1; i <= inCount; ++i) {
    const QString n = QString::number(i);
    const auto row = static_cast<std::size_t>(i);
    QLabel* caption = label(inGroup, QStringLiteral("lb_") + n, t.inLabel[row], Qt::AlignRight);
    place(caption, 6, OnlineRowTop(i), 34, 24);
    auto* edit = new QLineEdit(qs(t.inText[row]), inGroup);
    edit->setObjectName(QStringLiteral("ed_") + n);
    place(edit, 56, OnlineRowTop(i) + 2, 62, 26);
    QLabel* unit = label(inGroup, QStringLiteral("lbeu_") + n, t.inUnit[row], Qt::AlignLeft);
    place(unit, 114 + 6, OnlineRowTop(i), 40, 24);  // clear of the edit field's frame
    setHint(*caption, env, OnlineInputHint(request.helpContext, i));
    setHint(*unit, env, OnlineInputHint(request.helpContext, i));
    edits[row] = edit;
  }

  // Output group: label, value and unit per row.
  auto* outGroup = new QGroupBox(QStringLiteral(" Ausgabefeld "), &dialog);
  outGroup->setObjectName(QStringLiteral("GroupBox_out"));
  place(outGroup, 186, 5, 156, OnlineGroupHeight(outCount));
  for (int i = 1; i <= outCount; ++i) {
    const QString n = QString::number(i);
    const auto row = static_cast<std::size_t>(i);
    const uint16_t hint = OnlineOutputHint(request.helpContext, i);
    QLabel* caption = label(outGroup, QStringLiteral("lbaz_") + n, t.outLabel[row], Qt::AlignLeft);
    place(caption, 8, OnlineRowTop(i), 40, 24);
    QLabel* value = label(outGroup, QStringLiteral("lbaw_") + n, t.outValue[row], Qt::AlignRight);
    place(value, 50, OnlineRowTop(i), 55, 24);
    QLabel* unit = label(outGroup, QStringLiteral("lbau_") + n, t.outUnit[row], Qt::AlignLeft);
    place(unit, 102 + 6, OnlineRowTop(i), 46, 24);
    for (QLabel* l : {caption, value, unit}) setHint(*l, env, hint);
  }

  // Message group: the calculation messages.
  auto* messageGroup = new QGroupBox(QStringLiteral(" Fehlermeldungen "), &dialog);
  messageGroup->setObjectName(QStringLiteral("GroupBox_messages"));
  place(messageGroup, 352, 5, 260, kOnlineMessageGroupHeight);
  for (std::size_t i = 0; i < request.messages.size() && i < 11; ++i) {
    const int n = static_cast<int>(i) + 1;
    QLabel* m = label(messageGroup, QStringLiteral("lber_") + QString::number(n), request.messages[i], Qt::AlignLeft);
    place(m, 10, 27 * n, 240, 24);
  }

  // Buttons.
  const int buttonTop = 5 + kOnlineMessageGroupHeight + 10;
  auto button = [&](const char* name, const QString& text, int x, int width) {
    auto* b = new QPushButton(text, &dialog);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    place(b, x, buttonTop, width, 28);
    return b;
  };
  QPushButton* ok = button("Button_ok", QStringLiteral("OK"), 10, 80);
  ok->setDefault(true);
  QPushButton* helpText = button("Button_hilfe", QStringLiteral("&Hilfe"), 100, 80);
  QPushButton* helpImage = button("Button_hilfebild", QStringLiteral("Hilfe&bild"), 190, 80);
  QPushButton* helpImages = button("Button_hilfebilder", QStringLiteral("Hilfebil&der"), 280, 90);
  QPushButton* close = button("Button_schliessen", QStringLiteral("&Schließen"), 522, 90);
  dialog.setFixedSize(px(622), px(buttonTop + 28 + 10));

  HelpProvider* help = env.help;
  helpText->setEnabled(help != nullptr);
  helpImage->setEnabled(help != nullptr);
  helpImages->setEnabled(help != nullptr);
  QObject::connect(helpText, &QPushButton::clicked, &dialog, [help] { help->showHelpText(1000); });
  QObject::connect(helpImages, &QPushButton::clicked, &dialog, [help] { help->showHelpImages(); });
  QObject::connect(helpImage, &QPushButton::clicked, &dialog,
                   [&] { help->showHelpImage(OnlineInputHint(request.helpContext, focusRow)); });
  QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
    dialog.how = OnlineClose::Confirm;
    dialog.accept();
  });
  QObject::connect(close, &QPushButton::clicked, &dialog, [&] {
    dialog.how = OnlineClose::Close;
    dialog.reject();
  });

  // Keys in the edit fields: Enter confirms, the arrows close to move the focus row.
  EditWatcher watcher;
  auto rowOf = [&](QObject* o) {
    for (int i = 1; i <= inCount; ++i)
      if (edits[static_cast<std::size_t>(i)] == o) return i;
    return 0;
  };
  watcher.onFocus = [&](QObject* o) {
    if (dialog.closing) return;
    if (const int row = rowOf(o)) focusRow = row;
  };
  watcher.onKey = [&](QObject* o, int key) {
    OnlineClose how;
    switch (key) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        how = OnlineClose::Confirm;
        break;
      case Qt::Key_Up:
        how = OnlineClose::Up;
        break;
      case Qt::Key_Down:
        how = OnlineClose::Down;
        break;
      default:
        return false;
    }
    if (const int row = rowOf(o)) focusRow = row;
    dialog.how = how;
    dialog.accept();
    return true;
  };
  for (int i = 1; i <= inCount; ++i) edits[static_cast<std::size_t>(i)]->installEventFilter(&watcher);

  dialog.move(t.left, t.top);
  if (QLineEdit* start = edits[static_cast<std::size_t>(focusRow)]) {
    start->setFocus();
    start->selectAll();
  }
  dialog.exec();

  OnlineFormResult result;
  result.how = dialog.how;
  result.inText = t.inText;
  if (dialog.how != OnlineClose::Escape)
    for (int i = 1; i <= inCount; ++i) {
      const auto row = static_cast<std::size_t>(i);
      result.inText[row] = oemText(edits[row]->text());
    }
  result.focusRow = focusRow;
  result.left = dialog.x();
  result.top = dialog.y();
  return result;
}

// ---- The report text window ----

std::optional<ReportWindowRequest::Result> run(const WindowEnv& env, const ReportWindowRequest& request) {
  QDialog dialog(env.parent);
  dialog.setObjectName(QStringLiteral("TForm_showtextfile"));
  dialog.setWindowTitle(qs(request.caption));
  dialog.setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(&dialog);
  auto* bar = new QMenuBar(&dialog);
  layout->setMenuBar(bar);

  auto* memo = new QPlainTextEdit(&dialog);
  memo->setObjectName(QStringLiteral("Memo1"));
  memo->setReadOnly(true);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo->setFont(PrintoutFont(request.font, request.fontSize, request.fontStyle));
  QStringList lines;
  lines.reserve(static_cast<qsizetype>(request.lines.size()));
  for (const std::string& l : request.lines) lines << qs(l);
  memo->setPlainText(lines.join(QLatin1Char('\n')));
  layout->addWidget(memo, 1);

  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("Button_ok"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  layout->addWidget(buttons);

  ReportWindowController* controller = request.controller;
  auto item = [&](QMenu* menu, const char* name, const QString& text, std::function<void()> run) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    QObject::connect(a, &QAction::triggered, &dialog, std::move(run));
    return a;
  };
  QMenu* file = bar->addMenu(QStringLiteral("&Datei"));
  QAction* print = item(file, "mi_print", QStringLiteral("&Drucken..."), [controller] { controller->print(); });
  QAction* notepad =
      item(file, "mi_notepad", QStringLiteral("Export &Notepad"), [controller] { controller->exportNotepad(); });
  print->setEnabled(controller != nullptr);
  notepad->setEnabled(controller != nullptr);
  file->addSeparator();
  item(file, "mi_exit", QStringLiteral("&Beenden       "), [&] { dialog.accept(); });
  QMenu* editMenu = bar->addMenu(QStringLiteral("&Bearbeiten"));
  item(editMenu, "mi_selectAll", QStringLiteral("Alles aus&wählen"), [memo] { memo->selectAll(); });
  item(editMenu, "mi_copy", QStringLiteral("&Kopieren"), [memo] { memo->copy(); });

  if (request.width > 0 && request.height > 0) {
    dialog.resize(request.width, request.height);
    dialog.move(request.left, request.top);
  } else {
    memo->setMinimumSize(640, 420);  // the first showing's size; the user may shrink it later
    placeDialog(dialog, env);
    memo->setMinimumSize(0, 0);
  }
  memo->setFocus();
  dialog.exec();
  return ReportWindowResult{dialog.x(), dialog.y(), dialog.width(), dialog.height()};
}

}  // namespace velk::gui
