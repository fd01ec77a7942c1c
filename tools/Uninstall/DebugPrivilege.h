#pragma once

// Enables SeDebugPrivilege in the process token, so the client's processes
// can be ended; true when it was enabled.
bool EnableDebugPrivilege();
