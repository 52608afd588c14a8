// TavPropsMgr.ShareProps over the login properties of the processes.
#include "midtier/services/erp_services.h"
#include "midtier/services/login.h"

namespace midtier {

plat::Variant ShareProps::GetProperty(int32_t& processId, std::string& key) { return sharedProperty(processId, key); }

}  // namespace midtier
