#pragma once

#include <QString>

// The three kinds of catalogue the import wizard reads, in the order of its first page.
enum class ImportKind { Sgd, Own, Pocket };

// The files of a kind: SGD data files and our own catalogues are .dat, pocket files .kvl.
inline QString importPattern(ImportKind kind)
{
    return kind == ImportKind::Pocket ? QStringLiteral("*.kvl") : QStringLiteral("*.dat");
}
