#include "production/register.h"

#include "production/rpt400/rpt400.h"
#include "production/rpt401/rpt401.h"
#include "production/rpt406/rpt406.h"
#include "production/rpt410/rpt410.h"

namespace production {

void registerProductionReports(plat::Registry& registry) {
  registry.Register("TavShopRpt.Rpt400", [] { return std::make_shared<Rpt400>(); });
  registry.Register("TavShopRpt.Rpt401", [] { return std::make_shared<Rpt401>(); });
  registry.Register("TavShopRpt.Rpt410", [] { return std::make_shared<Rpt410>(); });
  registry.Register("TavShopRpt.Rpt406", [] { return std::make_shared<Rpt406>(); });
}

}  // namespace production
