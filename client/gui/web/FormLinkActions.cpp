#include "gui/web/FormLinkActions.h"

#include "core/game/VRAppInfo.h"
#include "core/webapi/StatisticsHits.h"
#include "gui/BackgroundDialog.h"
#include "gui/OrbelaDialog.h"
#include "gui/account/loginDialog.h"
#include "gui/popups/PopupWindowDialog.h"
#include "gui/popups/popupWebDialog.h"
#include "gui/web/SystemBrowser.h"
#include "gui/web/WebActivityForm.h"
#include "gui/web/WebExchangeForm.h"
#include "gui/web/WebGameForm.h"
#include "gui/web/WebPushForm.h"

#include <QTimer>

FormLinkActions::FormLinkActions(WebFormBase *linkForm)
    : form(linkForm)
{
}

QString FormLinkActions::loggedInUserId()
{
    OrbelaDialog *window = OrbelaDialog::instance();
    return window ? window->getUserId() : QString();
}

void FormLinkActions::setLoginArgument(const QString &argument)
{
    form->setLoginArgument(argument);
}

void FormLinkActions::showLoginDialog()
{
    BackgroundDialog *body = BackgroundDialog::instance();
    loginDialog::openOver(nullptr, body ? body->geometry() : QRect());
}

void FormLinkActions::startDownload(VRAppInfo *record)
{
    if (OrbelaDialog *window = OrbelaDialog::instance())
        window->startDownload(record);
    else
        delete record;
}

void FormLinkActions::launchGame(VRAppInfo *record)
{
    // A launch may ask the player (a game whose folder is gone): its modal
    // loop must not run inside the page's navigation request.
    QTimer::singleShot(0, [record]() {
        if (OrbelaDialog *window = OrbelaDialog::instance())
            window->launchGame(record);
        else
            delete record;
    });
}

void FormLinkActions::postDownloadHit(const QString &deviceId, const QString &userId, const QString &gameId)
{
    postHits(QStringLiteral("download"), deviceId, userId, gameId);
}

void FormLinkActions::switchToManager()
{
    if (OrbelaDialog *window = OrbelaDialog::instance())
        window->switchToManager();
}

void FormLinkActions::switchToTab(Tab tab)
{
    OrbelaDialog *window = OrbelaDialog::instance();
    if (!window)
        return;
    switch (tab) {
    case Tab::Game: window->switchToGame(); break;
    case Tab::Activity: window->switchToActivity(); break;
    case Tab::Exchange: window->switchToExchange(); break;
    case Tab::Push: window->expandPushPanel(); break;
    }
}

void FormLinkActions::expandPushPanel()
{
    if (OrbelaDialog *window = OrbelaDialog::instance())
        window->expandPushPanel();
}

void FormLinkActions::callJumpCallback(Tab tab, const QString &argument)
{
    auto jump = [&argument](auto *page) {
        if (page)
            page->callJumpCallback(argument);
    };
    switch (tab) {
    case Tab::Game: jump(WebGameForm::instance()); break;
    case Tab::Activity: jump(WebActivityForm::instance()); break;
    case Tab::Exchange: jump(WebExchangeForm::instance()); break;
    case Tab::Push: jump(WebPushForm::instance()); break;
    }
}

void FormLinkActions::requestUserInfo()
{
    if (OrbelaDialog *window = OrbelaDialog::instance())
        window->requestUserInfo();
}

void FormLinkActions::showExchangeTips()
{
    // The tips run a modal loop, which must not run inside the page's navigation request.
    QTimer::singleShot(0, []() {
        if (OrbelaDialog *window = OrbelaDialog::instance())
            window->showExchangeTips();
    });
}

void FormLinkActions::foldPushPanel()
{
    if (OrbelaDialog *window = OrbelaDialog::instance())
        window->foldPushPanel();
}

void FormLinkActions::postOnlineLength()
{
    if (OrbelaDialog *window = OrbelaDialog::instance())
        window->postOnlineLength();
}

void FormLinkActions::openInBrowser(const QUrl &url)
{
    openInSystemBrowser(url);
}

void FormLinkActions::loginSucceeded(const QString &uid, const QString &nickname, const QString &avatar)
{
    // The popup whose page logged in closes, whichever popup is newest.
    if (auto *popup = qobject_cast<popupWebDialog *>(form->window()))
        popup->close();
    if (OrbelaDialog *window = OrbelaDialog::instance()) {
        window->downloadAvator(uid, nickname, avatar);
        window->callLoginCallback();
    }
    // Released once the page has had the handler's answer.
    form->releaseView();
}

void FormLinkActions::closeFeedbackPopup()
{
    PopupWindowDialog *popup = qobject_cast<PopupWindowDialog *>(form->window());
    if (!popup)
        popup = PopupWindowDialog::instance();
    if (popup)
        popup->close();
}

void FormLinkActions::feedbackSucceeded()
{
    closeFeedbackPopup();
    QTimer::singleShot(0, []() {
        if (OrbelaDialog *window = OrbelaDialog::instance())
            window->showMessage(QStringLiteral("反馈提示："), QStringLiteral("反馈成功，我们会尽快给您回复!"),
                                QStringLiteral("我知道了"), QString(), 1);
    });
}

void FormLinkActions::feedbackClosed()
{
    closeFeedbackPopup();
}
