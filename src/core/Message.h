#pragma once

#include <QList>
#include <QString>

// What an operation wants to tell the user. Core code returns these; windows show them and the
// command-line tool prints them.
enum class MessageIcon { None, Critical, Exclamation, Information, Question };
enum class MessageButtons { Ok, YesNo, YesNoCancel };

inline const QString kApplicationTitle = QStringLiteral("Kivo");
inline const QString kCrLf = QStringLiteral("\r\n");

struct Message
{
    QString text;
    QString title = kApplicationTitle;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;

    // An error: critical icon, OK button.
    static Message critical(const QString &text, const QString &title)
    {
        return Message{text, title, MessageIcon::Critical, MessageButtons::Ok};
    }

    friend bool operator==(const Message &, const Message &) = default;
};

using Messages = QList<Message>;
