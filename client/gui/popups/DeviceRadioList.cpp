#include "gui/popups/DeviceRadioList.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <climits>

namespace {
const int kLeftColumnRows = 3;
const int kRadioWidth = 200;
const int kRadioHeight = 20;
const int kScrollBarWidth = 8;
const char kScrollBarStyle[] =
    "QScrollBar:vertical{background:transparent;width:8px;margin:0px;}"
    "QScrollBar::handle:vertical{background:#5A5A5A;min-height:20px;border-radius:4px;}"
    "QScrollBar::add-line:vertical,QScrollBar::sub-line:vertical{height:0px;}"
    "QScrollBar::add-page:vertical,QScrollBar::sub-page:vertical{background:none;}";
} // namespace

DeviceRadioList::DeviceRadioList(QWidget *parent)
    : QWidget(parent)
    , scroll(new QScrollBar(Qt::Vertical, this))
{
    scroll->setStyleSheet(QLatin1String(kScrollBarStyle));
    scroll->setSingleStep(kRowHeight);
    scroll->hide();
    connect(scroll, &QScrollBar::valueChanged, this, &DeviceRadioList::placeRows);
}

QString DeviceRadioList::entryPart(const QString &entry, int part)
{
    const QStringList parts = entry.split(QLatin1Char('|'), Qt::KeepEmptyParts);
    return part < parts.size() ? parts.at(part) : QString();
}

void DeviceRadioList::setDevices(const QMap<int, QString> &list, const QString &checked)
{
    devices = list;
    keys = devices.keys().toVector();
    checkedId = checked;
    radioRows.fill(-1);
    const int checkedRow = keys.indexOf(checked.toInt());
    const bool checkedListed = checkedRow >= 0 && QString::number(keys.at(checkedRow)) == checked;
    keyboardRow = keys.isEmpty() ? -1 : (checkedListed ? checkedRow : 0);
    {
        // Straight to the current device: scrolling through the old list's
        // value on the way would move the keyboard off its row.
        const QSignalBlocker quiet(scroll);
        updateScrollRange();
        scroll->setValue(keyboardRow < 0 ? 0 : scrollValueShowing(keyboardRow, 0));
    }
    placeRows();
}

QPoint DeviceRadioList::rowPosition(int row) const
{
    if (row < kLeftColumnRows)
        return QPoint(20, (row + 1) * kRowHeight);
    return QPoint(232, (row - kLeftColumnRows + 1) * kRowHeight);
}

bool DeviceRadioList::rowInSight(int row) const
{
    const int top = rowPosition(row).y() - scroll->value();
    return top >= 0 && top + kRadioHeight <= height();
}

int DeviceRadioList::scrollValueShowing(int row, int from) const
{
    const int top = rowPosition(row).y();
    int value = from;
    // A row brought into sight keeps a row's room on the side it comes in
    // from, as the first and the last row do.
    if (top < from)
        value = qMax(top - kRowHeight, top + kRadioHeight - height());
    else if (top + kRadioHeight > from + height())
        value = qMin(top, top + kRowHeight - height());
    return qBound(scroll->minimum(), value, scroll->maximum());
}

int DeviceRadioList::rowAfterKey(int key) const
{
    const int last = keys.size() - 1;
    switch (key) {
    case Qt::Key_Up:
        return qMax(0, keyboardRow - 1);
    case Qt::Key_Down:
        return qMin(last, keyboardRow + 1);
    case Qt::Key_Home:
        return 0;
    case Qt::Key_End:
        return last;
    // Only the right column's first rows lie beside the left column's.
    case Qt::Key_Right:
        return keyboardRow < kLeftColumnRows && keyboardRow + kLeftColumnRows <= last ? keyboardRow + kLeftColumnRows
                                                                                       : keyboardRow;
    case Qt::Key_Left:
        return keyboardRow >= kLeftColumnRows && keyboardRow < 2 * kLeftColumnRows ? keyboardRow - kLeftColumnRows
                                                                                    : keyboardRow;
    default:
        return -1;
    }
}

int DeviceRadioList::nearestRowInSight(int row, const QVector<int> &placed) const
{
    const QPoint from = rowPosition(row);
    int nearest = -1;
    int nearestDistance = INT_MAX;
    for (int candidate : placed) {
        const QPoint at = rowPosition(candidate);
        // Between rows as far up or down, the one in the same column wins.
        const int distance = 2 * qAbs(at.y() - from.y()) + (at.x() != from.x() ? 1 : 0);
        if (rowInSight(candidate) && distance < nearestDistance) {
            nearest = candidate;
            nearestDistance = distance;
        }
    }
    return nearest;
}

void DeviceRadioList::updateScrollRange()
{
    // The last row keeps below it the room the first has above it.
    const int bottom = keys.isEmpty() ? 0 : rowPosition(keys.size() - 1).y() + kRowHeight;
    scroll->setRange(0, qMax(0, bottom - height()));
    scroll->setPageStep(height());
    scroll->setGeometry(width() - kScrollBarWidth, 0, kScrollBarWidth, height());
    scroll->setVisible(scroll->maximum() > 0);
}

void DeviceRadioList::placeRows()
{
    const int offset = scroll->value();
    const int top = offset - kRowHeight;
    const int bottom = offset + 2 * height();
    QVector<int> rows;
    for (int row = 0; row < qMin(kLeftColumnRows, keys.size()); ++row) {
        if (rowPosition(row).y() >= top && rowPosition(row).y() < bottom)
            rows.append(row);
    }
    const int firstRight = qMax(kLeftColumnRows, top / kRowHeight + kLeftColumnRows - 1);
    for (int row = firstRight; row < keys.size() && rowPosition(row).y() < bottom; ++row) {
        if (rowPosition(row).y() >= top)
            rows.append(row);
    }
    while (radios.size() < rows.size()) {
        auto *radio = new QRadioButton(this);
        // Checked by the list, which knows every row's state.
        radio->setAutoExclusive(false);
        // The list moves the focus between rows (see eventFilter).
        radio->setFocusPolicy(Qt::ClickFocus);
        radio->installEventFilter(this);
        const int index = radios.size();
        connect(radio, &QRadioButton::clicked, this, [this, index]() { radioClicked(index); });
        radios.append(radio);
        radioRows.append(-1);
    }
    for (int index = 0; index < rows.size(); ++index) {
        QRadioButton *radio = radios.at(index);
        const int row = rows.at(index);
        if (radioRows.at(index) != row) {
            const QString entry = devices.value(keys.at(row));
            radio->setText(entryPart(entry, 0));
            radio->setToolTip(entryPart(entry, 1));
            radioRows[index] = row;
        }
        radio->setChecked(QString::number(keys.at(row)) == checkedId);
        const QPoint at = rowPosition(row);
        radio->setGeometry(at.x(), at.y() - offset, kRadioWidth, kRadioHeight);
        radio->show();
    }
    for (int index = rows.size(); index < radios.size(); ++index)
        radioRows[index] = -1;
    // Scrolled by the wheel or the bar: the keyboard goes along to the
    // nearest row in sight, so the focus never rests on a row out of it.
    if (keyboardRow >= 0 && !rowInSight(keyboardRow)) {
        const int nearest = nearestRowInSight(keyboardRow, rows);
        if (nearest >= 0)
            keyboardRow = nearest;
    }
    QRadioButton *keyboardRadio = setTabStop();
    QWidget *focus = window()->focusWidget();
    if (keyboardRadio && focus != keyboardRadio && isAncestorOf(focus))
        keyboardRadio->setFocus(Qt::OtherFocusReason);
    // Hidden only now: a focused radio hidden earlier would pass the focus on out of the list.
    for (int index = rows.size(); index < radios.size(); ++index)
        radios.at(index)->hide();
    scroll->raise();
}

QRadioButton *DeviceRadioList::setTabStop()
{
    QRadioButton *keyboardRadio = nullptr;
    for (int index = 0; index < radios.size(); ++index) {
        const bool onKeyboardRow = keyboardRow >= 0 && radioRows.at(index) == keyboardRow;
        radios.at(index)->setFocusPolicy(onKeyboardRow ? Qt::StrongFocus : Qt::ClickFocus);
        if (onKeyboardRow)
            keyboardRadio = radios.at(index);
    }
    return keyboardRadio;
}

void DeviceRadioList::moveKeyboardRow(int row)
{
    keyboardRow = row;
    scroll->setValue(scrollValueShowing(row, scroll->value()));
    placeRows();
}

void DeviceRadioList::radioClicked(int index)
{
    const int row = radioRows.value(index, -1);
    if (row < 0)
        return;
    const int key = keys.at(row);
    checkedId = QString::number(key);
    moveKeyboardRow(row);
    emit deviceChosen(key, devices.value(key));
}

bool DeviceRadioList::eventFilter(QObject *watched, QEvent *event)
{
    const int index = radios.indexOf(qobject_cast<QRadioButton *>(watched));
    const int row = index < 0 ? -1 : radioRows.at(index);
    if (row < 0)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        // A click puts the keyboard on the row clicked; the list scrolls
        // only once the click is done, so the press and release meet one row.
        keyboardRow = row;
        setTabStop();
    } else if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const int to = key->modifiers() & ~Qt::KeypadModifier ? -1 : rowAfterKey(key->key());
        if (to >= 0) {
            // A move by keys shows the focus ring, as a move by Tab does.
            window()->setAttribute(Qt::WA_KeyboardFocusChange);
            moveKeyboardRow(to);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DeviceRadioList::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateScrollRange();
    placeRows();
}

void DeviceRadioList::wheelEvent(QWheelEvent *event)
{
    if (scroll->maximum() > 0)
        QCoreApplication::sendEvent(scroll, event);
    else
        event->ignore();
}
