#pragma once
// Keeps every message the code under test logs while it lives (they still go
// on to the handler installed before it), so a test can count its log lines.

#include <QRegularExpression>
#include <QStringList>
#include <QtGlobal>

class LogCapture
{
public:
    LogCapture()
    {
        lines().clear();
        previous() = qInstallMessageHandler(record);
    }
    ~LogCapture() { qInstallMessageHandler(previous()); }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    static QStringList &lines()
    {
        static QStringList captured;
        return captured;
    }
    static int count(const QRegularExpression &pattern) { return lines().filter(pattern).size(); }

private:
    static QtMessageHandler &previous()
    {
        static QtMessageHandler handler = nullptr;
        return handler;
    }
    static void record(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        lines() << message;
        if (previous())
            previous()(type, context, message);
    }
};
