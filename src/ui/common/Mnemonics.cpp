#include "ui/common/Mnemonics.h"

#include <QAbstractButton>

namespace {

// The letter after a single "&" of `caption` ("&&" is a plain "&"); null when there is none.
QChar mnemonicOf(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != u'&')
            continue;
        if (caption.at(i + 1) != u'&')
            return caption.at(i + 1).toLower();
        ++i;
    }
    return {};
}

} // namespace

void giveMnemonics(const QList<QAbstractButton *> &buttons, const QStringList &builtIn)
{
    QString taken;
    for (const QAbstractButton *button : buttons) {
        if (const QChar letter = mnemonicOf(button->text()); !letter.isNull())
            taken += letter;
    }
    for (QAbstractButton *button : buttons) {
        const QString caption = button->text();
        if (caption.contains(u'&') || !builtIn.contains(caption))
            continue;
        for (qsizetype i = 0; i < caption.size(); ++i) {
            const QChar letter = caption.at(i).toLower();
            if (!letter.isLetterOrNumber() || taken.contains(letter))
                continue;
            taken += letter;
            button->setText(caption.left(i) + u'&' + caption.mid(i));
            break;
        }
    }
}
