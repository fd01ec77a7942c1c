#pragma once
// Answers popups that a test cannot reach itself because they run modally
// (the client's questions): a timer clicks a button of the next popup that
// shows a given page.

#include "gui/popups/PopupWindowDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

// Clicks button (an object name such as "pup_okBtn") on the next visible
// popup of the given page kind that the previous popup was not.
// The shown message goes to *text when given.
inline void answerNextPopup(const char *button, int pageKind = PopupWindowDialog::Information,
                            QString *text = nullptr)
{
    auto *poll = new QTimer;
    const QByteArray name(button);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, name, pageKind, text]() {
        PopupWindowDialog *popup = PopupWindowDialog::instance();
        if (!popup || !popup->isVisible() || popup->pageKindShown() != pageKind)
            return;
        auto *target = popup->findChild<QPushButton *>(QString::fromLatin1(name));
        if (!target || !target->isVisible())
            return;
        poll->deleteLater();
        if (text) {
            auto *label = popup->findChild<QLabel *>(QStringLiteral("lb_info_text"));
            auto *title = popup->findChild<QLabel *>(QStringLiteral("lb_title"));
            *text = (title ? title->text() + QLatin1Char('\n') : QString()) + (label ? label->text() : QString());
        }
        target->click();
    });
    poll->start(20);
}
