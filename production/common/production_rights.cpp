#include "production/common/production_rights.h"

#include "frame/sql/data_right.h"

namespace production {

lumo::VectorRef ProductionRightTables() {
  auto tables = lumo::newVector();
  for (const char* table : {"T_ICItem", "t_Department", "t_Emp"}) tables->Add(table);
  return tables;
}

// "t_AuxItem" has a rule but is not in the table list, so the builder never reaches it.
lumo::VectorRef ProductionRightRules() {
  auto rules = lumo::newVector();
  rules->Add(frame::DataRightRule("T_ICItem", "FItemID", "t1", "FItemID"));
  rules->Add(frame::DataRightRule("t_Department", "FItemID", "td", "FDeptID"));
  rules->Add(frame::DataRightRule("t_Emp", "FItemID", "te", "FEmpID"));
  rules->Add(frame::DataRightRule("t_AuxItem", "FItemID", "ta", "FAuxPropID"));
  return rules;
}

}  // namespace production
