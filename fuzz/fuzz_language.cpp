// lang.ini: the profile file read from bytes and from a file, the menu captions, captions and
// game-type names the language load takes from it, and the same texts written and read back.

#include "FuzzSupport.h"

#include "settings/Language.h"

namespace {

QStringList allTexts(const LanguageTexts &texts)
{
    return texts.menuCaptions + texts.language.texts + texts.gameTypes.names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = kivofuzz::bytesOf(data, size);

    ProfileFile file;
    LanguageTexts texts;
    const qint64 peak = kivofuzz::peakHeap([&] {
        file = ProfileFile::fromBytes(bytes);
        texts = readLanguageFile(file);
    });
    // Every line is kept as text for writing back; the tables themselves are a few kilobytes.
    kivofuzz::checkHeap(peak, bytes.size(), 96, 256 << 10, "readLanguageFile");

    // One text per key, never empty, each what the file gives or else the default.
    const QList<LanguageKey> keys = languageKeys();
    const QStringList read = allTexts(texts);
    FUZZ_CHECK(texts.menuCaptions.size() == menuCaptionKeys().size());
    FUZZ_CHECK(texts.language.texts.size() == LanguageTable::kSize);
    FUZZ_CHECK(texts.gameTypes.names.size() == GameTypeTable::kSize);
    FUZZ_CHECK(read.size() == keys.size());
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString &text = read.at(i);
        FUZZ_CHECK(!text.isEmpty());
        FUZZ_CHECK(text.size() <= ProfileFile::kMaxValueLength);
        const QString value = file.read(keys.at(i).section, keys.at(i).key, QString());
        FUZZ_CHECK(text == (value.isEmpty() ? keys.at(i).defaultText : value));
    }
    FUZZ_CHECK(texts.gameTypes.nameOf(0) == texts.gameTypes.names.first());
    FUZZ_CHECK(!texts.gameTypes.nameOf(GameTypeTable::kSize).isEmpty());
    FUZZ_CHECK(!texts.gameTypes.nameOf(-1).isEmpty());

    // The file reader reads the same.
    const QString path = kivofuzz::writeScratchFile(QStringLiteral("lang.ini"), bytes);
    FUZZ_CHECK(allTexts(readLanguageFile(ProfileFile::load(path))) == read);

    // Writing keeps every line as it was read: the file written reads back to the same file.
    const QByteArray written = file.toBytes();
    FUZZ_CHECK(ProfileFile::fromBytes(written).toBytes() == written);

    // Whatever a value holds (quotes, backquotes, blanks at either end, line breaks), writing it
    // and reading it back gives it again, in a new file and over the lines of the old one.
    ProfileFile fresh;
    ProfileFile rewritten = file;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        fresh.write(keys.at(i).section, keys.at(i).key, read.at(i));
        rewritten.write(keys.at(i).section, keys.at(i).key, read.at(i));
    }
    FUZZ_CHECK(allTexts(readLanguageFile(ProfileFile::fromBytes(fresh.toBytes()))) == read);
    FUZZ_CHECK(allTexts(readLanguageFile(rewritten)) == read);
    FUZZ_CHECK(allTexts(readLanguageFile(ProfileFile::fromBytes(rewritten.toBytes()))) == read);
    return 0;
}
