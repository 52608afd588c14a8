// frmFilter406: the filter dialog of the material issue variance report. Texts are stored as
// typed and dates as date values; it refuses nothing.
#pragma once

#include <string>

#include "frame/report/filter_dialog.h"

namespace production {

class frmFilter406 : public frame::FilterDialog {
 public:
  frmFilter406();

  void ResetControls() override;
  void SaveFilter(lumo::DictionaryRef& filter) override;
  void FilterDone(bool& cancel) override;
  void LoadFilter(lumo::DictionaryRef& saved) override;
  void GetLookupClass(forms::Control*& box, int32_t& classId, std::string& condition, bool billLookup) override;

 protected:
  void onLoad() override;
};

}  // namespace production
