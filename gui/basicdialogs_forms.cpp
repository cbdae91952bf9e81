// The small forms: message explanation, diagram limits, installation angle, the spring's texts,
// the drawing documentation forms (change entry, drawing information, document setup) and the
// help image browser. Each shows what its request holds and hands back what the user left.
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <climits>
#include <cmath>

#include "base/numfmt.h"
#include "gui/basicdialogs_kit.h"
#include "gui/dialogkit.h"
#include "gui/text.h"
#include "gui/windows.h"

namespace velk::gui {

using basic::actionButton;
using basic::okCancelBox;

namespace {

QLineEdit* lineEdit(QWidget* parent, const char* name, const std::string& text, int maxLength = 0) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  if (maxLength > 0) edit->setMaxLength(maxLength);
  edit->setText(qs(text));
  return edit;
}

QPlainTextEdit* memo(QWidget* parent, const char* name, const QString& text, int lines) {
  auto* m = new QPlainTextEdit(parent);
  m->setObjectName(QString::fromLatin1(name));
  m->setTabChangesFocus(true);
  m->setPlainText(text);
  m->setMinimumHeight(m->fontMetrics().lineSpacing() * lines + 12);
  return m;
}

// A core text with CR LF (or CR) line breaks as the memo shows it.
QString memoText(const std::string& oem) {
  QString s = qs(oem);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

// The edit field's text at index i of a list that may be shorter.
std::string at(const std::vector<std::string>& v, std::size_t i) { return i < v.size() ? v[i] : std::string(); }

// Limits the typed length of the cells of a grid, per column (0: no limit).
class LimitedCells : public QStyledItemDelegate {
 public:
  LimitedCells(QObject* parent, std::vector<int> limits) : QStyledItemDelegate(parent), limits_(std::move(limits)) {}
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    const auto column = static_cast<std::size_t>(index.column());
    if (auto* e = qobject_cast<QLineEdit*>(editor); e && column < limits_.size() && limits_[column] > 0)
      e->setMaxLength(limits_[column]);
    return editor;
  }

 private:
  std::vector<int> limits_;
};

QTableWidget* grid(QWidget* parent, const char* name, const QStringList& columns, const QStringList& rows) {
  auto* table = new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(columns.size()), parent);
  table->setObjectName(QString::fromLatin1(name));
  table->setHorizontalHeaderLabels(columns);
  table->setVerticalHeaderLabels(rows);
  for (int r = 0; r < table->rowCount(); ++r)
    for (int c = 0; c < table->columnCount(); ++c) table->setItem(r, c, new QTableWidgetItem);
  table->setTabKeyNavigation(false);
  return table;
}

// The grid just large enough to show all its cells without scrolling.
void fitCells(QTableWidget& table) {
  const int frame = 2 * table.frameWidth();
  int w = table.verticalHeader()->sizeHint().width() + frame;
  for (int c = 0; c < table.columnCount(); ++c) w += table.columnWidth(c);
  int h = table.horizontalHeader()->sizeHint().height() + frame;
  for (int r = 0; r < table.rowCount(); ++r) h += table.rowHeight(r);
  table.setMinimumWidth(w);
  table.setFixedHeight(h);
  table.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

// Column width for n characters.
int charsWide(const QWidget& w, int n) { return w.fontMetrics().horizontalAdvance(QLatin1Char('x')) * n + 8; }

std::string cellText(const QTableWidget& table, int row, int column) {
  const QTableWidgetItem* item = table.item(row, column);
  return item ? oemText(item->text()) : std::string();
}

// The nearest integer of a typed number; unreadable text counts as 0.
int roundedValue(const QString& text) {
  const long double v = parseReal(trim(oemText(text)));
  if (!(v > INT_MIN && v < INT_MAX)) return v > 0 ? INT_MAX : (v < 0 ? INT_MIN : 0);
  return static_cast<int>(std::llround(v));
}

}  // namespace

std::optional<ExplanationRequest::Result> run(const WindowEnv& env, const ExplanationRequest& request) {
  QDialog dialog(env.parent);
  dialog.setObjectName(QStringLiteral("explanation"));
  dialog.setWindowTitle(QStringLiteral("Fehlermeldung"));
  dialog.setSizeGripEnabled(true);
  auto* layout = new QGridLayout(&dialog);
  QLineEdit* message = lineEdit(&dialog, "message", request.message);
  message->setReadOnly(true);
  QPlainTextEdit* cause = memo(&dialog, "cause", qs(request.cause), 3);
  QPlainTextEdit* remedy = memo(&dialog, "remedy", qs(request.remedy), 3);
  layout->addWidget(new QLabel(QStringLiteral("Fehlermeldung"), &dialog), 0, 0);
  layout->addWidget(message, 0, 1);
  layout->addWidget(new QLabel(QStringLiteral("Ursache"), &dialog), 1, 0, Qt::AlignTop);
  layout->addWidget(cause, 1, 1);
  layout->addWidget(new QLabel(QStringLiteral("Abhilfe"), &dialog), 2, 0, Qt::AlignTop);
  layout->addWidget(remedy, 2, 1);
  message->setMinimumWidth(message->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 50);
  QDialogButtonBox* box = okCancelBox(dialog, false);
  addHelpTextButton(*box, env, request.helpNumber);
  layout->addWidget(box, 3, 0, 1, 2);
  // Connected after filling, so only the user's changes mark the window as edited.
  bool edited = false;
  QObject::connect(cause, &QPlainTextEdit::textChanged, &dialog, [&edited] { edited = true; });
  QObject::connect(remedy, &QPlainTextEdit::textChanged, &dialog, [&edited] { edited = true; });
  cause->setFocus();
  placeDialog(dialog, env);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return ExplanationResult{edited, oemText(cause->toPlainText()), oemText(remedy->toPlainText())};
}

std::optional<DiagramLimitsRequest::Result> run(const WindowEnv& env, const DiagramLimitsRequest& request) {
  QDialog dialog(env.parent);
  dialog.setObjectName(QStringLiteral("diagramLimits"));
  dialog.setWindowTitle(qs(request.caption));
  auto* layout = new QVBoxLayout(&dialog);
  // The boxes stand around a frame for the diagram: the y limits on its left, the x limits below.
  auto* area = new QGridLayout;
  static const char* const names[4] = {"xmin", "xmax", "ymin", "ymax"};
  QLineEdit* edits[4];
  for (std::size_t i = 0; i < 4; ++i) {
    edits[i] = lineEdit(&dialog, names[i], at(request.values, i));
    edits[i]->setMaximumWidth(edits[i]->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 14);
  }
  auto* yLabel = new QLabel(qs(request.yTitle), &dialog);
  yLabel->setObjectName(QStringLiteral("labelY"));
  auto* xLabel = new QLabel(qs(request.xTitle), &dialog);
  xLabel->setObjectName(QStringLiteral("labelX"));
  auto* frame = new QFrame(&dialog);
  frame->setFrameShape(QFrame::Box);
  frame->setMinimumSize(160, 120);
  area->addWidget(yLabel, 0, 0);
  area->addWidget(edits[3], 1, 0, Qt::AlignTop);
  area->addWidget(frame, 1, 1, 2, 2);
  area->addWidget(edits[2], 2, 0, Qt::AlignBottom);
  area->addWidget(edits[0], 3, 1, Qt::AlignLeft);
  area->addWidget(edits[1], 3, 2, Qt::AlignRight);
  area->addWidget(xLabel, 3, 3);
  layout->addLayout(area);
  QDialogButtonBox* box = okCancelBox(dialog);
  addHelpTextButton(*box, env, request.helpNumber, QStringLiteral("&Hilfetext"));
  QPushButton* calc = actionButton(*box, QStringLiteral("Calculate"), "calc");
  QObject::connect(calc, &QPushButton::clicked, &dialog, [&] {
    for (std::size_t i = 0; i < 4; ++i) edits[i]->setText(qs(at(request.automatic, i)));
  });
  layout->addWidget(box);
  placeDialog(dialog, env);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  DiagramLimitsResult result;
  for (QLineEdit* e : edits) result.values.push_back(oemText(e->text()));
  return result;
}

std::optional<InstallationAngleRequest::Result> run(const WindowEnv& env, const InstallationAngleRequest& request) {
  QDialog dialog(env.parent);
  dialog.setObjectName(QStringLiteral("installationAngle"));
  dialog.setWindowTitle(qs(request.caption));
  auto* layout = new QVBoxLayout(&dialog);

  auto* valueRow = new QHBoxLayout;
  QLineEdit* edit = lineEdit(&dialog, "edit", request.value);
  auto* unit = new QLabel(qs(request.unit), &dialog);
  unit->setObjectName(QStringLiteral("unit"));
  valueRow->addWidget(new QLabel(QStringLiteral("Einbauwinkel delta"), &dialog));
  valueRow->addWidget(edit);
  valueRow->addWidget(unit);
  layout->addLayout(valueRow);

  auto* trackRow = new QHBoxLayout;
  auto* track = new QSlider(Qt::Horizontal, &dialog);
  track->setObjectName(QStringLiteral("track"));
  track->setRange(request.trackMin, request.trackMax);
  track->setTickPosition(QSlider::TicksBelow);
  track->setMinimumWidth(240);
  auto* up = new QPushButton(QStringLiteral("^"), &dialog);
  up->setObjectName(QStringLiteral("up"));
  up->setAutoDefault(false);
  trackRow->addWidget(track);
  trackRow->addWidget(up);
  layout->addLayout(trackRow);

  auto* presetRow = new QHBoxLayout;
  static const char* const captions[4] = {"delta c", "delta 2", "delta 1", "delta 0"};
  static const char* const names[4] = {"lc", "l2", "l1", "l0"};
  for (std::size_t i = 0; i < 4; ++i) {
    auto* b = new QPushButton(QString::fromLatin1(captions[i]), &dialog);
    b->setObjectName(QString::fromLatin1(names[i]));
    b->setAutoDefault(false);
    b->setEnabled(i < request.presets.size());
    const std::string preset = at(request.presets, i);
    QObject::connect(b, &QPushButton::clicked, edit, [edit, preset] { edit->setText(qs(preset)); });
    presetRow->addWidget(b);
  }
  layout->addLayout(presetRow);

  // The box moves the track bar (setValue does not count as the user's action); the user's moves
  // of the track bar and "^" put its position into the box.
  track->setValue(roundedValue(edit->text()));
  QObject::connect(edit, &QLineEdit::textChanged, track,
                   [track](const QString& t) { track->setValue(roundedValue(t)); });
  QObject::connect(track, &QSlider::actionTriggered, edit,
                   [edit, track](int) { edit->setText(QString::number(track->sliderPosition())); });
  QObject::connect(up, &QPushButton::clicked, edit, [edit, track] { edit->setText(QString::number(track->value())); });

  QDialogButtonBox* box = okCancelBox(dialog);
  addHelpTextButton(*box, env, request.helpNumber, QStringLiteral("&Hilfetext"));
  layout->addWidget(box);
  edit->setFocus();
  placeDialog(dialog, env);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return InstallationAngleResult{oemText(edit->text())};
}

std::optional<SpringTextsRequest::Result> run(const WindowEnv& env, const SpringTextsRequest& request) {
  WindowEnv local = env;
  if (request.help) local.help = request.help;
  QDialog dialog(env.parent);
  dialog.setObjectName(QStringLiteral("springTexts"));
  dialog.setWindowTitle(qs(request.caption));
  auto* layout = new QVBoxLayout(&dialog);
  auto* fields = new QGridLayout;
  const SpringTextsResult& v = request.values;
  const std::string* values[5] = {&v.zeichname, &v.zeichname2, &v.zeichnr, &v.bemerk1, &v.bemerk2};
  static const char* const names[5] = {"zeichname", "zeichname2", "zeichnr", "bemerk1", "bemerk2"};
  QLineEdit* edits[5];
  for (int i = 0; i < 5; ++i) {
    edits[i] = lineEdit(&dialog, names[i], *values[i], request.lengths[static_cast<std::size_t>(i)]);
    auto* label = new QLabel(qs(request.labels[static_cast<std::size_t>(i)]), &dialog);
    label->setBuddy(edits[i]);
    fields->addWidget(label, i, 0);
    fields->addWidget(edits[i], i, 1);
  }
  edits[0]->setMinimumWidth(edits[0]->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 66);
  layout->addLayout(fields);
  QDialogButtonBox* box = okCancelBox(dialog);
  addHelpButtons(*box, local, request.helpNumber);
  layout->addWidget(box);
  edits[0]->setFocus();
  placeDialog(dialog, local);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return SpringTextsResult{oemText(edits[0]->text()), oemText(edits[1]->text()), oemText(edits[2]->text()),
                           oemText(edits[3]->text()), oemText(edits[4]->text())};
}

std::optional<ChangeEntryRequest::Result> run(const WindowEnv& env, const ChangeEntryRequest& request) {
  QDialog dialog(env.parent);
  dialog.setObjectName(QStringLiteral("changeEntry"));
  dialog.setWindowTitle(qs(request.caption));
  dialog.setSizeGripEnabled(true);
  auto* layout = new QGridLayout(&dialog);
  QLineEdit* designation = lineEdit(&dialog, "designation", request.designation, request.designationLength);
  QLineEdit* date = lineEdit(&dialog, "date", request.date, request.dateLength);
  QLineEdit* editor = lineEdit(&dialog, "editor", request.editor, request.editorLength);
  QPlainTextEdit* description = memo(&dialog, "description", memoText(request.description), 5);
  auto* today = new QPushButton(QStringLiteral("<") + qs(request.today), &dialog);
  today->setObjectName(QStringLiteral("today"));
  today->setAutoDefault(false);
  QObject::connect(today, &QPushButton::clicked, date, [date, &request] { date->setText(qs(request.today)); });
  layout->addWidget(new QLabel(QString::fromUtf8("Änderungstext"), &dialog), 0, 0);
  layout->addWidget(designation, 0, 1, 1, 2);
  layout->addWidget(new QLabel(QStringLiteral("Datum"), &dialog), 1, 0);
  layout->addWidget(date, 1, 1);
  layout->addWidget(today, 1, 2);
  layout->addWidget(new QLabel(QStringLiteral("Bearbeiter"), &dialog), 2, 0);
  layout->addWidget(editor, 2, 1);
  layout->addWidget(new QLabel(QStringLiteral("Beschreibung"), &dialog), 3, 0, Qt::AlignTop);
  layout->addWidget(description, 3, 1, 1, 2);
  QDialogButtonBox* box = okCancelBox(dialog);
  addHelpTextButton(*box, env, request.helpNumber);
  layout->addWidget(box, 4, 0, 1, 3);
  designation->setFocus();
  placeDialog(dialog, env);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return ChangeEntryResult{oemText(designation->text()), oemText(date->text()), oemText(editor->text()),
                           oemText(description->toPlainText())};
}

std::optional<DrawingInfoRequest::Result> run(const WindowEnv& env, const DrawingInfoRequest& request) {
  QDialog dialog(env.parent);
  dialog.setObjectName(QStringLiteral("drawingInfo"));
  dialog.setWindowTitle(qs(request.caption));
  dialog.setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(&dialog);

  auto* replaceRow = new QGridLayout;
  QLineEdit* replaces = lineEdit(&dialog, "replaces", request.replaces, request.replaceLength);
  QLineEdit* replacedBy = lineEdit(&dialog, "replacedBy", request.replacedBy, request.replaceLength);
  replaceRow->addWidget(new QLabel(QString::fromUtf8("Ersatz für"), &dialog), 0, 0);
  replaceRow->addWidget(replaces, 0, 1);
  replaceRow->addWidget(new QLabel(QStringLiteral("Ersetzt durch"), &dialog), 0, 2);
  replaceRow->addWidget(replacedBy, 0, 3);
  layout->addLayout(replaceRow);

  // Grid 1: a third column holds each row's "< " + today button.
  QStringList rowTitles;
  for (const std::string& t : request.rowTitles) rowTitles << qs(t);
  QTableWidget* people =
      grid(&dialog, "people", {QStringLiteral("Datum"), QStringLiteral("Name"), QString()}, rowTitles);
  people->setItemDelegate(new LimitedCells(people, {request.peopleLength, request.peopleLength}));
  for (int r = 0; r < 4; ++r) {
    const auto row = static_cast<std::size_t>(r);
    for (int c = 0; c < 2; ++c) people->item(r, c)->setText(qs(request.people[row][static_cast<std::size_t>(c)]));
    delete people->takeItem(r, 2);
    auto* today = new QPushButton(QStringLiteral("< ") + qs(request.today), people);
    today->setObjectName(QStringLiteral("today%1").arg(r + 1));
    today->setAutoDefault(false);
    QObject::connect(today, &QPushButton::clicked, people,
                     [people, r, &request] { people->item(r, 0)->setText(qs(request.today)); });
    people->setCellWidget(r, 2, today);
  }
  people->setColumnWidth(0, charsWide(*people, 12));
  people->setColumnWidth(1, charsWide(*people, 12));
  people->setColumnWidth(2, people->cellWidget(0, 2)->sizeHint().width() + 8);
  fitCells(*people);
  layout->addWidget(people, 0, Qt::AlignLeft);

  // Grid 2: the free texts.
  QStringList numbers;
  for (int r = 1; r <= 8; ++r) numbers << QString::number(r);
  QTableWidget* texts = grid(
      &dialog, "freeTexts",
      {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("h"), QStringLiteral("phi"), QStringLiteral("Text")},
      numbers);
  texts->setItemDelegate(new LimitedCells(texts, {30, 30, 30, 30, request.textLength}));
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 5; ++c)
      texts->item(r, c)->setText(qs(request.freeTexts[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]));
  for (int c = 0; c < 4; ++c) texts->setColumnWidth(c, charsWide(*texts, 8));
  texts->setColumnWidth(4, charsWide(*texts, 40));
  texts->horizontalHeader()->setStretchLastSection(true);
  fitCells(*texts);
  layout->addWidget(texts);

  QDialogButtonBox* box = okCancelBox(dialog);
  addHelpTextButton(*box, env, request.helpNumber);
  layout->addWidget(box);
  replaces->setFocus();
  placeDialog(dialog, env);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  DrawingInfoResult result;
  result.replaces = oemText(replaces->text());
  result.replacedBy = oemText(replacedBy->text());
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 2; ++c)
      result.people[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = cellText(*people, r, c);
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 5; ++c)
      result.freeTexts[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = cellText(*texts, r, c);
  return result;
}

std::optional<DocumentSetupRequest::Result> run(const WindowEnv& env, const DocumentSetupRequest& request) {
  QDialog dialog(env.parent);
  dialog.setObjectName(QStringLiteral("documentSetup"));
  dialog.setWindowTitle(qs(request.caption));
  auto* layout = new QVBoxLayout(&dialog);
  QLineEdit* programs[5];
  QLineEdit* files[5];
  // One "..." button: field 2n - 1 is program n, 2n file n.
  auto browseButton = [&](QWidget* parent, QLineEdit* edit, int field, const QString& name) {
    auto* b = new QPushButton(QStringLiteral("..."), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text()) + 20);
    QObject::connect(b, &QPushButton::clicked, edit, [edit, field, &request] {
      if (!request.browse) return;
      std::string text = oemText(edit->text());
      if (request.browse(field, text)) edit->setText(qs(text));
    });
    return b;
  };
  for (int n = 1; n <= 5; ++n) {
    auto* group = new QGroupBox(QStringLiteral(" Document %1 ").arg(n), &dialog);
    group->setObjectName(QStringLiteral("document%1").arg(n));
    auto* g = new QGridLayout(group);
    const auto i = static_cast<std::size_t>(n - 1);
    QLineEdit* program = programs[i] = new QLineEdit(group);
    program->setObjectName(QStringLiteral("program%1").arg(n));
    if (request.maxLength > 0) program->setMaxLength(request.maxLength);
    program->setText(qs(request.programs[i]));
    QLineEdit* file = files[i] = new QLineEdit(group);
    file->setObjectName(QStringLiteral("file%1").arg(n));
    if (request.maxLength > 0) file->setMaxLength(request.maxLength);
    file->setText(qs(request.files[i]));
    setHint(*program, env, request.programHint);
    setHint(*file, env, request.fileHint);
    program->setMinimumWidth(program->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);
    g->addWidget(new QLabel(QStringLiteral("Program %1").arg(n), group), 0, 0);
    g->addWidget(program, 0, 1);
    g->addWidget(browseButton(group, program, 2 * n - 1, QStringLiteral("browseProgram%1").arg(n)), 0, 2);
    g->addWidget(new QLabel(QStringLiteral("File %1").arg(n), group), 1, 0);
    g->addWidget(file, 1, 1);
    g->addWidget(browseButton(group, file, 2 * n, QStringLiteral("browseFile%1").arg(n)), 1, 2);
    layout->addWidget(group);
  }
  QDialogButtonBox* box = okCancelBox(dialog);
  addHelpTextButton(*box, env, request.helpNumber, QStringLiteral("&Hilfetext"));
  layout->addWidget(box);
  programs[0]->setFocus();
  placeDialog(dialog, env);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  DocumentSetupResult result;
  for (std::size_t i = 0; i < 5; ++i) {
    result.programs[i] = oemText(programs[i]->text());
    result.files[i] = oemText(files[i]->text());
  }
  return result;
}

std::optional<HelpImagesRequest::Result> run(const WindowEnv& env, const HelpImagesRequest& request) {
  QDialog dialog(env.parent);
  dialog.setObjectName(QStringLiteral("helpImages"));
  dialog.setWindowFlag(Qt::Tool);
  dialog.setWindowTitle(qs(request.caption));
  auto* layout = new QVBoxLayout(&dialog);

  auto* listRow = new QHBoxLayout;
  auto* list = new QComboBox(&dialog);
  list->setObjectName(QStringLiteral("list"));
  for (const std::string& item : request.items) list->addItem(qs(item));
  const int count = list->count();
  list->setCurrentIndex(request.selected >= 1 && request.selected <= count ? request.selected - 1 : -1);
  list->setMinimumContentsLength(50);
  list->setMaxVisibleItems(20);
  auto* arrows = new QVBoxLayout;
  arrows->setSpacing(0);
  auto* up = new QToolButton(&dialog);
  up->setObjectName(QStringLiteral("up"));
  up->setArrowType(Qt::UpArrow);
  auto* down = new QToolButton(&dialog);
  down->setObjectName(QStringLiteral("down"));
  down->setArrowType(Qt::DownArrow);
  arrows->addWidget(up);
  arrows->addWidget(down);
  listRow->addWidget(list, 1);
  listRow->addLayout(arrows);
  layout->addLayout(listRow);

  auto* box = new QDialogButtonBox(&dialog);
  QPushButton* ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::RejectRole);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setDefault(true);
  QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(box);

  // "OK", Esc and closing the window all leave the browser.
  HelpImageAction action = HelpImageAction::Leave;
  auto closeWith = [&](HelpImageAction a) {
    action = a;
    dialog.accept();
  };
  // Connected after filling, so that only the user's choice closes the window.
  QObject::connect(list, &QComboBox::activated, &dialog, [&] { closeWith(HelpImageAction::Show); });
  auto arrow = [&](bool upwards) {
    const int item = HelpImageArrow(list->currentIndex() + 1, count, upwards);
    if (item >= 1) list->setCurrentIndex(item - 1);
    closeWith(HelpImageAction::Show);
  };
  QObject::connect(up, &QToolButton::clicked, &dialog, [&] { arrow(true); });
  QObject::connect(down, &QToolButton::clicked, &dialog, [&] { arrow(false); });

  QPushButton* help = actionButton(*box, QStringLiteral("&Hilfe"), "help");
  QObject::connect(help, &QPushButton::clicked, &dialog, [&] {
    if (request.onHelp)
      request.onHelp();
    else if (env.help)
      env.help->showHelpText(request.helpNumber);
  });
  struct Edit {
    const char* caption;
    const char* name;
    HelpImageAction action;
  };
  static const Edit edits[] = {{"&Neu", "new", HelpImageAction::New},
                               {"&Ändern", "change", HelpImageAction::Change},
                               {"&Einfügen", "insert", HelpImageAction::Insert},
                               {"&Löschen", "delete", HelpImageAction::Delete}};
  for (const Edit& e : edits) {
    QPushButton* b = actionButton(*box, QString::fromUtf8(e.caption), e.name);
    const HelpImageAction a = e.action;
    QObject::connect(b, &QPushButton::clicked, &dialog, [&, a] {
      if (a == HelpImageAction::New) list->setCurrentIndex(-1);
      closeWith(a);
    });
  }

  list->setFocus();
  placeDialog(dialog, env, false);
  dialog.move(request.left, request.top);
  dialog.exec();
  HelpImagesResult result;
  result.action = action;
  result.selected = list->currentIndex() + 1;
  result.left = dialog.x();
  result.top = dialog.y();
  return result;
}

}  // namespace velk::gui
