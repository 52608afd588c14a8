#include "cost/filter/frm_filter499.h"

#include "frame/host/context.h"

namespace cost {

using frame::Msg;

frmFilter499::frmFilter499() : PeriodFilterDialog("frmFilter499", "产品成本综合表", 499) {
  beginFrame("fraSummary", "");
  addCheck("分级汇总", "chkGroupBy");
  addList("汇总依据:", "cmbGroupBy", {});
  addLabel("类别级次:");
  for (int index : {0, 1}) {
    if (index == 1) addLabel("至:", true);
    auto& box = add<forms::TextBox>("txtlevel", index);
    auto& steps = add<forms::UpDown>(index == 0 ? "udBLevel" : "udELevel");
    steps.SetRange(1, 5);
    steps.SetBuddy(box);
    steps.SetValue(1);  // both levels start at the top of the class tree
  }
  endFrame();
  addCheck("仅显示汇总行", "chkOnlyShowSum");
  addCheck("按产品汇总", "chkGroupByBatchNo");
}

// The only summary basis is the product class, item data 1.
void frmFilter499::FillGroupByList() {
  try {
    forms::ComboBox& list = combo("cmbGroupBy");
    list.Clear();
    list.AddItem(Msg("物料类别"));
    list.SetItemData(list.NewIndex(), 1);
  } catch (const std::exception&) {
    // errors are ignored: the list keeps what it had
  }
}

void frmFilter499::LoadOwnControls() {
  FillGroupByList();
  combo("cmbGroupBy").SetText(Msg("物料类别"));
}

void frmFilter499::SaveOwnKeys(lumo::Dictionary& filter) {
  filter.SetValue("GroupBy", check("chkGroupBy").Value());
  filter.SetValue("OnlyShowSum", check("chkOnlyShowSum").Value());
  filter.SetValue("BLevel", txtlevel(0).Text());
  filter.SetValue("ELevel", txtlevel(1).Text());
  filter.SetValue("GroupByBatchNo", check("chkGroupByBatchNo").Value());
}

void frmFilter499::LoadOwnKeys(const lumo::Dictionary& saved) {
  check("chkGroupBy").SetValue(saved.ValueOrDefault("GroupBy", int16_t{0}).toInt16());
  check("chkOnlyShowSum").SetValue(saved.ValueOrDefault("OnlyShowSum", int16_t{0}).toInt16());
  txtlevel(0).SetText(saved.ValueOrDefault("BLevel", "").text());
  txtlevel(1).SetText(saved.ValueOrDefault("ELevel", "").text());
  check("chkGroupByBatchNo").SetValue(saved.ValueOrDefault("GroupByBatchNo", int16_t{0}).toInt16());
}

void frmFilter499::AddOwnDoneKeys(lumo::Dictionary& result) {
  const forms::ComboBox& basis = combo("cmbGroupBy");
  result.SetValue("SumMode", basis.ItemData(basis.ListIndex()));
  result.SetValue("GroupBy", check("chkGroupBy").Value());
  result.SetValue("OnlyShowSum", check("chkOnlyShowSum").Value());
}

}  // namespace cost
