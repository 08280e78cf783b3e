#pragma once
// Start-up timestamps for the measuring scripts. With QUOBEL_STARTUP_TRACE set in the
// environment each mark writes "quobel-startup STEP MICROSECONDS" to standard error,
// the time on the monotonic clock, so a script can subtract the moment it started the
// process. Without the variable a mark costs one cached test.

namespace quobel {

void StartupMark(const char* step);

}  // namespace quobel
