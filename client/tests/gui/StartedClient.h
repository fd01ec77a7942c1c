#pragma once
// The main window with its services started, against the store stand-in, in
// the test's own process: settings with a chosen device (so no device popup),
// no host look-up or version check, the engine library beside the test.

#include "core/AppSettings.h"
#include "core/download/DownloadManager.h"
#include "core/game/LocalDatabase.h"
#include "gui/BackgroundDialog.h"
#include "gui/OrbelaDialog.h"
#include "gui/web/WebEnginePage.h"
#include "gui/web/WebFormBase.h"
#include "tests/StoreServer.h"
#include "tests/gui/PageEvaluation.h"
#include "tests/WaitUntil.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QtTest>

// Once per test program, after the stand-in started.
inline bool prepareStartedClient(const StoreServer &server)
{
    server.serveAllHosts();
    OrbelaDialog::setStartUpChecksEnabled(false);
    const QString engine = QCoreApplication::applicationDirPath() + QStringLiteral("/libxldl.so");
    QFile::remove(engine);
    return QFile::copy(QString::fromLocal8Bit(qgetenv("ORBELA_ENGINE_LIBRARY")), engine);
}

// Forgets what an earlier test left: settings, database, task list.
inline void forgetClientState()
{
    QFile::remove(settingsFilePath());
    QFile::remove(LocalDatabase::filePath());
    QFile::remove(DownloadManager::taskListPath());
    AppSettings stored;
    stored.deviceId = QStringLiteral("1");
    stored.deviceName = QStringLiteral("Vive");
    stored.downloadTool = QStringLiteral("http");
    stored.windowRect = QRect(40, 30, 1196, 700);
    saveSettings(stored);
}

// A shown main window whose services have started (the automatic login included).
inline OrbelaDialog *startClient()
{
    auto *window = new OrbelaDialog(nullptr);
    window->bodyWindow()->setGeometry(40, 30, 1196, 700);
    window->setGeometry(40, 30, 1196, OrbelaDialog::kTitleBarHeight);
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        qWarning("the main window was not exposed");
    window->getNoNeedUpdateOrbela();
    return window;
}

#define WAIT_VERIFY(condition, timeoutMs) QVERIFY2(waitUntil([&]() { return bool(condition); }, timeoutMs), #condition)
#define WAIT_COMPARE(actual, expected, timeoutMs)                                                                    \
    do {                                                                                                             \
        waitUntil([&]() { return (actual) == (expected); }, timeoutMs);                                              \
        QCOMPARE(actual, expected);                                                                                  \
    } while (false)

// The calls the stand-in's page received from the client, as "name:value" texts.
inline QStringList pageCalls(QWebEnginePage *page)
{
    const QVariant calls = evaluateInPage(
        page, QStringLiteral("typeof orbelaCalls === 'undefined' ? [] : orbelaCalls.map(function(c){"
                             "return c.name + ':' + (typeof c.value === 'string' ? c.value : JSON.stringify(c.value));})"));
    return calls.toStringList();
}

// Waits until the form's page has loaded a document whose URL contains part.
inline bool waitForPage(WebFormBase *form, const QString &part, int timeoutMs = 20000)
{
    return waitUntil(
        [form, part]() {
            bool answered = false;
            return form->webPage() && form->webPage()->url().toString().contains(part)
                   && evaluateInPage(form->webPage(), QStringLiteral("document.readyState"), 200, &answered)
                              .toString()
                          == QLatin1String("complete");
        },
        timeoutMs);
}
