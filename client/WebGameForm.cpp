#include "WebGameForm.h"
#include "ui_WebGameForm.h"

#include "ServiceHosts.h"
#include "WebEnginePage.h"
#include "WebEngineView.h"
#include "WebProfile.h"

WebGameForm *WebGameForm::self = nullptr;

WebGameForm::WebGameForm(QWidget *parent)
    : WebTabForm(parent)
    , ui(new Ui::WebGameForm)
{
    self = this;
    ui->setupUi(this);
    createView(appApiPageUrl(QStringLiteral("/client/index")));
    loginArgument = QString();
}

WebGameForm::~WebGameForm()
{
    delete ui;
    if (self == this)
        self = nullptr;
}

WebGameForm *WebGameForm::instance()
{
    return self;
}

void WebGameForm::loadUrl(const QString &url)
{
    view->load(QUrl(url, QUrl::TolerantMode));
}

void WebGameForm::reload()
{
    page->triggerAction(QWebEnginePage::Reload);
}

void WebGameForm::callStatusCallback(const QString &text)
{
    callPageFunction(QStringLiteral("status_callback(%1)"), text);
}

void WebGameForm::callLoginCallback()
{
    callPageFunction(QStringLiteral("login_callback(%1)"), loginArgument);
}

void WebGameForm::callLogoutCallback()
{
    callPageFunction(QStringLiteral("logout_callback(%1)"), loginArgument);
}

void WebGameForm::callJumpCallback(const QString &text)
{
    callPageFunction(QStringLiteral("jump_callback(%1)"), text);
}

void WebGameForm::callGameDetail(const QString &text)
{
    callPageFunction(QStringLiteral("game_detail(%1)"), text);
}

bool WebGameForm::OnFormSubmitted(const QUrl &)
{
    return true;
}

bool WebGameForm::OnLinkClicked(const QUrl &url)
{
    qInfo("[Mivo] url:%s", qPrintable(url.toString()));
    if (!isMivoUrl(url))
        return true;
    qInfo("[Mivo] click btn url fragment:%s", qPrintable(url.fragment()));
    return false;
}
