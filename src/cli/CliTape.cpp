// tape: the block listing of a tape image, row for row as the tape viewer shows it.
#include "cli/CliSupport.h"

#include "archive/Archive.h"
#include "archive/RomFile.h"
#include "tape/TapeListing.h"
#include "tape/TapeReader.h"

namespace {

const char *colourName(TapeRow::Colour colour)
{
    switch (colour) {
    case TapeRow::Colour::Black:
        return "black";
    case TapeRow::Colour::Blue:
        return "blue";
    case TapeRow::Colour::Default:
        break;
    }
    return "default";
}

// Rows are written as they are made, in the layout printJson gives a whole array, so a tape of
// millions of blocks never holds its JSON in memory.
class RowWriter
{
public:
    RowWriter() = default;
    ~RowWriter() { m_out.text() += m_rows == 0 ? "[]\n" : "\n]\n"; }
    RowWriter(const RowWriter &) = delete;
    RowWriter &operator=(const RowWriter &) = delete;

    void write(const TapeRow &row)
    {
        std::string &out = m_out.text();
        out += m_rows++ == 0 ? "[\n" : ",\n";
        out += "  {\n";
        field("block", row.block);
        field("description", row.description);
        field("size", row.size);
        out += "    \"colour\": \"";
        out += colourName(row.colour);
        out += "\"\n  }";
        m_out.madeItem();
    }

private:
    void field(const char *name, const QString &value)
    {
        std::string &out = m_out.text();
        out += "    \"";
        out += name;
        out += "\": ";
        appendJsonString(out, value);
        out += ",\n";
    }

    StreamedOutput m_out;
    qsizetype m_rows = 0;
};

} // namespace

int cmdTape(const QStringList &arguments)
{
    if (arguments.size() != 1)
        return usageError(QStringLiteral("tape needs one tape image: tape FILE"));
    const QString path = arguments.first();
    RowWriter out; // a rejected file lists as []
    // An archive is taken by its member's ending; one that cannot be read is left to the reader,
    // which says why.
    const QString kindName = Archive::isArchiveName(path) ? romFileKindName(path) : path;
    if (!kindName.isEmpty() && tapeFormatOf(kindName) == TapeFormat::Unsupported) {
        printMessage(Message{QStringLiteral("%1 is not a tape image (TZX or TAP).").arg(path),
                             QStringLiteral("kivo-cli")});
        return kExitFailure;
    }
    TapeIndex tape;
    const auto message = ReadTapeImage(tape, path);
    if (message)
        printMessage(*message);
    TapeListing::forEachRow(tape, [&](const TapeRow &row) { out.write(row); });
    return message ? kExitFailure : kExitOk;
}
