#include "cost/register.h"

#if __has_include("cost/rpt499/rpt499.h")
#include "cost/rpt499/rpt499.h"
#define TAV_HAVE_RPT499 1
#endif
#if __has_include("cost/rpt498/rpt498.h")
#include "cost/rpt498/rpt498.h"
#define TAV_HAVE_RPT498 1
#endif

namespace cost {

void registerCostReports(plat::Registry& registry) {
  (void)registry;
#ifdef TAV_HAVE_RPT499
  registry.Register("TavShopRpt.Rpt499", [] { return std::make_shared<Rpt499>(); });
#endif
#ifdef TAV_HAVE_RPT498
  registry.Register("TavShopRpt.Rpt498", [] { return std::make_shared<Rpt498>(); });
#endif
}

}  // namespace cost
