#include "gui/web/WebEnginePage.h"

#include "gui/web/SystemBrowser.h"
#include "gui/web/WebBrowserDelegate.h"
#include "gui/web/WebProfile.h"

WebEnginePage::WebEnginePage(QObject *parent)
    : QWebEnginePage(clientWebProfile(), parent)
{
    holdClientWebProfile(this);
    connect(this, &QWebEnginePage::linkHovered, this, &WebEnginePage::OnLinkHovered);
}

void WebEnginePage::OnLinkHovered(const QString &url)
{
    hoveredUrl = QUrl(url, QUrl::TolerantMode);
}

bool WebEnginePage::takeRefusedNavigationLoad(bool ok)
{
    if (ok)
        refusedNavigations = 0;
    if (ok || refusedNavigations == 0)
        return false;
    --refusedNavigations;
    return true;
}

bool WebEnginePage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    // A "mivo" link is a command for the client whatever way the page went
    // there (click, script, redirect, form); the page itself never goes.
    if (isMivoUrl(url)) {
        if (delegate)
            delegate->OnLinkClicked(url);
        // Only a refused main-frame navigation ends in a failed page load.
        if (isMainFrame)
            ++refusedNavigations;
        return false;
    }
    if (delegate && type == NavigationTypeLinkClicked)
        return delegate->OnLinkClicked(url);
    if (delegate && type == NavigationTypeFormSubmitted)
        return delegate->OnFormSubmitted(url);
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

QWebEnginePage *WebEnginePage::createWindow(WebWindowType)
{
    // No page or window is made inside the client.
    if (isMivoUrl(hoveredUrl)) {
        if (delegate)
            delegate->OnLinkClicked(hoveredUrl);
    } else {
        openInSystemBrowser(hoveredUrl);
    }
    return nullptr;
}
