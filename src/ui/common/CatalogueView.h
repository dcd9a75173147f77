#pragma once

#include <QString>

// What the commands and dialogs ask of the main window after they changed the shared state. The
// main window is the one implementation; tests of a dialog can pass their own.
class CatalogueView
{
public:
    virtual ~CatalogueView() = default;

    // Rebuilds the list from the catalogue.
    virtual void RefillGameList() = 0;
    // Redraws the selected entry's details without changing the selection.
    virtual void lstClick() = 0;
    // Lays the panes out again for the view options.
    virtual void ArrangePanes() = 0;
    // Nothing selected: the details and the screenshots emptied.
    virtual void clearSelection() = 0;
    // The Run With menu follows the emulator list.
    virtual void RebuildEmulatorMenu() = 0;
    // How many rows the list shows.
    virtual int listedRows() const = 0;
    // The entry in `slot` was edited in place: its row is drawn again.
    virtual void entryChanged(int slot) = 0;
    // A passing note in the status bar.
    virtual void showStatus(const QString &text) = 0;
};
