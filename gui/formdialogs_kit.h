// Small pieces the form dialogs share: OK/cancel boxes, radio groups, tool tips from the help
// texts, a label-edit-unit row. Only widget plumbing; the forms' rules live in the core.
#pragma once

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QVBoxLayout>
#include <cstdint>
#include <string>
#include <vector>

#include "gui/dialogkit.h"
#include "gui/text.h"

namespace velk::gui {

// A button box with the accepting button (objectName "ok", the default) and the rejecting one
// ("cancel"), wired to the dialog.
inline QDialogButtonBox* okCancelBox(QDialog& dialog, const QString& ok, const QString& cancel) {
  auto* box = new QDialogButtonBox(&dialog);
  QPushButton* okButton = box->addButton(ok, QDialogButtonBox::AcceptRole);
  okButton->setObjectName(QStringLiteral("ok"));
  okButton->setDefault(true);
  okButton->setAutoDefault(true);
  if (!cancel.isEmpty()) {
    QPushButton* cancelButton = box->addButton(cancel, QDialogButtonBox::RejectRole);
    cancelButton->setObjectName(QStringLiteral("cancel"));
  }
  QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return box;
}

// A titled group of radio buttons with ids 0..n-1 (code page 850 texts); checked: the id shown
// checked, none when outside. The group's object name is name, the buttons' name + index.
inline QGroupBox* radioGroup(const QString& title, const std::vector<std::string>& items, int checked,
                             QButtonGroup*& group, const QString& name, QWidget* parent = nullptr) {
  auto* box = new QGroupBox(title, parent);
  box->setObjectName(name);
  auto* layout = new QVBoxLayout(box);
  group = new QButtonGroup(box);
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    auto* b = new QRadioButton(qs(items[static_cast<std::size_t>(i)]), box);
    b->setObjectName(name + QString::number(i));
    group->addButton(b, i);
    layout->addWidget(b);
    if (i == checked) b->setChecked(true);
  }
  return box;
}

// The checked id of a radio group, -1 when none is checked.
inline int checkedIndex(const QButtonGroup* group) { return group->checkedId(); }

// A tool tip from the help texts while tool tips are on: the help provider's line for the
// number, else the text the request carries (code page 850).
inline void setFormHint(QWidget& widget, const WindowEnv& env, bool on, uint16_t helpNumber,
                        const std::string& text = {}) {
  if (!on) return;
  setHint(widget, env, helpNumber);
  if (widget.toolTip().isEmpty() && !text.empty()) widget.setToolTip(qs(text));
}

// A line edit with the object name and text (code page 850).
inline QLineEdit* namedEdit(const QString& name, const std::string& text, QWidget* parent = nullptr) {
  auto* e = new QLineEdit(qs(text), parent);
  e->setObjectName(name);
  return e;
}

}  // namespace velk::gui
