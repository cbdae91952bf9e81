// Drawings onto paper, PDF files and pictures: the page geometry of a Qt paint device and the
// writers the print and export windows (and the /PDF batch job) share.
#pragma once

#include <QString>
#include <string>

#include "gui/windowenv.h"
#include "ui/uiservices.h"

class QPagedPaintDevice;
class QPrinter;

namespace velk::gui {

// What the writers below return when the drawing could not be replayed (nothing is written).
constexpr int kNotPainted = -1;

// Writes one page through request.paint into a PDF file (A4 or A3, the request's orientation):
// the page is made in memory and the file replaced as atomicWriteFile does. 0 when written, the
// errno when the file could not be written, kNotPainted.
int writePdf(const PrintDrawingRequest& request, const QString& path);

// Points the printer at the one chosen with "Drucker..." while that printer still exists.
void useChosenPrinter(const WindowEnv& env, QPrinter& printer);

// Paints onto the printer's first page. False when it could not be painted.
bool printOnto(QPrinter& printer, const PrintDrawingRequest& request);

// Writes the picture of request.paint at request.size in the format. Returns as writePdf.
int writePicture(const ExportPictureRequest& request, PictureFormat format, const QString& path);

}  // namespace velk::gui
