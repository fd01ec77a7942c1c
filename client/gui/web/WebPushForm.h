#pragma once

#include "gui/LatestInstance.h"
#include "gui/web/WebFormBase.h"

namespace Ui {
class WebPushForm;
}

// The task page of the slide-in push panel; its form submissions count as links.
class WebPushForm : public WebFormBase, public LatestInstance<WebPushForm>
{
    Q_OBJECT

public:
    explicit WebPushForm(QWidget *parent = nullptr);
    ~WebPushForm() override;

    using WebFormBase::loadUrl;
    using WebFormBase::callLoginCallback;
    using WebFormBase::callLogoutCallback;
    using WebFormBase::callJumpCallback;

    bool OnFormSubmitted(const QUrl &url) override;
    bool OnLinkClicked(const QUrl &url) override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    Ui::WebPushForm *ui = nullptr;
};
