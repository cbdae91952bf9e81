// Code-page conversions: 850 inside the program, Windows-1252 for files "for Windows", UTF-8 for the screen.
// All tables are our own; no conversion depends on the system.
#pragma once

#include <string>
#include <string_view>

namespace velk {

struct NumberSettings;

// Windows-1252 -> 850 (typed input); texts of 255 bytes or more become empty.
std::string toOem(std::string_view ansi);
// 850 -> Windows-1252 for display and reports; plainChars applies plainText and
// the program's own table. Texts of 255 bytes or more become empty.
std::string toDisplay(const NumberSettings& s, std::string_view oem);
// The same conversions without the 255-byte limit (whole report lines, files).
std::string cp850ToWin1252(std::string_view oem);
std::string win1252ToCp850(std::string_view ansi);
// 850 <-> UTF-8 for the GUI and the terminal. Characters with no 850 form become '?'.
std::string cp850ToUtf8(std::string_view oem);
std::string utf8ToCp850(std::string_view utf8);
// Windows-1252 -> UTF-8 (reading tables written by other tools).
std::string win1252ToUtf8(std::string_view ansi);
// Replaces umlauts and special characters by plain ASCII.
std::string plainText(std::string_view oem);
// Text for CAD files according to cadTextMode.
std::string cadText(const NumberSettings& s, std::string_view oem);

// A program text written in UTF-8 source, as code page 850 bytes.
inline std::string oem(std::string_view utf8) { return utf8ToCp850(utf8); }

}  // namespace velk
