#include "frame/host/context.h"

#include <unistd.h>

#include "frame/services/class_names.h"
#include "frame/services/services.h"

namespace frame {
namespace {

struct ParsedState {
  std::string text;
  std::shared_ptr<lumo::Dictionary> values = std::make_shared<lumo::Dictionary>();
};

ParsedState& parsed() {
  static ParsedState state;
  return state;
}

// Splits at the first `sep`: returns the part before it and leaves the rest in `text`;
// without `sep` the whole text is returned and `text` becomes empty.
std::string takeBefore(std::string& text, std::string_view sep) {
  const size_t at = text.find(sep);
  std::string head;
  if (at == std::string::npos) {
    head = std::move(text);
    text.clear();
  } else {
    head = text.substr(0, at);
    text.erase(0, at + sep.size());
  }
  return head;
}

}  // namespace

plat::Variant ReadSharedProperty(const std::string& key) {
  auto props = CreateService<svc::ShareProps>(svc::kShareProps);
  int32_t pid = static_cast<int32_t>(::getpid());
  std::string k = key;
  // The kind of value is tested on one call and the value fetched on a second.
  if (props->GetProperty(pid, k).isObject()) return props->GetProperty(pid, k);
  return props->GetProperty(pid, k);
}

std::string PropsString() { return ReadSharedProperty("PropsString").text(); }

std::string UserName() { return ReadSharedProperty("UserName").text(); }

bool ParseProperties(const std::string& text) {
  ParsedState& state = parsed();
  state.text = text;
  state.values = std::make_shared<lumo::Dictionary>();
  std::string rest = text;
  for (;;) {
    const std::string key = plat::trim(takeBefore(rest, "="));
    std::string remainder = plat::trim(rest);
    std::string value;
    if (!remainder.empty() && remainder.front() == '{') {
      remainder.erase(0, 1);
      value = takeBefore(remainder, "}");
      takeBefore(remainder, ";");
    } else {
      value = takeBefore(remainder, ";");
    }
    rest = std::move(remainder);
    if (key.empty()) break;
    state.values->Add(key, plat::trim(value));
  }
  return true;
}

std::string PropertyValue(std::string_view key) {
  const lumo::Dictionary& values = *parsed().values;
  if (!values.Lookup(key))
    throw plat::Error::invalidCall("TavShopRpt", "Invalid procedure call or argument: property '" +
                                                     std::string(key) + "' is not set");
  return values.Value(key).text();
}

int16_t UserId() { return plat::Variant(PropertyValue("UserID")).toInt16(); }

const lumo::Dictionary& ParsedProperties() { return *parsed().values; }

plat::Registry& ObjectBroker() { return plat::broker(); }

}  // namespace frame
