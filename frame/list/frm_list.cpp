#include "frame/list/frm_list.h"

#include "frame/host/context.h"
#include "frame/services/class_names.h"
#include "frame/services/services.h"
#include "platform/forms/controls.h"
#include "platform/forms/front_end.h"

namespace frame {

frmList::frmList() : forms::Form("frmList") {
  SetCaption("##");
  ICListSel_ = &add<forms::HostedControl>("ICListSel");
  ICListSel_->create(svc::kListControl);
  SBar_ = &add<forms::StatusBar>("SBar");
  list().OnCommand = [this](const std::string& command) { onCommand(command); };
}

void frmList::onLoad() {
  ok_ = false;
  clearStatus();
}

void frmList::InitData() {
  if (!loaded()) Load();
  list().SetROB(rob_);
  if (!list().InitData()) return;
  ok_ = list().CanShow();
  auto info = list().ListInfo();
  if (info && info->Count() > 0)
    SetCaption(info->Item(1).as<lumo::Dictionary>()->Value("FName").text() + Msg("序时簿"));
}

void frmList::onActivate() {
  if (!ok_) Unload();  // nothing to show: the caller sees OK false
}

void frmList::onCommand(const std::string& command) {
  if (command == "SelectOK") {
    if (list().ConfirmSelection()) {
      ok_ = true;
      Hide();
    }
  } else if (command == "Exit") {
    Hide();
    ok_ = false;
  }
}

void frmList::onResize() {
  const int height = Height() - SBar_->Height();
  if (height > 0) ICListSel_->SetHeight(height);
}

void frmList::onUnload() {
  ok_ = false;
  Hide();
  list().Release();
}

void frmList::clearStatus() {
  try {
    SBar_->SetPanelText(1, "");
  } catch (const std::exception&) {
    // the status panel is cosmetic
  }
}

namespace {

// The text after the first `key` plus one character, up to the next ";".
std::string valueAfter(const std::string& text, const std::string& key) {
  const size_t at = text.find(key);
  if (at == std::string::npos) return {};
  const size_t from = at + key.size() + 1;
  if (from > text.size()) return {};
  const size_t end = text.find(';', from);
  return text.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

std::string bracedPart(const std::string& text) {
  const size_t open = text.find('{');
  if (open == std::string::npos) return {};
  const size_t close = text.find('}', open + 1);
  return text.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
}

}  // namespace

void BillNoLookup(int32_t billType, int32_t& tranType, forms::TextBox* box, std::string& extraFilter) {
  if (!box) return;
  try {
    const std::string props = PropsString();
    const std::string baseInfo = bracedPart(props) + "|" + valueAfter(props, "UserID") + "|" + UserName();
    auto form = std::make_shared<frmList>();
    form->SetBaseInfo(baseInfo);
    form->SetListID(billType);
    form->SetListShowStatus(6);
    form->SetDestBillTransType(std::to_string(tranType));
    if (!plat::trim(box->Text()).empty() && billType != 36)
      form->SetFilter(" FBillNo Like '%" + box->Text() + "%'");
    form->SetMultiSelect(false);
    if (!extraFilter.empty()) form->SetFilter(extraFilter);
    form->InitData();
    form->Show();
    const bool confirmed = form->OK();
    lumo::VectorRef selected = confirmed ? form->Selected() : nullptr;
    if (form->loaded()) form->Unload();
    if (!selected || selected->Count() == 0) return;
    const int32_t id = selected->Item(1).as<lumo::Dictionary>()->Value("FInterID").toInt32();
    if (id == 0) {
      forms::MsgBox(Msg("未返回产品入库单的代码!"), forms::vbInformation, Msg("Ostrel提示："));
      return;
    }
    const std::string table = billType == 32 ? "SEOrder" : "ICMO";
    plat::Variant query = "Select FBillNo From " + table + " Where FInterID=" + std::to_string(id);
    auto service = CreateService<svc::ShopRptData>(svc::kShopRptData);
    ado::RecordsetRef rs = service->GetData(props, query);
    if (!rs || rs->RecordCount() == 0) return;
    rs->MoveFirst();
    box->SetText(rs->Value("FBillNo").text());
  } catch (const std::exception&) {
    // the lookup fails silently; the box keeps its text
  }
}

}  // namespace frame
