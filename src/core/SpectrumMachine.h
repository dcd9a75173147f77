#pragma once

#include <QString>

#include <array>
#include <optional>

// The machines an entry can be started in. The order is the order every list of machines shows
// (the emulators dialog, Run As) and the index into EmulatorProfile::machineArguments.
enum class SpectrumMachine {
    Spectrum16,
    Spectrum48,
    Spectrum128,
    Plus2,
    Plus2A,
    Plus3,
    Pentagon128,
    Scorpion,
    TC2048,
    TS2068,
};

inline constexpr std::size_t kMachineCount = 10;

// Every machine, in that order.
const std::array<SpectrumMachine, kMachineCount> &allMachines();

// "16K", "48K", "128K", "+2", "+2A", "+3", "Pentagon 128", "Scorpion", "TC2048", "TS2068": what
// the user reads, and what kivo-cli prints.
QString machineName(SpectrumMachine machine);
// "16", "48", "128", "plus2", "plus2a", "plus3", "pentagon", "scorpion", "tc2048", "ts2068": the
// machine's part of a kivo.ini key.
QString machineKey(SpectrumMachine machine);
// The machine a name or a key stands for, without regard to case; nothing for another text.
std::optional<SpectrumMachine> machineFromText(const QString &text);

inline std::size_t machineIndex(SpectrumMachine machine)
{
    return std::size_t(machine);
}
