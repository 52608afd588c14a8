// The shared properties of the processes that logged in.
#include "midtier/services/login.h"

#include <unistd.h>

#include <map>

#include "platform/core/error.h"
#include "platform/lumo/dictionary.h"

namespace midtier {
namespace {

std::map<int32_t, lumo::Dictionary>& byProcess() {
  static std::map<int32_t, lumo::Dictionary> properties;
  return properties;
}

int32_t currentProcess() { return static_cast<int32_t>(::getpid()); }

}  // namespace

void setLoginProperties(const std::string& props, const std::string& userName) {
  lumo::Dictionary values;
  values.SetValue("PropsString", props);
  values.SetValue("UserName", userName);
  byProcess()[currentProcess()] = std::move(values);
}

void clearLoginProperties() { byProcess().erase(currentProcess()); }

plat::Variant sharedProperty(int32_t processId, std::string_view key) {
  auto it = byProcess().find(processId);
  return it == byProcess().end() ? plat::Variant() : it->second.Value(key);
}

std::string loginProps(std::string_view source) {
  const plat::Variant props = sharedProperty(currentProcess(), "PropsString");
  if (!props.isText() || props.text().empty())
    throw plat::Error::invalidCall(std::string(source), "尚未登录：本进程没有连接属性（PropsString），无法连接公司数据库。");
  return props.text();
}

}  // namespace midtier
