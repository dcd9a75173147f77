#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: who made the program, this build, and where its settings are kept. Not
// localised.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(const QString &settingsFile, QWidget *parent = nullptr);

    // The label's lines, joined by CR LF; the first is always the program's name and version.
    static QString aboutText(const QString &settingsFile);

    QLabel *Label1 = nullptr;
    QPushButton *Command1 = nullptr;

    void Command1_Click();
};
