// PackageRecordset and PackageRecord on record sets of any layout, and on a report's own.
#include <gtest/gtest.h>

#include "cost/packaging/packaging.h"
#include "cost/rpt498/rpt498.h"

namespace {

// Three rows: a code with blanks around it, a Null name, a number and a date.
ado::RecordsetRef sample() {
  auto rs = ado::newRecordset();
  rs->Append("FNumber", ado::adVarChar, 355);
  rs->Append("FName", ado::adVarChar, 355);
  rs->Append("FQty", ado::adDecimal, 23);
  rs->Append("FDate", ado::adDate);
  rs->Open();
  const char* numbers[] = {"  01.01 ", "02", "03"};
  for (int i = 0; i < 3; ++i) {
    rs->AddNew();
    rs->Fields("FNumber") = numbers[i];
    if (i != 1) rs->Fields("FName") = " 电机 ";
    rs->Fields("FQty") = 1.5 * (i + 1);
    rs->Fields("FDate") = plat::Date::parse("2026-03-0" + std::to_string(i + 1)).value();
  }
  rs->MoveFirst();
  return rs;
}

TEST(Packaging, RowsFromTheCurrentPositionAsTrimmedText) {
  cost::Rpt498 owner;  // the members as a report offers them
  ado::RecordsetRef rs = sample();
  rs->MoveNext();
  auto record = owner.PackageRecord(rs);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(rs->AbsolutePosition(), 2);  // the position stays
  EXPECT_EQ(record->Count(), 4);
  EXPECT_EQ(record->Value("FNumber"), plat::Variant("02"));
  EXPECT_EQ(record->Value("FName"), plat::Variant(""));  // Null
  EXPECT_EQ(record->Value("FQty"), plat::Variant("3"));
  EXPECT_EQ(record->Value("FDate"), plat::Variant("2026-03-02"));

  auto rows = owner.PackageRecordset(rs);
  ASSERT_EQ(rows->Count(), 2);  // from the middle to the end
  EXPECT_EQ(rows->Item(1).as<lumo::Dictionary>()->Value("FNumber").text(), "02");
  EXPECT_EQ(rows->Item(2).as<lumo::Dictionary>()->Value("FName").text(), "电机");
  EXPECT_EQ(rows->Item(2).as<lumo::Dictionary>()->Value("FQty").text(), "4.5");
  EXPECT_TRUE(rs->Eof());

  // At EOF: an empty list again, and no record.
  auto again = owner.PackageRecordset(rs);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->Count(), 0);
  EXPECT_EQ(owner.PackageRecord(rs), nullptr);

  rs->MoveFirst();
  EXPECT_EQ(cost::PackageRecord(rs)->Value("FNumber").text(), "01.01");
}

TEST(Packaging, EdgeRecordSets) {
  auto noFields = ado::newRecordset();
  noFields->Open();
  noFields->AddNew();
  noFields->MoveFirst();
  auto record = cost::PackageRecord(noFields);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->Count(), 0);

  auto empty = ado::newRecordset();
  empty->Append("FNumber", ado::adVarChar, 355);
  empty->Open();
  EXPECT_EQ(cost::PackageRecordset(empty)->Count(), 0);
  EXPECT_EQ(cost::PackageRecord(empty), nullptr);

  ado::RecordsetRef nothing;
  EXPECT_THROW(cost::PackageRecordset(nothing), plat::Error);
  EXPECT_THROW(cost::PackageRecord(nothing), plat::Error);
}

}  // namespace
