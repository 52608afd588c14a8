// frmFilter401, the filter dialog of the production task execution summary: task dates, code
// ranges, batch text, the summary basis with its class levels, and the state lists. The
// report filter grid drives it; the report reads Result after the modal show.
#pragma once

#include "frame/report/filter_dialog.h"

namespace production {

class frmFilter401 : public frame::FilterDialog {
 public:
  frmFilter401();

  forms::TextBox& txtlevel(int index) const { return get<forms::TextBox>("txtlevel", index); }

 protected:
  void onLoad() override;

  void ResetControls() override;
  void CheckFilter(bool& cancel) override;
  void SaveFilter(lumo::DictionaryRef& filter) override;
  void FilterDone(bool& cancel) override;
  void LoadFilter(lumo::DictionaryRef& saved) override;
  void GetLookupClass(forms::Control*& box, int32_t& classId, std::string& condition, bool billLookup) override;

 private:
  void addCodeRange(const std::string& label, int first, int second);
  void addLevelRange();
};

}  // namespace production
