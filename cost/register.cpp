#include "cost/register.h"

#include "cost/rpt498/rpt498.h"
#include "cost/rpt499/rpt499.h"

namespace cost {

void registerCostReports(plat::Registry& registry) {
  registry.Register("TavShopRpt.Rpt499", [] { return std::make_shared<Rpt499>(); });
  registry.Register("TavShopRpt.Rpt498", [] { return std::make_shared<Rpt498>(); });
}

}  // namespace cost
