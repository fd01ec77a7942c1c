#pragma once

#include "gui/LatestInstance.h"

#include <QWidget>

// The account panel at the left of the title bar.
class AvatorForm : public QWidget, public LatestInstance<AvatorForm>
{
    Q_OBJECT

public:
    explicit AvatorForm(QWidget *parent = nullptr);
    ~AvatorForm() override;
};
