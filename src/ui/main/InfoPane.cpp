#include "ui/main/InfoPane.h"

#include "core/Message.h"

#include <QPlainTextEdit>

InfoPane::InfoPane(QWidget *parent)
    : QWidget(parent)
    , txtInfo(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("picInfoPane"));
    txtInfo->setObjectName(QStringLiteral("txtInfo"));
    txtInfo->setReadOnly(true);
}

void InfoPane::setText(const QString &text)
{
    m_text = text;
    txtInfo->setPlainText(QString(text).replace(kCrLf, QStringLiteral("\n")));
}

void InfoPane::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    txtInfo->setGeometry(rect());
}
