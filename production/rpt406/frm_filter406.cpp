#include "production/rpt406/frm_filter406.h"

#include <array>

#include "production/common/dialog_tables.h"
#include "production/rpt406/filter_keys.h"

namespace production {
namespace {

using namespace task_boxes;

struct ListKey {
  const char* key;
  const char* list;
};
// SaveFilter's and LoadFilter's order.
constexpr std::array<ListKey, 3> kLists{
    {{"DisplayType", "CmbDisplayType"}, {"CheckState", "cmbCheckState"}, {"CheckClose", "cmbCheckClose"}}};

}  // namespace

frmFilter406::frmFilter406() : FilterDialog("frmFilter406", "过滤", 400) {
  beginFrame("fraDate", "");
  addLabel("起始日期:");
  add<forms::DatePicker>("DtpBDate");
  addLabel("截止日期:", true);
  add<forms::DatePicker>("DtpEDate");
  endFrame();
  beginFrame("fraItem", "");
  addTextRange("产品代码:", "txtItem", 0, 1);
  addTextRange("部门代码:", "txtItem", 2, 3);
  addTextRange("生产任务单号:", "txtItem", 4, 5);
  addTextRange("业务员代码:", "txtItem", 6, 7);
  // Shown with its lookup button, but neither filled nor read by the form.
  addText("物料类别代码:   ", "txtItemClass", -1);
  add<forms::CommandButton>("cmdItemClass").SetCaption("...");
  endFrame();
  beginFrame("fraShow", "");
  addList("单据状态:", "cmbCheckState", kRpt406Keys.at("CheckState"));
  addList("是否关闭:", "cmbCheckClose", kRpt406Keys.at("CheckClose"));
  addList("显示:", "CmbDisplayType", kRpt406Keys.at("DisplayType"));
  endFrame();
}

void frmFilter406::onLoad() {
  for (const ListKey& l : kLists) combo(l.list).SetListIndex(kRpt406Keys.at(l.key).defaultIndex());
  // Before a scheme is restored: this year up to today.
  const plat::Date today = plat::Date::today();
  picker("DtpBDate").SetValue(plat::Date(today.year(), 1, 1));
  picker("DtpEDate").SetValue(today);
  SetResultDictionary(lumo::newDictionary());
  Result()->SetValue("OK", false);
  InitGrid();
}

// All three lists go to their first item: "全部", "已审核", "已关闭".
void frmFilter406::ResetControls() {
  for (const ListKey& l : kLists) combo(l.list).SetListIndex(0);
}

void frmFilter406::SaveFilter(lumo::DictionaryRef& filter) {
  SaveTexts(*this, kBills, *filter, false);
  filter->SetValue("BDate", picker("DtpBDate").Value());
  filter->SetValue("EDate", picker("DtpEDate").Value());
  SaveTexts(*this, kCodes, *filter, false);
  for (const ListKey& l : kLists) filter->SetValue(l.key, ListValue(*this, l.list));
}

void frmFilter406::FilterDone(bool& cancel) {
  SetFilterString(grid().GetFilterText(0));
  lumo::DictionaryRef result = grid().GetFilter();
  SetResultDictionary(result ? result : lumo::newDictionary());
  Result()->SetValue("OK", !cancel);
}

void frmFilter406::LoadFilter(lumo::DictionaryRef& saved) {
  for (const auto& [key, name] : {std::pair{"BDate", "DtpBDate"}, std::pair{"EDate", "DtpEDate"}}) {
    const plat::Variant value = saved->ValueOrDefault(key, "");
    if (value.isDateLike()) picker(name).SetValue(value.toDate());
  }
  LoadTexts(*this, kLoadOrder, *saved, false);
  // A missing key chooses the first item.
  for (const ListKey& l : kLists) combo(l.list).SetListIndex(ListIndexOf(saved->ValueOrDefault(l.key, ""), 0));
}

void frmFilter406::GetLookupClass(forms::Control*& box, int32_t& classId, std::string& condition, bool billLookup) {
  AnswerLookup(kLookups, box, classId, condition, billLookup);
}

}  // namespace production
