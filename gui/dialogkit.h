// Pieces every dialog shares: placement and scaling, help buttons, tool tips from the help texts.
#pragma once

#include <QString>
#include <cstdint>

#include "gui/windowenv.h"

class QDialog;
class QDialogButtonBox;
class QPushButton;
class QWidget;

namespace velk::gui {

// The placement rule of the program's dialogs: the size scaled by the window scale, centred
// horizontally on the main window, at its top + half the height difference + 20 pixels (never left
// of or above the main window's origin); the controls' fonts scaled by the element scale.
// centre false: only the scaling (the text dialog keeps its place).
void placeDialog(QDialog& dialog, const WindowEnv& env, bool centre = true);

// "&Hilfetext" and "Hilfe&bild" buttons in the box, answered by the help provider for the number.
// Nothing is added without a provider.
void addHelpButtons(QDialogButtonBox& box, const WindowEnv& env, uint16_t helpNumber);
// One "&Hilfe" button showing the help text of the number.
QPushButton* addHelpTextButton(QDialogButtonBox& box, const WindowEnv& env, uint16_t helpNumber,
                               const QString& caption = QStringLiteral("&Hilfe"));

// The help line of the number as the widget's tool tip (empty at help level 0).
void setHint(QWidget& widget, const WindowEnv& env, uint16_t helpNumber);

}  // namespace velk::gui
