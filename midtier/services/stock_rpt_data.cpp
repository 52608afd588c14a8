// TavMStockRpt.Data: the current accounting period of the stock module.
#include "midtier/services/database_errors.h"
#include "midtier/services/erp_services.h"

namespace midtier {

lumo::DictionaryRef StockRptData::GetCurrenPeriodDate(const std::string& props) {
  constexpr std::string_view kSource = "TavMStockRpt.Data";
  return withConnection(kSource, props, [&](Connection& c, const Login&) {
    auto period = lumo::newDictionary();
    period->SetValue("CurrentYear", readProfileInt(c, kSource, "IC", "CurrentYear", std::nullopt));
    period->SetValue("CurrentPeriod", readProfileInt(c, kSource, "IC", "CurrentPeriod", std::nullopt));
    return period;
  });
}

}  // namespace midtier
