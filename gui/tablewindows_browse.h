// The table browser window: a grid over the open table with navigator, search, sorting by a
// column title and the menu commands, all of which run through the request's controller.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "gui/windowenv.h"
#include "ui/uiservices.h"

namespace velk::gui {

// The browser over the request's open table. The grid reads fields, cells, deletion marks and
// the current record through the request's controller; without a controller it lists the
// request's rows by record number only and runs no commands.
std::optional<BrowseResult> RunBrowser(const WindowEnv& env, const BrowseRequest& request);

}  // namespace velk::gui
