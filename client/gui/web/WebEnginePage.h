#pragma once

#include <QUrl>
#include <QWebEnginePage>

class WebBrowserDelegate;

// A store page: hands clicked links and form submissions to the form that
// shows it, and sends new-window requests to the system browser.
class WebEnginePage : public QWebEnginePage
{
    Q_OBJECT

public:
    explicit WebEnginePage(QObject *parent);

    // Not owned; the owning form sets it right after constructing the page.
    void setDelegate(WebBrowserDelegate *delegate) { this->delegate = delegate; }
    WebBrowserDelegate *browserDelegate() const { return delegate; }
    QUrl linkUnderPointer() const { return hoveredUrl; }

    // True, once, for the failed load that only reports a refused "mivo"
    // navigation: that is no failed page load.
    bool takeRefusedNavigationLoad(bool ok);

public slots:
    void OnLinkHovered(const QString &url);

protected:
    QWebEnginePage *createWindow(WebWindowType type) override;
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;

private:
    WebBrowserDelegate *delegate = nullptr;
    QUrl hoveredUrl;
    int refusedNavigations = 0;
};
