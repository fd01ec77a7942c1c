#pragma once

#include "gui/web/WebTabForm.h"

namespace Ui {
class webUserCentralForm;
}

// The user-centre page.
class webUserCentralForm : public WebTabForm
{
    Q_OBJECT

public:
    explicit webUserCentralForm(QWidget *parent = nullptr);
    ~webUserCentralForm() override;

    // The form constructed last; null once it is destroyed.
    static webUserCentralForm *instance();

    bool OnLinkClicked(const QUrl &url) override;

private:
    static webUserCentralForm *self;
    Ui::webUserCentralForm *ui = nullptr;
};
