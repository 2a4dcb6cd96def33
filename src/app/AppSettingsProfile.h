#pragma once

struct AppSettings;

// The settings store of the current user: organisation "TAMRIX Derida
// Vovivu", application = the program file's base name; groups "Settings"
// ("UnitCelsius", "ShowLog") and "Connect" ("Host", "Login").

// Fills `settings` from the store; a missing or unreadable value keeps the
// record's current value (the default for a new record).
void ReadAppSettings(AppSettings& settings);
// Writes all four values, changed or not.
void WriteAppSettings(const AppSettings& settings);
