#pragma once

#include "gui/LatestInstance.h"
#include "gui/web/WebTabForm.h"

namespace Ui {
class WebGameForm;
}

// The game store page, the client's main page.
class WebGameForm : public WebTabForm, public LatestInstance<WebGameForm>
{
    Q_OBJECT

public:
    explicit WebGameForm(QWidget *parent = nullptr);
    ~WebGameForm() override;

    using WebFormBase::loadUrl;
    using WebFormBase::reload;
    using WebFormBase::callStatusCallback;
    using WebFormBase::callLoginCallback;
    using WebFormBase::callLogoutCallback;
    using WebFormBase::callJumpCallback;

    void callGameDetail(const QString &text);

    bool OnLinkClicked(const QUrl &url) override;

private:
    Ui::WebGameForm *ui = nullptr;
};
