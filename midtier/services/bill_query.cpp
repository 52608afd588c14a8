// Recognising the bill-number lookup's query.
#include "midtier/services/bill_query.h"

#include "midtier/services/text_shape.h"

namespace midtier {

std::optional<BillQuery> parseBillQuery(std::string_view text) {
  TextShape shape(text);
  if (!shape.word("Select") || !shape.word("FBillNo") || !shape.word("From")) return std::nullopt;
  const std::optional<std::string_view> table = shape.oneOf({"SEOrder", "ICMO"});
  if (!table || !shape.word("Where") || !shape.word("FInterID") || !shape.symbol("=")) return std::nullopt;
  const std::optional<int64_t> id = shape.integer();
  if (!id || !shape.atEnd()) return std::nullopt;
  return BillQuery{*table, *id};
}

}  // namespace midtier
