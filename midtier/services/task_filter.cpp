#include "midtier/services/task_filter.h"

#include <cctype>
#include <limits>

#include "midtier/db/sqlite_error.h"
#include "midtier/services/database_errors.h"
#include "platform/core/date.h"

namespace midtier::tasks {
namespace {

// Reads the few SQL pieces a filter may carry, one token at a time; blanks between tokens
// are skipped. Words compare without regard to case.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}

  bool done() {
    skipBlanks();
    return at_ == text_.size();
  }
  bool symbol(char c) {
    skipBlanks();
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  // An identifier, optionally in brackets; "" when there is none.
  std::string identifier() {
    skipBlanks();
    const bool bracketed = at_ < text_.size() && text_[at_] == '[';
    size_t end = at_ + (bracketed ? 1 : 0);
    if (end >= text_.size() || !(std::isalpha(static_cast<unsigned char>(text_[end])) || text_[end] == '_')) return {};
    const size_t start = end;
    while (end < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[end])) || text_[end] == '_')) ++end;
    std::string name(text_.substr(start, end - start));
    if (bracketed) {
      if (end >= text_.size() || text_[end] != ']') return {};
      ++end;
    }
    at_ = end;
    return name;
  }
  bool word(std::string_view w) {
    const size_t before = at_;
    if (lumo::foldCase(identifier()) == lumo::foldCase(w)) return true;
    at_ = before;
    return false;
  }
  bool digits() {
    skipBlanks();
    const size_t start = at_;
    while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
    return at_ > start;
  }

 private:
  void skipBlanks() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
  }
  std::string_view text_;
  size_t at_ = 0;
};

// " CharIndex('<digits>',<alias>.FRightUserID)>0 ", the data-right builder's condition.
bool rightCondition(Cursor& c) {
  return c.word("CharIndex") && c.symbol('(') && c.symbol('\'') && c.digits() && c.symbol('\'') && c.symbol(',') &&
         !c.identifier().empty() && c.symbol('.') && c.word("FRightUserID") && c.symbol(')') && c.symbol('>') &&
         c.symbol('0');
}

std::string undoubled(std::string text) {
  for (size_t at = text.find("''"); at != std::string::npos; at = text.find("''", at + 1)) text.erase(at, 1);
  return text;
}

}  // namespace

std::string FilterValues::text(std::string_view key) const {
  const plat::Variant value = filter_.Value(key);
  if (value.isObject()) return {};
  std::string text = plat::trim(value.text());
  return quotes_ == Quotes::Doubled ? undoubled(std::move(text)) : text;
}

std::string FilterValues::date(std::string_view key, std::string_view label) const {
  const plat::Variant value = filter_.Value(key);
  if (value.isDate()) return value.toDate().iso();
  const std::string text = value.isObject() ? std::string() : plat::trim(value.text());
  if (text.empty()) return {};
  if (auto date = plat::Date::parse(text)) return date->iso();
  throw refusal(kSource, std::string(label) + "“" + text + "”不是有效的日期（应为 YYYY-MM-DD）。");
}

int FilterValues::list(std::string_view key, int absent) const {
  const plat::Variant value = filter_.Value(key);
  if (value.isNumber()) return value.toInt32();
  if (value.isEmpty() || value.isNull() || value.isObject() || plat::trim(value.text()).empty()) return absent;
  return static_cast<int>(plat::val(plat::trim(value.text())));
}

bool FilterValues::longNumbers() const {
  const plat::Variant value = filter_.Value("bLongNumber");
  if (value.isEmpty() || value.isNull()) return true;
  if (value.isNumber()) return value.toDouble() != 0;
  const std::string text = lumo::foldCase(plat::trim(value.text()));
  return !(text == "false" || text == "0");
}

void Conditions::add(std::string condition, Value value) {
  add(std::move(condition));
  values_.push_back(std::move(value));
}

void Conditions::range(const std::string& column, const std::string& begin, const std::string& end) {
  if (!begin.empty()) add(column + " >= ?", begin);
  if (!end.empty()) add(column + " <= ?", end);
}

void Conditions::choice(const FilterValues& values, const frame::FilterKey& key, std::string_view alias,
                        const std::string& today) {
  const frame::KeyChoice* chosen = key.choice(values.list(key.name, std::numeric_limits<int>::min()));
  if (!chosen || chosen->condition.empty()) return;
  std::string condition;
  for (char c : chosen->condition) {
    if (c == '$') {
      condition += alias;
      continue;
    }
    if (c == '?') values_.emplace_back(today);
    condition += c;
  }
  add(std::move(condition));
}

dbi::Values Conditions::params(dbi::Values before) const {
  for (const Value& v : values_) {
    if (const auto* text = std::get_if<std::string>(&v))
      before.emplace_back(*text);
    else
      before.emplace_back(std::get<int64_t>(v));
  }
  return before;
}

void checkDataRight(const lumo::Dictionary& filter) {
  const std::string from = filter.Value("DataRightFrom").text();
  const std::string where = filter.Value("DataRightWhere").text();
  if (!plat::trim(from).empty())
    throw refusal(kSource, "生产任务查询不接受数据权限的 FROM 子句：“" + db::abbreviateSql(from) + "”");
  if (plat::trim(where).empty()) return;
  Cursor c(where);
  bool understood = rightCondition(c);
  while (understood && !c.done()) understood = c.word("And") && rightCondition(c);
  if (!understood)
    throw refusal(kSource, "不能识别的数据权限条件，拒绝执行：“" + db::abbreviateSql(where) + "”");
}

std::string orderBy(std::string_view text, std::span<const std::string_view> fields, std::string_view fallback) {
  if (plat::trim(text).empty()) return " ORDER BY " + std::string(fallback);
  std::string out;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    const std::string_view piece = text.substr(start, comma - start);
    // [alias.]field [ASC|DESC]
    Cursor c(piece);
    std::string name = c.identifier();
    if (c.symbol('.')) name = c.identifier();
    const bool descending = c.word("DESC");
    if (!descending) c.word("ASC");
    std::string field;
    if (c.done())
      for (std::string_view f : fields)
        if (!name.empty() && lumo::foldCase(f) == lumo::foldCase(name)) field = std::string(f);
    if (field.empty()) throw refusal(kSource, "不能按“" + plat::trim(piece) + "”排序：排序只能使用报表的字段名。");
    out += (out.empty() ? " ORDER BY \"" : ", \"") + field + "\"" + (descending ? " DESC" : "");
    start = comma + 1;
  }
  return out;
}

void appendTotalRow(ado::Recordset& rs, std::string_view labelField, std::span<const std::string_view> sumFields) {
  const size_t rows = static_cast<size_t>(rs.RecordCount());
  std::vector<std::pair<size_t, double>> sums;
  for (std::string_view name : sumFields) {
    const long index = rs.FieldIndex(name);
    if (index < 0) throw refusal(kSource, "合计行缺少字段“" + std::string(name) + "”。");
    const size_t field = static_cast<size_t>(index);
    double sum = 0;
    for (size_t row = 0; row < rows; ++row) sum += rs.NumberAt(row, field);
    sums.emplace_back(field, sum);
  }
  rs.AddNew();
  rs.SetValue(labelField, "合计");
  rs.SetValue("FSumSort", int32_t{101});
  for (const auto& [field, sum] : sums) rs.SetNumber(rows, field, sum);
  rs.MoveFirst();
}

std::string today() { return plat::Date::today().iso(); }

}  // namespace midtier::tasks
