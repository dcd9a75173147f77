// Reading and writing kivo.ini, reading lang.ini, and the About box.
#include "ui/frmMain.h"

void frmMain::LoadSettings() {}

void frmMain::SaveSettings() {}

void frmMain::LoadLanguage() {}

void frmMain::showAbout() {}
