#pragma once
// The devices to choose from, as styled radio rows: the first three in the
// left column, the rest below each other in the right one. A device answer
// may list a hundred thousand devices, so radios are made only for the rows
// in sight (and a page below) and are handed to other rows as the list
// scrolls: the window thread never makes a widget per device.
// The keyboard is on a row, not on a radio: the arrows, Home and End move it,
// the list scrolls it into sight and the radio showing it takes the focus.
// The list is one stop for Tab, on that row.

#include <QList>
#include <QMap>
#include <QString>
#include <QVector>
#include <QWidget>

class QRadioButton;
class QScrollBar;

class DeviceRadioList : public QWidget
{
    Q_OBJECT

public:
    static const int kRowHeight = 37;

    explicit DeviceRadioList(QWidget *parent = nullptr);

    // Replaces the list; the device whose id is checkedId shows checked, in
    // sight, and the keyboard starts on its row.
    void setDevices(const QMap<int, QString> &devices, const QString &checkedId);
    int deviceCount() const { return keys.size(); }
    // Its value is how far the list is scrolled, in pixels.
    QScrollBar *scrollBar() const { return scroll; }

    // One field of a device entry "name|id-text": 0 the radio's text, 1 its tool tip.
    static QString entryPart(const QString &entry, int part);

signals:
    // The user chose a device: its key and its entry.
    void deviceChosen(int key, const QString &entry);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    QPoint rowPosition(int row) const;
    bool rowInSight(int row) const;
    // The scroll value nearest to from at which row lies wholly in sight.
    int scrollValueShowing(int row, int from) const;
    // The row a navigation key moves the keyboard to, -1 for a key the list leaves alone.
    int rowAfterKey(int key) const;
    // Of the rows placed, the one in sight nearest to row; -1 for none.
    int nearestRowInSight(int row, const QVector<int> &placed) const;
    void updateScrollRange();
    // Hands the radios to the rows from a row above the sight to a page below
    // it, and keeps the keyboard's row in sight with the focus on its radio.
    void placeRows();
    // Tab stops in the list only at the radio showing the keyboard's row,
    // which it returns (null when no radio shows that row).
    QRadioButton *setTabStop();
    // Puts the keyboard on row and scrolls it wholly into sight.
    void moveKeyboardRow(int row);
    void radioClicked(int radio);

    QScrollBar *scroll;
    QMap<int, QString> devices;
    QVector<int> keys;
    QString checkedId;
    QList<QRadioButton *> radios;
    // The row each radio shows, -1 for none.
    QVector<int> radioRows;
    // The row the keyboard is on, -1 while the list is empty.
    int keyboardRow = -1;
};
