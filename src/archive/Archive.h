#pragma once

#include "archive/ArchiveMember.h"

#include <QString>

#include <optional>

// Reading zipped tapes and snapshots: .zip through libzip, a .gz of one file through zlib. Every
// caller goes through these functions, never through a format directly.
//
// Archives come from the internet. Before anything is inflated, a member is refused when it is
// encrypted, declares more than kMaxMemberSize, or declares more than kMaxRatio times its
// compressed size; while inflating, no more than the declared size is ever held, and a member
// that turns out longer, shorter or with another CRC than declared is refused.
namespace Archive {

constexpr qint64 kMaxMemberSize = 64 * 1024 * 1024;
constexpr qint64 kMaxRatio = 1000;

inline const QString kUnableToRead = QStringLiteral("Unable to read %1: %2");
// The reasons; %1 is the member's base name.
inline const QString kEncrypted = QStringLiteral("%1 is encrypted");
inline const QString kTooLarge = QStringLiteral("%1 is larger than 64 MB");
inline const QString kTooCompressed = QStringLiteral("%1 is compressed more than 1000 : 1");
inline const QString kWrongSize = QStringLiteral("%1 is not the size the archive gives");
inline const QString kCrcMismatch = QStringLiteral("%1 fails its CRC check");
inline const QString kNoSpectrumFile = QStringLiteral("it holds no tape, snapshot or disk image");
inline const QString kNotAnArchive = QStringLiteral("it is not a zip or gz archive");

// "x.zip" or "x.gz", in any case.
bool isArchiveName(const QString &name);
// A tape, snapshot or disk the emulators load: tap tzx z80 sna szx dsk trd scl, in any case.
bool isSpectrumName(const QString &name);

// The members the archive's directory declares (for a .gz: its one file; see GzipFormat.h).
ArchiveListing listMembers(const QString &path);
ArchiveListing listMembers(const ArchiveSource &source);

// The member a Spectrum emulator is given: the first one, in name order (letter case ignored,
// then heeded), whose name has a Spectrum ending. None: the archive is not a rom file.
std::optional<ArchiveMember> spectrumMember(const QList<ArchiveMember> &members);

// Why `member` is refused before it is inflated; empty when it may be read.
QString refusal(const ArchiveMember &member);

// The inflated bytes of `member`, one of listMembers(source).
MemberBytes readMember(const ArchiveSource &source, const ArchiveMember &member);
// Only its first `count` bytes, for a reader that looks at a file's head: nothing further is
// inflated. The same refusals come first; a member no longer than `count` is read whole, with
// every check, and one that ends before its declared size is refused.
MemberBytes readMemberHead(const ArchiveSource &source, const ArchiveMember &member, qint64 count);

// The last part of a member's name, which is all of it we ever use to name a file: no
// directory, no "..", nothing absolute. Empty when nothing usable is left.
QString baseName(const QString &memberName);

// "Unable to read [name]: [reason]", with the archive's file name.
QString unableToRead(const QString &archivePath, const QString &reason);

} // namespace Archive
