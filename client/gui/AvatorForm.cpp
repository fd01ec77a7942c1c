#include "gui/AvatorForm.h"

AvatorForm *AvatorForm::self = nullptr;

AvatorForm::AvatorForm(QWidget *parent)
    : QWidget(parent)
{
    self = this;
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("AvatorForm"));
    resize(210, 75);
}

AvatorForm::~AvatorForm()
{
    if (self == this)
        self = nullptr;
}

AvatorForm *AvatorForm::instance()
{
    return self;
}
