// The device-independent drawing layer: one drawing at a time on one output device (DXF, IGES,
// screen, plot program, tab-separated file), with the state all devices share.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "base/numfmt.h"
#include "graphics/displaylist.h"

namespace velk {

struct OutputContext;

// Device codes ("CAD-Code").
constexpr int kCadAsk = 0;     // Open asks with the device dialog
constexpr int kCadDxf = 1;     // DXF file, extension "dxf"
constexpr int kCadIges = 2;    // IGES file, extension "igs"
constexpr int kCadScreen = 3;  // the graphics window's display list
constexpr int kCadPlot = 4;    // "plotrix.dxf" in the temp folder, then the plot program
constexpr int kCadTab = 5;     // tab-separated drawing file, extension "txt"
constexpr int kCadDeviceCount = 6;   // codes 0..5

// Text attributes in force when a text is routed to a device.
struct TextAttributes {
  Real height = 5.0;        // text height (world units)
  Real widthFactor = 0.7;   // character width factor
  Real angle = 0;           // text angle, degrees
  Real slant = 0;           // text slant, degrees (the configured CAD text angle)
};

// One output device. The layer applies origin, justification and the layer selection before it
// calls a device; coordinates arrive in final world units, angles in degrees counter-clockwise.
// Texts arrive in code page 850; each device converts as its format demands.
// A device that fails (write error) reports it itself, sets ws.abort and ignores further calls.
// The file devices write under a temporary name beside the target and only replace the target
// in finish(); discard() abandons the drawing and leaves no file (an older file stays as it was).
class DrawingDevice {
 public:
  virtual ~DrawingDevice() = default;

  // Window: the format's header (DXF HEADER, IGES start/global, tab extents, screen Header).
  virtual void window(OutputContext& ws, Real x1, Real y1, Real x2, Real y2) = 0;
  // Tables (kind 0 drawing, 2 diagram): the DXF table section; nothing on most devices.
  virtual void tables(OutputContext& ws, int kind) { (void)ws; (void)kind; }
  virtual void beginEntities(OutputContext& ws) { (void)ws; }
  virtual void endEntities(OutputContext& ws) { (void)ws; }
  // Completes the output (writes, renames over the target, starts the plot program...).
  virtual void finish(OutputContext& ws) = 0;
  // Abandons an unfinished drawing: no file is left behind. Called instead of finish when the
  // abort flag is set at Finish, and when a new Open replaces an unfinished drawing.
  virtual void discard(OutputContext& ws) { (void)ws; }

  // Layer n (0..31) was selected; name follows the naming rule (LayerName).
  virtual void layer(OutputContext& ws, int n, const std::string& name) { (void)ws; (void)n; (void)name; }
  // Screen only: window line style 0 solid, 1 dotted, 2 dash-dot, 3 dashed.
  virtual void lineStyle(OutputContext& ws, int n) { (void)ws; (void)n; }
  // TextStyle was called (the screen forwards it to the window's SetTextStyle).
  virtual void textStyle(OutputContext& ws, int font, Real angle, Real height, Real width) {
    (void)ws; (void)font; (void)angle; (void)height; (void)width;
  }

  virtual void line(OutputContext& ws, Real x1, Real y1, Real x2, Real y2) = 0;
  virtual void circle(OutputContext& ws, Real x, Real y, Real r) = 0;
  // Counter-clockwise arc about (x, y) from start to end degrees; r > 0. The IGES writer
  // derives start and end points (x + r cos start, y + r sin start) itself.
  virtual void arc(OutputContext& ws, Real x, Real y, Real start, Real end, Real r) = 0;
  // Corners in DXF order (the filled outline runs 1-2-4-3).
  virtual void solid(OutputContext& ws, Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4,
                     Real y4) = 0;
  // Text (non-empty, code page 850) at its justified, origin-shifted anchor.
  virtual void text(OutputContext& ws, const std::string& text, Real x, Real y, const TextAttributes& attr) = 0;
  // Block reference (DXF INSERT); only the plot device writes one, the screen draws blocks itself.
  virtual void insert(OutputContext& ws, const std::string& name, Real x, Real y, Real angle, Real xscale,
                      Real yscale) {
    (void)ws; (void)name; (void)x; (void)y; (void)angle; (void)xscale; (void)yscale;
  }
};

// How a device code becomes a device. Codes without a provider are "not available".
struct DeviceProvider {
  // Runs when the user picks this code in the device dialog (the plot program asks for its
  // command line here). May be empty. Cancel sets ws.abort.
  std::function<void(OutputContext&)> choose;
  // Creates the device for the output path (empty for the screen; for the plot device the
  // path of "plotrix.dxf" in the temp folder). Returns null after reporting a failure with
  // ws.abort set.
  std::function<std::unique_ptr<DrawingDevice>(OutputContext&, const std::string& path)> create;
};

// Block transform of the screen device's block reader.
struct BlockTransform {
  Real x = 0, y = 0;  // insert point
  Real rotation = 0;  // degrees
  Real xscale = 1, yscale = 1;
};

// The drawing layer's program-wide state (ws.drawing).
struct DrawingState {
  DrawingState();

  int device = kCadScreen;  // keeps its value between drawings
  std::string fileName;     // output file of the current drawing
  std::array<DeviceProvider, kCadDeviceCount> providers;  // index = device code (0 unused)
  std::unique_ptr<DrawingDevice> out;                     // the open device, null between drawings

  Real ox = 0, oy = 0;  // origin
  Real cx = 0, cy = 0;  // pen position
  int justifyH = 0;     // 0 left, 1 centre, 2 right
  int justifyV = 0;     // 0 bottom, 1 middle, 2 top
  TextAttributes text;  // height 5.0 at program start
  Real lineSpacing = 1.0;
  int layer = 0;
  std::string layerName = "0";
  Real x1 = 0, y1 = 0, x2 = 0, y2 = 0, width = 0, height = 0;  // drawing window
  int kind = 0;  // 0 drawing, 1 diagram (set by the diagram axes)
  int lineStyle = 0;

  int blockLevel = 0;  // 0..4
  BlockTransform block;
  // Guard against block files that insert themselves many times per level: at most this many
  // entities are drawn per outermost Insert; the rest of the block is left out.
  size_t blockEntityLimit = 1000000;
  size_t blockEntities = 0;
};

// A new drawing state has the screen on code 3; the file devices are installed with
// InstallStandardDevices (cad/devices.h). SetDeviceProvider replaces one (tests, other front ends).
void SetDeviceProvider(DrawingState& state, int device, DeviceProvider provider);

// --- drawing sequence: Open -> Window -> Tables -> BeginEntities -> primitives -> EndEntities -> Finish.
// Callers test ws.abort after Open and call nothing else when it is set. Every call below is a
// no-op while no device is open (the state setters still set the state). A later Open discards an
// unfinished drawing, so a caller that stops on the abort flag leaves no file behind.

// Starts a drawing on device (0 asks with the device dialog, "CAD-Code", help 2050). Resets
// origin, kind, justification, line spacing and line style. Files: batch mode names it after the
// input file with the device's extension, otherwise a save dialog (cancel: ws.abort). A device
// without a provider shows "<entry> nicht verfügbar" and sets ws.abort. defaultName is the proposed
// file name (empty: the input file's name).
void Open(OutputContext& ws, int device, const std::string& defaultName = "");
// Shows the device dialog and stores the choice in ws.drawing.device (cancel: ws.abort).
void DeviceDialog(OutputContext& ws);
// Declares the drawing's extent: device header (screen: Header); the current layer is applied to
// the new device; the frame (devices 3, 4 with "Umrandung": layer 19); the footer line on the screen
// (layer 30). Window, width and height are stored for the callers (ws.drawing.x1 .. height).
void Window(OutputContext& ws, Real x1, Real y1, Real x2, Real y2);
// DXF table section on devices 1 and 4 (kind 0 drawings, 2 diagrams).
void Tables(OutputContext& ws, int kind);
// Entities header, then the logo blocks "LOGO_2"/"LOGO_3" when present (devices 3 and 4 only).
void BeginEntities(OutputContext& ws);
void EndEntities(OutputContext& ws);
// Completes the drawing (or discards it when ws.abort is set) and closes the device. On the
// screen it also deletes every "$*.dx$" in the temp folder.
void Finish(OutputContext& ws);

// --- primitives (world coordinates; the origin is added; non-finite values draw nothing).
void Line(OutputContext& ws, Real x1, Real y1, Real x2, Real y2);
void Circle(OutputContext& ws, Real x, Real y, Real r);
void Arc(OutputContext& ws, Real x, Real y, Real start, Real end, Real r);  // nothing when r == 0
void Solid(OutputContext& ws, Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4);
void MoveTo(OutputContext& ws, Real x, Real y);
void LineTo(OutputContext& ws, Real x, Real y);  // Line from the pen, which then moves
void Rectangle(OutputContext& ws, Real x1, Real y1, Real x2, Real y2);
// Text (code page 850) justified by the current justification; empty text draws nothing.
void Text(OutputContext& ws, const std::string& text, Real x, Real y);
// Text at the pen, then cy -= 1.6 * height * line spacing.
void TextLine(OutputContext& ws, const std::string& text);

// --- state.
void SetTextJustify(OutputContext& ws, int horizontal, int vertical);
void SetLineSpacing(OutputContext& ws, Real factor);
void SetOrigin(OutputContext& ws, Real ox, Real oy);
// height := height; width factor := configured CAD text width x (width/height, or 0.7 when
// width == 0); angle := angle; slant := configured CAD text angle.
void TextStyle(OutputContext& ws, int font, Real angle, Real height, Real width);
// n > 31 becomes (n mod 16) + 16; negative n becomes 0.
void SetLayer(OutputContext& ws, int n);
void SetLineStyle(OutputContext& ws, int n);  // screen only
// Places block "name": screen draws "$name.dx$" from the temp folder (levels nest up to 4; a
// deeper one shows "error blockno." + level and is left out; a missing file shows "Invalid temp
// directory" and sets ws.abort); the plot device writes an INSERT entity, the others ignore it.
// Block entities change layer and text style like any drawing call.
void Insert(OutputContext& ws, const std::string& name, Real x, Real y, Real angle, Real xscale, Real yscale);

// --- helpers.
// Layer name on the file devices: 0 -> "0", 1..5 configured names, others their number.
std::string LayerName(const OutputContext& ws, int n);
// Effective DXF colour of layer n: layer 0 -> 1; layers 1..5 and pens 16..31 from the
// configuration, values below 1 taking the defaults (2, 2, 2, 3, 1; pens 1..16); others (n mod 16) + 1.
int LayerColor(const OutputContext& ws, int n);
// Screen line width of layer n in pixels: layers 1..5 configured (default 1, 1, 1, 2, 3), pens
// 16..31 their configured width when it lies in 2..50, every other layer 1.
int LayerWidth(const OutputContext& ws, int n);
// Normalises a layer number (n > 31 -> (n mod 16) + 16, n < 0 -> 0).
int NormalizeLayer(int n);
// The footer text of a screen drawing (date, time, program and the input file's full name).
std::string FooterText(const OutputContext& ws);
// Path of block file "$" + name + ".dx$" in the temp folder.
std::string BlockFilePath(const OutputContext& ws, const std::string& name);
// Deletes every "$*.dx$" in the temp folder (also run when the program closes).
void DeleteBlockFiles(OutputContext& ws);
// The screen device's file check: false, with the message <path> "nicht gefunden !" and the
// abort flag, when the file does not exist.
bool ScreenFileExists(OutputContext& ws, const std::string& path);
// The device dialog entry texts (code page 850), index = device code 1..5.
std::string DeviceEntry(int device);

}  // namespace velk
