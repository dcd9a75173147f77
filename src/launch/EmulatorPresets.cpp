#include "launch/EmulatorPresets.h"

#include "core/PathText.h"

namespace {

// Each emulator loads a file named after its options by its ending (tape, snapshot or disk)
// and, for a snapshot, switches to the snapshot's own machine. The machine options are those
// the emulators' manual pages and --help list; an empty place is a machine the emulator cannot
// be told to start in.
struct PresetText
{
    const char *name;
    QStringList executables;
    const char *arguments;
    std::array<const char *, kMachineCount> machines; // in allMachines() order
};

QList<EmulatorPreset> buildPresets()
{
    // Fuse: fuse(1), "--machine type". 2048 is the TC2048; 2068 would be the TC2068.
    // ZEsarUX: "--machine id" of its --help; the +2A and +3 with the 4.1 ROMs, no Scorpion.
    // rustzx: "--machine" takes 48k or 128k only.
    const QList<PresetText> texts = {
        {"Fuse",
         {QStringLiteral("fuse"), QStringLiteral("fuse-sdl"), QStringLiteral("fuse-gtk")},
         "{machine} {file}",
         {"--machine 16", "--machine 48", "--machine 128", "--machine plus2", "--machine plus2a",
          "--machine plus3", "--machine pentagon", "--machine scorpion", "--machine 2048",
          "--machine ts2068"}},
        {"ZEsarUX",
         {QStringLiteral("zesarux")},
         "{machine} {file}",
         {"--machine 16k", "--machine 48k", "--machine 128k", "--machine P2", "--machine P2A41",
          "--machine P341", "--machine Pentagon", "", "--machine TC2048", "--machine TS2068"}},
        {"rustzx",
         {QStringLiteral("rustzx")},
         "{machine} {file}",
         {"", "--machine 48k", "--machine 128k", "", "", "", "", "", "", ""}},
    };
    QList<EmulatorPreset> presets;
    for (const PresetText &text : texts) {
        EmulatorPreset preset{QString::fromLatin1(text.name), text.executables, {}};
        preset.profile.arguments = QString::fromLatin1(text.arguments);
        for (std::size_t i = 0; i < kMachineCount; ++i)
            preset.profile.machineArguments[i] = QString::fromLatin1(text.machines[i]);
        presets.append(preset);
    }
    return presets;
}

} // namespace

const QList<EmulatorPreset> &emulatorPresets()
{
    static const QList<EmulatorPreset> presets = buildPresets();
    return presets;
}

const EmulatorPreset *presetFor(const QString &path)
{
    QString name = fileNamePart(path).toLower();
    if (name.endsWith(QStringLiteral(".exe")))
        name.chop(4);
    for (const EmulatorPreset &preset : emulatorPresets()) {
        if (preset.executables.contains(name))
            return &preset;
    }
    return nullptr;
}
