// Rpt498, the product cost detail report ("产品成本明细表"): for every accounting period of a
// range, the products put out with their quantity, cost price and cost split into seven cost
// elements, a subtotal per period and one grand total, in a record set of its own.
#pragma once

#include <memory>

#include "cost/packaging/packaging.h"
#include "frame/report/report.h"

namespace cost {

inline constexpr const char* kRpt498Class = "TavShopRpt.Rpt498";

class Rpt498 : public frame::Report, public RecordPackaging {
 public:
  Rpt498();

  // The worker, run from the progress window's activation: the new record set, or nothing
  // after a failure ("OK" false, its description, the window unloaded) or when the ledger
  // has no periods (Result untouched).
  plat::Variant GetRptList() override;

 protected:
  std::shared_ptr<frame::FilterDialog> CreateFilterDialog() override;
  void BuildTitle(lumo::Vector& title) override;
  void OnActive() override;

 private:
  ado::RecordsetRef RunWorker();
};

}  // namespace cost
