#pragma once

#include <QWidget>

// The account panel at the left of the title bar.
class AvatorForm : public QWidget
{
    Q_OBJECT

public:
    explicit AvatorForm(QWidget *parent = nullptr);
    ~AvatorForm() override;
    static AvatorForm *instance();

private:
    static AvatorForm *self;
};
