// The sample language files under data/lang/: each gives every text the program reads, in the
// shape the program needs, as UTF-8 that the reader takes for what it is.
#include "settings/Language.h"

#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace testsupport;

namespace {

QString sampleFile(const QString &language)
{
    return QStringLiteral(KIVO_SOURCE_DIR "/data/lang/%1/lang.ini").arg(language);
}

// Every "key=value" line of the file as "section/key", in lower case, so a misspelt key (which
// the program would never read) shows up.
QStringList keysInFile(const QByteArray &bytes)
{
    QStringList keys;
    QString section;
    for (const QByteArray &raw : bytes.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']'))
            section = line.mid(1, line.size() - 2).trimmed();
        else if (!line.isEmpty() && !line.startsWith(u';') && line.contains(u'='))
            keys.append((section + u'/' + line.section(u'=', 0, 0).trimmed()).toLower());
    }
    return keys;
}

QString groupOf(const QString &typeName)
{
    return typeName.section(QStringLiteral(" - "), 0, 0);
}

} // namespace

class tst_SampleLanguages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("closeCaption"); // lang021, with a character outside ASCII
        QTest::addColumn<QString>("lastTypeName"); // type129
        QTest::newRow("de") << QStringLiteral("de") << QStringLiteral("Schließen")
                            << QStringLiteral("Shoot'em Up - [nicht eingeordnet]");
        QTest::newRow("es") << QStringLiteral("es") << QStringLiteral("Cerrar")
                            << QStringLiteral("Matamarcianos - [sin clasificar]");
    }

    // A key the file lacks or misspells silently falls back to English; an empty value does too.
    void everyKeyIsGivenOnce()
    {
        QFETCH_GLOBAL(QString, language);
        const QByteArray bytes = readFile(sampleFile(language));
        QVERIFY(!bytes.isEmpty());
        const ProfileFile file = ProfileFile::fromBytes(bytes);
        QStringList expected;
        for (const LanguageKey &key : languageKeys()) {
            const auto value = file.value(key.section, key.key);
            QVERIFY2(value && !value->isEmpty(), qPrintable(key.section + u'/' + key.key));
            QVERIFY(value->size() <= ProfileFile::kMaxValueLength);
            expected.append((key.section + u'/' + key.key).toLower());
        }
        QCOMPARE(expected.size(), 198);
        const QStringList found = keysInFile(bytes);
        QCOMPARE(QSet<QString>(found.begin(), found.end()).size(), found.size()); // no repeats
        QCOMPARE(found, expected);
    }

    // Read as the program reads it: the file's own texts, decoded as UTF-8, and a translation
    // rather than a copy of the built-in English.
    void readsAsTranslatedUtf8()
    {
        QFETCH_GLOBAL(QString, language);
        QFETCH_GLOBAL(QString, closeCaption);
        QFETCH_GLOBAL(QString, lastTypeName);
        const QByteArray bytes = readFile(sampleFile(language));
        QVERIFY(QString::fromUtf8(bytes).toUtf8() == bytes);
        const LanguageTexts texts = readLanguageFile(ProfileFile::fromBytes(bytes));
        QCOMPARE(texts.language.texts[25], closeCaption);
        QCOMPARE(texts.gameTypes.names[129], lastTypeName);

        const QList<LanguageKey> keys = languageKeys();
        const QStringList read = texts.menuCaptions + texts.language.texts + texts.gameTypes.names;
        QCOMPARE(read.size(), keys.size());
        int translated = 0;
        for (qsizetype i = 0; i < read.size(); ++i) {
            QVERIFY(!read.at(i).isEmpty());
            if (read.at(i) != keys.at(i).defaultText)
                ++translated;
        }
        QVERIFY2(translated >= 150, qPrintable(QString::number(translated)));
    }

    // The types keep "Group - Kind", short enough for a list, and a group keeps one name from
    // its first kind to its "[uncategorized]" one: a line shifted up or down breaks that.
    void typesKeepTheirGroups()
    {
        QFETCH_GLOBAL(QString, language);
        const LanguageTexts texts = readLanguageFile(ProfileFile::load(sampleFile(language)));
        const QStringList english = GameTypeTable::defaults();
        static const QRegularExpression kShape(QStringLiteral("^[^-]+\\S - \\S.*$"));
        for (int i = 0; i < GameTypeTable::kSize; ++i) {
            const QString &name = texts.gameTypes.names[i];
            QVERIFY2(kShape.match(name).hasMatch(), qPrintable(name));
            QVERIFY2(name.size() <= 40, qPrintable(name));
            if (english.at(i).endsWith(u"[uncategorized]"))
                QVERIFY2(name.endsWith(u']'), qPrintable(name));
            if (i > 0 && groupOf(english.at(i)) == groupOf(english.at(i - 1)))
                QCOMPARE(groupOf(name), groupOf(texts.gameTypes.names[i - 1]));
            if (i > 0 && groupOf(english.at(i)) != groupOf(english.at(i - 1)))
                QVERIFY(groupOf(name) != groupOf(texts.gameTypes.names[i - 1]));
        }
        for (const QString &caption : texts.menuCaptions)
            QVERIFY2(caption.size() <= 24, qPrintable(caption));
    }

    // kivo-cli language shows what the program reads.
    void cliAgrees()
    {
        QFETCH_GLOBAL(QString, language);
        const CliRun run = runCli({QStringLiteral("language"), sampleFile(language)});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject json = QJsonDocument::fromJson(run.out).object();
        const LanguageTexts texts = readLanguageFile(ProfileFile::load(sampleFile(language)));
        const QJsonArray types = json[u"GameTypeTable"].toArray();
        QCOMPARE(types.size(), 130);
        for (int i = 0; i < 130; ++i)
            QCOMPARE(types.at(i).toString(), texts.gameTypes.names[i]);
        const QJsonArray menus = json[u"menus"].toArray();
        QCOMPARE(menus.size(), 20);
        QCOMPARE(menus.at(0).toObject()[u"text"].toString(), texts.menuCaptions.first());
    }
};

QTEST_GUILESS_MAIN(tst_SampleLanguages)
#include "tst_sample_languages.moc"
