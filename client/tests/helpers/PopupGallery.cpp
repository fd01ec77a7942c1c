// Shows every kind of popup over the body window in turn and saves a picture
// of the whole screen for each: popup-gallery <folder>. Run it on an X server
// with the hosts pointing at the store stand-in.

#include "gui/BackgroundDialog.h"
#include "gui/OrbelaDialog.h"
#include "gui/popups/PopupWindowDialog.h"
#include "gui/web/WebGameForm.h"
#include "gui/web/WebProfile.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

namespace {
void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void shoot(const QString &folder, const QString &name)
{
    QApplication::primaryScreen()->grabWindow(0).save(folder + QStringLiteral("/popup-") + name
                                                     + QStringLiteral(".png"));
    qInfo("saved %s", qPrintable(name));
}

void showAndShoot(const QString &folder, const QString &name, const std::function<void()> &open, int settleMs)
{
    open();
    settle(settleMs);
    shoot(folder, name);
    if (PopupWindowDialog *popup = PopupWindowDialog::instance())
        popup->reject();
    settle(200);
}
} // namespace

int main(int argc, char *argv[])
{
    prepareWebPages();
    QApplication app(argc, argv);
    const QString folder = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".")).absolutePath();
    QDir().mkpath(folder);
    OrbelaDialog::setStartUpChecksEnabled(false);
    {
        OrbelaDialog window(nullptr);
        const QRect bodyRect(100, 60, 1280, 760);
        window.bodyWindow()->setGeometry(bodyRect);
        window.setGeometry(bodyRect.x(), bodyRect.y(), bodyRect.width(), OrbelaDialog::kTitleBarHeight);
        window.show();
        settle(3000); // the store page

        // The information page runs modally: the picture is taken from inside.
        QTimer::singleShot(1500, [&folder]() {
            shoot(folder, QStringLiteral("information"));
            PopupWindowDialog::instance()->reject();
        });
        window.showMessage(QString(), QStringLiteral("确定要退出吗？"), QString(), QString(), 0);
        settle(200);
        showAndShoot(folder, QStringLiteral("device"), [&window]() { window.showDeviceSelection(); }, 2000);
        showAndShoot(folder, QStringLiteral("settings"), [&window]() { window.onSettingsClicked(); }, 1500);
        showAndShoot(folder, QStringLiteral("feedback"), [&window]() { window.onFeedbackClicked(); }, 3000);
        showAndShoot(folder, QStringLiteral("recharge"), [&window]() { window.showRechargeTips(); }, 1500);
        showAndShoot(folder, QStringLiteral("exchange"), [&window]() { window.showExchangeTips(); }, 1500);
    }
    releaseClientWebProfile();
    return 0;
}
