#pragma once

#include "core/Message.h"

#include <QString>

class QWidget;

// Every message box, question, input box and file chooser the windows show goes through here,
// so tests can answer them from a script and check the exact texts asked.
class Dialogs
{
public:
    enum class Answer { Ok, Yes, No, Cancel };

    struct FileRequest
    {
        QString title;
        QString filter; // Windows form: "description|pattern|..."
        QString proposedName;
        QString defaultSuffix;
        int selectedFilter = 0; // the description and pattern pair shown first, from 0
        // Where the dialog opens when the proposed name has no directory; when this is empty
        // too, the directory of the last file chosen.
        QString directory = {};
    };

    virtual ~Dialogs() = default;

    // A message (OK) or a question (Yes/No, Yes/No/Cancel), as the message's buttons say. A
    // Yes/No question is answered by its buttons only: Escape and the close button do nothing.
    virtual Answer show(QWidget *parent, const Message &message) = 0;
    // The text typed, or the empty text when the box is cancelled.
    virtual QString inputBox(QWidget *parent, const QString &prompt, const QString &title,
                             const QString &proposed) = 0;
    // The chosen path, or the empty text when the dialog is cancelled. A proposed name with a
    // directory opens the dialog in that directory.
    virtual QString openFile(QWidget *parent, const FileRequest &request) = 0;
    virtual QString saveFile(QWidget *parent, const FileRequest &request) = 0;
    virtual QString chooseDirectory(QWidget *parent, const QString &title,
                                    const QString &start) = 0;
};

class QtDialogs : public Dialogs
{
public:
    Answer show(QWidget *parent, const Message &message) override;
    QString inputBox(QWidget *parent, const QString &prompt, const QString &title,
                     const QString &proposed) override;
    QString openFile(QWidget *parent, const FileRequest &request) override;
    QString saveFile(QWidget *parent, const FileRequest &request) override;
    QString chooseDirectory(QWidget *parent, const QString &title, const QString &start) override;

private:
    QString runFileDialog(QWidget *parent, const FileRequest &request, bool save);

    QString m_lastDirectory; // of the last file or directory chosen
};
