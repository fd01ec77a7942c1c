#include "gui/web/WebActivityForm.h"
#include "ui_WebActivityForm.h"

#include "core/ServiceHosts.h"
#include "gui/web/WebEngineView.h"
#include "gui/web/WebProfile.h"

WebActivityForm::WebActivityForm(QWidget *parent)
    : WebTabForm(parent)
    , ui(new Ui::WebActivityForm)
{
    ui->setupUi(this);
    createView(appApiPageUrl(QStringLiteral("/client/activity")));
    loginArgument = QString();
}

WebActivityForm::~WebActivityForm()
{
    delete ui;
}

bool WebActivityForm::OnLinkClicked(const QUrl &url)
{
    return handleLink(LinkHandler::Activity, url);
}
