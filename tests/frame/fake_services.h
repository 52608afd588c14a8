// Stand-ins for outside services whose behaviour a test must vary: the login context,
// the system profile and a base-item service with chosen restrictions or a failure.
#pragma once

#include <map>
#include <set>
#include <string>

#include "frame/services/class_names.h"
#include "frame/services/services.h"
#include "platform/com/registry.h"

namespace fakes {

struct Login : svc::ShareProps {
  static inline std::map<std::string, std::string> values;
  plat::Variant GetProperty(int32_t&, std::string& key) override {
    auto it = values.find(key);
    return it == values.end() ? plat::Variant() : plat::Variant(it->second);
  }
};

struct Profile : svc::SystemProfile {
  static inline std::map<std::string, plat::Variant> values;  // "GL/PeriodCount" -> value
  static inline bool fail = false;
  plat::Variant GetProfile(const std::string&, const std::string& category, const std::string& key) override {
    if (fail) throw plat::Error(-1, "SystemProfile", "profile unavailable");
    auto it = values.find(category + "/" + key);
    return it == values.end() ? plat::Variant::null() : it->second;
  }
};

struct Rights : svc::ItemInfo {
  static inline std::set<int16_t> restricted;
  static inline std::vector<int16_t> asked;
  static inline bool fail = false;
  bool GetDataRight(std::string&, int16_t&, int16_t kind) override {
    if (fail) throw plat::Error(1001, "TavEBSGLItem.ItemInfo", "base-item service unavailable");
    asked.push_back(kind);
    return restricted.count(kind) > 0;
  }
};

inline void install(const std::string& props = "UserID=16394;UserName=tester;DBFile={/tmp/none.db};") {
  Login::values = {{"PropsString", props}, {"UserName", "tester"}};
  Profile::values = {{"GL/PeriodCount", 12}, {"IC/UseShortNumber", 0}};
  Profile::fail = false;
  Rights::restricted.clear();
  Rights::asked.clear();
  Rights::fail = false;
  auto& b = plat::broker();
  b.Register(svc::kShareProps, [] { return std::make_shared<Login>(); });
  b.Register(svc::kSystemProfile, [] { return std::make_shared<Profile>(); });
  b.Register(svc::kItemInfo, [] { return std::make_shared<Rights>(); });
}

}  // namespace fakes
