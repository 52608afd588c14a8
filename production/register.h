// Registers the production task reports with the object broker ("TavShopRpt.Rpt400", ...).
#pragma once

#include "platform/com/registry.h"

namespace production {

void registerProductionReports(plat::Registry& registry);

}  // namespace production
