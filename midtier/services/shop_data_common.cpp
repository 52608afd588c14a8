// The report data service's members shared by the reports: the currency scale, an item's
// decimal places and the bill-number lookup's query.
#include <string>
#include <unordered_map>
#include <utility>

#include "midtier/db/sqlite_error.h"
#include "midtier/services/bill_query.h"
#include "midtier/services/database_errors.h"
#include "midtier/services/erp_services.h"
#include "midtier/services/rowset.h"
#include "midtier/services/shop_data.h"

namespace midtier {
namespace {

constexpr std::string_view kSource = "TavMShopRpt.Data";

// The decimal places of every item by FNumber. The cost reports ask once per row, so the
// whole table is read on the first call and kept until the database changes.
struct ItemDecimals {
  bool loaded = false;
  std::unordered_map<std::string, std::pair<int32_t, int32_t>> byNumber;

  void load(Connection& c) {
    auto select = c.query("SELECT FNumber, FQtyDecimal, FPriceDecimal FROM t_ICItem");
    while (select->next())
      byNumber.try_emplace(std::string(select->text(0)), static_cast<int32_t>(select->number(1)),
                           static_cast<int32_t>(select->number(2)));
    loaded = true;
  }
};

}  // namespace

int32_t ShopData::GetCurrencyScale(const std::string& props) {
  return withConnection(kSource, props, [](Connection& c, const Login&) {
    return readProfileInt(c, kSource, "GL", "CurrencyScale", 2);
  });
}

void ShopData::GetDecimal(const std::string& props, const plat::Variant& itemNumber, int32_t& qtyDecimal,
                          int32_t& priceDecimal) {
  if (itemNumber.isNull() || itemNumber.isEmpty()) return;
  const std::string number = itemNumber.text();
  withConnection(kSource, props, [&](Connection& c, const Login&) {
    ItemDecimals& decimals = c.cache<ItemDecimals>();
    if (!decimals.loaded) decimals.load(c);
    auto it = decimals.byNumber.find(number);
    if (it == decimals.byNumber.end()) return;  // an unknown item keeps the caller's values
    qtyDecimal = it->second.first;
    priceDecimal = it->second.second;
  });
}

ado::RecordsetRef ShopData::GetData(const std::string& props, plat::Variant& query) {
  const std::string text = query.isText() ? query.text() : std::string();
  const std::optional<BillQuery> bill = parseBillQuery(text);
  if (!bill)
    throw refusal(kSource, "数据服务只执行单据编号查询“Select FBillNo From SEOrder|ICMO Where FInterID=整数”，拒绝执行：“" +
                               db::abbreviateSql(text) + "”");
  return withConnection(kSource, props, [&](Connection& c, const Login&) {
    auto select = c.query("SELECT FBillNo FROM " + std::string(bill->table) + " WHERE FInterID = ?1", {bill->interId});
    return toRecordset(*select);
  });
}

}  // namespace midtier
