#pragma once

#include "ui/common/CatalogueView.h"

#include <QStringList>

// Stands in for the main window under a dialog: records each redraw asked for, in order, as
// "RefillGameList", "lstClick", "entryChanged 3" and so on.
class RecordingCatalogueView : public CatalogueView
{
public:
    QStringList calls;
    int rows = 0; // what listedRows() answers

    void RefillGameList() override { calls.append(QStringLiteral("RefillGameList")); }
    void lstClick() override { calls.append(QStringLiteral("lstClick")); }
    void ArrangePanes() override { calls.append(QStringLiteral("ArrangePanes")); }
    void clearSelection() override { calls.append(QStringLiteral("clearSelection")); }
    void RebuildEmulatorMenu() override { calls.append(QStringLiteral("RebuildEmulatorMenu")); }
    int listedRows() const override { return rows; }
    void entryChanged(int slot) override
    {
        calls.append(QStringLiteral("entryChanged %1").arg(slot));
    }
    void showStatus(const QString &text) override
    {
        calls.append(QStringLiteral("showStatus ") + text);
    }
};
