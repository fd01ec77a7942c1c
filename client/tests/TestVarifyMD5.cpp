#include "core/jobs/VarifyMD5.h"
#include "core/game/VRAppInfo.h"
#include "tests/OpenFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QThreadPool>
#include <QtTest>

#include <atomic>

namespace {

QString fixturePath(const QString &name)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/") + name;
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

struct Result
{
    QString md5;
    void *handle = nullptr;
    int count = 0;
    bool onOwnerThread = false;
};

// Hands the job to the global pool the way the main window does and waits for its answer.
void hashOnPool(Result &result, const QString &path, void *handle)
{
    auto *job = new VarifyMD5(path, handle);
    QPointer<VarifyMD5> alive(job);
    QObject receiver;
    QObject::connect(job, &VarifyMD5::VarifyResult, &receiver, [&result](QString md5, void *back) {
        result.md5 = md5;
        result.handle = back;
        ++result.count;
        result.onOwnerThread = QThread::currentThread() == qApp->thread();
    });
    QThreadPool::globalInstance()->start(job, 0);
    QTRY_COMPARE_WITH_TIMEOUT(result.count, 1, 20000);
    QTRY_VERIFY(alive.isNull()); // the pool deleted the job after its run
    QCoreApplication::processEvents();
    QCOMPARE(result.count, 1);
}

} // namespace

class TestVarifyMD5 : public QObject
{
    Q_OBJECT

private slots:
    void standardVectors_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("md5");
        // RFC 1321, appendix A.5.
        QTest::newRow("empty") << QByteArray("") << "d41d8cd98f00b204e9800998ecf8427e";
        QTest::newRow("a") << QByteArray("a") << "0cc175b9c0f1b6a831c399e269772661";
        QTest::newRow("abc") << QByteArray("abc") << "900150983cd24fb0d6963f7d28e17f72";
        QTest::newRow("message digest") << QByteArray("message digest") << "f96b697d7cb7938d525a2f31aaf161d0";
        QTest::newRow("alphabet") << QByteArray("abcdefghijklmnopqrstuvwxyz") << "c3fcd3d76192e4007dfb496cca67e13b";
        QTest::newRow("alphanumeric")
            << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")
            << "d174ab98d277d9f5a5611c2c9f419d9f";
        QTest::newRow("digits") << QByteArray("1234567890").repeated(8) << "57edf4a22be3c955ac49da2e2107b67a";
    }

    void standardVectors()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, md5);
        const QString path = fixturePath(QStringLiteral("vector.bin"));
        QVERIFY(writeFile(path, content));
        VRAppInfo record;
        Result result;
        hashOnPool(result, path, &record);
        QCOMPARE(result.md5, md5);
        QVERIFY(result.onOwnerThread);
    }

    void fileLargerThanTheBufferMatchesMd5sum()
    {
        // Spans several reads, ending in a partial one.
        QByteArray content(int(2 * VarifyMD5::kReadChunkBytes + 4099), Qt::Uninitialized);
        quint32 x = 2463534242u;
        for (char &c : content) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            c = char(x);
        }
        const QString path = fixturePath(QStringLiteral("several-chunks.bin"));
        QVERIFY(writeFile(path, content));

        QProcess md5sum;
        md5sum.start(QStringLiteral("md5sum"), {path});
        QVERIFY(md5sum.waitForFinished(20000));
        const QString expected = QString::fromLatin1(md5sum.readAllStandardOutput().left(32));
        QCOMPARE(expected.size(), 32);

        Result result;
        hashOnPool(result, path, nullptr);
        QCOMPARE(result.md5, expected);
        QCOMPARE(VarifyMD5::digestOfFile(path), expected);
        QFile::remove(path);
    }

    void missingFileGivesTheEmptyDigest()
    {
        Result result;
        hashOnPool(result, fixturePath(QStringLiteral("no-such-package.zip")), nullptr);
        QCOMPARE(result.md5, QStringLiteral("d41d8cd98f00b204e9800998ecf8427e"));
    }

    void handleComesBackUnchanged_data()
    {
        QTest::addColumn<quintptr>("handle");
        QTest::newRow("null") << quintptr(0);
        QTest::newRow("odd value") << quintptr(0x1234567u);
        QTest::newRow("all bits") << ~quintptr(0);
    }

    void handleComesBackUnchanged()
    {
        QFETCH(quintptr, handle);
        const QString path = fixturePath(QStringLiteral("handle.bin"));
        QVERIFY(writeFile(path, "abc"));
        Result result;
        // Never dereferenced: none of these points to anything.
        hashOnPool(result, path, reinterpret_cast<void *>(handle));
        QCOMPARE(reinterpret_cast<quintptr>(result.handle), handle);
        QCOMPARE(result.md5, QStringLiteral("900150983cd24fb0d6963f7d28e17f72"));
    }

    void stopsBetweenReads_data()
    {
        QTest::addColumn<int>("readsBeforeStop");
        QTest::newRow("before the first read") << 0;
        QTest::newRow("after the first read") << 1;
        QTest::newRow("after the third read") << 3;
    }

    void stopsBetweenReads()
    {
        QFETCH(int, readsBeforeStop);
        const qint64 size = 5 * VarifyMD5::kReadChunkBytes;
        const QString path = fixturePath(QStringLiteral("stopped.bin"));
        QVERIFY(writeFile(path, QByteArray(int(size), 'x')));
        int handle = 0;
        auto *job = new VarifyMD5(path, &handle);
        QPointer<VarifyMD5> alive(job);
        const VarifyMD5::StopFlag stop = job->stopFlag();
        if (readsBeforeStop == 0)
            *stop = true;
        std::atomic<qint64> bytesRead{0};
        std::atomic<bool> openWhileReading{false};
        int reads = 0; // pool thread only
        job->setReadObserver([&, stop, readsBeforeStop](qint64 total) {
            bytesRead = total;
            openWhileReading = isOpenInThisProcess(path);
            if (++reads == readsBeforeStop)
                *stop = true; // as a removal on the window thread would, between two reads
        });
        // Heard on the pool thread, as soon as the job says it stopped.
        std::atomic<bool> closedWhenStopped{false};
        QObject::connect(job, &VarifyMD5::VarifyStopped,
                         [&closedWhenStopped, path](void *) { closedWhenStopped = !isOpenInThisProcess(path); });
        QObject receiver;
        int results = 0;
        int stops = 0;
        void *stoppedHandle = nullptr;
        QObject::connect(job, &VarifyMD5::VarifyResult, &receiver, [&results](QString, void *) { ++results; });
        QObject::connect(job, &VarifyMD5::VarifyStopped, &receiver, [&](void *back) {
            ++stops;
            stoppedHandle = back;
        });
        QThreadPool::globalInstance()->start(job, 0);
        QTRY_COMPARE_WITH_TIMEOUT(stops, 1, 20000);
        QTRY_VERIFY(alive.isNull());
        QCoreApplication::processEvents();
        QCOMPARE(results, 0);
        QCOMPARE(stops, 1);
        QCOMPARE(stoppedHandle, static_cast<void *>(&handle));
        QCOMPARE(openWhileReading.load(), readsBeforeStop > 0);
        QVERIFY(closedWhenStopped);
        // It read no further than the read under way when it was stopped.
        QCOMPARE(bytesRead.load(), readsBeforeStop * VarifyMD5::kReadChunkBytes);
        QVERIFY(bytesRead.load() < size);
        QFile::remove(path);
    }

    void recordGivenAsHandleIsLeftAlone()
    {
        const QString path = fixturePath(QStringLiteral("record.bin"));
        QVERIFY(writeFile(path, "message digest"));
        VRAppInfo record;
        record.gameId = "42";
        record.downloadStatus = 2;
        record.md5 = "F96B697D7CB7938D525A2F31AAF161D0";
        Result result;
        hashOnPool(result, path, &record);
        QCOMPARE(result.handle, static_cast<void *>(&record));
        QCOMPARE(record.gameId, QStringLiteral("42"));
        QCOMPARE(record.downloadStatus, 2);
        QCOMPARE(result.md5.compare(record.md5, Qt::CaseInsensitive), 0);
    }
};

QTEST_GUILESS_MAIN(TestVarifyMD5)
#include "TestVarifyMD5.moc"
