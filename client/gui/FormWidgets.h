#pragma once
// Building a form in code: each widget with its object name and rectangle, as
// the designer forms give them.

#include <QString>
#include <QWidget>

template <class T>
T *placeWidget(QWidget *parent, const char *objectName, int x, int y, int width, int height,
               const QString &styleSheet = QString())
{
    T *widget = new T(parent);
    widget->setObjectName(QLatin1String(objectName));
    widget->setGeometry(x, y, width, height);
    if (!styleSheet.isEmpty())
        widget->setStyleSheet(styleSheet);
    return widget;
}
