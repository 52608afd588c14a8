// The document journal's settings: the login in "BaseInfo", the bill-number filter in "Filter".
#include "midtier/services/list_control_settings.h"

#include "midtier/db/sqlite_error.h"
#include "midtier/services/database_errors.h"
#include "platform/core/variant.h"
#include "platform/lumo/dictionary.h"

namespace midtier {

ListLogin parseBaseInfo(const std::string& baseInfo) {
  const size_t first = baseInfo.find('|');
  const size_t second = first == std::string::npos ? std::string::npos : baseInfo.find('|', first + 1);
  if (second == std::string::npos)
    throw refusal(kListControlSource, "序时簿的基础信息应为“数据库|用户号|用户名”，而不是“" + baseInfo + "”。");
  ListLogin login;
  login.dbFile = baseInfo.substr(0, first);
  const plat::Variant user(plat::trim(baseInfo.substr(first + 1, second - first - 1)));
  login.userName = baseInfo.substr(second + 1);
  if (plat::trim(login.dbFile).empty())
    throw refusal(kListControlSource, "序时簿的基础信息中没有数据库：“" + baseInfo + "”。");
  if (!user.isNumeric())
    throw refusal(kListControlSource, "序时簿的基础信息中没有有效的用户号：“" + baseInfo + "”。");
  login.userId = user.toInt32();
  return login;
}

namespace {

bool isBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

// Consumes `word` (Latin letters in either case) at `at`; false when it is not there.
bool takeWord(std::string_view text, size_t& at, std::string_view word) {
  if (text.size() - at < word.size() || lumo::foldCase(text.substr(at, word.size())) != lumo::foldCase(word)) return false;
  at += word.size();
  return true;
}

// Consumes one or more blanks; false when there is none.
bool takeBlanks(std::string_view text, size_t& at) {
  const size_t from = at;
  while (at < text.size() && isBlank(text[at])) ++at;
  return at > from;
}

}  // namespace

std::vector<std::string> parseJournalFilter(const std::string& filter) {
  if (plat::trim(filter).empty()) return {};
  const std::string_view text(filter);
  // "FBillNo Like '%" <typed text> "%'", blanks around; the typed text runs to the last "%'".
  size_t at = 0;
  takeBlanks(text, at);
  size_t end = text.size();
  while (end > at && isBlank(text[end - 1])) --end;
  const bool shaped = takeWord(text, at, "FBillNo") && takeBlanks(text, at) && takeWord(text, at, "Like") &&
                      takeBlanks(text, at) && takeWord(text, at, "'%") && end >= at + 2 &&
                      text.substr(end - 2, 2) == "%'";
  if (!shaped)
    throw refusal(kListControlSource, "序时簿只支持按单据编号过滤（FBillNo Like '%编号%'），不支持过滤条件“" +
                                          db::abbreviateSql(filter) + "”。");
  std::string typed(text.substr(at, end - 2 - at));
  if (typed.empty()) return {};
  return {std::move(typed)};
}

}  // namespace midtier
