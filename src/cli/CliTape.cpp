// tape: the block listing of a tape image.
#include "cli/CliSupport.h"

int cmdTape(const QStringList &)
{
    return usageError(QStringLiteral("tape is not available yet"));
}
