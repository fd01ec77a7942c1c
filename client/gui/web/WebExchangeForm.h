#pragma once

#include "gui/web/WebTabForm.h"

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

    using WebFormBase::callLoginCallback;
    using WebFormBase::callLogoutCallback;
    using WebFormBase::callJumpCallback;

    bool OnLinkClicked(const QUrl &url) override;

private:
    static WebExchangeForm *self;
    Ui::WebExchangeForm *ui = nullptr;
};
