#include "VirtualMachineProbe.h"

#include <cstdio>

int main()
{
    std::printf("vpc=%d vmware=%d\n", IsVirtualPC() ? 1 : 0, IsVMware() ? 1 : 0);
    std::fflush(stdout);
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    return 0;
}
