// tape: the block listing of a tape image, row for row as the tape viewer shows it.
#include "cli/CliSupport.h"

#include "tape/TapeListing.h"
#include "tape/TapeReader.h"

#include <QFileInfo>

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

} // namespace

int cmdTape(const QStringList &arguments)
{
    if (arguments.size() != 1)
        return usageError(QStringLiteral("tape needs one tape image: tape FILE"));
    const QString path = arguments.first();
    // The viewer is only ever opened on a file that was found, so the reader doesn't look.
    if (!QFileInfo(path).isFile()) {
        printMessage(
            Message{QStringLiteral("Cannot open %1").arg(path), QStringLiteral("kivo-cli")});
        return kExitFailure;
    }

    TapeIndex tape;
    const auto message = ReadTapeImage(tape, path);
    if (message)
        printMessage(*message);

    Json rows = Json::array();
    for (const TapeRow &row : ListTapeBlocks(tape)) {
        rows.push_back(Json{{"block", utf8(row.block)},
                            {"description", utf8(row.description)},
                            {"size", utf8(row.size)},
                            {"colour", colourName(row.colour)}});
    }
    printJson(rows);
    return message ? kExitFailure : kExitOk;
}
