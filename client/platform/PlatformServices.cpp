#include "platform/PlatformServices.h"

#include "platform/PosixPlatform.h"
#include "platform/WindowsPlatform.h"

#include <QtGlobal>

PlatformServices &platform()
{
#ifdef Q_OS_WIN
    static WindowsPlatform instance;
#else
    static PosixPlatform instance;
#endif
    return instance;
}
