// Printing a report text file on the printer, or into a PDF file where no printer is installed.
#include "gui/tablewindows_print.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

#include "gui/printing.h"
#include "gui/text.h"
#include "gui/windows.h"
#include "report/printtext.h"

namespace velk::gui {

QFont PrintoutFont(const std::string& family, int size, int style) {
  QFont font(family.empty() ? QStringLiteral("Courier New") : qs(family));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSize(size > 0 ? size : 10);
  font.setBold(style & 1);
  font.setItalic(style & 2);
  font.setUnderline(style & 4);
  font.setStrikeOut(style & 8);
  return font;
}

int DrawTextPages(QPainter& painter, QPagedPaintDevice& device, const PrintTextRequest& request, int first, int last) {
  const std::vector<PrintedPage> pages = LayoutTextPages(request.lines, first, last);
  painter.setFont(PrintoutFont(request.font, request.fontSize, request.fontStyle));
  const double ascent = QFontMetricsF(painter.font(), &device).ascent();
  const double lineHeight = static_cast<double>(device.height()) / std::max(request.linesPerPage, 1);
  int sheets = 0;
  for (const PrintedPage& page : pages) {
    if (sheets > 0) device.newPage();
    ++sheets;
    for (const PrintedLine& line : page.lines)
      painter.drawText(QPointF(0, line.row * lineHeight + ascent), qs(line.text));
  }
  return sheets;
}

namespace {

// Prints the range on a printer that is already set up; false when it could not be started.
bool printRange(QPrinter& printer, const PrintTextRequest& request, int first, int last) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  DrawTextPages(painter, printer, request, first, last);
  painter.end();
  return true;
}

}  // namespace

std::optional<PrintTextRequest::Result> run(const WindowEnv& env, const PrintTextRequest& request) {
  const int pageCount = std::max(request.pageCount, 1);
  QPrinter printer(QPrinter::HighResolution);
  useChosenPrinter(env, printer);
  printer.setDocName(qs(request.documentName));
  printer.setPageOrientation(QPageLayout::Portrait);

  if (QPrinterInfo::availablePrinters().isEmpty()) {
    // Nothing to print on: the whole text goes into a PDF file the user names.
    const QString base = QFileInfo(qs(request.documentName)).completeBaseName();
    const QString proposed =
        QDir::home().filePath((base.isEmpty() ? QStringLiteral("velk") : base) + QStringLiteral(".pdf"));
    const QString path =
        QFileDialog::getSaveFileName(env.parent, QStringLiteral("Kein Drucker vorhanden - PDF-Datei"), proposed,
                                     QStringLiteral("PDF (*.pdf)"), nullptr, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty()) return std::nullopt;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    if (!printRange(printer, request, 1, pageCount)) return std::nullopt;
    return PrintTextResult{false, nativePath(path)};
  }

  QPrintDialog dialog(&printer, env.parent);
  dialog.setObjectName(QStringLiteral("printDialog"));
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setMinMax(1, pageCount);
  printer.setFromTo(1, pageCount);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  int first = 1, last = pageCount;
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    first = printer.fromPage();
    last = std::max(printer.toPage(), first);
  }
  printRange(printer, request, first, last);
  return PrintTextResult{};
}

}  // namespace velk::gui
