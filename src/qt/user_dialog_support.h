#pragma once

#include <QFont>

#include <string>

class QDialog;
class QKeyEvent;
class QPushButton;
class QWidget;

// The font of the user file dialogs: the layout's Gothic font, 12 pixels high.
QFont UserDialogFont();

// Registers the dialogs' compiled-in pictures, which live in the static library.
void InitUserDialogResources();

// A button of a dialog that has no default and no cancel button: ENTER presses it only while it holds the
// focus.
void MakeFocusOnlyButton(QPushButton* button);

// Escape does nothing in such a dialog, and ENTER presses the focused button, if any. True when the key was
// one of the two and has been dealt with.
bool HandleDialogKey(QDialog* dialog, QKeyEvent* event);
