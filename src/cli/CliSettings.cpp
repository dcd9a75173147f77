// settings and language: what the program reads from kivo.ini and lang.ini.
#include "cli/CliSupport.h"

int cmdSettings(const QStringList &)
{
    return usageError(QStringLiteral("settings is not available yet"));
}

int cmdLanguage(const QStringList &)
{
    return usageError(QStringLiteral("language is not available yet"));
}
