// The period filter dialog both cost reports share: a range of accounting periods, a range of
// product codes, and the check that refuses a range ending after the current period. The
// report filter grid drives it; the report reads Result after the modal show. frmFilter499
// and frmFilter498 add what is their own through the hooks below.
#pragma once

#include <cstdint>
#include <string>

#include "frame/report/filter_dialog.h"
#include "platform/core/object.h"

namespace cost {

class PeriodFilterDialog : public frame::FilterDialog {
 public:
  // True when the end of the range ("EYear", "EPeriod", compared as numbers) lies after the
  // current period of the stock module. Any failure (the service, a year that is not a
  // number) is shown with the exclamation icon and the answer is false: the filter passes.
  bool RptFilterPeriodExpire(lumo::DictionaryRef rFilterPeriod);
  // Never set by these dialogs.
  plat::ObjectRef FilterObject() const { return nullptr; }

  forms::TextBox& txtPeriod(int index) const { return get<forms::TextBox>("txtPeriod", index); }

 protected:
  PeriodFilterDialog(std::string name, std::string caption, int32_t rptId);

  // What a dialog adds to the shared steps.
  virtual void LoadOwnControls() {}                           // at load, before the grid
  virtual void SaveOwnKeys(lumo::Dictionary& filter) = 0;     // after the period and product keys
  virtual void LoadOwnKeys(const lumo::Dictionary& saved) = 0;
  virtual void AddOwnDoneKeys(lumo::Dictionary& result) { (void)result; }

  void onLoad() override;
  void CheckFilter(bool& cancel) override;
  void SaveFilter(lumo::DictionaryRef& filter) override;
  void FilterDone(bool& cancel) override;
  void LoadFilter(lumo::DictionaryRef& saved) override;
  void GetLookupClass(forms::Control*& box, int32_t& classId, std::string& condition, bool billLookup) override;

 private:
  void addPeriodRow(const std::string& label, int yearBox, const char* yearUpDown, const char* periodUpDown);
  void addItemRange();
};

// The message of a refused range and the title of every box of these dialogs.
inline constexpr const char* kPeriodExpiredMessage = "过滤条件不允许包含以后期间数据，点击确定返回。";
inline constexpr const char* kMessageTitle = "Ostrel提示";

}  // namespace cost
