#include "tests/StoreServer.h"
#include "tests/gui/WebTestMain.h"
#include "core/GamesFolder.h"
#include "gui/popups/DeviceRadioList.h"
#include "gui/popups/PopupWindowDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QDirIterator>
#include <QtTest>

namespace {
template <typename T = QWidget>
T *part(QWidget *popup, const char *name)
{
    T *widget = popup->findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

// Answers the next folder dialog with folder (or cancels it when empty).
void answerFolderDialog(const QString &folder)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, folder]() {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->deleteLater();
        if (folder.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->setDirectory(folder);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    poll->start(20);
}

// The stand-in's device answer: devices 1..count, each "设备i|HMD-i".
QByteArray devicesAnswer(int count)
{
    QByteArray answer = "{\"status\":1,\"msg\":\"ok\",\"data\":{";
    for (int i = 1; i <= count; ++i)
        answer += QStringLiteral("%1\"%2\":\"设备%2|HMD-%2\"").arg(i > 1 ? "," : "").arg(i).toUtf8();
    return answer + "}}";
}

QList<QRadioButton *> shownRadios(const DeviceRadioList *list)
{
    QList<QRadioButton *> shown;
    for (QRadioButton *radio : list->findChildren<QRadioButton *>()) {
        if (radio->isVisibleTo(list))
            shown << radio;
    }
    return shown;
}

QRadioButton *radioShowing(const DeviceRadioList *list, int device)
{
    for (QRadioButton *radio : shownRadios(list)) {
        if (radio->text() == QStringLiteral("设备%1").arg(device))
            return radio;
    }
    return nullptr;
}

// The right column's radios are wider than the list (they reach under its
// scroll bar), so a row in sight is one whose whole height lies inside.
bool inSight(const DeviceRadioList *list, const QRadioButton *radio)
{
    return radio && radio->isVisibleTo(list) && radio->y() >= 0 && radio->geometry().bottom() <= list->rect().bottom()
        && radio->x() >= 0 && radio->x() < list->width();
}

QByteArray whereIs(const DeviceRadioList *list, const QRadioButton *radio)
{
    if (!radio)
        return "no radio shows that device; list scrolled to " + QByteArray::number(list->scrollBar()->value());
    const QRect at = radio->geometry();
    const QRect box = list->rect();
    return QStringLiteral("%1 at (%2,%3 %4x%5), list (%6,%7 %8x%9) scrolled to %10")
        .arg(radio->text())
        .arg(at.x()).arg(at.y()).arg(at.width()).arg(at.height())
        .arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height())
        .arg(list->scrollBar()->value())
        .toUtf8();
}

QRadioButton *focusedRadio()
{
    return qobject_cast<QRadioButton *>(QApplication::focusWidget());
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
} // namespace

class TestPopupWindowDialog : public QObject
{
    Q_OBJECT

private:
    StoreServer server;
    QPointer<PopupWindowDialog> popup;

    PopupWindowDialog *newPopup()
    {
        popup = new PopupWindowDialog(nullptr);
        popup->setGeometry(40, 30, 1196, 700);
        popup->show();
        return popup;
    }

    // The device page on the stand-in's answer of count devices, active so
    // that keys reach it; null when the list did not come.
    DeviceRadioList *openDeviceList(int count, const QString &current)
    {
        const QString route = QStringLiteral("/client/api/ajaxGetDevices");
        if (!server.setAnswer(route, QStringLiteral("devices.json"), devicesAnswer(count)))
            return nullptr;
        PopupWindowDialog *p = newPopup();
        p->showDevicePage(current);
        p->activateWindow();
        const bool came = QTest::qWaitFor([p]() { return p->findChild<DeviceRadioList *>() != nullptr; }, 20000);
        server.clearFaults(route);
        if (!came || !QTest::qWaitForWindowActive(p))
            return nullptr;
        return p->findChild<DeviceRadioList *>();
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(server.start(), qPrintable(server.error()));
        server.serveAllHosts();
    }

    void cleanup()
    {
        delete popup;
        while (PopupWindowDialog *left = PopupWindowDialog::instance())
            delete left;
    }

    void informationPage_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        for (int style : {0, 1, 2}) {
            const QByteArray name = QByteArray::number(style);
            QTest::newRow((name + " ok").constData()) << style << "pup_okBtn" << int(QDialog::Accepted);
            if (style != 1)
                QTest::newRow((name + " cancel").constData()) << style << "pup_cancelBtn" << int(QDialog::Rejected);
            QTest::newRow((name + " close").constData()) << style << "closeBtn" << int(QDialog::Rejected);
        }
    }

    void informationPage()
    {
        QFETCH(int, style);
        QFETCH(QString, button);
        QFETCH(int, result);
        PopupWindowDialog *p = newPopup();
        // Page-given names are shown as they are, never as markup.
        const QString text = QStringLiteral("《<b>游戏</b>》已被人为删除");
        p->showInfo(QStringLiteral("提示信息"), text, QStringLiteral("确定"), QStringLiteral("取消"), style);
        QCOMPARE(p->windowTitle(), QStringLiteral("Orbela弹出窗口"));
        QCOMPARE(part<QLabel>(p, "lb_title")->text(), QStringLiteral("提示信息"));
        auto *label = part<QLabel>(p, "lb_info_text");
        QCOMPARE(label->text(), text);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->geometry(), QRect(0, 0, 424, 170));
        QCOMPARE(label->alignment(), style == 2 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        QVERIFY(label->styleSheet().contains(style == 2 ? "font-size:14px" : "font-size:18px"));
        auto *ok = part<QPushButton>(p, "pup_okBtn");
        auto *cancel = part<QPushButton>(p, "pup_cancelBtn");
        QCOMPARE(ok->text(), QStringLiteral("确定"));
        QCOMPARE(cancel->isVisible(), style != 1);
        QCOMPARE(ok->geometry(), style == 1 ? QRect(340, 215, 90, 32) : QRect(245, 215, 90, 32));
        QVERIFY(!part(p, "webContentWidget")->isVisible());

        QTimer::singleShot(0, p, [p, button]() { part<QPushButton>(p, button.toLatin1().constData())->click(); });
        QCOMPARE(p->exec(), result);
        // Read once, then gone.
        QVERIFY(popup.isNull());
        QCOMPARE(PopupWindowDialog::instance(), nullptr);
    }

    void panelCentresAndDims()
    {
        PopupWindowDialog *p = newPopup();
        p->showRechargePage();
        QCOMPARE(part(p, "popupWidget")->pos(), QPoint((1196 - 440) / 2, (700 - 258) / 2));
        p->resize(1600, 900);
        QCOMPARE(part(p, "popupWidget")->pos(), QPoint((1600 - 440) / 2, (900 - 258) / 2));
        QCOMPARE(part(p, "fullTipsWidget")->geometry(), part(p, "popupWidget")->geometry());
        const QImage shot = p->grab().toImage();
        const QColor outside = shot.pixelColor(5, 5);
        QCOMPARE(outside.alpha(), 0xCC);
        QCOMPARE(outside.rgb() & 0xFFFFFF, 0u);
    }

    void waitingPages_data()
    {
        QTest::addColumn<bool>("recharge");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("recharge") << true
                                  << QStringList{"请在弹出的网页中进行充值", "充值成功", "取消充值"};
        QTest::newRow("exchange") << false
                                  << QStringList{"请在弹出的网页中进行兑换", "兑换完成", "取消兑换"};
    }

    void waitingPages()
    {
        QFETCH(bool, recharge);
        QFETCH(QStringList, texts);
        PopupWindowDialog *p = newPopup();
        recharge ? p->showRechargePage() : p->showExchangePage();
        QCOMPARE(p->pageKindShown(), recharge ? 4 : 5);
        QVERIFY(!part(p, "popupWidget")->isVisible());
        QVERIFY(part(p, "fullTipsWidget")->isVisible());
        QCOMPARE(part<QLabel>(p, "lb_recharge_tips")->text(), texts.at(0));
        QCOMPARE(part<QPushButton>(p, "pup_recharge_ok")->text(), texts.at(1));
        QCOMPARE(part<QPushButton>(p, "pup_recharge_failed")->text(), texts.at(2));
        part<QPushButton>(p, "pup_recharge_failed")->click();
        QTRY_VERIFY(popup.isNull());
    }

    void devicePageLaysOutEightDevices()
    {
        PopupWindowDialog *p = newPopup();
        p->showDevicePage(QStringLiteral("104"));
        QMap<int, QString> devices;
        for (int i = 0; i < 8; ++i)
            devices.insert(100 + i, QStringLiteral("设备%1|HMD-%1").arg(i));
        devices.insert(99, QStringLiteral("无名")); // no "|": empty tool tip
        p->getDeviceInfo(devices);
        const QList<QRadioButton *> radios = part(p, "contentWidget")->findChildren<QRadioButton *>();
        QCOMPARE(radios.size(), 9);
        const QList<QPoint> expected = {{20, 37},  {20, 74},  {20, 111},  {232, 37}, {232, 74},
                                        {232, 111}, {232, 148}, {232, 185}, {232, 222}};
        for (int i = 0; i < radios.size(); ++i) {
            QCOMPARE(radios.at(i)->pos(), expected.at(i));
            QCOMPARE(radios.at(i)->size(), QSize(200, 20));
        }
        QCOMPARE(radios.at(0)->text(), QStringLiteral("无名"));
        QCOMPARE(radios.at(0)->toolTip(), QString());
        QCOMPARE(radios.at(5)->text(), QStringLiteral("设备4"));
        QCOMPARE(radios.at(5)->toolTip(), QStringLiteral("HMD-4"));
        for (int i = 0; i < radios.size(); ++i)
            QCOMPARE(radios.at(i)->isChecked(), i == 5);
    }

    void deviceChoice_data()
    {
        QTest::addColumn<int>("clicked"); // index of the radio clicked, -1 for none
        QTest::addColumn<bool>("withDevices");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("name");
        QTest::newRow("no click") << -1 << true << "102" << "";
        QTest::newRow("click") << 2 << true << "103" << "HMD-3";
        QTest::newRow("empty list") << -1 << false << "102" << "";
    }

    void deviceChoice()
    {
        QFETCH(int, clicked);
        QFETCH(bool, withDevices);
        QFETCH(QString, id);
        QFETCH(QString, name);
        PopupWindowDialog *p = newPopup();
        p->showDevicePage(QStringLiteral("102"));
        if (withDevices)
            p->getDeviceInfo({{101, "A|HMD-1"}, {102, "B|HMD-2"}, {103, "C|HMD-3"}});
        if (clicked >= 0)
            QTest::mouseClick(part(p, "contentWidget")->findChildren<QRadioButton *>().at(clicked), Qt::LeftButton,
                              Qt::NoModifier, QPoint(10, 10));
        QSignalSpy chosen(p, &PopupWindowDialog::sendDeviceSelection);
        part<QPushButton>(p, "pup_okBtn")->click();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.at(0).at(0).toString(), id);
        QCOMPARE(chosen.at(0).at(1).toString(), name);
        QTRY_VERIFY(popup.isNull());
    }

    // The store's answer of 100,000 devices: radios only for the rows in
    // sight, the current device checked where the list scrolls to it, a
    // choice reported; a later answer replaces the list.
    void longDeviceListScrollsAndChooses()
    {
        const QString route = QStringLiteral("/client/api/ajaxGetDevices");
        QVERIFY(server.setAnswer(route, QStringLiteral("devices.json"), devicesAnswer(100000)));
        PopupWindowDialog *p = newPopup();
        p->showDevicePage(QStringLiteral("99999"));
        QTRY_VERIFY_WITH_TIMEOUT(p->findChild<DeviceRadioList *>(QStringLiteral("deviceList")), 20000);
        QVERIFY(server.clearFaults(route));
        auto *list = part<DeviceRadioList>(p, "deviceList");
        QCOMPARE(list->deviceCount(), 100000);
        QVERIFY(list->findChildren<QRadioButton *>().size() < 40);
        // It opens on the current device.
        QRadioButton *opened = radioShowing(list, 99999);
        QVERIFY2(inSight(list, opened), whereIs(list, opened).constData());
        QVERIFY(opened->isChecked());
        QScrollBar *scroll = list->scrollBar();
        scroll->setValue(0);
        QList<QRadioButton *> radios = shownRadios(list);
        QCOMPARE(radios.at(0)->pos(), QPoint(20, 37));
        QCOMPARE(radios.at(0)->text(), QStringLiteral("设备1"));
        QCOMPARE(radios.at(3)->pos(), QPoint(232, 37));
        QCOMPARE(radios.at(3)->text(), QStringLiteral("设备4"));
        // The wheel scrolls the list.
        QVERIFY(scroll->isVisibleTo(list));
        QWheelEvent wheel(QPointF(30, 40), list->mapToGlobal(QPoint(30, 40)), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list, &wheel);
        QVERIFY(scroll->value() > 0);
        scroll->setValue(scroll->maximum());
        QRadioButton *current = nullptr;
        QRadioButton *last = nullptr;
        for (QRadioButton *radio : shownRadios(list)) {
            QCOMPARE(radio->isChecked(), radio->toolTip() == QStringLiteral("HMD-99999"));
            if (radio->toolTip() == QStringLiteral("HMD-99999"))
                current = radio;
            if (radio->toolTip() == QStringLiteral("HMD-100000"))
                last = radio;
        }
        QVERIFY(current && last);
        // The last row lies in sight, as the first rows did before the scroll.
        QVERIFY(last->y() >= 0 && last->geometry().bottom() < list->height());
        QCOMPARE(last->text(), QStringLiteral("设备100000"));
        QTest::mouseClick(last, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QVERIFY(last->isChecked());
        QVERIFY(!current->isChecked());

        // A later, short answer replaces the long one.
        p->getDeviceInfo({{101, "A|HMD-1"}, {102, "B|HMD-2"}, {103, "C|HMD-3"}});
        QCOMPARE(list->deviceCount(), 3);
        radios = shownRadios(list);
        QCOMPARE(radios.size(), 3);
        QCOMPARE(radios.at(2)->text(), QStringLiteral("C"));
        QCOMPARE(radios.at(2)->pos(), QPoint(20, 111));
        QVERIFY(!scroll->isVisibleTo(list));
        QTest::mouseClick(radios.at(1), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QSignalSpy chosen(p, &PopupWindowDialog::sendDeviceSelection);
        part<QPushButton>(p, "pup_okBtn")->click();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.at(0).at(0).toString(), QStringLiteral("102"));
        QCOMPARE(chosen.at(0).at(1).toString(), QStringLiteral("HMD-2"));
        QTRY_VERIFY(popup.isNull());
    }

    // The keyboard's row moves in the list's order and between the columns;
    // the list scrolls to it and Space chooses it, as a click does.
    void keysMoveTheFocusedRowInSight_data()
    {
        QTest::addColumn<int>("clicked");
        QTest::addColumn<QVector<int>>("keys");
        QTest::addColumn<QVector<int>>("focused"); // the device focused after each key
        QTest::newRow("down past the sight") << 2 << QVector<int>(6, Qt::Key_Down) << QVector<int>{3, 4, 5, 6, 7, 8};
        QTest::newRow("end, home") << 2 << QVector<int>{Qt::Key_End, Qt::Key_Home} << QVector<int>{200, 1};
        QTest::newRow("ends hold") << 2 << QVector<int>{Qt::Key_Up, Qt::Key_Up, Qt::Key_End, Qt::Key_Down, Qt::Key_Up}
                                   << QVector<int>{1, 1, 200, 200, 199};
        QTest::newRow("across the columns")
            << 2
            << QVector<int>{Qt::Key_Right, Qt::Key_Right, Qt::Key_Left, Qt::Key_Left, Qt::Key_Down, Qt::Key_Right,
                            Qt::Key_Down, Qt::Key_Left}
            << QVector<int>{5, 5, 2, 2, 3, 6, 7, 7};
    }

    void keysMoveTheFocusedRowInSight()
    {
        QFETCH(int, clicked);
        QFETCH(QVector<int>, keys);
        QFETCH(QVector<int>, focused);
        DeviceRadioList *list = openDeviceList(200, QStringLiteral("1"));
        QVERIFY(list);
        QRadioButton *start = radioShowing(list, clicked);
        QVERIFY(start);
        QTest::mouseClick(start, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        for (int i = 0; i < keys.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(keys.at(i)));
            QRadioButton *radio = focusedRadio();
            QVERIFY(radio && list->isAncestorOf(radio));
            QCOMPARE(radio->text(), QStringLiteral("设备%1").arg(focused.at(i)));
            QVERIFY2(inSight(list, radio), whereIs(list, radio).constData());
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        const int device = focused.last();
        QRadioButton *chosen = radioShowing(list, device);
        QVERIFY2(inSight(list, chosen), whereIs(list, chosen).constData());
        for (QRadioButton *radio : shownRadios(list))
            QCOMPARE(radio->isChecked(), radio == chosen);
        QSignalSpy saved(popup.data(), &PopupWindowDialog::sendDeviceSelection);
        part<QPushButton>(popup, "pup_okBtn")->click();
        QCOMPARE(saved.size(), 1);
        QCOMPARE(saved.at(0).at(0).toString(), QString::number(device));
        QCOMPARE(saved.at(0).at(1).toString(), QStringLiteral("HMD-%1").arg(device));
    }

    // Filled, the list shows the current device and the keyboard starts on
    // it; Tab enters and leaves the list as one stop, the wheel never leaves
    // the focus on a row out of sight, and a later answer shows it again.
    void listOpensOnTheCurrentDevice_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("device"); // the row the keyboard starts on
        QTest::newRow("113") << "113" << 113;
        QTest::newRow("8, just below the sight") << "8" << 8;
        QTest::newRow("the last") << "200" << 200;
        QTest::newRow("none") << "" << 1;
    }

    void listOpensOnTheCurrentDevice()
    {
        QFETCH(QString, current);
        QFETCH(int, device);
        DeviceRadioList *list = openDeviceList(200, current);
        QVERIFY(list);
        auto checkCurrentShown = [&]() {
            QRadioButton *shown = radioShowing(list, device);
            QVERIFY2(inSight(list, shown), whereIs(list, shown).constData());
            for (QRadioButton *radio : shownRadios(list))
                QCOMPARE(radio->isChecked(), radio == shown && !current.isEmpty());
        };
        checkCurrentShown();
        if (QTest::currentTestFailed())
            return;

        for (int tabs = 0; tabs < 20 && !list->isAncestorOf(QApplication::focusWidget()); ++tabs)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(focusedRadio() && list->isAncestorOf(focusedRadio()));
        QCOMPARE(focusedRadio()->text(), QStringLiteral("设备%1").arg(device));
        for (int notch = 0; notch < 3; ++notch) {
            QWheelEvent wheel(QPointF(30, 40), list->mapToGlobal(QPoint(30, 40)), QPoint(), QPoint(0, -120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(list, &wheel);
            QVERIFY(focusedRadio() && list->isAncestorOf(focusedRadio()));
            QVERIFY2(inSight(list, focusedRadio()), whereIs(list, focusedRadio()).constData());
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(!list->isAncestorOf(QApplication::focusWidget()));

        QMap<int, QString> again;
        for (int i = 1; i <= 200; ++i)
            again.insert(i, QStringLiteral("设备%1|HMD-%1").arg(i));
        popup->getDeviceInfo(again);
        checkCurrentShown();
        if (QTest::currentTestFailed())
            return;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QVERIFY(focusedRadio() && list->isAncestorOf(focusedRadio()));
        QCOMPARE(focusedRadio()->text(), QStringLiteral("设备%1").arg(device));
    }

    void devicePageAsksTheStore()
    {
        server.clearLog();
        PopupWindowDialog *p = newPopup();
        p->showDevicePage(QString());
        QCOMPARE(part<QLabel>(p, "lb_title")->text(), QStringLiteral("设备选择"));
        QTRY_VERIFY(!part(p, "contentWidget")->findChildren<QRadioButton *>().isEmpty());
        // (Earlier pages' requests may still arrive.)
        QVERIFY(!server.requests("/client/api/ajaxGetDevices").isEmpty());
    }

    void settingsOutputs_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<bool>("autoRun");
        QTest::addColumn<bool>("touch"); // flip the check box and the download tool
        QTest::newRow("http, autostart, untouched") << "http" << true << false;
        QTest::newRow("thunder, no autostart, untouched") << "thunder" << false << false;
        QTest::newRow("unknown tool reads thunder") << "" << false << false;
        QTest::newRow("http, flipped") << "http" << true << true;
    }

    void settingsOutputs()
    {
        QFETCH(QString, tool);
        QFETCH(bool, autoRun);
        QFETCH(bool, touch);
        QTemporaryDir games;
        const QString folder = games.path() + QStringLiteral("/VRGames/");
        PopupWindowDialog *p = newPopup();
        p->showSettingsPage(folder, tool, autoRun);
        QCOMPARE(part<QLabel>(p, "lb_title")->text(), QStringLiteral("设置"));
        QCOMPARE(part<QLineEdit>(p, "installDirEdit")->text(), folder);
        QCOMPARE(part<QPushButton>(p, "prvBtn")->geometry(), QRect(329, 130, 85, 31));
        const bool http = tool == QLatin1String("http");
        QCOMPARE(part<QRadioButton>(p, "httpRadio")->isChecked(), http);
        QCOMPARE(part<QRadioButton>(p, "thunderRadio")->isChecked(), !http);
        QCOMPARE(part<QCheckBox>(p, "autoRunBox")->isChecked(), autoRun);
        // The folder comes from 浏览 only: what is typed would be dropped on 保存.
        QVERIFY(part<QLineEdit>(p, "installDirEdit")->isReadOnly());
        bool expectHttp = http;
        bool expectAutoRun = autoRun;
        if (touch) {
            part<QCheckBox>(p, "autoRunBox")->click();
            QTest::mouseClick(part<QRadioButton>(p, http ? "thunderRadio" : "httpRadio"), Qt::LeftButton,
                              Qt::NoModifier, QPoint(10, 10));
            expectHttp = !http;
            expectAutoRun = !autoRun;
            QTest::keyClicks(part<QLineEdit>(p, "installDirEdit"), QStringLiteral("typed/"));
            QCOMPARE(part<QLineEdit>(p, "installDirEdit")->text(), folder);
        }
        QSignalSpy saved(p, &PopupWindowDialog::sendSettings);
        part<QPushButton>(p, "pup_okBtn")->click();
        QCOMPARE(saved.size(), 1);
        QCOMPARE(saved.at(0).at(0).toString(), folder);
        QCOMPARE(saved.at(0).at(1).toString(), expectHttp ? QStringLiteral("http") : QStringLiteral("thunder"));
        QCOMPARE(saved.at(0).at(2).toBool(), expectAutoRun);
    }

    void folderRule_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("folder");
        QTest::newRow("drive root") << "D:/" << "D:/VRGames/";
        QTest::newRow("drive folder") << "D:/Games" << "D:/Games/VRGames/";
        QTest::newRow("root") << "/" << "/VRGames/";
        QTest::newRow("folder") << "/home/user/games" << "/home/user/games/VRGames/";
    }

    void folderRule()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, folder);
        QCOMPARE(gamesFolderFor(chosen), folder);
    }

    void gamesFolderMovesOnlyOnSave()
    {
        QTemporaryDir root;
        const QString oldFolder = root.path() + QStringLiteral("/old/VRGames/");
        writeFile(oldFolder + QStringLiteral("1001/game.exe"), "game");
        const QString chosen = root.path() + QStringLiteral("/new");
        QDir().mkpath(chosen);
        const QString newFolder = chosen + QStringLiteral("/VRGames/");

        PopupWindowDialog *p = newPopup();
        p->showSettingsPage(oldFolder, QStringLiteral("http"), false);
        answerFolderDialog(chosen);
        part<QPushButton>(p, "prvBtn")->click();
        QCOMPARE(part<QLineEdit>(p, "installDirEdit")->text(), newFolder);
        // Nothing is made or copied before the user saves.
        QVERIFY(!QFileInfo::exists(newFolder));

        QSignalSpy saved(p, &PopupWindowDialog::sendSettings);
        part<QPushButton>(p, "pup_okBtn")->click();
        // The copy runs beside the window thread.
        QTRY_COMPARE_WITH_TIMEOUT(saved.size(), 1, 20000);
        QCOMPARE(saved.at(0).at(0).toString(), newFolder);
        QFile copied(newFolder + QStringLiteral("1001/game.exe"));
        QVERIFY(copied.open(QIODevice::ReadOnly));
        QCOMPARE(copied.readAll(), QByteArray("game"));
    }

    void cancelledFolderDialogChangesNothing()
    {
        QTemporaryDir root;
        const QString oldFolder = root.path() + QStringLiteral("/VRGames/");
        PopupWindowDialog *p = newPopup();
        p->showSettingsPage(oldFolder, QStringLiteral("http"), false);
        answerFolderDialog(QString());
        part<QPushButton>(p, "prvBtn")->click();
        QCOMPARE(part<QLineEdit>(p, "installDirEdit")->text(), oldFolder);
    }

    void refusedOrFailedMove_data()
    {
        QTest::addColumn<bool>("nested");
        QTest::addColumn<bool>("partWay");
        QTest::newRow("inside the old folder") << true << false;
        QTest::newRow("target cannot be made") << false << false;
        QTest::newRow("copy fails part-way") << false << true;
    }

    void refusedOrFailedMove()
    {
        QFETCH(bool, nested);
        QFETCH(bool, partWay);
        QTemporaryDir root;
        const QString oldFolder = root.path() + QStringLiteral("/VRGames/");
        writeFile(oldFolder + QStringLiteral("1001/game.exe"), "game");
        QString chosen = oldFolder + QStringLiteral("1001");
        QStringList before;
        auto treeOf = [](const QString &folder) {
            QStringList entries;
            QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext())
                entries << it.next().mid(folder.size());
            entries.sort();
            return entries;
        };
        if (partWay) {
            // The new folder holds things of its own, and a folder where one
            // of the games' files would go: the copy stops there.
            writeFile(oldFolder + QStringLiteral("1001/a.dat"), "a");
            writeFile(oldFolder + QStringLiteral("1001/data/b.dat"), "b");
            writeFile(oldFolder + QStringLiteral("1002/c.dat"), "c");
            chosen = root.path() + QStringLiteral("/partial");
            writeFile(chosen + QStringLiteral("/VRGames/keep.txt"), "keep");
            QVERIFY(QDir().mkpath(chosen + QStringLiteral("/VRGames/1001/game.exe/inside")));
            before = treeOf(chosen);
        } else if (!nested) {
            // A file where the new games folder would go.
            chosen = root.path() + QStringLiteral("/blocked");
            writeFile(chosen + QStringLiteral("/VRGames"), "not a folder");
        }
        PopupWindowDialog *p = newPopup();
        p->showSettingsPage(oldFolder, QStringLiteral("http"), false);
        answerFolderDialog(chosen);
        part<QPushButton>(p, "prvBtn")->click();
        QSignalSpy saved(p, &PopupWindowDialog::sendSettings);
        part<QPushButton>(p, "pup_okBtn")->click();

        // The user is told in a one-button popup.
        QTRY_VERIFY_WITH_TIMEOUT(PopupWindowDialog::instance() != p, 20000);
        PopupWindowDialog *notice = PopupWindowDialog::instance();
        QVERIFY(notice && notice != p);
        if (partWay) {
            // Only what the copy made is gone.
            QCOMPARE(treeOf(chosen), before);
            QCOMPARE(treeOf(oldFolder).size(), 7);
        }
        QVERIFY(!part(notice, "pup_cancelBtn")->isVisible());
        if (nested) {
            // Refused: the settings page stays open for another choice.
            QCOMPARE(saved.size(), 0);
            QVERIFY(!popup.isNull() && p->isVisible());
            QVERIFY(!QFileInfo::exists(oldFolder + QStringLiteral("1001/VRGames")));
        } else {
            // Failed: the old folder stays the setting.
            QCOMPARE(saved.size(), 1);
            QCOMPARE(saved.at(0).at(0).toString(), oldFolder);
            QVERIFY(part<QLabel>(notice, "lb_info_text")->text().contains(oldFolder));
        }
        delete notice;
    }

    void feedbackLoadingHides_data()
    {
        QTest::addColumn<bool>("standIn");
        QTest::newRow("stand-in page") << true;
        QTest::newRow("closed port") << false;
    }

    void feedbackLoadingHides()
    {
        QFETCH(bool, standIn);
        QString url = server.url(QStringLiteral("/feedback/index/vr")).toString();
        if (!standIn) {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            url = QStringLiteral("http://127.0.0.1:%1/feedback/index/vr").arg(probe.serverPort());
        } // the port is closed again here
        PopupWindowDialog *p = newPopup();
        p->showFeedbackPage(url);
        QCOMPARE(part<QLabel>(p, "lb_title")->text(), QStringLiteral("问题反馈"));
        QCOMPARE(part(p, "popupWidget")->height(), 290);
        QCOMPARE(part(p, "webContentWidget")->size(), QSize(430, 253));
        QVERIFY(!part(p, "contentWidget")->isVisible());
        QVERIFY(!part(p, "pup_okBtn")->isVisible());
        QVERIFY(part(p, "lb_loading")->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!part(p, "lb_loading")->isVisible(), 30000);
        if (standIn)
            QVERIFY(!server.requests("/feedback/index/vr").isEmpty());
    }
};

ORBELA_WEB_TEST_MAIN(TestPopupWindowDialog)
#include "TestPopupWindowDialog.moc"
