// Printing a drawing and exporting a picture: the printer or PDF page and the picture files are
// painted by the core's replay through the request's paint callback.
#include "gui/printing.h"

#include <QBuffer>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "draw/svgcanvas.h"
#include "gui/dialogkit.h"
#include "gui/paintercanvas.h"
#include "gui/text.h"
#include "gui/windows.h"
#include "platform/files.h"

namespace velk::gui {

namespace {

bool paintPage(QPaintDevice& device, const QRect& area, int dpiX, int dpiY,
               const std::function<bool(Canvas&, const PageGeometry&)>& paint) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.translate(area.topLeft());
  PainterCanvas canvas(painter, true);
  PageGeometry page{area.width(), area.height(), dpiX, dpiY};
  const bool ok = paint ? paint(canvas, page) : false;
  return painter.end() && ok;
}

QPageLayout::Orientation orientation(bool landscape) {
  return landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// Every file goes through the platform's replacement: a fresh private name beside the target,
// every write checked, renamed over it only when complete (a device or FIFO is written into).
int saveBytes(const QString& path, const QByteArray& bytes) {
  return atomicWriteFile(nativePath(path), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// Says in a message box why a file chosen in a dialog was not written.
void showWriteFailure(const WindowEnv& env, const QString& path, int err) {
  const QString why = err == kNotPainted ? QStringLiteral("the drawing could not be painted")
                                         : QString::fromStdString(writeFailureReason(nativePath(path), err));
  QMessageBox::warning(env.parent, QStringLiteral("VELK"), path + QStringLiteral(": ") + why);
}

}  // namespace

int writePdf(const PrintDrawingRequest& request, const QString& path) {
  // The page is made in memory; only complete bytes reach the file.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly)) return ENOMEM;
  {
    QPdfWriter pdf(&buffer);
    pdf.setTitle(qs(request.documentName));
    pdf.setCreator(QStringLiteral("VELK"));
    pdf.setResolution(600);
    pdf.setPageLayout(QPageLayout(QPageSize(request.a3 ? QPageSize::A3 : QPageSize::A4), orientation(request.landscape),
                                  QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    const QRect area = pdf.pageLayout().paintRectPixels(pdf.resolution());
    if (!paintPage(pdf, QRect(QPoint(0, 0), area.size()), pdf.resolution(), pdf.resolution(), request.paint))
      return kNotPainted;
  }
  buffer.close();
  if (bytes.isEmpty()) return kNotPainted;
  return saveBytes(path, bytes);
}

bool printOnto(QPrinter& printer, const PrintDrawingRequest& request) {
  printer.setDocName(qs(request.documentName));
  printer.setPageOrientation(orientation(request.landscape));
  const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
  return paintPage(printer, QRect(QPoint(0, 0), area.size()), printer.resolution(), printer.resolution(),
                   request.paint);
}

int writePicture(const ExportPictureRequest& request, PictureFormat format, const QString& path) {
  const int w = std::max(1, request.size.width), h = std::max(1, request.size.height);
  switch (format) {
    case PictureFormat::Png: {
      QImage image(w, h, QImage::Format_RGB32);
      image.fill(Qt::white);
      if (!paintPage(image, QRect(0, 0, w, h), request.size.dpiX, request.size.dpiY, request.paint)) return kNotPainted;
      QByteArray bytes;
      QBuffer buffer(&bytes);
      buffer.open(QIODevice::WriteOnly);
      if (!image.save(&buffer, "PNG")) return kNotPainted;
      return saveBytes(path, bytes);
    }
    case PictureFormat::Svg: {
      SvgCanvas svg(w, h, 0xFFFFFF);
      PageGeometry page{w, h, request.size.dpiX, request.size.dpiY};
      if (!request.paint || !request.paint(svg, page)) return kNotPainted;
      return saveBytes(path, QByteArray::fromStdString(svg.document()));
    }
    case PictureFormat::Pdf: {
      PrintDrawingRequest q;
      q.landscape = w > h;
      q.paint = request.paint;
      return writePdf(q, path);
    }
  }
  return kNotPainted;
}

void useChosenPrinter(const WindowEnv& env, QPrinter& printer) {
  if (env.chosenPrinter && !env.chosenPrinter->isEmpty() && !QPrinterInfo::printerInfo(*env.chosenPrinter).isNull())
    printer.setPrinterName(*env.chosenPrinter);
}

std::optional<ChoosePrinterRequest::Result> run(const WindowEnv& env, const ChoosePrinterRequest& request) {
  QPrinter printer(QPrinter::HighResolution);
  useChosenPrinter(env, printer);
  QPrintDialog dialog(&printer, env.parent);
  dialog.setWindowTitle(qs(request.caption));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  // "Print to file" is no printer: the choice stays as it was.
  const bool isPrinter = printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty();
  if (isPrinter && env.chosenPrinter) *env.chosenPrinter = printer.printerName();
  ChoosePrinterResult r;
  r.name = isPrinter ? oemText(printer.printerName()) : std::string();
  r.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
  return r;
}

std::optional<PrintDrawingRequest::Result> run(const WindowEnv& env, const PrintDrawingRequest& request) {
  if (QPrinterInfo::availablePrinters().isEmpty()) {
    // No printer installed: the page goes into a PDF file instead.
    const QString path =
        QFileDialog::getSaveFileName(env.parent, QStringLiteral("Print to PDF"), QString(),
                                     QStringLiteral("PDF (*.pdf)"), nullptr, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty()) return std::nullopt;
    const QString file = QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".pdf") : path;
    if (const int e = writePdf(request, file)) {
      showWriteFailure(env, file, e);
      return std::nullopt;
    }
    return PrintDrawingResult{true, nativePath(file)};
  }
  QPrinter printer(QPrinter::HighResolution);
  useChosenPrinter(env, printer);
  printer.setPageOrientation(orientation(request.landscape));
  QPrintDialog dialog(&printer, env.parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  if (!printOnto(printer, request)) return std::nullopt;
  return PrintDrawingResult{};
}

std::optional<ExportPictureRequest::Result> run(const WindowEnv& env, const ExportPictureRequest& request) {
  const QString png = QStringLiteral("PNG (*.png)"), svg = QStringLiteral("SVG (*.svg)"),
                pdf = QStringLiteral("PDF (*.pdf)");
  QString chosen = png;
  QString start = qpath(request.folder);
  if (!start.isEmpty() && !start.endsWith('/')) start += '/';
  start += qs(request.defaultName) + QStringLiteral(".png");
  const QString path = QFileDialog::getSaveFileName(env.parent, qs(request.caption), start,
                                                    png + QStringLiteral(";;") + svg + QStringLiteral(";;") + pdf,
                                                    &chosen, QFileDialog::DontUseNativeDialog);
  if (path.isEmpty()) return std::nullopt;
  // The extension typed wins over the filter chosen.
  const QString ext = QFileInfo(path).suffix().toLower();
  PictureFormat format = chosen == svg ? PictureFormat::Svg : chosen == pdf ? PictureFormat::Pdf : PictureFormat::Png;
  if (ext == QStringLiteral("svg"))
    format = PictureFormat::Svg;
  else if (ext == QStringLiteral("pdf"))
    format = PictureFormat::Pdf;
  else if (ext == QStringLiteral("png"))
    format = PictureFormat::Png;
  QString file = path;
  if (ext.isEmpty())
    file += format == PictureFormat::Svg   ? QStringLiteral(".svg")
            : format == PictureFormat::Pdf ? QStringLiteral(".pdf")
                                           : QStringLiteral(".png");
  if (const int e = writePicture(request, format, file)) {
    showWriteFailure(env, file, e);
    return std::nullopt;
  }
  return ExportPictureResult{nativePath(file), format};
}

}  // namespace velk::gui
