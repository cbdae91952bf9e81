#include "gui/dialogkit.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QWidget>
#include <algorithm>

#include "gui/text.h"
#include "ui/uiservices.h"

namespace velk::gui {

void placeDialog(QDialog& dialog, const WindowEnv& env, bool centre) {
  dialog.adjustSize();
  if (env.elementScalePercent != 100 && env.elementScalePercent > 0) {
    QFont f = dialog.font();
    if (f.pointSizeF() > 0) f.setPointSizeF(f.pointSizeF() * env.elementScalePercent / 100.0);
    dialog.setFont(f);
    dialog.adjustSize();
  }
  QSize size = dialog.size();
  if (env.windowScalePercent > 0) size = size * (env.windowScalePercent / 100.0);
  size = size.expandedTo(dialog.minimumSizeHint());
  dialog.resize(size);
  if (!centre || !env.parent) return;
  const QRect main = env.parent->frameGeometry();
  const int x = std::max(main.left(), main.left() + (main.width() - size.width()) / 2);
  const int y = std::max(main.top(), main.top() + (main.height() - size.height()) / 2 + 20);
  dialog.move(x, y);
}

void addHelpButtons(QDialogButtonBox& box, const WindowEnv& env, uint16_t helpNumber) {
  if (!env.help) return;
  HelpProvider* help = env.help;
  QPushButton* text = box.addButton(QStringLiteral("&Hilfetext"), QDialogButtonBox::HelpRole);
  QObject::connect(text, &QPushButton::clicked, text, [help, helpNumber] { help->showHelpText(helpNumber); });
  QPushButton* image = box.addButton(QStringLiteral("Hilfe&bild"), QDialogButtonBox::HelpRole);
  QObject::connect(image, &QPushButton::clicked, image, [help, helpNumber] { help->showHelpImage(helpNumber); });
}

QPushButton* addHelpTextButton(QDialogButtonBox& box, const WindowEnv& env, uint16_t helpNumber,
                               const QString& caption) {
  QPushButton* b = box.addButton(caption, QDialogButtonBox::HelpRole);
  HelpProvider* help = env.help;
  if (!help) {
    b->setEnabled(false);
    return b;
  }
  QObject::connect(b, &QPushButton::clicked, b, [help, helpNumber] { help->showHelpText(helpNumber); });
  return b;
}

void setHint(QWidget& widget, const WindowEnv& env, uint16_t helpNumber) {
  if (!env.help || helpNumber == 0) return;
  const std::string hint = env.help->hint(helpNumber);
  if (!hint.empty()) widget.setToolTip(qs(hint));
}

}  // namespace velk::gui
