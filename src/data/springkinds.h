// The spring's selectors by name. The record keeps the numbers its file holds (a file may hold any
// number, and the file is written back with the same one); these functions are the one place where
// the numbers become kinds and kinds become numbers again.
#pragma once

#include <cstdint>

#include "data/spring.h"

namespace velk {

// Cross-section: 1 flat strip, 2 round wire. Any other number is neither (no material table, no
// strength).
enum class CrossSection { Strip, Wire, Other };
// Form of an end: 1 clamped, 2 bent.
enum class EndKind { Clamped, Bent, Other };
// Application: 1 static, 2 dynamic.
enum class Application { Static, Dynamic, Other };
// Surface: 'N' not shot peened; any other letter ('J') shot peened.
enum class Surface { Plain, ShotPeened };
// Where the material values come from: 0 a table record, 11 a wire material just entered; any
// other number (1, the default) values typed in.
enum class MaterialSource { TableRecord, EnteredWire, Other };

CrossSection crossSectionOf(const Spring& s);
EndKind innerEndOf(const Spring& s);
EndKind outerEndOf(const Spring& s);
Application applicationOf(const Spring& s);
Surface surfaceOf(const Spring& s);
MaterialSource materialSourceOf(const Spring& s);

// The record's number of a kind; Other keeps the number the record holds.
void setMaterialSource(Spring& s, MaterialSource source);

}  // namespace velk
