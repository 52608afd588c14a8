// Rpt406: the production task material issue variance analysis report
// ("生产任务领料差异分析表"): per task and material, standard usage, planned and actual issue
// and their variance. Its report number text starts as "400".
#pragma once

#include <memory>

#include "production/common/table_report.h"

namespace production {

class Rpt406 : public TableReport {
 public:
  Rpt406();

 protected:
  std::shared_ptr<frame::FilterDialog> CreateFilterDialog() override;
  ado::RecordsetRef FetchRows(svc::ShopRptData& service, const std::string& props,
                              lumo::DictionaryRef& filter) override;
};

}  // namespace production
