// The configuration dialog as a Qt dialog: one tab per page, every control bound to a field of
// ConfigFormValues. The "<", preset and "..." buttons hand the values to the request's callbacks
// and show what comes back.
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <functional>

#include "gui/formdialogs_kit.h"
#include "gui/windows.h"

namespace velk::gui {

namespace {

using C = ConfigControl;

// A font as the configuration keeps it: name, size (0: leave Qt's) and style bits
// (0 bold, 1 italic, 2 underline, 3 strike-out).
QFont fontOf(const std::string& name, int size, int style) {
  QFont f(qs(name));
  if (size > 0) f.setPointSize(size);
  f.setBold(style & 1);
  f.setItalic(style & 2);
  f.setUnderline(style & 4);
  f.setStrikeOut(style & 8);
  return f;
}
int styleOf(const QFont& f) {
  return (f.bold() ? 1 : 0) | (f.italic() ? 2 : 0) | (f.underline() ? 4 : 0) | (f.strikeOut() ? 8 : 0);
}

// One page: fields in a grid on the left, radio groups and check-box groups in two columns on
// the right.
struct Page {
  QWidget* widget = nullptr;
  QGridLayout* fields = nullptr;
  QGridLayout* side = nullptr;
  int rows = 0, boxes = 0;

  void row(QWidget* label, std::initializer_list<QWidget*> widgets) {
    if (label) fields->addWidget(label, rows, 0);
    int column = 1;
    for (QWidget* w : widgets) fields->addWidget(w, rows, column++);
    ++rows;
  }
  void wide(QWidget* w) { fields->addWidget(w, rows++, 0, 1, 6); }
  void box(QWidget* w) {
    side->addWidget(w, boxes / 2, boxes % 2, Qt::AlignTop);
    ++boxes;
  }
};

class ConfigWindow {
 public:
  ConfigWindow(const WindowEnv& env, const ConfigFormRequest& q) : env_(env), q_(q), v_(q.values) {}

  std::optional<ConfigFormResult> exec() {
    d_.setObjectName(QStringLiteral("configuration"));
    d_.setWindowTitle(qs(q_.caption));
    tabs_ = new QTabWidget(&d_);
    tabs_->setObjectName(QStringLiteral("pages"));
    directories();
    graphics();
    cad();
    pens();
    printer();
    printout();
    settings();
    external();
    drawing();
    load();
    if (q_.page >= 0 && q_.page < tabs_->count()) tabs_->setCurrentIndex(q_.page);

    ConfigFormResult result;
    QDialogButtonBox* box = okCancelBox(d_, qs(q_.okText), qs(q_.cancelText));
    QObject::connect(box, &QDialogButtonBox::accepted, &d_, [&result] { result.exit = ConfigFormExit::Ok; });
    QPushButton* save = box->addButton(qs(q_.saveText), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("save"));
    save->setAutoDefault(false);
    QObject::connect(save, &QPushButton::clicked, &d_, [this, &result] {
      result.exit = ConfigFormExit::Save;
      d_.accept();
    });
    QPushButton* import = box->addButton(qs(q_.importText), QDialogButtonBox::ActionRole);
    import->setObjectName(QStringLiteral("import"));
    import->setAutoDefault(false);
    import->setEnabled(static_cast<bool>(q_.chooseImport));
    QObject::connect(import, &QPushButton::clicked, &d_, [this, &result] {
      const std::optional<std::string> path = q_.chooseImport();
      if (!path) return;  // cancelled: the window stays open
      result.exit = ConfigFormExit::Import;
      result.importPath = *path;
      d_.accept();
    });

    auto* layout = new QVBoxLayout(&d_);
    layout->addWidget(tabs_);
    layout->addWidget(box);
    placeDialog(d_, env_);
    if (d_.exec() != QDialog::Accepted) return std::nullopt;
    store();
    result.values = v_;
    result.page = tabs_->currentIndex();
    return result;
  }

 private:
  const WindowEnv& env_;
  const ConfigFormRequest& q_;
  QDialog d_{env_.parent};
  QTabWidget* tabs_ = nullptr;
  ConfigFormValues v_;  // the buttons' callbacks work on it; the controls are copied in and out
  std::vector<std::function<void()>> loads_, stores_;

  void load() {
    for (auto& f : loads_) f();
  }
  void store() {
    for (auto& f : stores_) f();
  }
  void propose(ConfigProposal p) {
    if (!q_.propose) return;
    store();
    v_ = q_.propose(p, v_);
    load();
  }
  void choose(ConfigChooser which, int line) {
    if (!q_.choose) return;
    store();
    v_ = q_.choose(which, line, v_);
    load();
  }

  const ConfigControlText& text(C c) const { return q_.text(c); }
  QString caption(C c) const { return qs(text(c).caption); }
  QString item(C c, std::size_t i) const {
    const std::vector<std::string>& items = text(c).items;
    return i < items.size() ? qs(items[i]) : QString();
  }
  void hint(QWidget* w, C c) { setFormHint(*w, env_, q_.toolTips, text(c).helpNumber, text(c).hint); }

  Page page(int index) {
    Page p;
    p.widget = new QWidget(tabs_);
    p.widget->setObjectName(QStringLiteral("page%1").arg(index));
    auto* outer = new QHBoxLayout(p.widget);
    p.fields = new QGridLayout;
    p.side = new QGridLayout;
    auto* left = new QVBoxLayout;
    left->addLayout(p.fields);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addLayout(p.side);
    right->addStretch(1);
    outer->addLayout(left, 1);
    outer->addLayout(right);
    const std::size_t i = static_cast<std::size_t>(index);
    tabs_->addTab(p.widget, i < q_.pages.size() ? qs(q_.pages[i]) : QString::number(index + 1));
    return p;
  }

  QLabel* label(const QString& t, C c) {
    auto* l = new QLabel(t, tabs_);
    hint(l, c);
    return l;
  }
  QLabel* label(C c) { return label(caption(c), c); }

  // An edit bound to a text field; path: a native path, else code page 850.
  QLineEdit* edit(std::string& field, const QString& name, C c, bool path = false) {
    auto* e = new QLineEdit(tabs_);
    e->setObjectName(name);
    hint(e, c);
    loads_.push_back([e, &field, path] { e->setText(path ? qpath(field) : qs(field)); });
    stores_.push_back([e, &field, path] { field = path ? nativePath(e->text()) : oemText(e->text()); });
    return e;
  }
  QCheckBox* check(const QString& caption, bool& field, const QString& name, C c) {
    auto* b = new QCheckBox(caption, tabs_);
    b->setObjectName(name);
    hint(b, c);
    loads_.push_back([b, &field] { b->setChecked(field); });
    stores_.push_back([b, &field] { field = b->isChecked(); });
    return b;
  }
  // A radio group of the control's items bound to a 0-based index.
  QGroupBox* radio(C c, int& field, const QString& name) {
    QButtonGroup* group = nullptr;
    QGroupBox* box = radioGroup(caption(c), text(c).items, -1, group, name, tabs_);
    hint(box, c);
    loads_.push_back([group, &field] {
      if (QAbstractButton* b = group->button(field)) b->setChecked(true);
    });
    stores_.push_back([group, &field] {
      if (group->checkedId() >= 0) field = group->checkedId();
    });
    return box;
  }
  QPushButton* button(const QString& caption, const QString& name, std::function<void()> onClick) {
    auto* b = new QPushButton(caption, tabs_);
    b->setObjectName(name);
    b->setAutoDefault(false);
    // "<", "...", "1": small buttons beside their field, not stretched over the column.
    if (caption.size() <= 3) b->setFixedWidth(b->fontMetrics().horizontalAdvance(caption) + 28);
    QObject::connect(b, &QPushButton::clicked, &d_, std::move(onClick));
    return b;
  }
  QPushButton* proposeButton(ConfigProposal p, const QString& name, const QString& caption = QStringLiteral("<")) {
    return button(caption, name, [this, p] { propose(p); });
  }
  QPushButton* chooseButton(ConfigChooser which, int line, const QString& name,
                            const QString& caption = QStringLiteral("...")) {
    return button(caption, name, [this, which, line] { choose(which, line); });
  }
  // A table of texts (code page 850) bound to cells of the values.
  QTableWidget* table(const QString& name, int rows, const QStringList& columns, const QStringList& rowTitles,
                      std::function<std::string&(int row, int column)> cell) {
    auto* t = new QTableWidget(rows, static_cast<int>(columns.size()), tabs_);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(columns);
    t->setVerticalHeaderLabels(rowTitles);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < rows; ++r)
      for (int col = 0; col < t->columnCount(); ++col) t->setItem(r, col, new QTableWidgetItem);
    loads_.push_back([t, cell] {
      for (int r = 0; r < t->rowCount(); ++r)
        for (int col = 0; col < t->columnCount(); ++col) t->item(r, col)->setText(qs(cell(r, col)));
    });
    stores_.push_back([t, cell] {
      for (int r = 0; r < t->rowCount(); ++r)
        for (int col = 0; col < t->columnCount(); ++col) cell(r, col) = oemText(t->item(r, col)->text());
    });
    t->setMinimumWidth(t->horizontalHeader()->length() + t->verticalHeader()->sizeHint().width() + 8);
    return t;
  }
  // "Farbe": the colour list for the colour cell of the table's current row (first row when none).
  void pickColor(QTableWidget* t, int column) {
    const int row = t->currentRow() >= 0 ? t->currentRow() : 0;
    QTableWidgetItem* cell = t->item(row, column);
    if (!cell) return;
    const std::string cellText = oemText(cell->text());
    ColorSelectRequest list = q_.colorList.entries.empty() ? MakeColorSelectRequest(cellText) : q_.colorList;
    list.selected = MakeColorSelectRequest(cellText).selected;
    if (const std::optional<ColorSelectResult> r = run(env_, list)) cell->setText(QString::number(r->number));
  }

  // ---- The pages ----

  void directories() {
    Page p = page(0);
    struct Dir {
      C control;
      std::string ConfigFormValues::*field;
      ConfigChooser chooser;
      const char* name;
    };
    static const Dir dirs[] = {
        {C::DbfDir, &ConfigFormValues::dbfDir, ConfigChooser::DbfDir, "dbfDir"},
        {C::ProgramDir, &ConfigFormValues::programDir, ConfigChooser::ProgramDir, "programDir"},
        {C::PltDir, &ConfigFormValues::pltDir, ConfigChooser::PltDir, "pltDir"},
        {C::TempDir, &ConfigFormValues::tempDir, ConfigChooser::TempDir, "tempDir"},
        {C::EdiDir, &ConfigFormValues::ediDir, ConfigChooser::EdiDir, "ediDir"},
        {C::DataDir, &ConfigFormValues::dataDir, ConfigChooser::DataDir, "dataDir"},
        {C::CadDir, &ConfigFormValues::cadDir, ConfigChooser::CadDir, "cadDir"},
    };
    for (const Dir& dir : dirs) {
      const QString name = QString::fromLatin1(dir.name);
      QLineEdit* e = edit(v_.*dir.field, name, dir.control, true);
      QPushButton* browse = chooseButton(dir.chooser, 0, name + QStringLiteral("Choose"));
      if (dir.control == C::TempDir)
        p.row(label(dir.control),
              {e, browse, proposeButton(ConfigProposal::TempDir, QStringLiteral("tempDirPropose"))});
      else
        p.row(label(dir.control), {e, browse});
    }
    auto* working = new QLineEdit(qpath(q_.workingDir), tabs_);
    working->setObjectName(QStringLiteral("workingDir"));
    working->setReadOnly(true);
    p.row(label(C::WorkingDir), {working});
    p.fields->setColumnMinimumWidth(1, 320);
  }

  void graphics() {
    Page p = page(1);
    p.box(radio(C::ColorGraphics, v_.colorGraphics, QStringLiteral("colorGraphics")));
    auto* size = new QWidget(tabs_);
    auto* sizeRow = new QHBoxLayout(size);
    sizeRow->setContentsMargins(0, 0, 0, 0);
    sizeRow->addWidget(new QLabel(item(C::WindowSize, 0), size));
    sizeRow->addWidget(edit(v_.windowX, QStringLiteral("windowX"), C::WindowSize));
    sizeRow->addWidget(new QLabel(item(C::WindowSize, 1), size));
    sizeRow->addWidget(edit(v_.windowY, QStringLiteral("windowY"), C::WindowSize));
    p.row(label(C::WindowSize), {size, proposeButton(ConfigProposal::WindowSize, QStringLiteral("windowSizePropose"))});

    auto* fontName = new QLabel(tabs_);
    fontName->setObjectName(QStringLiteral("graphicsFontName"));
    loads_.push_back([this, fontName] { fontName->setText(qs(v_.graphicsFont)); });
    QPushButton* font = button(caption(C::GraphicsFont), QStringLiteral("graphicsFont"), [this, fontName] {
      bool ok = false;
      const QFont f = QFontDialog::getFont(&ok, fontOf(v_.graphicsFont, 0, v_.graphicsFontStyle), &d_);
      if (!ok) return;
      v_.graphicsFont = oemText(f.family());
      v_.graphicsFontStyle = styleOf(f);
      fontName->setText(f.family());
    });
    hint(font, C::GraphicsFont);
    p.row(font, {fontName});
    p.row(label(C::GraphicsTextWidth),
          {edit(v_.graphicsTextWidth, QStringLiteral("graphicsTextWidth"), C::GraphicsTextWidth),
           proposeButton(ConfigProposal::GraphicsTextWidth, QStringLiteral("graphicsTextWidthPropose"))});
    p.row(label(C::GraphicsTextHeight),
          {edit(v_.graphicsTextHeight, QStringLiteral("graphicsTextHeight"), C::GraphicsTextHeight),
           proposeButton(ConfigProposal::GraphicsTextHeight, QStringLiteral("graphicsTextHeightPropose"))});

    auto* swatch = new QLabel(tabs_);
    swatch->setObjectName(QStringLiteral("backgroundSwatch"));
    swatch->setFixedSize(40, 20);
    auto paintSwatch = [this, swatch] {
      swatch->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid gray")
                                .arg(QColor::fromRgb(static_cast<QRgb>(v_.backgroundColor)).name()));
    };
    loads_.push_back(paintSwatch);
    QPushButton* background = button(caption(C::Background), QStringLiteral("background"), [this, paintSwatch] {
      const QColor c = QColorDialog::getColor(QColor::fromRgb(static_cast<QRgb>(v_.backgroundColor)), &d_);
      if (!c.isValid()) return;
      v_.backgroundColor = static_cast<int>(c.rgb() & 0xFFFFFFu);
      paintSwatch();
    });
    hint(background, C::Background);
    p.row(background, {swatch});

    p.row(label(C::ZoomFactor), {edit(v_.zoomFactor, QStringLiteral("zoomFactor"), C::ZoomFactor),
                                 proposeButton(ConfigProposal::ZoomFactor, QStringLiteral("zoomFactorPropose"))});
    p.row(label(C::PanFactor), {edit(v_.panFactor, QStringLiteral("panFactor"), C::PanFactor),
                                proposeButton(ConfigProposal::PanFactor, QStringLiteral("panFactorPropose"))});
    p.row(nullptr, {check(caption(C::PrintBorder), v_.printBorder, QStringLiteral("printBorder"), C::PrintBorder)});
    p.row(label(C::DialogScale), {edit(v_.dialogScale, QStringLiteral("dialogScale"), C::DialogScale),
                                  proposeButton(ConfigProposal::DialogScale, QStringLiteral("dialogScalePropose"))});
    p.row(label(C::ElementsScale),
          {edit(v_.elementsScale, QStringLiteral("elementsScale"), C::ElementsScale),
           proposeButton(ConfigProposal::ElementsScale, QStringLiteral("elementsScalePropose"))});

    auto* view = new QWidget(tabs_);
    auto* viewRow = new QHBoxLayout(view);
    viewRow->setContentsMargins(0, 0, 0, 0);
    for (std::size_t i = 0; i < 3; ++i) {
      viewRow->addWidget(new QLabel(item(C::Edit3d, i), view));
      viewRow->addWidget(edit(v_.view3d[i], QStringLiteral("view3d%1").arg(i), C::Edit3d));
    }
    p.row(check(caption(C::Edit3d), v_.edit3d, QStringLiteral("edit3d"), C::Edit3d), {view});
  }

  void cad() {
    Page p = page(2);
    QStringList columns, titles;
    for (std::size_t i = 0; i < 3; ++i) columns << item(C::LayerTable, i);
    for (const std::string& t : q_.layerTitles) titles << qs(t);
    QTableWidget* layers =
        table(QStringLiteral("layerTable"), 5, columns, titles, [this](int r, int c) -> std::string& {
          ConfigLayerRow& row = v_.layers[static_cast<std::size_t>(r)];
          return c == 0 ? row.name : c == 1 ? row.color : row.thickness;
        });
    hint(layers, C::LayerTable);
    p.wide(layers);
    auto* presets = new QWidget(tabs_);
    auto* presetRow = new QHBoxLayout(presets);
    presetRow->setContentsMargins(0, 0, 0, 0);
    static constexpr ConfigProposal kPresets[5] = {ConfigProposal::LayerPreset1, ConfigProposal::LayerPreset2,
                                                   ConfigProposal::LayerPreset3, ConfigProposal::LayerPreset4,
                                                   ConfigProposal::LayerPreset5};
    for (int k = 1; k <= 5; ++k)
      presetRow->addWidget(proposeButton(kPresets[k - 1], QStringLiteral("layerPreset%1").arg(k), QString::number(k)));
    QPushButton* color =
        button(caption(C::LayerColor), QStringLiteral("layerColor"), [this, layers] { pickColor(layers, 1); });
    hint(color, C::LayerColor);
    presetRow->addWidget(color);
    presetRow->addStretch(1);
    p.wide(presets);
    QObject::connect(layers, &QTableWidget::cellDoubleClicked, &d_, [this, layers](int, int column) {
      if (column == 1) pickColor(layers, 1);
    });
    p.row(nullptr, {check(caption(C::LayerMonochrome), v_.layerMonochrome, QStringLiteral("layerMonochrome"),
                          C::LayerMonochrome)});
    p.row(label(C::CadTextFont), {edit(v_.cadTextFont, QStringLiteral("cadTextFont"), C::CadTextFont)});
    p.row(label(C::CadTextWidth), {edit(v_.cadTextWidth, QStringLiteral("cadTextWidth"), C::CadTextWidth),
                                   proposeButton(ConfigProposal::CadTextWidth, QStringLiteral("cadTextWidthPropose"))});
    p.row(label(C::CadTextAngle), {edit(v_.cadTextAngle, QStringLiteral("cadTextAngle"), C::CadTextAngle),
                                   proposeButton(ConfigProposal::CadTextAngle, QStringLiteral("cadTextAnglePropose"))});
    p.row(nullptr, {check(caption(C::AskDiagramLimits), v_.askDiagramLimits, QStringLiteral("askDiagramLimits"),
                          C::AskDiagramLimits)});
    p.row(label(C::DecimalsDxf), {edit(v_.decimalsDxf, QStringLiteral("decimalsDxf"), C::DecimalsDxf),
                                  proposeButton(ConfigProposal::DecimalsDxf, QStringLiteral("decimalsDxfPropose"))});
    p.box(radio(C::CadTextMode, v_.cadTextMode, QStringLiteral("cadTextMode")));
  }

  void pens() {
    Page p = page(3);
    QStringList columns, titles;
    for (std::size_t i = 0; i < 2; ++i) columns << item(C::PenTable, i);
    for (int n = 16; n <= 31; ++n) titles << QString::number(n);
    QTableWidget* pens = table(QStringLiteral("penTable"), 16, columns, titles, [this](int r, int c) -> std::string& {
      ConfigPenRow& row = v_.pens[static_cast<std::size_t>(r)];
      return c == 0 ? row.color : row.thickness;
    });
    hint(pens, C::PenTable);
    p.wide(pens);
    auto* buttons = new QWidget(tabs_);
    auto* buttonRow = new QHBoxLayout(buttons);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    buttonRow->addWidget(label(C::PenThickness));
    static constexpr ConfigProposal kThickness[3] = {ConfigProposal::PenThickness1, ConfigProposal::PenThickness2,
                                                     ConfigProposal::PenThickness3};
    for (std::size_t i = 0; i < 3; ++i)
      buttonRow->addWidget(
          proposeButton(kThickness[i], QStringLiteral("penThickness%1").arg(i + 1), item(C::PenThickness, i)));
    buttonRow->addWidget(
        button(caption(C::LayerColor), QStringLiteral("penColor"), [this, pens] { pickColor(pens, 0); }));
    buttonRow->addStretch(1);
    p.wide(buttons);
    QObject::connect(pens, &QTableWidget::cellDoubleClicked, &d_, [this, pens](int, int column) {
      if (column == 0) pickColor(pens, 0);
    });
  }

  void printer() {
    Page p = page(4);
    p.row(label(caption(C::PrintOrigin) + QStringLiteral(" ") + item(C::PrintOrigin, 0), C::PrintOrigin),
          {edit(v_.printOriginX, QStringLiteral("printOriginX"), C::PrintOrigin),
           proposeButton(ConfigProposal::PrintOriginX, QStringLiteral("printOriginXPropose"))});
    p.row(label(caption(C::PrintOrigin) + QStringLiteral(" ") + item(C::PrintOrigin, 1), C::PrintOrigin),
          {edit(v_.printOriginY, QStringLiteral("printOriginY"), C::PrintOrigin),
           proposeButton(ConfigProposal::PrintOriginY, QStringLiteral("printOriginYPropose"))});
    p.row(label(C::PrintScaleX), {edit(v_.printScaleX, QStringLiteral("printScaleX"), C::PrintScaleX),
                                  proposeButton(ConfigProposal::PrintScaleX, QStringLiteral("printScaleXPropose"))});
    p.row(label(C::PrintScaleY),
          {edit(v_.printScaleY, QStringLiteral("printScaleY"), C::PrintScaleY),
           proposeButton(ConfigProposal::PrintScaleYFromX, QStringLiteral("printScaleYPropose"))});
    p.row(nullptr, {check(caption(C::GraphicsPrintDialog), v_.graphicsPrintDialog,
                          QStringLiteral("graphicsPrintDialog"), C::GraphicsPrintDialog)});
    p.box(radio(C::PrintMode, v_.printMode, QStringLiteral("printMode")));
    p.box(radio(C::PrintOrientation, v_.printOrientation, QStringLiteral("printOrientation")));
    p.box(radio(C::PrinterPort, v_.printerPort, QStringLiteral("printerPort")));
  }

  void printout() {
    Page p = page(5);
    p.row(label(C::LinesPerPage), {edit(v_.linesPerPage, QStringLiteral("linesPerPage"), C::LinesPerPage)});
    p.row(label(C::HeaderSpaceLines),
          {edit(v_.headerSpaceLines, QStringLiteral("headerSpaceLines"), C::HeaderSpaceLines)});

    // The report devices by name; a device that is not offered has no name and no item.
    auto* device = new QComboBox(tabs_);
    device->setObjectName(QStringLiteral("textDevice"));
    hint(device, C::TextDevice);
    for (const std::string& name : q_.deviceNames)
      if (!name.empty()) device->addItem(qs(name));
    loads_.push_back(
        [this, device] { device->setCurrentIndex(v_.textDevice.empty() ? -1 : device->findText(qs(v_.textDevice))); });
    stores_.push_back([this, device] {
      v_.textDevice = device->currentIndex() < 0 ? std::string() : oemText(device->currentText());
    });
    p.row(label(C::TextDevice), {device, check(caption(C::TextDeviceAsk), v_.textDeviceAsk,
                                               QStringLiteral("textDeviceAsk"), C::TextDeviceAsk)});

    auto* window = new QWidget(tabs_);
    auto* windowGrid = new QGridLayout(window);
    windowGrid->setContentsMargins(0, 0, 0, 0);
    static const char* const kWindowNames[4] = {"textWindowLeft", "textWindowTop", "textWindowWidth",
                                                "textWindowHeight"};
    for (std::size_t i = 0; i < 4; ++i) {
      const int r = static_cast<int>(i / 2), c = static_cast<int>(i % 2) * 2;
      windowGrid->addWidget(new QLabel(item(C::TextWindow, i), window), r, c);
      QLineEdit* e = edit(v_.textWindow[i], QString::fromLatin1(kWindowNames[i]), C::TextWindow);
      e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
      windowGrid->addWidget(e, r, c + 1);
    }
    p.row(label(C::TextWindow),
          {window, proposeButton(ConfigProposal::TextWindow, QStringLiteral("textWindowPropose"))});

    auto* fontName = new QLabel(tabs_);
    fontName->setObjectName(QStringLiteral("printoutFontName"));
    auto showFont = [this, fontName] {
      fontName->setText(qs(v_.printoutFont) + QStringLiteral(", %1").arg(v_.printoutFontSize));
    };
    loads_.push_back(showFont);
    QPushButton* font = button(caption(C::PrintoutFont), QStringLiteral("printoutFont"), [this, showFont] {
      bool ok = false;
      QFont initial = fontOf(v_.printoutFont, v_.printoutFontSize, v_.printoutFontStyle);
      initial.setStyleHint(QFont::Monospace);
      const QFont f = QFontDialog::getFont(&ok, initial, &d_, QString(), QFontDialog::MonospacedFonts);
      if (!ok) return;
      v_.printoutFont = oemText(f.family());
      v_.printoutFontSize = f.pointSize() > 0 ? f.pointSize() : v_.printoutFontSize;
      v_.printoutFontStyle = styleOf(f);
      showFont();
    });
    hint(font, C::PrintoutFont);
    p.row(font, {fontName});

    p.box(radio(C::RuleMode, v_.ruleMode, QStringLiteral("ruleMode")));
    p.box(radio(C::DateFormat, v_.dateFormat, QStringLiteral("dateFormat")));
    p.box(radio(C::HeaderMode, v_.headerMode, QStringLiteral("headerMode")));
    p.box(radio(C::AngleDisplay, v_.angleDisplay, QStringLiteral("angleDisplay")));
    p.box(radio(C::Units, v_.units, QStringLiteral("units")));
  }

  void settings() {
    Page p = page(6);
    auto* userDir = new QGroupBox(caption(C::AskUserDir), tabs_);
    auto* userDirLayout = new QVBoxLayout(userDir);
    userDirLayout->addWidget(check(item(C::AskUserDir, 0), v_.askUserDir, QStringLiteral("askUserDir"), C::AskUserDir));
    p.row(nullptr, {userDir});
    p.row(label(C::DecimalPlaces), {edit(v_.decimalPlaces, QStringLiteral("decimalPlaces"), C::DecimalPlaces)});
    p.row(nullptr, {check(caption(C::ArchiveMode), v_.archiveMode, QStringLiteral("archiveMode"), C::ArchiveMode)});
    p.box(radio(C::HelpLevel, v_.helpLevel, QStringLiteral("helpLevel")));
    p.box(radio(C::ResultGraphic, v_.resultGraphic, QStringLiteral("resultGraphic")));
    p.box(radio(C::DecimalComma, v_.decimalComma, QStringLiteral("decimalComma")));
    p.box(radio(C::SpreadsheetDecimal, v_.spreadsheetDecimal, QStringLiteral("spreadsheetDecimal")));
    p.box(radio(C::PlainChars, v_.plainChars, QStringLiteral("plainChars")));
  }

  void external() {
    Page p = page(7);
    p.row(label(C::TextProgram), {edit(v_.textProgram, QStringLiteral("textProgram"), C::TextProgram, true),
                                  chooseButton(ConfigChooser::TextProgram, 0, QStringLiteral("textProgramChoose"))});
    p.row(label(C::HtmlBrowser), {edit(v_.htmlBrowser, QStringLiteral("htmlBrowser"), C::HtmlBrowser, true),
                                  chooseButton(ConfigChooser::HtmlBrowser, 0, QStringLiteral("htmlBrowserChoose"))});
    p.wide(label(C::PlotLines));
    for (int i = 0; i < static_cast<int>(v_.plotLines.size()); ++i) {
      QPushButton* config = chooseButton(ConfigChooser::PlotLineConfig, i, QStringLiteral("plotLineConfig%1").arg(i),
                                         caption(C::PlotLineConfig));
      hint(config, C::PlotLineConfig);
      QPushButton* change = chooseButton(ConfigChooser::PlotLineEdit, i, QStringLiteral("plotLineEdit%1").arg(i),
                                         caption(C::PlotLineEdit));
      hint(change, C::PlotLineEdit);
      p.row(new QLabel(QString::number(i + 1), tabs_),
            {edit(v_.plotLines[static_cast<std::size_t>(i)], QStringLiteral("plotLine%1").arg(i), C::PlotLines, true),
             config, change});
    }
    p.fields->setColumnMinimumWidth(1, 320);
  }

  void drawing() {
    Page p = page(8);
    p.row(label(C::ReleaseFieldText),
          {edit(v_.releaseFieldText, QStringLiteral("releaseFieldText"), C::ReleaseFieldText),
           proposeButton(ConfigProposal::ReleaseFieldText, QStringLiteral("releaseFieldTextPropose"))});
    p.row(label(caption(C::DimensionFactor) + QStringLiteral(" ") + item(C::DimensionFactor, 0), C::DimensionFactor),
          {edit(v_.dimensionFactor, QStringLiteral("dimensionFactor"), C::DimensionFactor),
           proposeButton(ConfigProposal::DimensionFactor, QStringLiteral("dimensionFactorPropose"))});
    for (std::size_t i = 0; i < v_.drawingShown.size(); ++i)
      p.row(nullptr, {check(item(C::DrawingShown, i), v_.drawingShown[i], QStringLiteral("drawingShown%1").arg(i),
                            C::DrawingShown)});
    p.box(radio(C::ChangeIndexStyle, v_.changeIndexStyle, QStringLiteral("changeIndexStyle")));
  }
};

}  // namespace

std::optional<ConfigFormRequest::Result> run(const WindowEnv& env, const ConfigFormRequest& request) {
  ConfigWindow window(env, request);
  return window.exec();
}

}  // namespace velk::gui
