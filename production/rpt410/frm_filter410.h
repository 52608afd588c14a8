// frmFilter410: the filter dialog of the overdue warning report. Texts are stored as typed and
// dates as date values; a begin date after its end date is refused.
#pragma once

#include <string>

#include "frame/report/filter_dialog.h"

namespace production {

class frmFilter410 : public frame::FilterDialog {
 public:
  frmFilter410();

  void CheckFilter(bool& cancel) override;
  void SaveFilter(lumo::DictionaryRef& filter) override;
  void FilterDone(bool& cancel) override;
  void LoadFilter(lumo::DictionaryRef& saved) override;
  void GetLookupClass(forms::Control*& box, int32_t& classId, std::string& condition, bool billLookup) override;

 protected:
  void onLoad() override;
};

}  // namespace production
