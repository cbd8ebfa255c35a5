#pragma once

// The settings store: named string values kept under the program's key
// "Software\Tarnwick\Korvane\1.x\" plus an optional sub-key, in the current
// user's store or, when asked, the machine-wide one. Values can be enciphered
// with Blowfish so that account credentials are not kept as plain text.
//
// Callers open the store, load or save, and close it again. Opening creates
// the shared access and cipher objects (replacing any that exist) and counts a
// user; closing counts one off and destroys the objects when none is left.
// Loading or saving while the store is closed, and keys that cannot be opened,
// raise the "Unable to save/load parameter ..." errors through ThrowError.
// A key exists once anything has been saved under it; loading from a key that
// never was fails, while a missing value in an existing key loads as "".
//
// Storage: INI files through QSettings, organisation "Tarnwick", application
// "Korvane"; the per-user file in the user scope, the machine-wide file in the
// system scope. The key path becomes nested groups, its backslashes turned
// into slashes ("Software/Tarnwick/Korvane/1.x/SMS"); a slash in a sub-key
// separates levels as well, and value names are plain names without either.
// Nothing is kept in memory: every call reads or writes the file.
//
// Enciphered values are stored as text: the value's characters taken as
// Latin-1 bytes, padded with zero bytes to a multiple of 8, enciphered in ECB
// mode and written as two upper-case hexadecimal digits per byte. An empty
// value is stored empty.
//
// User-interface thread only; nothing is locked.

#include <QString>

// The key that every value of the program lives under (with the trailing backslash).
inline constexpr char SettingsBaseKey[] = "Software\\Tarnwick\\Korvane\\1.x\\";

void OpenSettingsStore();
void CloseSettingsStore();

// Writes `value` under `name` in base key + `subKey` (empty: the base key
// itself), creating the key when needed.
void SaveParameter(const QString& name, const QString& value, const QString& subKey, bool encipher,
                   bool machineWide);

// Reads the value `name` from base key + `subKey`. Deciphering text that was
// not enciphered by this store gives meaningless text, not an error.
QString LoadParameter(const QString& name, const QString& subKey, bool decipher, bool machineWide);

// Moves the per-user and the machine-wide store into the given folders (the
// files are then <folder>/Tarnwick/Korvane.ini). This sets the process-wide
// QSettings paths of the INI format, so it affects every INI QSettings of the
// program. Tests use it to keep away from the real configuration.
void SetSettingsStoreLocation(const QString& userFolder, const QString& machineFolder);
