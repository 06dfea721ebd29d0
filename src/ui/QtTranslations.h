#pragma once

class QCoreApplication;

// Loads Qt's own German texts, so that standard buttons and file dialogs speak German as the
// rest of the program does. False when the translations are not installed.
bool installGermanQtTranslations(QCoreApplication &app);
