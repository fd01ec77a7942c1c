#include "gui/web/webUserCentralForm.h"
#include "ui_webUserCentralForm.h"

#include "core/ServiceHosts.h"

#include <QUrl>

webUserCentralForm::webUserCentralForm(QWidget *parent)
    : WebTabForm(parent)
    , ui(new Ui::webUserCentralForm)
{
    ui->setupUi(this);
    createView(appApiPageUrl(QStringLiteral("/client/index")));
}

webUserCentralForm::~webUserCentralForm()
{
    delete ui;
}

bool webUserCentralForm::OnLinkClicked(const QUrl &url)
{
    return handleLink(LinkHandler::UserCentral, url);
}
