// dump and write: the .dat file as JSON and back, streamed both ways, so a catalogue of any size
// goes through without its JSON or the catalogue itself ever being whole in memory.
#include "cli/CliSupport.h"
#include "cli/JsonEventReader.h"

#include "core/DatFile.h"

#include <array>
#include <cstring>

namespace {

// The catalogue as printJson would lay it out, written entry by entry:
// {"slots", "entries": [...], "RomPaths", "ScreenshotPaths", "MusicPaths"}.
class CatalogueWriter
{
public:
    explicit CatalogueWriter(int slots)
    {
        std::string &out = m_out.text();
        out += "{\n  \"slots\": ";
        out += std::to_string(slots);
        out += ",\n  \"entries\": [";
    }

    void entry(int slot, const RomRecord &record)
    {
        std::string &out = m_out.text();
        out += m_entries++ == 0 ? "\n    {\n" : ",\n    {\n";
        number("slot", slot);
        text("RomName", record.RomName);
        number("RomType", record.RomType);
        text("Screenshots", record.Screenshots);
        number("Year", record.Year);
        text("Notes", record.Notes);
        text("RomFile", record.RomFile);
        text("Publisher", record.Publisher);
        text("Authors", record.Authors);
        text("AudioFile", record.AudioFile, "\n    }");
        m_out.madeItem();
    }

    void finish(const SearchPaths &paths, const Json &extra = Json::object())
    {
        std::string &out = m_out.text();
        out += m_entries == 0 ? "]" : "\n  ]";
        list("RomPaths", paths[PathKind::Rom].usedDirs());
        list("ScreenshotPaths", paths[PathKind::Screenshot].usedDirs());
        list("MusicPaths", paths[PathKind::Music].usedDirs());
        for (const auto &[key, value] : extra.items()) {
            out += ",\n  ";
            out += Json(key).dump();
            out += ": ";
            // Indented as printJson would, one level in.
            std::string text = value.dump(2, ' ', false, Json::error_handler_t::replace);
            for (std::size_t at = text.find('\n'); at != std::string::npos;
                 at = text.find('\n', at + 3))
                text.insert(at + 1, "  ");
            out += text;
        }
        out += "\n}\n";
    }

private:
    void name(const char *key)
    {
        std::string &out = m_out.text();
        out += "      \"";
        out += key;
        out += "\": ";
    }
    void number(const char *key, qint32 value)
    {
        name(key);
        m_out.text() += std::to_string(value);
        m_out.text() += ",\n";
    }
    void text(const char *key, const QString &value, const char *after = ",\n")
    {
        name(key);
        appendJsonString(m_out.text(), value);
        m_out.text() += after;
    }
    void list(const char *key, const QStringList &items)
    {
        std::string &out = m_out.text();
        out += ",\n  \"";
        out += key;
        out += "\": [";
        for (qsizetype i = 0; i < items.size(); ++i) {
            out += i == 0 ? "\n    " : ",\n    ";
            appendJsonString(out, items.at(i));
        }
        out += items.isEmpty() ? "]" : "\n  ]";
    }

    StreamedOutput m_out;
    int m_entries = 0;
};

// The entries list of write's input, each object handed to `sink` as a record. Unknown keys
// and values of the wrong kind are ignored (the field stays empty), as are items that are not
// objects; of a key given twice, the last counts. False when the input is not the document
// write takes or the sink stopped; `badInput` tells which.
class EntriesReader
{
public:
    explicit EntriesReader(JsonEventReader &in)
        : m_in(in)
    {
    }

    bool read(const EntrySink &sink, bool &badInput)
    {
        badInput = true;
        if (m_in.next() != JsonEventReader::Event::ObjectStart)
            return false;
        bool seenEntries = false;
        for (;;) {
            const JsonEventReader::Event event = m_in.next();
            if (event == JsonEventReader::Event::ObjectEnd)
                break;
            if (event != JsonEventReader::Event::Key)
                return false;
            if (m_in.text() != "entries") {
                if (!m_in.skipValue(m_in.next()))
                    return false;
                continue;
            }
            // Entries already saved cannot be taken back, so a second list is refused.
            if (seenEntries || m_in.next() != JsonEventReader::Event::ArrayStart)
                return false;
            seenEntries = true;
            bool sinkStopped = false;
            if (!entries(sink, sinkStopped)) {
                badInput = !sinkStopped;
                return false;
            }
        }
        badInput = !seenEntries || m_in.next() != JsonEventReader::Event::End;
        return !badInput;
    }

private:
    bool entries(const EntrySink &sink, bool &sinkStopped)
    {
        for (;;) {
            const JsonEventReader::Event event = m_in.next();
            if (event == JsonEventReader::Event::ArrayEnd)
                return true;
            if (event != JsonEventReader::Event::ObjectStart) {
                if (!m_in.skipValue(event))
                    return false;
                continue;
            }
            RomRecord record;
            if (!fields(record))
                return false;
            if (!sink(record)) {
                sinkStopped = true;
                return false;
            }
        }
    }

    bool fields(RomRecord &record)
    {
        for (;;) {
            const JsonEventReader::Event event = m_in.next();
            if (event == JsonEventReader::Event::ObjectEnd)
                return true;
            if (event != JsonEventReader::Event::Key)
                return false;
            QString *text = textField(record, m_in.text());
            qint32 *number = numberField(record, m_in.text());
            const JsonEventReader::Event value = m_in.next();
            if (text != nullptr)
                *text = value == JsonEventReader::Event::String ? fromUtf8(m_in.text()) : QString();
            if (number != nullptr)
                *number = value == JsonEventReader::Event::Integer ? m_in.integer32() : 0;
            if (!m_in.skipValue(value))
                return false;
        }
    }

    static QString *textField(RomRecord &record, const std::string &key)
    {
        const std::array<std::pair<const char *, QString *>, 7> fields = {{
            {"RomName", &record.RomName},
            {"Screenshots", &record.Screenshots},
            {"Notes", &record.Notes},
            {"RomFile", &record.RomFile},
            {"Publisher", &record.Publisher},
            {"Authors", &record.Authors},
            {"AudioFile", &record.AudioFile},
        }};
        for (const auto &[name, field] : fields) {
            if (key == name)
                return field;
        }
        return nullptr;
    }
    static qint32 *numberField(RomRecord &record, const std::string &key)
    {
        return key == "RomType" ? &record.RomType : key == "Year" ? &record.Year : nullptr;
    }

    JsonEventReader &m_in;
};

} // namespace

void printCatalogue(const RomDatabase &database, const SearchPaths &paths, const Json &extra)
{
    CatalogueWriter out(database.slotCount());
    for (int slot = 0; slot < database.slotCount(); ++slot) {
        if (database.Get(slot).isEntry())
            out.entry(slot, database.Get(slot));
    }
    out.finish(paths, extra);
}

int cmdDump(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return usageError(QStringLiteral("dump needs a .dat file"));
    QStringList files{arguments.first()};
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) != u"--merge" || i + 1 >= arguments.size())
            return usageError(QStringLiteral("dump FILE.dat [--merge OTHER.dat]..."));
        files.append(arguments.at(++i));
    }

    // A first pass counts the entries, which come first in the output; it also refuses a file
    // before anything is printed.
    qint64 entries = 0;
    for (const QString &file : std::as_const(files)) {
        const DatResult counted = countDatabaseEntries(file);
        if (!counted.ok) {
            printMessages(counted.messages);
            return kExitFailure;
        }
        entries += counted.entriesRead;
    }

    SearchPaths paths;
    CatalogueWriter out(int(entries + 1));
    int slot = 0;
    bool ok = true;
    for (qsizetype i = 0; i < files.size() && ok; ++i) {
        const DatResult result =
            readDatabaseEntries(files.at(i), paths, i == 0 ? DatReading::Load : DatReading::Merge,
                                [&](const RomRecord &record) { out.entry(slot++, record); });
        printMessages(result.messages);
        ok = result.ok;
    }
    out.finish(paths);
    return ok ? kExitOk : kExitFailure;
}

int cmdWrite(const QStringList &arguments)
{
    if (arguments.size() != 1)
        return usageError(QStringLiteral("write FILE.dat (the JSON comes on stdin)"));
    JsonEventReader in(stdin);
    EntriesReader entries(in);
    bool badInput = false;
    const DatResult result = SaveDatabaseEntries(
        arguments.first(), [&](const EntrySink &sink) { return entries.read(sink, badInput); });
    if (!result.ok && badInput)
        return usageError(QStringLiteral("stdin must hold a JSON object with an \"entries\" list"));
    printMessages(result.messages);
    return result.ok ? kExitOk : kExitFailure;
}
