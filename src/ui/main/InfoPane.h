#pragma once

#include <QWidget>

class QPlainTextEdit;

// The details pane `picInfoPane`: the selected entry's details in a read-only text box that
// fills it.
class InfoPane : public QWidget
{
    Q_OBJECT

public:
    explicit InfoPane(QWidget *parent = nullptr);

    QPlainTextEdit *txtInfo = nullptr;

    // `text` has lines ending CR LF, as the details are made.
    void setText(const QString &text);
    const QString &text() const { return m_text; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QString m_text;
};
