// A calendar date without time of day, as the reports exchange it ("YYYY-MM-DD").
#pragma once

#include <chrono>
#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace plat {

class Date {
 public:
  Date() = default;
  Date(int year, unsigned month, unsigned day);
  explicit Date(std::chrono::sys_days days) : days_(days) {}

  static Date today();
  // Accepts "YYYY-MM-DD" and "YYYY/MM/DD" (one- or two-digit month and day); nullopt otherwise.
  static std::optional<Date> parse(std::string_view text);

  int year() const;
  unsigned month() const;
  unsigned day() const;
  std::string iso() const;  // "YYYY-MM-DD"
  std::chrono::sys_days days() const { return days_; }
  Date addDays(int n) const { return Date(days_ + std::chrono::days(n)); }
  int daysUntil(Date other) const { return static_cast<int>((other.days_ - days_).count()); }

  auto operator<=>(const Date&) const = default;

 private:
  std::chrono::sys_days days_{};
};

}  // namespace plat
