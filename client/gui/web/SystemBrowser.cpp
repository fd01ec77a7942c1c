#include "gui/web/SystemBrowser.h"

#include <QDebug>
#include <QDesktopServices>
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
    return QDesktopServices::openUrl(url);
}
