// Small builders shared by the value dialogs and the small forms: the button row with "OK" and
// "Abbrechen", and a label holding a core text.
#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <string>

#include "gui/text.h"

namespace velk::gui::basic {

// A button row under the dialog: "OK" (default, accepts) and, when wanted, "Abbrechen" (rejects).
// Further buttons (help, actions) are added by the caller.
inline QDialogButtonBox* okCancelBox(QDialog& dialog, bool withCancel = true) {
  auto* box = new QDialogButtonBox(&dialog);
  box->setObjectName(QStringLiteral("buttons"));
  QPushButton* ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setDefault(true);
  if (withCancel) {
    QPushButton* cancel = box->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
  }
  QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return box;
}

// A button in the row that acts without closing the dialog.
inline QPushButton* actionButton(QDialogButtonBox& box, const QString& caption, const char* name) {
  QPushButton* b = box.addButton(caption, QDialogButtonBox::ActionRole);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}

// A label with a code-page-850 text, wrapped when long.
inline QLabel* promptLabel(const std::string& oem, QWidget* parent, bool wrap = true) {
  auto* label = new QLabel(qs(oem), parent);
  label->setObjectName(QStringLiteral("label"));
  label->setWordWrap(wrap);
  return label;
}

}  // namespace velk::gui::basic
