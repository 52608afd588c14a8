// Placing a progress message's period in the report's range.
#include "app/tui/period_progress.h"

#include <algorithm>
#include <charconv>

#include "platform/core/variant.h"

namespace app {
namespace {

std::optional<int> wholeNumber(const plat::Variant& v) {
  if (v.isEmpty() || v.isNull()) return std::nullopt;
  const std::string text = plat::trim(v.text());
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The digits ending just before `pos`, or nothing.
std::optional<int> numberBefore(std::string_view text, size_t pos) {
  size_t start = pos;
  while (start > 0 && text[start - 1] >= '0' && text[start - 1] <= '9') --start;
  if (start == pos || pos - start > 6) return std::nullopt;
  int value = 0;
  std::from_chars(text.data() + start, text.data() + pos, value);
  return value;
}

}  // namespace

int PeriodSpan::count() const {
  const int span = (lastYear - firstYear) * perYear + (lastPeriod - firstPeriod) + 1;
  return std::max(1, span);
}

std::optional<PeriodSpan> periodSpanOf(const lumo::Dictionary& filter, int perYear) {
  const auto by = wholeNumber(filter.Value("BYear")), bp = wholeNumber(filter.Value("BPeriod"));
  const auto ey = wholeNumber(filter.Value("EYear")), ep = wholeNumber(filter.Value("EPeriod"));
  if (!by || !bp || !ey || !ep) return std::nullopt;
  return PeriodSpan{*by, *bp, *ey, *ep, perYear > 0 ? perYear : 12};
}

std::optional<PeriodStep> periodStepOf(std::string_view message, const PeriodSpan& span) {
  constexpr std::string_view kYear = "年第", kPeriod = "期";
  const size_t yearAt = message.find(kYear);
  if (yearAt == std::string_view::npos) return std::nullopt;
  const auto year = numberBefore(message, yearAt);
  const size_t periodAt = message.find(kPeriod, yearAt + kYear.size());
  if (!year || periodAt == std::string_view::npos) return std::nullopt;
  const auto period = numberBefore(message, periodAt);
  if (!period || periodAt != yearAt + kYear.size() + std::to_string(*period).size()) return std::nullopt;
  const int index = (*year - span.firstYear) * span.perYear + (*period - span.firstPeriod) + 1;
  if (index < 1 || index > span.count()) return std::nullopt;
  return PeriodStep{index, span.count()};
}

}  // namespace app
