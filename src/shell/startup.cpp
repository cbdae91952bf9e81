// Program start: start-up sequence, command-line procedure, batch-job preparation.
#include "shell/startup.h"

#include <algorithm>

#include <filesystem>
#include <optional>
#include <ostream>
#include <sstream>

#include "dialogs/configio.h"
#include "base/codepage.h"
#include "commands/menucommands.h"
#include "commands/springfile.h"
#include "data/inputfile.h"
#include "dialogs/dialogs.h"
#include "graphics/displaylist.h"
#include "graphics/drawing.h"
#include "graphics/springdrawing.h"
#include "graphics/svgcanvas.h"
#include "graphics/views.h"
#include "report/calcreport.h"
#include "report/reportstate.h"
#include "shell/jsonexport.h"

namespace velk {

std::vector<std::string> commandLineHelpText(const std::string& ext) {
  const std::string w = std::string("w") + kShortName;
  std::vector<std::string> lines = {
      std::string(kAppTitle) + " Command Line Mode",
      "",
      w + " Filename [/I] [/CADi:j] [/NOGUI]",
      "",
      "/I       -> TXT file",
      "",
      "/CADi:j  -> CAD File",
      "            i: 1=DXF, 2=IGS, 5=TXT",
      "            j: index (1,2,3, ..)",
      "",
      "/NOGUI   -> No GUI, exit on fatal error",
      "",
      "/JSON    -> JSON file",
      "/XLSX    -> Excel workbook (.xlsx) of the report",
      "/SVG:j   -> SVG picture of view/drawing j (1..8)",
      "/PDF:j   -> PDF page of view/drawing j as printed",
      "/?       -> Help",
      "",
      "Example: " + w + " test." + ext + "             ->  GUI",
      "Example: " + w + " test." + ext + " /I /NOGUI   ->  test.txt",
      "Example: " + w + " test." + ext + " /CAD1:1     ->  test.dxf",
      "Example: " + w + " test.edi /E /NOGUI   ->  test.edi",
      "",
  };
  for (std::string& l : lines) l = leftStr(l, 65);
  return lines;
}

std::string bareName(const std::string& path) { return stripExtension(lastComponent(path)); }

void parseCadArgument(const std::string& arg, int& device, int& view) {
  auto number = [](std::string_view s) {
    long long v = 0;
    return tryParseInt(s, v) && v >= -1000000 && v <= 1000000 ? static_cast<int>(v) : 0;
  };
  device = arg.size() >= 5 ? number(std::string_view(arg).substr(4, 1)) : 0;
  // j starts at the seventh character; when i took two digits ("/CAD11:1") the colon stands
  // there, and j still means the number after it.
  std::string_view rest = arg.size() >= 7 ? std::string_view(arg).substr(6) : std::string_view();
  if (!rest.empty() && rest.front() == ':') rest.remove_prefix(1);
  view = number(rest);
}

void parseSvgArgument(const std::string& arg, int& view) {
  std::string_view rest = arg.size() > 4 ? std::string_view(arg).substr(4) : std::string_view();
  if (!rest.empty() && rest.front() == ':') rest.remove_prefix(1);
  long long v = 0;
  view = tryParseInt(rest, v) && v >= -1000000 && v <= 1000000 ? static_cast<int>(v) : 0;
}

bool askUserDirectory(Session& ws) {
  std::string text;
  EnterText(ws, "Passwort (User) eingeben ...", 8, text);
  if (ws.abort) return false;
  const std::string base = withSeparator(ws.config.dataDir);
  if (!ws.config.dataDir.empty() && !isDirectory(ws.config.dataDir))
    ShowError(ws, "Invalid Directory " + oem(ws.config.dataDir));
  const bool invalid = text.empty() || text == ".." || text == "\\" || text == "/" ||
                       (text.size() >= 2 && text[1] == ':') ||
                       text.find('/') != std::string::npos || !isDirectory(base + text);
  if (invalid) {
    ShowError(ws, oem("Ungültiges Passwort ") + text + " !");
    return false;
  }
  ws.spring.dataDir = text;
  return true;
}

// The windowed start (step 9 on): data folder, template, calculation.
static StartOutcome windowedStart(Session& ws, StartOutcome out) {
  Spring& s = ws.spring;
  if (ws.start.startedWithFile) {
    s.dataDir.clear();
  } else {
    if (ws.config.askUserDir && !askUserDirectory(ws)) {
      out.kind = StartOutcome::Kind::Exit;
      out.exitCode = 0;
      return out;
    }
    s.dataDir = withSeparator(ws.config.dataDir) + s.dataDir;
    // The user's own template wins over the one shipped with the program.
    const std::string own = withSeparator(s.dataDir) + "null." + s.fileExt;
    const std::string shipped = ws.programData + "null." + s.fileExt;
    if (fileExists(own) || fileExists(shipped)) {
      readInputFile(ws, fileExists(own) ? own : shipped);
      s.fileName.clear();
    }
  }
  ws.abort = false;
  calculateLoadedSpring(ws);
  ws.abort = false;
  s.modified = false;
  out.kind = StartOutcome::Kind::OpenWindow;
  return out;
}

StartOutcome runCommandLine(Session& ws, const std::vector<std::string>& args) {
  StartOutcome out;
  out.noGui = std::any_of(args.begin(), args.end(), [](const std::string& a) { return upper(a) == "/NOGUI"; });
  ws.start.noGui = out.noGui;
  Spring& s = ws.spring;
  ws.abort = false;
  ws.errorMessagesEnabled = true;
  CheckFolders(ws);
  ws.abort = false;
  if (!ws.config.askUserDir) s.dataDir.clear();

  if (args.empty() || args[0] == "?" || args[0] == "/?") {
    if (!args.empty()) {
      ws.ui.show(TextWindowRequest{kAppTitle, commandLineHelpText(s.fileExt)});
      out.kind = StartOutcome::Kind::Exit;
      out.exitCode = 0;
      return out;
    }
    return windowedStart(ws, out);
  }

  s.fileName = args[0];
  s.dataDir.clear();
  const std::string second = args.size() > 1 ? args[1] : std::string();
  if (second == "/E" || second == "/e" || second == "/G") return windowedStart(ws, out);

  const bool textJob = second == "/I" || second == "/i";
  const bool cadJob = upper(leftStr(second, 4)) == "/CAD";
  const bool jsonJob = upper(second) == "/JSON";
  const bool svgJob = upper(leftStr(second, 4)) == "/SVG";
  const bool pdfJob = upper(leftStr(second, 4)) == "/PDF";
  const bool xlsxJob = upper(second) == "/XLSX";
  if (textJob || cadJob || jsonJob || svgJob || pdfJob || xlsxJob) {
    readInputFile(ws, s.fileName);
    if (ws.abort) {
      out.kind = StartOutcome::Kind::Exit;
      out.exitCode = 1;
      return out;
    }
    s.fileName = bareName(args[0]);
    if (xlsxJob) {
      out.kind = StartOutcome::Kind::XlsxOutput;
    } else if (jsonJob) {
      out.kind = StartOutcome::Kind::JsonOutput;
    } else if (svgJob) {
      out.kind = StartOutcome::Kind::SvgOutput;
      parseSvgArgument(second, out.cadView);
    } else if (pdfJob) {
      out.kind = StartOutcome::Kind::PdfOutput;
      parseSvgArgument(second, out.cadView);
    } else if (textJob) {
      out.kind = StartOutcome::Kind::TextReport;
    } else {
      out.kind = StartOutcome::Kind::CadOutput;
      parseCadArgument(second, out.cadDevice, out.cadView);
    }
    return out;
  }

  // Windowed start with a file.
  if (!hasExtension(s.fileName)) {
    ShowError(ws, "Erweiterung ." + s.fileExt + " " + oem("muß mit angegeben werden"));
    out.kind = StartOutcome::Kind::Exit;
    out.exitCode = 0;
    return out;
  }
  ws.errorMessagesEnabled = false;
  readInputFile(ws, s.fileName);
  const bool readFailed = ws.abort;
  ws.start.startedWithFile = true;
  ws.errorMessagesEnabled = true;
  if (readFailed) {
    // A new file under that name: the check never touches an existing file.
    ws.abort = false;
    PrepareOutputFile(ws, s.fileName);
    if (ws.abort) {
      out.kind = StartOutcome::Kind::Exit;
      out.exitCode = 0;
      return out;
    }
  }
  return windowedStart(ws, out);
}

static bool sameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::exists(a, ec) && std::filesystem::exists(b, ec) &&
         std::filesystem::equivalent(a, b, ec);
}

// True (and said on err) when output names the input file itself.
static bool overwritesInput(const Session& ws, const std::string& inputArgument, const std::string& output,
                            std::ostream& err) {
  if (!sameFile(resolveInputName(ws.spring, inputArgument), output)) return false;
  err << "wvelk: " << output << ": the output would overwrite the input file; nothing written\n";
  return true;
}

int runJsonJob(Session& ws, const std::string& inputArgument, std::ostream& err) {
  const std::string output = ws.spring.fileName + ".json";
  if (overwritesInput(ws, inputArgument, output, err)) return 2;
  std::ostringstream json;
  writeJson(ws, json);
  if (int e = atomicWriteFile(output, json.str(), ws.io)) {
    err << "wvelk: " << cp850ToUtf8(ioErrorText(IoStage::Write, ioCodeFromErrno(e))) << ": " << output << "\n";
    return 2;
  }
  if (ws.messages.fatal) {
    printCalcMessages(ws, err);
    return 2;
  }
  return 0;
}

int runTextReportJob(Session& ws, const std::string& inputArgument, std::ostream& err) {
  const std::string output = ws.spring.fileName + ".txt";
  if (overwritesInput(ws, inputArgument, output, err)) return 2;
  if (ws.messages.fatal) {
    // There is no message window in batch mode: the messages are the job's answer.
    printCalcMessages(ws, err);
    err << "wvelk: the calculation failed; " << output << " was not written\n";
    return 2;
  }
  // Device 9 for this run only; the configuration is not saved, since the process ends.
  ws.config.textDevice = kDeviceBatch;
  ws.config.textDeviceAsk = false;
  ws.abort = false;
  WriteStandardReport(ws);
  if (ws.abort) {
    err << "wvelk: " << output << " was not written\n";
    return 2;
  }
  return 0;
}

namespace {

// Draws view j (1..6) or the front (7) or side (8) view of the spring on a device.
void drawItem(Session& ws, int j, int device) {
  ws.start.batchCad = true;
  ws.abort = false;
  if (j <= 6)
    ShowView(ws, j, device);
  else
    DrawSpring(ws, j == 7 ? kFrontView : kSideView, device, false);
  ws.start.batchCad = false;
}

// The file a CAD device writes in batch mode (empty for devices that write none).
std::string cadOutputName(const Session& ws, int device) {
  switch (device) {
    case kCadDxf: return ws.spring.fileName + ".dxf";
    case kCadIges: return ws.spring.fileName + ".igs";
    case kCadTab: return ws.spring.fileName + ".txt";
    default: return {};
  }
}

// The exit code when there is nothing to draw: 2 after a fatal calculation (the messages on
// err), 0 for a j outside 1..8 (said on err).
std::optional<int> refuseDrawing(const Session& ws, int view, std::ostream& err) {
  if (ws.messages.fatal) {
    printCalcMessages(ws, err);
    return 2;
  }
  if (view < 1 || view > 8) {
    err << "wvelk: view " << view << " does not exist (1..8); nothing was drawn\n";
    return 0;
  }
  return std::nullopt;
}

}  // namespace

int runCadJob(Session& ws, const std::string& inputArgument, int device, int view, std::ostream& err) {
  if (std::optional<int> code = refuseDrawing(ws, view, err)) return *code;
  const std::string output = cadOutputName(ws, device);
  if (!output.empty() && overwritesInput(ws, inputArgument, output, err)) return 2;
  drawItem(ws, view, device);
  return ws.abort ? 2 : 0;
}

int runSvgJob(Session& ws, const std::string& inputArgument, int view, std::ostream& err) {
  if (std::optional<int> code = refuseDrawing(ws, view, err)) return *code;
  const std::string output = ws.spring.fileName + ".svg";
  if (overwritesInput(ws, inputArgument, output, err)) return 2;
  drawItem(ws, view, kCadScreen);
  if (ws.abort) {
    err << "wvelk: " << output << " was not written\n";
    return 2;
  }
  const std::string svg = RenderDisplayListSvg(ws);
  if (ws.abort) {
    err << "wvelk: the drawing has no extent; " << output << " was not written\n";
    return 2;
  }
  if (int e = atomicWriteFile(output, svg, ws.io)) {
    err << "wvelk: " << cp850ToUtf8(ioErrorText(IoStage::Write, ioCodeFromErrno(e))) << ": " << output << "\n";
    return 2;
  }
  return 0;
}

int runPdfJob(Session& ws, const std::string& inputArgument, int view, const PdfWriterFn& writePdf,
              std::ostream& err) {
  if (std::optional<int> code = refuseDrawing(ws, view, err)) return *code;
  const std::string output = ws.spring.fileName + ".pdf";
  if (overwritesInput(ws, inputArgument, output, err)) return 2;
  drawItem(ws, view, kCadScreen);
  if (ws.abort) {
    err << "wvelk: " << output << " was not written\n";
    return 2;
  }
  // As a macro print prints it: views with preset 0, the drawings with preset 2.
  const PrintLayout layout = ApplyPrintPreset(view <= 6 ? 0 : 2, LayoutFromConfig(ws.config));
  const PrintDrawingRequest request = MakePrintDrawingRequest(ws, layout, kAppTitle + std::string(" - ") + output);
  if (!writePdf || !writePdf(request, output) || ws.abort) {
    err << "wvelk: " << output << " could not be written\n";
    return 2;
  }
  return 0;
}

void printCalcMessages(const Session& ws, std::ostream& err) {
  for (int i = 0; i < ws.messages.count; ++i) err << "wvelk: " << cp850ToUtf8(ws.messages.entries[i]) << "\n";
}

StartOutcome runStartup(Session& ws, const std::vector<std::string>& args) {
  InitConfigLocation(ws);
  ReadConfiguration(ws);
  ws.abort = false;
  SetupWindowSize(ws);  // the graphics window's nominal size follows the configured resolution
  ReadRecentFiles(ws);
  ws.abort = false;
  StartOutcome out = runCommandLine(ws, args);
  if (out.kind == StartOutcome::Kind::OpenWindow) ws.abort = false;
  return out;
}

}  // namespace velk
