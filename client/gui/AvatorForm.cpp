#include "gui/AvatorForm.h"

AvatorForm::AvatorForm(QWidget *parent)
    : QWidget(parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("AvatorForm"));
    resize(210, 75);
}

AvatorForm::~AvatorForm()
{
}
