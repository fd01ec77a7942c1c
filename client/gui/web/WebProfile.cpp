#include "gui/web/WebProfile.h"

#include <QCoreApplication>
#include <QPointer>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

namespace {
const char kMivoScheme[] = "mivo";

// "mivo" links are commands for the client, never documents: every request
// that still reaches the profile (an image or frame source) is denied.
class RefusingSchemeHandler : public QWebEngineUrlSchemeHandler
{
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob *job) override { job->fail(QWebEngineUrlRequestJob::RequestDenied); }
};

QPointer<QWebEngineProfile> sharedProfile;
int pagesUsingProfile = 0;
bool releaseRequested = false;

void deleteProfileWhenUnused()
{
    if (releaseRequested && pagesUsingProfile == 0 && sharedProfile) {
        delete sharedProfile.data();
        releaseRequested = false;
    }
}
} // namespace

void prepareWebPages()
{
    QWebEngineUrlScheme scheme(kMivoScheme);
    // Host syntax: the command is the host, so it arrives in lower case.
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    QWebEngineUrlScheme::registerScheme(scheme);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

bool isMivoUrl(const QUrl &url)
{
    return url.scheme() == QLatin1String(kMivoScheme);
}

QWebEngineProfile *clientWebProfile()
{
    if (!sharedProfile) {
        sharedProfile = new QWebEngineProfile();
        sharedProfile->installUrlSchemeHandler(kMivoScheme, new RefusingSchemeHandler(sharedProfile));
    }
    return sharedProfile;
}

void holdClientWebProfile(QObject *page)
{
    ++pagesUsingProfile;
    QObject::connect(page, &QObject::destroyed, []() {
        --pagesUsingProfile;
        deleteProfileWhenUnused();
    });
}

void releaseClientWebProfile()
{
    releaseRequested = true;
    deleteProfileWhenUnused();
}
