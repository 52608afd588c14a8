// Get498HappenData: one accounting period of the cost detail report: every product and batch
// with output in the period, its output quantity, unit cost and the output cost split into the
// seven cost elements.
#include <string>

#include "midtier/services/database_errors.h"
#include "midtier/services/erp_services.h"
#include "midtier/services/rowset.h"
#include "midtier/services/shop_data.h"

namespace midtier {
namespace {

constexpr std::string_view kSource = "TavMShopRpt.Data";

// The batch value that stands for every batch.
constexpr const char* kAnyBatch = "FBATCHNO";

// The elements are totalled per product and batch before they meet the cost rows. The range
// compares the long or the short product number, as the item-level statements do.
std::string periodRows(bool longNumbers) {
  const std::string number = longNumbers ? "i.FNumber" : "i.FShortNumber";
  std::string elements;
  for (int e = 1; e <= 7; ++e)
    elements += ", sum(CASE WHEN FElementID = " + std::to_string(e) + " THEN FAmount ELSE 0 END) AS E" + std::to_string(e);
  return "SELECT i.FNumber, i.FName, i.FModel, c.FBatchNo, coalesce(u.FName, '') AS FUnit, c.FCurOutNum AS FInNum, "
         "CASE WHEN c.FCurOutNum <> 0 THEN c.FCurOutCost / c.FCurOutNum ELSE 0 END AS FPrice, "
         "coalesce(e.E1, 0) AS FMarterialFee, coalesce(e.E2, 0) AS FAuxMarterialFee, coalesce(e.E3, 0) AS FWorkFee, "
         "coalesce(e.E4, 0) AS FMakingFee, coalesce(e.E5, 0) AS FDepreciationFee, coalesce(e.E6, 0) AS FWaterElecFee, "
         "coalesce(e.E7, 0) AS FOtherFee, c.FCurOutCost AS FTotalFee, 0 AS FSumSort "
         "FROM cb_ProductPeriodCost c JOIN t_ICItem i ON i.FItemID = c.FItemID "
         "LEFT JOIN t_MeasureUnit u ON u.FMeasureUnitID = i.FUnitID "
         "LEFT JOIN (SELECT FItemID, FBatchNo" +
         elements +
         " FROM cb_CostElement WHERE FYear = ?1 AND FPeriod = ?2 GROUP BY FItemID, FBatchNo) e "
         "ON e.FItemID = c.FItemID AND e.FBatchNo = c.FBatchNo "
         "WHERE c.FYear = ?1 AND c.FPeriod = ?2 AND c.FCurOutNum <> 0 AND (CAST(?3 AS TEXT) IS NULL OR " +
         number + " >= ?3) AND (CAST(?4 AS TEXT) IS NULL OR " + number + " <= ?4) AND (CAST(?5 AS TEXT) IS NULL OR c.FBatchNo = ?5) "
         "ORDER BY i.FNumber, c.FBatchNo";
}

const FieldTypes& fieldTypes() {
  static const FieldTypes types = {
      {"FNumber", ado::adVarChar},       {"FName", ado::adVarChar},          {"FModel", ado::adVarChar},
      {"FBatchNo", ado::adVarChar},      {"FUnit", ado::adVarChar},          {"FInNum", ado::adDecimal},
      {"FPrice", ado::adDecimal},        {"FMarterialFee", ado::adDecimal},  {"FAuxMarterialFee", ado::adDecimal},
      {"FWorkFee", ado::adDecimal},      {"FMakingFee", ado::adDecimal},     {"FDepreciationFee", ado::adDecimal},
      {"FWaterElecFee", ado::adDecimal}, {"FOtherFee", ado::adDecimal},      {"FTotalFee", ado::adDecimal},
      {"FSumSort", ado::adInteger},
  };
  return types;
}

// Empty text stands for an open end of the range.
dbi::Value textOrNull(std::string text) {
  if (text.empty()) return std::monostate();
  return text;
}

}  // namespace

// The filter's "BItemNumber"/"EItemNumber" bound the products, "BatchNo" the batch: absent or
// "FBATCHNO" means every batch, any other text that one batch ("" the rows without a batch).
// `state` is not used: every period is read on its own.
ado::RecordsetRef ShopData::Get498HappenData(const std::string& props, plat::Variant& year, plat::Variant& period,
                                             plat::ObjectRef& /*state*/, lumo::DictionaryRef& filter) {
  const int32_t y = year.toInt32();
  const int32_t p = period.toInt32();
  const lumo::Dictionary empty;
  const lumo::Dictionary& f = filter ? *filter : empty;
  const bool anyBatch = !f.Lookup("BatchNo") || f.Value("BatchNo").isNull() || f.Value("BatchNo").text() == kAnyBatch;
  return withConnection(kSource, props, [&](Connection& c, const Login&) {
    const std::optional<std::string> useShort = readProfile(c, "IC", "UseShortNumber");
    const bool longNumbers = useShort && plat::val(*useShort) == 0;
    auto select = c.query(periodRows(longNumbers),
                          {int64_t{y}, int64_t{p}, textOrNull(f.Value("BItemNumber").text()),
                           textOrNull(f.Value("EItemNumber").text()),
                           anyBatch ? dbi::Value() : dbi::Value(f.Value("BatchNo").text())});
    return toRecordset(*select, fieldTypes());
  });
}

}  // namespace midtier
