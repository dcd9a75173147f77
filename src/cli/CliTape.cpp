// tape: the block listing of a tape image, row for row as the tape viewer shows it.
#include "cli/CliSupport.h"

#include "tape/TapeListing.h"
#include "tape/TapeReader.h"

#include <cstdio>

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
    RowWriter() { m_out.reserve(kFlushSize + 4096); }
    ~RowWriter()
    {
        m_out += m_rows == 0 ? "[]\n" : "\n]\n";
        flush();
    }
    RowWriter(const RowWriter &) = delete;
    RowWriter &operator=(const RowWriter &) = delete;

    void write(const TapeRow &row)
    {
        m_out += m_rows++ == 0 ? "[\n" : ",\n";
        m_out += "  {\n";
        field("block", row.block);
        field("description", row.description);
        field("size", row.size);
        m_out += "    \"colour\": \"";
        m_out += colourName(row.colour);
        m_out += "\"\n  }";
        if (m_out.size() >= kFlushSize)
            flush();
    }

private:
    static constexpr std::size_t kFlushSize = 1 << 16;

    void field(const char *name, const QString &value)
    {
        m_out += "    \"";
        m_out += name;
        m_out += "\": ";
        appendJsonString(m_out, value);
        m_out += ",\n";
    }
    void flush()
    {
        std::fwrite(m_out.data(), 1, m_out.size(), stdout);
        m_out.clear();
    }

    std::string m_out;
    qsizetype m_rows = 0;
};

} // namespace

int cmdTape(const QStringList &arguments)
{
    if (arguments.size() != 1)
        return usageError(QStringLiteral("tape needs one tape image: tape FILE"));
    const QString path = arguments.first();
    RowWriter out; // a rejected file lists as []
    if (tapeFormatOf(path) == TapeFormat::Unsupported) {
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
