#include "gui/web/WebFormBase.h"

#include "core/PageScripts.h"
#include "gui/web/FormLinkActions.h"
#include "gui/web/WebEnginePage.h"
#include "gui/web/WebEngineView.h"

WebFormBase::WebFormBase(QWidget *parent)
    : QWidget(parent)
{
}

WebFormBase::~WebFormBase()
{
    // The view goes before its page, the page before the profile.
    delete view;
    delete page;
}

void WebFormBase::releaseView()
{
    if (view) {
        disconnect(view, nullptr, this, nullptr);
        view->hide();
        view->deleteLater();
        view = nullptr;
    }
    if (page) {
        page->deleteLater();
        page = nullptr;
    }
}

void WebFormBase::createView(const QString &url)
{
    releaseView();
    view = new WebEngineView(this);
    view->setGeometry(0, 0, width(), height());
    page = new WebEnginePage(this);
    page->setBackgroundColor(Qt::transparent);
    page->setDelegate(this);
    // The view never made a page of its own (that would use the default,
    // disk-backed profile), so there is none to release here.
    view->setPage(page);
    view->load(QUrl(url, QUrl::TolerantMode));
    view->show();
    connectView();
}

void WebFormBase::connectView()
{
    connect(view, &QWebEngineView::loadFinished, this, &WebFormBase::webViewLoadFinished);
}

void WebFormBase::webViewLoadFinished(bool ok)
{
    if (page && page->takeRefusedNavigationLoad(ok))
        return;
    reportLoadFinished(ok);
}

void WebFormBase::reportLoadFinished(bool ok)
{
    emit sendLoadFinished(ok);
}

void WebFormBase::callPageFunction(const QString &format, const QString &argument)
{
    if (page)
        page->runJavaScript(scriptCall(format, argument));
}

void WebFormBase::loadUrl(const QString &url)
{
    if (view)
        view->load(QUrl(url, QUrl::TolerantMode));
}

void WebFormBase::callStatusCallback(const QString &text)
{
    callPageFunction(QStringLiteral("status_callback(%1)"), text);
}

void WebFormBase::callLoginCallback()
{
    callPageFunction(QStringLiteral("login_callback(%1)"), loginArgument);
}

void WebFormBase::callLogoutCallback()
{
    callPageFunction(QStringLiteral("logout_callback(%1)"), loginArgument);
}

void WebFormBase::callJumpCallback(const QString &text)
{
    callPageFunction(QStringLiteral("jump_callback(%1)"), text);
}

bool WebFormBase::handleLink(LinkHandler handler, const QUrl &url)
{
    FormLinkActions actions(this);
    return handlePageLink(handler, url, actions);
}
