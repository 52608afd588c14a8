// One overall progress for a report that reads period by period: where the period a progress
// message names ("正在从服务器读取2024年第3期数据...") lies within the report's period range.
#pragma once

#include <optional>
#include <string_view>

#include "platform/lumo/dictionary.h"

namespace app {

struct PeriodSpan {
  int firstYear = 0, firstPeriod = 0;
  int lastYear = 0, lastPeriod = 0;
  int perYear = 12;  // accounting periods per year
  // Periods from the first to the last, both counted; at least 1.
  int count() const;
};

// The span of a filter with "BYear", "BPeriod", "EYear" and "EPeriod"; nothing when a key is
// missing or no number.
std::optional<PeriodSpan> periodSpanOf(const lumo::Dictionary& filter, int perYear);

struct PeriodStep {
  int index = 0;  // 1-based position of the period in the span
  int count = 0;
};

// The period that `message` names ("...YYYY年第P期..."), placed in `span`; nothing when the
// message names none or one outside the span.
std::optional<PeriodStep> periodStepOf(std::string_view message, const PeriodSpan& span);

}  // namespace app
