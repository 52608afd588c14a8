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

TEST(Recordset, RowsAreAddedReadAndWalked) {
  auto rs = costLike();
  EXPECT_TRUE(rs->Eof());
  for (int i = 0; i < 3; ++i) {
    rs->AddNew();
    rs->Fields("FNumber") = "P" + std::to_string(i);
    rs->Fields("fcurincost") = 10.005 + i;  // names ignore case; scale 2 rounds
    rs->Fields(2) = "4";
    rs->Update();
  }
  EXPECT_EQ(rs->RecordCount(), 3);
  rs->MoveFirst();
  EXPECT_EQ(rs->AbsolutePosition(), 1);
  EXPECT_EQ(rs->Value("FNumber").text(), "P0");
  EXPECT_DOUBLE_EQ(rs->Value("FCurInCost").toDouble(), 10.01);
  EXPECT_EQ(rs->Value("FQtyDecimal").type(), plat::VarType::Long);
  EXPECT_TRUE(rs->Value("FDate").isNull());
  rs->SetAbsolutePosition(3);
  EXPECT_EQ(rs->Fields("FNumber").Value().text(), "P2");
  rs->MoveNext();
  EXPECT_TRUE(rs->Eof());
  EXPECT_THROW(rs->MoveNext(), plat::Error);
  EXPECT_THROW(rs->Value("FNumber"), plat::Error);
}

TEST(Recordset, RejectsWhatADODoesNotAllow) {
  auto rs = costLike();
  EXPECT_THROW(rs->Append("Late", adVarChar, 10), plat::Error);  // after Open
  rs->AddNew();
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
