#pragma once

class QApplication;
struct PlatformServices;

// Qt's own Japanese texts for the standard dialogs (file dialog, message box buttons).
void InstallJapaneseTranslation(QApplication& app);

// Sets the application title, creates the toolbar on the platform's services, runs the message loop and
// writes the settings at the end.
int RunToolbar(QApplication& app, PlatformServices& platform);
