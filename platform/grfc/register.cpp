// Registration of the grid and the in-memory scheme store.
#include "platform/grfc/register.h"

#include "platform/grfc/report_filter.h"
#include "platform/grfc/scheme_store.h"

namespace grfc {

void registerReportFilter(plat::Registry& registry) {
  registry.Register(kReportFilterClass, [] { return std::make_shared<ReportFilter>(); });
  auto store = std::make_shared<MemorySchemeStore>();
  registry.Register(kSchemeStoreClass, [store] { return store; });
}

}  // namespace grfc
