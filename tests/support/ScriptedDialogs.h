#pragma once

#include "ui/common/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QString>

// Answers the program's dialogs from queues and records every request, so tests can check the
// exact texts, titles, icons, buttons, filters and proposed names. An empty queue answers as a
// cancelled dialog would (Cancel, No or the empty text) and counts as unexpected.
class ScriptedDialogs : public Dialogs
{
public:
    enum class Kind { Show, InputBox, OpenFile, SaveFile, ChooseDirectory };

    struct Request
    {
        Kind kind;
        Message message;  // Show
        QString prompt;   // InputBox
        QString title;    // InputBox, file and directory choosers
        FileRequest file; // OpenFile, SaveFile
        QString proposed; // InputBox proposed text, ChooseDirectory start
    };

    QQueue<Answer> answers; // for Show with Yes/No buttons
    QQueue<QString> texts;  // for InputBox
    QQueue<QString> files;  // for OpenFile, SaveFile, ChooseDirectory
    QList<Request> requests;
    int unexpected = 0;

    Answer show(QWidget *parent, const Message &message) override;
    QString inputBox(QWidget *parent, const QString &prompt, const QString &title,
                     const QString &proposed) override;
    QString openFile(QWidget *parent, const FileRequest &request) override;
    QString saveFile(QWidget *parent, const FileRequest &request) override;
    QString chooseDirectory(QWidget *parent, const QString &title, const QString &start) override;

    // The messages shown, in order (questions included).
    QList<Message> messages() const;
    QList<Request> requestsOf(Kind kind) const;
};
