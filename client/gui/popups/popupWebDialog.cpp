#include "gui/popups/popupWebDialog.h"

#include "gui/FormWidgets.h"
#include "gui/web/webPopupForm.h"

#include <QLabel>
#include <QMouseEvent>
#include <QMovie>
#include <QPushButton>

void Ui_popupWebDialog::setupUi(QDialog *dialog)
{
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(QStringLiteral("popupWebDialog"));
    dialog->resize(800, 600);
    dialog->setStyleSheet(QStringLiteral("#popupWebDialog{background:#E626282F;}"));
    dialog->setWindowTitle(QStringLiteral("Dialog"));
    webWidget = placeWidget<webPopupForm>(dialog, "webWidget", 0, 40, 800, 560);
    bgWidget = placeWidget<QWidget>(webWidget, "bgWidget", -10, 0, 880, 560,
                                    QStringLiteral("background-color: rgb(0, 0, 0);"));
    lb_loading = placeWidget<QLabel>(bgWidget, "lb_loading", 280, 180, 250, 188);
    closeBtn = placeWidget<QPushButton>(dialog, "closeBtn", 773, 13, 14, 14,
                                        QStringLiteral("#closeBtn{border-image:url(:/res/res/pup_close_normal.png);}"
                                                       "#closeBtn:hover{border-image:url(:/res/res/pup_close_hover.png);}"
                                                       "#closeBtn:pressed{border-image:url(:/res/res/pup_close_pressed.png);}"));
    lb_logo = placeWidget<QLabel>(dialog, "lb_logo", 10, 10, 20, 20);
    lb_title = placeWidget<QLabel>(dialog, "lb_title", 40, 8, 200, 20,
                                   QStringLiteral("#lb_title{background: transparent;font-family:'Microsoft YaHei';"
                                                  "font-size:14px;color:#CCCCCC;}"));
}

popupWebDialog::popupWebDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui_popupWebDialog)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    ui->setupUi(this);
    QMetaObject::connectSlotsByName(this);
}

popupWebDialog::~popupWebDialog()
{
    delete ui;
}

webPopupForm *popupWebDialog::pageForm() const
{
    return ui->webWidget;
}

void popupWebDialog::showPage(const QString &logoImage, const QString &title, const QString &url)
{
    ui->lb_logo->setStyleSheet(QStringLiteral("#lb_logo{border-image: url(%1);}").arg(logoImage));
    ui->lb_title->setText(title);
    auto *movie = new QMovie(QStringLiteral(":/res/res/loading.gif"), QByteArray(), ui->lb_loading);
    ui->lb_loading->setMovie(movie);
    movie->start();
    ui->lb_loading->show();
    // The popup's own page form: a form built after it would otherwise be taken.
    ui->webWidget->createView(url);
    connect(ui->webWidget, &webPopupForm::sendLoadFinished, this, &popupWebDialog::getLoadFinished,
            Qt::UniqueConnection);
}

void popupWebDialog::getLoadFinished(bool)
{
    ui->lb_loading->close();
}

void popupWebDialog::done(int result)
{
    // A closed popup is never shown again; its page would go on running hidden.
    ui->webWidget->releaseView();
    QDialog::done(result);
}

void popupWebDialog::on_closeBtn_clicked()
{
    close();
}

void popupWebDialog::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        dragging = true;
        dragOffset = event->globalPos() - pos();
    }
    event->accept();
}

void popupWebDialog::mouseMoveEvent(QMouseEvent *event)
{
    if (dragging && event->buttons() != Qt::NoButton)
        move(event->globalPos() - dragOffset);
    event->accept();
}

void popupWebDialog::mouseReleaseEvent(QMouseEvent *event)
{
    dragging = false;
    activateWindow();
    event->accept();
}
