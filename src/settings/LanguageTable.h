#pragma once

#include <QString>
#include <QStringList>

// The 48 translatable captions the dialogs copy into their controls, indexed 0..47.
struct LanguageTable
{
    static constexpr int kSize = 48;
    QStringList texts = defaults();

    const QString &at(int index) const { return texts.at(index); }
    static QStringList defaults();
    // The key of entry `index` in the language file's section kSection.
    static QString keyOf(int index);
    static const QString kSection;
};

// The 130 game-type names a record's RomType indexes. The order and number are part of the
// catalogue's data; a language file may only rename them.
struct GameTypeTable
{
    static constexpr int kSize = 130;
    QStringList names = defaults();

    // The name of `type`, or "Unknown type" and the number for a type outside the table
    // (imported data can hold one).
    QString nameOf(qint32 type) const;
    static QStringList defaults();
    // "type000" to "type129" in the language file's section kSection.
    static QString keyOf(int index);
    static const QString kSection;
};
