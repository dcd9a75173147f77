#pragma once

#include <QList>

class CatalogueView;
class QWidget;
class frmTags;
struct AppState;

// Roms > Favourite and Roms > Tags...: what the library beside the catalogue remembers of the
// selected entries. A change the library cannot record is said in the status bar; the entries
// themselves never change.
class LibraryCommands
{
public:
    LibraryCommands(AppState &state, CatalogueView &view, QWidget *parent);

    bool allFavourite(const QList<int> &slots) const;
    // Favourite for every entry of `slots` when any is not one; otherwise none is.
    void toggleFavourite(const QList<int> &slots);
    // The Tags dialog over the entries of `slots`, modal; OK keeps what it says.
    void editTags(const QList<int> &slots);
    void applyTags(const QList<int> &slots, const frmTags &dialog);

private:
    void changed(const QList<int> &slots, bool recorded, const QString &why);

    AppState &m_state;
    CatalogueView &m_view;
    QWidget *m_parent;
};
