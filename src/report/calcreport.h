// The calculation report: the standard output (every input and result value in titled sections,
// the lifetime section and the messages) and the one-page excerpt, both through the report writer.
#pragma once

#include "report/context.h"

namespace velk {

// Both layouts start alike: the header block from the spring's texts; when the calculation
// ended fatally the message window is shown instead of a report; otherwise the report opens on
// the configured device (asked for when so configured) with the proposed name fileName + ".TXT".
// Each stops without further output as soon as ws.abort is set.
void WriteStandardReport(ReportContext& ws);
void WriteExcerptReport(ReportContext& ws);

// The lifetime rows of a dynamically loaded spring (only when statdyn = 2 and strokePerm > 0):
// load cycles in millions, lifetimes in hours at the spring's frequency. A frequency of 0 or
// less has no lifetime in hours, so those rows are left out.
void WriteLifetimeSection(ReportContext& ws);

}  // namespace velk
