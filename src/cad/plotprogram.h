// Output through the external plot program (device 4): choosing, editing and building the plot
// command lines, the batch file for long lines, and the device that starts the program.
#pragma once

#include <string>
#include <vector>

#include "draw/dxf.h"
#include "graphics/context.h"
#include "platform/process.h"
#include "ui/uiservices.h"

namespace velk {

// Output format codes by choice 1..5: "HPL", "PS", "PLT", "PL2", "ART" ("" outside).
const char* PlotFormatCode(int format);
// The 35 entries of the PostScript font box.
const std::vector<std::string>& PostScriptFonts();

// The configuration form's controls as it opens (output directory: the temporary folder).
PlotFormValues PlotFormDefaults(const OutputContext& ws);
// The command line the configuration form shows for its controls.
std::string PlotFormCommandLine(const PlotFormValues& v);
// The configuration form: OK makes the shown line the new line (unchanged when no control was
// changed); cancel sets ws.abort.
void PlotConfigurationForm(OutputContext& ws, std::string& line);

// The question sequence that builds a command line; mode 0 for drawing output (the DXF file in
// the temporary folder, a batch file for lines over 60 characters), mode 1 for a general line
// with a file name or wildcard. Cancel at any step sets ws.abort and leaves line unchanged.
void AskPlotParameters(OutputContext& ws, std::string& line, int mode);

// The plot steps of the device dialog: the current line (a choice when more than one is
// configured), the configuration form, then the free entry "PLOTRIX-Kommandozeile
// (0=Parameter)"; an empty entry or one starting with "0" runs the question sequence. The
// result is stored back as the current line. Cancel sets ws.abort.
void ChoosePlotCommandLine(OutputContext& ws);
// The current plot command line (config.plotCommandLines at ws.plotCommandLine).
std::string& CurrentPlotCommandLine(OutputContext& ws);

// The shell script of a batch file: "#!/bin/sh", then the command line's words, each quoted so
// the script starts exactly what the line itself would start.
std::string PlotBatchScript(const std::string& commandLine);
// Writes the batch file (replaced beside itself, mode 0755); 0 or the errno.
int WritePlotBatchFile(const OutputContext& ws, const std::string& path, const std::string& commandLine);

// Starts the current command line as a hidden process (argument vector, never a shell); a start
// failure shows "out of memory !", "file not found" or "Exec error " + code. Returns the errno.
int RunPlotCommandLine(OutputContext& ws);

// Device 4: the DXF file "plotrix.dxf" (with INSERT entities) in the temporary folder; finish
// writes it and then starts the plot command line (its words) as a hidden process. A program
// that does not start fails the device with "out of memory !", "file not found" or
// "Exec error " + code: the drawing is not plotted.
class PlotDevice : public DxfDevice {
 public:
  PlotDevice(const DrawingOptions& options, std::string path, ProgramLauncher& programs,
             std::vector<std::string> command)
      : DxfDevice(options, std::move(path), true), programs_(programs), command_(std::move(command)) {}
  void finish() override;

 private:
  ProgramLauncher& programs_;
  std::vector<std::string> command_;
};

}  // namespace velk
