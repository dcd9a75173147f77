#pragma once

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Controls of the properties dialog, made under the object names the language file and the tests
// find them by.

// A button that never takes Enter for itself: Enter is OK's.
QPushButton *namedButton(QWidget *parent, const char *name);
QLineEdit *namedLineEdit(QWidget *parent, const char *name);
// A label whose mnemonic moves the focus to `buddy`.
QLabel *namedLabel(QWidget *parent, const char *name, QWidget *buddy);
