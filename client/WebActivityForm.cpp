#include "WebActivityForm.h"
#include "ui_WebActivityForm.h"

#include "ServiceHosts.h"
#include "WebEngineView.h"
#include "WebProfile.h"

WebActivityForm *WebActivityForm::self = nullptr;

WebActivityForm::WebActivityForm(QWidget *parent)
    : WebTabForm(parent)
    , ui(new Ui::WebActivityForm)
{
    self = this;
    ui->setupUi(this);
    createView(appApiPageUrl(QStringLiteral("/client/activity")));
    loginArgument = QString();
}

WebActivityForm::~WebActivityForm()
{
    delete ui;
    if (self == this)
        self = nullptr;
}

WebActivityForm *WebActivityForm::instance()
{
    return self;
}

void WebActivityForm::loadUrl(const QString &url)
{
    view->load(QUrl(url, QUrl::TolerantMode));
}

void WebActivityForm::callStatusCallback(const QString &text)
{
    callPageFunction(QStringLiteral("status_callback(%1)"), text);
}

void WebActivityForm::callLoginCallback()
{
    callPageFunction(QStringLiteral("login_callback(%1)"), loginArgument);
}

void WebActivityForm::callLogoutCallback()
{
    callPageFunction(QStringLiteral("logout_callback(%1)"), loginArgument);
}

void WebActivityForm::callJumpCallback(const QString &text)
{
    callPageFunction(QStringLiteral("jump_callback(%1)"), text);
}

bool WebActivityForm::OnFormSubmitted(const QUrl &)
{
    return true;
}

bool WebActivityForm::OnLinkClicked(const QUrl &url)
{
    qInfo("[Mivo] url:%s", qPrintable(url.toString()));
    return !isMivoUrl(url);
}
