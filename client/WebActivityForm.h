#pragma once

#include "WebTabForm.h"

namespace Ui {
class WebActivityForm;
}

// The activity page.
class WebActivityForm : public WebTabForm
{
    Q_OBJECT

public:
    explicit WebActivityForm(QWidget *parent = nullptr);
    ~WebActivityForm() override;

    // The form constructed last; null once it is destroyed.
    static WebActivityForm *instance();

    void loadUrl(const QString &url);
    void callStatusCallback(const QString &text);
    void callLoginCallback();
    void callLogoutCallback();
    void callJumpCallback(const QString &text);

    bool OnFormSubmitted(const QUrl &url) override;
    bool OnLinkClicked(const QUrl &url) override;

private:
    static WebActivityForm *self;
    Ui::WebActivityForm *ui = nullptr;
    // The argument of the last "login" link of the page.
    QString loginArgument;
};
