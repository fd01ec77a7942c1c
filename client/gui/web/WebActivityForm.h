#pragma once

#include "gui/web/WebTabForm.h"

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

    using WebFormBase::loadUrl;
    using WebFormBase::callStatusCallback;
    using WebFormBase::callLoginCallback;
    using WebFormBase::callLogoutCallback;
    using WebFormBase::callJumpCallback;

    bool OnLinkClicked(const QUrl &url) override;

private:
    static WebActivityForm *self;
    Ui::WebActivityForm *ui = nullptr;
};
