// The output service: the drawing layer's options from the configuration, the device and file
// questions before a drawing opens, and the replay styles of the window and the printer.
#include "graphics/output.h"

#include "base/codepage.h"
#include "dialogs/dialogs.h"
#include "draw/svgcanvas.h"
#include "tables/tableservice.h"

namespace velk {

namespace {

const char* extensionFor(DeviceCode device) {
  switch (device) {
    case DeviceCode::Dxf:
      return "dxf";
    case DeviceCode::Iges:
      return "igs";
    case DeviceCode::Tab:
      return "txt";
    case DeviceCode::Ask:
    case DeviceCode::Screen:
    case DeviceCode::Plot:
      return "";
  }
  return "";
}

// The output file of devices 1, 2 and 5: batch name or save dialog. Empty on cancel.
std::string chooseDrawingFile(OutputContext& ws, DeviceCode device, const std::string& defaultName) {
  const std::string ext = extensionFor(device);
  const Spring& sp = ws.spring;
  if (ws.start.batchCad) return withSeparator(sp.dataDir) + sp.fileName + "." + ext;
  SaveFileRequest q;
  q.filter = "*." + ext + "|*." + ext + "|*.*|*.*";
  q.folder = ws.config.cadDir;
  q.defaultName = defaultName.empty() ? sp.fileName : defaultName;
  const std::optional<FileResult> chosen = ws.ui.show(q);
  if (!chosen || chosen->path.empty()) return {};
  std::string name = chosen->path;
  if (!hasExtension(name)) name += "." + ext;
  return name;
}

}  // namespace

DrawingOptions DrawingOptionsFor(const OutputContext& ws) {
  const Configuration& c = ws.config;
  DrawingOptions o;
  o.num = c.num;
  o.dxfDecimals = c.decimalsDxf;
  for (size_t n = 0; n < o.layerName.size() && n < c.layerName.size(); ++n) {
    o.layerName[n] = c.layerName[n];
    o.layerColor[n] = c.layerColor[n];
    o.lineThickness[n] = c.lineThickness[n];
  }
  o.layerMonochrome = c.layerMonochrome;
  o.cadTextFont = c.cadTextFont;
  o.cadTextWidth = c.cadTextWidth;
  o.cadTextAngle = c.cadTextAngle;
  o.printBorder = c.printBorder;
  o.tempFolder = tempFolder(ws);
  const Spring& sp = ws.spring;
  o.footer = FooterText(
      c.num, sp.fileName.empty() ? std::string() : withSeparator(sp.dataDir) + sp.fileName + "." + sp.fileExt);
  // The session's hooks as they are when a file is written: a fault set while a drawing is open
  // (a disk that fills up) still reaches its device.
  const IoHooks* io = &ws.io;
  o.io.writeFault = [io](std::string_view path) { return io->writeFault ? io->writeFault(path) : 0; };
  o.io.flushFault = [io](std::string_view path) { return io->flushFault ? io->flushFault(path) : 0; };
  return o;
}

void DeviceDialog(OutputContext& ws) {
  DrawingState& s = ws.drawing;
  for (int i = 1; i < kCadDeviceCount; ++i)
    ws.choiceItems[static_cast<size_t>(i)] = DeviceEntry(*DeviceCodeFromNumber(i));
  uint16_t choice = static_cast<uint16_t>(DeviceNumber(s.device == DeviceCode::Ask ? DeviceCode::Screen : s.device));
  SetHelpNumber(ws, 2050);
  ChooseItem(ws, "CAD-Code", kCadDeviceCount - 1, choice);
  if (ws.abort) return;
  s.device = DeviceCodeFromNumber(choice).value_or(DeviceCode::Screen);
  if (ws.deviceQuestions[choice]) ws.deviceQuestions[choice](ws);
}

void OpenDrawing(OutputContext& ws, DeviceCode device, const std::string& defaultName) {
  DrawingState& s = ws.drawing;
  Abandon(s);
  if (device == DeviceCode::Ask) {
    DeviceDialog(ws);
    if (ws.abort) return;
    device = s.device;
  }
  std::string path;
  if (DeviceAvailable(s, device)) {
    if (device == DeviceCode::Dxf || device == DeviceCode::Iges || device == DeviceCode::Tab) {
      path = chooseDrawingFile(ws, device, defaultName);
      if (path.empty()) {
        s.device = device;
        ws.abort = true;
        return;
      }
    } else if (device == DeviceCode::Plot) {
      path = tempFolder(ws) + "plotrix.dxf";
    }
  }
  if (!Open(s, ws.diag, device, path, DrawingOptionsFor(ws))) {
    ws.abort = true;
    return;
  }
  if (device == DeviceCode::Screen) BusyCursor(ws);
}

void FinishDrawing(OutputContext& ws) {
  if (!Finish(ws.drawing, ws.diag, ws.abort)) ws.abort = true;
}

bool ScreenFileExists(OutputContext& ws, const std::string& path) {
  if (fileExists(path)) return true;
  ShowError(ws, oem(path) + " " + "nicht gefunden" + " !");
  ws.abort = true;
  return false;
}

void SetupWindowSize(OutputContext& ws) {
  SetWindowSize(ws.display, ws.config.resolutionX, ws.config.resolutionY, ws.screen.width, ws.screen.height);
}

ReplayStyle ScreenReplayStyle(const Configuration& c) {
  ReplayStyle st;
  st.background = static_cast<uint32_t>(c.backgroundColor) & 0xFFFFFFu;
  st.monochrome = !c.colorGraphics;
  st.fontFace = c.graphicsFont.empty() ? std::string("Arial") : c.graphicsFont;
  st.fontStyle = c.graphicsFontStyle;
  st.textHeightFactor = c.textHeightFactor;
  st.textWidthFactor = c.graphicsTextWidth;
  return st;
}

ReplayStyle PrinterReplayStyle(const Configuration& c) {
  ReplayStyle st = ScreenReplayStyle(c);
  st.background = 0xFFFFFF;          // the paper
  st.monochrome = c.printMode != 2;  // 2: colour printer
  st.penWidthFactor = 4;
  st.frame = c.printBorder;
  st.frameInColor = c.colorGraphics;  // the screen's colour mode decides, as the frame is the window's
  return st;
}

std::string RenderDisplayListSvg(OutputContext& ws) {
  ReplayStatus status = ReplayStatus::Done;
  std::string svg = DisplayListSvg(ws.display, ScreenReplayStyle(ws.config), &status);
  if (status == ReplayStatus::DegenerateWindow) ws.abort = true;
  return svg;
}

}  // namespace velk
