// Inputs of the spring record set by name from the command line (/SET:name=value), for
// parameter studies: the names are the keys the /JSON job writes for these inputs.
#pragma once

#include <string>
#include <vector>

#include "data/spring.h"

namespace velk {

// Sets the input called name to value (UTF-8). Numbers take "." or "," as the decimal
// separator, texts are stored in code page 850 and cut to their field length, selectors take
// their number. Returns an empty text on success, else what is wrong (UTF-8, naming the input
// and, for an unknown name, listing the valid ones); the spring is then unchanged.
std::string applySpringSetting(Spring& s, const std::string& name, const std::string& value);

// The names /SET accepts, in the order of the input file. The title line is not among them: the
// calculation composes it from the drawing name and number.
std::vector<std::string> springSettingNames();

}  // namespace velk
