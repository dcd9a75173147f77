#include "tape/MachineReader.h"

#include "core/PathText.h"

#include <QFile>
#include <QFileInfo>

// Stands in for the reader of the files themselves, with the few rules the launch tests lean
// on: an SNA by its size, a Z80 as a 48K, an SZX by its machine id, a disk by its ending,
// "(128K)" in the name, else a 48K.

namespace {

using M = SpectrumMachine;

constexpr qint64 kSna48Size = 49179;
constexpr qint64 kSna128Sizes[] = {131103, 147487};
constexpr qsizetype kZ80HeaderSize = 30;

std::optional<M> szxMachine(const QByteArray &head)
{
    static const QList<std::pair<int, M>> kIds = {
        {0, M::Spectrum16}, {1, M::Spectrum48}, {2, M::Spectrum128}, {3, M::Plus2},
        {4, M::Plus2A},     {5, M::Plus3},      {7, M::Pentagon128}, {8, M::TC2048},
        {10, M::Scorpion},  {12, M::TS2068},
    };
    if (head.size() < 8 || !head.startsWith("ZXST"))
        return std::nullopt;
    for (const auto &[id, machine] : kIds) {
        if (quint8(head.at(6)) == id)
            return machine;
    }
    return M::Spectrum48;
}

} // namespace

MachineReading machineOf(const QByteArray &head, qint64 fileSize, const QString &fileName,
                         const QString &otherName)
{
    MachineReading reading;
    const QString kind = lowerExtension(fileName);
    if (kind == u"sna") {
        reading.fromSnapshot = fileSize == kSna48Size;
        for (const qint64 size : kSna128Sizes) {
            if (fileSize == size) {
                reading.machine = M::Spectrum128;
                reading.fromSnapshot = true;
            }
        }
    } else if (kind == u"z80") {
        reading.fromSnapshot = head.size() >= kZ80HeaderSize;
    } else if (kind == u"szx") {
        if (const std::optional<M> machine = szxMachine(head)) {
            reading.machine = *machine;
            reading.fromSnapshot = true;
        }
    }
    if (reading.fromSnapshot)
        return reading;
    if (kind == u"dsk") {
        reading.machine = M::Plus3;
        return reading;
    }
    if (kind == u"trd" || kind == u"scl") {
        reading.machine = M::Pentagon128;
        return reading;
    }
    for (const QString &name : {fileName, otherName}) {
        if (name.contains(QStringLiteral("(128K)"), Qt::CaseInsensitive) ||
            name.contains(QStringLiteral("[128K]"), Qt::CaseInsensitive))
            reading.machine = M::Spectrum128;
    }
    return reading;
}

MachineReading readMachine(const QString &path)
{
    QFile file(toFileSystemPath(path));
    const QByteArray head =
        file.open(QIODevice::ReadOnly) ? file.read(kMachineHeadBytes) : QByteArray();
    return machineOf(head, file.size(), QFileInfo(file).fileName());
}

MachineReading MachineCache::machineOf(const QString &path)
{
    return readMachine(path);
}
