#pragma once

#include "core/PageLinks.h"

class WebFormBase;

// What a page's links do, carried out by the main window and the forms; one
// per handled link, for the form that received it.
class FormLinkActions : public PageLinkActions
{
public:
    explicit FormLinkActions(WebFormBase *form);

    QString loggedInUserId() override;
    void setLoginArgument(const QString &argument) override;
    void showLoginDialog() override;
    void startDownload(VRAppInfo *record) override;
    void launchGame(VRAppInfo *record) override;
    void postDownloadHit(const QString &deviceId, const QString &userId, const QString &gameId) override;
    void switchToManager() override;
    void switchToTab(Tab tab) override;
    void expandPushPanel() override;
    void callJumpCallback(Tab tab, const QString &argument) override;
    void requestUserInfo() override;
    void showExchangeTips() override;
    void foldPushPanel() override;
    void postOnlineLength() override;
    void openInBrowser(const QUrl &url) override;
    void loginSucceeded(const QString &uid, const QString &nickname, const QString &avatar) override;
    void feedbackSucceeded() override;
    void feedbackClosed() override;

private:
    void closeFeedbackPopup();

    WebFormBase *form;
};
