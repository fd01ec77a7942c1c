#pragma once

#include "gui/web/WebFormBase.h"

// The four page forms of the body window's tabs: they report load progress
// and show the store's background picture behind their transparent page.
class WebTabForm : public WebFormBase
{
    Q_OBJECT

public:
    // The tab pages' own form posts navigate as usual.
    bool OnFormSubmitted(const QUrl &url) override;

signals:
    void sendLoadProcess(int progress);

public slots:
    void webViewLoadStarted();
    void webViewLoadProgress(int progress);

protected:
    using WebFormBase::WebFormBase;

    void connectView() override;
    void reportLoadFinished(bool ok) override;
    void resizeEvent(QResizeEvent *event) override;
};
