#pragma once

namespace host {

// Clears the host's process-wide state (connection, tables, path, countdown, flags, the main
// window seam), so that every test starts as a fresh process does.
void ResetProcessState();

}  // namespace host
