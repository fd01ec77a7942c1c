#include "gui/web/WebActivityForm.h"
#include "ui_WebActivityForm.h"

#include "core/ServiceHosts.h"

WebActivityForm::WebActivityForm(QWidget *parent)
    : WebTabForm(parent)
    , ui(new Ui::WebActivityForm)
{
    ui->setupUi(this);
    createView(appApiPageUrl(QStringLiteral("/client/activity")));
}

WebActivityForm::~WebActivityForm()
{
    delete ui;
}

bool WebActivityForm::OnLinkClicked(const QUrl &url)
{
    return handleLink(LinkHandler::Activity, url);
}
