// TAV_GRFC.SchemeStore over t_RptFilterScheme, per report and login user.
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
    auto select = c.query("SELECT FName FROM t_RptFilterScheme WHERE FRptID = ?1 AND FUserID = ?2 ORDER BY " +
                              c.forms().caselessOrder("FName") + ", FName " + std::string(c.forms().binary()),
                          {int64_t{rptId}, int64_t{user}});
    std::vector<std::string> names;
    while (select->next()) names.emplace_back(select->text(0));
    return names;
  });
}

lumo::DictionaryRef SchemeStore::Load(int32_t rptId, std::string_view name) {
  std::optional<std::string> content = forLogin([&](Connection& c, int32_t user) -> std::optional<std::string> {
    auto select = c.query("SELECT FContent FROM t_RptFilterScheme WHERE FRptID = ?1 AND FUserID = ?2 AND FName = ?3 " +
                              std::string(c.forms().caseless()),
                          {int64_t{rptId}, int64_t{user}, std::string(name)});
    if (!select->next()) return std::nullopt;
    return std::string(select->text(0));
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
    const SqlForms& forms = c.forms();
    dbi::Transaction transaction(c.session());
    // Two clients saving one name at once must update one row, not both add it: SQLite's
    // UPDATE takes the database's write lock; a server is asked for a lock on the user's schemes.
    if (const std::string lock = forms.exclusiveLock(); !lock.empty())
      c.run(lock, {int64_t{rptId}, int64_t{user}});
    const int64_t changed = c.run("UPDATE t_RptFilterScheme SET FName = ?4, FContent = ?5, FModifyTime = " +
                                      forms.now() + " WHERE FRptID = ?1 AND FUserID = ?2 AND FName = ?3 " +
                                      std::string(forms.caseless()),
                                  {int64_t{rptId}, int64_t{user}, std::string(name), std::string(name), content});
    if (changed == 0)
      c.run("INSERT INTO t_RptFilterScheme (FRptID, FUserID, FName, FIsDefault, FContent, FModifyTime) "
            "VALUES (?1, ?2, ?3, 0, ?4, " + forms.now() + ")",
            {int64_t{rptId}, int64_t{user}, std::string(name), content});
    transaction.commit();
  });
}

void SchemeStore::Remove(int32_t rptId, std::string_view name) {
  forLogin([&](Connection& c, int32_t user) {
    c.run("DELETE FROM t_RptFilterScheme WHERE FRptID = ?1 AND FUserID = ?2 AND FName = ?3 " +
              std::string(c.forms().caseless()),
          {int64_t{rptId}, int64_t{user}, std::string(name)});
  });
}

std::string SchemeStore::LastUsed(int32_t rptId) {
  return forLogin([&](Connection& c, int32_t user) {
    auto select = c.query(
        "SELECT FName FROM t_RptFilterScheme WHERE FRptID = ?1 AND FUserID = ?2 AND FIsDefault <> 0 "
        "ORDER BY FModifyTime DESC LIMIT 1",
        {int64_t{rptId}, int64_t{user}});
    return select->next() ? std::string(select->text(0)) : std::string();
  });
}

void SchemeStore::SetLastUsed(int32_t rptId, std::string_view name) {
  forLogin([&](Connection& c, int32_t user) {
    dbi::Transaction transaction(c.session());
    c.run("UPDATE t_RptFilterScheme SET FIsDefault = 0 WHERE FRptID = ?1 AND FUserID = ?2 AND FIsDefault <> 0",
          {int64_t{rptId}, int64_t{user}});
    if (!name.empty()) {
      const int64_t marked = c.run("UPDATE t_RptFilterScheme SET FIsDefault = 1 WHERE FRptID = ?1 AND FUserID = ?2 AND FName = ?3 " +
                                       std::string(c.forms().caseless()),
                                   {int64_t{rptId}, int64_t{user}, std::string(name)});
      if (marked == 0)
        throw plat::Error::notFound(std::string(kSource), schemeLabel(rptId, name) + "不存在，不能设为上次使用的方案。");
    }
    transaction.commit();
  });
}

}  // namespace midtier
