// TavEBSGLItem.ItemInfo: the data-right restrictions of the users.
#include "midtier/services/database_errors.h"
#include "midtier/services/erp_services.h"

namespace midtier {

bool ItemInfo::GetDataRight(std::string& props, int16_t& userId, int16_t kind) {
  return withConnection("TavEBSGLItem.ItemInfo", props, [&](Connection& c, const Login&) {
    auto select = c.query("SELECT FRestricted FROM t_DataRight WHERE FUserID = ?1 AND FKind = ?2",
                          {int64_t{userId}, int64_t{kind}});
    return select->next() && select->number(0) != 0;
  });
}

}  // namespace midtier
