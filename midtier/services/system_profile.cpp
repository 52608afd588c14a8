// TavEBSBase.SystemProfile and the settings readers the other services share.
#include <cmath>

#include "midtier/services/database_errors.h"
#include "midtier/services/erp_services.h"
#include "platform/core/variant.h"

namespace midtier {
namespace {

constexpr std::string_view kSource = "TavEBSBase.SystemProfile";

std::string settingName(std::string_view category, std::string_view key) {
  return std::string(category) + "/" + std::string(key);
}

}  // namespace

std::optional<std::string> readProfile(Connection& connection, std::string_view category, std::string_view key) {
  const std::string_view caseless = connection.forms().caseless();
  auto select = connection.query("SELECT FValue FROM t_SystemProfile WHERE FCategory = ?1 " + std::string(caseless) +
                                     " AND FKey = ?2 " + std::string(caseless),
                                 {std::string(category), std::string(key)});
  if (!select->next() || select->kind(0) == dbi::ValueKind::Null) return std::nullopt;
  return std::string(select->text(0));
}

int32_t readProfileInt(Connection& connection, std::string_view source, std::string_view category,
                       std::string_view key, std::optional<int32_t> fallback) {
  std::optional<std::string> text = readProfile(connection, category, key);
  if (!text || plat::trim(*text).empty()) {
    if (fallback) return *fallback;
    throw refusal(source, "系统参数 " + settingName(category, key) + " 未设置。");
  }
  const plat::Variant value(*text);
  if (!value.isNumeric() || value.toDouble() != std::trunc(value.toDouble()))
    throw plat::Error::typeMismatch(std::string(source),
                                    "系统参数 " + settingName(category, key) + " 的值“" + *text + "”不是整数。");
  return value.toInt32();
}

plat::Variant SystemProfile::GetProfile(const std::string& props, const std::string& category,
                                        const std::string& key) {
  return withConnection(kSource, props, [&](Connection& c, const Login&) -> plat::Variant {
    std::optional<std::string> value = readProfile(c, category, key);
    return value ? plat::Variant(*value) : plat::Variant::null();
  });
}

}  // namespace midtier
