#pragma once

#include "gui/LatestInstance.h"
#include "gui/web/WebFormBase.h"

namespace Ui {
class webPopupForm;
}

// A page inside a popup (web login, outside-account login, feedback); its form submissions count as links; its owner sizes the view.
class webPopupForm : public WebFormBase, public LatestInstance<webPopupForm>
{
    Q_OBJECT

public:
    explicit webPopupForm(QWidget *parent = nullptr);
    ~webPopupForm() override;

    bool OnFormSubmitted(const QUrl &url) override;
    bool OnLinkClicked(const QUrl &url) override;

private:
    Ui::webPopupForm *ui = nullptr;
};
