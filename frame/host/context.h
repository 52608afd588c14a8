// The login context of the running process: the connection-properties text and user read
// from the shared-properties service, the parsed properties with the user id, the
// message-text hook and the object broker.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/com/registry.h"
#include "platform/core/variant.h"
#include "platform/lumo/dictionary.h"

namespace frame {

// A shared property of this process from TavPropsMgr.ShareProps (an object or a value).
plat::Variant ReadSharedProperty(const std::string& key);
// The shared property "PropsString": the connection-properties text of the login.
std::string PropsString();
// The shared property "UserName".
std::string UserName();

// Parses a text of key=value pairs, each closed by ";"; a value in braces may hold ";".
// Keeps the text and a new collection in module state. Raises when a key repeats.
bool ParseProperties(const std::string& text);
// The parsed value under `key`; raises (invalid procedure call) when it is absent.
std::string PropertyValue(std::string_view key);
// The parsed "UserID" as a 16-bit integer; raises when it is missing or not a number.
int16_t UserId();
// The parsed collection of the last parse (never null).
const lumo::Dictionary& ParsedProperties();

// Every user-visible text passes through here. The interface language is fixed
// (Simplified Chinese), so the text comes back unchanged.
inline std::string Msg(std::string_view text) { return std::string(text); }
inline constexpr const char* kLanguage = "chs";

// The client's object broker.
plat::Registry& ObjectBroker();

// Creates a service by class name through the broker, seen through its interface.
template <class T>
std::shared_ptr<T> CreateService(std::string_view className) {
  return ObjectBroker().CreateAs<T>(className);
}

}  // namespace frame
