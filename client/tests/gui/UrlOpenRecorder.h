#pragma once
// Stands in for the system's URL handlers: install it with
// QDesktopServices::setUrlHandler(scheme, &recorder, "open").

#include <QList>
#include <QObject>
#include <QUrl>

class UrlOpenRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};
