#include "gui/web/WebGameForm.h"
#include "ui_WebGameForm.h"

#include "core/ServiceHosts.h"

WebGameForm::WebGameForm(QWidget *parent)
    : WebTabForm(parent)
    , ui(new Ui::WebGameForm)
{
    ui->setupUi(this);
    createView(appApiPageUrl(QStringLiteral("/client/index")));
}

WebGameForm::~WebGameForm()
{
    delete ui;
}

void WebGameForm::callGameDetail(const QString &text)
{
    callPageFunction(QStringLiteral("game_detail"), text);
}

bool WebGameForm::OnLinkClicked(const QUrl &url)
{
    return handleLink(LinkHandler::Game, url);
}
