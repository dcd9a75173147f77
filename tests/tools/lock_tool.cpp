// Opens a catalogue as a Kivo window does, holding its lock until it is killed, so a test can
// leave a lock behind a process that is gone.
//   lock_tool PATH
// Prints "locked" once the lock is held; exit status 1 when another holds it, 2: usage.
#include "core/CatalogueBinding.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    QCoreApplication app(argc, argv); // the lock names the program holding it
    CatalogueBinding binding;
    if (binding.bind(QString::fromLocal8Bit(argv[1])) != CatalogueBinding::Bind::Locked)
        return 1;
    std::puts("locked");
    std::fflush(stdout);
    for (;;)
        pause();
}
