// The outside services the component calls, seen as C++ interfaces. The component creates
// them by class name through the broker for one call and releases them right after; the
// middle tier registers the real implementations, tests may register failing or restricted ones.
// Every member fails by throwing plat::Error.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ado/recordset.h"
#include "platform/core/object.h"
#include "platform/core/variant.h"
#include "platform/lumo/dictionary.h"

namespace svc {

// TavPropsMgr.ShareProps: properties the client keeps per process ("PropsString", "UserName").
class ShareProps : public plat::Object {
 public:
  virtual plat::Variant GetProperty(int32_t& processId, std::string& key) = 0;
};

// TavEBSBase.SystemProfile: ERP-wide settings; Null when a setting is absent.
class SystemProfile : public plat::Object {
 public:
  virtual plat::Variant GetProfile(const std::string& props, const std::string& category, const std::string& key) = 0;
};

// TavEBCGLView.GLData: the usage log and the access check.
class GLData : public plat::Object {
 public:
  virtual void WriteLog(std::string& logId, int16_t& type, std::string& text) = 0;
  virtual plat::Variant AccessCheck(int16_t& function, int16_t& subFunction, int16_t& right) = 0;
};

// TavEBSGLItem.ItemInfo: whether the user is restricted on a data-right kind (1, 2, 4).
class ItemInfo : public plat::Object {
 public:
  virtual bool GetDataRight(std::string& props, int16_t& userId, int16_t kind) = 0;
};

// TavMStockRpt.Data: the current accounting period ("CurrentYear", "CurrentPeriod").
class StockRptData : public plat::Object {
 public:
  virtual lumo::DictionaryRef GetCurrenPeriodDate(const std::string& props) = 0;
};

// TavMShopRpt.Data: the report data service. Arguments passed by reference may be replaced;
// the caller takes the replaced values back.
class ShopRptData : public plat::Object {
 public:
  virtual ado::RecordsetRef GetRpt400Data(const std::string& props, lumo::DictionaryRef& filter) = 0;
  virtual ado::RecordsetRef GetRpt410Data(const std::string& props, lumo::DictionaryRef& filter) = 0;
  virtual ado::RecordsetRef GetRpt406Data(const std::string& props, lumo::DictionaryRef& filter) = 0;
  virtual ado::RecordsetRef GetRpt401Data(const std::string& props, lumo::DictionaryRef& fragments,
                                          lumo::DictionaryRef& filter) = 0;
  virtual ado::RecordsetRef Get499HappenData(const std::string& props, plat::Variant& year, plat::Variant& period,
                                             lumo::DictionaryRef& fragments, lumo::DictionaryRef& filter) = 0;
  // `state` is nothing on the first call of a run and handed back unchanged on each later call.
  virtual ado::RecordsetRef Get498HappenData(const std::string& props, plat::Variant& year, plat::Variant& period,
                                             plat::ObjectRef& state, lumo::DictionaryRef& filter) = 0;
  virtual int32_t GetCurrencyScale(const std::string& props) = 0;
  virtual void GetDecimal(const std::string& props, const plat::Variant& itemNumber, int32_t& qtyDecimal,
                          int32_t& priceDecimal) = 0;
  virtual ado::RecordsetRef GetData(const std::string& props, plat::Variant& query) = 0;
};

}  // namespace svc
