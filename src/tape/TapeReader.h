#pragma once

#include "core/Message.h"
#include "tape/TapeIndex.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

inline const QString kInvalidTzxImage = QStringLiteral("Invalid TZX Image");
inline const QString kUnreadableTape = QStringLiteral("Unable to read the tape image.");

enum class TapeFormat { Unsupported, Tzx, Tap };

// 1 to 4 little-endian bytes as a signed 32-bit value (four bytes of 2^31 or more come out
// negative, as the format's readers have always seen them).
qint32 LittleEndianValue(const char *bytes, int count);
qint32 LittleEndianValue(const QByteArray &bytes);

// Chosen by the last three characters of the name, in lower case: "tzx" or "tap".
TapeFormat tapeFormatOf(const QString &path);

// One block as a walk over an image finds it: its ID (0x10 for every TAP block), where the bytes
// after the ID start (a TAP block's after its length) and where the block ends, past the end of
// the image for a block cut short.
struct TapeBlockSpan
{
    quint8 id = 0x10;
    qsizetype from = 0;
    quint64 end = 0;
};

// Hands the blocks of an image to `visit` in order, without keeping them, until one runs past the
// end or `visit` returns false; a reader that wants one block stops there. The TZX signature is
// not checked: the walk starts after the 10-byte header.
void walkTapeBlocks(const QByteArray &image, TapeFormat format,
                    const std::function<bool(const TapeBlockSpan &)> &visit);

// The pure walks over a whole image in memory; they replace what `tape` held. A TZX image with
// the wrong signature leaves no blocks and returns the message to show.
std::optional<Message> readTzxImage(TapeIndex &tape, const QByteArray &image);
void readTapImage(TapeIndex &tape, const QByteArray &image);

// Empties the index, then reads the file at `path` by its ending. An unsupported ending leaves
// the index empty and says nothing; a bad TZX signature returns "Invalid TZX Image", and a file
// that cannot be read (missing, a directory, a FIFO, a device) says why, for the caller to show.
// An archive (.zip, .gz) is read as its Spectrum member would be, by the member's ending; one
// that cannot be read returns "Unable to read [name]: [reason]".
std::optional<Message> ReadTapeImage(TapeIndex &tape, const QString &path);
