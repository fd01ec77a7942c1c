#pragma once

#include "gui/LatestInstance.h"
#include "gui/web/WebTabForm.h"

namespace Ui {
class WebExchangeForm;
}

// The exchange page.
class WebExchangeForm : public WebTabForm, public LatestInstance<WebExchangeForm>
{
    Q_OBJECT

public:
    explicit WebExchangeForm(QWidget *parent = nullptr);
    ~WebExchangeForm() override;

    using WebFormBase::callLoginCallback;
    using WebFormBase::callLogoutCallback;
    using WebFormBase::callJumpCallback;

    bool OnLinkClicked(const QUrl &url) override;

private:
    Ui::WebExchangeForm *ui = nullptr;
};
