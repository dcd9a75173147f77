#pragma once

#include "core/Message.h"

// What reading one file into the catalogue did.
struct ImportResult
{
    bool ok = true;    // false: the file could not be read and the catalogue was not touched
    int added = 0;     // entries appended
    int skipped = 0;   // damaged data lines or nameless records left out
    Messages messages; // to show the user, in order

    // A file that could not be opened or read: nothing was imported from it.
    static ImportResult unreadable(const QString &path, const QString &reason)
    {
        ImportResult result;
        result.ok = false;
        result.messages.append(Message::critical(QStringLiteral("Unable to read the file.") +
                                                     kCrLf + path + kCrLf + reason,
                                                 QStringLiteral("Can't Import")));
        return result;
    }
};
