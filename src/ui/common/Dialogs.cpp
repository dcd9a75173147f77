#include "ui/common/Dialogs.h"

#include "core/FileFilter.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString displayText(const QString &text)
{
    return QString(text).replace(kCrLf, QStringLiteral("\n"));
}

QString runFileDialog(QWidget *parent, const Dialogs::FileRequest &request,
                      QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    if (!request.filter.isEmpty()) {
        dialog.setNameFilter(toQtFilter(request.filter));
        const QStringList filters = dialog.nameFilters();
        if (request.selectedFilter > 0 && request.selectedFilter < filters.size())
            dialog.selectNameFilter(filters.at(request.selectedFilter));
    }
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace

Dialogs::Answer QtDialogs::show(QWidget *parent, const Message &message)
{
    QMessageBox box(toQtIcon(message.icon), message.title, displayText(message.text),
                    QMessageBox::NoButton, parent);
    switch (message.buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return message.buttons == MessageButtons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

QString QtDialogs::inputBox(QWidget *parent, const QString &prompt, const QString &title,
                            const QString &proposed)
{
    bool accepted = false;
    const QString text =
        QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, proposed, &accepted);
    return accepted ? text : QString();
}

QString QtDialogs::openFile(QWidget *parent, const FileRequest &request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

QString QtDialogs::saveFile(QWidget *parent, const FileRequest &request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptSave);
}

QString QtDialogs::chooseDirectory(QWidget *parent, const QString &title, const QString &start)
{
    return QFileDialog::getExistingDirectory(parent, title, start);
}
