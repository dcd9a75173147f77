#include "settings/LanguageTable.h"

QStringList LanguageTable::defaults()
{
    QStringList texts;
    for (int i = 0; i < kSize; ++i)
        texts.append(QString());
    return texts;
}

QStringList GameTypeTable::defaults()
{
    QStringList names;
    for (int i = 0; i < kSize; ++i)
        names.append(QString());
    return names;
}

QString GameTypeTable::nameOf(qint32 type) const
{
    if (type >= 0 && type < names.size())
        return names.at(type);
    return QStringLiteral("Unknown type ") + QString::number(type);
}
