// ERP-wide settings the reports read (period count, long or short item numbers), the
// shared general-ledger service and the usage log.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "frame/services/services.h"

namespace frame {

// Accounting periods per year ("GL"/"PeriodCount"); 0 when the profile cannot be read.
int32_t GetMaxPeriod();
// True when item numbers show in long form ("IC"/"UseShortNumber" = 0); a missing setting
// means short numbers; a profile that cannot be read leaves long numbers.
bool IsLongNumber();

// The module-wide long-number flag, recomputed by every report at creation.
bool LongNumberFlag();
void RecomputeLongNumberFlag();

// The module-wide "AutoFilter" flag handed from ShowFilter to the filter dialog's grid.
int16_t& AutoFilterFlag();

// The general-ledger data service, created on first use and kept for the process.
svc::GLData& GeneralLedger();
// Forgets the shared general-ledger service (a new login, or a test that swaps services).
void ResetGeneralLedger();

// Writes one usage log entry; never fails its caller.
void WriteLog(const std::string& logId, int16_t type, const std::string& text);

}  // namespace frame
