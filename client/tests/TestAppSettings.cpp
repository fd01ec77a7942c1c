#include "core/AppFolders.h"
#include "core/AppSettings.h"
#include "platform/PosixPlatform.h"
#include "tests/FileSizeLimit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestAppSettings : public QObject
{
    Q_OBJECT

private:
    static void writeSettingsFile(const QVariantMap &values)
    {
        QFile::remove(settingsFilePath());
        QSettings file(settingsFilePath(), QSettings::IniFormat);
        for (auto it = values.begin(); it != values.end(); ++it)
            file.setValue(it.key(), it.value());
        file.sync();
    }
    static void writeFile(const QString &path, const QByteArray &content)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        QFile::remove(settingsFilePath());
    }

    void foldersEndWithSlashAndExist()
    {
        const QString app = QCoreApplication::applicationDirPath();
        const QList<QPair<QString, QString>> folders = {
            {getUserDataDir(), app + "/UserData/"},     {getVrGamesDir(), app + "/VRGames/"},
            {getZipsDir(), app + "/zips/"},             {getToolsDir(), app + "/Tools/"},
            {getLogsDir(), app + "/UserData//Logs/"},   {getTempDir(), app + "/UserData//temp/"},
            {getCachesDir(), app + "/UserData//Caches/"},
        };
        for (const auto &folder : folders) {
            QCOMPARE(folder.first, folder.second);
            QVERIFY2(QDir(folder.first).exists(), qPrintable(folder.first));
        }
    }

    void userFolderOnlyForDigitIds_data()
    {
        QTest::addColumn<QString>("uid");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("123") << "123" << true;
        QTest::newRow("456") << "456" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("letters") << "12a" << false;
        QTest::newRow("escape") << "../x" << false;
    }

    void userFolderOnlyForDigitIds()
    {
        QFETCH(QString, uid);
        QFETCH(bool, accepted);
        const QString folder = getUserDir(uid);
        if (!accepted) {
            QVERIFY(folder.isEmpty());
            return;
        }
        QCOMPARE(folder, getUserDataDir() + uid + "/");
        QVERIFY(QDir(folder).exists());
    }

    void loadSettings_data()
    {
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<QVariantMap>("values");
        QTest::addColumn<int>("valid");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QString>("tool");
        QTest::addColumn<bool>("useDefaultRect");

        QTest::newRow("no file") << false << QVariantMap() << 0 << QRect() << QString() << true;
        QTest::newRow("only X: width 0 falls back")
            << true << QVariantMap{{"/WindowLocation/X", 33}} << 1 << QRect(33, 0, 0, 0) << QString() << true;
        QTest::newRow("full file")
            << true
            << QVariantMap{{"/WindowLocation/X", 10}, {"/WindowLocation/Y", 20}, {"/WindowSize/Width", 1000},
                           {"/WindowSize/Height", 700}, {"/Download/Tool", "http"}}
            << 1 << QRect(10, 20, 1000, 700) << QString("http") << false;
    }

    void loadSettings()
    {
        QFETCH(bool, fileExists);
        QFETCH(QVariantMap, values);
        QFETCH(int, valid);
        QFETCH(QRect, rect);
        QFETCH(QString, tool);
        QFETCH(bool, useDefaultRect);
        if (fileExists)
            writeSettingsFile(values);
        const AppSettings &settings = ::loadSettings();
        QCOMPARE(int(settings.valid), valid);
        if (fileExists) {
            QCOMPARE(settings.windowRect, rect);
            QCOMPARE(settings.downloadTool, tool);
        }
        const QSize screen(1600, 900);
        QCOMPARE(getWindowRect({QRect(QPoint(0, 0), screen)}, 0, 0), useDefaultRect ? getDefaultWindowRect(screen, 0) : rect);
    }

    // A remembered rectangle narrower than the title bar needs is widened when
    // it is loaded, and moved left only as far as the screen asks; one whose
    // title bar lies off the screen is moved onto it.
    void rememberedRectangleIsWidenedToTheMinimum_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QSize>("available");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("wide enough") << QRect(10, 20, 1400, 700) << QSize(1600, 900) << QRect(10, 20, 1400, 700);
        QTest::newRow("narrow") << QRect(10, 20, 1206, 700) << QSize(1600, 900) << QRect(10, 20, 1348, 700);
        QTest::newRow("narrow near the right edge")
            << QRect(400, 20, 1000, 700) << QSize(1600, 900) << QRect(252, 20, 1348, 700);
        QTest::newRow("screen narrower than the minimum")
            << QRect(100, 50, 1000, 600) << QSize(1280, 720) << QRect(0, 50, 1280, 600);
        QTest::newRow("empty falls back to the default")
            << QRect(100, 50, 0, 600) << QSize(1366, 768) << QRect(9, 50, 1348, 668);
        QTest::newRow("saved at x 1700 on a wider screen")
            << QRect(1700, 50, 1760, 980) << QSize(1366, 768) << QRect(0, 0, 1366, 768);
        QTest::newRow("saved below the screen") << QRect(80, 2000, 1348, 668) << QSize(1366, 768)
                                                << QRect(18, 100, 1348, 668);
    }

    void rememberedRectangleIsWidenedToTheMinimum()
    {
        QFETCH(QRect, stored);
        QFETCH(QSize, available);
        QFETCH(QRect, expected);
        writeSettingsFile(QVariantMap{{"/WindowLocation/X", stored.x()},
                                      {"/WindowLocation/Y", stored.y()},
                                      {"/WindowSize/Width", stored.width()},
                                      {"/WindowSize/Height", stored.height()}});
        QCOMPARE(getWindowRect({QRect(QPoint(0, 0), available)}, 0, 1348), expected);
    }

    // Without a remembered rectangle the windows come up on the primary
    // screen, wherever that screen lies on the desktop.
    void defaultRectangleLiesOnThePrimaryScreen_data()
    {
        QTest::addColumn<QVector<QRect>>("screens");
        QTest::addColumn<int>("primary");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("primary at the origin")
            << QVector<QRect>{QRect(0, 0, 1366, 768), QRect(1366, 0, 1920, 1080)} << 0 << QRect(9, 50, 1348, 668);
        QTest::newRow("primary right of another")
            << QVector<QRect>{QRect(0, 0, 1366, 768), QRect(1366, 0, 1920, 1080)} << 1
            << QRect(1446, 50, 1760, 980);
        QTest::newRow("primary left of the origin")
            << QVector<QRect>{QRect(-1920, 0, 1920, 1040), QRect(0, 0, 1366, 768)} << 0
            << QRect(-1840, 50, 1760, 940);
    }

    void defaultRectangleLiesOnThePrimaryScreen()
    {
        QFETCH(QVector<QRect>, screens);
        QFETCH(int, primary);
        QFETCH(QRect, expected);
        QCOMPARE(getWindowRect(screens, primary, 1348), expected);
        QCOMPARE(getDefaultWindowRect(screens, primary, 1348), expected);
    }

    void saveThenLoadGivesTheSameValues()
    {
        AppSettings out;
        out.windowRect = QRect(-5, 7, 1280, 800);
        out.isMaximized = true;
        out.isAutoRun = true;
        out.downloadTool = QStringLiteral("http");
        out.deviceId = QStringLiteral("3");
        out.deviceName = QStringLiteral("HTC Vive 头盔");
        out.installPath = QStringLiteral("/games/VR 游戏/");
        out.valid = 7;
        saveSettings(out);
        QVERIFY(QFile::exists(settingsFilePath()));
        QVERIFY2(!readFile(settingsFilePath()).contains("valid"), "the valid flag is never written");

        const AppSettings &in = ::loadSettings();
        QCOMPARE(int(in.valid), 1);
        QCOMPARE(in.windowRect, out.windowRect);
        QCOMPARE(in.isMaximized, true);
        QCOMPARE(in.isAutoRun, true);
        QCOMPARE(in.downloadTool, out.downloadTool);
        QCOMPARE(in.deviceId, out.deviceId);
        QCOMPARE(in.deviceName, out.deviceName);
        QCOMPARE(in.installPath, out.installPath);
    }

    // A record that never saw its window (a first start's copy) is saved
    // with the default rectangle, never with an empty one: the one of a
    // 1920x1080 screen until the windows tell theirs.
    void emptyRectangleIsSavedAsTheDefault()
    {
        const auto savedRect = [](const QRect &rect) {
            AppSettings record = loadWindowSettings();
            record.windowRect = rect;
            saveSettings(record);
            return ::loadSettings().windowRect;
        };
        QCOMPARE(savedRect(QRect()), QRect(80, 50, 1760, 980));
        setDefaultWindowRectForSaving(getDefaultWindowRect(QSize(1366, 768), 1348));
        QCOMPARE(savedRect(QRect()), QRect(9, 50, 1348, 668));
        QCOMPARE(savedRect(QRect(100, 50, 0, 600)), QRect(9, 50, 1348, 668));
        QCOMPARE(savedRect(QRect(100, 50, 1400, 700)), QRect(100, 50, 1400, 700));
    }

    void failedSaveKeepsTheEarlierFile()
    {
        AppSettings good;
        good.deviceId = QStringLiteral("3");
        good.installPath = QStringLiteral("/games/");
        {
            // A first save that fails leaves no empty file, which would read
            // as settings without a window or a games folder.
            FileSizeLimit fullDisk(16);
            QVERIFY(fullDisk.isActive());
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("settings were not saved to .*Settings\\.ini")));
            saveSettings(good);
        }
        QVERIFY(!QFile::exists(settingsFilePath()));
        saveSettings(good);
        const QByteArray earlier = readFile(settingsFilePath());
        QVERIFY(earlier.contains("Id=3"));

        AppSettings changed = good;
        changed.deviceId = QStringLiteral("4");
        {
            FileSizeLimit fullDisk(16);
            QVERIFY(fullDisk.isActive());
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("settings were not saved to .*Settings\\.ini")));
            saveSettings(changed);
        }
        QCOMPARE(readFile(settingsFilePath()), earlier);
        // The unsaved values wait in Qt's cache of the file; a good save clears them.
        saveSettings(good);
    }

    void windowCopyDefaults()
    {
        // No file: the client's own defaults.
        AppSettings copy = loadWindowSettings();
        QCOMPARE(copy.downloadTool, QStringLiteral("thunder"));
        QCOMPARE(copy.isAutoRun, false);
        QCOMPARE(copy.installPath, getVrGamesDir());
        // A file without a games folder means the default games folder; a
        // missing tool stays empty (which selects the engine).
        writeSettingsFile(QVariantMap{{"/DeviceInfo/Id", "2"}});
        copy = loadWindowSettings();
        QCOMPARE(copy.installPath, getVrGamesDir());
        QCOMPARE(copy.downloadTool, QString());
        QCOMPARE(copy.deviceId, QStringLiteral("2"));
    }

    // 80 pixels in from each side, but never narrower than the title bar's
    // minimum (then centred) and never wider than the screen.
    void defaultRectangle_data()
    {
        QTest::addColumn<QSize>("available");
        QTest::addColumn<int>("minimumWidth");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("1920x1040") << QSize(1920, 1040) << 1348 << QRect(80, 50, 1760, 940);
        QTest::newRow("2560x1400") << QSize(2560, 1400) << 1348 << QRect(80, 50, 1760, 980);
        QTest::newRow("1366x728 without a minimum") << QSize(1366, 728) << 0 << QRect(80, 50, 1206, 628);
        QTest::newRow("1366x768") << QSize(1366, 768) << 1348 << QRect(9, 50, 1348, 668);
        QTest::newRow("1280x720") << QSize(1280, 720) << 1348 << QRect(0, 50, 1280, 620);
    }

    void defaultRectangle()
    {
        QFETCH(QSize, available);
        QFETCH(int, minimumWidth);
        QFETCH(QRect, expected);
        QCOMPARE(getDefaultWindowRect(available, minimumWidth), expected);
    }

    void digitStrings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("digits");
        QTest::newRow("empty") << "" << true;
        QTest::newRow("0123") << "0123" << true;
        QTest::newRow("12a") << "12a" << false;
        QTest::newRow("minus") << "-1" << false;
        QTest::newRow("fullwidth digit") << QStringLiteral("１") << false;
    }

    void digitStrings()
    {
        QFETCH(QString, text);
        QFETCH(bool, digits);
        QCOMPARE(isDigitString(text), digits);
    }

    void copyTree()
    {
        QTemporaryDir root;
        const QString source = root.filePath("src"), target = root.filePath("dst");
        QVERIFY(QDir().mkpath(source + "/sub"));
        writeFile(source + "/a.txt", "new a");
        writeFile(source + "/sub/b.txt", "new b");

        QVERIFY(copyDirectoryFiles(source, target, false));
        QCOMPARE(readFile(target + "/sub/b.txt"), QByteArray("new b"));

        writeFile(target + "/a.txt", "old a");
        QVERIFY2(!copyDirectoryFiles(source, target, false), "an existing file stops a copy without overwrite");
        QCOMPARE(readFile(target + "/a.txt"), QByteArray("old a"));
        QVERIFY(copyDirectoryFiles(source, target, true));
        QCOMPARE(readFile(target + "/a.txt"), QByteArray("new a"));
    }

    void copyIntoItselfIsRefused_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("same folder") << "src";
        QTest::newRow("inside") << "src/inner";
        QTest::newRow("inside, spelled with ..") << "other/../src/deeper/x";
    }

    void copyIntoItselfIsRefused()
    {
        QFETCH(QString, target);
        QTemporaryDir root;
        QVERIFY(QDir().mkpath(root.filePath("src")));
        writeFile(root.filePath("src/f"), "x");
        QVERIFY(!copyDirectoryFiles(root.filePath("src"), root.filePath(target), true));
        QVERIFY(!QFile::exists(root.filePath("src/inner/f")));
    }

    void deleteDirectoryRefusesUnsafePaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("empty") << "";
        QTest::newRow("blank") << "  ";
        QTest::newRow("relative") << "VRGames/1";
        QTest::newRow("root") << "/";
        QTest::newRow("root spelled long") << "/tmp/../";
    }

    void deleteDirectoryRefusesUnsafePaths()
    {
        QFETCH(QString, path);
        QVERIFY(!deleteDirectory(path));
    }

    void autostartExecValue_data()
    {
        // Desktop-entry rules: one quoted argument, with ", `, $ and \ escaped
        // inside it, then every backslash doubled; "%" doubled.
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << "/opt/Orbela/Orbela" << "\"/opt/Orbela/Orbela\"";
        QTest::newRow("blank") << "/opt/My Games/Orbela" << "\"/opt/My Games/Orbela\"";
        QTest::newRow("dollar") << "/opt/a$b/Orbela" << "\"/opt/a\\\\$b/Orbela\"";
        QTest::newRow("quote") << "/opt/q\"x/Orbela" << "\"/opt/q\\\\\"x/Orbela\"";
        QTest::newRow("backslash") << "/opt/a\\b/Orbela" << "\"/opt/a\\\\\\\\b/Orbela\"";
        QTest::newRow("percent") << "/opt/100%/Orbela" << "\"/opt/100%%/Orbela\"";
    }

    void autostartExecValue()
    {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        QCOMPARE(PosixPlatform::desktopExecValue(program), exec);
    }

    void autostartEntryComesAndGoes()
    {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        const QString entry = config.filePath("autostart/" + QCoreApplication::applicationName() + ".desktop");
        QVERIFY(setAutoRun(true));
        const QByteArray text = readFile(entry);
        QVERIFY2(text.contains("Exec=\"" + QCoreApplication::applicationFilePath().toUtf8() + "\"\n"), text.constData());
        QVERIFY(setAutoRun(false));
        QVERIFY(!QFile::exists(entry));
        QVERIFY(setAutoRun(false)); // already off
        qunsetenv("XDG_CONFIG_HOME");
    }

    void deleteDirectoryRemovesTreeWithBlanks()
    {
        QTemporaryDir root;
        const QString game = root.filePath("VR Games/12 34");
        QVERIFY(QDir().mkpath(game + "/data"));
        writeFile(game + "/data/f.bin", "x");
        QVERIFY(deleteDirectory(game));
        QVERIFY(!QFileInfo::exists(game));
        QVERIFY(QFileInfo::exists(root.filePath("VR Games")));
    }
};

QTEST_GUILESS_MAIN(TestAppSettings)
#include "TestAppSettings.moc"
