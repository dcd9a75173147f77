#include "ui/main/LibraryCommands.h"

#include "state/AppState.h"
#include "ui/common/CatalogueView.h"
#include "ui/library/frmTags.h"

LibraryCommands::LibraryCommands(AppState &state, CatalogueView &view, QWidget *parent)
    : m_state(state)
    , m_view(view)
    , m_parent(parent)
{
}

bool LibraryCommands::allFavourite(const QList<int> &slots) const
{
    for (const int slot : slots) {
        if (!m_state.library.row(LibraryKey::of(m_state.database.Get(slot))).favourite)
            return false;
    }
    return !slots.isEmpty();
}

void LibraryCommands::toggleFavourite(const QList<int> &slots)
{
    const bool favourite = !allFavourite(slots);
    QString why;
    bool recorded = true;
    for (const int slot : slots) {
        const LibraryWrite written =
            m_state.library.setFavourite(LibraryKey::of(m_state.database.Get(slot)), favourite);
        if (!written.ok) {
            recorded = false;
            why = written.message.text;
            break;
        }
    }
    changed(slots, recorded, why);
}

void LibraryCommands::editTags(const QList<int> &slots)
{
    if (slots.isEmpty())
        return;
    QList<QStringList> tags;
    for (const int slot : slots)
        tags.append(m_state.library.row(LibraryKey::of(m_state.database.Get(slot))).tags);
    frmTags dialog(m_state.library.allTags(), tags, m_parent);
    if (dialog.exec() == QDialog::Accepted)
        applyTags(slots, dialog);
}

void LibraryCommands::applyTags(const QList<int> &slots, const frmTags &dialog)
{
    QString why;
    bool recorded = true;
    for (const int slot : slots) {
        const LibraryKey key = LibraryKey::of(m_state.database.Get(slot));
        const QStringList before = m_state.library.row(key).tags;
        const QStringList after = dialog.tagsAfter(before);
        if (after == before)
            continue;
        const LibraryWrite written = m_state.library.setTags(key, after);
        if (!written.ok) {
            recorded = false;
            why = written.message.text;
            break;
        }
    }
    changed(slots, recorded, why);
}

void LibraryCommands::changed(const QList<int> &slots, bool recorded, const QString &why)
{
    for (const int slot : slots)
        m_view.entryChanged(slot);
    m_view.lstClick();
    if (!recorded)
        m_view.showStatus(why);
}
