// TavEBCGLView.GLData: the usage log and the access check.
#include "midtier/services/database_errors.h"
#include "midtier/services/erp_services.h"
#include "midtier/services/login.h"

namespace midtier {
namespace {

constexpr std::string_view kSource = "TavEBCGLView.GLData";

}  // namespace

void GLData::WriteLog(std::string& logId, int16_t& type, std::string& text) {
  withConnection(kSource, loginProps(kSource), [&](Connection& c, const Login& login) {
    KeptStatement insert = c.statement(
        "INSERT INTO t_Log (FTime, FUserID, FLogID, FType, FText) "
        "VALUES (datetime('now', 'localtime'), ?1, ?2, ?3, ?4)");
    insert->bindAll(login.userId, logId, type, text);
    insert->run();  // one statement: written whole or not at all
  });
}

plat::Variant GLData::AccessCheck(int16_t&, int16_t&, int16_t&) { return true; }

}  // namespace midtier
