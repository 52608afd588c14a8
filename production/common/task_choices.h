// The list choices the production task dialogs share, with the condition each puts on the tasks
// ("$" is the task table's alias). Rpt410's dialog lists the states with "全部" first.
#pragma once

#include "frame/report/filter_keys.h"

namespace production::choices {

inline constexpr frame::KeyChoice kCheckState[] = {
    {0, "已审核", "$.FCheckerID <> 0"}, {1, "未审核", "$.FCheckerID = 0"}, {2, "全部"}};
inline constexpr frame::KeyChoice kCheckClose[] = {
    {0, "已关闭", "$.FClosed <> 0"}, {1, "未关闭", "$.FClosed = 0"}, {2, "全部"}};
inline constexpr frame::KeyChoice kCheckStateAllFirst[] = {
    {0, "全部"}, {1, "已审核", "$.FCheckerID <> 0"}, {2, "未审核", "$.FCheckerID = 0"}};
inline constexpr frame::KeyChoice kCheckCloseAllFirst[] = {
    {0, "全部"}, {1, "已关闭", "$.FClosed <> 0"}, {2, "未关闭", "$.FClosed = 0"}};
// Whether the total row follows the tasks.
inline constexpr frame::KeyChoice kDisplayType[] = {{0, "全部"}, {1, "仅显示明细行"}};
// A check box: 0 cleared, 1 checked.
inline constexpr frame::KeyChoice kCheck[] = {{0, "否"}, {1, "是"}};

}  // namespace production::choices
