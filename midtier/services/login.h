// The host's login: the shared properties the client keeps for this process ("PropsString",
// "UserName"), which the host sets at login and TavPropsMgr.ShareProps hands out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/variant.h"

namespace midtier {

// Sets "PropsString" and "UserName" for the running process, replacing an earlier login.
void setLoginProperties(const std::string& props, const std::string& userName);
// Forgets the running process's login.
void clearLoginProperties();

// A shared property of process `processId`: Empty for an unknown process or key. Keys
// compare without regard to case.
plat::Variant sharedProperty(int32_t processId, std::string_view key);

// The connection-properties text of the running process's login, for services that are
// given none (the usage log, the filter schemes). Raises a plat::Error (source `source`)
// when nobody has logged in.
std::string loginProps(std::string_view source);

}  // namespace midtier
