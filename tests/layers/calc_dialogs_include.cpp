// Compiled with the include folders of the calculation layer only: the user-interface services
// (and the tables above them) must not be found; the calculation asks nothing.
#include "dialogs/dialogs.h"
