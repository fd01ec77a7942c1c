// The engine binding: without the library every operation is unbound and
// calls nothing; with it every operation reaches its function.

#include "core/download/EngineTaskParams.h"
#include "core/download/XLDLImpl.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <memory>

class TestXLDL : public QObject
{
    Q_OBJECT

private slots:
    void missingLibraryLeavesEveryOperationUnbound();
    void instanceIsOneObjectUntilDeleted();
    void boundOperationsReachTheLibrary();
    void nullTaskHandleReachesNothing_data();
    void nullTaskHandleReachesNothing();
};

void TestXLDL::missingLibraryLeavesEveryOperationUnbound()
{
    // Nothing named like the engine lies in this test's application folder.
    QVERIFY(!QFile::exists(XLDLImpl::defaultLibraryPath()));
    XLDL *engine = XLDL::instance();
    QVERIFY(engine);

    XlTaskParams params;
    std::memset(&params, 0, sizeof params);
    XlTaskInfo info;
    std::memset(&info, 0, sizeof info);
    info.state = 2;
    XlProxyInfo proxy;
    std::memset(&proxy, 0, sizeof proxy);
    XlChar text[16] = {u'x', 0};
    int64_t size = -1;
    auto handle = reinterpret_cast<XlTaskHandle>(quintptr(0x1234));

    QVERIFY(!engine->Init());
    QCOMPARE(engine->CreateTask(&params), XlTaskHandle(nullptr));
    QVERIFY(!engine->DeleteTask(handle));
    QVERIFY(!engine->StartTask(handle));
    QVERIFY(!engine->StopTask(handle));
    QVERIFY(!engine->ForceStopTask(handle));
    QVERIFY(!engine->QueryTaskInfo(handle, &info));
    QVERIFY(!engine->QueryTaskInfoEx(handle, &info));
    QCOMPARE(info.state, 2); // nothing was called that could have written it
    engine->SetSpeedLimit(10);
    engine->SetUploadSpeedLimit(1, 2);
    QVERIFY(!engine->DelTempFile(&params));
    QVERIFY(!engine->SetProxy(&proxy));
    engine->SetUserAgent(text);
    QVERIFY(!engine->GetFileSizeWithUrl(text, &size));
    QCOMPARE(size, int64_t(-1));
    QVERIFY(!engine->ParseThunderPrivateUrl(text, text, 16));
    QCOMPARE(engine->SetAdditionInfo(handle, 1, text, 1), 0);
    QCOMPARE(engine->SetFileIdAndSize(handle, text, 1), 0);
    QVERIFY(!engine->CreateTaskByThunder(text, text, text, text, text));
    QCOMPARE(engine->CreateBTTaskByThunder(text), 0);
    QCOMPARE(engine->CreateTaskByURL(text, text, text, 1), XlTaskHandle(nullptr));
    QVERIFY(!engine->UseIEProxy());
    QVERIFY(!engine->UnInit());
    delete engine;
}

void TestXLDL::instanceIsOneObjectUntilDeleted()
{
    XLDL *first = XLDL::instance();
    QCOMPARE(XLDL::instance(), first);
    delete first;
    // A deleted engine object is never handed out again.
    XLDL *second = XLDL::instance();
    QVERIFY(second);
    QVERIFY(!second->Init());
    delete second;
}

void TestXLDL::boundOperationsReachTheLibrary()
{
    QTemporaryDir app;
    const QString library = app.filePath(QStringLiteral("libxldl.so"));
    QVERIFY(QFile::copy(QString::fromLocal8Bit(qgetenv("ORBELA_ENGINE_LIBRARY")), library));
    XLDLImpl engine(library);

    QVERIFY(engine.Init());
    // This engine hands nothing to another program: its function answers
    // non-zero, which the binding reports as false.
    XlChar url[] = u"http://127.0.0.1:1/x.zip";
    QVERIFY(!engine.CreateTaskByThunder(url, u"x.zip", u"", u"", u""));
    QCOMPARE(engine.CreateBTTaskByThunder(u"/tmp/x.torrent"), 0);

    const QString thunder = QStringLiteral("thunder://")
                            + QString::fromLatin1(QByteArray("AAhttp://127.0.0.1/a.zipZZ").toBase64());
    XlChar plain[64] = {};
    QVERIFY(engine.ParseThunderPrivateUrl(reinterpret_cast<const XlChar *>(thunder.utf16()), plain, 64));
    QCOMPARE(QString::fromUtf16(plain), QStringLiteral("http://127.0.0.1/a.zip"));

    // A task on an unused port: created, started, queried, stopped and deleted.
    const auto params = engineStartParams(QStringLiteral("http://127.0.0.1:1/x.zip"), QStringLiteral("x.zip"), app.path());
    QVERIFY(params);
    XlTaskHandle task = engine.CreateTask(params.get());
    QVERIFY(task);
    XlTaskInfo info;
    std::memset(&info, 0, sizeof info);
    QVERIFY(engine.QueryTaskInfoEx(task, &info));
    QCOMPARE(info.state, int(XL_STATE_IDLE));
    QVERIFY(engine.StartTask(task));
    QVERIFY(engine.QueryTaskInfo(task, &info));
    QVERIFY(info.state == XL_STATE_WAITING || info.state == XL_STATE_ERROR);
    QVERIFY(engine.StopTask(task));
    QVERIFY(engine.DeleteTask(task));
    QVERIFY(!engine.StartTask(task)); // a deleted handle is refused

    // An unsafe file name is refused by the engine.
    const auto unsafe = engineStartParams(QStringLiteral("http://127.0.0.1:1/x.zip"), QStringLiteral("a/b"), app.path());
    QVERIFY(unsafe);
    QCOMPARE(engine.CreateTask(unsafe.get()), XlTaskHandle(nullptr));
    QVERIFY(engine.UseIEProxy());
    QVERIFY(engine.UnInit());
}

void TestXLDL::nullTaskHandleReachesNothing_data()
{
    QTest::addColumn<QByteArray>("libraryVariable");
    QTest::newRow("the engine") << QByteArray("ORBELA_ENGINE_LIBRARY");
    // It answers any handle with success, so only the binding's checks keep these false.
    QTest::newRow("an engine that takes any handle") << QByteArray("ORBELA_ANY_HANDLE_ENGINE");
}

void TestXLDL::nullTaskHandleReachesNothing()
{
    QFETCH(QByteArray, libraryVariable);
    QTemporaryDir app;
    const QString library = app.filePath(QStringLiteral("libxldl.so"));
    QVERIFY(QFile::copy(QString::fromLocal8Bit(qgetenv(libraryVariable.constData())), library));
    XLDLImpl engine(library);
    QVERIFY(engine.Init());

    const XlTaskHandle none = nullptr;
    XlTaskInfo info;
    std::memset(&info, 0, sizeof info);
    info.state = 77;
    XlChar text[] = u"x";
    QVERIFY(!engine.StartTask(none));
    QVERIFY(!engine.StopTask(none));
    QVERIFY(!engine.ForceStopTask(none));
    QVERIFY(!engine.QueryTaskInfo(none, &info));
    QVERIFY(!engine.QueryTaskInfoEx(none, &info));
    QCOMPARE(info.state, 77); // nothing was called that could have written it
    QCOMPARE(engine.SetAdditionInfo(none, 1, text, 1), 0);
    QCOMPARE(engine.SetFileIdAndSize(none, text, 1), 0);
    QVERIFY(!engine.DeleteTask(none));
    QVERIFY(engine.UnInit());
}

QTEST_GUILESS_MAIN(TestXLDL)
#include "TestXLDL.moc"
