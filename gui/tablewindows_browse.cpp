// The table browser window ("Tdbf4"): the grid over the open table, the navigator, search,
// sorting by a column title, and the menu commands. The grid reads and changes the table only
// through the controller; after each command the rows are read again.
#include "gui/tablewindows_browse.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "gui/dialogkit.h"
#include "gui/text.h"

namespace velk::gui {

namespace {

constexpr uint16_t kCommonHelp = 3210;

bool isTrue(const std::string& text) {
  return !text.empty() && std::string_view("TtYyJj").find(text.front()) != std::string_view::npos;
}

// The grid's view of the rows the controller lists; cells are read through the controller on
// demand, so the grid always shows the table as the core holds it.
class BrowseModel final : public QAbstractTableModel {
 public:
  BrowseModel(BrowseController* controller, bool edit) : controller_(controller), edit_(edit) {}

  void setRows(std::vector<std::uint32_t> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    columns_ = controller_ ? std::max(controller_->fieldCount(), 0) : 0;
    endResetModel();
  }
  std::uint32_t record(int row) const {
    return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(row)] : 0;
  }
  int rowOf(std::uint32_t record) const {
    auto it = std::find(rows_.begin(), rows_.end(), record);
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
  }
  void rowChanged(int row) { emit dataChanged(index(row, 0), index(row, columns_ - 1)); }
  // Called after a cell was written, with the cell's field position.
  std::function<void(int row, int pos)> onEdited;

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : columns_; }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    const int pos = index.column() + 1;
    const bool logical = fieldType(pos) == 'L';
    if (role == Qt::CheckStateRole && logical)
      return isTrue(cellText(record(index.row()), pos)) ? Qt::Checked : Qt::Unchecked;
    if ((role == Qt::DisplayRole && !logical) || role == Qt::EditRole) return qs(cellText(record(index.row()), pos));
    return {};
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return controller_ ? qs(controller_->fieldName(section + 1)) : QString();
    // The indicator: the record number, and the deletion mark of the records the grid shows.
    const std::uint32_t rec = record(section);
    return QString::number(rec) + (controller_ && controller_->isDeleted(rec) ? QStringLiteral(" *") : QString());
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!edit_ || !controller_ || !index.isValid()) return f;
    if (fieldType(index.column() + 1) == 'L') return f | Qt::ItemIsUserCheckable;
    if (fieldType(index.column() + 1) == 'M') return f;  // memo block numbers are not text
    return f | Qt::ItemIsEditable;
  }

  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (!edit_ || !controller_ || !index.isValid()) return false;
    const int pos = index.column() + 1;
    const std::uint32_t rec = record(index.row());
    std::string text;
    if (role == Qt::CheckStateRole && fieldType(pos) == 'L')
      text.assign(1, value.toInt() == Qt::Checked ? 'T' : 'F');
    else if (role == Qt::EditRole && fieldType(pos) != 'L')
      text = oemText(value.toString());
    else
      return false;
    if (text == cellText(rec, pos)) return false;  // unchanged: no write
    controller_->setCell(rec, pos, text);
    rowChanged(index.row());
    if (onEdited) onEdited(index.row(), pos);
    return true;
  }

 private:
  char fieldType(int pos) const { return controller_ ? controller_->fieldType(pos) : 'C'; }
  std::string cellText(std::uint32_t rec, int pos) const {
    return controller_ ? controller_->cellText(rec, pos) : std::string();
  }

  BrowseController* controller_;
  bool edit_;
  std::vector<std::uint32_t> rows_;
  int columns_ = 0;
};

// Writes an open cell editor through before a command or OK reads the table.
void commitOpenEditor(QTableView& grid) {
  QWidget* editor = QApplication::focusWidget();
  if (!editor || editor == &grid || !grid.isAncestorOf(editor)) {
    editor = nullptr;
    for (QWidget* w : grid.viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (w->isVisible()) editor = w;
  }
  if (editor) QMetaObject::invokeMethod(&grid, "commitData", Q_ARG(QWidget*, editor));
}

}  // namespace

std::optional<BrowseResult> RunBrowser(const WindowEnv& env, const BrowseRequest& request) {
  const bool edit = request.mode != 1;
  BrowseController* controller = request.controller;

  QDialog dialog(env.parent);
  dialog.setObjectName(QStringLiteral("Tdbf4"));
  dialog.setWindowTitle(qs(request.caption));
  dialog.setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(&dialog);
  auto* bar = new QMenuBar(&dialog);
  layout->setMenuBar(bar);

  auto* title1 = new QLabel(qs(request.title1), &dialog);
  title1->setObjectName(QStringLiteral("Label_title1"));
  title1->hide();
  auto* fileName = new QLabel(qpath(request.filePath), &dialog);
  fileName->setObjectName(QStringLiteral("Label_filename"));
  fileName->hide();
  auto* title2 = new QLabel(qs(request.title2), &dialog);
  title2->setObjectName(QStringLiteral("Label_title2"));
  auto* recno = new QLabel(&dialog);
  recno->setObjectName(QStringLiteral("Label_recno"));
  auto* top = new QHBoxLayout;
  top->addWidget(title2);
  top->addStretch();
  top->addWidget(recno);
  layout->addLayout(top);

  BrowseModel model(controller, edit);
  auto* grid = new QTableView(&dialog);
  grid->setObjectName(QStringLiteral("TzGrid1"));
  grid->setModel(&model);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setEditTriggers(edit ? QAbstractItemView::EditTriggers(QAbstractItemView::DoubleClicked |
                                                               QAbstractItemView::EditKeyPressed |
                                                               QAbstractItemView::AnyKeyPressed)
                             : QAbstractItemView::EditTriggers(QAbstractItemView::NoEditTriggers));
  grid->horizontalHeader()->setSectionsClickable(true);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
  layout->addWidget(grid, 1);

  // ---- The current record ----
  bool opened = false;  // the record label stays empty until the user moves
  auto current = [&]() -> std::uint32_t {
    const QModelIndex i = grid->currentIndex();
    if (i.isValid()) return model.record(i.row());
    return controller ? controller->currentRecord() : request.currentRecord;
  };
  auto showRecno = [&] {
    const std::uint32_t rec = current();
    const std::uint32_t count =
        controller ? controller->recordCount() : static_cast<std::uint32_t>(request.rows.size());
    recno->setText(rec ? QString::number(rec) + QLatin1Char('/') + QString::number(count) : QString());
  };
  int column = 0;  // kept across the re-reads, which reset the grid
  auto goRow = [&](int row) {
    if (model.rowCount() == 0) return;
    row = std::clamp(row, 0, model.rowCount() - 1);
    if (grid->currentIndex().isValid()) column = grid->currentIndex().column();
    grid->setCurrentIndex(model.index(row, std::clamp(column, 0, std::max(model.columnCount() - 1, 0))));
    grid->scrollTo(grid->currentIndex());
  };
  QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, &dialog,
                   [&](const QModelIndex& now, const QModelIndex&) {
                     if (now.isValid() && opened) showRecno();
                   });
  QObject::connect(grid, &QTableView::clicked, &dialog, [&](const QModelIndex&) { showRecno(); });

  // Reads the rows again and moves to the target record, or to the nearest row when that record
  // is no longer shown.
  auto refresh = [&](std::uint32_t target) {
    const int oldRow = grid->currentIndex().row();
    if (grid->currentIndex().isValid()) column = grid->currentIndex().column();
    model.setRows(controller ? controller->rows(request.mode) : request.rows);
    const int row = model.rowOf(target);
    goRow(row >= 0 ? row : std::max(oldRow, 0));
    if (opened) showRecno();
  };
  int sortedPos = 0;  // field of the column the rows are ordered by, 0 none
  model.onEdited = [&](int, int pos) {
    // The order may have changed; the grid stays on the edited record.
    if (pos == sortedPos) QTimer::singleShot(0, &dialog, [&] { refresh(current()); });
  };
  // Every command first writes an open cell editor and makes the grid's row the table's current
  // record (search-next and sorting start from it); afterwards the grid goes to the record the
  // table holds as current (search, append and pack move it).
  auto command = [&](std::function<void()> run) {
    return [&, run] {
      if (!controller) return;
      commitOpenEditor(*grid);
      controller->setCurrentRecord(current());
      run();
      refresh(controller->currentRecord());
    };
  };

  QObject::connect(grid->horizontalHeader(), &QHeaderView::sectionClicked, &dialog, [&](int section) {
    command([&, section] {
      sortedPos = section + 1;
      controller->sortByColumn(section + 1);
    })();
  });

  // ---- Navigator ----
  auto* navigator = new QHBoxLayout;
  auto navButton = [&](const char* name, const QString& text, const QString& tip) {
    auto* b = new QPushButton(text, &dialog);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(tip);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::NoFocus);
    navigator->addWidget(b);
    return b;
  };
  QObject::connect(navButton("nav_first", QStringLiteral("|\u25C0"), QStringLiteral("Erster Datensatz")),
                   &QPushButton::clicked, &dialog, [&] {
                     goRow(0);
                     showRecno();
                   });
  QObject::connect(navButton("nav_prior", QStringLiteral("\u25C0"), QStringLiteral("Voriger Datensatz")),
                   &QPushButton::clicked, &dialog, [&] {
                     goRow(grid->currentIndex().row() - 1);
                     showRecno();
                   });
  QObject::connect(navButton("nav_next", QStringLiteral("\u25B6"), QStringLiteral("Nächster Datensatz")),
                   &QPushButton::clicked, &dialog, [&] {
                     goRow(grid->currentIndex().row() + 1);
                     showRecno();
                   });
  QObject::connect(navButton("nav_last", QStringLiteral("\u25B6|"), QStringLiteral("Letzter Datensatz")),
                   &QPushButton::clicked, &dialog, [&] {
                     goRow(model.rowCount() - 1);
                     showRecno();
                   });
  if (edit && controller) {
    QObject::connect(navButton("nav_append", QStringLiteral("+"), QStringLiteral("Datensatz anhängen")),
                     &QPushButton::clicked, &dialog, command([&] { controller->appendRecord(); }));
    // dBASE deletes by marking; "Pack" removes the marked records.
    QObject::connect(navButton("nav_delete", QStringLiteral("\u2212"), QStringLiteral("Löschmarke setzen / entfernen")),
                     &QPushButton::clicked, &dialog, command([&] {
                       const std::uint32_t rec = controller->currentRecord();
                       if (rec) controller->setDeleted(rec, !controller->isDeleted(rec));
                     }));
    QObject::connect(navButton("nav_refresh", QStringLiteral("\u21BB"), QStringLiteral("Aktualisieren")),
                     &QPushButton::clicked, &dialog, command([] {}));
  }
  navigator->addStretch();

  // ---- Buttons ----
  auto* search = new QPushButton(QString::fromStdString(request.menu.search), &dialog);
  search->setObjectName(QStringLiteral("Button_search"));
  auto* searchNext = new QPushButton(QString::fromStdString(request.menu.searchNext), &dialog);
  searchNext->setObjectName(QStringLiteral("Button_SearchNext"));
  auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
  ok->setObjectName(QStringLiteral("Button_ok"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), &dialog);
  cancel->setObjectName(QStringLiteral("Button_cancel"));
  for (QPushButton* b : {search, searchNext, cancel}) b->setAutoDefault(false);
  navigator->addWidget(search);
  navigator->addWidget(searchNext);
  navigator->addSpacing(16);
  navigator->addWidget(ok);
  navigator->addWidget(cancel);
  layout->addLayout(navigator);

  std::uint32_t chosen = 0;
  auto accept = [&] {
    commitOpenEditor(*grid);
    chosen = current();
    dialog.accept();
  };
  QObject::connect(ok, &QPushButton::clicked, &dialog, accept);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  QObject::connect(search, &QPushButton::clicked, &dialog, command([&] { controller->search(); }));
  QObject::connect(searchNext, &QPushButton::clicked, &dialog, command([&] { controller->searchNext(); }));

  // ---- Menus ----
  auto item = [&](QMenu* menu, const char* name, const QString& text, std::function<void()> run) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    QObject::connect(a, &QAction::triggered, &dialog, std::move(run));
    return a;
  };
  const BrowseMenuCaptions& texts = request.menu;
  auto u = [](const std::string& utf8) { return QString::fromStdString(utf8); };
  QMenu* file = bar->addMenu(u(texts.file));
  file->setObjectName(QStringLiteral("mi_file"));
  item(file, "mi_fileExportHtml", u(texts.exportHtml), command([&] { controller->exportHtml(); }));
  item(file, "mi_fileSaveAsDelimited", u(texts.saveDelimited), command([&] { controller->saveDelimited(); }));
  QAction* appendDbf = item(file, "mi_fileAppenddbf", u(texts.appendDbf), command([&] { controller->appendDbf(); }));
  QAction* appendDelimited =
      item(file, "mi_fileAppendDelimited", u(texts.appendDelimited), command([&] { controller->appendDelimited(); }));
  QAction* printSeparator = file->addSeparator();
  item(file, "mi_filePrint", u(texts.print), command([&] { controller->print(); }));
  item(file, "mi_fileExit", u(texts.exit), accept);
  for (QAction* a : {appendDbf, appendDelimited, printSeparator}) a->setVisible(edit);

  QMenu* editMenu = bar->addMenu(u(texts.edit));
  editMenu->setObjectName(QStringLiteral("mi_edit"));
  editMenu->setToolTipsVisible(true);
  item(editMenu, "mi_editAppend", u(texts.append), command([&] { controller->appendRecord(); }));
  QAction* pack = item(editMenu, "mi_editPack", u(texts.pack), command([&] { controller->pack(); }));
  pack->setToolTip(u(texts.packHint));
  editMenu->menuAction()->setVisible(edit);
  for (QAction* a : editMenu->actions()) a->setVisible(edit);

  QMenu* view = bar->addMenu(u(texts.view));
  view->setObjectName(QStringLiteral("mi_view"));
  item(view, "mi_viewSearch", u(texts.search), command([&] { controller->search(); }));
  item(view, "mi_viewSearchNext", u(texts.searchNext), command([&] { controller->searchNext(); }));

  QMenu* helpMenu = bar->addMenu(u(texts.help));
  helpMenu->setObjectName(QStringLiteral("mi_help"));
  HelpProvider* help = env.help;
  const uint16_t topic = request.helpNumber;
  QAction* helpDbf = item(helpMenu, "mi_helpdbf", qs(request.title2), [help, topic] {
    if (help) help->showHelpText(topic);
  });
  QAction* helpCommon = item(helpMenu, "mi_helpCommon", u(texts.common), [help] {
    if (help) help->showHelpText(kCommonHelp);
  });
  QAction* helpImage = item(helpMenu, "mi_helphilfebild", u(texts.helpImage), [help, topic] {
    if (help) help->showHelpImage(topic);
  });
  for (QAction* a : {helpDbf, helpCommon, helpImage}) a->setEnabled(help != nullptr);
  item(helpMenu, "mi_helpDatei", u(texts.showFile), [&] {
    if (controller) controller->showFile();
  });

  if (!controller)
    for (QMenu* m : {file, editMenu, view})
      for (QAction* a : m->actions())
        if (a->objectName() != QLatin1String("mi_fileExit")) a->setEnabled(false);
  search->setEnabled(controller != nullptr);
  searchNext->setEnabled(controller != nullptr);

  // ---- Opening ----
  model.setRows(request.rows);
  const int startRow = model.rowOf(request.currentRecord);
  goRow(std::max(startRow, 0));
  grid->resizeColumnsToContents();
  grid->setMinimumSize(560, 300);
  placeDialog(dialog, env);
  grid->setMinimumSize(0, 0);
  grid->setFocus();
  opened = true;

  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return BrowseResult{chosen};
}

}  // namespace velk::gui
