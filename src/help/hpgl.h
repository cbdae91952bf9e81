// HP-GL/2 help image reader: draws the subset of HP-GL/2 that help images use (pen moves, lines,
// circles, arcs, labels, encoded polylines) onto the graphics window's display list, in mm.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/numfmt.h"

namespace velk {

struct HelpContext;

// One plotter unit in millimetres; every coordinate and radius is scaled by it on reading.
inline constexpr Real kPlotterUnit = 0.025L;
// A label holds at most this many characters; a longer one is not drawn.
inline constexpr std::size_t kMaxLabelLength = 255;
// The reader looks at no more than this many bytes of a file (help images are a few kB);
// whatever follows reads as the end of the file.
inline constexpr std::size_t kMaxHpglFileBytes = 16u << 20;
// A number token longer than this is not a number the reader can use: it reads as 0.
inline constexpr std::size_t kMaxHpglTokenLength = 256;
// Numbers read (plotter units, centimetres, degrees) are clamped to +-this.
inline constexpr Real kMaxHpglValue = 1e15L;
// Position every file starts from (mm), so that a first PD line shows where a file forgot its PU.
inline constexpr Real kHpglNoPosition = -999;

// Reader state, one set for the program run (ws.hpgl). Only the position is reset per file;
// pen, character size, direction and character set carry over from one help image to the next.
struct HpglState {
  Real x = 0, y = 0;  // current position, mm
  bool penDown = false;
  uint8_t pen = 0;                     // pen number (a byte: SP300 selects pen 44)
  Real charWidth = 5, charHeight = 5;  // SI, centimetres
  Real run = 1, rise = 0;              // DI
  Real charSet = 1;                    // CS; 3 turns "}" after a vowel into its umlaut
};

// Window colour of pen n: 1 -> 12, 2 -> 14, 3 -> 10, 4 -> 11, 5 -> 9, 6 -> 13, 7 -> 15, else n.
int HpglPenColor(int pen);

// Label direction of DI (run, rise) in degrees: the direction of the vector, with run = 0
// giving 90 for rise >= 0 and -90 below.
Real HpglLabelAngle(Real run, Real rise);

// Draws the bytes of one HP-GL/2 file onto ws.display, as DrawHpglFile does after opening the
// file: the position starts at (-999, -999), the rest of ws.hpgl carries over. Never fails;
// any bytes give a defined drawing, and the records appended grow at most linearly with the
// input. Leaves ws.abort cleared.
void DrawHpgl(HelpContext& ws, std::string_view bytes);

// Reads the file and draws it (hour-glass cursor meanwhile). A missing file shows the message
// stripSpaces(fileName) + " nicht gefunden !", draws nothing and returns with ws.abort set;
// otherwise ws.abort is left cleared. The caller has cleared the window and declared the world
// window (0, 0)-(160, 120).
void DrawHpglFile(HelpContext& ws, const std::string& fileName);

}  // namespace velk
