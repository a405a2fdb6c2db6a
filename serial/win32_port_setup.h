#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>

#include "serial/failure_text.h"
#include "serial/line_settings.h"

namespace vardelmo::serial {

// The size of each of the driver's queues the line asks for at opening (SetupComm).
constexpr WORD kQueueSize = 4096;

// The driver's state for `settings`, from the state the port had (`from`): fields this line
// does not own keep their values.
DCB lineState(DCB from, const LineSettings& settings);

// Reads wait up to `readWait` for their first byte and return with it; with no wait, they
// return at once with what is held. Writes may take `writeMs` in all.
COMMTIMEOUTS lineTimeouts(std::chrono::milliseconds readWait, DWORD writeMs);

// Why a step failed, from what GetLastError() reported after it.
Reason win32Reason(Step step, std::uint32_t error);

}  // namespace vardelmo::serial
