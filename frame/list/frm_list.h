// frmList: the modal window in which a user picks documents from a document journal. The list
// itself is the hosted list control ICListSel (TavList.ICList); the form passes its settings on,
// gives the window the journal's title and reports whether a selection was confirmed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "frame/services/list_control.h"
#include "platform/forms/form.h"
#include "platform/forms/controls.h"
#include "platform/forms/hosted_control.h"
#include "platform/forms/status_controls.h"

namespace frame {

class frmList : public forms::Form {
 public:
  frmList();

  // Settings, passed straight to the list control.
  void SetISShowReport(bool v) { set("ISShowReport", v); }
  void SetListShowStatus(int32_t v) { set("ListShowStatus", v); }
  void SetDestBillTransType(const std::string& v) { set("DestBillTransType", v); }
  void SetListID(int32_t v) { set("ListID", v); }
  void SetTranType(int32_t v) { set("TranType", v); }
  void SetBaseInfo(const std::string& v) { set("BaseInfo", v); }
  void SetMultiSelect(bool v) { set("MultiSelect", v); }
  void SetCanSelectMultiRow(bool v) { set("CanSelectMultiRow", v); }
  void SetFilter(const std::string& v) { set("Filter", v); }
  void SetLocalCnn(const std::string& v) { set("LocalCnn", v); }
  void SetSystemName(const std::string& v) { set("SystemName", v); }
  void SetSelectFlag(int32_t v) { set("SelectFlag", v); }
  void SetPaintBar(bool) {}  // accepted and ignored
  int32_t ROB() const { return rob_; }
  void SetROB(int32_t v) { rob_ = v; }

  lumo::VectorRef Selected() const { return list().Selected(); }
  ado::RecordsetRef GetListRs() const { return list().GetListRs(); }
  plat::ObjectRef GetListFieldsDes() const { return list().GetListFieldsDes(); }
  bool OK() const { return ok_; }

  // Initialises the journal; on success the window may show and takes the journal's title.
  void InitData();
  svc::ListControl& list() const { return ICListSel_->as<svc::ListControl>(); }

 protected:
  void onLoad() override;
  void onActivate() override;
  void onUnload() override;
  void onResize() override;

 private:
  // Touching a setting loads the form first, so that the load's clearing of OK precedes InitData.
  void set(const char* name, const plat::Variant& value) {
    if (!loaded()) Load();
    list().SetProperty(name, value);
  }
  void onCommand(const std::string& command);
  void clearStatus();

  forms::HostedControl* ICListSel_;
  forms::StatusBar* SBar_;
  int32_t rob_ = 0;
  bool ok_ = false;
};

// Lets the user pick one bill of a type (32 sales orders, 36 production tasks) in a list
// window and writes its number into `box`. Fails silently, except for a selection without an
// internal id, which is told in a message box.
void BillNoLookup(int32_t billType, int32_t& tranType, forms::TextBox* box, std::string& extraFilter);

}  // namespace frame
