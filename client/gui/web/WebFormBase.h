#pragma once

#include "core/PageLinks.h"
#include "gui/web/WebBrowserDelegate.h"

#include <QStringList>
#include <QUrl>
#include <QWidget>

class WebEnginePage;
class WebEngineView;

// What the six page forms share: one view and one page, both children of the
// form, the load-finished report and the calls into the page's scripts.
class WebFormBase : public QWidget, public WebBrowserDelegate
{
    Q_OBJECT

public:
    ~WebFormBase() override;

    // Builds the form's page and view over the whole form and loads url; an
    // earlier view and page are released, so the form keeps one view.
    void createView(const QString &url);
    WebEnginePage *webPage() const { return page; }
    // The argument of the page's last "login" link.
    void setLoginArgument(const QString &argument) { loginArgument = argument; }
    // Releases the view and the page by deferred deletion.
    void releaseView();
    WebEngineView *webView() const { return view; }

signals:
    void sendLoadFinished(bool ok);

public slots:
    void webViewLoadFinished(bool ok);

protected:
    explicit WebFormBase(QWidget *parent);

    // Connects the view's load signals to the form's slots.
    virtual void connectView();
    virtual void reportLoadFinished(bool ok);
    // Calls the page's function with the argument as a script value, once the
    // page has loaded and only where the page defines it; no result is awaited.
    void callPageFunction(const QString &function, const QString &argument);

    // What the forms offer as they need; each form publishes its own set.
    void loadUrl(const QString &url);
    // Reloads what the page shows; while a page asked for (createView,
    // loadUrl) is still on its way, that page is asked for again instead, as
    // the engine's reload would drop it for the page it replaces.
    void reload();
    void callStatusCallback(const QString &text);
    void callLoginCallback();
    void callLogoutCallback();
    void callJumpCallback(const QString &text);
    // Hands a link to the link protocol as this form's handler.
    bool handleLink(LinkHandler handler, const QUrl &url);

    // The argument of the last "login" link of the page; the login and logout
    // callbacks hand it back.
    QString loginArgument;
    WebEnginePage *page = nullptr;
    WebEngineView *view = nullptr;

private:
    void runWaitingCalls();
    void loadAsked(const QUrl &url);
    void noteLoadFinished(bool ok);

    // From the start of a load to its end; calls meanwhile wait in order.
    bool pageLoading = false;
    QStringList waitingCalls;
    // The page last asked for, and whether it has arrived.
    QUrl askedUrl;
    bool askedArrived = false;
};
