// Rpt406's filter keys: what frmFilter406 writes and GetRpt406Data reads. Texts are stored as
// typed, dates as date values.
#pragma once

#include "production/common/task_choices.h"

namespace production {
namespace rpt406 {

using K = frame::KeyType;

inline constexpr frame::FilterKey kKeys[] = {
    {"BDate", K::DateValue, "1900-01-01", "task date from"},
    {"EDate", K::DateValue, "2100-01-01", "task date to"},
    {"BItemNumber", K::Text, "", "product code from"},
    {"EItemNumber", K::Text, "", "product code to"},
    {"BDeptNumber", K::Text, "", "department code from"},
    {"EDeptNumber", K::Text, "", "department code to"},
    {"BEmpNumber", K::Text, "", "salesman code from"},
    {"EEmpNumber", K::Text, "", "salesman code to"},
    {"BMOBillNo", K::Text, "", "production task number from"},
    {"EMOBillNO", K::Text, "", "production task number to"},
    {"DisplayType", K::Int16, "0", "rows shown (显示)", choices::kDisplayType, 0, 1},
    {"CheckState", K::Int16, "0", "bill state (单据状态)", choices::kCheckState, 0, 2},
    {"CheckClose", K::Int16, "2", "closed state (是否关闭)", choices::kCheckClose, 0, 2},
};

}  // namespace rpt406

inline constexpr frame::FilterKeys kRpt406Keys{406, rpt406::kKeys};

}  // namespace production
