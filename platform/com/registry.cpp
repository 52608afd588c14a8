#include "platform/com/registry.h"

#include "platform/lumo/dictionary.h"

namespace plat {

void Registry::Register(std::string_view className, Factory factory) {
  entries_[lumo::foldCase(className)] = Entry{std::string(className), std::move(factory)};
}

void Registry::Unregister(std::string_view className) { entries_.erase(lumo::foldCase(className)); }

bool Registry::Has(std::string_view className) const { return entries_.count(lumo::foldCase(className)) > 0; }

std::vector<std::string> Registry::Names() const {
  std::vector<std::string> names;
  for (const auto& [key, e] : entries_) names.push_back(e.name);
  return names;
}

ObjectRef Registry::Create(std::string_view className) const {
  auto it = entries_.find(lumo::foldCase(className));
  if (it == entries_.end())
    throw Error::cannotCreate("Broker", "ActiveX component can't create object: '" + std::string(className) + "'");
  ObjectRef obj = it->second.factory();
  if (!obj)
    throw Error::cannotCreate("Broker", "ActiveX component can't create object: '" + std::string(className) + "'");
  return obj;
}

Registry& broker() {
  static Registry instance;
  return instance;
}

}  // namespace plat
