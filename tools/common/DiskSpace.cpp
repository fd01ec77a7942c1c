#include "DiskSpace.h"

double GetFreeDiskGB(DirectUI::CUIString root)
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceW(root.GetData(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
        return 0.0;
    DWORD clusterBytes = sectorsPerCluster * bytesPerSector;
    return static_cast<double>(freeClusters) * clusterBytes / 1048576.0 / 1024.0;
}
