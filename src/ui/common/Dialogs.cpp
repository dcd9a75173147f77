#include "ui/common/Dialogs.h"

#include "core/FileFilter.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>

namespace {

// Room for the name, size and date columns of the file dialog's detail view.
constexpr QSize kLeastFileDialogSize(800, 500);

// QMessageBox makes No the escape button of a Yes/No box, so Escape or the close button would
// answer "No" to a question such as whether to save. Such a box leaves only through a button.
class ButtonsOnlyBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;
    bool buttonsOnly = false;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (buttonsOnly && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override
    {
        if (buttonsOnly) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }
};

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

} // namespace

QString QtDialogs::runFileDialog(QWidget *parent, const FileRequest &request, bool save)
{
    const QFileDialog::AcceptMode mode = save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen;
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
    const QString start = request.directory.isEmpty() ? m_lastDirectory : request.directory;
    if (!start.isEmpty())
        dialog.setDirectory(start);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    dialog.resize(dialog.sizeHint().expandedTo(kLeastFileDialogSize));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString chosen = dialog.selectedFiles().first();
    m_lastDirectory = QFileInfo(chosen).absolutePath();
    return chosen;
}

Dialogs::Answer QtDialogs::show(QWidget *parent, const Message &message)
{
    ButtonsOnlyBox box(toQtIcon(message.icon), message.title, displayText(message.text),
                       QMessageBox::NoButton, parent);
    box.buttonsOnly = message.buttons == MessageButtons::YesNo;
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
    return runFileDialog(parent, request, false);
}

QString QtDialogs::saveFile(QWidget *parent, const FileRequest &request)
{
    return runFileDialog(parent, request, true);
}

QString QtDialogs::chooseDirectory(QWidget *parent, const QString &title, const QString &start)
{
    const QString chosen =
        QFileDialog::getExistingDirectory(parent, title, start.isEmpty() ? m_lastDirectory : start);
    if (!chosen.isEmpty())
        m_lastDirectory = chosen;
    return chosen;
}
