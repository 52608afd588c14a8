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
    c.run("INSERT INTO t_Log (FTime, FUserID, FLogID, FType, FText) VALUES (" + c.forms().now() + ", ?1, ?2, ?3, ?4)",
          {int64_t{login.userId}, logId, int64_t{type}, text});  // one statement: written whole or not at all
  });
}

plat::Variant GLData::AccessCheck(int16_t&, int16_t&, int16_t&) { return true; }

}  // namespace midtier
