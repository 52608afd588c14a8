// frmFilter400: the filter dialog of the production task execution detail report. Texts are
// stored with every "'" doubled and dates as "YYYY-MM-DD" texts.
#pragma once

#include <string>

#include "frame/report/filter_dialog.h"

namespace production {

class frmFilter400 : public frame::FilterDialog {
 public:
  frmFilter400();

  void ResetControls() override;
  void SaveFilter(lumo::DictionaryRef& filter) override;
  void FilterDone(bool& cancel) override;
  void LoadFilter(lumo::DictionaryRef& saved) override;
  void GetLookupClass(forms::Control*& box, int32_t& classId, std::string& condition, bool billLookup) override;

 protected:
  void onLoad() override;

 private:
  // The actual-finish pickers follow chkFinish.
  void chkFinishClick();
  void addCodeRange(const std::string& label, int first, int second);
};

}  // namespace production
