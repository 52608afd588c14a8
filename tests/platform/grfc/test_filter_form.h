// A small filter dialog on the report filter grid, built and answering events as the report
// dialogs do, with a record of the events it saw.
#pragma once

#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/grfc/grfc.h"

namespace grfc_test {

using namespace forms;

class TestFilterForm : public Form, public grfc::ReportFilterEvents {
 public:
  static constexpr int32_t kRptId = 400;

  TestFilterForm() : Form("frmFilterTest"), grid(grfc::ReportFilter::addTo(*this)) {
    SetCaption("过滤");
    beginFrame("fraPeriod", "日期");
    add<Label>("lblBDate").SetCaption("起始日期:");
    add<DatePicker>("DtpBDate");
    add<Label>("lblTo", 0).setInline(true).SetCaption("至:");
    add<DatePicker>("DtpEDate");
    endFrame();
    beginFrame("fraItem", "代码");
    range("lblItem", "产品代码:", 0);
    range("lblEmp", "业务员代码:", 2);
    add<Label>("lblBill").SetCaption("任务单编号:");
    add<TextBox>("txtItem", 4);
    endFrame();
    beginFrame("fraShow", "显示");
    add<Label>("lblState").SetCaption("单据状态:");
    add<ComboBox>("cmbCheckState");
    auto& finish = add<CheckBox>("chkFinish");
    finish.SetCaption("考虑完工日期");
    finish.setStartsRow(true);
    endFrame();
  }

  bool autoFilter = false;
  bool peekDuringCheck = false;  // CheckFilter reads the grid's filter, as the cost dialogs do
  std::vector<std::string> events;
  std::string checkedItem;  // "BItemNumber" as GetFilter() showed it during the check
  lumo::DictionaryRef result;
  lumo::DictionaryRef restored;  // the dictionary LoadFilter received last
  std::string filterString;
  grfc::ReportFilter& grid;

  TextBox& item(int i) { return get<TextBox>("txtItem", i); }
  ComboBox& state() { return get<ComboBox>("cmbCheckState"); }

 protected:
  void onLoad() override {
    for (const char* s : {"已审核", "未审核", "全部"}) state().AddItem(s);
    state().SetListIndex(2);
    result = lumo::newDictionary();
    result->SetValue("OK", false);
    grid.SetAutoFilter(autoFilter);
    grid.Init(kRptId);
  }

  void ResetControls() override { state().SetListIndex(0); }
  void CheckFilter(bool&) override {
    events.push_back("CheckFilter");
    if (peekDuringCheck) checkedItem = grid.GetFilter()->Value("BItemNumber").text();
  }
  void SaveFilter(lumo::DictionaryRef& filter) override {
    events.push_back("SaveFilter");
    filter->SetValue("BDate", get<DatePicker>("DtpBDate").Value().iso());
    filter->SetValue("EDate", get<DatePicker>("DtpEDate").Value());
    filter->SetValue("BItemNumber", item(0).Text());
    filter->SetValue("EItemNumber", item(1).Text());
    filter->SetValue("CheckState", static_cast<int16_t>(state().ListIndex()));
    filter->SetValue("chkFinish", get<CheckBox>("chkFinish").Value());
    filter->SetValue("Level", plat::val(item(2).Text()) + 0.5);
    filter->SetValue("RptID", grid.RptID());
    filter->SetValue("Finished", get<CheckBox>("chkFinish").Value() == 1);
    filter->SetValue("NoValue", plat::Variant::null());
  }
  void FilterDone(bool& cancel) override {
    events.push_back(cancel ? "FilterDone(cancel)" : "FilterDone");
    filterString = grid.GetFilterText(0);
    if (auto filter = grid.GetFilter()) result = filter;
    result->SetValue("OK", !cancel);
  }
  void LoadFilter(lumo::DictionaryRef& saved) override {
    events.push_back("LoadFilter");
    restored = saved;
    if (auto d = plat::Date::parse(saved->ValueOrDefault("bdate", "").text())) get<DatePicker>("DtpBDate").SetValue(*d);
    item(0).SetText(saved->ValueOrDefault("BITEMNUMBER", "").text());
    item(1).SetText(saved->ValueOrDefault("EItemNumber", "").text());
    state().SetListIndex(saved->ValueOrDefault("CheckState", 2).toInt16());
    get<CheckBox>("chkFinish").SetValue(static_cast<int16_t>(plat::val(saved->ValueOrDefault("chkFinish", "").text())));
  }
  void GetLookupClass(Control*& box, int32_t& classId, std::string& condition, bool billLookup) override {
    events.push_back("GetLookupClass");
    switch (box->index()) {
      case 0:
      case 1:
        classId = 4;
        condition = " x2.FErpClsID<>4";
        break;
      case 2:
      case 3: classId = 3; break;
      case 4:
        if (billLookup) static_cast<TextBox*>(box)->SetText("WORK000123");  // the form's own bill lookup
        break;
    }
  }

 private:
  void range(std::string label, std::string caption, int first) {
    add<Label>(std::move(label)).SetCaption(std::move(caption));
    add<TextBox>("txtItem", first);
    add<Label>("lblTo", first + 1).setInline(true).SetCaption("至:");
    add<TextBox>("txtItem", first + 1);
  }
};

}  // namespace grfc_test
