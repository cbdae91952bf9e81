// Reads a STEP file back with OpenCASCADE for the tests of the 3D model: what it holds, whether
// it is valid, its volume and extent.
#pragma once

#include <BRepBndLib.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepGProp.hxx>
#include <Bnd_Box.hxx>
#include <GProp_GProps.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <STEPControl_Reader.hxx>
#include <TopAbs_ShapeEnum.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS_Shape.hxx>
#include <string>

namespace velk::test {

// What OpenCASCADE finds in a STEP file.
struct ReadBack {
  bool read = false;
  int solids = 0;
  bool valid = false;
  double volume = 0;
  double zMin = 0, zMax = 0, xMax = 0;
};

inline ReadBack readStep(const std::string& path) {
  ReadBack r;
  STEPControl_Reader reader;
  if (reader.ReadFile(path.c_str()) != IFSelect_RetDone) return r;
  reader.TransferRoots();
  const TopoDS_Shape shape = reader.OneShape();
  if (shape.IsNull()) return r;
  r.read = true;
  for (TopExp_Explorer e(shape, TopAbs_SOLID); e.More(); e.Next()) ++r.solids;
  r.valid = BRepCheck_Analyzer(shape).IsValid();
  GProp_GProps props;
  BRepGProp::VolumeProperties(shape, props);
  r.volume = props.Mass();
  Bnd_Box box;
  BRepBndLib::AddOptimal(shape, box, Standard_False, Standard_False);
  double x0, y0, x1, y1;
  box.Get(x0, y0, r.zMin, x1, y1, r.zMax);
  r.xMax = x1;
  return r;
}

}  // namespace velk::test
