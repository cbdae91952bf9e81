// Program start: start-up sequence, command-line procedure, batch-job preparation.
#include "shell/startup.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <sstream>

#include "base/codepage.h"
#include "cad/plotprogram.h"
#include "commands/menucommands.h"
#include "commands/springfile.h"
#include "data/inputfile.h"
#include "dialogs/configio.h"
#include "dialogs/dialogs.h"
#include "draw/displaylist.h"
#include "draw/drawing.h"
#include "draw/springpath.h"
#include "draw/svgcanvas.h"
#include "graphics/output.h"
#include "graphics/productiondrawing.h"
#include "graphics/springdrawing.h"
#include "graphics/views.h"
#include "report/reportstate.h"
#include "reportui/reportservice.h"
#include "shell/jsonexport.h"
#include "shell/springsettings.h"
#include "shell/stepjob.h"
#include "shell/xlsxjob.h"

namespace velk {

std::vector<std::string> commandLineHelpText(const std::string& ext) {
  const std::string w = std::string("w") + kShortName;
  std::vector<std::string> lines = {
      std::string(kAppTitle) + " Command Line Mode",
      "",
      w + " Filename... [/I] [/CADi:j] [/SET:n=v]... [/NOGUI]",
      "",
      "/I       -> TXT file",
      "",
      "/CADi:j  -> CAD File",
      "            i: 1=DXF, 2=IGS, 4=plot program, 5=TXT",
      "            j: index (1,2,3, .. 9)",
      "",
      "/NOGUI   -> No GUI, exit on fatal error",
      "",
      "/JSON    -> JSON file",
      "/XLSX    -> XLSX report workbook",
      "/STEP    -> STEP 3D model (mm, unloaded)",
      "/SVG:j   -> SVG of view j (1..9; 9 = production drawing)",
      "/PDF:j   -> PDF page of view/drawing j as printed",
      "/?       -> Help (also -h, --help); --version",
      "/SET:n=v -> set input n (its JSON name) before calculating",
      "Every job runs on every file, in order; switches anywhere",
      "Note: /I and /CAD5:j both write Filename.txt",
      "Exit: 0 done, 1 input, /SET or switch refused, 2 a job failed",
      "",
      "Example: " + w + " test." + ext + "             ->  GUI",
      "Example: " + w + " test." + ext + " /I /NOGUI   ->  test.txt",
      "Example: " + w + " test." + ext + " /CAD1:1     ->  test.dxf",
      "Example: " + w + " *." + ext + " /JSON         ->  one .json each",
      "",
  };
  for (std::string& l : lines) l = leftStr(l, 65);
  return lines;
}

std::string versionText(const std::string& version) {
  return std::string("w") + kShortName + " (" + kAppTitle + ") " + version;
}

// Only "/" separates folders here: "\\" is an ordinary character of a file name.
std::string bareName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return stripExtension(slash == std::string::npos ? path : path.substr(slash + 1));
}

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
  // "/SVG:j" and "/PDF:j": j follows the colon.
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
                       (text.size() >= 2 && text[1] == ':') || text.find('/') != std::string::npos ||
                       !isDirectory(base + text);
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

namespace {

// The job switches, each matched as a whole word without regard to letter case: a plain one is
// the word itself, one with an argument is the word, ":" and the argument ("/SVG:7"); /CADi:j
// has its device between the word and the colon. Adding a batch job is one entry here, e.g.
// {"/XYZ", Form::Plain, plainJob<runXyzJob>}.
enum class Form { Plain, WithView, Cad };
struct JobSwitch {
  const char* name;
  Form form;
  int (*run)(Session& ws, const std::string& input, const std::string& arg, const BatchServices& services,
             std::ostream& err);
};

// A job that needs neither its switch's argument nor the services: int job(ws, input, err).
template <int (*job)(Session&, const std::string&, std::ostream&)>
int plainJob(Session& ws, const std::string& in, const std::string&, const BatchServices&, std::ostream& err) {
  return job(ws, in, err);
}

// The views a batch job draws: 1..6 the views, 7 front, 8 side, 9 the production drawing.
constexpr int kLastView = 9;

// A view number the switch cannot draw: said with the switch as typed (so a number too long
// for any integer is named as typed, not as what it read as). True when refused.
bool viewOutOfRange(const std::string& arg, int view, std::ostream& err) {
  if (view >= 1 && view <= kLastView) return false;
  err << "wvelk: " << arg << ": the view number is out of range (1.." << kLastView << "); nothing was drawn\n";
  return true;
}

const JobSwitch kJobSwitches[] = {
    {"/I", Form::Plain, plainJob<runTextReportJob>},
    {"/CAD", Form::Cad,
     [](Session& ws, const std::string& in, const std::string& arg, const BatchServices&, std::ostream& err) {
       int device = 0, view = 0;
       parseCadArgument(arg, device, view);
       if (viewOutOfRange(arg, view, err)) return 2;
       return runCadJob(ws, in, device, view, err);
     }},
    {"/JSON", Form::Plain, plainJob<runJsonJob>},
    {"/XLSX", Form::Plain, plainJob<runXlsxJob>},
    {"/STEP", Form::Plain, plainJob<runStepJob>},
    {"/SVG", Form::WithView,
     [](Session& ws, const std::string& in, const std::string& arg, const BatchServices&, std::ostream& err) {
       int view = 0;
       parseSvgArgument(arg, view);
       if (viewOutOfRange(arg, view, err)) return 2;
       return runSvgJob(ws, in, view, err);
     }},
    {"/PDF", Form::WithView,
     [](Session& ws, const std::string& in, const std::string& arg, const BatchServices& services, std::ostream& err) {
       int view = 0;
       parseSvgArgument(arg, view);
       if (viewOutOfRange(arg, view, err)) return 2;
       if (!services.pdfJob) {
         err << "wvelk: " << arg << ": PDF output is not available in this program\n";
         return 2;
       }
       return services.pdfJob(ws, in, view, err);
     }},
};

const JobSwitch* jobSwitch(const std::string& arg) {
  const std::string u = upper(arg);
  for (const JobSwitch& j : kJobSwitches) {
    const std::string name = j.name;
    switch (j.form) {
      case Form::Plain:
        if (u == name) return &j;
        break;
      case Form::WithView:
        if (u.rfind(name + ":", 0) == 0) return &j;
        break;
      case Form::Cad:
        // "/CADi:j": at least one character of i before the colon.
        if (u.rfind(name, 0) == 0 && u.size() > name.size() + 1 && u.find(':') != std::string::npos &&
            u.find(':') > name.size())
          return &j;
        break;
    }
  }
  return nullptr;
}

// An existing file (not a folder) is a file name whatever it looks like.
bool isExistingFile(const std::string& arg) {
  std::error_code ec;
  return std::filesystem::exists(arg, ec) && !std::filesystem::is_directory(arg, ec);
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const std::string u = upper(a);
    if (a == "--help" || a == "-h") {
      cl.help = cl.helpOnStdout = true;
    } else if (a == "--version") {
      cl.version = true;
    } else if (a == "/?" || (i == 0 && a == "?")) {
      cl.help = true;
    } else if (a.empty() || isExistingFile(a) || (a[0] != '/' && a[0] != '-')) {
      cl.files.push_back(a);
    } else if (u.rfind("/SET:", 0) == 0) {
      // Before the path rule: a value may hold a "/" ("/SET:bemerk1=Serie 2/3").
      const std::string body = a.substr(5);
      const std::size_t eq = body.find('=');
      if (eq == std::string::npos || eq == 0) cl.notes.push_back(a + ": /SET:name=value expected");
      cl.settings.emplace_back(eq == std::string::npos ? body : body.substr(0, eq),
                               eq == std::string::npos ? std::string() : body.substr(eq + 1));
    } else if (a[0] == '/' && a.find('/', 1) != std::string::npos) {
      cl.files.push_back(a);  // an absolute path, however much it looks like a switch
    } else if (u == "/NOGUI") {
      cl.noGui = true;
    } else if (u == "/E" || u == "/G") {
      cl.windowSwitch = true;
    } else if (jobSwitch(a)) {
      cl.jobs.push_back(a);
    } else {
      cl.errors.push_back("unknown switch " + a + "; wvelk /? lists them");
    }
  }
  return cl;
}

CommandLine commandLineForFile(const CommandLine& cl, std::size_t k) {
  CommandLine one = cl;
  one.files = {cl.files.at(k)};
  return one;
}

bool isBatchCommandLine(const CommandLine& cl) {
  if (cl.help || cl.version || !cl.errors.empty()) return false;
  return cl.noGui || (!cl.windowSwitch && !cl.jobs.empty());
}

// Applies the /SET values; false (said through ShowError, nothing calculated) on the first that
// does not apply.
static bool applySettings(Session& ws, const std::vector<std::pair<std::string, std::string>>& settings) {
  for (const auto& [name, value] : settings) {
    const std::string wrong = applySpringSetting(ws.spring, name, value);
    if (!wrong.empty()) {
      ShowError(ws, oem(wrong));
      return false;
    }
  }
  return true;
}

StartOutcome runCommandLine(Session& ws, const std::vector<std::string>& args) {
  return runCommandLine(ws, parseCommandLine(args));
}

StartOutcome runCommandLine(Session& ws, const CommandLine& cl) {
  StartOutcome out;
  out.noGui = cl.noGui;
  out.notes = cl.notes;
  if (!cl.errors.empty()) {
    out.notes.insert(out.notes.end(), cl.errors.begin(), cl.errors.end());
    out.kind = StartOutcome::Kind::Exit;
    out.exitCode = 1;
    return out;
  }
  ws.start.noGui = out.noGui;
  Spring& s = ws.spring;
  ws.abort = false;
  ws.errorMessagesEnabled = true;
  CheckFolders(ws);
  ws.abort = false;
  if (!ws.config.askUserDir) s.dataDir.clear();

  if (cl.help || cl.version) {
    if (cl.version) ws.ui.show(TextWindowRequest{kAppTitle, {versionText(kVersion)}});
    if (cl.help) ws.ui.show(TextWindowRequest{kAppTitle, commandLineHelpText(s.fileExt)});
    out.kind = StartOutcome::Kind::Exit;
    out.exitCode = 0;
    return out;
  }
  const bool batch = isBatchCommandLine(cl);
  if (cl.files.empty()) {
    if (batch && !cl.jobs.empty()) {
      out.notes.push_back("no spring file given; wvelk /? lists the command line");
      out.kind = StartOutcome::Kind::Exit;
      out.exitCode = 1;
      return out;
    }
    if (!cl.settings.empty()) out.notes.push_back("/SET applies to batch jobs only; ignored");
    return windowedStart(ws, out);
  }
  const std::string& input = cl.files.front();
  s.fileName = input;
  s.dataDir.clear();
  if (!batch || cl.jobs.empty())
    for (std::size_t k = 1; k < cl.files.size(); ++k)
      out.notes.push_back("argument " + cl.files[k] + " ignored: the window opens one file");
  if (cl.windowSwitch) {
    if (!cl.jobs.empty()) out.notes.push_back("/E and /G open the window; the jobs are not run");
    return windowedStart(ws, out);
  }

  if (!cl.jobs.empty()) {
    // Every setting is checked before the file is read: a wrong one ends the run with nothing written.
    {
      Spring probe = s;
      if (!applySettings(ws, cl.settings)) {
        s = probe;
        out.kind = StartOutcome::Kind::Exit;
        out.exitCode = 1;
        return out;
      }
      s = probe;
    }
    const std::vector<std::string> notes = readInputFile(
        ws, s.fileName,
        [&cl](CalcContext& c) {
          for (const auto& [name, value] : cl.settings) applySpringSetting(c.spring, name, value);
        },
        /*notesToMessages=*/false);
    if (ws.abort) {
      out.kind = StartOutcome::Kind::Exit;
      out.exitCode = 1;
      return out;
    }
    for (const std::string& n : notes) out.notes.push_back(input + ": " + cp850ToUtf8(n));
    s.fileName = bareName(input);
    out.kind = StartOutcome::Kind::BatchJobs;
    out.jobs = cl.jobs;
    out.input = input;
    return out;
  }
  if (!cl.settings.empty()) out.notes.push_back("/SET applies to batch jobs only; ignored");

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

int runBatchJobs(Session& ws, const std::string& inputArgument, const StartOutcome& out, const BatchServices& services,
                 std::ostream& err) {
  int code = 0;
  for (const std::string& arg : out.jobs) {
    const JobSwitch* job = jobSwitch(arg);
    if (!job) continue;
    ws.abort = false;
    code = std::max(code, job->run(ws, inputArgument, arg, services, err));
  }
  return code;
}

bool refuseBatchOutput(const std::string& output, std::ostream& err) {
  const std::string why = outputRefusal(output);
  if (why.empty()) return false;
  err << "wvelk: " << output << " " << why << "; not replaced\n";
  return true;
}

static bool sameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::exists(a, ec) && std::filesystem::exists(b, ec) && std::filesystem::equivalent(a, b, ec);
}

// True (and said on err) when output names the input file itself, or may not be replaced.
static bool overwritesInput(const Session& ws, const std::string& inputArgument, const std::string& output,
                            std::ostream& err) {
  if (refuseBatchOutput(output, err)) return true;
  if (!sameFile(resolveInputName(ws.spring, inputArgument), output)) return false;
  err << "wvelk: " << output << ": the output would overwrite the input file; nothing written\n";
  return true;
}

int runJsonJob(Session& ws, const std::string& inputArgument, std::ostream& err) {
  const std::string output = ws.spring.fileName + ".json";
  if (overwritesInput(ws, inputArgument, output, err)) return 2;
  std::ostringstream json;
  const bool complete = writeJson(ws, json);
  if (int e = atomicWriteFile(output, json.str(), ws.io)) {
    printWriteFailure(output, e, err);
    return 2;
  }
  if (ws.messages.fatal) {
    printCalcMessages(ws, err);
    return 2;
  }
  if (!complete) {
    err << "wvelk: " << output << ": a value lies outside the range of a JSON number; written without results, "
        << "\"fatal\": true\n";
    return 2;
  }
  return 0;
}

bool refuseJobOutput(const Session& ws, const std::string& inputArgument, const std::string& output,
                     std::ostream& err) {
  if (overwritesInput(ws, inputArgument, output, err)) return true;
  if (!ws.messages.fatal) return false;
  // There is no message window in batch mode: the messages are the job's answer.
  printCalcMessages(ws, err);
  err << "wvelk: the calculation failed; " << output << " was not written\n";
  return true;
}

int runTextReportJob(Session& ws, const std::string& inputArgument, std::ostream& err) {
  const std::string output = ws.spring.fileName + ".txt";
  if (refuseJobOutput(ws, inputArgument, output, err)) return 2;
  // Device 9 for this run only; the configuration is not saved, since the process ends.
  ws.config.textDevice = ReportDeviceCode(ReportDevice::Batch);
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

// Draws view j (1..6), the front (7) or side (8) view of the spring or the production drawing (9)
// on a device.
void drawItem(Session& ws, int j, DeviceCode device) {
  ws.start.batchCad = true;
  ws.abort = false;
  if (j <= 6)
    ShowView(ws, *ViewKindFromNumber(j), device);
  else if (j == 9)
    DrawProductionDrawing(ws, device);
  else
    DrawSpring(ws, j == 7 ? SpringView::Front : SpringView::Side, device, false);
  ws.start.batchCad = false;
}

// The file a CAD device writes in batch mode (empty for devices that write none).
std::string cadOutputName(const Session& ws, DeviceCode device) {
  switch (device) {
    case DeviceCode::Dxf:
      return ws.spring.fileName + ".dxf";
    case DeviceCode::Iges:
      return ws.spring.fileName + ".igs";
    case DeviceCode::Tab:
      return ws.spring.fileName + ".txt";
    case DeviceCode::Ask:
    case DeviceCode::Screen:
    case DeviceCode::Plot:
      return {};
  }
  return {};
}

// The exit code when there is nothing to draw: 2 after a fatal calculation (the messages on
// err) or for a j outside 1..9 (said on err).
std::optional<int> refuseDrawing(const Session& ws, int view, std::ostream& err) {
  if (view < 1 || view > kLastView) {
    err << "wvelk: view " << view << " is out of range (1.." << kLastView << "); nothing was drawn\n";
    return 2;
  }
  if (ws.messages.fatal) {
    printCalcMessages(ws, err);
    return 2;
  }
  return std::nullopt;
}

}  // namespace

int runCadJob(Session& ws, const std::string& inputArgument, int number, int view, std::ostream& err) {
  const std::optional<DeviceCode> code = DeviceCodeFromNumber(number);
  if (!code || *code == DeviceCode::Ask || *code == DeviceCode::Screen) {
    err << "wvelk: /CAD" << number << ":" << view << ": ";
    if (code == DeviceCode::Ask)
      err << "device 0 asks for the device in a dialog, which a batch job cannot show";
    else if (code == DeviceCode::Screen)
      err << "device 3 is the graphics window, which a batch job has not; /SVG:j or /PDF:j draw a picture";
    else
      err << "there is no device " << number;
    err << "; devices: 1 DXF file, 2 IGES file, 4 plot program, 5 TXT file. Nothing was drawn\n";
    return 2;
  }
  const DeviceCode device = *code;
  if (std::optional<int> refused = refuseDrawing(ws, view, err)) return *refused;
  const std::string output = cadOutputName(ws, device);
  if (!output.empty() && overwritesInput(ws, inputArgument, output, err)) return 2;
  drawItem(ws, view, device);
  if (!ws.abort) return 0;
  if (device == DeviceCode::Plot) {
    const std::string line = trim(CurrentPlotCommandLine(ws));
    err << "wvelk: /CAD" << number << ":" << view << ": the plot program did not start; plot command line: "
        << (line.empty() ? std::string("(none configured)") : cp850ToUtf8(line)) << "\n";
  }
  return 2;
}

int runSvgJob(Session& ws, const std::string& inputArgument, int view, std::ostream& err) {
  if (std::optional<int> code = refuseDrawing(ws, view, err)) return *code;
  const std::string output = ws.spring.fileName + ".svg";
  if (overwritesInput(ws, inputArgument, output, err)) return 2;
  drawItem(ws, view, DeviceCode::Screen);
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
    printWriteFailure(output, e, err);
    return 2;
  }
  return 0;
}

int runPdfJob(Session& ws, const std::string& inputArgument, int view, const PdfWriterFn& writePdf, std::ostream& err) {
  if (std::optional<int> code = refuseDrawing(ws, view, err)) return *code;
  const std::string output = ws.spring.fileName + ".pdf";
  if (overwritesInput(ws, inputArgument, output, err)) return 2;
  drawItem(ws, view, DeviceCode::Screen);
  if (ws.abort) {
    err << "wvelk: " << output << " was not written\n";
    return 2;
  }
  // As a macro print prints it: views and the (landscape) production drawing with preset 0, the
  // front and side views with preset 2.
  const PrintLayout layout = ApplyPrintPreset(view <= 6 || view == 9 ? 0 : 2, LayoutFromConfig(ws.config));
  PrintDrawingRequest request = MakePrintDrawingRequest(ws, layout, kAppTitle + std::string(" - ") + output);
  if (view == 9) request.a3 = PlanProductionSheet(ws.spring, CentreLine(ws.spring)).paper == 3;
  const int e = writePdf ? writePdf(request, output) : -1;
  if (e > 0) {
    printWriteFailure(output, e, err);
    return 2;
  }
  if (e < 0 || ws.abort) {
    err << "wvelk: the page could not be painted; " << output << " was not written\n";
    return 2;
  }
  return 0;
}

void printWriteFailure(const std::string& output, int e, std::ostream& err) {
  err << "wvelk: " << cp850ToUtf8(ioErrorText(IoStage::Write, ioCodeFromErrno(e))) << ": " << output << ": "
      << writeFailureReason(output, e) << "\n";
}

void printCalcMessages(const Session& ws, std::ostream& err) {
  for (int i = 0; i < ws.messages.count; ++i) err << "wvelk: " << cp850ToUtf8(ws.messages.entries[i]) << "\n";
}

// The one-line note for a VELK_CONFIG_DIR that is set but relative, and so ignored by
// userConfigDir; empty otherwise.
static std::string configDirNote(const std::string& configDir) {
  const char* v = std::getenv("VELK_CONFIG_DIR");
  if (!v || !*v || *v == '/') return {};
  return std::string("VELK_CONFIG_DIR=") + v + " is not an absolute folder and is ignored; configuration from " +
         configDir;
}

StartOutcome runStartup(Session& ws, const std::vector<std::string>& args) {
  return runStartup(ws, parseCommandLine(args));
}

StartOutcome runStartup(Session& ws, const CommandLine& cl) {
  InitConfigLocation(ws);
  ReadConfiguration(ws);
  ws.abort = false;
  SetupWindowSize(ws);  // the graphics window's nominal size follows the configured resolution
  ReadRecentFiles(ws);
  ws.abort = false;
  StartOutcome out = runCommandLine(ws, cl);
  if (const std::string note = configDirNote(ws.start.configDir); !note.empty())
    out.notes.insert(out.notes.begin(), note);
  if (out.kind == StartOutcome::Kind::OpenWindow) ws.abort = false;
  return out;
}

}  // namespace velk
