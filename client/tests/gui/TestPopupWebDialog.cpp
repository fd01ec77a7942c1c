#include "gui/popups/popupWebDialog.h"

#include <QApplication>
#include <QMouseEvent>
#include <QtTest>

// The web popup as a window: its form, staying on top, and the drag by its header.
class TestPopupWebDialog : public QObject
{
    Q_OBJECT

private:
    static void sendMouse(QWidget *target, QEvent::Type type, QPoint local, Qt::MouseButton button,
                          Qt::MouseButtons held)
    {
        QMouseEvent event(type, local, target->mapToGlobal(local), button, held, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

private slots:
    void formAndFlags()
    {
        popupWebDialog popup;
        QCOMPARE(popupWebDialog::instance(), &popup);
        QCOMPARE(popup.size(), QSize(800, 600));
        QCOMPARE(popup.objectName(), QStringLiteral("popupWebDialog"));
        QVERIFY(popup.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(popup.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(popup.findChild<QWidget *>(QStringLiteral("webWidget"))->geometry(), QRect(0, 40, 800, 560));
        QCOMPARE(popup.findChild<QWidget *>(QStringLiteral("closeBtn"))->geometry(), QRect(773, 13, 14, 14));
    }

    void dragByTheHeader_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("moves");
        QTest::newRow("left button drags") << int(Qt::LeftButton) << true;
        QTest::newRow("right button does not") << int(Qt::RightButton) << false;
    }

    void dragByTheHeader()
    {
        QFETCH(int, button);
        QFETCH(bool, moves);
        popupWebDialog popup;
        popup.move(100, 100);
        popup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&popup));
        const QPoint start = popup.pos();
        const auto pressed = Qt::MouseButton(button);
        sendMouse(&popup, QEvent::MouseButtonPress, QPoint(300, 20), pressed, pressed);
        sendMouse(&popup, QEvent::MouseMove, QPoint(340, 50), Qt::NoButton, pressed);
        QCOMPARE(popup.pos(), moves ? start + QPoint(40, 30) : start);
        sendMouse(&popup, QEvent::MouseButtonRelease, QPoint(340, 50), pressed, Qt::NoButton);
        // Released: moving no longer drags.
        const QPoint after = popup.pos();
        sendMouse(&popup, QEvent::MouseMove, QPoint(10, 10), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(popup.pos(), after);
    }
};

QTEST_MAIN(TestPopupWebDialog)
#include "TestPopupWebDialog.moc"
