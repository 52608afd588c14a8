// Registers the product cost reports with the object broker ("TavShopRpt.Rpt499", ...).
#pragma once

#include "platform/com/registry.h"

namespace cost {

void registerCostReports(plat::Registry& registry);

}  // namespace cost
