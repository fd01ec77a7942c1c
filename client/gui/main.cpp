#include "core/LogMessageHandler.h"
#include "gui/BackgroundDialog.h"
#include "gui/OrbelaDialog.h"
#include "gui/web/WebProfile.h"
#include "platform/PlatformServices.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (!platform().acquireInstanceLock()) {
        platform().notifyRunningInstance();
        return 0;
    }
    qInstallMessageHandler(logMessageHandler);
    prepareWebPages();
    QApplication app(argc, argv);

    int result = 0;
    {
        OrbelaDialog window(nullptr);
        QObject::connect(&window, &OrbelaDialog::quitRequested, &app, &QCoreApplication::quit);
        const QRect r = window.bodyWindow()->geometry();
        window.setGeometry(r.left(), r.top(), r.width(), OrbelaDialog::kTitleBarHeight);
        window.show();
        // A quit asked for before the loop runs (a confirmed look-up failure,
        // a hand-over) must still end the client.
        if (!window.hasQuit())
            result = app.exec();
    }
    releaseClientWebProfile();
    return result;
}
