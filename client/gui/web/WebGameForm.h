#pragma once

#include "gui/web/WebTabForm.h"

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

    using WebFormBase::loadUrl;
    using WebFormBase::callStatusCallback;
    using WebFormBase::callLoginCallback;
    using WebFormBase::callLogoutCallback;
    using WebFormBase::callJumpCallback;

    void reload();
    void callGameDetail(const QString &text);

    bool OnLinkClicked(const QUrl &url) override;

private:
    static WebGameForm *self;
    Ui::WebGameForm *ui = nullptr;
};
