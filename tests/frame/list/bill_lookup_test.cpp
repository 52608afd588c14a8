// The bill-number lookup through frmList, with a list control whose journal a test chooses.
#include <gtest/gtest.h>

#include "frame/fake_services.h"
#include "frame/list/frm_list.h"
#include "platform/forms/controls.h"
#include "platform/forms/scripted_front_end.h"

namespace {

struct Journal : svc::ListControl {
  static inline std::map<std::string, plat::Variant> settings;
  static inline std::vector<int32_t> rows;  // internal ids the journal holds
  static inline int32_t pick = -1;          // the row the user picks; -1 exits
  static inline bool released = false;
  void SetProperty(const std::string& name, const plat::Variant& v) override { settings[name] = v; }
  void SetROB(int32_t&) override {}
  bool InitData() override { return true; }
  bool CanShow() const override { return !rows.empty(); }
  lumo::VectorRef ListInfo() const override {
    auto v = lumo::newVector();
    auto d = lumo::newDictionary();
    d->SetValue("FName", settings["ListID"].toInt32() == 36 ? "生产任务单" : "销售订单");
    v->Add(d);
    return v;
  }
  lumo::VectorRef Selected() const override {
    auto v = lumo::newVector();
    if (pick >= 0) {
      auto d = lumo::newDictionary();
      d->SetValue("FInterID", rows.at(static_cast<size_t>(pick)));
      v->Add(d);
    }
    return v;
  }
  ado::RecordsetRef GetListRs() const override { return nullptr; }
  plat::ObjectRef GetListFieldsDes() const override { return nullptr; }
  bool ConfirmSelection() const override { return pick >= 0; }
  void Release() override { released = true; }
};

struct BillData : svc::ShopRptData {
  static inline std::string lastQuery;
  ado::RecordsetRef GetData(const std::string&, plat::Variant& query) override {
    lastQuery = query.text();
    auto rs = ado::newRecordset();
    rs->Append("FBillNo", ado::adVarChar, 255);
    rs->Open();
    rs->AddNew();
    rs->Fields("FBillNo") = "SO-000" + lastQuery.substr(lastQuery.rfind('=') + 1);
    return rs;
  }
#define UNUSED_MEMBER(sig) \
  sig override { throw plat::Error(1, "test", "unused"); }
  UNUSED_MEMBER(ado::RecordsetRef GetRpt400Data(const std::string&, lumo::DictionaryRef&))
  UNUSED_MEMBER(ado::RecordsetRef GetRpt410Data(const std::string&, lumo::DictionaryRef&))
  UNUSED_MEMBER(ado::RecordsetRef GetRpt406Data(const std::string&, lumo::DictionaryRef&))
  UNUSED_MEMBER(ado::RecordsetRef GetRpt401Data(const std::string&, lumo::DictionaryRef&, lumo::DictionaryRef&))
  UNUSED_MEMBER(ado::RecordsetRef Get499HappenData(const std::string&, plat::Variant&, plat::Variant&,
                                                   lumo::DictionaryRef&, lumo::DictionaryRef&))
  UNUSED_MEMBER(ado::RecordsetRef Get498HappenData(const std::string&, plat::Variant&, plat::Variant&,
                                                   plat::ObjectRef&, lumo::DictionaryRef&))
  UNUSED_MEMBER(int32_t GetCurrencyScale(const std::string&))
  UNUSED_MEMBER(void GetDecimal(const std::string&, const plat::Variant&, int32_t&, int32_t&))
#undef UNUSED_MEMBER
};

class BillLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::install("DBFile={/data/demo.db};UserID=16394;UserName=administrator;");
    plat::broker().Register(svc::kListControl, [] { return std::make_shared<Journal>(); });
    plat::broker().Register(svc::kShopRptData, [] { return std::make_shared<BillData>(); });
    Journal::settings.clear();
    Journal::rows = {101, 0};
    Journal::pick = 0;
    Journal::released = false;
  }
  void lookup(int32_t billType) {
    int32_t tran = 0;
    std::string extra;
    frame::BillNoLookup(billType, tran, &box, extra);
  }
  std::shared_ptr<forms::ScriptedFrontEnd> fe = std::make_shared<forms::ScriptedFrontEnd>();
  forms::FrontEndScope scope{fe};
  forms::TextBox box;
};

}  // namespace

TEST_F(BillLookup, SalesOrderTextFiltersAndTheChosenNumberFillsTheBox) {
  box.SetText("SO-12");
  fe->onShow("frmList", [](forms::Form& f) {
    EXPECT_EQ(f.Caption(), "销售订单序时簿");
    static_cast<frame::frmList&>(f).list().OnCommand("SelectOK");
  });
  lookup(32);
  EXPECT_EQ(Journal::settings["Filter"].text(), " FBillNo Like '%SO-12%'");
  EXPECT_EQ(Journal::settings["BaseInfo"].text(), "/data/demo.db|16394|tester");
  EXPECT_EQ(Journal::settings["ListShowStatus"].toInt32(), 6);
  EXPECT_EQ(Journal::settings["DestBillTransType"].text(), "0");
  EXPECT_EQ(BillData::lastQuery, "Select FBillNo From SEOrder Where FInterID=101");
  EXPECT_EQ(box.Text(), "SO-000101");
  EXPECT_TRUE(Journal::released);
}

TEST_F(BillLookup, TasksOpenUnfilteredAndCancelOrEmptyLeaveTheBox) {
  box.SetText("WORK");
  fe->onShow("frmList", [](forms::Form& f) { static_cast<frame::frmList&>(f).list().OnCommand("Exit"); });
  lookup(36);
  EXPECT_FALSE(Journal::settings.count("Filter"));  // no like filter for production tasks
  EXPECT_EQ(box.Text(), "WORK");

  Journal::rows.clear();  // nothing to show: the window closes at once
  lookup(36);
  EXPECT_EQ(box.Text(), "WORK");
  EXPECT_EQ(fe->pendingSteps("frmList"), 0u);
}

TEST_F(BillLookup, ARowWithoutInternalIdIsTold) {
  Journal::pick = 1;  // FInterID 0
  fe->onShow("frmList", [](forms::Form& f) { static_cast<frame::frmList&>(f).list().OnCommand("SelectOK"); });
  lookup(36);
  ASSERT_EQ(fe->messages().size(), 1u);
  EXPECT_EQ(fe->messages()[0].text, "未返回产品入库单的代码!");
  EXPECT_EQ(fe->messages()[0].title, "Ostrel提示：");
  EXPECT_EQ(fe->messages()[0].style, forms::vbInformation);
  EXPECT_EQ(box.Text(), "");
}
