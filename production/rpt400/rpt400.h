// Rpt400: the production task execution detail report ("生产任务执行情况明细表"), one row per
// production task with its planned, finished and stocked quantities in three units.
#pragma once

#include <memory>

#include "production/common/table_report.h"

namespace production {

class Rpt400 : public TableReport {
 public:
  Rpt400();

 protected:
  std::shared_ptr<frame::FilterDialog> CreateFilterDialog() override;
  ado::RecordsetRef FetchRows(svc::ShopRptData& service, const std::string& props,
                              lumo::DictionaryRef& filter) override;
};

}  // namespace production
