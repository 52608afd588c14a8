// The worker most reports share: columns, data-right clauses, one call of the report data
// service, the record set published as it came.
#pragma once

#include <string>

#include "frame/report/report.h"
#include "frame/services/services.h"

namespace frame {

class ModelReport : public Report {
 public:
  plat::Variant GetRptList() override;

 protected:
  using Report::Report;

  virtual void AddColumns(lumo::Vector& header) = 0;
  virtual lumo::VectorRef DataRightTables() const = 0;
  virtual lumo::VectorRef DataRightRules() const = 0;
  // The report's member of the data service; `filter` may come back replaced.
  virtual ado::RecordsetRef FetchRows(svc::ShopRptData& service, const std::string& props,
                                      lumo::DictionaryRef& filter) = 0;

  // Builds the data-right clauses and stores them as "DataRightFrom" and "DataRightWhere".
  void ApplyDataRight(const lumo::Vector& tables, const lumo::Vector& rules);
};

}  // namespace frame
