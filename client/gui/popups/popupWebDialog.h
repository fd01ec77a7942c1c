#pragma once

#include "gui/LatestInstance.h"

#include <QDialog>
#include <QPoint>

class QLabel;
class QPushButton;
class webPopupForm;

struct Ui_popupWebDialog
{
    webPopupForm *webWidget = nullptr;
    QWidget *bgWidget = nullptr;
    QLabel *lb_loading = nullptr;
    QPushButton *closeBtn = nullptr;
    QLabel *lb_logo = nullptr;
    QLabel *lb_title = nullptr;

    void setupUi(QDialog *dialog);
};

// A draggable popup that stays on top and carries one page (the outside
// accounts' login pages), with a logo, a title and a loading picture.
class popupWebDialog : public QDialog, public LatestInstance<popupWebDialog>
{
    Q_OBJECT

public:
    explicit popupWebDialog(QWidget *parent = nullptr);
    ~popupWebDialog() override;

    void showPage(const QString &logoImage, const QString &title, const QString &url);
    webPopupForm *pageForm() const;
    Ui_popupWebDialog *form() const { return ui; }
    // Closing (the close button, Escape, a login) also releases the page.
    void done(int result) override;

public slots:
    void on_closeBtn_clicked();
    void getLoadFinished(bool ok);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    Ui_popupWebDialog *ui = nullptr;
    QPoint dragOffset;
    bool dragging = false;
};
