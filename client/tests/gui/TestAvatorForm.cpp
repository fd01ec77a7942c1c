#include "core/game/LocalDatabase.h"
#include "gui/AvatorForm.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// The account panel alone: the shortened name, the balances, the round
// avatar, the cover under the pointer and the logout's marks in the database.
class TestAvatorForm : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir scratch;

    QString pictureOf(QColor colour)
    {
        QImage image(100, 100, QImage::Format_ARGB32);
        image.fill(colour);
        const QString path = scratch.filePath(colour.name().mid(1) + QStringLiteral(".png"));
        image.save(path);
        return path;
    }

private slots:
    void namesAreShortened_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("four Chinese characters") << "测试玩家" << "测试玩家";
        QTest::newRow("five Chinese characters") << "超级无敌玩" << "超级无敌...";
        QTest::newRow("seven digits") << "1234567" << "1234567";
        QTest::newRow("eight digits") << "12345678" << "1234567...";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("nine letters in mixed case") << "PlayerOne" << "playerone";
        QTest::newRow("fourteen letters") << "TheGreatPlayer" << "thegreatpl...";
        QTest::newRow("Latin with one Chinese character") << "abcdef中" << "abcd...";
        QTest::newRow("markup is plain text") << "<b>x</b>" << "<b>x</b>";
    }

    void namesAreShortened()
    {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        AvatorForm panel;
        panel.setUserInfo(QString(), name);
        auto *label = panel.findChild<QLabel *>(QStringLiteral("lb_user_name"));
        QCOMPARE(label->text(), shown);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QVERIFY(panel.isLoggedIn());
    }

    void ticketsAreShortened_data()
    {
        QTest::addColumn<QString>("tickets");
        QTest::addColumn<QString>("shown");
        QTest::newRow("9999") << "9999" << "玩票：9999";
        QTest::newRow("10000") << "10000" << "玩票：10000";
        QTest::newRow("10001") << "10001" << "玩票：1万";
        QTest::newRow("12345") << "12345" << "玩票：1.23万";
        QTest::newRow("20000") << "20000" << "玩票：2万";
    }

    void ticketsAreShortened()
    {
        QFETCH(QString, tickets);
        QFETCH(QString, shown);
        AvatorForm panel;
        panel.setCoins(QStringLiteral("520"), tickets, QString(), QString(), QString());
        QCOMPARE(panel.findChild<QLabel *>(QStringLiteral("lb_wanpiao"))->text(), shown);
        auto *coins = panel.findChild<QLabel *>(QStringLiteral("lb_wanbi"));
        QCOMPARE(coins->text(), QStringLiteral("玩币：520"));
        // The recharge button follows the number.
        auto *recharge = panel.findChild<QWidget *>(QStringLiteral("rechargeBtn"));
        QCOMPARE(recharge->x(), coins->geometry().right() + 1 + 8);
        QCOMPARE(recharge->y(), coins->y() - 2);
        QVERIFY(!panel.findChild<QWidget *>(QStringLiteral("loginWidget"))->isHidden());
    }

    // The avatar remains only where the mask is transparent.
    void avatarIsCutByTheMask()
    {
        QImage mask(62, 62, QImage::Format_ARGB32);
        mask.fill(Qt::transparent);
        QPainter painter(&mask);
        painter.fillRect(0, 0, 31, 62, Qt::black);
        painter.end();
        const QString maskPath = scratch.filePath(QStringLiteral("half-mask.png"));
        QVERIFY(mask.save(maskPath));
        AvatorForm panel;
        panel.composeAvatar(pictureOf(QColor(200, 30, 40)), maskPath, QString(), 62);
        const QImage result = panel.composedAvatar();
        QCOMPARE(result.size(), QSize(62, 62));
        QCOMPARE(result.format(), QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(QColor::fromRgba(result.pixel(10, 31)).alpha(), 0);
        QCOMPARE(QColor::fromRgba(result.pixel(50, 31)), QColor(200, 30, 40));
        // The product's mask: a round hole.
        panel.composeAvatar(pictureOf(QColor(10, 200, 40)), QStringLiteral(":/res/res/mask.png"), QString(), 62);
        QCOMPARE(QColor::fromRgba(panel.composedAvatar().pixel(31, 31)), QColor(10, 200, 40));
        QCOMPARE(QColor::fromRgba(panel.composedAvatar().pixel(0, 0)).alpha(), 0);
    }

    void coverFollowsThePointer()
    {
        AvatorForm panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QMouseEvent onCover(QEvent::MouseMove, QPointF(40, 40), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&panel, &onCover);
        QCOMPARE(panel.cursor().shape(), Qt::PointingHandCursor);
        const QImage hover = panel.findChild<QLabel *>(QStringLiteral("lb_avator_cover"))->pixmap()->toImage();
        QMouseEvent offCover(QEvent::MouseMove, QPointF(150, 40), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&panel, &offCover);
        QCOMPARE(panel.cursor().shape(), Qt::ArrowCursor);
        const QImage normal = panel.findChild<QLabel *>(QStringLiteral("lb_avator_cover"))->pixmap()->toImage();
        QVERIFY(hover != normal);
        // Back onto the cover: the hover picture again.
        QApplication::sendEvent(&panel, &onCover);
        QCOMPARE(panel.findChild<QLabel *>(QStringLiteral("lb_avator_cover"))->pixmap()->toImage(), hover);
    }

    // Logging out from the menu shows the logged-out panel and marks the row.
    void logoutMarksTheStoredUser()
    {
        QFile::remove(LocalDatabase::filePath());
        {
            LocalDatabase database;
            QVERIFY(database.open());
            QVERIFY(database.saveUser("10001", "true", "true", "true", "dGVzdGVy", "b3JiZWxhMTIz"));
            database.close();
        }
        AvatorForm panel;
        panel.setUserInfo(QString(), QStringLiteral("tester"));
        panel.onMenuLogOut();
        QVERIFY(!panel.isLoggedIn());
        QVERIFY(panel.findChild<QWidget *>(QStringLiteral("loginWidget"))->isHidden());
        QVERIFY(!panel.findChild<QWidget *>(QStringLiteral("logoutWidget"))->isHidden());
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
            db.setDatabaseName(LocalDatabase::filePath());
            QVERIFY(db.open());
            QSqlQuery query(QStringLiteral("select autoLogin, isLogin, remember, userName from vr_user"), db);
            QVERIFY(query.next());
            QCOMPARE(query.value(0).toString(), QStringLiteral("false"));
            QCOMPARE(query.value(1).toString(), QStringLiteral("false"));
            QCOMPARE(query.value(2).toString(), QStringLiteral("true"));
            QCOMPARE(query.value(3).toString(), QStringLiteral("dGVzdGVy"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("peek"));
    }
};

QTEST_MAIN(TestAvatorForm)
#include "TestAvatorForm.moc"
