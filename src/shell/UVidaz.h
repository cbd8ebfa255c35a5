#pragma once

// Access to the customisation library "Vidaz" (libVidaz.so beside the
// executable, or in lib/korvane/ of an installed program). Every use loads the
// library afresh, takes one resource from it and releases it at once.
//
// When the library cannot be loaded the functions return false and give an
// error code: ENOENT (2) when there is no library file, ENOEXEC (8) when a
// file is there but cannot be loaded or lacks the expected functions.

#include <QImage>
#include <QString>

namespace UVidaz {

// Where the library is looked for: the plain name "Vidaz" (the platform adds
// its prefix and suffix) beside the executable, or where the installed
// program keeps it (UFiles::ShippedLibrary).
QString DefaultLibraryPath();

// Reads string resource `id` into a buffer of `maxChars` characters. Returns
// false (with `errorCode`) when the library does not load; otherwise true,
// with `text` empty when the library has no such string.
bool LoadStringResource(int id, int maxChars, QString& text, int& errorCode,
                        const QString& libraryPath = DefaultLibraryPath());

// Reads bitmap resource `name`. Returns false (with `errorCode`) when the
// library does not load. A library without that bitmap raises EError.
bool LoadBitmapResource(const QString& name, QImage& image, int& errorCode,
                        const QString& libraryPath = DefaultLibraryPath());

} // namespace UVidaz
