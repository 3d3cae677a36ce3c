#pragma once

class QApplication;
class QtDialogs;

// Qt's own Japanese texts for the standard dialogs (file dialog, message box buttons).
void InstallJapaneseTranslation(QApplication& app);

// Sets the application title, creates the toolbar, runs the message loop and writes the settings at the end.
int RunToolbar(QApplication& app, QtDialogs& dialogs);
