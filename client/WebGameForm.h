#pragma once

#include "WebTabForm.h"

namespace Ui {
class WebGameForm;
}

// The game store page, the client's main page.
class WebGameForm : public WebTabForm
{
    Q_OBJECT

public:
    explicit WebGameForm(QWidget *parent = nullptr);
    ~WebGameForm() override;

    // The form constructed last; null once it is destroyed.
    static WebGameForm *instance();

    void loadUrl(const QString &url);
    void reload();
    void callStatusCallback(const QString &text);
    void callLoginCallback();
    void callLogoutCallback();
    void callJumpCallback(const QString &text);
    void callGameDetail(const QString &text);

    bool OnFormSubmitted(const QUrl &url) override;
    bool OnLinkClicked(const QUrl &url) override;

private:
    static WebGameForm *self;
    Ui::WebGameForm *ui = nullptr;
    // The argument of the last "login" link of the page.
    QString loginArgument;
};
