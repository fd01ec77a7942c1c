// hostile-answers-bench: the real client, logged in automatically, is given a
// picture bomb as its avatar (a PNG of a few MiB declaring 30000x30000 pixels),
// a game-state answer listing 300,000 games (just under the answers' bound of
// 4 MiB) and a gzip bomb (1 GiB of zeros in about 1 MiB) as the online count,
// all from the store stand-in.
// While it handles them, the client's windows are pinged through the X server
// (_NET_WM_PING, answered by the client's event loop) one ping after another;
// the longest round trip is the longest the windows did not answer.
//
//   xvfb-run -a hostile-answers-bench     (or with any X display)
//
// The answers are held back a few seconds (the stand-in delays them) so that
// the client's start-up is over when they come. The last lines are
// "max_stall_ms=<longest ping from the first hostile request to the end>" and
// "peak_rss_mib=<the client process's peak resident memory>" (its web
// renderers are processes of their own and not counted).

#include "core/game/LocalDatabase.h"
#include "core/webapi/LoginForm.h"
#include "tests/ClientDirectory.h"

#include "StoreServerProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QThread>

#include <xcb/xcb.h>

#include <poll.h>

#include <cstdio>
#include <cstring>

namespace {

const int kGames = 300000;

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t value = reply ? reply->atom : XCB_ATOM_NONE;
    free(reply);
    return value;
}

// The client's title-bar window: a top-level window whose name is the title.
xcb_window_t findWindow(xcb_connection_t *connection, xcb_window_t root, const QByteArray &title)
{
    xcb_query_tree_reply_t *tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr);
    if (!tree)
        return XCB_WINDOW_NONE;
    const xcb_atom_t netName = atom(connection, "_NET_WM_NAME");
    const xcb_atom_t utf8 = atom(connection, "UTF8_STRING");
    xcb_window_t found = XCB_WINDOW_NONE;
    const xcb_window_t *children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree) && found == XCB_WINDOW_NONE; ++i) {
        xcb_get_property_reply_t *name = xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, children[i], netName, utf8, 0, 256), nullptr);
        if (name && QByteArray(static_cast<const char *>(xcb_get_property_value(name)),
                               xcb_get_property_value_length(name)) == title)
            found = children[i];
        free(name);
    }
    free(tree);
    return found;
}

// Pings window and waits for its answer; the round trip in ms, or -1 when
// none came within timeoutMs.
double ping(xcb_connection_t *connection, xcb_window_t root, xcb_window_t window, uint32_t serial, int timeoutMs)
{
    static const xcb_atom_t protocols = atom(connection, "WM_PROTOCOLS");
    static const xcb_atom_t netPing = atom(connection, "_NET_WM_PING");
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = protocols;
    event.data.data32[0] = netPing;
    event.data.data32[1] = serial;
    event.data.data32[2] = window;
    QElapsedTimer clock;
    clock.start();
    xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&event));
    xcb_flush(connection);
    while (clock.elapsed() < timeoutMs) {
        while (xcb_generic_event_t *answer = xcb_poll_for_event(connection)) {
            const bool pong = (answer->response_type & 0x7f) == XCB_CLIENT_MESSAGE
                              && reinterpret_cast<xcb_client_message_event_t *>(answer)->window == root
                              && reinterpret_cast<xcb_client_message_event_t *>(answer)->data.data32[1] == serial;
            free(answer);
            if (pong)
                return clock.nsecsElapsed() / 1e6;
        }
        pollfd descriptor{xcb_get_file_descriptor(connection), POLLIN, 0};
        ::poll(&descriptor, 1, 5);
    }
    return -1;
}

QByteArray gameStates()
{
    QByteArray answer = "{\"status\":1,\"msg\":\"ok\",\"data\":{";
    for (int i = 1; i <= kGames; ++i)
        answer += (i > 1 ? ",\"" : "\"") + QByteArray::number(i) + "\":\"1\"";
    return answer + "}}";
}

qint64 peakResidentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression line(QStringLiteral("VmHWM:\\s+(\\d+) kB"));
    return line.match(QString::fromLatin1(status.readAll())).captured(1).toLongLong();
}

// A user logged in automatically at start, with a device chosen, so nothing
// waits for an answer from the user.
bool prepareClient(const ClientDirectory &dir)
{
    QDir().mkpath(dir.clientPath() + QStringLiteral("/UserData"));
    {
        QSettings ini(dir.clientPath() + QStringLiteral("/UserData/Settings.ini"), QSettings::IniFormat);
        ini.setValue(QStringLiteral("DeviceInfo/Id"), QStringLiteral("1"));
        ini.setValue(QStringLiteral("DeviceInfo/Name"), QStringLiteral("Vive"));
    }
    QFile::remove(LocalDatabase::filePath());
    LocalDatabase database;
    if (!database.open())
        return false;
    const bool saved = database.saveUser(QStringLiteral("10001"), QStringLiteral("true"), QStringLiteral("true"),
                                         QStringLiteral("false"), rememberedText(QStringLiteral("tester")),
                                         rememberedText(QStringLiteral("orbela123")));
    database.close();
    return saved && QFile::copy(LocalDatabase::filePath(), dir.clientPath() + QStringLiteral("/UserData/Orbela.db"));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "hostile-answers-bench needs an X display (run it under xvfb-run -a)\n");
        return 2;
    }
    qputenv("ORBELA_CLIENT_BINARY", QFile::encodeName(QCoreApplication::applicationDirPath() + "/../Orbela/Orbela"));
    ClientDirectory dir;
    StoreServerProcess server;
    if (!dir.isReady() || !prepareClient(dir) || !server.start()) {
        std::fprintf(stderr, "cannot prepare the client or start the stand-in %s\n", server.error().c_str());
        return 2;
    }
    // The picture bomb and the long list, each held back until the start-up is over.
    QDir().mkpath(QString::fromStdString(server.dataDir()) + QStringLiteral("/answers"));
    QFile list(QString::fromStdString(server.dataDir()) + QStringLiteral("/answers/games.json"));
    const QByteArray states = gameStates();
    if (!list.open(QIODevice::WriteOnly) || list.write(states) != states.size())
        return 2;
    list.close();
    if (!server.setFault("/avatar", "delay-headers:4") || !server.setFault("/download/pics/avatar.png", "answer:/download/pics/huge.png")
        || !server.setFault("/api/getUserResource", "delay-headers:10")
        || !server.setFault("/client/api/ajaxGetGameState", "answer:/answers/games.json")
        || !server.setFault("/client/api/ajaxGetOnlineTotal", "gzip-bomb:8"))
        return 2;
    std::printf("game-state answer: %d games, %lld bytes\n", kGames, static_cast<long long>(states.size()));

    QProcess client;
    dir.prepare(client);
    QProcessEnvironment env = client.processEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const char *variable : {"ORBELA_APP_API_HOST", "ORBELA_OPEN_API_HOST", "ORBELA_FORUM_HOST", "ORBELA_IP_LOOKUP_HOST"})
        env.insert(QLatin1String(variable), QString::fromStdString(server.host()));
    client.setProcessEnvironment(env);
    client.start();

    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 2;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);

    QElapsedTimer clock;
    clock.start();
    xcb_window_t window = XCB_WINDOW_NONE;
    while (window == XCB_WINDOW_NONE && clock.elapsed() < 60000) {
        QThread::msleep(100);
        window = findWindow(connection, root, QByteArrayLiteral("Orbela游戏平台"));
    }
    if (window == XCB_WINDOW_NONE) {
        std::fprintf(stderr, "the client's window never showed\n");
        return 1;
    }

    const QByteArray avatarDone = "the picture of the avatar is not shown";
    const QByteArray listDone = QByteArray::number(kGames) + " \"1\"";
    const QByteArray bombDone = "ajaxGetOnlineTotal is encoded (gzip): given up";
    double startStallMs = 0, hostileStallMs = 0;
    bool hostile = false;
    qint64 doneAt = -1;
    uint32_t serial = 0;
    while (clock.elapsed() < 180000 && (doneAt < 0 || clock.elapsed() < doneAt + 2000)) {
        const double ms = ping(connection, root, window, ++serial, 30000);
        if (ms < 0) {
            std::fprintf(stderr, "the client's window gave no answer for 30 s\n");
            return 1;
        }
        if (!hostile && server.logEntries().size() > 0) {
            for (const auto &entry : server.logEntries())
                hostile = hostile || entry["path"].asString() == "/download/pics/avatar.png";
        }
        (hostile ? hostileStallMs : startStallMs) = std::max(hostile ? hostileStallMs : startStallMs, ms);
        if (doneAt < 0 && serial % 20 == 0) {
            const QByteArray log = dir.logText();
            if (log.contains(avatarDone) && log.contains(listDone) && log.contains(bombDone))
                doneAt = clock.elapsed();
        }
        QThread::msleep(5);
    }
    const qint64 peakKiB = peakResidentKiB(client.processId());
    const QByteArray log = dir.logText();
    client.kill();
    client.waitForFinished(10000);
    xcb_disconnect(connection);
    if (doneAt < 0) {
        std::fprintf(stderr, "the client never handled the answers (avatar %s, list %s, gzip bomb %s)\n",
                     log.contains(avatarDone) ? "yes" : "no", log.contains(listDone) ? "yes" : "no",
                     log.contains(bombDone) ? "yes" : "no");
        return 1;
    }
    std::printf("pings=%u\nstart_up_max_stall_ms=%.1f\nmax_stall_ms=%.1f\npeak_rss_mib=%.1f\n", serial, startStallMs,
                hostileStallMs, peakKiB / 1024.0);
    return 0;
}
