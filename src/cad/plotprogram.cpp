// Plot program output: the configuration form's command line, the question sequence with its
// batch file, the plot steps of the device dialog and the device that starts the program.
#include "cad/plotprogram.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "base/codepage.h"
#include "dialogs/dialogs.h"
#include "graphics/context.h"
#include "platform/files.h"
#include "platform/process.h"
#include "tables/tableservice.h"

namespace velk {

namespace {

constexpr std::size_t kMaxDirectLine = 60;  // longer lines go into a batch file (mode 0)

// A word of a built command line: quoted when it holds blanks, so the line splits back into it.
std::string word(const std::string& w) {
  if (w.find_first_of(" \t") == std::string::npos || w.find('"') != std::string::npos) return w;
  return "\"" + w + "\"";
}

// Short number format with "." (the plot program reads the options, whatever the display setting).
std::string optionNumber(const OutputContext& ws, Real v) {
  NumberSettings s = ws.config.num;
  s.decimalComma = 1;
  return fmtSig(s, v);
}

// The plot program file in dir: a regular file whose name equals file or its stem ("ruvoreve"
// for "ruvoreve.exe"), case-insensitively. Its name as stored, empty when there is none.
std::string findPlotProgram(const std::string& dir, const std::string& file) {
  namespace fs = std::filesystem;
  const std::string stem = stripExtension(file);
  std::error_code ec;
  fs::directory_iterator it(dir.empty() ? std::string(".") : dir, ec);
  if (ec) return {};
  std::string found;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const std::string name = it->path().filename().string();
    const std::string l = lower(name);
    if (l != file && l != stem) continue;
    std::error_code fe;
    if (!fs::is_regular_file(it->path(), fe)) continue;
    if (found.empty() || l == file) found = name;  // the exact program file wins over its stem
  }
  return found;
}

std::string withoutTrailingSeparator(std::string d) {
  while (d.size() > 1 && (d.back() == '/' || d.back() == '\\')) d.pop_back();
  return d;
}

// The folder the batch file is created in: the working folder of the program.
std::string batchFolder(const OutputContext& ws) {
  return withSeparator(ws.start.startDir.empty() ? currentDirectory() : ws.start.startDir);
}

std::string shellQuote(const std::string& w) {
  std::string out = "'";
  for (char c : w) {
    if (c == '\'')
      out += "'\\''";
    else
      out += c;
  }
  return out + "'";
}

}  // namespace

const char* PlotFormatCode(int format) {
  static constexpr const char* kCodes[] = {"HPL", "PS", "PLT", "PL2", "ART"};
  return format >= 1 && format <= 5 ? kCodes[format - 1] : "";
}

const std::vector<std::string>& PostScriptFonts() {
  static const std::vector<std::string> fonts = {"Times-Roman",
                                                 "Times-Italic",
                                                 "Times-Bold",
                                                 "Times-BoldItalic",
                                                 "Helvetica",
                                                 "Helvetica-Oblique",
                                                 "Helvetica-Bold",
                                                 "Helvetica-BoldOblique",
                                                 "Helvetica-Narrow",
                                                 "Helvetica-Narrow-Oblique",
                                                 "Helvetica-Narrow-Bold",
                                                 "Helvetica-Narrow-BoldOblique",
                                                 "Courier",
                                                 "Courier-Oblique",
                                                 "Courier-Bold",
                                                 "Courier-BoldOblique",
                                                 "Palatino-Roman",
                                                 "Palatino-Italic",
                                                 "Palatino-Bold",
                                                 "Palatino-BoldItalic",
                                                 "AvantGarde-Book",
                                                 "AvantGarde-Demi",
                                                 "AvantGarde-BookOblique",
                                                 "AvantGarde-DemiOblique",
                                                 "Bookman-Light",
                                                 "Bookman-Demi",
                                                 "Bookman-LightItalic",
                                                 "Bookman-DemiItalic",
                                                 "NewCenturySchlbk-Roman",
                                                 "NewCenturySchlbk-Bold",
                                                 "NewCenturySchlbk-Italic",
                                                 "NewCenturySchlbk-BoldItalic",
                                                 "ZapfChancery-MediumItalic",
                                                 "Symbol",
                                                 "andere Schriften"};
  return fonts;
}

PlotFormValues PlotFormDefaults(const OutputContext& ws) {
  PlotFormValues v;
  v.outdir = tempFolder(ws);
  return v;
}

std::string PlotFormCommandLine(const PlotFormValues& v) {
  const std::string dxf = withSeparator(v.outdir) + "plotrix";
  std::string line = word(v.plotrixPath) + " " + word(dxf);
  line += std::string(" /C") + PlotFormatCode(v.outcode);
  if (v.outInterface != 2) line += " /D" + fmtInt(v.outInterface == 1 ? 1 : 3);
  if (v.outInterface == 1 || v.outInterface == 2) {
    long long port = 1;
    if (tryParseInt(trim(v.outInterface == 1 ? v.com : v.lpt), port) && port != 1) line += " /P" + fmtInt(port + 1);
  } else if (!v.outdir.empty()) {
    line += " /F" + word(dxf);
  }
  const std::string scale = v.fitScale ? std::string("0") : v.scale;
  const Real s = parseReal(trim(scale));
  if (s != 1) line += s == 0 ? std::string(" /M*") : " /M" + trim(scale);
  if (parseReal(trim(v.xnull)) != 0) line += " /X" + trim(v.xnull);
  if (parseReal(trim(v.ynull)) != 0) line += " /Y" + trim(v.ynull);
  if (parseReal(trim(v.textWidth)) != 1) line += " /B" + trim(v.textWidth);
  if (v.rotate) line += " /R";
  if (v.outcode == 2) line += " /T" + v.psFont;
  return line;
}

void PlotConfigurationForm(OutputContext& ws, std::string& line) {
  PlotFormRequest q;
  q.values = PlotFormDefaults(ws);
  q.psFonts = PostScriptFonts();
  q.tempFolder = tempFolder(ws);
  q.toolTips = ws.config.helpLevel > 0;
  q.commandLine = PlotFormCommandLine;
  const std::optional<PlotFormResult> r = ws.ui.show(q);
  if (!r) {
    ws.abort = true;
    return;
  }
  ws.abort = false;
  if (r->changed) line = PlotFormCommandLine(r->values);
}

void AskPlotParameters(OutputContext& ws, std::string& line, int mode) {
  // 1-2: the DXF file and the defaults.
  std::string dxf = mode == 1 ? std::string("*.dxf") : tempFolder(ws) + "plotrix";
  std::string programDir = "c:\\plotrix";
  const std::vector<std::string> words = splitCommandLine(line);
  if (!words.empty() && words[0].find_first_of("\\/") != std::string::npos)
    programDir = withoutTrailingSeparator(directoryOf(words[0]));
  uint16_t format = 1, outInterface = 2;
  long port = 1;
  Real scale = 1, xShift = 0, yShift = 0, widthFactor = 1;
  bool rotate = false;
  std::string outFile, font;
  std::string batchName = ws.start.shortName;

  // 3-4: the program and its folder, asked until the program file is there.
  ws.choiceItems[1] = "RUVOREVE.EXE (Windows)";
  ws.choiceItems[2] = "PLOTRIX.EXE (MS-DOS)";
  uint16_t program = 2;
  ChooseItem(ws, "PLOTRIX/RUVOREVE", 2, program);
  if (ws.abort) return;
  const std::string programFile = program == 1 ? "ruvoreve.exe" : "plotrix.exe";
  std::string programName;
  do {
    SetHelpNumber(ws, 2080);
    EnterText(ws, "Programmverzeichnis von " + programFile, 40, programDir);
    if (ws.abort) return;
    programName = findPlotProgram(programDir, programFile);
  } while (programName.empty());

  // 5-8: format, file, interface, scale and the other options.
  static constexpr const char* kFormats[] = {"HP-GL Laserjet (HPL)", "Postscript  (PS)", "HP-GL (PLT)",
                                             "HP-GL/2  (PL2)", "Aristo  (ART)"};
  for (size_t i = 0; i < 5; ++i) ws.choiceItems[i + 1] = kFormats[i];
  SetHelpNumber(ws, 2090);
  ChooseItem(ws, "Ausgabeformat", 5, format);
  if (ws.abort) return;
  if (mode == 1) {
    SetHelpNumber(ws, 2100);
    EnterText(ws, "Dateiname oder Wildcard", 40, dxf);
    if (ws.abort) return;
  }
  ws.choiceItems[1] = "seriell";
  ws.choiceItems[2] = "parallel";
  ws.choiceItems[3] = "Datei";
  SetHelpNumber(ws, 2110);
  ChooseItem(ws, "Ausgabeschnittstelle", 3, outInterface);
  if (ws.abort) return;
  if (outInterface == 1 || outInterface == 2) {
    SetHelpNumber(ws, 2120);
    EnterInteger(ws, outInterface == 1 ? "COM-Port" : "LPT-Port", port, 1, 4);
  } else {
    SetHelpNumber(ws, 2130);
    EnterText(ws, "Name der Ausgabedatei", 30, outFile);
  }
  if (ws.abort) return;
  SetHelpNumber(ws, 2140);
  EnterReal(ws, oem("Maßstab (0=anpassen)"), scale, 0, 1000);
  if (ws.abort) return;
  SetHelpNumber(ws, 2145);
  AskBoolean(ws, "Plot um 90 Grad drehen ?", rotate);
  if (ws.abort) return;
  SetHelpNumber(ws, 2150);
  EnterReal(ws, "Nullpunktverschiebung in x-Richtung", xShift, -1e8L, 1e8L);
  if (ws.abort) return;
  EnterReal(ws, "Nullpunktverschiebung in y-Richtung", yShift, -1e8L, 1e8L);
  if (ws.abort) return;
  SetHelpNumber(ws, 2160);
  EnterReal(ws, "Textbreitenfaktor", widthFactor, 0.1L, 10);
  if (ws.abort) return;
  if (format == 2) {
    SetHelpNumber(ws, 2280);
    EnterText(ws, "Postscript-Zeichensatz", 28, font);
    if (ws.abort) return;
  }

  // 9: the line. The program is named as its file is stored here (names are case-sensitive).
  std::string built = word(withSeparator(programDir) + programName) + " " + word(dxf);
  built += std::string(" /C") + PlotFormatCode(format);
  if (outInterface != 2) built += " /D" + fmtInt(outInterface);
  if ((outInterface == 1 || outInterface == 2) && port != 1) built += " /P" + fmtInt(port);
  if (outInterface == 3 && !outFile.empty()) built += " /F" + word(outFile);
  if (scale != 1) built += scale == 0 ? std::string(" /M*") : " /M" + optionNumber(ws, scale);
  if (xShift != 0) built += " /X" + optionNumber(ws, xShift);
  if (rotate) built += " /R";
  if (yShift != 0) built += " /Y" + optionNumber(ws, yShift);
  if (widthFactor != 1) built += " /B" + optionNumber(ws, widthFactor);
  if (format == 2) built += " /T" + font;

  // 10: a line too long for the plot program's command line goes into a batch file.
  if (mode == 0 && built.size() > kMaxDirectLine) {
    ShowInfo(ws, "Kommandozeile zu lang, Es wird eine Batch-Datei erzeugt.");
    for (;;) {
      SetHelpNumber(ws, 2170);
      EnterText(ws, "Name der Batch-Datei (ohne .bat)", 20, batchName);
      if (ws.abort) return;
      // A name with an extension, a folder or nothing is asked again.
      if (batchName.empty() || batchName.find_first_of("./\\") != std::string::npos) continue;
      const std::string path = batchFolder(ws) + batchName + ".BAT";
      if (WritePlotBatchFile(ws, path, built) != 0) {
        ShowError(ws, "Datei " + batchName + ".BAT " + "kann nicht angelegt werden");
        continue;
      }
      built = word(path);
      break;
    }
  }
  line = built;
  ws.abort = false;
}

std::string& CurrentPlotCommandLine(OutputContext& ws) {
  if (ws.plotCommandLine < 1 || ws.plotCommandLine > kPlotCommandLines) ws.plotCommandLine = 1;
  return ws.config.plotCommandLines[static_cast<size_t>(ws.plotCommandLine - 1)];
}

void ChoosePlotCommandLine(OutputContext& ws) {
  Configuration& c = ws.config;
  const int count = std::clamp(c.plotCommandLineCount, 1, kPlotCommandLines);
  if (count > 1) {
    for (int i = 1; i <= count; ++i)
      ws.choiceItems[static_cast<size_t>(i)] = leftStr(c.plotCommandLines[static_cast<size_t>(i - 1)], 65);
    uint16_t choice =
        static_cast<uint16_t>(ws.plotCommandLine >= 1 && ws.plotCommandLine <= count ? ws.plotCommandLine : 1);
    SetHelpNumber(ws, 2055);
    ChooseItem(ws, "PLOTRIX Command Line", count, choice);
    if (ws.abort) return;
    ws.plotCommandLine = choice;
  } else {
    ws.plotCommandLine = 1;
  }
  std::string line = CurrentPlotCommandLine(ws);
  PlotConfigurationForm(ws, line);
  if (ws.abort) return;
  // The entry shows the whole line: a longer line (a long temporary folder) is never cut.
  SetHelpNumber(ws, 2060);
  EnterText(ws, "PLOTRIX-Kommandozeile (0=Parameter)", std::max<int>(60, static_cast<int>(line.size())), line);
  if (ws.abort) return;
  const std::string t = trim(line);
  if (t.empty() || t[0] == '0') {
    AskPlotParameters(ws, line, 0);
    if (ws.abort) return;
  }
  CurrentPlotCommandLine(ws) = line;
}

std::string PlotBatchScript(const std::string& commandLine) {
  std::string script = "#!/bin/sh\nexec";
  for (const std::string& w : splitCommandLine(commandLine)) script += " " + shellQuote(w);
  return script + "\n";
}

int WritePlotBatchFile(const OutputContext& ws, const std::string& path, const std::string& commandLine) {
  if (const int err = atomicWriteFile(path, PlotBatchScript(commandLine), ws.io)) return err;
  if (::chmod(path.c_str(), 0755) != 0) return errno;
  return 0;
}

int RunPlotCommandLine(OutputContext& ws) {
  const int err = StartProgram(ws.programs, splitCommandLine(CurrentPlotCommandLine(ws)), true);
  if (err != 0) ShowError(ws, startErrorText(err));
  return err;
}

void PlotDevice::finish() {
  if (!write()) return;
  // A plot program that does not start leaves the drawing unplotted: the output failed.
  if (const int err = StartProgram(programs_, command_, true)) fail(startErrorText(err));
}

}  // namespace velk
