#pragma once
// A stand-in for the extractor in "Tools" that waits at a gate before it runs
// the real one, so a test can act while an unpacking is under way.

#include "core/AppFolders.h"
#include "tests/DownloadTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

// The extractor in "Tools" held at a gate before it runs the real one; it
// leaves its process id in a file when it starts. Puts the real one back at the end.
class GatedExtractor
{
public:
    explicit GatedExtractor(const QString &folder)
        : startedFile(folder + QStringLiteral("/extractor-started"))
        , gateFile(folder + QStringLiteral("/extractor-gate"))
        , tool(getToolsDir() + QStringLiteral("7z"))
    {
        QFile::remove(tool);
        QFile script(tool);
        if (script.open(QIODevice::WriteOnly)) {
            script.write(QStringLiteral("#!/bin/sh\necho $$ > '%1'\nwhile [ ! -e '%2' ]; do sleep 0.05; done\n"
                                        "exec /usr/bin/7z \"$@\"\n")
                             .arg(startedFile, gateFile)
                             .toUtf8());
            script.close();
            script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
    }
    ~GatedExtractor()
    {
        QFile::remove(tool);
        QFile::link(QStringLiteral("/usr/bin/7z"), tool);
    }
    bool started() const { return QFileInfo::exists(startedFile) && !pid().isEmpty(); }
    QString pid() const { return QString::fromLatin1(fileBytes(startedFile).trimmed()); }
    void open() const
    {
        QFile gate(gateFile);
        gate.open(QIODevice::WriteOnly);
    }

private:
    QString startedFile;
    QString gateFile;
    QString tool;
};
