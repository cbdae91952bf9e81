// Compiled with the include folders of the calculation layer only: its own headers and those of
// the layers below it are found.
#include "base/numfmt.h"
#include "calc/calculate.h"
#include "data/spring.h"
