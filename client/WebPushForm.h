#pragma once

#include "WebFormBase.h"

namespace Ui {
class WebPushForm;
}

// The task page of the slide-in push panel; its form submissions count as links.
class WebPushForm : public WebFormBase
{
    Q_OBJECT

public:
    explicit WebPushForm(QWidget *parent = nullptr);
    ~WebPushForm() override;

    // The form constructed last; null once it is destroyed.
    static WebPushForm *instance();

    void loadUrl(const QString &url);
    void callLoginCallback();
    void callLogoutCallback();
    void callJumpCallback(const QString &text);

    bool OnFormSubmitted(const QUrl &url) override;
    bool OnLinkClicked(const QUrl &url) override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    static WebPushForm *self;
    Ui::WebPushForm *ui = nullptr;
    // The argument of the last "login" link of the page.
    QString loginArgument;
};
