// The spring as a solid: the centre line becomes edges of lines, arcs and B-splines; a strip is
// its planar outline raised by its width, a round wire its circle swept along the centre line;
// the solid goes to a STEP file through OpenCASCADE's writer. Built as the STEP plug-in
// (lib/velk/plugins/step.so), the only code of the program that links OpenCASCADE.
#include <APIHeaderSection_MakeHeader.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepGProp.hxx>
#include <BRepOffsetAPI_MakePipeShell.hxx>
#include <BRepPrimAPI_MakePrism.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <GC_MakeSegment.hxx>
#include <GProp_GProps.hxx>
#include <GeomAPI_Interpolate.hxx>
#include <Geom_BSplineCurve.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_PrinterOStream.hxx>
#include <STEPControl_Writer.hxx>
#include <Standard_Failure.hxx>
#include <StepBasic_Product.hxx>
#include <StepData_StepModel.hxx>
#include <TColgp_HArray1OfPnt.hxx>
#include <TCollection_HAsciiString.hxx>
#include <TopAbs_ShapeEnum.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Shape.hxx>
#include <TopoDS_Wire.hxx>
#include <cerrno>
#include <cmath>
#include <gp_Ax2.hxx>
#include <gp_Circ.hxx>
#include <gp_Dir.hxx>
#include <gp_Pnt.hxx>
#include <gp_Vec.hxx>
#include <string>
#include <string_view>
#include <vector>

#include "base/codepage.h"
#include "data/spring.h"
#include "draw/springpath.h"
#include "step/stepplugin.h"

namespace velk {

namespace {

constexpr std::string_view kPrefix = "3D-Modell nicht möglich: ";
constexpr int kMaxTurns = 1000;

std::string problem(const std::string& reason) { return oem(std::string(kPrefix) + reason); }

// CentreLine's reasons are worded for a drawing ("Zeichnung nicht möglich: ..."); the model says
// the same reason under its own heading.
std::string pathProblem(const std::string& drawingProblem) {
  const std::string head = oem("Zeichnung nicht möglich: ");
  if (drawingProblem.rfind(head, 0) == 0) return oem(std::string(kPrefix)) + drawingProblem.substr(head.size());
  return oem(std::string(kPrefix)) + drawingProblem;
}

gp_Pnt point(PathPoint p, double z = 0) { return gp_Pnt(static_cast<double>(p.x), static_cast<double>(p.y), z); }
gp_Vec vec(PathPoint d) { return gp_Vec(static_cast<double>(d.x), static_cast<double>(d.y), 0.0); }

// The point at u of a piece, moved by `side` to the left of the direction of travel, at height z.
gp_Pnt sidePoint(const PathPiece& p, Real u, Real side, double z) {
  const PathPoint c = PiecePoint(p, u);
  const PathPoint t = PieceTangent(p, u);
  return point({c.x - side * t.y, c.y + side * t.x}, z);
}

// The centre line moved by `side` to its left (0: the centre line itself) at height z, as edges
// from the inner tip to the outer tip: lines, arcs, and the spiral in pieces of at most half a
// turn, each a cubic B-spline through points every 15 degrees with the exact tangents at both
// ends. Neighbours meet in one point with the same tangent, and short curves keep the solid small
// and fast to build.
std::vector<TopoDS_Edge> sideEdges(const SpringPath& path, Real side, double z) {
  std::vector<TopoDS_Edge> edges;
  for (const PathPiece& p : path.pieces) {
    switch (p.kind) {
      case PathPiece::Kind::Line:
        if (point(p.from).Distance(point(p.to)) > 1e-7)
          edges.push_back(
              BRepBuilderAPI_MakeEdge(GC_MakeSegment(sidePoint(p, 0, side, z), sidePoint(p, 1, side, z)).Value())
                  .Edge());
        break;
      case PathPiece::Kind::Arc:
        edges.push_back(
            BRepBuilderAPI_MakeEdge(
                GC_MakeArcOfCircle(sidePoint(p, 0, side, z), sidePoint(p, 0.5L, side, z), sidePoint(p, 1, side, z))
                    .Value())
                .Edge());
        break;
      case PathPiece::Kind::Spiral: {
        constexpr Real kMaxSpan = 180;
        constexpr int kIntervals = 12;
        const auto parts = static_cast<long>(std::max<Real>(1, std::ceil(std::fabs(p.a1 - p.a0) / kMaxSpan - 1e-9L)));
        for (long k = 0; k < parts; ++k) {
          const Real u0 = static_cast<Real>(k) / static_cast<Real>(parts);
          const Real u1 = static_cast<Real>(k + 1) / static_cast<Real>(parts);
          Handle(TColgp_HArray1OfPnt) pts = new TColgp_HArray1OfPnt(1, kIntervals + 1);
          for (int i = 0; i <= kIntervals; ++i)
            pts->SetValue(i + 1, sidePoint(p, u0 + (u1 - u0) * static_cast<Real>(i) / kIntervals, side, z));
          GeomAPI_Interpolate interpolate(pts, Standard_False, 1e-9);
          interpolate.Load(vec(PieceTangent(p, u0)), vec(PieceTangent(p, u1)), Standard_True);
          interpolate.Perform();
          if (!interpolate.IsDone()) throw Standard_Failure("spiral interpolation");
          edges.push_back(BRepBuilderAPI_MakeEdge(interpolate.Curve()).Edge());
        }
        break;
      }
    }
  }
  return edges;
}

TopoDS_Wire wireOf(const std::vector<TopoDS_Edge>& edges) {
  BRepBuilderAPI_MakeWire wire;
  for (const TopoDS_Edge& e : edges) {
    wire.Add(e);
    if (!wire.IsDone()) throw Standard_Failure("outline not connected");
  }
  return wire.Wire();
}

// The strip: its outline in the plane z = -b/2 (both edges of the strip joined by the square
// ends) raised by b along the winding axis. A prism of a planar outline is exact and stays valid
// where a swept rectangle's faces would only approximate the plane.
TopoDS_Shape stripSolid(const Spring& s, const SpringPath& path) {
  const Real half = s.t / 2;
  const double z = -static_cast<double>(s.b) / 2;
  const std::vector<TopoDS_Edge> left = sideEdges(path, half, z);
  const std::vector<TopoDS_Edge> right = sideEdges(path, -half, z);
  const PathPiece& first = path.pieces.front();
  const PathPiece& last = path.pieces.back();
  std::vector<TopoDS_Edge> outline = left;
  outline.push_back(BRepBuilderAPI_MakeEdge(sidePoint(last, 1, half, z), sidePoint(last, 1, -half, z)).Edge());
  for (auto e = right.rbegin(); e != right.rend(); ++e) outline.push_back(TopoDS::Edge(e->Reversed()));
  outline.push_back(BRepBuilderAPI_MakeEdge(sidePoint(first, 0, -half, z), sidePoint(first, 0, half, z)).Edge());
  BRepBuilderAPI_MakeFace face(wireOf(outline), Standard_True);
  if (!face.IsDone()) throw Standard_Failure("outline");
  BRepPrimAPI_MakePrism prism(face.Face(), gp_Vec(0, 0, static_cast<double>(s.b)));
  prism.Build();
  if (!prism.IsDone()) throw Standard_Failure("prism");
  return prism.Shape();
}

// The round wire: its circle, square to the start of the centre line, swept along the centre
// line with its orientation held to the winding axis (a planar path with straight pieces has no
// Frenet frame everywhere).
TopoDS_Shape wireSolid(const Spring& s, const SpringPath& path) {
  BRepOffsetAPI_MakePipeShell pipe(wireOf(sideEdges(path, 0, 0)));
  pipe.SetMode(gp_Dir(0, 0, 1));
  const PathPiece& first = path.pieces.front();
  const PathPoint t = PieceTangent(first, 0);
  const gp_Dir across(-static_cast<double>(t.y), static_cast<double>(t.x), 0.0);
  const gp_Circ circle(gp_Ax2(point(first.from), gp_Dir(vec(t)), across), static_cast<double>(s.t) / 2);
  pipe.Add(BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(circle).Edge()).Wire(), Standard_False, Standard_False);
  pipe.Build();
  if (!pipe.IsDone() || !pipe.MakeSolid()) throw Standard_Failure("sweep");
  return pipe.Shape();
}

// The solid, or a null shape with the reason.
TopoDS_Shape springSolid(const Spring& s, const SpringPath& path, std::string& why) {
  try {
    TopoDS_Shape solid = s.crossSection == 2 ? wireSolid(s, path) : stripSolid(s, path);
    if (solid.IsNull() || solid.ShapeType() != TopAbs_SOLID || !BRepCheck_Analyzer(solid).IsValid()) {
      why = problem("Körper fehlerhaft !");
      return {};
    }
    GProp_GProps props;
    BRepGProp::VolumeProperties(solid, props);
    if (!std::isfinite(props.Mass()) || props.Mass() == 0) {
      why = problem("Körper fehlerhaft !");
      return {};
    }
    if (props.Mass() < 0) solid.Reverse();  // material on the inside
    return solid;
  } catch (const Standard_Failure&) {
    why = problem("Sweep fehlgeschlagen !");
    return {};
  }
}

// A text of the product data in printable ASCII: the writer doubles apostrophes and backslashes
// but has no encoding of its own for other characters, so the German letters are spelled out
// ("Größe" -> "Groesse") and any other character becomes "?".
Handle(TCollection_HAsciiString) stepText(const std::string& cp850) {
  std::string out;
  for (const char ch : cp850) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x20 && c < 0x7F) {
      out += ch;
      continue;
    }
    switch (c) {
      case 0x84:
        out += "ae";
        break;  // ä
      case 0x94:
        out += "oe";
        break;  // ö
      case 0x81:
        out += "ue";
        break;  // ü
      case 0x8E:
        out += "Ae";
        break;  // Ä
      case 0x99:
        out += "Oe";
        break;  // Ö
      case 0x9A:
        out += "Ue";
        break;  // Ü
      case 0xE1:
        out += "ss";
        break;  // ß
      case 0xF8:
        out += "deg";
        break;  // °
      default:
        out += c < 0x20 || c == 0x7F ? ' ' : '?';
    }
  }
  return new TCollection_HAsciiString(out.c_str());
}

// OpenCASCADE reports its steps to standard output; the program's batch output is its own.
void quietOpenCascade() {
  static const bool quiet = [] {
    Message::DefaultMessenger()->RemovePrinters(STANDARD_TYPE(Message_PrinterOStream));
    return true;
  }();
  (void)quiet;
}

StepResult writeModel(const Spring& s, Real phi, const std::string& path, const IoHooks& hooks) {
  StepResult result;
  const SpringPath centre = CentreLine(s, phi);
  if (!centre.problem.empty() || centre.pieces.empty()) {
    result.problem = centre.problem.empty() ? problem("Abmessungen ungültig !") : pathProblem(centre.problem);
    return result;
  }
  if (s.crossSection != 2 && !(s.b > 0)) {
    result.problem = problem("b <= 0 !");
    return result;
  }
  // A bend tighter than half the thickness would turn the inside of the section over itself.
  if ((centre.innerBent && !(s.rbi > s.t / 2)) || (centre.outerBent && !(s.rbe > s.t / 2))) {
    result.problem = problem("Abbiegeradius <= t/2 !");
    return result;
  }
  // Every half turn is a few faces: a model of more turns than any spring has would only fill
  // the memory (a file may hold any number).
  for (const PathPiece& p : centre.pieces)
    if (p.kind == PathPiece::Kind::Spiral && std::fabs(p.a1 - p.a0) > 360 * kMaxTurns) {
      result.problem = problem("mehr als " + std::to_string(kMaxTurns) + " Windungen !");
      return result;
    }
  quietOpenCascade();
  const TopoDS_Shape solid = springSolid(s, centre, result.problem);
  if (solid.IsNull()) return result;

  try {
    STEPControl_Writer writer;
    Interface_Static::SetCVal("write.step.schema", "AP214IS");
    Interface_Static::SetCVal("write.step.unit", "MM");
    Interface_Static::SetIVal("write.precision.mode", 0);
    const std::string name = s.zeichname.empty() ? oem(lastComponent(stripExtension(path))) : s.zeichname;
    if (writer.Transfer(solid, STEPControl_AsIs) != IFSelect_RetDone) {
      result.problem = problem("STEP-Übertragung fehlgeschlagen !");
      return result;
    }
    const Handle(StepData_StepModel) model = writer.Model();
    for (Standard_Integer i = 1; i <= model->NbEntities(); ++i) {
      const Handle(StepBasic_Product) product = Handle(StepBasic_Product)::DownCast(model->Value(i));
      if (product.IsNull()) continue;
      product->SetName(stepText(name));
      product->SetId(stepText(s.zeichnr.empty() ? name : s.zeichnr));
      product->SetDescription(stepText(s.zeichnr));
    }
    APIHeaderSection_MakeHeader header(model);
    header.SetName(stepText(oem(lastComponent(path))));
    header.SetOriginatingSystem(new TCollection_HAsciiString("VELK"));
    header.SetDescriptionValue(1, stepText(name));

    const int e = atomicWriteFileWith(
        path,
        [&writer](const std::string& temp) {
          try {
            return writer.Write(temp.c_str()) == IFSelect_RetDone ? 0 : EIO;
          } catch (const Standard_Failure&) {
            return EIO;
          }
        },
        hooks);
    result.ioError = e;
  } catch (const Standard_Failure&) {
    result.problem = problem("STEP-Übertragung fehlgeschlagen !");
  }
  return result;
}

}  // namespace

}  // namespace velk

extern "C" __attribute__((visibility("default"))) const void* velk_step_plugin() {
  static const velk::StepPlugin table = velk::stepPluginTable(&velk::writeModel);
  return &table;
}
