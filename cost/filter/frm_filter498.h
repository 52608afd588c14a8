// frmFilter498, the filter dialog of the product cost detail report ("产品成本明细表"): the
// period and product ranges; every batch ("BatchNo" = "FBATCHNO").
#pragma once

#include "cost/filter/period_filter_dialog.h"

namespace cost {

class frmFilter498 : public PeriodFilterDialog {
 public:
  frmFilter498();

 protected:
  void SaveOwnKeys(lumo::Dictionary& filter) override;
  void LoadOwnKeys(const lumo::Dictionary&) override {}
};

// The batch value that stands for every batch.
inline constexpr const char* kAnyBatch = "FBATCHNO";

}  // namespace cost
