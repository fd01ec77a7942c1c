#include "gui/web/webPopupForm.h"
#include "ui_webPopupForm.h"


#include <QUrl>

webPopupForm::webPopupForm(QWidget *parent)
    : WebFormBase(parent)
    , ui(new Ui::webPopupForm)
{
    ui->setupUi(this);
}

webPopupForm::~webPopupForm()
{
    delete ui;
}

bool webPopupForm::OnFormSubmitted(const QUrl &url)
{
    return OnLinkClicked(url);
}

bool webPopupForm::OnLinkClicked(const QUrl &url)
{
    return handleLink(LinkHandler::Popup, url);
}
