#pragma once

#include <QList>
#include <QStringList>

class QAbstractButton;

// Gives each of `buttons` whose caption is one of `builtIn` (the program's own texts, not a
// language file's) and holds no "&" a keyboard mnemonic: the first letter or digit of its caption
// that no other button of the group uses. A caption a language file wrote stays as written.
void giveMnemonics(const QList<QAbstractButton *> &buttons, const QStringList &builtIn);
