#include "core/SpectrumMachine.h"

namespace {

struct MachineTexts
{
    const char *name;
    const char *key;
};

constexpr std::array<MachineTexts, kMachineCount> kTexts = {{
    {"16K", "16"},
    {"48K", "48"},
    {"128K", "128"},
    {"+2", "plus2"},
    {"+2A", "plus2a"},
    {"+3", "plus3"},
    {"Pentagon 128", "pentagon"},
    {"Scorpion", "scorpion"},
    {"TC2048", "tc2048"},
    {"TS2068", "ts2068"},
}};

} // namespace

const std::array<SpectrumMachine, kMachineCount> &allMachines()
{
    static const std::array<SpectrumMachine, kMachineCount> machines = [] {
        std::array<SpectrumMachine, kMachineCount> all{};
        for (std::size_t i = 0; i < kMachineCount; ++i)
            all[i] = SpectrumMachine(i);
        return all;
    }();
    return machines;
}

QString machineName(SpectrumMachine machine)
{
    return QString::fromLatin1(kTexts.at(machineIndex(machine)).name);
}

QString machineKey(SpectrumMachine machine)
{
    return QString::fromLatin1(kTexts.at(machineIndex(machine)).key);
}

std::optional<SpectrumMachine> machineFromText(const QString &text)
{
    const QString wanted = text.trimmed();
    for (std::size_t i = 0; i < kMachineCount; ++i) {
        if (wanted.compare(QLatin1String(kTexts[i].name), Qt::CaseInsensitive) == 0 ||
            wanted.compare(QLatin1String(kTexts[i].key), Qt::CaseInsensitive) == 0)
            return SpectrumMachine(i);
    }
    return std::nullopt;
}
