// Compiled with the include folders of the calculation layer only: a header of the command layer
// above it must not be found.
#include "commands/menucommands.h"
