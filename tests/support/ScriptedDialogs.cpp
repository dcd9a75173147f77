#include "ScriptedDialogs.h"

Dialogs::Answer ScriptedDialogs::show(QWidget *, const Message &message)
{
    requests.append({Kind::Show, message, {}, {}, {}, {}});
    if (message.buttons == MessageButtons::Ok)
        return Answer::Ok;
    if (answers.isEmpty()) {
        ++unexpected;
        return message.buttons == MessageButtons::YesNoCancel ? Answer::Cancel : Answer::No;
    }
    return answers.dequeue();
}

QString ScriptedDialogs::inputBox(QWidget *, const QString &prompt, const QString &title,
                                  const QString &proposed)
{
    requests.append({Kind::InputBox, {}, prompt, title, {}, proposed});
    if (texts.isEmpty()) {
        ++unexpected;
        return {};
    }
    return texts.dequeue();
}

QString ScriptedDialogs::openFile(QWidget *, const FileRequest &request)
{
    requests.append({Kind::OpenFile, {}, {}, request.title, request, {}});
    if (files.isEmpty()) {
        ++unexpected;
        return {};
    }
    return files.dequeue();
}

QString ScriptedDialogs::saveFile(QWidget *, const FileRequest &request)
{
    requests.append({Kind::SaveFile, {}, {}, request.title, request, {}});
    if (files.isEmpty()) {
        ++unexpected;
        return {};
    }
    return files.dequeue();
}

QString ScriptedDialogs::chooseDirectory(QWidget *, const QString &title, const QString &start)
{
    requests.append({Kind::ChooseDirectory, {}, {}, title, {}, start});
    if (files.isEmpty()) {
        ++unexpected;
        return {};
    }
    return files.dequeue();
}

QList<Message> ScriptedDialogs::messages() const
{
    QList<Message> shown;
    for (const Request &request : requests) {
        if (request.kind == Kind::Show)
            shown.append(request.message);
    }
    return shown;
}

QList<ScriptedDialogs::Request> ScriptedDialogs::requestsOf(Kind kind) const
{
    QList<Request> out;
    for (const Request &request : requests) {
        if (request.kind == kind)
            out.append(request);
    }
    return out;
}
