// TAV_GRFC.SchemeStore over t_RptFilterScheme, per report and login user.
#include "midtier/db/transaction.h"
#include "midtier/services/database_errors.h"
#include "midtier/services/grid_services.h"
#include "midtier/services/login.h"
#include "platform/grfc/scheme_codec.h"

namespace midtier {
namespace {

constexpr std::string_view kSource = "TAV_GRFC.SchemeStore";

// Runs `work(connection, userId)` on the database of the process's login.
template <class Work>
decltype(auto) forLogin(Work&& work) {
  return withConnection(kSource, loginProps(kSource),
                        [&](Connection& c, const Login& login) { return work(c, login.userId); });
}

std::string schemeLabel(int32_t rptId, std::string_view name) {
  return "报表 " + std::to_string(rptId) + " 的过滤方案“" + std::string(name) + "”";
}

}  // namespace

std::vector<std::string> SchemeStore::List(int32_t rptId) {
  return forLogin([&](Connection& c, int32_t user) {
    KeptStatement select = c.statement(
        "SELECT FName FROM t_RptFilterScheme WHERE FRptID = ?1 AND FUserID = ?2 "
        "ORDER BY FName COLLATE NOCASE, FName");
    select->bindAll(rptId, user);
    std::vector<std::string> names;
    while (select->step()) names.push_back(select->getText(0));
    return names;
  });
}

lumo::DictionaryRef SchemeStore::Load(int32_t rptId, std::string_view name) {
  std::optional<std::string> content = forLogin([&](Connection& c, int32_t user) -> std::optional<std::string> {
    KeptStatement select = c.statement(
        "SELECT FContent FROM t_RptFilterScheme WHERE FRptID = ?1 AND FUserID = ?2 AND FName = ?3 COLLATE NOCASE");
    select->bindAll(rptId, user, name);
    if (!select->step()) return std::nullopt;
    return select->getText(0);
  });
  if (!content) return nullptr;
  try {
    return grfc::decodeFilter(*content);
  } catch (const plat::Error& e) {
    throw plat::Error(e.number(), std::string(kSource),
                      schemeLabel(rptId, name) + "已损坏，无法读取（" + e.description() + "）。");
  }
}

void SchemeStore::Save(int32_t rptId, std::string_view name, const lumo::Dictionary& filter) {
  if (plat::trim(name).empty()) throw refusal(kSource, "过滤方案需要一个名称。");
  const std::string content = grfc::encodeFilter(filter);  // refuses unsavable values before any write
  forLogin([&](Connection& c, int32_t user) {
    db::Transaction transaction(c.database());
    {
      KeptStatement update = c.statement(
          "UPDATE t_RptFilterScheme SET FName = ?4, FContent = ?5, FModifyTime = datetime('now', 'localtime') "
          "WHERE FRptID = ?1 AND FUserID = ?2 AND FName = ?3 COLLATE NOCASE");
      update->bindAll(rptId, user, name, name, content);
      update->run();
    }
    if (c.database().changes() == 0) {
      KeptStatement insert = c.statement(
          "INSERT INTO t_RptFilterScheme (FRptID, FUserID, FName, FIsDefault, FContent, FModifyTime) "
          "VALUES (?1, ?2, ?3, 0, ?4, datetime('now', 'localtime'))");
      insert->bindAll(rptId, user, name, content);
      insert->run();
    }
    transaction.commit();
  });
}

void SchemeStore::Remove(int32_t rptId, std::string_view name) {
  forLogin([&](Connection& c, int32_t user) {
    KeptStatement remove = c.statement(
        "DELETE FROM t_RptFilterScheme WHERE FRptID = ?1 AND FUserID = ?2 AND FName = ?3 COLLATE NOCASE");
    remove->bindAll(rptId, user, name);
    remove->run();
  });
}

std::string SchemeStore::LastUsed(int32_t rptId) {
  return forLogin([&](Connection& c, int32_t user) {
    KeptStatement select = c.statement(
        "SELECT FName FROM t_RptFilterScheme WHERE FRptID = ?1 AND FUserID = ?2 AND FIsDefault <> 0 "
        "ORDER BY FModifyTime DESC LIMIT 1");
    select->bindAll(rptId, user);
    return select->step() ? select->getText(0) : std::string();
  });
}

void SchemeStore::SetLastUsed(int32_t rptId, std::string_view name) {
  forLogin([&](Connection& c, int32_t user) {
    db::Transaction transaction(c.database());
    {
      KeptStatement clear = c.statement(
          "UPDATE t_RptFilterScheme SET FIsDefault = 0 WHERE FRptID = ?1 AND FUserID = ?2 AND FIsDefault <> 0");
      clear->bindAll(rptId, user);
      clear->run();
    }
    if (!name.empty()) {
      KeptStatement mark = c.statement(
          "UPDATE t_RptFilterScheme SET FIsDefault = 1 WHERE FRptID = ?1 AND FUserID = ?2 AND FName = ?3 COLLATE NOCASE");
      mark->bindAll(rptId, user, name);
      mark->run();
      if (c.database().changes() == 0)
        throw plat::Error::notFound(std::string(kSource), schemeLabel(rptId, name) + "不存在，不能设为上次使用的方案。");
    }
    transaction.commit();
  });
}

}  // namespace midtier
