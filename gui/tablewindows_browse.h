// The table browser window: a grid over the open table with navigator, search, sorting by a
// column title and the menu commands, all of which run through the request's controller.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "dialogs/uiservices.h"
#include "gui/windowenv.h"

namespace velk::gui {

// What the grid reads of the open table besides the rows the controller lists: field titles,
// cell texts (code page 850), deletion marks, the record count and the table's current record
// (which search and sorting move, and from which search-next continues). Positions are 1-based.
// A controller that also implements this interface is read directly; otherwise the grid reads
// the table file at the request's path.
class BrowseGridSource {
 public:
  virtual ~BrowseGridSource() = default;
  virtual int fieldCount() = 0;
  virtual std::string fieldName(int pos) = 0;
  virtual char fieldType(int pos) = 0;  // 'C', 'N', 'F', 'L', 'D', 'M'
  virtual std::string cellText(std::uint32_t record, int pos) = 0;
  virtual bool isDeleted(std::uint32_t record) = 0;
  virtual std::uint32_t recordCount() = 0;
  virtual std::uint32_t currentRecord() = 0;
  virtual void setCurrentRecord(std::uint32_t record) = 0;
  // Called after every command and edit: the table may have changed underneath.
  virtual void reload() {}
};

// Reads the table file itself (read-only, reopened on reload), for a controller that offers no
// grid access. It cannot see where the core's search moved the current record, so the record
// it reports is the one the grid last set.
std::unique_ptr<BrowseGridSource> MakeFileGridSource(const std::string& path, std::uint32_t current);

// The browser over the given source; run(env, BrowseRequest) picks the source.
std::optional<BrowseResult> RunBrowser(const WindowEnv& env, const BrowseRequest& request, BrowseGridSource& source);

}  // namespace velk::gui
