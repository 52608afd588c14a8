// The one place where the middle tier's classes are registered by name.
#include "midtier/services/register.h"

#include <memory>

#include "frame/services/class_names.h"
#include "midtier/services/erp_services.h"
#include "midtier/services/grid_services.h"
#include "midtier/services/list_control.h"
#include "midtier/services/shop_data.h"

namespace midtier {
namespace {

template <class T>
void add(plat::Registry& registry, std::string_view className) {
  registry.Register(className, [] { return std::make_shared<T>(); });
}

}  // namespace

void registerServices(plat::Registry& registry) {
  add<ShareProps>(registry, svc::kShareProps);
  add<SystemProfile>(registry, svc::kSystemProfile);
  add<GLData>(registry, svc::kGLData);
  add<ItemInfo>(registry, svc::kItemInfo);
  add<StockRptData>(registry, svc::kStockRptData);
  add<ShopData>(registry, svc::kShopRptData);
  add<ICList>(registry, svc::kListControl);
  add<SchemeStore>(registry, grfc::kSchemeStoreClass);
  add<LookupSource>(registry, grfc::kLookupSourceClass);
}

}  // namespace midtier
