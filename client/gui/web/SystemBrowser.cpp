#include "gui/web/SystemBrowser.h"

#include "platform/PlatformDesktop.h"

#include <QDebug>
#include <QUrl>

bool openInSystemBrowser(const QUrl &url)
{
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        || url.host().isEmpty()) {
        if (!url.isEmpty())
            qDebug("not opened in the browser: %s", qPrintable(url.toDisplayString()));
        return false;
    }
    return desktopPlatform().openAddress(url);
}
