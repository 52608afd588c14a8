#include "production/rpt400/frm_filter400.h"

#include <array>

#include "platform/core/date.h"
#include "production/common/dialog_tables.h"
#include "production/rpt400/filter_keys.h"

namespace production {
namespace {

struct DateKey {
  const char* key;
  const char* picker;
};

// SaveFilter's order: the eight dates, then the code ranges, the lists, chkFinish, the batch.
constexpr std::array<DateKey, 8> kDates{{{"BDate", "DtpBDate"},
                                         {"EDate", "DtpEDate"},
                                         {"BWorkDate", "DtpBWorkDate"},
                                         {"EWorkDate", "DtpEWorkDate"},
                                         {"BPlanDate", "DtpBPlanDate"},
                                         {"EPlanDate", "DtpEPlanDate"},
                                         {"BFactDate", "DtpBFactDate"},
                                         {"EFactDate", "DtpEFactDate"}}};

constexpr std::array<TextKey, 10> kRanges{{{"BItemNumber", 2},
                                           {"EItemNumber", 3},
                                           {"BOrderBillNo", 4},
                                           {"EOrderBillNo", 5},
                                           {"BEmp", 0},
                                           {"EEmp", 1},
                                           {"BDept", 6},
                                           {"EDept", 7},
                                           {"BProductBillNo", 8},
                                           {"EProductBillNo", 9}}};
constexpr std::array<TextKey, 1> kBatch{{{"BBatchNo", 10}}};

struct ListKey {
  const char* key;
  const char* list;
  // the index chosen at load, at reset and for a missing saved key: the key's default
  int loadDefault() const { return kRpt400Keys.at(key).defaultIndex(); }
};
constexpr std::array<ListKey, 4> kLists{{{"DisplayType", "CmbDisplayType"},
                                         {"CheckState", "cmbCheckState"},
                                         {"CheckClose", "cmbCheckClose"},
                                         {"ExecuteState", "cmbExecuteState"}}};

constexpr std::array<LookupRow, 5> kLookups{{{0, 1, 3, nullptr, 0},
                                              {2, 3, 4, " x2.FErpClsID<>4", 0},
                                              {4, 5, 0, nullptr, 32},
                                              {6, 7, 2, nullptr, 0},
                                              {8, 9, 0, nullptr, 36}}};

// The pickers' values before a scheme is restored: this year up to today for the task date,
// every date for the other ranges.
void setInitialDates(forms::Form& form) {
  const plat::Date today = plat::Date::today();
  form.get<forms::DatePicker>("DtpBDate").SetValue(plat::Date(today.year(), 1, 1));
  form.get<forms::DatePicker>("DtpEDate").SetValue(today);
  for (const char* name : {"DtpBWorkDate", "DtpBPlanDate", "DtpBFactDate"})
    form.get<forms::DatePicker>(name).SetValue(plat::Date(1900, 1, 1));
  for (const char* name : {"DtpEWorkDate", "DtpEPlanDate", "DtpEFactDate"})
    form.get<forms::DatePicker>(name).SetValue(plat::Date(2100, 1, 1));
}

}  // namespace

frmFilter400::frmFilter400() : FilterDialog("frmFilter400", "过滤", 400) {
  beginFrame("fraPeriod", "");
  addLabel("起始日期:");
  add<forms::DatePicker>("DtpBDate");
  addLabel("截止日期:", true);
  add<forms::DatePicker>("DtpEDate");
  addDateRange("开工日期:", "DtpBWorkDate", "DtpEWorkDate");
  addDateRange("计划完工日期:", "DtpBPlanDate", "DtpEPlanDate");
  addCheck("考虑完工日期", "chkFinish").onClick = [this] { chkFinishClick(); };
  addDateRange("实际完工日期:", "DtpBFactDate", "DtpEFactDate");
  picker("DtpBFactDate").SetEnabled(false);  // until chkFinish is checked
  picker("DtpEFactDate").SetEnabled(false);
  endFrame();

  beginFrame("fraItem", "");
  addCodeRange("业务员代码:", 0, 1);
  addCodeRange("产品代码:", 2, 3);
  addCodeRange("销售订单编号:", 4, 5);
  addCodeRange("部门代码:", 6, 7);
  addCodeRange("任务单编号:", 8, 9);
  addText("生产批号:", "txtItem", 10);
  endFrame();

  beginFrame("Frame1", "");
  addList("单据状态:", "cmbCheckState", kRpt400Keys.at("CheckState"));
  addList("是否关闭:", "cmbCheckClose", kRpt400Keys.at("CheckClose"));
  addList("是否延期:", "cmbExecuteState", kRpt400Keys.at("ExecuteState"));
  addList("显示:", "CmbDisplayType", kRpt400Keys.at("DisplayType"));
  endFrame();
}

// "label" txtItem(first) cmdItem(first) "至:" txtItem(second) cmdItem(second); the buttons do
// nothing themselves: code lookup is the grid's.
void frmFilter400::addCodeRange(const std::string& label, int first, int second) {
  addLabel(label);
  add<forms::TextBox>("txtItem", first);
  add<forms::CommandButton>("cmdItem", first).SetCaption("...");
  addLabel("至:", true);
  add<forms::TextBox>("txtItem", second);
  add<forms::CommandButton>("cmdItem", second).SetCaption("...");
}

void frmFilter400::onLoad() {
  for (const ListKey& l : kLists) combo(l.list).SetListIndex(l.loadDefault());
  check("chkFinish").SetValue(0);
  setInitialDates(*this);
  SetResultDictionary(lumo::newDictionary());
  Result()->SetValue("OK", false);
  InitGrid();
}

void frmFilter400::chkFinishClick() {
  const bool use = check("chkFinish").Value() == 1;
  picker("DtpBFactDate").SetEnabled(use);
  picker("DtpEFactDate").SetEnabled(use);
}

void frmFilter400::ResetControls() {
  for (const ListKey& l : kLists) combo(l.list).SetListIndex(l.loadDefault());
  check("chkFinish").SetValue(0);
}

void frmFilter400::SaveFilter(lumo::DictionaryRef& filter) {
  for (const DateKey& d : kDates) filter->SetValue(d.key, picker(d.picker).Value().iso());
  SaveTexts(*this, kRanges, *filter, true);
  for (const ListKey& l : kLists) filter->SetValue(l.key, ListValue(*this, l.list));
  filter->SetValue("chkFinish", check("chkFinish").Value());
  SaveTexts(*this, kBatch, *filter, true);
}

void frmFilter400::FilterDone(bool& cancel) {
  try {
    SetFilterString(grid().GetFilterText(0));
    lumo::DictionaryRef result = grid().GetFilter();
    SetResultDictionary(result ? result : lumo::newDictionary());
    Result()->SetValue("OK", !cancel);
    if (!picker("DtpBFactDate").Enabled()) Result()->Remove("BFactDate");
    if (!picker("DtpEFactDate").Enabled()) Result()->Remove("EFactDate");
    Result()->SetValue("OrderBy", grid().GetFilterText(3));
  } catch (const std::exception&) {
    // the result stays as far as it was built
  }
}

void frmFilter400::LoadFilter(lumo::DictionaryRef& saved) {
  for (const DateKey& d : kDates) {
    const plat::Variant value = saved->ValueOrDefault(d.key, "");
    if (value.isDateLike()) picker(d.picker).SetValue(value.toDate());
  }
  // The texts were saved with their quotes doubled; the boxes show them as typed.
  LoadTexts(*this, kRanges, *saved, true);
  LoadTexts(*this, kBatch, *saved, true);
  for (const ListKey& l : kLists)
    combo(l.list).SetListIndex(ListIndexOf(saved->ValueOrDefault(l.key, l.loadDefault()), l.loadDefault()));
  const int16_t finish = static_cast<int16_t>(plat::val(saved->ValueOrDefault("chkFinish", "").text()));
  check("chkFinish").SetValue(finish);
}

void frmFilter400::GetLookupClass(forms::Control*& box, int32_t& classId, std::string& condition, bool billLookup) {
  AnswerLookup(kLookups, box, classId, condition, billLookup);
}

}  // namespace production
