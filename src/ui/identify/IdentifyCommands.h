#pragma once

#include "scan/Identify.h"

#include <QList>

#include <functional>
#include <optional>

class CatalogueView;
class Dialogs;
class QWidget;
class frmDatFiles;
class frmDuplicates;
struct AppState;

inline const QString kIdentifyTitle = QStringLiteral("Identify");
inline const QString kIdentifyingText = QStringLiteral("Identifying %1 entries...");
inline const QString kIdentifiedText = QStringLiteral("%1 of %2 entries identified");
inline const QString kDuplicatesTitle = QStringLiteral("Find Duplicates");
inline const QString kComparingText = QStringLiteral("Comparing the files of %1 entries...");
inline const QString kNoDuplicatesText =
    QStringLiteral("No two entries have files of the same size and CRC-32.");
inline const QString kNoDatFilesText =
    QStringLiteral("No DAT files are kept to identify entries with. Add some in Misc > DAT Files.");

// Roms > Identify, Roms > Find Duplicates and Misc > DAT Files, and the identification of
// entries as they come in (dropped, or added with Add Rom). The entries' rom files are found
// through the rom paths and matched by size and CRC-32 on a worker thread, with a progress
// dialog and Cancel; the window keeps painting, and only fields left empty are filled.
class IdentifyCommands
{
public:
    using Remover = std::function<void(const QList<int> &slots)>;

    // `remove` takes away entries the user ticks in the duplicates list, asking first.
    IdentifyCommands(AppState &state, Dialogs &dialogs, CatalogueView &view, Remover remove,
                     QWidget *parent);

    // The entries of `slots`, every entry when it is empty; says "N of M entries identified".
    void identify(QList<int> slots);
    // The entries from `firstSlot` on, just added; quiet when no DAT file is kept.
    void identifyNew(int firstSlot);
    // Lists the entries whose files are the same, grouped, to remove the extra ones.
    void findDuplicates();
    // Compares every entry's file and keeps the groups in lastResult(); false, having said so,
    // when there are none (or the user cancelled).
    bool compareFiles();
    // Removes the entries ticked in `dialog` (asking first).
    void applyDuplicates(const frmDuplicates &dialog);
    void editDatFiles();
    void applyDatFiles(const frmDatFiles &dialog);

    // How the last run ended: matches and duplicate groups; nullopt when cancelled.
    const std::optional<IdentifyResult> &lastResult() const { return m_last; }

private:
    // Runs the files of `slots` against `withDats` on a worker thread under a progress dialog.
    std::optional<IdentifyResult> run(const QList<int> &slots, bool withDats, const QString &label);
    // Identifies `slots` and says how many were; `tellNone`: also when none was.
    void identifySlots(const QList<int> &slots, bool tellNone);
    // Fills the empty fields of the matched entries; returns how many were matched.
    int apply(const IdentifyResult &result);
    void tellDatMessages();

    AppState &m_state;
    Dialogs &m_dialogs;
    CatalogueView &m_view;
    Remover m_remove;
    QWidget *m_parent;
    std::optional<IdentifyResult> m_last;
};
