// The scheme text keeps every key, value and type, and refuses damaged text cleanly.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "platform/ado/recordset.h"
#include "platform/grfc/scheme_codec.h"
#include "platform/lumo/vector.h"
#include "support/dictionary_text.h"

namespace {

using plat::Variant;

lumo::DictionaryRef sample() {
  auto nested = lumo::newDictionary();
  nested->SetValue("FSQLColumnName", "FDeptID");
  nested->SetValue("FItemClassID", int32_t{0});
  auto list = lumo::newVector();
  // Added from named values: GCC 12 misreads a moved temporary variant as uninitialised.
  const std::vector<Variant> items = {Variant(int16_t{-7}), Variant("含;分号:和{括号}"), Variant(), Variant::null()};
  for (const auto& item : items) list->Add(item);
  auto d = lumo::newDictionary();
  d->SetValue("Empty", Variant());
  d->SetValue("Null", Variant::null());
  d->SetValue("Yes", true);
  d->SetValue("No", false);
  d->SetValue("Small", int16_t{-32768});
  d->SetValue("Long", int32_t{2147483647});
  d->SetValue("Third", 1.0 / 3.0);
  d->SetValue("Huge", -1e300);
  d->SetValue("Tiny", -4.9e-324);
  d->SetValue("NegZero", -0.0);
  d->SetValue("Date", plat::Date(1999, 12, 31));
  d->SetValue("Text", "");
  d->SetValue("DateText", "2024-12-31");  // a date as text stays text
  d->SetValue("产品代码", "A'B\n 12");
  d->SetValue("SumField", nested);
  d->SetValue("List", list);
  return d;
}

// Every double of a dictionary, nested ones included, as its bits: the sign of zero and a
// denormal must come back exactly, which their text would not show.
void collectBits(const lumo::Dictionary& d, std::vector<uint64_t>& out) {
  for (const auto& [key, value] : d.entries()) {
    if (value.type() == plat::VarType::Double) out.push_back(std::bit_cast<uint64_t>(value.toDouble()));
    if (auto nested = value.tryAs<lumo::Dictionary>()) collectBits(*nested, out);
  }
}

TEST(SchemeCodec, RoundTripsEveryValueType) {
  auto original = sample();
  std::string text = grfc::encodeFilter(*original);
  auto back = grfc::decodeFilter(text);
  EXPECT_EQ(support::dictionaryText(*back), support::dictionaryText(*original));
  std::vector<uint64_t> before, after;
  collectBits(*original, before);
  collectBits(*back, after);
  EXPECT_EQ(after, before);
  EXPECT_EQ(grfc::encodeFilter(*back), text);
}

TEST(SchemeCodec, EveryTruncationFailsCleanly) {
  std::string text = grfc::encodeFilter(*sample());
  for (size_t n = 0; n < text.size(); ++n)
    EXPECT_THROW(grfc::decodeFilter(std::string_view(text).substr(0, n)), plat::Error) << "prefix of " << n;
}

TEST(SchemeCodec, MalformedTextNamesTheOffset) {
  struct Case {
    std::string text;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"", "Malformed filter scheme at offset 0: not a filter scheme"},
      {"TAVF1{1;1:aX}", "Malformed filter scheme at offset 11: unknown value tag 'X'"},
      {"TAVF1{1;1:al99999999999;}", "Malformed filter scheme at offset 12: bad number '99999999999'"},
      {"TAVF1{1;1:aD2024-13-01;}", "Malformed filter scheme at offset 12: bad date"},
      {"TAVF1{2;1:aT1:AF}", "Malformed filter scheme at offset 12: key 'A' appears twice"},
      {"TAVF1{9;1:aT}", "Malformed filter scheme at offset 8: a count larger than the text can hold"},
      {"TAVF1{1;1:as9:abc}", "Malformed filter scheme at offset 14: a text runs past the end"},
      {"TAVF1{0;}}", "Malformed filter scheme at offset 9: text after the end of the scheme"},
  };
  for (const auto& c : cases) {
    try {
      grfc::decodeFilter(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const plat::Error& e) {
      EXPECT_EQ(e.description(), c.message) << c.text;
    }
  }
}

TEST(SchemeCodec, RefusesObjectsItCannotKeep) {
  auto d = lumo::newDictionary();
  d->SetValue("Rs", ado::newRecordset());
  EXPECT_THROW(grfc::encodeFilter(*d), plat::Error);
}

}  // namespace
