#pragma once

#include <QFont>

#include <string>

class QWidget;

// The font of the user file dialogs: the layout's Gothic font, 12 pixels high.
QFont UserDialogFont();

// The application title (Shift-JIS), the caption of the general error report.
std::string ApplicationTitle();

// Moves a window so that its client area is centred on the screen it is on.
void CentreOnScreen(QWidget* window);

// Registers the dialogs' compiled-in pictures, which live in the static library.
void InitUserDialogResources();
