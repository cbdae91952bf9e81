// The 3D model of the spring: its cross-section swept along the centre line, written as a STEP
// file (AP214). OpenCASCADE stays inside this layer; callers see only these declarations.
#pragma once

#include <string>

#include "base/numfmt.h"
#include "platform/files.h"

namespace velk {

struct Spring;

// What became of a model. problem (code page 850, "3D-Modell nicht möglich: ...") says why no
// model could be made; ioError is the errno when the model was made but the file could not be
// written. Either way nothing was written and a previous file is untouched.
struct StepResult {
  std::string problem;
  int ioError = 0;
  bool written() const { return problem.empty() && ioError == 0; }
};

// The model in millimetres: the winding axis is the z axis, the centre line (CentreLine(s, phi))
// lies in the plane z = 0 and the section is centred on it: a strip b wide (along z) and t thick
// (across the centre line in the plane), or a round wire of diameter t (crossSection 2). It is
// one solid, checked before anything is written; a spiral of more than 1000 turns is refused. The product is named
// after the drawing (zeichname; the bare name of path when empty), its id and description are the drawing number.
StepResult WriteSpringStep(const Spring& s, Real phi, const std::string& path, const IoHooks& hooks = {});

}  // namespace velk
