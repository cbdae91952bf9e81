// The calculation report: the standard output (every input and result value in titled sections,
// the lifetime section and the messages) and the one-page excerpt, both through the report writer.
#pragma once

#include "config/settings.h"
#include "data/document.h"
#include "report/reportstate.h"

namespace velk {

// The header block of both layouts, from the spring's texts.
void SetCalcReportHeader(ReportState& r, const Spring& s);

// The pages of each layout on the open report, from the first page header to the end of the
// last page (the caller closes the report). False when the report failed on the way; nothing
// further is then written.
bool WriteStandardReportPages(ReportState& r, const Document& doc, const Settings& settings);
bool WriteExcerptReportPages(ReportState& r, const Document& doc, const Settings& settings);

// The lifetime rows of a dynamically loaded spring (only when statdyn = 2 and strokePerm > 0):
// load cycles in millions, lifetimes in hours at the spring's frequency. A frequency of 0 or
// less has no lifetime in hours, so those rows are left out.
void WriteLifetimeSection(ReportState& r, const Document& doc, const Settings& settings);

}  // namespace velk
