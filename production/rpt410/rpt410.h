// Rpt410: the production task overdue warning report ("生产任务超期预警"): the tasks past
// their planned finish date with what is still unfinished.
#pragma once

#include <memory>

#include "production/common/table_report.h"

namespace production {

class Rpt410 : public TableReport {
 public:
  Rpt410();

  // Installs a filter that selects everything ("OK" true), without a dialog; running it is
  // GetReportData's.
  void ShowNoFilter();

 protected:
  std::shared_ptr<frame::FilterDialog> CreateFilterDialog() override;
  ado::RecordsetRef FetchRows(svc::ShopRptData& service, const std::string& props,
                              lumo::DictionaryRef& filter) override;
};

}  // namespace production
