// hostile-answers-bench: the real client, logged in automatically, is given
// hostile answers from the store stand-in, one row of answers per client run:
// - a picture bomb as its avatar (a PNG of a few MiB declaring 30000x30000
//   pixels) and a game-state answer listing 300,000 games (just under the
//   answers' bound of 4 MiB);
// - an ICO picture bomb as its avatar (an ICO stating 256x256 around a PNG of
//   16000x16000 pixels, named .png);
// - a device answer listing 100,000 devices, to the device popup opened with
//   a click on the device button;
// - a gzip bomb (1 GiB of zeros in about 1 MiB) as the online count's answer.
// While it handles them, the client's windows are pinged through the X server
// (_NET_WM_PING, answered by the client's event loop) one ping after another;
// the longest round trip is the longest the windows did not answer.
//
//   xvfb-run -a hostile-answers-bench     (or with any X display)
//
// The answers come once the client's start-up is over (the stand-in holds them
// back, or the bench asks for them late). Each row ends with a line
// "<row>: max_stall_ms=<longest ping from the first hostile request to the end>
// peak_rss_mib=<the client process's peak resident memory>" (its web
// renderers are processes of their own and not counted).

#include "core/game/LocalDatabase.h"
#include "core/webapi/LoginForm.h"
#include "tests/ClientDirectory.h"
#include "tests/PeakMemory.h"

#include "StoreServerProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QSettings>
#include <QThread>

#include <xcb/xcb.h>

#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

namespace {

const int kGames = 300000;
const int kDevices = 100000;

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

QByteArray deviceList()
{
    QByteArray answer = "{\"status\":1,\"msg\":\"ok\",\"data\":{";
    for (int i = 1; i <= kDevices; ++i)
        answer += (i > 1 ? ",\"" : "\"") + QByteArray::number(i) + "\":\"设备" + QByteArray::number(i) + "|HMD-"
                  + QByteArray::number(i) + "\"";
    return answer + "}}";
}

// An answer file under the stand-in's data folder, for an "answer:" fault.
bool writeAnswer(const StoreServerProcess &server, const QString &name, const QByteArray &bytes)
{
    const QString folder = QString::fromStdString(server.dataDir()) + QStringLiteral("/answers");
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A left click at (x, y) of window, sent as the X server reports one.
void click(xcb_connection_t *connection, xcb_window_t root, xcb_window_t window, int x, int y)
{
    xcb_translate_coordinates_reply_t *onRoot = xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, root, int16_t(x), int16_t(y)), nullptr);
    if (!onRoot)
        return;
    for (uint8_t type : {uint8_t(XCB_BUTTON_PRESS), uint8_t(XCB_BUTTON_RELEASE)}) {
        xcb_button_press_event_t event;
        std::memset(&event, 0, sizeof event);
        event.response_type = type;
        event.detail = 1;
        event.time = XCB_CURRENT_TIME;
        event.root = root;
        event.event = window;
        event.root_x = onRoot->dst_x;
        event.root_y = onRoot->dst_y;
        event.event_x = int16_t(x);
        event.event_y = int16_t(y);
        event.state = type == XCB_BUTTON_RELEASE ? XCB_BUTTON_MASK_1 : 0;
        event.same_screen = 1;
        xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&event));
    }
    xcb_flush(connection);
    free(onRoot);
}

// One client run with one set of hostile answers.
struct Row
{
    const char *name;
    // Sets the stand-in's answers; false when it cannot.
    std::function<bool(const StoreServerProcess &)> prepare;
    // The request whose arrival starts the hostile part.
    std::string hostilePath;
    // Log texts that show the client has handled every hostile answer.
    QList<QByteArray> doneTexts;
    // When the bench clicks the device button, in ms after the window shows; -1 for never.
    int deviceClickMs;
};

const QByteArray kAvatarRefused = "the picture of the avatar is not shown";

// The picture bombs come once the start-up is over: the avatar's address answers late.
bool avatarBomb(const StoreServerProcess &server, const char *picture)
{
    return server.setFault("/avatar", "delay-headers:4")
           && server.setFault("/download/pics/avatar.png", std::string("answer:") + picture);
}

const Row kRows[] = {
    {"PNG picture bomb as the avatar and 300,000 game states",
     [](const StoreServerProcess &server) {
         const QByteArray states = gameStates();
         std::printf("game-state answer: %d games, %lld bytes\n", kGames, static_cast<long long>(states.size()));
         return writeAnswer(server, QStringLiteral("games.json"), states)
                && avatarBomb(server, "/download/pics/huge.png")
                && server.setFault("/api/getUserResource", "delay-headers:10")
                && server.setFault("/client/api/ajaxGetGameState", "answer:/answers/games.json");
     },
     "/download/pics/avatar.png", {kAvatarRefused, QByteArray::number(kGames) + " \"1\""}, -1},
    {"ICO picture bomb (16000x16000 PNG inside) as the avatar",
     [](const StoreServerProcess &server) { return avatarBomb(server, "/download/pics/icon-bomb.png"); },
     "/download/pics/avatar.png", {kAvatarRefused}, -1},
    {"100,000 devices in the device popup",
     [](const StoreServerProcess &server) {
         const QByteArray devices = deviceList();
         std::printf("device answer: %d devices, %lld bytes\n", kDevices, static_cast<long long>(devices.size()));
         return writeAnswer(server, QStringLiteral("devices.json"), devices)
                && server.setFault("/client/api/ajaxGetDevices", "answer:/answers/devices.json");
     },
     "/client/api/ajaxGetDevices", {"[Mivo] device list: " + QByteArray::number(kDevices) + " devices"}, 8000},
    {"gzip bomb as the online count's answer",
     [](const StoreServerProcess &server) { return server.setFault("/client/api/ajaxGetOnlineTotal", "gzip-bomb:8"); },
     "/client/api/ajaxGetOnlineTotal", {"ajaxGetOnlineTotal is encoded (gzip): given up"}, -1},
};

// The device button's centre in the title bar (user panel 210 px, splitter 6 px, 26 px gap; 120x34, centred).
const int kDeviceButtonX = 210 + 6 + 26 + 60;
const int kDeviceButtonY = 37;

// 0 when the row ran, 1 when the client failed it, 2 when it could not be set up.
int runRow(const Row &row)
{
    std::printf("row: %s\n", row.name);
    std::fflush(stdout);
    ClientDirectory dir;
    StoreServerProcess server;
    if (!dir.isReady() || !prepareClient(dir) || !server.start()) {
        std::fprintf(stderr, "cannot prepare the client or start the stand-in %s\n", server.error().c_str());
        return 2;
    }
    if (!row.prepare(server))
        return 2;

    QProcess client;
    dir.prepare(client);
    QProcessEnvironment env = client.processEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const char *variable : {"ORBELA_APP_API_HOST", "ORBELA_OPEN_API_HOST", "ORBELA_FORUM_HOST", "ORBELA_IP_LOOKUP_HOST"})
        env.insert(QLatin1String(variable), QString::fromStdString(server.host()));
    client.setProcessEnvironment(env);
    client.start();
    // Ended on every return: a client left running keeps a window of the same
    // title, which the next row could take for its own.
    const auto stopClient = qScopeGuard([&client]() {
        client.kill();
        client.waitForFinished(10000);
    });

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
    const qint64 shownAt = clock.elapsed();

    auto handled = [&row](const QByteArray &log) {
        for (const QByteArray &text : row.doneTexts) {
            if (!log.contains(text))
                return false;
        }
        return true;
    };
    double startStallMs = 0, hostileStallMs = 0;
    bool hostile = false;
    bool clicked = row.deviceClickMs < 0;
    qint64 doneAt = -1;
    uint32_t serial = 0;
    while (clock.elapsed() < 180000 && (doneAt < 0 || clock.elapsed() < doneAt + 2000)) {
        if (!clicked && clock.elapsed() >= shownAt + row.deviceClickMs) {
            click(connection, root, window, kDeviceButtonX, kDeviceButtonY);
            clicked = true;
        }
        const double ms = ping(connection, root, window, ++serial, 30000);
        if (ms < 0) {
            std::fprintf(stderr, "the client's window gave no answer for 30 s\n");
            return 1;
        }
        if (!hostile && server.logEntries().size() > 0) {
            for (const auto &entry : server.logEntries())
                hostile = hostile || entry["path"].asString() == row.hostilePath;
        }
        (hostile ? hostileStallMs : startStallMs) = std::max(hostile ? hostileStallMs : startStallMs, ms);
        if (doneAt < 0 && serial % 20 == 0 && handled(dir.logText()))
            doneAt = clock.elapsed();
        QThread::msleep(5);
    }
    const qint64 peakKiB = peakResidentKiB(QString::number(client.processId()));
    xcb_disconnect(connection);
    if (doneAt < 0) {
        std::fprintf(stderr, "the client never handled the row's answers\n");
        return 1;
    }
    std::printf("%s: pings=%u start_up_max_stall_ms=%.1f max_stall_ms=%.1f peak_rss_mib=%.1f\n", row.name, serial,
                startStallMs, hostileStallMs, peakKiB / 1024.0);
    std::fflush(stdout);
    return 0;
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
    int worst = 0;
    for (const Row &row : kRows)
        worst = std::max(worst, runRow(row));
    return worst;
}
