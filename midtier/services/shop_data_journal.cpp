// The report data service's document journals: a page of sales orders or production tasks.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "midtier/services/database_errors.h"
#include "midtier/services/rowset.h"
#include "midtier/services/shop_data.h"

namespace midtier {
namespace {

constexpr std::string_view kSource = "TavMShopRpt.Data";
constexpr int kMaxPageRows = 10000;

const std::array<JournalLayout, 2> kLayouts{{
    {kSalesOrderBills,
     "销售订单",
     {{"FInterID", "", 0, true},
      {"FBillNo", "单据编号", 12, false},
      {"FDate", "日期", 10, false},
      {"FCustName", "购货单位", 22, false},
      {"FQty", "数量", 10, true},
      {"FAmount", "金额", 12, true, 2},
      {"FStatusText", "状态", 6, false}}},
    {kProductionTaskBills,
     "生产任务单",
     {{"FInterID", "", 0, true},
      {"FBillNo", "单据编号", 12, false},
      {"FDate", "日期", 10, false},
      {"FItemNumber", "产品代码", 14, false},
      {"FItemName", "产品名称", 18, false},
      {"FQty", "计划数量", 10, true},
      {"FUnitName", "单位", 4, false},
      {"FStatusText", "状态", 6, false}}},
}};

// Each journal's rows, with the alias "b" for the bill table; the conditions and the order are
// added to it, every value bound.
struct JournalSql {
  std::string table;
  std::string select;
  // A user restricted on customers sees only what this keeps; "?" is the ",<user id>," text.
  std::string customerRight;
};

JournalSql sqlOf(const SqlForms& f, int32_t billType) {
  if (billType == kSalesOrderBills)
    return {"SEOrder",
            "SELECT b.FInterID, b.FBillNo, b.FDate, c.FName AS FCustName,"
            " (SELECT coalesce(sum(e.FQty), 0.0) FROM SEOrderEntry e WHERE e.FInterID = b.FInterID) AS FQty,"
            " (SELECT coalesce(sum(e.FAmount), 0.0) FROM SEOrderEntry e WHERE e.FInterID = b.FInterID) AS FAmount,"
            " CASE WHEN b.FClosed <> 0 THEN '关闭' WHEN b.FCheckerID <> 0 THEN '已审核' ELSE '未审核' END"
            " AS FStatusText"
            " FROM SEOrder b LEFT JOIN t_organization c ON c.FItemID = b.FCustID",
            f.contains("c.FRightUserID", "?")};
  return {"ICMO",
          "SELECT b.FInterID, b.FBillNo, b.FDate, i.FNumber AS FItemNumber, i.FName AS FItemName, b.FQty,"
          " u.FName AS FUnitName,"
          " CASE WHEN b.FClosed <> 0 THEN '结案' WHEN b.FStatus = 3 THEN '完工' WHEN b.FStatus = 1 THEN '下达'"
          " ELSE '计划' END AS FStatusText"
          " FROM ICMO b LEFT JOIN t_ICItem i ON i.FItemID = b.FItemID"
          " LEFT JOIN t_MeasureUnit u ON u.FMeasureUnitID = i.FUnitID",
          "(b.FOrderInterID = 0 OR EXISTS (SELECT 1 FROM SEOrder o JOIN t_organization c ON c.FItemID = o.FCustID"
          " WHERE o.FInterID = b.FOrderInterID AND " + f.contains("c.FRightUserID", "?") + "))"};
}

// A LIKE pattern that finds `part` anywhere, with "\" escaping the pattern characters.
std::string containsPattern(const std::string& part) {
  std::string pattern = "%";
  for (char ch : part) {
    if (ch == '%' || ch == '_' || ch == '\\') pattern += '\\';
    pattern += ch;
  }
  return pattern + "%";
}

bool restrictedOnCustomers(Connection& c, int32_t userId) {
  auto select = c.query("SELECT FRestricted FROM t_DataRight WHERE FUserID = ?1 AND FKind = 1", {int64_t{userId}});
  return select->next() && select->number(0) != 0;
}

using SqlValue = std::variant<int64_t, std::string>;

// A statement text put together from fixed pieces, each "?" of a piece numbered in turn and its
// value kept for binding: one text per shape of request, so that it is prepared once.
class SqlBuilder {
 public:
  void add(std::string_view text) { sql_ += text; }
  void value(SqlValue v) {
    values_.push_back(std::move(v));
    sql_ += "?" + std::to_string(values_.size());
  }
  // REQUIRES: `text` holds exactly values.size() "?" and no other "?".
  void condition(std::string_view text, const std::vector<SqlValue>& values) {
    sql_ += conditions_++ == 0 ? " WHERE " : " AND ";
    auto next = values.begin();
    for (char ch : text) {
      if (ch == '?')
        value(*next++);
      else
        sql_ += ch;
    }
  }
  const std::string& sql() const { return sql_; }
  dbi::Values params() const {
    dbi::Values out;
    for (const SqlValue& v : values_) std::visit([&](const auto& value) { out.emplace_back(value); }, v);
    return out;
  }

 private:
  std::string sql_;
  std::vector<SqlValue> values_;
  int conditions_ = 0;
};

// "FBillNo LIKE ? ESCAPE '\' AND ..." for the parts, and the parts' patterns.
std::pair<std::string, std::vector<SqlValue>> billNoLike(const SqlForms& f, const std::vector<std::string>& parts,
                                                        const char* alias) {
  std::string text;
  std::vector<SqlValue> patterns;
  for (const std::string& part : parts) {
    text += std::string(text.empty() ? "" : " AND ") + f.like(std::string(alias) + "FBillNo", "?");
    patterns.emplace_back(containsPattern(part));
  }
  return {text, patterns};
}

// The bills of a journal whose number holds every part, found on the narrow bill-number index:
// their ids as a JSON array when there are at most kFewMatches, else just "many". Kept with the
// connection, so that the next pages of one search do not look again.
constexpr int64_t kFewMatches = 100'000;
struct BillNoMatches {
  std::string table;
  std::vector<std::string> parts;
  bool many = false;
  std::string idsJson;
};

const BillNoMatches& matchesOf(Connection& c, const std::string& table, const std::vector<std::string>& parts) {
  BillNoMatches& kept = c.cache<BillNoMatches>();
  if (!kept.table.empty() && kept.table == table && kept.parts == parts) return kept;
  SqlBuilder q;
  q.add("SELECT FInterID FROM " + table);
  const auto [like, patterns] = billNoLike(c.forms(), parts, "");
  q.condition(like, patterns);
  q.add(" LIMIT ");
  q.value(kFewMatches + 1);
  auto select = c.query(q.sql(), q.params());
  std::string ids = "[";
  int64_t count = 0;
  while (select->next()) {
    if (count++ > 0) ids += ',';
    ids += select->text(0);
  }
  kept = BillNoMatches{table, parts, count > kFewMatches, count > kFewMatches ? std::string() : ids + "]"};
  return kept;
}

}  // namespace

const JournalLayout* journalLayout(int32_t billType) {
  for (const JournalLayout& layout : kLayouts)
    if (layout.billType == billType) return &layout;
  return nullptr;
}

ado::RecordsetRef ShopData::GetJournalPage(const std::string& props, const JournalRequest& request) {
  if (!journalLayout(request.billType))
    throw refusal(kSource, "没有单据类型 " + std::to_string(request.billType) +
                               " 的序时簿：只有销售订单（32）和生产任务单（36）。");
  return withConnection(kSource, props, [&](Connection& c, const Login& login) {
    const JournalSql journal = sqlOf(c.forms(), request.billType);
    // A query first: it lets the connection notice another's writes before the kept matches
    // are looked at.
    const bool restricted = restrictedOnCustomers(c, login.userId);
    SqlBuilder q;
    q.add(journal.select);
    if (!request.billNoParts.empty()) {
      // Up to kFewMatches bills are found on the narrow bill-number index and put in date order;
      // when more match, they are met walking the date index (slow only when all lie far back).
      const BillNoMatches& matches = matchesOf(c, journal.table, request.billNoParts);
      if (matches.many) {
        const auto [like, patterns] = billNoLike(c.forms(), request.billNoParts, "b.");
        q.condition(like, patterns);
      } else {
        q.condition("b.FInterID IN (" + c.forms().jsonIntegers("?") + ")", {matches.idsJson});
      }
    }
    // The keyset: the rows after the last one shown, walked on the date index.
    if (request.after) q.condition("(b.FDate, b.FInterID) < (?, ?)", {request.after->date, request.after->interId});
    if (restricted)
      q.condition(journal.customerRight, {"," + std::to_string(login.userId) + ","});
    q.add(" ORDER BY b.FDate DESC, b.FInterID DESC LIMIT ");
    q.value(static_cast<int64_t>(std::clamp(request.limit, 0, kMaxPageRows)));
    auto select = c.query(q.sql(), q.params());
    return toRecordset(*select, {{"FInterID", ado::adInteger}, {"FQty", ado::adDouble}, {"FAmount", ado::adDouble}});
  });
}

}  // namespace midtier
