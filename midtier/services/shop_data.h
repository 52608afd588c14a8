// TavMShopRpt.Data: the report data service over the company database. One object is made per
// call; the members are implemented one report to a file (shop_data_<report>.cpp). It also
// pages the document journals for the list control (JournalSource, shop_data_journal.cpp).
#pragma once

#include "frame/services/services.h"
#include "midtier/services/journal_source.h"

namespace midtier {

class ShopData : public svc::ShopRptData, public JournalSource {
 public:
  ado::RecordsetRef GetRpt400Data(const std::string& props, lumo::DictionaryRef& filter) override;
  ado::RecordsetRef GetRpt410Data(const std::string& props, lumo::DictionaryRef& filter) override;
  ado::RecordsetRef GetRpt406Data(const std::string& props, lumo::DictionaryRef& filter) override;
  ado::RecordsetRef GetRpt401Data(const std::string& props, lumo::DictionaryRef& fragments,
                                  lumo::DictionaryRef& filter) override;
  ado::RecordsetRef Get499HappenData(const std::string& props, plat::Variant& year, plat::Variant& period,
                                     lumo::DictionaryRef& fragments, lumo::DictionaryRef& filter) override;
  ado::RecordsetRef Get498HappenData(const std::string& props, plat::Variant& year, plat::Variant& period,
                                     plat::ObjectRef& state, lumo::DictionaryRef& filter) override;
  int32_t GetCurrencyScale(const std::string& props) override;
  void GetDecimal(const std::string& props, const plat::Variant& itemNumber, int32_t& qtyDecimal,
                  int32_t& priceDecimal) override;
  ado::RecordsetRef GetData(const std::string& props, plat::Variant& query) override;
  ado::RecordsetRef GetJournalPage(const std::string& props, const JournalRequest& request) override;
};

}  // namespace midtier
