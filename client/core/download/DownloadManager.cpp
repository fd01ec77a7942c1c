#include "core/download/DownloadManager.h"

#include "core/AppFolders.h"
#include "core/PageLinks.h"
#include "core/download/EngineTaskParams.h"
#include "core/download/XLDL.h"

#include "HeaderNumbers.h"

#include <QDebug>
#include <QDir>
#include <QDomDocument>
#include <QFileInfo>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTimer>
#include <QTimerEvent>

#include <cstring>

namespace {

const int kPollIntervalMs = 1000;
const int kPendingTicksLimit = 6;
const int kZeroSizeTicksLimit = 10;
const int kEnginePendingCode = 68;
const int kEngineNoSizeCode = 63250;
const int kMaxRedirects = 10;
// Bounds what Qt holds of a reply that is being written out, so memory stays
// flat whatever the speed of the disk.
const qint64 kReplyBufferBytes = 4 * 1024 * 1024;
const int kReadChunkBytes = 1024 * 1024;
// Element used in "temp.xml" for a task whose file name is no XML name.
const char kNamedTaskElement[] = "task";

QString joinPath(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

QString targetPath(const DownloadTask &task)
{
    return joinPath(task.dir, task.name);
}

QString tempPath(const DownloadTask &task)
{
    return targetPath(task) + QStringLiteral(".tmp");
}

// A file name that stays inside its folder.
bool isPlainFileName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

// True when the text can be an element name of its own: file names starting
// with a digit (game ids, MD5 picture names) cannot.
bool isXmlElementName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^[\\p{L}_][\\p{L}\\p{N}._-]*$"));
    return pattern.match(name).hasMatch() && !name.startsWith(QLatin1String("xml"), Qt::CaseInsensitive);
}

// A download goes where the caller named: no ".." climbs out of the folder.
bool climbsOut(const QString &folder)
{
    return folder.split(QRegularExpression(QStringLiteral("[/\\\\]"))).contains(QStringLiteral(".."));
}

bool sameFolder(const QString &a, const QString &b)
{
    return QDir::cleanPath(a) == QDir::cleanPath(b);
}

bool queryTask(XLDL *engine, XlTaskHandle handle, XlTaskInfo &info)
{
    std::memset(&info, 0, sizeof info);
    info.state = XL_STATE_PAUSED;
    return engine->QueryTaskInfoEx(handle, &info);
}

int httpStatus(QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// Whether the answer states its body's length (a chunked body's Content-Length means nothing).
bool statesLength(QNetworkReply *reply)
{
    return reply->hasRawHeader("Content-Length")
           && !reply->rawHeader("Transfer-Encoding").toLower().contains("chunked");
}

// A header's raw value as the strict header reader takes it.
std::string headerText(QNetworkReply *reply, const char *name)
{
    return reply->rawHeader(name).toStdString();
}

} // namespace

DownloadManager::DownloadManager(NetWorkDelegate *delegate)
    : QObject(nullptr)
    , delegate(delegate)
{
    if (!delegate)
        return;
    readBuffer.resize(kReadChunkBytes);
    engine = XLDL::instance();
    engine->Init();
    pollTimerId = startTimer(kPollIntervalMs, Qt::CoarseTimer);
    connect(&network, &QNetworkAccessManager::finished, this, &DownloadManager::OnDownloadFinished);
    LoadTasks();
}

// Neither the tasks nor the engine: Shutdown releases what must be released.
DownloadManager::~DownloadManager() = default;

QString DownloadManager::taskListPath()
{
    return getTempDir() + QStringLiteral("temp.xml");
}

int DownloadManager::AddTask(const QUrl &url, const QString &name, const QString &dir, bool useEngine)
{
    if (!delegate || !engine)
        return 0;
    // Only web addresses: a "file:" one would copy a local file (or block on a FIFO) as a package.
    const char *refusal = !isPlainFileName(name)  ? "the file name is no plain name"
                          : climbsOut(dir)        ? "the folder has a \"..\" in it"
                          : !isBrowserAddress(url) ? "the address is not http or https"
                                                  : nullptr;
    if (refusal) {
        qWarning("download refused: %s", refusal);
        return 0;
    }
    return useEngine ? StartXlTask(url, name, dir) : StartHttpTask(url, name, dir);
}

DownloadTask *DownloadManager::findTaskById(int id) const
{
    for (DownloadTask *task : tasks) {
        if (task->id == id)
            return task;
    }
    return nullptr;
}

DownloadTask *DownloadManager::findTaskByReply(QObject *reply) const
{
    if (!reply)
        return nullptr;
    for (DownloadTask *task : tasks) {
        if (task->engine == 0 && task->handle == reply)
            return task;
    }
    return nullptr;
}

DownloadTask *DownloadManager::FindTaskByUrl(const QUrl &url, const QString &name, const QString &folder) const
{
    for (DownloadTask *task : tasks) {
        if (task->url == url && task->name == name && sameFolder(task->dir, folder))
            return task;
    }
    return nullptr;
}

DownloadTask *DownloadManager::newTask(const QUrl &url, const QString &name, const QString &folder, int engineTask)
{
    auto *task = new DownloadTask;
    task->id = static_cast<int>(++lastId);
    task->url = url;
    task->name = name;
    task->dir = folder;
    task->engine = engineTask;
    tasks.append(task);
    return task;
}

void DownloadManager::removeTask(DownloadTask *task)
{
    tasks.removeOne(task);
    delete task;
}

bool DownloadManager::isRunning(DownloadTask *task) const
{
    if (!task->handle)
        return false;
    if (task->engine == 0)
        return true;
    XlTaskInfo info;
    return queryTask(engine, static_cast<XlTaskHandle>(task->handle), info)
           && (info.state == XL_STATE_WAITING || info.state == XL_STATE_DOWNLOADING);
}

// A stopped or failed engine task is deleted from the engine before the
// manager starts the download anew.
void DownloadManager::forgetEngineTask(DownloadTask *task)
{
    if (task->engine == 1 && task->handle)
        engine->DeleteTask(static_cast<XlTaskHandle>(task->handle));
    task->handle = nullptr;
}

int DownloadManager::StartHttpTask(const QUrl &url, const QString &name, const QString &dir)
{
    const QString folder = dir.isEmpty() ? getUserDataDir() : dir;
    if (!dir.isEmpty() && !QDir(dir).exists() && !QDir().mkpath(dir))
        qDebug() << "[Mivo]Cannot create download store dir";

    DownloadTask *task = FindTaskByUrl(url, name, folder);
    if (task && isRunning(task))
        return task->id;

    const bool listed = task != nullptr;
    if (task) {
        forgetEngineTask(task);
        task->engine = 0;
    } else {
        task = newTask(url, name, folder, 0);
        SaveTasks();
    }
    // A ".tmp" left without a task (a lost list) is claimed, never truncated:
    // the answer to the range tells whether its bytes still fit.
    task->file.setFileName(tempPath(*task));
    // Unbuffered: every write reaches the file at once, so a full disk is
    // seen at the write and a killed process leaves what it received.
    task->file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
    task->resumeOffset = task->file.isOpen() ? task->file.size() : 0;
    task->rangeRequested = listed || task->resumeOffset > 0;
    task->dropOnError = false;

    if (!task->file.isOpen()) {
        reportErrorLater(task->id, task->file.errorString(), kWriteFailed);
        return task->id;
    }
    sendRequest(task);
    return task->id;
}

void DownloadManager::sendRequest(DownloadTask *task)
{
    QNetworkRequest request(task->url);
    // A redirect's own body is never the file: follow it (http and https only,
    // never from https down to http).
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    if (task->rangeRequested)
        request.setRawHeader("Range", "bytes=" + QByteArray::number(task->resumeOffset) + '-');
    // The file is the bytes the server sent: nothing is decoded, so an
    // encoded answer neither changes the file nor grows in memory.
    request.setRawHeader("Accept-Encoding", "identity");
    task->answerChecked = false;
    task->answerAccepted = false;
    task->fileTotal = -1;
    task->failureReported = false;

    QNetworkReply *reply = network.get(request);
    reply->setReadBufferSize(kReplyBufferBytes);
    task->handle = reply;
    connect(reply, &QNetworkReply::sslErrors, this, &DownloadManager::OnSslErrors);
    connect(reply, &QNetworkReply::errorOccurred, this, &DownloadManager::OnDownloadError);
    connect(reply, &QNetworkReply::readyRead, this, &DownloadManager::OnReadyRead);
    connect(reply, &QNetworkReply::downloadProgress, this, &DownloadManager::OnUpdateDownloadProgress);
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
        if (DownloadTask *answered = findTaskByReply(reply))
            awaitAnswer(answered, true);
    });
    connect(reply, &QNetworkReply::redirected, this, [this, reply] {
        if (DownloadTask *moved = findTaskByReply(reply))
            awaitAnswer(moved, false);
    });
    awaitAnswer(task, false);
}

void DownloadManager::setTimeLimits(int headersMs, int bodyMs)
{
    headersTimeLimitMs = headersMs;
    bodyTimeLimitMs = bodyMs;
}

// One timer per running answer serves both limits: it runs from the request
// until the headers are complete, then from each piece of the body to the next.
void DownloadManager::awaitAnswer(DownloadTask *task, bool headersIn)
{
    task->headersIn = headersIn;
    task->answerTimer.start(headersIn ? bodyTimeLimitMs : headersTimeLimitMs, this);
}

// A server that stops talking with the connection open: the task fails as a
// time-out (never as a cancel, which means a stop), its partial file kept.
void DownloadManager::answerTimedOut(DownloadTask *task)
{
    task->answerTimer.stop();
    auto *reply = static_cast<QNetworkReply *>(task->handle);
    if (task->engine != 0 || !reply || task->failureReported)
        return;
    int code = QNetworkReply::TimeoutError;
    QString message = task->headersIn
                          ? QStringLiteral("No data for %1 ms").arg(bodyTimeLimitMs)
                          : QStringLiteral("No complete answer headers within %1 ms").arg(headersTimeLimitMs);
    if (task->file.isOpen() && checkAnswer(task, reply)) {
        if (const int failure = drainReply(task, reply)) {
            code = failure;
            message = failureText(task, failure);
        }
    }
    if (task->failureReported)
        return; // the answer itself failed while it was read
    const int id = task->id;
    abandonReply(task);
    task->file.close();
    reportError(id, message, code);
}

// Decides once per answer whether its body belongs in the temporary file:
// only a 200 (the whole file; on a resume the file restarts from zero) or a
// 206 for exactly the rest of the file asked for, with numbers that can be
// read and agree with each other and with the size an earlier answer stated.
// Every other answer is never written, so a partial file stays as it was.
bool DownloadManager::checkAnswer(DownloadTask *task, QNetworkReply *reply)
{
    const int status = httpStatus(reply);
    if (task->answerChecked || status == 0)
        return task->answerAccepted && !task->failureReported;
    task->answerChecked = true;
    task->answerAccepted = false;
    if (status != 200 && status != 206)
        return false; // no file in it: the finish handler reports it
    int64_t length = -1;
    if (statesLength(reply) && !xldl::parseHeaderCount(headerText(reply, "Content-Length"), length)) {
        failNow(task, QStringLiteral("Unreadable Content-Length"), kBadAnswer);
        return false;
    }
    if (status == 206) {
        xldl::ContentRange range;
        const bool fits = xldl::parseContentRange(headerText(reply, "Content-Range"), range)
                          && xldl::rangeFitsRequest(range, task->resumeOffset, length, task->knownTotal);
        if (!fits) {
            failNow(task, QStringLiteral("Content-Range does not fit the request"), kRangeRefused);
            return false;
        }
        task->fileTotal = range.total;
    } else {
        if (task->rangeRequested && task->resumeOffset > 0) {
            if (!task->file.resize(0)) {
                failNow(task, task->file.errorString(), kWriteFailed);
                return false;
            }
            task->resumeOffset = 0;
        }
        task->fileTotal = length;
    }
    if (task->fileTotal >= 0)
        task->knownTotal = task->fileTotal;
    task->answerAccepted = true;
    return true;
}

// Ends a running task whose answer cannot be taken or whose temporary file
// cannot be written; what the file holds stays for a later resume.
void DownloadManager::failNow(DownloadTask *task, const QString &message, int code)
{
    abandonReply(task);
    task->failureReported = true;
    task->file.close();
    reportErrorLater(task->id, message, code);
}

// Writes what the reply has into the temporary file, never past the end the
// answer stated; 0, or the code of the failure.
int DownloadManager::drainReply(DownloadTask *task, QNetworkReply *reply)
{
    for (;;) {
        qint64 room = readBuffer.size();
        if (task->fileTotal >= 0) {
            room = qMin(room, task->fileTotal - task->file.size());
            if (room <= 0)
                return reply->bytesAvailable() > 0 ? kBadAnswer : 0;
        }
        const qint64 count = reply->read(readBuffer.data(), room);
        if (count <= 0)
            return 0;
        if (task->file.write(readBuffer.constData(), count) != count)
            return kWriteFailed;
    }
}

QString DownloadManager::failureText(DownloadTask *task, int code)
{
    return code == kWriteFailed ? task->file.errorString() : QStringLiteral("More data than the answer stated");
}

// Lets a reply go without its finished signal reaching this manager's handler.
void DownloadManager::abandonReply(DownloadTask *task)
{
    task->answerTimer.stop();
    auto *reply = static_cast<QNetworkReply *>(task->handle);
    task->handle = nullptr;
    if (!reply)
        return;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void DownloadManager::OnReadyRead()
{
    auto *reply = qobject_cast<QNetworkReply *>(sender());
    DownloadTask *task = findTaskByReply(reply);
    if (!task)
        return;
    awaitAnswer(task, true);
    if (!checkAnswer(task, reply)) {
        if (task->handle == reply)
            reply->skip(reply->bytesAvailable());
        return;
    }
    const int failure = drainReply(task, reply);
    if (!failure)
        return;
    // The disk refused the data, or the server sent more than it said: the
    // task fails now instead of finishing wrong.
    const int id = task->id;
    const QString message = failureText(task, failure);
    abandonReply(task);
    task->file.close();
    reportError(id, message, failure);
}

void DownloadManager::OnUpdateDownloadProgress(qint64 downloaded, qint64 total)
{
    auto *reply = qobject_cast<QNetworkReply *>(sender());
    DownloadTask *task = findTaskByReply(reply);
    if (!task || total <= 0 || !checkAnswer(task, reply))
        return;
    delegate->OnTaskProgress(task->id, task->resumeOffset + downloaded, task->resumeOffset + total);
}

void DownloadManager::OnSslErrors(const QList<QSslError> &errors)
{
    for (const QSslError &error : errors)
        qWarning("SSL error: %s", qUtf8Printable(error.errorString()));
}

void DownloadManager::OnDownloadError(QNetworkReply::NetworkError code)
{
    auto *reply = qobject_cast<QNetworkReply *>(sender());
    DownloadTask *task = findTaskByReply(reply);
    if (!task || code == QNetworkReply::OperationCanceledError || task->failureReported)
        return;
    // A range beyond the end is judged by the finish handler.
    if (httpStatus(reply) == 416 && task->rangeRequested)
        return;
    reportError(task->id, reply->errorString(), code);
}

void DownloadManager::OnDownloadFinished(QNetworkReply *reply)
{
    DownloadTask *task = findTaskByReply(reply);
    if (!task)
        return;
    const int status = httpStatus(reply);
    const bool wanted = checkAnswer(task, reply);
    if (task->handle != reply)
        return; // restarted or failed while its answer was checked
    task->answerTimer.stop();
    const int failure = wanted ? drainReply(task, reply) : 0;
    if (failure && !task->failureReported) {
        const QString message = failureText(task, failure);
        task->file.close();
        task->handle = nullptr;
        reply->deleteLater();
        reportError(task->id, message, failure);
        return;
    }
    task->file.close();
    reply->close();
    reply->deleteLater();
    task->handle = nullptr;

    if (status == 416 && task->rangeRequested && !task->failureReported) {
        xldl::ContentRange range;
        xldl::parseContentRange(headerText(reply, "Content-Range"), range);
        if (range.total >= 0 && range.total == QFileInfo(task->file.fileName()).size()) {
            finishHttpTask(task);
        } else if (task->file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
            // The server's file is not the one the temporary file began: start again.
            task->resumeOffset = 0;
            task->rangeRequested = false;
            sendRequest(task);
        } else {
            reportError(task->id, task->file.errorString(), kWriteFailed);
        }
        return;
    }

    if (!task->failureReported && reply->error() == QNetworkReply::NoError && wanted) {
        // Complete means the whole file: a body that ends short of the size
        // the answer stated is a failure, whatever the connection did.
        const qint64 size = QFileInfo(task->file.fileName()).size();
        if (task->fileTotal >= 0 && size != task->fileTotal) {
            // A body short of its stated length is a connection that broke,
            // also when the network library finished it without noticing.
            const int code = statesLength(reply) ? int(QNetworkReply::RemoteHostClosedError)
                                          : status == 206 ? int(kRangeRefused) : int(kBadAnswer);
            reportError(task->id, QStringLiteral("The file ended at %1 of %2 bytes").arg(size).arg(task->fileTotal),
                        code);
            return;
        }
        finishHttpTask(task);
        return;
    }
    if (!task->failureReported) {
        // An answer that is no file and no network error (another 1xx or 2xx,
        // a redirect without a target).
        reportError(task->id, QStringLiteral("Unexpected HTTP status %1").arg(status),
                    QNetworkReply::UnknownContentError);
        return;
    }
    if (task->dropOnError) {
        removeTask(task);
        SaveTasks();
    }
}

// Moves the complete temporary file to its target; a failed move is an error.
void DownloadManager::finishHttpTask(DownloadTask *task)
{
    const QString target = targetPath(*task);
    if (QFileInfo::exists(target))
        QFile::remove(target);
    if (!QFile::rename(tempPath(*task), target)) {
        reportError(task->id, QStringLiteral("Cannot rename %1 to %2").arg(tempPath(*task), target), kRenameFailed);
        return;
    }
    const int id = task->id;
    removeTask(task);
    SaveTasks();
    delegate->OnTaskFinished(id);
}

// Reports a failure and logs it; a task that no longer runs is dropped when the
// delegate asks, a running one once its reply has finished.
void DownloadManager::reportError(int taskId, const QString &message, int code)
{
    DownloadTask *task = findTaskById(taskId);
    if (!task)
        return;
    task->failureReported = true;
    qWarning("download %d failed: error %d: %s", taskId, code, qUtf8Printable(message));
    const bool drop = delegate->OnTaskError(taskId, message, code);
    task = findTaskById(taskId);
    if (!task)
        return;
    task->dropOnError = drop;
    if (drop && !task->handle) {
        removeTask(task);
        SaveTasks();
    }
}

// The caller learns the task's id before it hears of the failure.
void DownloadManager::reportErrorLater(int taskId, const QString &message, int code)
{
    QTimer::singleShot(0, this, [this, taskId, message, code] {
        DownloadTask *task = findTaskById(taskId);
        if (task && !task->handle)
            reportError(taskId, message, code);
    });
}

int DownloadManager::StartXlTask(const QUrl &url, const QString &name, const QString &dir)
{
    const QString folder = dir.isEmpty() ? getUserDataDir() : dir;
    const QUrl textUrl(url.toString());
    DownloadTask *task = FindTaskByUrl(textUrl, name, folder);
    if (task && isRunning(task))
        return task->id;

    if (task) {
        forgetEngineTask(task);
        task->resumeOffset = 0;
        task->dropOnError = false;
        if (task->engine != 1) {
            task->engine = 1;
            SaveTasks();
        }
    } else {
        task = newTask(textUrl, name, folder, 1);
        SaveTasks();
    }
    task->pendingTicks = 0;
    task->zeroSizeTicks = 0;
    task->failureReported = false;

    const QString target = targetPath(*task);
    if (QFileInfo::exists(target))
        QFile::remove(target);

    XlTaskHandle handle = nullptr;
    if (std::unique_ptr<XlTaskParams> params = engineStartParams(task->url.toString(QUrl::FullyEncoded), task->name, task->dir))
        handle = engine->CreateTask(params.get());
    task->handle = handle;
    XlTaskInfo info;
    queryTask(engine, handle, info);
    engine->StartTask(handle);
    queryTask(engine, handle, info);
    if (!handle)
        reportErrorLater(task->id, QStringLiteral("The download engine refused the task"), kEngineTaskRefused);
    return task->id;
}

void DownloadManager::deleteEngineTempFile(DownloadTask *task)
{
    const std::unique_ptr<XlTaskParams> params = engineTargetParams(task->name, task->dir);
    const bool deleted = params && engine->DelTempFile(params.get());
    qDebug() << "Delete XL tmp File:" << deleted;
}

void DownloadManager::HandleXlError(DownloadTask *task, int code)
{
    const int id = task->id;
    qWarning("download %d failed: error %d: the download engine's task failed", id, code + kEngineCodeBase);
    const bool drop = delegate->OnTaskError(id, QString(), code + kEngineCodeBase);
    task = findTaskById(id);
    if (!task)
        return;
    task->dropOnError = drop;
    if (!drop)
        return;
    tasks.removeOne(task);
    engine->DeleteTask(static_cast<XlTaskHandle>(task->handle));
    if (const std::unique_ptr<XlTaskParams> params = engineTargetParams(task->name, task->dir))
        engine->DelTempFile(params.get());
    delegate->OnTaskFinished(id);
    delete task;
    SaveTasks();
}

void DownloadManager::timerEvent(QTimerEvent *event)
{
    if (!delegate || !engine)
        return;
    if (event->timerId() != pollTimerId) {
        for (DownloadTask *task : tasks) {
            if (task->answerTimer.timerId() == event->timerId()) {
                answerTimedOut(task);
                return;
            }
        }
        return;
    }
    // The delegate may add, stop or drop tasks while it hears of one.
    QList<int> ids;
    for (DownloadTask *task : tasks) {
        if (task->engine == 1 && task->handle)
            ids.append(task->id);
    }
    for (const int id : ids) {
        DownloadTask *task = findTaskById(id);
        if (!task || task->engine != 1 || !task->handle)
            continue;
        XlTaskInfo info;
        queryTask(engine, static_cast<XlTaskHandle>(task->handle), info);
        switch (info.state) {
        case XL_STATE_WAITING:
            qDebug() << "XL DL pending:" << task->pendingTicks;
            if (++task->pendingTicks == kPendingTicksLimit) {
                task->pendingTicks = 0;
                HandleXlError(task, kEnginePendingCode);
            }
            break;
        case XL_STATE_ERROR:
            HandleXlError(task, info.failCode);
            // Stopped after its report: a failed task is reported once, and
            // AddTask can continue it later.
            if (DownloadTask *failed = findTaskById(id)) {
                if (failed->handle)
                    engine->StopTask(static_cast<XlTaskHandle>(failed->handle));
            }
            break;
        case XL_STATE_DOWNLOADING:
            if (info.totalSize == 0) {
                if (task->zeroSizeTicks == kZeroSizeTicksLimit) {
                    task->zeroSizeTicks = 0;
                    HandleXlError(task, kEngineNoSizeCode);
                    task = findTaskById(id);
                    if (!task)
                        break;
                }
                ++task->zeroSizeTicks;
            }
            delegate->OnTaskProgress(id, info.downloadedSize, info.totalSize);
            break;
        case XL_STATE_COMPLETE:
            StopTask(id, true, false);
            delegate->OnTaskFinished(id);
            break;
        default:
            break;
        }
    }
}

void DownloadManager::StopTask(int taskId, bool remove, bool deleteTemp)
{
    if (!delegate || !engine)
        return;
    DownloadTask *task = findTaskById(taskId);
    if (!task)
        return;
    if (task->engine == 1) {
        if (!task->handle)
            return;
        auto handle = static_cast<XlTaskHandle>(task->handle);
        engine->StopTask(handle);
        if (deleteTemp)
            deleteEngineTempFile(task);
        if (remove) {
            // Nothing can name the engine's task once the manager forgets it.
            engine->DeleteTask(handle);
            removeTask(task);
            SaveTasks();
        }
        return;
    }
    if (task->handle) {
        auto *reply = static_cast<QNetworkReply *>(task->handle);
        if (task->file.isOpen() && checkAnswer(task, reply))
            drainReply(task, reply); // a pause keeps what came; a failure here changes nothing
        abandonReply(task);
    }
    task->file.close();
    if (deleteTemp)
        QFile::remove(tempPath(*task));
    if (remove) {
        removeTask(task);
        SaveTasks();
    }
}

void DownloadManager::StopAllTasks(bool remove, bool deleteTemp)
{
    if (!delegate || !engine)
        return;
    // Each running task stops as a pause does: HTTP data flushed into its
    // temporary file, engine tasks stopped with their data kept.
    const QList<DownloadTask *> all = tasks;
    for (DownloadTask *task : all) {
        if (task->handle)
            StopTask(task->id, false, deleteTemp);
    }
    if (remove) {
        for (DownloadTask *task : all) {
            if (task->engine == 1 && task->handle)
                engine->DeleteTask(static_cast<XlTaskHandle>(task->handle));
        }
        qDeleteAll(tasks);
        tasks.clear();
    }
    SaveTasks();
    network.clearConnectionCache();
}

void DownloadManager::Shutdown()
{
    if (!delegate)
        return;
    StopAllTasks(false, false);
    killTimer(pollTimerId);
    pollTimerId = 0;
    if (engine) {
        engine->UnInit();
        delete engine;
        engine = nullptr;
    }
}

void DownloadManager::SaveTasks()
{
    if (!delegate)
        return;
    QDomDocument document;
    document.appendChild(document.createProcessingInstruction(
        QStringLiteral("xml"), QStringLiteral("version=\"1.0\" encoding=\"utf-8\"")));
    QDomElement root = document.createElement(QStringLiteral("root"));
    document.appendChild(root);
    QDomElement idElement = document.createElement(QStringLiteral("id"));
    idElement.setAttribute(QStringLiteral("value"), QString::number(lastId));
    root.appendChild(idElement);
    QDomElement items = document.createElement(QStringLiteral("items"));
    root.appendChild(items);
    for (const DownloadTask *task : tasks) {
        const bool plain = isXmlElementName(task->name);
        QDomElement item = document.createElement(plain ? task->name : QString::fromLatin1(kNamedTaskElement));
        if (!plain)
            item.setAttribute(QStringLiteral("name"), task->name);
        item.setAttribute(QStringLiteral("url"), task->url.toString());
        item.setAttribute(QStringLiteral("id"), QString::number(static_cast<quint32>(task->id)));
        item.setAttribute(QStringLiteral("engine"), QString::number(task->engine));
        item.setAttribute(QStringLiteral("path"), task->dir);
        items.appendChild(item);
    }
    QByteArray text = document.toByteArray(4);
    text.replace("\n", "\r\n");

    // Written whole to a new file that then takes the name: a crash leaves the
    // old list or the new one, never half of one. Unbuffered, so a failed
    // write is seen at write() and the commit keeps the old list instead of
    // putting a cut one in its place.
    QSaveFile file(taskListPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(text) != text.size() || !file.commit())
        qWarning("the task list %s was not saved: %s", qUtf8Printable(taskListPath()), qUtf8Printable(file.errorString()));
}

void DownloadManager::LoadTasks()
{
    QFile file(taskListPath());
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    QDomDocument document;
    QString problem;
    int line = 0;
    if (!document.setContent(&file, &problem, &line)) {
        // Kept aside before the next save replaces it, so the tasks it names
        // can still be found by hand.
        file.close();
        const QString damaged = taskListPath() + QStringLiteral(".damaged");
        QFile::remove(damaged);
        const bool kept = QFile::copy(taskListPath(), damaged);
        qWarning("the task list %s does not parse (line %d: %s); %s", qUtf8Printable(taskListPath()), line,
                 qUtf8Printable(problem),
                 kept ? qUtf8Printable(QStringLiteral("copied to ") + damaged) : "it could not be copied aside");
        return;
    }
    for (QDomElement child = document.documentElement().firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        if (child.tagName() == QLatin1String("id")) {
            lastId = child.attribute(QStringLiteral("value")).toUInt();
        } else if (child.tagName() == QLatin1String("items")) {
            for (QDomElement item = child.firstChildElement(); !item.isNull(); item = item.nextSiblingElement()) {
                const QString name = item.hasAttribute(QStringLiteral("name")) ? item.attribute(QStringLiteral("name"))
                                                                               : item.tagName();
                const int id = static_cast<int>(item.attribute(QStringLiteral("id")).toUInt());
                // A list edited by hand must not send a download out of its folder.
                if (!isPlainFileName(name) || id == 0 || findTaskById(id)) {
                    qWarning("the task list entry at line %d is skipped: no usable name or id", item.lineNumber());
                    continue;
                }
                auto *task = new DownloadTask;
                task->id = id;
                task->url = QUrl(item.attribute(QStringLiteral("url")));
                task->dir = item.attribute(QStringLiteral("path"));
                task->engine = item.attribute(QStringLiteral("engine")).toInt();
                task->name = name;
                tasks.append(task);
            }
        }
    }
    // Ids are never issued twice, even when the counter was lost.
    for (const DownloadTask *task : tasks)
        lastId = qMax(lastId, static_cast<quint32>(task->id));
}
