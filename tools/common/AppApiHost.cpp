#include "AppApiHost.h"

#include <windows.h>

#ifndef ORBELA_APP_API_HOST
#error "the build defines ORBELA_APP_API_HOST"
#endif

std::string GetAppApiHost()
{
    char value[256];
    DWORD length = GetEnvironmentVariableA("ORBELA_APP_API_HOST", value, sizeof(value));
    if (length > 0 && length < sizeof(value))
        return std::string(value, length);
    return ORBELA_APP_API_HOST;
}

std::string StatisticsUrl()
{
    return "http://" + GetAppApiHost() + "/hits";
}
