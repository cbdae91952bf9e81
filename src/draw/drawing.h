// The device-independent drawing layer: one drawing at a time on one output device (DXF, IGES,
// screen, plot program, tab-separated file), with the state all devices share.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/diagnostics.h"
#include "base/numfmt.h"
#include "draw/displaylist.h"
#include "platform/files.h"

namespace velk {

// Device codes ("CAD-Code"): the numbers of the command line (/CADi:j) and the device dialog.
enum class DeviceCode {
  Ask = 0,     // the output service asks with the device dialog
  Dxf = 1,     // DXF file, extension "dxf"
  Iges = 2,    // IGES file, extension "igs"
  Screen = 3,  // the graphics window's display list
  Plot = 4,    // "plotrix.dxf" in the temp folder, then the plot program
  Tab = 5,     // tab-separated drawing file, extension "txt"
};
constexpr int kCadDeviceCount = 6;  // codes 0..5
// The one conversion from a number (command line, dialog choice): nullopt outside 0..5.
std::optional<DeviceCode> DeviceCodeFromNumber(long long n);
// And back (messages, the dialog's preselection, table indices).
constexpr int DeviceNumber(DeviceCode d) { return static_cast<int>(d); }

// What a drawing is: a drawing to scale (6 DXF layers) or a diagram (22 DXF layers, pens 16..31
// added). Its numbers are those of the DXF table call (0 and 2); the layer numbers nothing else.
enum class DrawingKind { Drawing, Diagram };

// Text attributes in force when a text is routed to a device.
struct TextAttributes {
  Real height = 5.0;       // text height (world units)
  Real widthFactor = 0.7;  // character width factor
  Real angle = 0;          // text angle, degrees
  Real slant = 0;          // text slant, degrees (the configured CAD text angle)
};

constexpr int kDrawingLayers = 32;  // layers 0..31

// What the drawing layer and its devices read from the configuration, filled by the caller
// before a drawing is opened (DrawingOptionsFor in graphics/output.h).
struct DrawingOptions {
  NumberSettings num;   // number formats and the code page of CAD texts
  int dxfDecimals = 6;  // configured DXF decimals (1..32; anything else 6)
  // Configured names of layers 1..5 (empty: the number), colours (DXF numbers; below 1 the
  // default) and screen line widths of every layer.
  std::array<std::string, kDrawingLayers> layerName{};
  std::array<int, kDrawingLayers> layerColor{};
  std::array<int, kDrawingLayers> lineThickness{};
  bool layerMonochrome = false;  // every DXF layer in colour 1
  std::string cadTextFont;       // DXF text style font ("TXT8" when empty)
  Real cadTextWidth = 1;         // text width factor
  Real cadTextAngle = 0;         // text slant, degrees
  bool printBorder = false;      // the frame on the screen and the plot device
  std::string tempFolder;        // with separator: block files "$name.dx$", the plot file
  std::string footer;            // the footer line of a screen drawing
  IoHooks io;                    // fault seams of the file devices (consulted when a file is written)
};

// One output device. The layer applies origin, justification and the layer selection before it
// calls a device; coordinates arrive in final world units, angles in degrees counter-clockwise.
// Texts arrive in code page 850; each device converts as its format demands. A device holds what
// it writes to and nothing else. A device that fails (a write error, a window without extent)
// records the failure with its message and ignores what follows; the layer passes the message on
// and stops the drawing. The file devices write under a temporary name beside the target and only
// replace the target in finish(); discard() abandons the drawing and leaves no file (an older file
// stays as it was).
class DrawingDevice {
 public:
  virtual ~DrawingDevice() = default;

  // Window: the format's header (DXF HEADER, IGES start/global, tab extents, screen Header).
  virtual void window(Real x1, Real y1, Real x2, Real y2) = 0;
  // Tables: the DXF table section; nothing on most devices.
  virtual void tables(DrawingKind kind) { (void)kind; }
  virtual void beginEntities() {}
  virtual void endEntities() {}
  // Completes the output (writes, renames over the target, starts the plot program...).
  virtual void finish() = 0;
  // Abandons an unfinished drawing: no file is left behind. Called instead of finish when the
  // drawing was stopped, and when a new Open replaces an unfinished drawing.
  virtual void discard() {}

  // Layer n (0..31) was selected; name follows the naming rule (LayerName).
  virtual void layer(int n, const std::string& name) {
    (void)n;
    (void)name;
  }
  // Screen only: window line style 0 solid, 1 dotted, 2 dash-dot, 3 dashed.
  virtual void lineStyle(int n) { (void)n; }
  // TextStyle was called (the screen forwards it to the window's SetTextStyle).
  virtual void textStyle(int font, Real angle, Real height, Real width) {
    (void)font;
    (void)angle;
    (void)height;
    (void)width;
  }

  virtual void line(Real x1, Real y1, Real x2, Real y2) = 0;
  virtual void circle(Real x, Real y, Real r) = 0;
  // Counter-clockwise arc about (x, y) from start to end degrees; r > 0. The IGES writer
  // derives start and end points (x + r cos start, y + r sin start) itself.
  virtual void arc(Real x, Real y, Real start, Real end, Real r) = 0;
  // Corners in DXF order (the filled outline runs 1-2-4-3).
  virtual void solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) = 0;
  // Text (non-empty, code page 850) at its justified, origin-shifted anchor.
  virtual void text(const std::string& text, Real x, Real y, const TextAttributes& attr) = 0;
  // Block reference (DXF INSERT); only the plot device writes one, the screen draws blocks itself.
  virtual void insert(const std::string& name, Real x, Real y, Real angle, Real xscale, Real yscale) {
    (void)name;
    (void)x;
    (void)y;
    (void)angle;
    (void)xscale;
    (void)yscale;
  }

  // True once the device failed; failure() is its message (code page 850; empty when the failure
  // has nothing to say, as a screen window without extent).
  bool failed() const { return failed_; }
  const std::string& failure() const { return failure_; }

 protected:
  // Records the first failure; later ones are not kept.
  void fail(std::string message = {}) {
    if (failed_) return;
    failed_ = true;
    failure_ = std::move(message);
  }

 private:
  bool failed_ = false;
  std::string failure_;
};

// Makes the device of one code for the options of a drawing and its output path (empty for the
// screen; for the plot device the path of "plotrix.dxf" in the temp folder).
using DeviceFactory = std::function<std::unique_ptr<DrawingDevice>(const DrawingOptions&, const std::string& path)>;

// Block transform of the screen device's block reader.
struct BlockTransform {
  Real x = 0, y = 0;  // insert point
  Real rotation = 0;  // degrees
  Real xscale = 1, yscale = 1;
};

// The drawing layer's program-wide state (the session's drawing part).
struct DrawingState {
  DeviceCode device = DeviceCode::Screen;              // keeps its value between drawings
  std::string fileName;                                // output file of the current drawing
  std::array<DeviceFactory, kCadDeviceCount> devices;  // index = device code (0 unused)
  std::unique_ptr<DrawingDevice> out;                  // the open device, null between drawings
  DrawingOptions options;                              // those of the current (or last) drawing
  bool failed = false;  // the current drawing was stopped (a device failed, a block is missing)

  Real ox = 0, oy = 0;  // origin
  Real cx = 0, cy = 0;  // pen position
  int justifyH = 0;     // 0 left, 1 centre, 2 right
  int justifyV = 0;     // 0 bottom, 1 middle, 2 top
  TextAttributes text;  // height 5.0 at program start
  Real lineSpacing = 1.0;
  int layer = 0;
  std::string layerName = "0";
  Real x1 = 0, y1 = 0, x2 = 0, y2 = 0, width = 0, height = 0;  // drawing window
  DrawingKind kind = DrawingKind::Drawing;                     // a diagram once the diagram axes are drawn
  int lineStyle = 0;

  int blockLevel = 0;  // 0..4
  BlockTransform block;
  // Guard against block files that insert themselves many times per level: at most this many
  // entities are drawn per outermost Insert; the rest of the block is left out.
  size_t blockEntityLimit = 1000000;
  size_t blockEntities = 0;
};

// Installs the factory of one device code (not Ask); an empty one makes the code "not available".
void SetDeviceFactory(DrawingState& state, DeviceCode device, DeviceFactory factory);
// The screen device on code 3: it appends to the display list, which must outlive the state.
void InstallScreenDevice(DrawingState& state, DisplayList& display);
bool DeviceAvailable(const DrawingState& state, DeviceCode device);

// --- drawing sequence: Open -> Window -> Tables -> BeginEntities -> primitives -> EndEntities -> Finish.
// Every call below is a no-op while no device is open (the state setters still set the state).
// A later Open discards an unfinished drawing, so a caller that stops leaves no file behind.
// The questions (device, file name, plot command line) are asked by the output service before
// Open (graphics/output.h); the layer asks nothing and puts its messages into the sink.

// Starts a drawing on a device (not Ask) writing to path (see DeviceFactory). Resets origin, kind,
// justification, line spacing and line style. False, after the message, when the device is not
// available ("<entry> nicht verfügbar") or the file cannot be created there.
bool Open(DrawingState& s, Diagnostics& diag, DeviceCode device, const std::string& path,
          const DrawingOptions& options);
// Abandons an unfinished drawing (no file is left behind).
void Abandon(DrawingState& s);
// Declares the drawing's extent: device header (screen: Header); the current layer is applied to
// the new device; the frame (devices 3, 4 with "Umrandung": layer 19); the footer line on the screen
// (layer 30). Window, width and height are stored for the callers (s.x1 .. s.height).
void Window(DrawingState& s, Real x1, Real y1, Real x2, Real y2);
// DXF table section on the DXF and plot devices (more layers for a diagram).
void Tables(DrawingState& s, DrawingKind kind);
// Entities header, then the logo blocks "LOGO_2"/"LOGO_3" when present (devices 3 and 4 only).
void BeginEntities(DrawingState& s, Diagnostics& diag);
void EndEntities(DrawingState& s);
// Completes the drawing (or discards it when stop is set or the drawing failed) and closes the
// device; a device failure's message goes to diag. True when the drawing was completed. The
// screen's end also deletes every "$*.dx$" in the temp folder.
bool Finish(DrawingState& s, Diagnostics& diag, bool stop);

// --- primitives (world coordinates; the origin is added; non-finite values draw nothing).
void Line(DrawingState& s, Real x1, Real y1, Real x2, Real y2);
void Circle(DrawingState& s, Real x, Real y, Real r);
void Arc(DrawingState& s, Real x, Real y, Real start, Real end, Real r);  // nothing when r == 0
void Solid(DrawingState& s, Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
void MoveTo(DrawingState& s, Real x, Real y);
void LineTo(DrawingState& s, Real x, Real y);  // Line from the pen, which then moves
void Rectangle(DrawingState& s, Real x1, Real y1, Real x2, Real y2);
// Text (code page 850) justified by the current justification; empty text draws nothing.
void Text(DrawingState& s, const std::string& text, Real x, Real y);
// Text at the pen, then cy -= 1.6 * height * line spacing.
void TextLine(DrawingState& s, const std::string& text);

// --- state.
void SetTextJustify(DrawingState& s, int horizontal, int vertical);
void SetLineSpacing(DrawingState& s, Real factor);
void SetOrigin(DrawingState& s, Real ox, Real oy);
// height := height; width factor := configured CAD text width x (width/height, or 0.7 when
// width == 0); angle := angle; slant := configured CAD text angle.
void TextStyle(DrawingState& s, int font, Real angle, Real height, Real width);
// n > 31 becomes (n mod 16) + 16; negative n becomes 0.
void SetLayer(DrawingState& s, int n);
void SetLineStyle(DrawingState& s, int n);  // screen only
// Places block "name": screen draws "$name.dx$" from the temp folder (levels nest up to 4; a
// deeper one says "error blockno." + level and is left out; a missing file says "Invalid temp
// directory" and stops the drawing); the plot device writes an INSERT entity, the others ignore
// it. Block entities change layer and text style like any drawing call.
void Insert(DrawingState& s, Diagnostics& diag, const std::string& name, Real x, Real y, Real angle, Real xscale,
            Real yscale);

// --- helpers.
// Layer name on the file devices: 0 -> "0", 1..5 configured names, others their number.
std::string LayerName(const DrawingOptions& o, int n);
// Effective DXF colour of layer n: layer 0 -> 1; layers 1..5 and pens 16..31 from the
// configuration, values below 1 taking the defaults (2, 2, 2, 3, 1; pens 1..16); others (n mod 16) + 1.
int LayerColor(const DrawingOptions& o, int n);
// Screen line width of layer n in pixels: layers 1..5 configured (default 1, 1, 1, 2, 3), pens
// 16..31 their configured width when it lies in 2..50, every other layer 1.
int LayerWidth(const DrawingOptions& o, int n);
// Normalises a layer number (n > 31 -> (n mod 16) + 16, n < 0 -> 0).
int NormalizeLayer(int n);
// The footer text of a screen drawing: date, time, program and the input file's full name
// (native path; empty when there is no file).
std::string FooterText(const NumberSettings& num, const std::string& inputPath);
// Path of block file "$" + name + ".dx$" in the temp folder (with separator).
std::string BlockFilePath(const std::string& tempFolder, const std::string& name);
// Deletes every "$*.dx$" in the temp folder (also run when the program closes).
void DeleteBlockFiles(const std::string& tempFolder);
// The device dialog entry texts (code page 850); empty for Ask.
std::string DeviceEntry(DeviceCode device);
// The message of a failed write of path with the errno err, with the file and the reason:
// "Diskette/Platte voll: s.txt (No space left on device)".
std::string WriteFailureText(const std::string& path, int err);

}  // namespace velk
