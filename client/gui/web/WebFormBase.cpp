#include "gui/web/WebFormBase.h"

#include "core/PageScripts.h"
#include "gui/web/FormLinkActions.h"
#include "gui/web/WebEnginePage.h"
#include "gui/web/WebEngineView.h"

#include <utility>

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
    waitingCalls.clear();
    pageLoading = false;
    if (view) {
        disconnect(view, nullptr, this, nullptr);
        view->hide();
        view->deleteLater();
        view = nullptr;
    }
    if (page) {
        disconnect(page, nullptr, this, nullptr);
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
    connect(page, &QWebEnginePage::loadStarted, this, [this]() { pageLoading = true; });
    connect(page, &QWebEnginePage::loadFinished, this, &WebFormBase::noteLoadFinished);
    connect(page, &QWebEnginePage::loadFinished, this, &WebFormBase::runWaitingCalls);
    // The view never made a page of its own (that would use the default,
    // disk-backed profile), so there is none to release here.
    view->setPage(page);
    loadAsked(QUrl(url, QUrl::TolerantMode));
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

void WebFormBase::callPageFunction(const QString &function, const QString &argument)
{
    if (!page)
        return;
    // A document still loading has not defined the page's functions yet, and
    // the one it replaces is going: the call waits for the load to finish.
    if (pageLoading)
        waitingCalls << pageFunctionCall(function, argument);
    else
        page->runJavaScript(pageFunctionCall(function, argument));
}

void WebFormBase::runWaitingCalls()
{
    pageLoading = false;
    // A failed load runs them too: a refused "mivo" navigation leaves the
    // loaded document in place, and on an error page the calls find no function.
    const QStringList calls = std::exchange(waitingCalls, QStringList());
    for (const QString &call : calls)
        page->runJavaScript(call);
}

void WebFormBase::loadUrl(const QString &url)
{
    if (view)
        loadAsked(QUrl(url, QUrl::TolerantMode));
}

void WebFormBase::loadAsked(const QUrl &url)
{
    askedUrl = url;
    askedArrived = false;
    pageLoading = true;
    view->load(askedUrl);
}

void WebFormBase::noteLoadFinished(bool ok)
{
    // The end of a load the asked one replaced (or of a refused "mivo" link)
    // says nothing about the asked page; one the server redirected is still it.
    if (ok && page->requestedUrl().matches(askedUrl, QUrl::StripTrailingSlash | QUrl::NormalizePathSegments))
        askedArrived = true;
}

void WebFormBase::reload()
{
    if (!page)
        return;
    if (!askedArrived) {
        loadAsked(askedUrl);
        return;
    }
    pageLoading = true;
    page->triggerAction(QWebEnginePage::Reload);
}

void WebFormBase::callStatusCallback(const QString &text)
{
    callPageFunction(QStringLiteral("status_callback"), text);
}

void WebFormBase::callLoginCallback()
{
    callPageFunction(QStringLiteral("login_callback"), loginArgument);
}

void WebFormBase::callLogoutCallback()
{
    callPageFunction(QStringLiteral("logout_callback"), loginArgument);
}

void WebFormBase::callJumpCallback(const QString &text)
{
    callPageFunction(QStringLiteral("jump_callback"), text);
}

bool WebFormBase::handleLink(LinkHandler handler, const QUrl &url)
{
    FormLinkActions actions(this);
    return handlePageLink(handler, url, actions);
}
