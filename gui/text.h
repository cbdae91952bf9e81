// Texts between the core (code page 850, Windows-1252 for drawings) and Qt (Unicode).
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "base/codepage.h"

namespace velk::gui {

// A core text (code page 850) as the screen shows it.
inline QString qs(std::string_view oem) { return QString::fromStdString(cp850ToUtf8(oem)); }
// What the user typed, back in code page 850 (characters outside it become "?").
inline std::string oemText(const QString& s) { return utf8ToCp850(s.toStdString()); }
// A native path (UTF-8 bytes) and back.
inline QString qpath(const std::string& path) { return QString::fromStdString(path); }
inline std::string nativePath(const QString& path) { return path.toStdString(); }
// A Windows-1252 text of a drawing.
inline QString qsAnsi(std::string_view ansi) { return QString::fromStdString(win1252ToUtf8(ansi)); }

}  // namespace velk::gui
