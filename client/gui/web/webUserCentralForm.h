#pragma once

#include "gui/LatestInstance.h"
#include "gui/web/WebTabForm.h"

namespace Ui {
class webUserCentralForm;
}

// The user-centre page.
class webUserCentralForm : public WebTabForm, public LatestInstance<webUserCentralForm>
{
    Q_OBJECT

public:
    explicit webUserCentralForm(QWidget *parent = nullptr);
    ~webUserCentralForm() override;

    bool OnLinkClicked(const QUrl &url) override;

private:
    Ui::webUserCentralForm *ui = nullptr;
};
