#pragma once

#include "WebTabForm.h"

namespace Ui {
class WebExchangeForm;
}

// The exchange page.
class WebExchangeForm : public WebTabForm
{
    Q_OBJECT

public:
    explicit WebExchangeForm(QWidget *parent = nullptr);
    ~WebExchangeForm() override;

    // The form constructed last; null once it is destroyed.
    static WebExchangeForm *instance();

    void callLoginCallback();
    void callLogoutCallback();
    void callJumpCallback(const QString &text);

    bool OnFormSubmitted(const QUrl &url) override;
    bool OnLinkClicked(const QUrl &url) override;

private:
    static WebExchangeForm *self;
    Ui::WebExchangeForm *ui = nullptr;
    // The argument of the last "login" link of the page.
    QString loginArgument;
};
