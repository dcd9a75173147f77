#include "cli/CliSupport.h"

#include <QCoreApplication>

#include <iostream>
#include <map>

namespace {

const char *const kHelp = R"(kivo-cli: the Kivo catalogue and tape logic without a window.

Usage:
  kivo-cli dump FILE.dat [--merge OTHER.dat]...
      Load FILE.dat, merge each OTHER.dat into it, print the catalogue as JSON:
      {"slots", "entries": [{"slot", RomName, RomType, Screenshots, Year, Notes,
      RomFile, Publisher, Authors, AudioFile}], "RomPaths", "ScreenshotPaths", "MusicPaths"}.
  kivo-cli write FILE.dat
      Read {"entries": [...]} (the shape dump prints) from stdin and save it as FILE.dat.
  kivo-cli settings FILE.ini [--write OUT.ini]
      Print what the program reads from a settings file; --write writes it back as the
      program would at shutdown.
  kivo-cli language FILE.ini
      Print the menu captions, caption table and game-type table a language file gives.
  kivo-cli tape FILE
      Print the block listing of a TZX or TAP image as JSON. FILE may be a .zip or .gz
      whose Spectrum member is one: it is listed as that member would be.
  kivo-cli members FILE
      Print the members of a .zip or .gz as a JSON array of {"name", "size", "crc32"
      (8 hex digits), "spectrum"}; "spectrum" is true for the member a rom file stands
      for: the first tape, snapshot or disk image in name order.
  kivo-cli render IN.scr OUT.png [--flash 0|1]
      Draw a Spectrum screen (the first 6912 bytes of IN, zero-filled when shorter) as a
      256 x 192 PNG; --flash 1 draws the flashing cells with ink and paper swapped.
  kivo-cli screen FILE OUT
      Save the loading screen of a tape (TAP, TZX) or snapshot (SNA, Z80, SZX): as a
      6912-byte .scr when OUT ends in .scr, else drawn as a 256 x 192 PNG. Prints
      {"source"}: where the screen was found ("tape block N", numbered from 0, or
      "snapshot RAM page N").
  kivo-cli machine FILE
      Print the machine a tape, snapshot or disk image needs and why, as {"machine",
      "why"}: for example "128K" and "the tape's hardware block". FILE may be a .zip or
      .gz holding one. Machines: 16K, 48K, 128K, +2, +2A, +3, Pentagon 128, Scorpion,
      TC2048, TS2068.
  kivo-cli disk FILE
      Print what a TR-DOS disk (.trd) or SCL archive holds, as its directory says:
      {"format", "label", "free", "files": [{"name", "kind", "start", "length", "sectors",
      "deleted"}]}, with a "warning" when an SCL's checksum is wrong or it is cut short.
      FILE may be a .zip or .gz holding one.
  kivo-cli export FILE.dat OUT.kvl
      Load FILE.dat and write it as a pocket catalogue (.kvl).
  kivo-cli import sgd|dat|kvl DIR [--file NAME]... [--overwrite] [--into FILE.dat]
      Import files of DIR as the import wizard's Done does: SGD data files, Kivo
      catalogues or pocket catalogues; without --file every file the wizard lists.
      Merge into FILE.dat (or an empty catalogue), or replace it with --overwrite;
      print the result as dump does, and "Import: N entries added, M skipped" on stderr.
  kivo-cli import sgd|dat|kvl DIR --list
      Print the wizard's list of files for DIR as a JSON array of "name [count]".
  kivo-cli scan DIR [--flat] [--dat FILE]... [--into FILE.dat] [--screens DIR]
      Scan Folder: every tape, snapshot and disk under DIR (--flat: DIR alone), and every
      archive holding one, as a new entry named from its DAT game (Logiqx XML or ClrMamePro,
      matched by size and CRC-32), its TZX archive info or its TOSEC file name; parts of one
      program make one entry. Merge into FILE.dat (created when missing) and save it; --screens keeps
      loading screens as NAME.scr in DIR. Print the result as dump does, with the folders
      that gave entries as RomPaths, plus "skipped": {inCatalogue, copies, clashes,
      unreadable, clashPaths}; "Scan Folder: N entries added, ..." on stderr.
  kivo-cli command --ini FILE.ini FILE [--emulator N] [--machine NAME]
      Print what Run would start for the rom file FILE, found in its own folder, with
      the emulators of FILE.ini: {"program", "arguments", "workingDirectory", "machine",
      "why", "emulator"}; --emulator N as Run With emulator N, --machine NAME (48K, 128K,
      +3 ...) as Run As. An archive's member is named where the run cache would put it.
      A message Run would show goes to stderr, and the exit status is 1.
  kivo-cli library FILE.dat [--import OTHER.dat]
      Print what FILE.dat's library (FILE.kivolib beside it) remembers, as a JSON array of
      {"key", "keyKind" ("romFile" or "name"), "favourite", "tags", "plays", "lastPlayed"
      (ISO 8601 UTC, null when never played), "seconds", "emulator", "machine",
      "arguments"}, ordered by key. --import first merges OTHER.dat's library into it:
      rows it lacks are added, plays and play time add up, favourites and tags are united.
  kivo-cli dat FILE
      Read a DAT file (Logiqx XML or ClrMamePro text, told apart by its contents) and print
      {"name", "version", "convention" ("Tosec", "TitlePublisher" or "NoIntro"), "games",
      "roms"}: the header, how its games are named, the games and roms that have a size and
      CRC-32. A file that is no DAT says why and where, and the exit status is 1.
  kivo-cli identify FILE... [--dat DAT]... [--ini kivo.ini]
      Match each FILE by size and CRC-32 (a .zip or .gz by its Spectrum member's, as the
      archive stores them) against the DATs given and those kivo.ini keeps, and print a
      JSON array of {"file", "size", "crc32", "title", "year", "publisher", "authors",
      "game", "dat"}: what the DAT names it, null where it does not. A DAT that cannot be
      read is reported, and the exit status is 1.
  kivo-cli duplicates FILE.dat --ini kivo.ini
      Find each entry's rom file through kivo.ini's rom paths and print {"groups": [{"size",
      "crc32", "entries": [{"slot", "RomName", "RomFile", "path"}]}], "notFound": [{"slot",
      "RomFile"}]}: the entries whose files have the same size and CRC-32, and those whose
      file is in no rom path.

Messages go to stderr as "Title: text". Exit status: 0 done, 1 rejected input or failed
write, 2 usage error.
)";

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty())
        return usageError(QStringLiteral("no subcommand given"));
    const QString name = arguments.takeFirst();
    if (name == u"--help" || name == u"-h" || name == u"help") {
        std::cout << kHelp;
        return kExitOk;
    }
    static const std::map<QString, Subcommand> kSubcommands = {
        {QStringLiteral("dump"), cmdDump},         {QStringLiteral("write"), cmdWrite},
        {QStringLiteral("settings"), cmdSettings}, {QStringLiteral("language"), cmdLanguage},
        {QStringLiteral("tape"), cmdTape},         {QStringLiteral("render"), cmdRender},
        {QStringLiteral("export"), cmdExport},     {QStringLiteral("import"), cmdImport},
        {QStringLiteral("screen"), cmdScreen},     {QStringLiteral("scan"), cmdScan},
        {QStringLiteral("members"), cmdMembers},   {QStringLiteral("machine"), cmdMachine},
        {QStringLiteral("disk"), cmdDisk},         {QStringLiteral("command"), cmdCommand},
        {QStringLiteral("library"), cmdLibrary},   {QStringLiteral("dat"), cmdDat},
        {QStringLiteral("identify"), cmdIdentify}, {QStringLiteral("duplicates"), cmdDuplicates},
    };
    const auto it = kSubcommands.find(name);
    if (it == kSubcommands.end())
        return usageError(QStringLiteral("unknown subcommand '%1'").arg(name));
    return it->second(arguments);
}
