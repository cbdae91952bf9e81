// Graphics print setup: layout values, the print configuration form's rules, stored layouts in
// "printout.dbf", printer information rows, print presets, the printer mapping and the print macro.
#include "reportui/printconfig.h"

#include <algorithm>
#include <cmath>

#include "base/codepage.h"
#include "dbf/dbf.h"
#include "platform/files.h"

namespace velk {

namespace {

// Origins are kept within what the table's 6-digit field holds, so a stored layout reads back as typed.
constexpr long long kOriginMin = -99999;
constexpr long long kOriginMax = 999999;

// Number settings for the form's edit texts: the user's decimal separator, no decimal shift.
NumberSettings editSettings(const Configuration& config) {
  NumberSettings s = config.num;
  s.decimalPlaces = 3;
  s.units = 0;
  return s;
}

// A scale as an edit text: up to five significant digits, no trailing zeros ("1", "1.9").
std::string scaleText(const Configuration& config, Real x) { return trim(fmtSigN(editSettings(config), -2, x)); }

Real parseScale(const std::string& text) {
  const Real v = parseReal(text);
  return v > 0 ? v : Real{1};
}

int parseOrigin(const std::string& text) {
  const Real v = parseReal(text);
  if (!std::isfinite(v)) return 0;
  const Real r = std::nearbyint(std::clamp(v, Real(kOriginMin), Real(kOriginMax)));
  return static_cast<int>(r);
}

std::string missingTableText(const std::string& path) {
  return oem("Datei ") + oem(path) + " " + oem("nicht gefunden oder kein Zugriffsrecht") + " !";
}

std::string countText(int n) { return n < 0 ? std::string("?") : fmtInt(n); }

}  // namespace

PrintLayout LayoutFromConfig(const Configuration& config) {
  PrintLayout l;
  l.scaleX = config.printScaleX;
  l.scaleY = config.printScaleY;
  l.originX = config.printOriginX;
  l.originY = config.printOriginY;
  l.border = config.printBorder;
  l.monochrome = config.printMode != 2;
  l.landscape = config.printOrientation != 1;
  return l;
}

void StoreLayoutInConfig(Configuration& config, const PrintLayout& layout) {
  config.printScaleX = layout.scaleX;
  config.printScaleY = layout.scaleY;
  config.printOriginX = layout.originX;
  config.printOriginY = layout.originY;
  config.printBorder = layout.border;
  config.printMode = layout.monochrome ? 1 : 2;
  config.printOrientation = layout.landscape ? 2 : 1;
}

// ---- Print configuration form ----

std::string PrinterLabel(const std::string& printerName) {
  constexpr std::size_t kWidth = 40;
  if (printerName.size() >= kWidth) return printerName;
  return std::string(kWidth - printerName.size(), ' ') + printerName;
}

PrintConfigRequest MakePrintConfigRequest(const Configuration& config, PrintConfigMode mode, int preset,
                                          const PrinterInfo& printer) {
  PrintConfigRequest r;
  r.mode = mode;
  r.caption = oem("Ausdruck");
  r.editLabels = {oem("Maßstab x"), oem("Maßstab y"), oem("Ursprung x"), oem("Ursprung y")};
  r.borderCaption = oem("Umrandung");
  r.fitCaption = oem("anpassen");
  r.shadingTitle = oem("Schattierung");
  r.shadingItems = {oem("Monochrom"), oem("Color / Graustufen")};
  r.orientationTitle = oem("Ausdruck");
  r.orientationItems = {oem("Hochformat"), oem("Querformat")};
  r.okCaption = "OK";
  r.cancelCaption = oem("Abbrechen");
  r.helpCaption = oem("&Hilfe");
  r.loadCaption = oem("Datenbank");
  r.storeCaption = oem("Ü&bernehmen Datenbank");
  r.printerCaption = oem("Drucker") + "...";
  r.helpNumber = 1030;
  r.printerLabel = PrinterLabel(printer.name);

  PrintConfigValues& v = r.values;
  if (preset == 2) {
    v.scaleX = scaleText(config, 1.9L);
    v.scaleY = scaleText(config, 1.0L);
    v.originX = "0";
    v.originY = "0";
    v.border = false;
    v.landscape = false;
  } else {
    v.scaleX = scaleText(config, config.printScaleX);
    v.scaleY = scaleText(config, config.printScaleY);
    v.originX = fmtInt(config.printOriginX);
    v.originY = fmtInt(config.printOriginY);
    v.border = config.printBorder;
    v.landscape = config.printOrientation != 1;
  }
  v.monochrome = config.printMode != 2;
  v.fit = false;
  return r;
}

PrintLayout LayoutFromValues(const PrintConfigValues& values) {
  PrintLayout l;
  l.scaleX = parseScale(values.scaleX);
  l.scaleY = parseScale(values.scaleY);
  l.originX = parseOrigin(values.originX);
  l.originY = parseOrigin(values.originY);
  l.border = values.border;
  l.monochrome = values.monochrome;
  l.landscape = values.landscape;
  return l;
}

PrintConfigOutcome ApplyPrintConfigResult(Configuration& config, PrintConfigMode mode,
                                          const PrintConfigResult& result) {
  PrintConfigOutcome out;
  out.layout = LayoutFromValues(result.values);
  StoreLayoutInConfig(config, out.layout);
  out.steps.push_back(PrintStep::SetOrientation);
  switch (mode) {
    case PrintConfigMode::Print:
      if (result.values.fit) out.steps.push_back(PrintStep::ResetGraphicsWindow);
      out.steps.insert(out.steps.end(), {PrintStep::PaintScreen, PrintStep::BeginDocument, PrintStep::PaintPrinter,
                                         PrintStep::EndDocument});
      break;
    case PrintConfigMode::Setup:
      out.steps.insert(out.steps.end(), {PrintStep::BeginDocument, PrintStep::EndDocument, PrintStep::ShowPrinterInfo});
      break;
  }
  return out;
}

// ---- Stored layouts ----

LayoutTableLocation FindPrintLayoutTable(const std::string& workingFolder, const std::string& tableFolder) {
  LayoutTableLocation loc;
  if (!workingFolder.empty()) {
    const std::string local = withSeparator(workingFolder) + kPrintLayoutTableFile;
    if (fileExists(local)) {
      loc.path = local;
      return loc;
    }
  }
  loc.path = withSeparator(tableFolder) + kPrintLayoutTableFile;
  if (!canOpenForReading(loc.path)) loc.error = missingTableText(loc.path);
  return loc;
}

LayoutTableOutcome LoadPrintLayout(const std::string& path, std::uint32_t record, PrintConfigValues& values) {
  LayoutTableOutcome out;
  DbfTable table;
  if (const DbfStatus st = table.open(path, /*readOnly=*/true); !st) {
    out.error = st.systemError != 0 ? missingTableText(path) : st.message;
    return out;
  }
  const std::uint32_t count = table.recordCount();
  if (count == 0) return out;
  std::uint32_t n = record;
  if (n > count) {
    out.calcMessage = "DBF #" + fmtInt(n) + " not found.";
    n = count;
  }
  if (n < 1) n = 1;
  out.record = n;

  // Positions 2..5 hold scale x, scale y, origin x, origin y; the logical fields go by name.
  values.scaleX = table.fieldText(n, 1);
  values.scaleY = table.fieldText(n, 2);
  values.originX = table.fieldText(n, 3);
  values.originY = table.fieldText(n, 4);
  const auto flag = [&](const char* name) {
    const int i = table.fieldIndex(name);
    return i >= 0 && table.fieldBool(n, i);
  };
  values.landscape = flag("landscape");
  values.monochrome = flag("monochrom");
  values.fit = flag("variable");
  values.border = flag("borderline");
  return out;
}

LayoutTableOutcome StorePrintLayout(const std::string& path, const std::string& name, const PrintConfigValues& values) {
  LayoutTableOutcome out;
  DbfTable table;
  if (const DbfStatus st = table.open(path); !st) {
    out.error = st.systemError != 0 ? missingTableText(path) : st.message;
    return out;
  }
  const PrintLayout layout = LayoutFromValues(values);
  std::string rec = table.blankRecord();
  std::string text = leftStr(name, kPrintLayoutNameLength);
  if (dbfCodePage(table.languageDriver()) == DbfCodePage::Win1252) text = cp850ToWin1252(text);
  // Fields the table does not have are skipped, as the table service does for writes by name.
  const auto put = [&](const char* field, auto&& write) {
    const int i = table.fieldIndex(field);
    if (i >= 0) write(i);
  };
  put("name", [&](int i) { table.setFieldText(rec, i, text); });
  put("xscale", [&](int i) { table.setFieldNumber(rec, i, static_cast<double>(layout.scaleX)); });
  put("yscale", [&](int i) { table.setFieldNumber(rec, i, static_cast<double>(layout.scaleY)); });
  put("xorigin", [&](int i) { table.setFieldNumber(rec, i, layout.originX); });
  put("yorigin", [&](int i) { table.setFieldNumber(rec, i, layout.originY); });
  put("landscape", [&](int i) { table.setFieldBool(rec, i, values.landscape); });
  put("monochrom", [&](int i) { table.setFieldBool(rec, i, values.monochrome); });
  put("variable", [&](int i) { table.setFieldBool(rec, i, values.fit); });
  put("borderline", [&](int i) { table.setFieldBool(rec, i, values.border); });
  if (const DbfStatus st = table.append(rec); !st) {
    out.error = st.message;
    return out;
  }
  out.record = table.recordCount();
  return out;
}

// ---- Printer information ----

std::string PrinterTechnologyText(int technology) {
  switch (technology) {
    case 0:
      return "Plotter";
    case 1:
      return "Rasterbildschirm";
    case 2:
      return "Rasterdrucker";
    case 4:
      return "Zeichendrucker";
    case 5:
      return "Metafile";
    default:
      return "?";
  }
}

PrinterInfoRequest MakePrinterInfoRequest(const PrinterInfo& p) {
  PrinterInfoRequest r;
  r.caption = "Printer Info";
  r.okCaption = "OK";
  const auto row = [&](const char* label, std::string value) { r.rows.emplace_back(oem(label), std::move(value)); };
  row("Name", p.name);
  row("Treiberversion", countText(p.driverVersion));
  row("Technologie", PrinterTechnologyText(p.technology));
  row("Druckbreite (mm)", fmtInt(p.widthMm));
  row("Druckhöhe (mm)", fmtInt(p.heightMm));
  row("Breite (Pixel)", fmtInt(p.widthPx));
  row("Höhe (Pixel)", fmtInt(p.heightPx));
  row("Linker Seitenoffset (Pixel)", fmtInt(p.offsetLeftPx));
  row("Oberer Seitenoffset (Pixel)", fmtInt(p.offsetTopPx));
  row("DPI (horizontal)", fmtInt(p.dpiX));
  row("DPI (vertikal)", fmtInt(p.dpiY));
  row("Pinsel", countText(p.brushes));
  row("Stifte", countText(p.pens));
  row("Markierer", countText(p.markers));
  row("Farben", countText(p.colors));
  row("Schriften", fmtInt(static_cast<long long>(p.fonts.size())));
  for (const std::string& font : p.fonts) r.rows.emplace_back(std::string(), font);
  return r;
}

// ---- Print presets and the printer mapping ----

PrintLayout ApplyPrintPreset(int preset, const PrintLayout& base) {
  PrintLayout l;
  l.monochrome = base.monochrome;
  l.originX = 0;
  l.originY = 0;
  l.scaleY = 1.0L;
  if (preset == 2) {
    l.scaleX = 1.8L;
    l.border = false;
    l.landscape = false;
  } else {
    l.scaleX = 1.0L;
    l.border = preset == 1;
    l.landscape = true;
  }
  return l;
}

PrinterPage MakePrinterPage(const PrintLayout& layout, const PrinterInfo& printer) {
  PrinterPage m;
  m.pageWidth = printer.widthPx;
  m.pageHeight = printer.heightPx;
  if (printer.landscape != layout.landscape) std::swap(m.pageWidth, m.pageHeight);
  if (!m.valid()) {
    m.pageWidth = 0;
    m.pageHeight = 0;
  }
  m.marginX = layout.originX;
  m.marginY = layout.originY;
  m.scaleX = layout.scaleX;
  m.scaleY = layout.scaleY;
  m.pixelsPerMm = Real(m.pageWidth) / 210;
  m.penWidthFactor = 4;
  m.monochrome = layout.monochrome;
  m.border = layout.border;
  m.landscape = layout.landscape;
  return m;
}

// ---- Print macro ----

namespace {

struct MacroBoxSpec {
  MacroOutput output;
  MacroJobKind kind;
  int view;
  int preset;
  const char* caption;  // UTF-8
};

// Boxes 1..8 in the order the outputs are produced. Views print with preset 0, and so does the
// production drawing: its sheet is landscape and carries its own frame.
constexpr MacroBoxSpec kMacroBoxes[] = {
    {MacroOutput::StandardOutput, MacroJobKind::Report, 0, 0, "&Ausdruck"},
    {MacroOutput::Excerpt, MacroJobKind::Report, 0, 0, "&Auszug"},
    {MacroOutput::Quick1, MacroJobKind::View, 1, 0, "&Quick 1"},
    {MacroOutput::Quick2, MacroJobKind::View, 4, 0, "&Quick 2"},
    {MacroOutput::ProductionDrawing, MacroJobKind::Drawing, 9, 0, "&Zeichnung"},
    {MacroOutput::Characteristic, MacroJobKind::View, 2, 0, "T-alpha &Federkennlinie"},
    {MacroOutput::Goodman, MacroJobKind::View, 3, 0, "&Goodman-Diagramm"},
    {MacroOutput::HaighGoodman, MacroJobKind::View, 7, 0, "Haigh-&Goodman-Diagramm"},
};

bool bitSet(int value, int bit) { return (static_cast<std::uint32_t>(value) >> bit) & 1u; }

}  // namespace

std::vector<MacroJob> PrintMacroJobs(int macroValue) {
  std::vector<MacroJob> jobs;
  for (const MacroBoxSpec& b : kMacroBoxes) {
    if (bitSet(macroValue, static_cast<int>(b.output) - 1)) jobs.push_back({b.output, b.kind, b.view, b.preset});
  }
  return jobs;
}

PrintMacroRequest MakePrintMacroRequest(int macroValue, const std::string& applicationTitle) {
  PrintMacroRequest r;
  r.caption = applicationTitle;
  r.okCaption = "OK";
  r.cancelCaption = oem("Abbrechen");
  r.helpCaption = oem("&Hilfetext");
  r.helpNumber = 3520;
  for (int i = 0; i < kPrintMacroBoxes; ++i) r.boxes[i].checked = bitSet(macroValue, i);
  for (const MacroBoxSpec& b : kMacroBoxes) {
    PrintMacroBox& box = r.boxes[static_cast<int>(b.output) - 1];
    box.caption = oem(b.caption);
    box.visible = true;
  }
  return r;
}

int ApplyPrintMacroResult(int macroValue, const PrintMacroResult& result) {
  std::uint32_t v = static_cast<std::uint32_t>(macroValue);
  for (int i = 0; i < kPrintMacroBoxes; ++i) {
    const std::uint32_t bit = 1u << i;
    v = result.checked[i] ? (v | bit) : (v & ~bit);
  }
  return static_cast<int>(v);
}

MacroReportDevice::MacroReportDevice(Configuration& config)
    : config_(config), device_(config.textDevice), ask_(config.textDeviceAsk) {
  config_.textDevice = ReportDeviceCode(ReportDevice::Printer);
  config_.textDeviceAsk = false;
}

MacroReportDevice::~MacroReportDevice() {
  config_.textDevice = device_;
  config_.textDeviceAsk = ask_;
}

}  // namespace velk
