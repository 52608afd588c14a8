#include "platform/ado/recordset.h"

#include <gtest/gtest.h>

using namespace ado;

namespace {
RecordsetRef costLike() {
  auto rs = newRecordset();
  rs->Append("FNumber", adVarChar, 355);
  rs->Append("FCurInCost", adDecimal, 18);
  rs->SetNumericScale("FCurInCost", 18, 2);
  rs->Append("FQtyDecimal", adInteger, 0);
  rs->Append("FDate", adDate, 0);
  rs->Open();
  return rs;
}
}  // namespace

// Rows added, read and walked are every report's main path; here what none of them does.
TEST(Recordset, RejectsWhatADODoesNotAllow) {
  auto rs = costLike();
  EXPECT_TRUE(rs->Eof());
  EXPECT_THROW(rs->MoveNext(), plat::Error) << "past the end";
  EXPECT_THROW(rs->Value("FNumber"), plat::Error) << "no current row";
  EXPECT_THROW(rs->Append("Late", adVarChar, 10), plat::Error);  // after Open
  rs->AddNew();
  rs->Fields("fcurincost") = 10.005;  // names ignore case; scale 2 rounds
  EXPECT_DOUBLE_EQ(rs->Value("FCurInCost").toDouble(), 10.01);
  EXPECT_THROW(rs->Fields("Missing"), plat::Error);
  EXPECT_THROW(rs->Fields("FCurInCost") = "abc", plat::Error);
  rs->Fields("FCurInCost") = "";  // an empty text in a number field is Null
  EXPECT_TRUE(rs->Value("FCurInCost").isNull());
  rs->Fields("FDate") = "2025-11-30";
  EXPECT_EQ(rs->Value("FDate").toDate(), plat::Date(2025, 11, 30));
  auto closed = newRecordset();
  closed->Append("A", adVarChar, 10);
  EXPECT_THROW(closed->AddNew(), plat::Error);
}

// Enough rows to span several storage blocks and to make the texts of a mostly distinct
// field stop being shared, with whole and fractional numbers, Nulls and long texts mixed in.
TEST(Recordset, LargeResultsKeepEveryValue) {
  auto rs = newRecordset();
  rs->Append("FBillNo", adVarChar, 355);   // distinct per row
  rs->Append("FUnitName", adVarChar, 355); // a few texts repeated
  rs->Append("FQty", adDecimal, 18);       // whole at first, fractional later
  rs->Append("FSerial", adBigInt, 0);
  rs->Append("FNote", adVarChar, 355);     // mostly Null, some long
  rs->Open();
  constexpr size_t kRows = 200'000;
  const std::string units[] = {"个", "箱", "", "千克"};
  const std::string longText(70'000, 'x');  // longer than any storage block
  auto qty = [](size_t r) { return r < 100'000 ? static_cast<double>(r) - 50'000 : static_cast<double>(r) / 3; };
  for (size_t r = 0; r < kRows; ++r) {
    rs->AddNew();
    rs->SetText(r, 0, "WORK" + std::to_string(r));
    rs->SetText(r, 1, units[r % 4]);
    if (r % 7 != 0) rs->SetNumber(r, 2, qty(r));
    rs->SetNumber(r, 3, static_cast<double>(r) * 20'000);  // past 32 bits from row 107,375
    if (r % 1000 == 1) rs->SetText(r, 4, r == 1 ? longText : "注" + std::to_string(r));
  }
  const std::string_view firstUnit = rs->TextAt(0, 1);  // views stay valid as rows are added
  ASSERT_EQ(rs->RecordCount(), static_cast<long>(kRows));
  for (size_t r = 0; r < kRows; ++r) {
    ASSERT_EQ(rs->TextAt(r, 0), "WORK" + std::to_string(r)) << r;
    ASSERT_EQ(rs->TextAt(r, 1), units[r % 4]) << r;
    ASSERT_FALSE(rs->IsNullAt(r, 1));
    ASSERT_EQ(rs->IsNullAt(r, 2), r % 7 == 0) << r;
    if (r % 7 != 0) {
      ASSERT_EQ(rs->NumberAt(r, 2), qty(r)) << r;
    }
    ASSERT_EQ(rs->NumberAt(r, 3), static_cast<double>(r) * 20'000) << r;
    ASSERT_EQ(rs->IsNullAt(r, 4), r % 1000 != 1) << r;
  }
  EXPECT_EQ(firstUnit, "个");
  EXPECT_EQ(rs->TextAt(1, 4), longText);
  EXPECT_EQ(rs->TextAt(1001, 4), "注1001");
  rs->MoveFirst();
  EXPECT_TRUE(rs->Value("FNote").isNull());
  EXPECT_EQ(rs->Value("FUnitName").text(), "个");
  EXPECT_EQ(rs->ValueAt(3, 2).type(), plat::VarType::Double);
  EXPECT_DOUBLE_EQ(rs->ValueAt(3, 2).toDouble(), -49'997);

  // Overwritten cells read their new value; a number turned Null and back keeps the new one.
  // A view taken before still shows the former text.
  const std::string_view former = rs->TextAt(5, 1);
  rs->SetText(5, 1, "吨");
  rs->SetNull(6, 2);
  rs->SetNumber(8, 2, -0.5);
  rs->SetNull(9, 1);
  EXPECT_EQ(rs->TextAt(5, 1), "吨");
  EXPECT_EQ(rs->TextAt(4, 1), "个");
  EXPECT_TRUE(rs->IsNullAt(6, 2));
  EXPECT_EQ(rs->NumberAt(8, 2), -0.5);
  EXPECT_TRUE(rs->IsNullAt(9, 1));
  EXPECT_EQ(rs->TextAt(9, 1), "");
  EXPECT_THROW(rs->SetText(kRows, 1, "x"), plat::Error);
  EXPECT_THROW(rs->SetNumber(0, 1, 1), plat::Error);  // a text field
  EXPECT_EQ(former, "箱");
}

// Past the different texts its 32-bit codes can name a field refuses a new text and the cell
// keeps its value; texts already stored can still be written.
TEST(Recordset, TextStoreRefusesTextsPastItsLimit) {
  detail::TextColumn column(3);
  for (int r = 0; r < 5; ++r) column.addNull();
  column.set(0, "a");
  column.set(1, "b");
  column.set(2, "c");
  EXPECT_THROW(column.set(3, "d"), plat::Error);
  EXPECT_TRUE(column.isNull(3));
  column.set(4, "a");
  EXPECT_EQ(column.get(4), "a");
  EXPECT_EQ(column.get(2), "c");
}
