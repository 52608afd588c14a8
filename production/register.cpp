#include "production/register.h"

#if __has_include("production/rpt400/rpt400.h")
#include "production/rpt400/rpt400.h"
#define TAV_HAVE_RPT400 1
#endif
#if __has_include("production/rpt401/rpt401.h")
#include "production/rpt401/rpt401.h"
#define TAV_HAVE_RPT401 1
#endif
#if __has_include("production/rpt410/rpt410.h")
#include "production/rpt410/rpt410.h"
#define TAV_HAVE_RPT410 1
#endif
#if __has_include("production/rpt406/rpt406.h")
#include "production/rpt406/rpt406.h"
#define TAV_HAVE_RPT406 1
#endif

namespace production {

void registerProductionReports(plat::Registry& registry) {
  (void)registry;
#ifdef TAV_HAVE_RPT400
  registry.Register("TavShopRpt.Rpt400", [] { return std::make_shared<Rpt400>(); });
#endif
#ifdef TAV_HAVE_RPT401
  registry.Register("TavShopRpt.Rpt401", [] { return std::make_shared<Rpt401>(); });
#endif
#ifdef TAV_HAVE_RPT410
  registry.Register("TavShopRpt.Rpt410", [] { return std::make_shared<Rpt410>(); });
#endif
#ifdef TAV_HAVE_RPT406
  registry.Register("TavShopRpt.Rpt406", [] { return std::make_shared<Rpt406>(); });
#endif
}

}  // namespace production
