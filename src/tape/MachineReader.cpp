#include "tape/MachineReader.h"

#include "archive/RomFile.h"
#include "core/PathText.h"
#include "tape/TapeReader.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include <array>
#include <optional>

namespace {

using Machine = SpectrumMachine;

const QString kWhyHardwareByte = QStringLiteral("the snapshot's hardware byte");
const QString kWhyVersion1 = QStringLiteral("a version 1 Z80 snapshot");
const QString kWhyMachineId = QStringLiteral("the snapshot's machine id");
const QString kWhySnaSize = QStringLiteral("the snapshot's size");
const QString kWhyPlus3Disk = QStringLiteral("a +3 disk");
const QString kWhyTrDosDisk = QStringLiteral("a TR-DOS disk");
const QString kWhyHardwareBlock = QStringLiteral("the tape's hardware block");
const QString kWhyFileName = QStringLiteral("the file name");
const QString kWhyNoSign = QStringLiteral("no sign of another machine");

MachineReading fromSnapshot(Machine machine, const QString &why)
{
    return {machine, why, true};
}

MachineReading fromFile(Machine machine, const QString &why)
{
    return {machine, why, false};
}

quint8 byteAt(const QByteArray &bytes, qsizetype at)
{
    return quint8(bytes.at(at));
}

// --- Z80: a 30-byte header; PC 0 at bytes 6-7 says an extra header follows, its length first.
constexpr qsizetype kZ80Header = 30;
constexpr qsizetype kZ80HardwareByte = 34;
constexpr qsizetype kZ80ModifyByte = 37;
constexpr quint8 kZ80ModifyBit = 0x80;
constexpr quint8 kZ80Ts2068 = 128;

// Hardware byte values whose meaning both versions share, from 7 up.
constexpr std::array<Machine, 9> kZ80Shared = {
    Machine::Plus3,    Machine::Plus3,      Machine::Pentagon128, // 7, 8, 9
    Machine::Scorpion, Machine::Spectrum48,                       // 10, 11: Didaktik Kompakt
    Machine::Plus2,    Machine::Plus2A,     Machine::TC2048,      // 12, 13, 14
    Machine::TS2068,                                              // 15: TC2068, nearest
};

// Interfaces (IF1, M.G.T.) leave the machine as it is, and a SamRam runs what a 48K runs. Values
// 3 to 6 moved in version 3, which put 48K + M.G.T. at 3.
std::optional<Machine> z80Hardware(int version, quint8 value)
{
    switch (value) {
    case 0:
    case 1:
    case 2:
        return Machine::Spectrum48;
    case 3:
        return version == 2 ? Machine::Spectrum128 : Machine::Spectrum48;
    case 4:
        return Machine::Spectrum128;
    case 5:
    case 6:
        return version == 3 ? std::optional(Machine::Spectrum128) : std::nullopt;
    case kZ80Ts2068:
        return Machine::TS2068;
    default:
        if (value >= 7 && value - 7 < int(kZ80Shared.size()))
            return kZ80Shared[value - 7];
        return std::nullopt;
    }
}

// Bit 7 of byte 37 names the smaller or later model of the same family.
Machine z80Modified(Machine machine)
{
    switch (machine) {
    case Machine::Spectrum48:
        return Machine::Spectrum16;
    case Machine::Spectrum128:
        return Machine::Plus2;
    case Machine::Plus3:
        return Machine::Plus2A;
    default:
        return machine;
    }
}

std::optional<MachineReading> z80Machine(const QByteArray &head)
{
    if (head.size() < kZ80Header)
        return std::nullopt;
    if (head.at(6) != 0 || head.at(7) != 0)
        return fromSnapshot(Machine::Spectrum48, kWhyVersion1);
    if (head.size() < kZ80Header + 2)
        return std::nullopt;
    const int extra = byteAt(head, kZ80Header) | byteAt(head, kZ80Header + 1) << 8;
    const int version = extra == 23 ? 2 : extra == 54 || extra == 55 ? 3 : 0;
    if (version == 0 || head.size() < kZ80Header + 2 + extra)
        return std::nullopt;
    const std::optional<Machine> machine = z80Hardware(version, byteAt(head, kZ80HardwareByte));
    if (!machine)
        return std::nullopt;
    const bool modified = byteAt(head, kZ80ModifyByte) & kZ80ModifyBit;
    return fromSnapshot(modified ? z80Modified(*machine) : *machine, kWhyHardwareByte);
}

// --- SZX: "ZXST", major and minor version, machine id, flags.
constexpr qsizetype kSzxHeader = 8;
constexpr qsizetype kSzxMachineByte = 6;

// By machine id. The +3e is a +3 with another ROM, the SE and the 128Ke 128K machines grown
// further, the larger Pentagons a Pentagon 128 with more memory, the TC2068 nearest the TS2068.
constexpr std::array<Machine, 17> kSzxMachines = {
    Machine::Spectrum16,  Machine::Spectrum48,  Machine::Spectrum128, Machine::Plus2,
    Machine::Plus2A,      Machine::Plus3,       Machine::Plus3,       Machine::Pentagon128,
    Machine::TC2048,      Machine::TS2068,      Machine::Scorpion,    Machine::Spectrum128,
    Machine::TS2068,      Machine::Pentagon128, Machine::Pentagon128, Machine::Spectrum48,
    Machine::Spectrum128,
};

std::optional<MachineReading> szxMachine(const QByteArray &head)
{
    if (head.size() < kSzxHeader || !head.startsWith(QByteArrayLiteral("ZXST")))
        return std::nullopt;
    const quint8 id = byteAt(head, kSzxMachineByte);
    if (id >= kSzxMachines.size())
        return std::nullopt;
    return fromSnapshot(kSzxMachines[id], kWhyMachineId);
}

// --- SNA: a 27-byte header and the 48K image; a 128K file adds 4 bytes and five or six banks.
constexpr qint64 kSna48 = 49179;
constexpr qint64 kSna128 = 131103;
constexpr qint64 kSna128Repeated = 147487;

std::optional<MachineReading> snaMachine(qint64 fileSize)
{
    if (fileSize == kSna48)
        return fromSnapshot(Machine::Spectrum48, kWhySnaSize);
    if (fileSize == kSna128 || fileSize == kSna128Repeated)
        return fromSnapshot(Machine::Spectrum128, kWhySnaSize);
    return std::nullopt;
}

// --- TZX hardware type (0x33): a count, then per entry its type, id and information.
constexpr quint8 kHardwareBlock = 0x33;
constexpr quint8 kComputers = 0x00;
constexpr quint8 kDoesNotRun = 0x03;
constexpr quint8 kSpectrum16 = 0x00;
constexpr quint8 kSpectrum48 = 0x01;
constexpr quint8 kSpectrum48Issue1 = 0x02;

// The computers of the TZX hardware list that we run, by id.
std::optional<Machine> tzxComputer(quint8 id)
{
    switch (id) {
    case 0x03:
    case 0x0E: // the Spanish 128K
        return Machine::Spectrum128;
    case 0x04:
        return Machine::Plus2;
    case 0x05: // +2A and +3 share the id; a tape goes to the one with a tape deck
        return Machine::Plus2A;
    case 0x06:
        return Machine::TC2048;
    case 0x07:
        return Machine::TS2068;
    case 0x08:
        return Machine::Pentagon128;
    case 0x14:
        return Machine::Scorpion;
    default:
        return std::nullopt;
    }
}

// The Spectrum 128 models, and the clones that page their memory as one (Profi, Kay 1024,
// Quorum 128, the two ATMs).
bool is128Class(quint8 id)
{
    switch (id) {
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x08:
    case 0x0E:
    case 0x14:
    case 0x1F:
    case 0x21:
    case 0x25:
    case 0x26:
    case 0x27:
        return true;
    default:
        return false;
    }
}

// What a hardware block at [from, end) of `head` says, when it says that the tape needs more than
// a 48K: that it does not run on one, or that every computer it runs on is a 128K-class model.
std::optional<Machine> hardwareBlockMachine(const QByteArray &head, qsizetype from, qsizetype end)
{
    bool notOn48 = false;
    bool runsOnSome = false;
    bool only128 = true;
    std::optional<Machine> first;
    for (qsizetype at = from; at + 3 <= end; at += 3) {
        if (byteAt(head, at) != kComputers)
            continue;
        const quint8 id = byteAt(head, at + 1);
        const quint8 info = byteAt(head, at + 2);
        if (info == kDoesNotRun) {
            notOn48 = notOn48 || id == kSpectrum48;
            continue;
        }
        if (info > kDoesNotRun)
            continue;
        runsOnSome = true;
        only128 = only128 && is128Class(id);
        const bool small = id == kSpectrum16 || id == kSpectrum48 || id == kSpectrum48Issue1;
        if (!first && !small)
            first = tzxComputer(id);
    }
    if (!notOn48 && !(runsOnSome && only128))
        return std::nullopt;
    return first.value_or(Machine::Spectrum128);
}

std::optional<MachineReading> tzxMachine(const QByteArray &head)
{
    if (!head.startsWith(QByteArrayLiteral("ZXTape!")))
        return std::nullopt;
    std::optional<Machine> machine;
    walkTapeBlocks(head, TapeFormat::Tzx, [&](const TapeBlockSpan &span) {
        if (span.end > quint64(head.size()))
            return false; // cut off by the end of the head: its entries are not all there
        if (span.id != kHardwareBlock)
            return true;
        machine = hardwareBlockMachine(head, span.from, qsizetype(span.end));
        return false;
    });
    if (!machine)
        return std::nullopt;
    return fromFile(*machine, kWhyHardwareBlock);
}

// TOSEC names give the machine in brackets: "Game (1987)(Firm)(128K).tzx".
bool namesTosec128(const QString &name)
{
    const QString last = fileNamePart(name);
    return last.contains(u"(128K)", Qt::CaseInsensitive) ||
           last.contains(u"[128K]", Qt::CaseInsensitive);
}

MachineReading noSign()
{
    return fromFile(Machine::Spectrum48, kWhyNoSign);
}

// A regular file's size and modification time; a size of -1 for anything else. One stat(), with
// the time in UTC: the local time QFileInfo gives costs more than the rest of a cached lookup.
std::pair<qint64, QDateTime> stampOf(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status;
    if (::stat(QFile::encodeName(toFileSystemPath(path)).constData(), &status) != 0 ||
        !S_ISREG(status.st_mode))
        return {-1, QDateTime()};
    const qint64 milliseconds =
        qint64(status.st_mtim.tv_sec) * 1000 + qint64(status.st_mtim.tv_nsec) / 1000000;
    return {qint64(status.st_size), QDateTime::fromMSecsSinceEpoch(milliseconds, Qt::UTC)};
#else
    const QFileInfo info(toFileSystemPath(path));
    return {info.isFile() ? info.size() : -1, info.lastModified()};
#endif
}

} // namespace

MachineReading machineOf(const QByteArray &head, qint64 fileSize, const QString &fileName,
                         const QString &otherName)
{
    const QString kind = lowerExtension(fileNamePart(fileName));
    std::optional<MachineReading> reading;
    if (kind == u"z80")
        reading = z80Machine(head);
    else if (kind == u"szx")
        reading = szxMachine(head);
    else if (kind == u"sna")
        reading = snaMachine(fileSize);
    else if (kind == u"dsk")
        reading = fromFile(Machine::Plus3, kWhyPlus3Disk);
    else if (kind == u"trd" || kind == u"scl")
        reading = fromFile(Machine::Pentagon128, kWhyTrDosDisk);
    else if (kind == u"tzx")
        reading = tzxMachine(head);
    if (reading)
        return *reading;
    if (namesTosec128(fileName) || namesTosec128(otherName))
        return fromFile(Machine::Spectrum128, kWhyFileName);
    return noSign();
}

MachineFile readMachineFile(const QString &path)
{
    const RomFileBytes head = readRomFileHead(path, kMachineHeadBytes);
    if (!head.ok)
        return {false, head.reason, noSign()};
    const QString archiveName = head.archive.isEmpty() ? QString() : fileNamePart(head.archive);
    return {true, QString(), machineOf(head.bytes, head.size, head.name, archiveName)};
}

MachineReading readMachine(const QString &path)
{
    return readMachineFile(path).reading;
}

MachineReading MachineCache::machineOf(const QString &path)
{
    const auto [size, modified] = stampOf(path);
    const auto kept = m_readings.constFind(path);
    if (kept != m_readings.cend() && size >= 0 && kept->size == size && kept->modified == modified)
        return kept->reading;
    const MachineFile file = readMachineFile(path);
    // A file that cannot be read now may be readable when it is next asked for.
    if (file.ok && size >= 0)
        m_readings.insert(path, Cached{size, modified, file.reading});
    else
        m_readings.remove(path);
    return file.reading;
}
