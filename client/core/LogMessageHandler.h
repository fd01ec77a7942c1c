#pragma once
// Every message of the process ends up as one line in the day's log file,
// "UserData/Logs/yyyy-MM-dd.log".

#include <QString>
#include <QtGlobal>

class QTime;

// The level word of a message type ("Debug:", ...); empty for unknown types.
QString logLevelWord(QtMsgType type);
// "[hh:mm:ss] Level: text", without the line end.
QString formatLogLine(QtMsgType type, const QTime &time, const QString &message);
// Installed with qInstallMessageHandler before the application object exists.
void logMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message);
