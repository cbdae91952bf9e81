// The value dialogs (text, radio, list, yes/no), the message and question boxes, the read-only
// text window and the file and folder choosers. The small forms are in basicdialogs_forms.cpp.
#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/basicdialogs_kit.h"
#include "gui/dialogkit.h"
#include "gui/text.h"
#include "gui/windows.h"

namespace velk::gui {

using basic::okCancelBox;
using basic::promptLabel;

namespace {

// A 1-based preselection that points at no item becomes the first item.
int validIndex(int index, std::size_t count) {
  return index >= 1 && static_cast<std::size_t>(index) <= count ? index : 1;
}

// A radio group of the items (ids 1..n) with one of them checked; the group box keeps the title.
QButtonGroup* radioGroup(QGroupBox& box, const std::vector<std::string>& items, int checked) {
  auto* group = new QButtonGroup(&box);
  auto* layout = new QVBoxLayout(&box);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const int id = static_cast<int>(i) + 1;
    auto* b = new QRadioButton(qs(items[i]), &box);
    b->setObjectName(QStringLiteral("item%1").arg(id));
    group->addButton(b, id);
    layout->addWidget(b);
    if (id == checked) b->setChecked(true);
  }
  return group;
}

// The choosers' filters: "description|pattern" pairs, patterns separated by ";" (a lone last
// text is a pattern of its own); a description that only repeats its pattern is left out.
QStringList nameFilters(const std::string& filter) {
  const QStringList parts = qpath(filter).split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString desc = parts[i].trimmed();
    const QString raw = i + 1 < parts.size() ? parts[i + 1].trimmed() : desc;
    QString patterns = raw;
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    if (patterns.trimmed().isEmpty()) continue;
    out << (desc.isEmpty() || desc == raw ? patterns : desc + QStringLiteral(" (") + patterns + QLatin1Char(')'));
  }
  return out;
}

// Qt's own chooser (not the desktop's), so that it looks and behaves the same everywhere.
std::optional<FileResult> runFileDialog(const WindowEnv& env, QFileDialog& dialog) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  placeDialog(dialog, env);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.first().isEmpty()) return std::nullopt;
  return FileResult{nativePath(files.first())};
}

void setupFileDialog(QFileDialog& dialog, const std::string& filter, const std::string& defaultName) {
  const QStringList filters = nameFilters(filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!defaultName.empty()) dialog.selectFile(qpath(defaultName));
}

}  // namespace

std::optional<TextRequest::Result> run(const WindowEnv& env, const TextRequest& request) {
  QDialog dialog(env.parent);
  dialog.setObjectName(QStringLiteral("textDialog"));
  dialog.setWindowTitle(qs(request.caption));
  dialog.setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(&dialog);
  QLabel* label = promptLabel(request.prompt, &dialog);
  label->setMinimumWidth(300);
  layout->addWidget(label);
  auto* edit = new QLineEdit(&dialog);
  edit->setObjectName(QStringLiteral("edit"));
  if (request.maxLength > 0) edit->setMaxLength(request.maxLength);
  edit->setText(qs(request.text));
  edit->selectAll();
  layout->addWidget(edit);
  QDialogButtonBox* box = okCancelBox(dialog);
  addHelpButtons(*box, env, request.helpNumber);
  layout->addWidget(box);
  edit->setFocus();
  // The text dialog keeps its own place; it is only scaled.
  placeDialog(dialog, env, false);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return TextResult{oemText(edit->text())};
}

std::optional<RadioRequest::Result> run(const WindowEnv& env, const RadioRequest& request) {
  QDialog dialog(env.parent);
  dialog.setObjectName(QStringLiteral("radioDialog"));
  dialog.setWindowTitle(QStringLiteral("Auswahl"));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(promptLabel(request.prompt, &dialog));
  auto* groupBox = new QGroupBox(&dialog);
  groupBox->setObjectName(QStringLiteral("group"));
  const int preset = validIndex(request.index, request.items.size());
  QButtonGroup* group = radioGroup(*groupBox, request.items, preset);
  layout->addWidget(groupBox);
  QDialogButtonBox* box = okCancelBox(dialog);
  addHelpButtons(*box, env, request.helpNumber);
  layout->addWidget(box);
  if (QAbstractButton* b = group->button(preset)) b->setFocus();
  placeDialog(dialog, env);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const int chosen = group->checkedId();
  return ChoiceResult{chosen >= 1 ? chosen : preset};
}

std::optional<ListRequest::Result> run(const WindowEnv& env, const ListRequest& request) {
  QDialog dialog(env.parent);
  dialog.setObjectName(QStringLiteral("listDialog"));
  dialog.setWindowTitle(QStringLiteral("Auswahl"));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(promptLabel(request.prompt, &dialog));
  auto* list = new QListWidget(&dialog);
  list->setObjectName(QStringLiteral("list"));
  for (const std::string& item : request.items) list->addItem(qs(item));
  const int preset = validIndex(request.index, request.items.size());
  if (!request.items.empty()) list->setCurrentRow(preset - 1);
  // A double click chooses; Enter in the list reaches the dialog's default button ("OK").
  QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
  layout->addWidget(list);
  QDialogButtonBox* box = okCancelBox(dialog);
  addHelpButtons(*box, env, request.helpNumber);
  layout->addWidget(box);
  list->setFocus();
  placeDialog(dialog, env);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const int row = list->currentRow();
  return ChoiceResult{row >= 0 ? row + 1 : preset};
}

std::optional<YesNoRequest::Result> run(const WindowEnv& env, const YesNoRequest& request) {
  QDialog dialog(env.parent);
  dialog.setObjectName(QStringLiteral("yesNoDialog"));
  dialog.setWindowTitle(QStringLiteral("Eingabe"));
  auto* layout = new QVBoxLayout(&dialog);
  QLabel* label = promptLabel(request.prompt, &dialog);
  label->setMinimumWidth(250);
  layout->addWidget(label);
  auto* groupBox = new QGroupBox(QStringLiteral("Auswahl"), &dialog);
  groupBox->setObjectName(QStringLiteral("group"));
  auto* groupLayout = new QVBoxLayout(groupBox);
  auto* yes = new QRadioButton(QStringLiteral("&Ja"), groupBox);
  yes->setObjectName(QStringLiteral("yes"));
  auto* no = new QRadioButton(QStringLiteral("&Nein"), groupBox);
  no->setObjectName(QStringLiteral("no"));
  groupLayout->addWidget(yes);
  groupLayout->addWidget(no);
  (request.yes ? yes : no)->setChecked(true);
  layout->addWidget(groupBox);
  QDialogButtonBox* box = okCancelBox(dialog);
  addHelpButtons(*box, env, request.helpNumber);
  layout->addWidget(box);
  (request.yes ? yes : no)->setFocus();
  placeDialog(dialog, env);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return YesNoResult{!no->isChecked()};
}

std::optional<QuestionRequest::Result> run(const WindowEnv& env, const QuestionRequest& request) {
  QMessageBox box(QMessageBox::Question, qs(request.caption), qs(request.question), QMessageBox::NoButton, env.parent);
  box.setObjectName(QStringLiteral("questionBox"));
  QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
  yes->setObjectName(QStringLiteral("yes"));
  QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
  no->setObjectName(QStringLiteral("no"));
  QPushButton* cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
  cancel->setObjectName(QStringLiteral("cancel"));
  box.setDefaultButton(yes);
  box.setEscapeButton(cancel);
  placeDialog(box, env);
  box.exec();
  if (box.clickedButton() == yes) return YesNoResult{true};
  if (box.clickedButton() == no) return YesNoResult{false};
  return std::nullopt;
}

std::optional<MessageRequest::Result> run(const WindowEnv& env, const MessageRequest& request) {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  switch (request.kind) {
    case MessageKind::Error:
      icon = QMessageBox::Critical;
      break;
    case MessageKind::Info:
      icon = QMessageBox::Information;
      break;
    case MessageKind::Titled:
      icon = QMessageBox::NoIcon;
      break;
  }
  QMessageBox box(icon, qs(request.caption), qs(request.text), QMessageBox::NoButton, env.parent);
  box.setObjectName(QStringLiteral("messageBox"));
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  ok->setObjectName(QStringLiteral("ok"));
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  placeDialog(box, env);
  box.exec();
  return Closed{};
}

std::optional<TextWindowRequest::Result> run(const WindowEnv& env, const TextWindowRequest& request) {
  QDialog dialog(env.parent);
  dialog.setObjectName(QStringLiteral("textWindow"));
  dialog.setWindowTitle(qs(request.caption));
  dialog.setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(&dialog);
  auto* text = new QPlainTextEdit(&dialog);
  text->setObjectName(QStringLiteral("text"));
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  // The texts are laid out in columns for a fixed-pitch screen.
  text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  QStringList lines;
  for (const std::string& line : request.lines) lines << qs(line);
  text->setPlainText(lines.join(QLatin1Char('\n')));
  const QFontMetrics metrics(text->font());
  text->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('x')) * 82,
                       metrics.lineSpacing() * std::clamp(static_cast<int>(request.lines.size()) + 2, 8, 30));
  layout->addWidget(text);
  layout->addWidget(okCancelBox(dialog, false));
  placeDialog(dialog, env);
  dialog.exec();
  return Closed{};
}

std::optional<FolderRequest::Result> run(const WindowEnv& env, const FolderRequest& request) {
  QFileDialog dialog(env.parent, qs(request.caption), qpath(request.start));
  dialog.setObjectName(QStringLiteral("folderDialog"));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  return runFileDialog(env, dialog);
}

std::optional<OpenFileRequest::Result> run(const WindowEnv& env, const OpenFileRequest& request) {
  QFileDialog dialog(env.parent, qs(request.caption), qpath(request.folder));
  dialog.setObjectName(QStringLiteral("openDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  setupFileDialog(dialog, request.filter, request.defaultName);
  return runFileDialog(env, dialog);
}

std::optional<SaveFileRequest::Result> run(const WindowEnv& env, const SaveFileRequest& request) {
  QFileDialog dialog(env.parent, qs(request.caption), qpath(request.folder));
  dialog.setObjectName(QStringLiteral("saveDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The callers ask before they overwrite (with their own wording and help number).
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  setupFileDialog(dialog, request.filter, request.defaultName);
  return runFileDialog(env, dialog);
}

}  // namespace velk::gui
