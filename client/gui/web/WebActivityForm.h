#pragma once

#include "gui/LatestInstance.h"
#include "gui/web/WebTabForm.h"

namespace Ui {
class WebActivityForm;
}

// The activity page.
class WebActivityForm : public WebTabForm, public LatestInstance<WebActivityForm>
{
    Q_OBJECT

public:
    explicit WebActivityForm(QWidget *parent = nullptr);
    ~WebActivityForm() override;

    using WebFormBase::loadUrl;
    using WebFormBase::callStatusCallback;
    using WebFormBase::callLoginCallback;
    using WebFormBase::callLogoutCallback;
    using WebFormBase::callJumpCallback;

    bool OnLinkClicked(const QUrl &url) override;

private:
    Ui::WebActivityForm *ui = nullptr;
};
