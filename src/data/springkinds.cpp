// The selectors' numbers and letters as kinds, and back.
#include "data/springkinds.h"

namespace velk {

namespace {

EndKind endKind(uint16_t n) {
  switch (n) {
    case 1:
      return EndKind::Clamped;
    case 2:
      return EndKind::Bent;
    default:
      return EndKind::Other;
  }
}

}  // namespace

CrossSection crossSectionOf(const Spring& s) {
  switch (s.crossSection) {
    case 1:
      return CrossSection::Strip;
    case 2:
      return CrossSection::Wire;
    default:
      return CrossSection::Other;
  }
}

EndKind innerEndOf(const Spring& s) { return endKind(s.formi); }
EndKind outerEndOf(const Spring& s) { return endKind(s.forme); }

Application applicationOf(const Spring& s) {
  switch (s.statdyn) {
    case 1:
      return Application::Static;
    case 2:
      return Application::Dynamic;
    default:
      return Application::Other;
  }
}

Surface surfaceOf(const Spring& s) { return s.kugelstrahlen == 'N' ? Surface::Plain : Surface::ShotPeened; }

MaterialSource materialSourceOf(const Spring& s) {
  switch (s.matSource) {
    case 0:
      return MaterialSource::TableRecord;
    case 11:
      return MaterialSource::EnteredWire;
    default:
      return MaterialSource::Other;
  }
}

void setMaterialSource(Spring& s, MaterialSource source) {
  switch (source) {
    case MaterialSource::TableRecord:
      s.matSource = 0;
      return;
    case MaterialSource::EnteredWire:
      s.matSource = 11;
      return;
    case MaterialSource::Other:
      return;
  }
}

}  // namespace velk
