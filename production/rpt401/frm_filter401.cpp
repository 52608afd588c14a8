// frmFilter401: design, load defaults and the filter grid's events.
#include "production/rpt401/frm_filter401.h"

#include "frame/host/context.h"
#include "frame/sql/literal.h"
#include "platform/forms/front_end.h"
#include "production/rpt401/filter_keys.h"
#include "production/rpt401/filter_values.h"

namespace production {
namespace {

// The two state lists and their keys.
constexpr std::pair<const char*, const char*> kStateLists[] = {{"cmbCheckState", "CheckState"},
                                                                {"cmbCheckClose", "CheckClose"}};

// A check box or list index from a saved filter, kept inside what the control accepts.
int16_t boundedIndex(const plat::Variant& value, int low, int high, int fallback) {
  const int n = rpt401::IntOf(value);
  return static_cast<int16_t>(n < low || n > high ? fallback : n);
}

}  // namespace

frmFilter401::frmFilter401() : FilterDialog("frmFilter401", "过滤", 401) {
  beginFrame("fraPeriod", "");
  addLabel("起始日期:");
  add<forms::DatePicker>("DtpBDate");
  addLabel("截止日期:", true);
  add<forms::DatePicker>("DtpEDate");
  endFrame();

  beginFrame("fraItem", "");
  addCodeRange("业务员代码:", 0, 1);
  addCodeRange("产品代码:", 2, 3);
  addCodeRange("部门代码:", 6, 7);
  addText("生产批号:", "txtItem", 10);
  addLabel("(包含)", true);
  endFrame();

  beginFrame("fraGroup", "");
  addCheck("分级汇总", "chkGroupBy");
  addList("汇总依据:", "cmbGroupBy", {});
  addLevelRange();
  endFrame();

  beginFrame("fraCheck", "");
  addCheck("仅显示汇总行", "chkOnlyShowSum");
  addCheck("按产品汇总", "chkGroupByBatchNo");
  addList("单据状态:", "cmbCheckState", {});
  addList("是否关闭:", "cmbCheckClose", {});
  endFrame();
}

// "label" txtItem(first) cmdItem(first) "至:" txtItem(second) cmdItem(second); the buttons do
// nothing themselves: code lookup is the grid's.
void frmFilter401::addCodeRange(const std::string& label, int first, int second) {
  addLabel(label);
  add<forms::TextBox>("txtItem", first);
  add<forms::CommandButton>("cmdItem", first).SetCaption("...");
  addLabel("至:", true);
  add<forms::TextBox>("txtItem", second);
  add<forms::CommandButton>("cmdItem", second).SetCaption("...");
}

// "类别级次:" txtlevel(0) udBLevel "至:" txtlevel(1) udELevel; typing is not limited.
void frmFilter401::addLevelRange() {
  addLabel("类别级次:");
  auto& first = add<forms::TextBox>("txtlevel", 0);
  auto& up = add<forms::UpDown>("udBLevel");
  up.SetRange(1, 9);
  up.SetBuddy(first);
  up.SetValue(1);
  addLabel("至:", true);
  auto& last = add<forms::TextBox>("txtlevel", 1);
  auto& down = add<forms::UpDown>("udELevel");
  down.SetRange(1, 9);
  down.SetBuddy(last);
  down.SetValue(5);
}

void frmFilter401::onLoad() {
  forms::ComboBox& groupBy = combo("cmbGroupBy");
  groupBy.Clear();
  groupBy.AddItem(frame::Msg("产品类别"));
  groupBy.SetItemData(groupBy.NewIndex(), 1);
  groupBy.AddItem(frame::Msg("部门"));
  groupBy.SetItemData(groupBy.NewIndex(), 2);
  for (const auto& [list, key] : kStateLists) {  // at the key's default, "全部"
    fillList(combo(list), kRpt401Keys.at(key));
    combo(list).SetListIndex(kRpt401Keys.at(key).defaultIndex());
  }
  auto result = lumo::newDictionary();
  result->SetValue("OK", false);
  SetResultDictionary(result);
  InitGrid();
}

void frmFilter401::ResetControls() {
  for (const auto& [list, key] : kStateLists) combo(list).SetListIndex(kRpt401Keys.at(key).defaultIndex());
  check("chkGroupBy").SetValue(0);
  check("chkOnlyShowSum").SetValue(0);
}

void frmFilter401::CheckFilter(bool& cancel) {
  if (check("chkGroupBy").Value() == 1 && combo("cmbGroupBy").ListIndex() == -1) {
    forms::MsgBox(frame::Msg("汇总依据不能为空"), forms::vbInformation, frame::Msg("Ostrel提示"));
    cancel = true;
  }
}

void frmFilter401::SaveFilter(lumo::DictionaryRef& filter) {
  auto quoted = [this](int index) { return frame::DoubleQuotes(txtItem(index).Text()); };
  auto checked = [this](const char* name) { return check(name).Value(); };
  filter->SetValue("BDate", picker("DtpBDate").Value().iso());
  filter->SetValue("EDate", picker("DtpEDate").Value().iso());
  filter->SetValue("BEmp", quoted(0));
  filter->SetValue("EEmp", quoted(1));
  filter->SetValue("BItemNumber", quoted(2));
  filter->SetValue("EItemNumber", quoted(3));
  filter->SetValue("BDept", quoted(6));
  filter->SetValue("EDept", quoted(7));
  filter->SetValue("BLevel", plat::val(txtlevel(0).Text()));
  filter->SetValue("ELevel", plat::val(txtlevel(1).Text()));
  filter->SetValue("GroupBy", checked("chkGroupBy"));
  filter->SetValue("OnlyShowSum", checked("chkOnlyShowSum"));
  filter->SetValue("GroupByListIndex", static_cast<int16_t>(combo("cmbGroupBy").ListIndex()));
  filter->SetValue("CheckState", static_cast<int16_t>(combo("cmbCheckState").ListIndex()));
  filter->SetValue("CheckClose", static_cast<int16_t>(combo("cmbCheckClose").ListIndex()));
  filter->SetValue("GroupByBatchNo", checked("chkGroupByBatchNo"));
  filter->SetValue("BBatchNo", quoted(10));
}

void frmFilter401::FilterDone(bool& cancel) {
  SetFilterString(grid().GetFilterText(0));
  if (auto filter = grid().GetFilter()) SetResultDictionary(filter);  // a cancel before any acceptance keeps the load-time result
  const lumo::DictionaryRef& result = Result();
  result->SetValue("OK", !cancel);

  const forms::ComboBox& groupBy = combo("cmbGroupBy");
  const int chosen = groupBy.ListIndex();
  if (chosen >= 0)
    result->SetValue("SumMode", groupBy.ItemData(chosen));
  else
    result->SetValue("SumMode", int16_t{0});
  result->SetValue("Mode", int16_t{0});
  if (chosen < 0 || groupBy.ItemData(chosen) == 0) return;

  auto sumField = lumo::newDictionary();
  sumField->SetValue("FPropID", int16_t{0});
  const bool byDepartment = groupBy.ItemData(chosen) == 2;
  sumField->SetValue("FSQLColumnName", byDepartment ? "FDeptID" : "FName");
  sumField->SetValue("FSrcTable", "");
  sumField->SetValue("FSrcField", "");
  sumField->SetValue("FDisplayField", "");
  if (byDepartment) sumField->SetValue("FItemClassID", int16_t{0});
  result->SetValue("SumField", sumField);
}

void frmFilter401::LoadFilter(lumo::DictionaryRef& saved) {
  const lumo::Dictionary& s = *saved;
  auto date = [&](const char* key) {
    auto parsed = plat::Date::parse(s.ValueOrDefault(key, plat::Date::today()).text());
    return parsed ? *parsed : plat::Date::today();
  };
  picker("DtpBDate").SetValue(date("BDate"));
  picker("DtpEDate").SetValue(date("EDate"));
  const std::pair<const char*, int> texts[] = {{"BEmp", 0},  {"EEmp", 1},  {"BItemNumber", 2}, {"EItemNumber", 3},
                                               {"BDept", 6}, {"EDept", 7}, {"BBatchNo", 10}};
  for (const auto& [key, index] : texts) txtItem(index).SetText(s.ValueOrDefault(key, "").text());
  check("chkGroupBy").SetValue(boundedIndex(s.ValueOrDefault("GroupBy", int16_t{1}), 0, 2, 1));
  check("chkOnlyShowSum").SetValue(boundedIndex(s.ValueOrDefault("OnlyShowSum", int16_t{1}), 0, 2, 1));
  txtlevel(1).SetText(s.ValueOrDefault("ELevel", 5.0).text());
  txtlevel(0).SetText(s.ValueOrDefault("BLevel", 1.0).text());
  const int lists = combo("cmbGroupBy").ListCount() - 1;
  combo("cmbGroupBy").SetListIndex(boundedIndex(s.ValueOrDefault("GroupByListIndex", int16_t{0}), -1, lists, 0));
  for (const auto& [list, name] : kStateLists) {
    const frame::FilterKey& key = kRpt401Keys.at(name);
    const int last = static_cast<int>(key.choices.size()) - 1;
    const int fallback = key.defaultIndex();
    combo(list).SetListIndex(boundedIndex(s.ValueOrDefault(name, static_cast<int16_t>(fallback)), 0, last, fallback));
  }
  check("chkGroupByBatchNo").SetValue(boundedIndex(s.ValueOrDefault("GroupByBatchNo", int16_t{0}), 0, 2, 0));
}

void frmFilter401::GetLookupClass(forms::Control*& box, int32_t& classId, std::string& condition, bool) {
  switch (box ? box->index() : -1) {
    case 0:
    case 1: classId = 3; break;
    case 2:
    case 3:
      classId = 4;
      condition = " x2.FErpClsID<>4";
      break;
    case 6:
    case 7: classId = 2; break;
    default: break;
  }
}

}  // namespace production
