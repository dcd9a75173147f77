// The emulator and music-player dialogs, the Run With menu and starting programs.
#include "ui/frmMain.h"

#include <QMenu>

void frmMain::RebuildEmulatorMenu()
{
    emuname[0]->setText(QStringLiteral("<none>"));
    emuname[0]->setEnabled(false);
    emuname[0]->setVisible(true);
    for (int place = 1; place < emuname.size(); ++place) {
        emuname[place]->setEnabled(false);
        emuname[place]->setVisible(false);
    }
}

void frmMain::RunEntry(int emulator)
{
    Q_UNUSED(emulator);
}

void frmMain::PlayEntryMusic() {}

void frmMain::mnuEmus_Click(int index)
{
    Q_UNUSED(index);
}
