#include "production/rpt410/frm_filter410.h"

#include <array>

#include "frame/host/context.h"
#include "platform/forms/front_end.h"
#include "production/common/dialog_tables.h"
#include "production/rpt410/filter_keys.h"

namespace production {
namespace {

using namespace task_boxes;

struct DateKey {
  const char* key;
  const char* picker;
};
constexpr std::array<DateKey, 4> kDates{{{"BWorkDate", "DtpBWorkDate"},
                                         {"EWorkDate", "DtpEWorkDate"},
                                         {"BFinishDate", "DtpBFinishDate"},
                                         {"EFinishDate", "DtpEFinishDate"}}};

}  // namespace

frmFilter410::frmFilter410() : FilterDialog("frmFilter410", "过滤", 410) {
  beginFrame("fraDate", "");
  addDateRange("开工日期:", "DtpBWorkDate", "DtpEWorkDate");
  addDateRange("完工日期:", "DtpBFinishDate", "DtpEFinishDate");
  endFrame();
  beginFrame("fraItem", "");
  addTextRange("物料代码:", "txtItem", 0, 1);
  addTextRange("部门代码:", "txtItem", 2, 3);
  addTextRange("生产任务单号:", "txtItem", 4, 5);
  addTextRange("业务员:", "txtItem", 6, 7);
  endFrame();
  beginFrame("fraShow", "");
  addList("单据状态:", "cmbCheckState", kRpt410Keys.at("CheckState"));
  addList("是否关闭:", "cmbCheckClose", kRpt410Keys.at("CheckClose"));
  endFrame();
}

void frmFilter410::onLoad() {
  combo("cmbCheckState").SetListIndex(kRpt410Keys.at("CheckState").defaultIndex());
  combo("cmbCheckClose").SetListIndex(kRpt410Keys.at("CheckClose").defaultIndex());
  // Before a scheme is restored the pickers span every date, as ShowNoFilter's filter does.
  picker("DtpBWorkDate").SetValue(plat::Date(1900, 1, 1));
  picker("DtpEWorkDate").SetValue(plat::Date(2100, 1, 1));
  picker("DtpBFinishDate").SetValue(plat::Date(1900, 1, 1));
  picker("DtpEFinishDate").SetValue(plat::Date(2100, 1, 1));
  SetResultDictionary(lumo::newDictionary());
  Result()->SetValue("OK", false);
  InitGrid();
}

void frmFilter410::CheckFilter(bool& cancel) {
  for (const auto& [from, to] : {std::pair{"DtpBWorkDate", "DtpEWorkDate"}, std::pair{"DtpBFinishDate", "DtpEFinishDate"}}) {
    if (picker(from).Value() <= picker(to).Value()) continue;
    forms::MsgBox(frame::Msg("起始日期不能大于截至日期"), forms::vbInformation, frame::Msg("Ostrel提示"));
    picker(from).SetValue(picker(to).Value());
    cancel = true;
  }
}

void frmFilter410::SaveFilter(lumo::DictionaryRef& filter) {
  SaveTexts(*this, kBills, *filter, false);
  for (const DateKey& d : kDates) filter->SetValue(d.key, picker(d.picker).Value());
  SaveTexts(*this, kCodes, *filter, false);
  filter->SetValue("CheckState", ListValue(*this, "cmbCheckState"));
  filter->SetValue("CheckClose", ListValue(*this, "cmbCheckClose"));
}

void frmFilter410::FilterDone(bool& cancel) {
  SetFilterString(grid().GetFilterText(0));
  lumo::DictionaryRef result = grid().GetFilter();
  SetResultDictionary(result ? result : lumo::newDictionary());
  Result()->SetValue("OK", !cancel);
}

void frmFilter410::LoadFilter(lumo::DictionaryRef& saved) {
  for (const DateKey& d : kDates) {
    const plat::Variant value = saved->ValueOrDefault(d.key, "");
    if (value.isDateLike()) picker(d.picker).SetValue(value.toDate());
  }
  LoadTexts(*this, kLoadOrder, *saved, false);
  combo("cmbCheckState").SetListIndex(ListIndexOf(saved->ValueOrDefault("CheckState", ""), 0));
  // "CheckClose" is not restored: the list keeps its load default "未关闭".
}

void frmFilter410::GetLookupClass(forms::Control*& box, int32_t& classId, std::string& condition, bool billLookup) {
  AnswerLookup(kLookups, box, classId, condition, billLookup);
}

}  // namespace production
