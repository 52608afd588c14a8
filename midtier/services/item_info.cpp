// TavEBSGLItem.ItemInfo: the data-right restrictions of the users.
#include "midtier/services/database_errors.h"
#include "midtier/services/erp_services.h"

namespace midtier {

bool ItemInfo::GetDataRight(std::string& props, int16_t& userId, int16_t kind) {
  return withConnection("TavEBSGLItem.ItemInfo", props, [&](Connection& c, const Login&) {
    KeptStatement select =
        c.statement("SELECT FRestricted FROM t_DataRight WHERE FUserID = ?1 AND FKind = ?2");
    select->bindAll(userId, kind);
    return select->step() && select->getInt64(0) != 0;
  });
}

}  // namespace midtier
