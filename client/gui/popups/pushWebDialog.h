#pragma once

#include <QDialog>

namespace Ui {
class pushWebDialog;
}

// The task push panel: a frameless banner inside the body window that carries
// the task page. The main window places, unfolds and folds it.
class pushWebDialog : public QDialog
{
    Q_OBJECT

public:
    explicit pushWebDialog(QWidget *parent = nullptr);
    ~pushWebDialog() override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    Ui::pushWebDialog *ui = nullptr;
};
