// machine: the machine a rom file needs, and why, as the details pane says it.
#include "cli/CliSupport.h"

#include "tape/MachineReader.h"

int cmdMachine(const QStringList &arguments)
{
    if (arguments.size() != 1 || arguments[0].startsWith(u"--"))
        return usageError(QStringLiteral("machine needs one rom file: machine FILE"));
    const QString &path = arguments[0];
    const MachineFile file = readMachineFile(path);
    if (!file.ok) {
        printMessage(Message{QStringLiteral("Cannot read %1: %2").arg(path, file.reason),
                             QStringLiteral("kivo-cli")});
        return kExitFailure;
    }
    printJson(Json{{"machine", utf8(machineName(file.reading.machine))},
                   {"why", utf8(file.reading.why)}});
    return kExitOk;
}
