#include "cost/filter/period_filter_dialog.h"

#include "frame/host/context.h"
#include "frame/report/report.h"
#include "frame/services/class_names.h"
#include "frame/services/services.h"
#include "platform/forms/front_end.h"

namespace cost {

using frame::Msg;

PeriodFilterDialog::PeriodFilterDialog(std::string name, std::string caption, int32_t rptId)
    : frame::FilterDialog(std::move(name), std::move(caption), rptId) {
  beginFrame("fraPeriod", "");
  addPeriodRow("会计期间：", 0, "updBYear", "updBPeriod");
  addPeriodRow("至：", 2, "updEYear", "updEPeriod");
  endFrame();
  beginFrame("fraItem", "");
  addItemRange();
  endFrame();
}

// "label" txtPeriod(y) "年" txtPeriod(y + 1) "期", each box stepped by its up-down.
void PeriodFilterDialog::addPeriodRow(const std::string& label, int yearBox, const char* yearUpDown,
                                      const char* periodUpDown) {
  auto addStepped = [this](int box, const char* upDown, int32_t low, int32_t high, const char* unit) {
    auto& text = add<forms::TextBox>("txtPeriod", box);
    auto& steps = add<forms::UpDown>(upDown);
    steps.SetRange(low, high);
    steps.SetBuddy(text);
    addLabel(unit, true);
  };
  addLabel(label);
  addStepped(yearBox, yearUpDown, 1970, 9999, "年");
  addStepped(yearBox + 1, periodUpDown, 1, 12, "期");
}

// "产品代码:" txtItem(0) cmdItem(0) "至:" txtItem(1) cmdItem(1), then the class code box, which
// nothing reads. The buttons ask the grid for a code lookup.
void PeriodFilterDialog::addItemRange() {
  addLabel("产品代码:");
  for (int index : {0, 1}) {
    if (index == 1) addLabel("至:", true);
    add<forms::TextBox>("txtItem", index);
    auto& button = add<forms::CommandButton>("cmdItem", index);
    button.SetCaption("...");
    button.onClick = [this, index] { grid().Lookup(txtItem(index), false); };
  }
  addLabel("物料类别代码:");
  add<forms::TextBox>("txtItemClass");
  add<forms::CommandButton>("cmdItemClass").SetCaption("...");
}

void PeriodFilterDialog::onLoad() {
  LoadOwnControls();
  InitGrid();
}

void PeriodFilterDialog::CheckFilter(bool& cancel) {
  SetResultDictionary(grid().GetFilter());
  if (!RptFilterPeriodExpire(Result())) return;
  forms::MsgBox(Msg(kPeriodExpiredMessage), forms::vbInformation, Msg(kMessageTitle));
  cancel = true;
  Result()->SetValue("OK", false);
}

bool PeriodFilterDialog::RptFilterPeriodExpire(lumo::DictionaryRef rFilterPeriod) {
  try {
    lumo::DictionaryRef current;
    {
      auto service = frame::CreateService<svc::StockRptData>(svc::kStockRptData);
      current = service->GetCurrenPeriodDate(frame::PropsString());
    }
    if (!current || !rFilterPeriod) throw plat::Error(424, "TavShopRpt", "Object required");
    const int16_t currentPeriod = current->ValueOrDefault("CurrentPeriod", int16_t{0}).toInt16();
    const int16_t currentYear = current->ValueOrDefault("CurrentYear", int16_t{0}).toInt16();
    const double endYear = rFilterPeriod->ValueOrDefault("EYear", int16_t{0}).toDouble();
    const double endPeriod = rFilterPeriod->ValueOrDefault("EPeriod", int16_t{0}).toDouble();
    return endYear > currentYear || (endYear == currentYear && endPeriod > currentPeriod);
  } catch (const std::exception& e) {
    forms::MsgBox(frame::Describe(e), forms::vbExclamation, Msg(kMessageTitle));
    return false;
  }
}

void PeriodFilterDialog::SaveFilter(lumo::DictionaryRef& filter) {
  const char* const periodKeys[] = {"BYear", "BPeriod", "EYear", "EPeriod"};
  for (int i = 0; i < 4; ++i) filter->SetValue(periodKeys[i], txtPeriod(i).Text());
  filter->SetValue("BItemNumber", txtItem(0).Text());
  filter->SetValue("EItemNumber", txtItem(1).Text());
  SaveOwnKeys(*filter);
}

void PeriodFilterDialog::FilterDone(bool& cancel) {
  if (cancel) return;
  SetResultDictionary(grid().GetFilter());
  Result()->SetValue("OK", !cancel);
  AddOwnDoneKeys(*Result());
}

void PeriodFilterDialog::LoadFilter(lumo::DictionaryRef& saved) {
  const char* const periodKeys[] = {"BYear", "BPeriod", "EYear", "EPeriod"};
  for (int i = 0; i < 4; ++i) txtPeriod(i).SetText(saved->ValueOrDefault(periodKeys[i], "").text());
  txtItem(0).SetText(saved->ValueOrDefault("BItemNumber", "").text());
  txtItem(1).SetText(saved->ValueOrDefault("EItemNumber", "").text());
  LoadOwnKeys(*saved);
}

// The product code boxes (indexes 0 and 1) look up items of class 4 other than feature items.
// Indexes 2 to 4 answer classes 8 and 12 for code boxes these dialogs do not have.
void PeriodFilterDialog::GetLookupClass(forms::Control*& box, int32_t& classId, std::string& condition, bool) {
  switch (box ? box->index() : -1) {
    case 0:
    case 1:
      classId = 4;
      condition = " x2.FErpClsID<>4";
      break;
    case 2:
    case 3: classId = 8; break;
    case 4: classId = 12; break;
    default: break;
  }
}

}  // namespace cost
