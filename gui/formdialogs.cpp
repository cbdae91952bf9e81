// The input forms (calculation settings, spring ends, application), the colour list, the plot
// program form and the file overview as Qt dialogs. The configuration dialog is in
// formdialogs_config.cpp, the print forms in formdialogs_print.cpp.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPixmap>
#include <QTableWidget>

#include "gui/formdialogs_kit.h"
#include "gui/windows.h"
#include "ui/overviewform.h"

namespace velk::gui {

// ---- Calculation settings ----

std::optional<CalcSettingsRequest::Result> run(const WindowEnv& env, const CalcSettingsRequest& q) {
  QDialog d(env.parent);
  d.setObjectName(QStringLiteral("calcSettings"));
  d.setWindowTitle(qs(q.caption));
  auto* grid = new QGridLayout;
  auto combo = [&d](const QString& name, const std::vector<std::string>& items, int index) {
    auto* c = new QComboBox(&d);
    c->setObjectName(name);
    for (const std::string& item : items) c->addItem(qs(item));
    c->setCurrentIndex(index >= 0 && index < c->count() ? index : 0);
    return c;
  };
  auto* crossLabel = new QLabel(qs(q.crossSectionLabel), &d);
  crossLabel->setObjectName(QStringLiteral("crossSectionLabel"));
  QComboBox* cross = combo(QStringLiteral("crossSection"), q.crossSectionItems, q.controls.crossSectionIndex);
  auto* unitsLabel = new QLabel(qs(q.unitsLabel), &d);
  unitsLabel->setObjectName(QStringLiteral("unitsLabel"));
  QComboBox* units = combo(QStringLiteral("units"), q.unitsItems, q.controls.unitsIndex);
  setFormHint(*crossLabel, env, q.showHints, q.crossSectionHint.helpNumber, q.crossSectionHint.text);
  setFormHint(*unitsLabel, env, q.showHints, q.unitsHint.helpNumber, q.unitsHint.text);
  grid->addWidget(crossLabel, 0, 0);
  grid->addWidget(cross, 0, 1);
  grid->addWidget(unitsLabel, 1, 0);
  grid->addWidget(units, 1, 1);

  QDialogButtonBox* box = okCancelBox(d, qs(q.okCaption), qs(q.cancelCaption));
  addHelpTextButton(*box, env, q.helpNumber, qs(q.helpCaption));
  QPushButton* images = box->addButton(qs(q.helpImagesCaption), QDialogButtonBox::HelpRole);
  images->setObjectName(QStringLiteral("helpImages"));
  images->setEnabled(static_cast<bool>(q.showHelpImages));
  QObject::connect(images, &QPushButton::clicked, &d, [&q] { q.showHelpImages(); });

  auto* layout = new QVBoxLayout(&d);
  layout->addLayout(grid);
  layout->addWidget(box);
  placeDialog(d, env);
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  return CalcSettingsResult{cross->currentIndex(), units->currentIndex()};
}

// ---- Spring ends ----

std::optional<SpringEndsRequest::Result> run(const WindowEnv& env, const SpringEndsRequest& q) {
  QDialog d(env.parent);
  d.setObjectName(QStringLiteral("springEnds"));
  d.setWindowTitle(qs(q.caption));

  struct End {
    QButtonGroup* form = nullptr;
    QLineEdit *length = nullptr, *radius = nullptr;
    QLabel *lengthUnit = nullptr, *radiusUnit = nullptr;
  };
  // One group per end: the form radio group, length and bend radius with their unit labels.
  auto makeEnd = [&d, &q](End& e, const std::string& title, const QString& suffix, int formIndex) {
    auto* group = new QGroupBox(qs(title), &d);
    group->setObjectName(QStringLiteral("GroupBox_") + suffix);
    auto* grid = new QGridLayout(group);
    grid->addWidget(radioGroup(qs(q.formTitle), q.formItems, formIndex, e.form, QStringLiteral("form") + suffix), 0, 0,
                    1, 3);
    e.length = namedEdit(QStringLiteral("l") + suffix, {}, group);
    e.radius = namedEdit(QStringLiteral("r") + suffix, {}, group);
    e.lengthUnit = new QLabel(group);
    e.lengthUnit->setObjectName(QStringLiteral("l") + suffix + QStringLiteral("u"));
    e.radiusUnit = new QLabel(group);
    e.radiusUnit->setObjectName(QStringLiteral("r") + suffix + QStringLiteral("u"));
    grid->addWidget(new QLabel(qs(q.lengthLabel), group), 1, 0);
    grid->addWidget(e.length, 1, 1);
    grid->addWidget(e.lengthUnit, 1, 2);
    grid->addWidget(new QLabel(qs(q.radiusLabel), group), 2, 0);
    grid->addWidget(e.radius, 2, 1);
    grid->addWidget(e.radiusUnit, 2, 2);
    return group;
  };
  End inner, outer;
  QGroupBox* innerBox = makeEnd(inner, q.innerTitle, QStringLiteral("i"), q.controls.formiIndex);
  QGroupBox* outerBox = makeEnd(outer, q.outerTitle, QStringLiteral("e"), q.controls.formeIndex);
  auto* shot = new QCheckBox(qs(q.kugelstrahlenCaption), &d);
  shot->setObjectName(QStringLiteral("kugelstrahlen"));
  setFormHint(*shot, env, q.showHints, q.kugelstrahlenHint.helpNumber, q.kugelstrahlenHint.text);

  auto current = [&] {
    SpringEndsResult r;
    r.formiIndex = checkedIndex(inner.form);
    r.li = oemText(inner.length->text());
    r.ri = oemText(inner.radius->text());
    r.formeIndex = checkedIndex(outer.form);
    r.le = oemText(outer.length->text());
    r.re = oemText(outer.radius->text());
    r.kugelstrahlen = shot->isChecked();
    return r;
  };
  auto enable = [&] {
    const SpringEndsEnabled on = springEndsEnabled(current());
    inner.length->setEnabled(on.li);
    inner.radius->setEnabled(on.ri);
    outer.length->setEnabled(on.le);
    outer.radius->setEnabled(on.re);
  };
  auto fill = [&](const SpringEndsResult& c, const std::string& unit) {
    if (QAbstractButton* b = inner.form->button(c.formiIndex)) b->setChecked(true);
    if (QAbstractButton* b = outer.form->button(c.formeIndex)) b->setChecked(true);
    inner.length->setText(qs(c.li));
    inner.radius->setText(qs(c.ri));
    outer.length->setText(qs(c.le));
    outer.radius->setText(qs(c.re));
    shot->setChecked(c.kugelstrahlen);
    for (QLabel* l : {inner.lengthUnit, inner.radiusUnit, outer.lengthUnit, outer.radiusUnit}) l->setText(qs(unit));
    enable();
  };
  fill(q.controls, q.unit);
  QObject::connect(inner.form, &QButtonGroup::idClicked, &d, [&] { enable(); });
  QObject::connect(outer.form, &QButtonGroup::idClicked, &d, [&] { enable(); });

  QDialogButtonBox* box = okCancelBox(d, qs(q.okCaption), qs(q.cancelCaption));
  addHelpTextButton(*box, env, q.helpNumber, qs(q.helpCaption));
  QPushButton* metric = box->addButton(qs(q.metricCaption), QDialogButtonBox::ActionRole);
  metric->setObjectName(QStringLiteral("metric"));
  metric->setAutoDefault(false);
  metric->setEnabled(static_cast<bool>(q.switchUnits));
  QObject::connect(metric, &QPushButton::clicked, &d, [&] {
    const SpringEndsRefill refill = q.switchUnits(current());
    fill(refill.controls, refill.unit);
  });

  auto* ends = new QHBoxLayout;
  ends->addWidget(innerBox);
  ends->addWidget(outerBox);
  auto* layout = new QVBoxLayout(&d);
  layout->addLayout(ends);
  layout->addWidget(shot);
  layout->addWidget(box);
  placeDialog(d, env);
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  return current();
}

// ---- Application ----

std::optional<ApplicationRequest::Result> run(const WindowEnv& env, const ApplicationRequest& q) {
  QDialog d(env.parent);
  d.setObjectName(QStringLiteral("application"));
  d.setWindowTitle(qs(q.caption));
  QButtonGroup* statdyn = nullptr;
  QGroupBox* statdynBox =
      radioGroup(qs(q.statdynTitle), q.statdynItems, q.controls.statdynIndex, statdyn, QStringLiteral("statdyn"), &d);
  setFormHint(*statdynBox, env, q.showHints, q.statdynHint.helpNumber, q.statdynHint.text);
  auto* freqLabel = new QLabel(qs(q.freqLabel), &d);
  setFormHint(*freqLabel, env, q.showHints, q.freqHint.helpNumber, q.freqHint.text);
  QLineEdit* freq = namedEdit(QStringLiteral("freq"), q.controls.freq, &d);
  auto* tempLabel = new QLabel(qs(q.temperaturLabel), &d);
  setFormHint(*tempLabel, env, q.showHints, q.temperaturHint.helpNumber, q.temperaturHint.text);
  QLineEdit* temp = namedEdit(QStringLiteral("temperatur"), q.controls.temperatur, &d);
  auto* tempUnit = new QLabel(qs(q.temperaturUnit), &d);
  tempUnit->setObjectName(QStringLiteral("tempu"));

  auto current = [&] { return ApplicationResult{checkedIndex(statdyn), oemText(freq->text()), oemText(temp->text())}; };
  freq->setEnabled(q.freqEnabled);
  QObject::connect(statdyn, &QButtonGroup::idClicked, &d, [&] { freq->setEnabled(frequencyEnabled(current())); });

  auto* grid = new QGridLayout;
  grid->addWidget(freqLabel, 0, 0);
  grid->addWidget(freq, 0, 1);
  grid->addWidget(new QLabel(qs(q.freqUnit), &d), 0, 2);
  grid->addWidget(tempLabel, 1, 0);
  grid->addWidget(temp, 1, 1);
  grid->addWidget(tempUnit, 1, 2);
  QDialogButtonBox* box = okCancelBox(d, qs(q.okCaption), qs(q.cancelCaption));
  addHelpTextButton(*box, env, q.helpNumber, qs(q.helpCaption));
  auto* layout = new QVBoxLayout(&d);
  layout->addWidget(statdynBox);
  layout->addLayout(grid);
  layout->addWidget(box);
  placeDialog(d, env);
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  return current();
}

// ---- Colour list ----

std::optional<ColorSelectRequest::Result> run(const WindowEnv& env, const ColorSelectRequest& q) {
  QDialog d(env.parent);
  d.setObjectName(QStringLiteral("selectColor"));
  d.setWindowTitle(qs(q.caption));
  auto* list = new QListWidget(&d);
  list->setObjectName(QStringLiteral("colors"));
  for (const ColorListEntry& e : q.entries) {
    QPixmap swatch(16, 16);
    swatch.fill(QColor::fromRgb(static_cast<QRgb>(e.rgb)));
    list->addItem(new QListWidgetItem(QIcon(swatch), qs(e.text)));
  }
  if (q.selected >= 1 && q.selected <= list->count()) list->setCurrentRow(q.selected - 1);
  QDialogButtonBox* box = okCancelBox(d, QStringLiteral("OK"), QStringLiteral("Abbrechen"));
  QObject::connect(list, &QListWidget::itemDoubleClicked, &d, &QDialog::accept);
  auto* layout = new QVBoxLayout(&d);
  layout->addWidget(list);
  layout->addWidget(box);
  placeDialog(d, env);
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  const int row = list->currentRow();
  // OK without a selection chooses nothing: the cell stays as it was.
  if (row < 0 || row >= static_cast<int>(q.entries.size())) return std::nullopt;
  return ColorSelectResult{q.entries[static_cast<std::size_t>(row)].number};
}

// ---- File overview ----

std::optional<FileOverviewRequest::Result> run(const WindowEnv& env, const FileOverviewRequest& q) {
  QDialog d(env.parent);
  d.setObjectName(QStringLiteral("fileOverview"));
  d.setWindowTitle(qs(q.caption));
  FileOverviewResult result;
  result.rows = q.rows;
  if (result.rows.empty()) result.rows.push_back({});

  auto* table = new QTableWidget(0, kOverviewColumns, &d);
  table->setObjectName(QStringLiteral("table"));
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->verticalHeader()->hide();
  for (int c = 0; c < kOverviewColumns; ++c) {
    const int w = q.columnWidths[static_cast<std::size_t>(c)];
    table->setColumnWidth(c, w > 0 ? w : kOverviewDefaultColumnWidth);
  }
  auto fill = [&] {
    const OverviewCells& header = result.rows.front().cells;
    QStringList labels;
    for (const std::string& h : header) labels << qs(h);
    table->setHorizontalHeaderLabels(labels);
    table->setRowCount(static_cast<int>(result.rows.size()) - 1);
    for (std::size_t r = 1; r < result.rows.size(); ++r)
      for (int c = 0; c < kOverviewColumns; ++c)
        table->setItem(static_cast<int>(r) - 1, c,
                       new QTableWidgetItem(qs(result.rows[r].cells[static_cast<std::size_t>(c)])));
  };
  fill();

  QHeaderView* header = table->horizontalHeader();
  header->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(header, &QWidget::customContextMenuRequested, &d, [&](const QPoint& pos) {
    const int column = header->logicalIndexAt(pos);
    if (column < 0) return;
    SortOverviewRows(result.rows, column);
    fill();
  });
  auto choose = [&](int row) {
    if (row < 0 || row + 1 >= static_cast<int>(result.rows.size())) return;
    result.action = FileOverviewResult::Action::Open;
    result.chosenRow = static_cast<std::size_t>(row) + 1;
    d.accept();
  };
  QObject::connect(table, &QTableWidget::cellClicked, &d, [&](int row, int) { choose(row); });
  QObject::connect(table, &QTableWidget::cellActivated, &d, [&](int row, int) { choose(row); });

  auto* menu = new QMenuBar(&d);
  QMenu* file = menu->addMenu(QStringLiteral("File"));
  QAction* excel = file->addAction(QStringLiteral("Export Excel"));
  excel->setObjectName(QStringLiteral("exportExcel"));
  QObject::connect(excel, &QAction::triggered, &d, [&] {
    result.action = FileOverviewResult::Action::ExportExcel;
    d.accept();
  });
  QAction* exit = file->addAction(QStringLiteral("E&xit"));
  exit->setObjectName(QStringLiteral("exit"));
  QObject::connect(exit, &QAction::triggered, &d, &QDialog::reject);

  auto* layout = new QVBoxLayout(&d);
  layout->setMenuBar(menu);
  layout->addWidget(table);
  placeDialog(d, env);
  // The grid wants room for more than a handful of its 30 columns.
  d.resize(d.size().expandedTo(QSize(900, 400)));
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  return result;
}

// ---- Plot program form ----

std::optional<PlotFormRequest::Result> run(const WindowEnv& env, const PlotFormRequest& q) {
  QDialog d(env.parent);
  d.setObjectName(QStringLiteral("plotForm"));
  d.setWindowTitle(QStringLiteral("PLOTRIX"));
  const PlotFormValues& v = q.values;
  bool changed = false;
  bool filling = true;

  auto button = [&d](const QString& caption, const QString& name) {
    auto* b = new QPushButton(caption, &d);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
  };
  QLineEdit* path = namedEdit(QStringLiteral("plotrixPath"), {}, &d);
  path->setText(qpath(v.plotrixPath));
  QPushButton* browsePath = button(QStringLiteral("..."), QStringLiteral("browsePath"));
  QButtonGroup* outcode = nullptr;
  QGroupBox* outcodeBox =
      radioGroup(QStringLiteral("Ausgabeformat"),
                 {"HP-GL Laserjet (HPL)", "Postscript (PS)", "HP-GL Plotter (PLT)", "HP-GL/2 (PL2)", "Aristo (ART)"},
                 v.outcode - 1, outcode, QStringLiteral("outcode"), &d);
  QButtonGroup* iface = nullptr;
  QGroupBox* ifaceBox = radioGroup(QStringLiteral("Ausgabeschnittstelle"), {"seriell", "parallel", "Datei"},
                                   v.outInterface - 1, iface, QStringLiteral("interface"), &d);
  QLineEdit* com = namedEdit(QStringLiteral("com"), v.com, &d);
  QLineEdit* lpt = namedEdit(QStringLiteral("lpt"), v.lpt, &d);
  QLineEdit* outdir = namedEdit(QStringLiteral("outdir"), {}, &d);
  outdir->setText(qpath(v.outdir));
  QPushButton* browseDir = button(QStringLiteral("Dir..."), QStringLiteral("browseDir"));
  QPushButton* tempDir = button(QStringLiteral("<"), QStringLiteral("tempDir"));
  QLineEdit* scale = namedEdit(QStringLiteral("scale"), v.scale, &d);
  auto* fitScale = new QCheckBox(QStringLiteral("Maßstab anpassen ?"), &d);
  fitScale->setObjectName(QStringLiteral("fitScale"));
  auto* rotate = new QCheckBox(QStringLiteral("Plot um 90 Grad drehen ?"), &d);
  rotate->setObjectName(QStringLiteral("rotate"));
  rotate->setChecked(v.rotate);
  QLineEdit* xnull = namedEdit(QStringLiteral("xnull"), v.xnull, &d);
  QLineEdit* ynull = namedEdit(QStringLiteral("ynull"), v.ynull, &d);
  QLineEdit* textWidth = namedEdit(QStringLiteral("textWidth"), v.textWidth, &d);
  auto* psFont = new QComboBox(&d);
  psFont->setObjectName(QStringLiteral("psFont"));
  psFont->setEditable(true);  // "andere Schriften": the user may type a font of the printer
  for (const std::string& f : q.psFonts) psFont->addItem(qs(f));
  psFont->setCurrentIndex(-1);
  psFont->setEditText(qs(v.psFont));
  auto* commandLine = new QLabel(&d);
  commandLine->setObjectName(QStringLiteral("commandLine"));
  commandLine->setTextInteractionFlags(Qt::TextSelectableByMouse);

  // The scale the user had before "Maßstab anpassen ?" put in 0.
  QString scaleBeforeFit = qs(v.scale);
  fitScale->setChecked(v.fitScale);
  if (v.fitScale) scale->setText(QStringLiteral("0"));

  auto current = [&] {
    PlotFormValues r;
    r.plotrixPath = nativePath(path->text());
    r.outcode = checkedIndex(outcode) + 1;
    r.outInterface = checkedIndex(iface) + 1;
    r.com = oemText(com->text());
    r.lpt = oemText(lpt->text());
    r.outdir = nativePath(outdir->text());
    r.scale = oemText(scale->text());
    r.fitScale = fitScale->isChecked();
    r.rotate = rotate->isChecked();
    r.xnull = oemText(xnull->text());
    r.ynull = oemText(ynull->text());
    r.textWidth = oemText(textWidth->text());
    r.psFont = oemText(psFont->currentText());
    return r;
  };
  auto refresh = [&] {
    const PlotFormValues now = current();
    com->setEnabled(now.outInterface == 1);
    lpt->setEnabled(now.outInterface == 2);
    for (QWidget* w : std::initializer_list<QWidget*>{outdir, browseDir, tempDir}) w->setEnabled(now.outInterface == 3);
    scale->setEnabled(!now.fitScale);
    psFont->setEnabled(now.outcode == 2);
    if (q.commandLine) commandLine->setText(qs(q.commandLine(now)));
    if (!filling) changed = true;
  };
  refresh();
  filling = false;

  for (QLineEdit* e : {path, com, lpt, outdir, scale, xnull, ynull, textWidth})
    QObject::connect(e, &QLineEdit::textChanged, &d, [&] { refresh(); });
  QObject::connect(outcode, &QButtonGroup::idClicked, &d, [&] { refresh(); });
  QObject::connect(iface, &QButtonGroup::idClicked, &d, [&] { refresh(); });
  QObject::connect(rotate, &QCheckBox::toggled, &d, [&] { refresh(); });
  QObject::connect(psFont, &QComboBox::currentTextChanged, &d, [&] { refresh(); });
  QObject::connect(fitScale, &QCheckBox::toggled, &d, [&](bool on) {
    if (on) {
      scaleBeforeFit = scale->text();
      scale->setText(QStringLiteral("0"));
    } else {
      scale->setText(scaleBeforeFit);
    }
    refresh();
  });
  QObject::connect(browsePath, &QPushButton::clicked, &d, [&] {
    OpenFileRequest open;
    open.caption = "PLOTRIX";
    const std::string now = nativePath(path->text());
    const std::size_t slash = now.find_last_of('/');
    if (slash != std::string::npos) open.folder = now.substr(0, slash);
    open.filter = "*|*";
    if (const std::optional<FileResult> chosen = run(env, open); chosen && !chosen->path.empty())
      path->setText(qpath(chosen->path));
  });
  QObject::connect(browseDir, &QPushButton::clicked, &d, [&] {
    FolderRequest folder;
    folder.start = nativePath(outdir->text());
    if (const std::optional<FileResult> chosen = run(env, folder); chosen && !chosen->path.empty())
      outdir->setText(qpath(chosen->path));
  });
  QObject::connect(tempDir, &QPushButton::clicked, &d, [&] { outdir->setText(qpath(q.tempFolder)); });

  // Tool tips of the help texts' plot topics.
  const bool tips = q.toolTips;
  setFormHint(*outcodeBox, env, tips, 2090);
  for (QWidget* w : {static_cast<QWidget*>(ifaceBox), static_cast<QWidget*>(com), static_cast<QWidget*>(lpt)})
    setFormHint(*w, env, tips, 2120);
  setFormHint(*scale, env, tips, 2140);
  setFormHint(*fitScale, env, tips, 2140);
  setFormHint(*outdir, env, tips, 2130);
  setFormHint(*psFont, env, tips, 2280);
  setFormHint(*rotate, env, tips, 2145);
  setFormHint(*xnull, env, tips, 2150);
  setFormHint(*ynull, env, tips, 2150);
  setFormHint(*textWidth, env, tips, 2160);
  setFormHint(*path, env, tips, 2080);

  auto* pathRow = new QHBoxLayout;
  pathRow->addWidget(path, 1);
  pathRow->addWidget(browsePath);
  auto* ports = new QGridLayout;
  ports->addWidget(new QLabel(QStringLiteral("COM"), &d), 0, 0);
  ports->addWidget(com, 0, 1);
  ports->addWidget(new QLabel(QStringLiteral("LPT"), &d), 1, 0);
  ports->addWidget(lpt, 1, 1);
  auto* dirRow = new QHBoxLayout;
  dirRow->addWidget(outdir, 1);
  dirRow->addWidget(browseDir);
  dirRow->addWidget(tempDir);
  ports->addLayout(dirRow, 2, 0, 1, 2);
  auto* radios = new QHBoxLayout;
  radios->addWidget(outcodeBox);
  auto* ifaceColumn = new QVBoxLayout;
  ifaceColumn->addWidget(ifaceBox);
  ifaceColumn->addLayout(ports);
  radios->addLayout(ifaceColumn);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("PLOTRIX Programmverzeichnis"), pathRow);
  auto* scaleRow = new QHBoxLayout;
  scaleRow->addWidget(scale);
  scaleRow->addWidget(fitScale);
  form->addRow(QStringLiteral("Maßstab"), scaleRow);
  form->addRow(QString(), rotate);
  form->addRow(QStringLiteral("Nullpunktverschiebung in x-Richtung"), xnull);
  form->addRow(QStringLiteral("Nullpunktverschiebung in y-Richtung"), ynull);
  form->addRow(QStringLiteral("Textbreitenfaktor"), textWidth);
  form->addRow(QStringLiteral("Postscript-Zeichensatz"), psFont);
  form->addRow(QStringLiteral("Command Line:"), commandLine);

  QDialogButtonBox* box = okCancelBox(d, QStringLiteral("OK"), QStringLiteral("Abbrechen"));
  addHelpTextButton(*box, env, q.helpNumber);
  auto* layout = new QVBoxLayout(&d);
  layout->addLayout(radios);
  layout->addLayout(form);
  layout->addWidget(box);
  placeDialog(d, env);
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  return PlotFormResult{current(), changed};
}

}  // namespace velk::gui
