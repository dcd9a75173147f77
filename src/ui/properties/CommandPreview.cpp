#include "ui/properties/CommandPreview.h"

#include "launch/Launcher.h"
#include "launch/RunCache.h"
#include "state/AppState.h"
#include "state/EntryRun.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QString kRunStarts = QStringLiteral("Run starts:");
const QString kNoRomFile = QStringLiteral("Nothing: the entry has no rom file.");

} // namespace

CommandPreview::CommandPreview(AppState &state, QWidget *parent)
    : QWidget(parent)
    , m_state(state)
{
    setObjectName(QStringLiteral("commandPreview"));
    lblCommand = new QLabel(kRunStarts, this);
    lblCommand->setObjectName(QStringLiteral("lblCommand"));
    txtCommand = new QPlainTextEdit(this);
    txtCommand->setObjectName(QStringLiteral("txtCommand"));
    txtCommand->setReadOnly(true);
    txtCommand->setTabChangesFocus(true);
    txtCommand->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtCommand->setFixedHeight(txtCommand->fontMetrics().lineSpacing() * 4 + 12);
    lblCommand->setBuddy(txtCommand);
    cmdCopyCommand = new QPushButton(QStringLiteral("Cop&y"), this);
    cmdCopyCommand->setObjectName(QStringLiteral("cmdCopyCommand"));
    cmdCopyCommand->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(lblCommand, 0, 0, 1, 2);
    grid->addWidget(txtCommand, 1, 0);
    grid->addWidget(cmdCopyCommand, 1, 1, Qt::AlignTop);
    grid->setColumnStretch(0, 1);

    connect(cmdCopyCommand, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(text()); });
}

void CommandPreview::showFor(const RomRecord &record)
{
    showFor(record, m_state.library.row(LibraryKey::of(record)).run);
}

void CommandPreview::showFor(const RomRecord &record, const EntryRunChoice &own)
{
    const Launch launch = planRun(record, m_state.emulators, entryRunChoice(own, m_state.emulators),
                                  m_state.paths, m_state.machines);
    QString shown;
    switch (launch.action) {
    case Launch::Action::Nothing:
        shown = kNoRomFile;
        break;
    case Launch::Action::Show:
        shown = launch.message.text;
        break;
    case Launch::Action::Start:
        shown = commandText(previewCommand(launch, RunCache(RunCache::standardDirectory())));
        break;
    }
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtCommand->setPlainText(shown);
    cmdCopyCommand->setEnabled(launch.action == Launch::Action::Start);
}

QString CommandPreview::text() const
{
    return txtCommand->toPlainText();
}
