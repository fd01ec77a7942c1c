#include "gui/popups/DeviceRadioList.h"

#include <QCoreApplication>
#include <QRadioButton>
#include <QScrollBar>
#include <QWheelEvent>

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
    updateScrollRange();
    scroll->setValue(0);
    placeRows();
}

QPoint DeviceRadioList::rowPosition(int row) const
{
    if (row < kLeftColumnRows)
        return QPoint(20, (row + 1) * kRowHeight);
    return QPoint(232, (row - kLeftColumnRows + 1) * kRowHeight);
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
        const int index = radios.size();
        connect(radio, &QRadioButton::clicked, this, [this, index]() { radioClicked(index); });
        radios.append(radio);
        radioRows.append(-1);
    }
    for (int index = 0; index < radios.size(); ++index) {
        QRadioButton *radio = radios.at(index);
        if (index >= rows.size()) {
            radio->hide();
            radioRows[index] = -1;
            continue;
        }
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
    scroll->raise();
}

void DeviceRadioList::radioClicked(int index)
{
    const int row = radioRows.value(index, -1);
    if (row < 0)
        return;
    const int key = keys.at(row);
    checkedId = QString::number(key);
    placeRows();
    emit deviceChosen(key, devices.value(key));
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
