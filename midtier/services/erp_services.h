// The ERP client's services that the component leans on, over the company database: shared
// properties, system profile, usage log, data rights and the current stock period.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "frame/services/services.h"
#include "midtier/services/connection.h"

namespace midtier {

// TavPropsMgr.ShareProps: the login properties of a process (login.h).
class ShareProps : public svc::ShareProps {
 public:
  plat::Variant GetProperty(int32_t& processId, std::string& key) override;
};

// TavEBSBase.SystemProfile: t_SystemProfile settings as stored (text), Null when absent.
class SystemProfile : public svc::SystemProfile {
 public:
  plat::Variant GetProfile(const std::string& props, const std::string& category, const std::string& key) override;
};

// TavEBCGLView.GLData: the usage log in t_Log, written for the login of the process.
class GLData : public svc::GLData {
 public:
  void WriteLog(std::string& logId, int16_t& type, std::string& text) override;
  // Every user may run every function here: the answer is true.
  plat::Variant AccessCheck(int16_t& function, int16_t& subFunction, int16_t& right) override;
};

// TavEBSGLItem.ItemInfo: whether a user is restricted on a data-right kind (t_DataRight);
// a user without a row for the kind is not.
class ItemInfo : public svc::ItemInfo {
 public:
  bool GetDataRight(std::string& props, int16_t& userId, int16_t kind) override;
};

// TavMStockRpt.Data: the current period, from the settings IC/CurrentYear and IC/CurrentPeriod.
class StockRptData : public svc::StockRptData {
 public:
  // "CurrentYear" and "CurrentPeriod" as 32-bit integers; raises when either is not set.
  lumo::DictionaryRef GetCurrenPeriodDate(const std::string& props) override;
};

// The stored text of a setting; nothing when it is absent or Null.
std::optional<std::string> readProfile(Connection& connection, std::string_view category, std::string_view key);
// A setting that must be a whole number: `fallback` when absent or empty; raises a plat::Error
// (source `source`) naming the setting when it holds something else.
int32_t readProfileInt(Connection& connection, std::string_view source, std::string_view category,
                       std::string_view key, std::optional<int32_t> fallback);

}  // namespace midtier
