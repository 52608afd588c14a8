#include "frame/host/settings.h"

#include "frame/host/context.h"
#include "frame/services/class_names.h"

namespace frame {
namespace {

std::shared_ptr<svc::GLData>& glService() {
  static std::shared_ptr<svc::GLData> service;
  return service;
}

bool& longNumber() {
  static bool flag = true;
  return flag;
}

}  // namespace

int32_t GetMaxPeriod() {
  try {
    auto profile = CreateService<svc::SystemProfile>(svc::kSystemProfile);
    return profile->GetProfile(PropsString(), "GL", "PeriodCount").toInt32();
  } catch (const std::exception&) {
    return 0;  // an unreadable profile means "no periods"; the cost reports then stop quietly
  }
}

bool IsLongNumber() {
  bool result = true;
  try {
    auto profile = CreateService<svc::SystemProfile>(svc::kSystemProfile);
    plat::Variant v = profile->GetProfile(PropsString(), "IC", "UseShortNumber");
    const double useShort = v.isNull() ? 1 : v.toDouble();
    result = useShort == 0;
  } catch (const std::exception&) {
    // an unreadable profile keeps long numbers
  }
  return result;
}

bool LongNumberFlag() { return longNumber(); }
void RecomputeLongNumberFlag() { longNumber() = IsLongNumber(); }

int16_t& AutoFilterFlag() {
  static int16_t flag = 0;
  return flag;
}

svc::GLData& GeneralLedger() {
  auto& service = glService();
  if (!service) service = CreateService<svc::GLData>(svc::kGLData);
  return *service;
}

void ResetGeneralLedger() { glService().reset(); }

void WriteLog(const std::string& logId, int16_t type, const std::string& text) {
  try {
    auto gl = CreateService<svc::GLData>(svc::kGLData);
    std::string id = logId, t = text;
    int16_t ty = type;
    gl->WriteLog(id, ty, t);
  } catch (const std::exception&) {
    // the usage log never fails the report that writes it
  }
}

}  // namespace frame
