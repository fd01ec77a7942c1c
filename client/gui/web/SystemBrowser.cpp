#include "gui/web/SystemBrowser.h"

#include "core/PageLinks.h"
#include "platform/PlatformDesktop.h"

#include <QDebug>
#include <QUrl>

bool openInSystemBrowser(const QUrl &url)
{
    if (!isBrowserAddress(url)) {
        if (!url.isEmpty())
            qDebug("not opened in the browser: %s", qPrintable(url.toDisplayString()));
        return false;
    }
    return desktopPlatform().openAddress(url);
}
