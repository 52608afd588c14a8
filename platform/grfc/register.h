// Registers the report filter grid and the in-memory scheme store with a class registry.
#pragma once

#include "platform/com/registry.h"

namespace grfc {

// Registers "TAV_GRFC.ReportFilter" (a new grid per creation) and "TAV_GRFC.SchemeStore" (one
// new in-memory store shared by every creation). No lookup source is registered here.
void registerReportFilter(plat::Registry& registry);

}  // namespace grfc
