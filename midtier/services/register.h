// Registers the middle tier's services with the object broker under their class names.
#pragma once

#include "midtier/services/login.h"
#include "platform/com/registry.h"

namespace midtier {

// Registers TavPropsMgr.ShareProps, TavEBSBase.SystemProfile, TavEBCGLView.GLData,
// TavEBSGLItem.ItemInfo, TavMStockRpt.Data, TavMShopRpt.Data, and the filter grid's
// TAV_GRFC.SchemeStore (replacing the grid's in-memory store, so call it after the grid's
// registration) and TAV_GRFC.LookupSource. Every creation makes a new object; what lasts
// between calls (connections, caches, the login) is kept by the middle tier itself.
void registerServices(plat::Registry& registry);

}  // namespace midtier
