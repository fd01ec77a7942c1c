#pragma once

// Probes for the two virtual machines the statistics report names. Each runs
// an instruction that only the virtual machine answers; elsewhere it faults,
// and a vectored handler that acts only at that instruction's address skips
// it. The handler is removed again, so later faults end the process as usual.
bool IsVirtualPC();
bool IsVMware();
