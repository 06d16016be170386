#pragma once

#include <windows.h>

#include "probe_protocol.h"

namespace e2e {

// Runs the request inside process pid through e2e-probe.dll (found beside the
// driver), loading the DLL there first if needed, and fills in its answer.
// Throws CommandError on failure.
void RunProbe(DWORD pid, probe::Request& request);

}  // namespace e2e
