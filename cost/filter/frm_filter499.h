// frmFilter499, the filter dialog of the product cost comprehensive report ("产品成本综合表"):
// the period and product ranges, and the roll-up over product-class levels with its options.
#pragma once

#include "cost/filter/period_filter_dialog.h"

namespace cost {

class frmFilter499 : public PeriodFilterDialog {
 public:
  frmFilter499();

  forms::TextBox& txtlevel(int index) const { return get<forms::TextBox>("txtlevel", index); }

 protected:
  void LoadOwnControls() override;
  void SaveOwnKeys(lumo::Dictionary& filter) override;
  void LoadOwnKeys(const lumo::Dictionary& saved) override;
  void AddOwnDoneKeys(lumo::Dictionary& result) override;

 private:
  void FillGroupByList();
};

}  // namespace cost
