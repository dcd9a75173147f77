#pragma once

#include <QHeaderView>
#include <QTableView>

// The game list's view: a multi-column list with multiple selection that reports mouse
// releases, Enter and Delete, and accepts files dropped from any file manager. A table without
// grid or row numbers rather than a tree: a tree keeps an item of its own for every row, which a
// catalogue of a million entries pays for at every start and every keystroke of the filter.
class GameListView : public QTableView
{
    Q_OBJECT

public:
    explicit GameListView(QWidget *parent = nullptr);

    // The column headers.
    QHeaderView *header() const { return horizontalHeader(); }
    // While on, the columns share the list's width, so no column hides behind a scroll bar.
    // A width the user drags, or one the settings give, turns it off.
    void setColumnsFitted(bool fitted);
    bool columnsFitted() const { return m_columnsFitted; }

Q_SIGNALS:
    void mouseReleased(Qt::MouseButton button, const QPoint &globalPos);
    void enterPressed();
    void deletePressed();
    void filesDropped(const QStringList &paths);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void fitColumns();

    bool m_columnsFitted = true;
    bool m_fitting = false;
};
