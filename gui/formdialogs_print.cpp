// The print forms as Qt dialogs: the graphics print setup ("Ausdruck"), the printer information
// grid and the print macro's check boxes.
#include <QCheckBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include "gui/formdialogs_kit.h"
#include "gui/windows.h"

namespace velk::gui {

namespace {

// Runs a function whenever the watched window becomes the active one.
class ActivationWatcher : public QObject {
 public:
  ActivationWatcher(QObject* parent, std::function<void()> onActivate)
      : QObject(parent), onActivate_(std::move(onActivate)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowActivate) onActivate_();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> onActivate_;
};

}  // namespace

// ---- Print setup ----

std::optional<PrintConfigRequest::Result> run(const WindowEnv& env, const PrintConfigRequest& q) {
  QDialog d(env.parent);
  d.setObjectName(QStringLiteral("printConfig"));
  d.setWindowTitle(qs(q.caption));

  static const char* const kEditNames[4] = {"scaleX", "scaleY", "originX", "originY"};
  std::array<QLineEdit*, 4> edits{};
  auto* grid = new QGridLayout;
  for (std::size_t i = 0; i < 4; ++i) {
    edits[i] = namedEdit(QString::fromLatin1(kEditNames[i]), {}, &d);
    grid->addWidget(new QLabel(qs(q.editLabels[i]), &d), static_cast<int>(i), 0);
    grid->addWidget(edits[i], static_cast<int>(i), 1);
  }
  auto* border = new QCheckBox(qs(q.borderCaption), &d);
  border->setObjectName(QStringLiteral("border"));
  auto* fit = new QCheckBox(qs(q.fitCaption), &d);
  fit->setObjectName(QStringLiteral("fit"));
  grid->addWidget(border, 4, 0, 1, 2);
  grid->addWidget(fit, 5, 0, 1, 2);
  QButtonGroup* shading = nullptr;
  QGroupBox* shadingBox = radioGroup(qs(q.shadingTitle), {q.shadingItems[0], q.shadingItems[1]}, -1, shading,
                                     QStringLiteral("shading"), &d);
  QButtonGroup* orientation = nullptr;
  QGroupBox* orientationBox = radioGroup(qs(q.orientationTitle), {q.orientationItems[0], q.orientationItems[1]}, -1,
                                         orientation, QStringLiteral("orientation"), &d);

  auto fill = [&](const PrintConfigValues& v) {
    edits[0]->setText(qs(v.scaleX));
    edits[1]->setText(qs(v.scaleY));
    edits[2]->setText(qs(v.originX));
    edits[3]->setText(qs(v.originY));
    border->setChecked(v.border);
    fit->setChecked(v.fit);
    shading->button(v.monochrome ? 0 : 1)->setChecked(true);
    orientation->button(v.landscape ? 1 : 0)->setChecked(true);
  };
  auto current = [&] {
    PrintConfigValues v;
    v.scaleX = oemText(edits[0]->text());
    v.scaleY = oemText(edits[1]->text());
    v.originX = oemText(edits[2]->text());
    v.originY = oemText(edits[3]->text());
    v.border = border->isChecked();
    v.fit = fit->isChecked();
    v.monochrome = checkedIndex(shading) == 0;
    v.landscape = checkedIndex(orientation) == 1;
    return v;
  };
  fill(q.values);

  // The printer name, right-aligned in its 40 characters: a fixed-pitch font keeps it aligned.
  auto* printer = new QLabel(qs(q.printerLabel), &d);
  printer->setObjectName(QStringLiteral("printerLabel"));
  printer->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  if (q.currentPrinterLabel) {
    d.installEventFilter(new ActivationWatcher(&d, [&] { printer->setText(qs(q.currentPrinterLabel())); }));
  }

  QDialogButtonBox* box = okCancelBox(d, qs(q.okCaption), qs(q.cancelCaption));
  addHelpTextButton(*box, env, q.helpNumber, qs(q.helpCaption));
  auto action = [&](const std::string& caption, const QString& name, bool available) {
    QPushButton* b = box->addButton(qs(caption), QDialogButtonBox::ActionRole);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setEnabled(available);
    return b;
  };
  QPushButton* load = action(q.loadCaption, QStringLiteral("load"), static_cast<bool>(q.loadLayout));
  QPushButton* store = action(q.storeCaption, QStringLiteral("store"), static_cast<bool>(q.storeLayout));
  QPushButton* choose = action(q.printerCaption, QStringLiteral("printer"), static_cast<bool>(q.choosePrinter));
  QObject::connect(load, &QPushButton::clicked, &d, [&] {
    PrintConfigValues v = current();
    if (q.loadLayout(v)) fill(v);
  });
  QObject::connect(store, &QPushButton::clicked, &d, [&] { q.storeLayout(current()); });
  QObject::connect(choose, &QPushButton::clicked, &d, [&] {
    if (const std::optional<PrinterChoice> c = q.choosePrinter()) {
      printer->setText(qs(c->label));
      orientation->button(c->landscape ? 1 : 0)->setChecked(true);
    }
  });

  auto* radios = new QHBoxLayout;
  radios->addWidget(shadingBox);
  radios->addWidget(orientationBox);
  auto* layout = new QVBoxLayout(&d);
  layout->addLayout(grid);
  layout->addLayout(radios);
  layout->addWidget(printer);
  layout->addWidget(box);
  placeDialog(d, env);
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  return PrintConfigResult{current()};
}

// ---- Printer information ----

std::optional<PrinterInfoRequest::Result> run(const WindowEnv& env, const PrinterInfoRequest& q) {
  QDialog d(env.parent);
  d.setObjectName(QStringLiteral("printerInfo"));
  d.setWindowTitle(qs(q.caption));
  auto* grid = new QTableWidget(static_cast<int>(q.rows.size()), 2, &d);
  grid->setObjectName(QStringLiteral("grid"));
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->horizontalHeader()->hide();
  grid->verticalHeader()->hide();
  for (std::size_t r = 0; r < q.rows.size(); ++r) {
    grid->setItem(static_cast<int>(r), 0, new QTableWidgetItem(qs(q.rows[r].first)));
    grid->setItem(static_cast<int>(r), 1, new QTableWidgetItem(qs(q.rows[r].second)));
  }
  grid->resizeColumnsToContents();
  grid->horizontalHeader()->setStretchLastSection(true);
  QDialogButtonBox* box = okCancelBox(d, qs(q.okCaption.empty() ? std::string("OK") : q.okCaption), {});
  auto* layout = new QVBoxLayout(&d);
  layout->addWidget(grid);
  layout->addWidget(box);
  placeDialog(d, env);
  d.resize(d.size().expandedTo(QSize(420, 420)));
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  return PrinterInfoResult{};
}

// ---- Print macro ----

std::optional<PrintMacroRequest::Result> run(const WindowEnv& env, const PrintMacroRequest& q) {
  QDialog d(env.parent);
  d.setObjectName(QStringLiteral("printMacro"));
  d.setWindowTitle(qs(q.caption));
  auto* layout = new QVBoxLayout(&d);
  std::array<QCheckBox*, kPrintMacroBoxes> boxes{};
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const PrintMacroBox& b = q.boxes[i];
    boxes[i] = new QCheckBox(qs(b.caption), &d);
    boxes[i]->setObjectName(QStringLiteral("box%1").arg(i + 1));
    boxes[i]->setChecked(b.checked);
    boxes[i]->setVisible(b.visible);  // hidden boxes keep their state and are returned as well
    layout->addWidget(boxes[i]);
  }
  QDialogButtonBox* box = okCancelBox(d, qs(q.okCaption), qs(q.cancelCaption));
  addHelpTextButton(*box, env, q.helpNumber, qs(q.helpCaption));
  layout->addWidget(box);
  placeDialog(d, env);
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  PrintMacroResult r;
  for (std::size_t i = 0; i < boxes.size(); ++i) r.checked[i] = boxes[i]->isChecked();
  return r;
}

}  // namespace velk::gui
