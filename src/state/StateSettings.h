#pragma once

#include "settings/SettingsFile.h"
#include "state/AppState.h"

// The Settings of kivo.ini taken into the shared state and back. The window placement and the
// column widths are not held in the state: the main window applies and collects them itself.
void applySettings(const SettingsFile &settings, AppState &state);
SettingsFile settingsFromState(const AppState &state);
