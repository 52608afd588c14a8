#include "cost/filter/frm_filter498.h"

namespace cost {

frmFilter498::frmFilter498() : PeriodFilterDialog("frmFilter498", "产品成本明细表", 498) {}

void frmFilter498::SaveOwnKeys(lumo::Dictionary& filter) { filter.SetValue("BatchNo", kAnyBatch); }

}  // namespace cost
