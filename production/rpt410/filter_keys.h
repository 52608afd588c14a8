// Rpt410's filter keys: what frmFilter410 writes and GetRpt410Data reads. Texts are stored as
// typed, dates as date values; the state lists put "全部" first.
#pragma once

#include "production/common/task_choices.h"

namespace production {
namespace rpt410 {

using K = frame::KeyType;

inline constexpr frame::FilterKey kKeys[] = {
    {"BWorkDate", K::DateValue, "1900-01-01", "work start date from"},
    {"EWorkDate", K::DateValue, "2100-01-01", "work start date to"},
    {"BFinishDate", K::DateValue, "1900-01-01", "planned finish date from"},
    {"EFinishDate", K::DateValue, "2100-01-01", "planned finish date to"},
    {"BItemNumber", K::Text, "", "material code from"},
    {"EItemNumber", K::Text, "", "material code to"},
    {"BDeptNumber", K::Text, "", "department code from"},
    {"EDeptNumber", K::Text, "", "department code to"},
    {"BEmpNumber", K::Text, "", "salesman code from"},
    {"EEmpNumber", K::Text, "", "salesman code to"},
    {"BMOBillNo", K::Text, "", "production task number from"},
    {"EMOBillNO", K::Text, "", "production task number to"},
    {"CheckState", K::Int16, "0", "bill state (单据状态)", choices::kCheckStateAllFirst, 0, 2},
    {"CheckClose", K::Int16, "2", "closed state (是否关闭)", choices::kCheckCloseAllFirst, 0, 2},
};

}  // namespace rpt410

inline constexpr frame::FilterKeys kRpt410Keys{410, rpt410::kKeys};

}  // namespace production
