#include "ui/properties/NamedControls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QPushButton *namedButton(QWidget *parent, const char *name)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QLineEdit *namedLineEdit(QWidget *parent, const char *name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QLabel *namedLabel(QWidget *parent, const char *name, QWidget *buddy)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(buddy);
    return label;
}
