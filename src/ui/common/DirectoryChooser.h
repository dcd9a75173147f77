#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QWidget>

class Dialogs;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QModelIndex;
class QTreeView;

// A drive list over the directory tree of the chosen drive. The chosen directory is the one
// the user opened in the tree (double-click or Enter), not merely the highlighted one, so
// walking through the tree with the arrows does not change it. A path typed or pasted into the
// path box opens with Enter.
class DirectoryChooser : public QWidget
{
    Q_OBJECT

public:
    DirectoryChooser(Dialogs &dialogs, QWidget *parent = nullptr);

    QComboBox *Drive1 = nullptr;
    QTreeView *Dir1 = nullptr;
    QLabel *lblPath = nullptr;    // the opened directory
    QLineEdit *txtPath = nullptr; // a directory to open, typed or pasted

    // Replaces the drives offered (mount points; the machine's own by default). The root of
    // the directory opened stays chosen when one of them holds it.
    void setDrives(const QStringList &drives);
    QStringList drives() const;

    // Opens `directory` on the drive that holds it. False, with nothing changed, when it
    // cannot be listed or no drive holds it.
    bool start(const QString &directory);

    // The opened directory in native form, without a final separator unless it is a root.
    QString path() const;

    void Drive1_Change();
    // Opens the directory at `index` of the tree; a directory that cannot be read is reported.
    void Dir1_Open(const QModelIndex &index);
    // Opens the directory typed into txtPath; one that cannot be listed is reported.
    void txtPath_Enter();

Q_SIGNALS:
    void pathChanged(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Reports why `directory` cannot be listed; true when it can.
    bool checkReadable(const QString &directory);
    void showDrive(int index);
    void openDirectory(const QString &directory);
    // Expands the tree down to the opened directory and scrolls it into view.
    void revealOpened();
    void queueScroll();
    void showPathText();

    Dialogs &m_dialogs;
    QFileSystemModel *m_model = nullptr;
    QStringList m_drives;
    int m_drive = -1;
    QString m_path; // "/" separators, cleaned
    bool m_scrollQueued = false;
    // The directory last opened on each drive, which choosing the drive again returns to.
    QHash<QString, QString> m_driveDirs;
};
