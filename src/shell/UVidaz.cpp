#include "shell/UVidaz.h"

#include "shell/UErrors.h"
#include "shell/files/UFiles.h"

#include <QFileInfo>
#include <QLibrary>
#include <cerrno>
#include <vector>

namespace {

using TLoadString = int (*)(unsigned id, char* buffer, int size);
using TLoadBitmap = int (*)(const char* name, const unsigned char** data, int* size);

// Loads the library for the life of one use.
class TLibraryUse {
public:
    explicit TLibraryUse(const QString& path) : m_Library(path) {
        if (!m_Library.load())
            m_ErrorCode = LibraryFileExists(path) ? ENOEXEC : ENOENT;
    }
    ~TLibraryUse() {
        if (m_Library.isLoaded())
            m_Library.unload();
    }
    bool IsLoaded() const { return m_Library.isLoaded(); }
    int ErrorCode() const { return m_ErrorCode; }

    template <typename F>
    F Resolve(const char* symbol) {
        F function = reinterpret_cast<F>(m_Library.resolve(symbol));
        if (!function)
            m_ErrorCode = ENOEXEC;
        return function;
    }

private:
    static bool LibraryFileExists(const QString& path) {
        const QFileInfo info(path);
        const QString dir = info.path() + QLatin1Char('/');
        const QString base = info.fileName();
        return QFileInfo::exists(path) ||
               QFileInfo::exists(dir + QStringLiteral("lib") + base + QStringLiteral(".so")) ||
               QFileInfo::exists(dir + base + QStringLiteral(".so"));
    }

    QLibrary m_Library;
    int m_ErrorCode = 0;
};

} // namespace

namespace UVidaz {

QString DefaultLibraryPath() {
    return UFiles::ShippedLibrary(QStringLiteral("Vidaz"));
}

bool LoadStringResource(int id, int maxChars, QString& text, int& errorCode,
                        const QString& libraryPath) {
    text.clear();
    TLibraryUse library(libraryPath);
    auto loadString =
        library.IsLoaded() ? library.Resolve<TLoadString>("VidazLoadString") : nullptr;
    if (!loadString) {
        errorCode = library.ErrorCode();
        return false;
    }
    // The library writes UTF-8; a buffer of maxChars characters holds at most
    // four bytes per character.
    std::vector<char> buffer(size_t(maxChars) * 4 + 1, '\0');
    const int length = loadString(unsigned(id), buffer.data(), int(buffer.size()));
    if (length > 0)
        text = QString::fromUtf8(buffer.data(), length).left(maxChars);
    errorCode = 0;
    return true;
}

bool LoadBitmapResource(const QString& name, QImage& image, int& errorCode,
                        const QString& libraryPath) {
    image = QImage();
    TLibraryUse library(libraryPath);
    auto loadBitmap =
        library.IsLoaded() ? library.Resolve<TLoadBitmap>("VidazLoadBitmap") : nullptr;
    if (!loadBitmap) {
        errorCode = library.ErrorCode();
        return false;
    }
    errorCode = 0;
    const unsigned char* data = nullptr;
    int size = 0;
    const QByteArray utf8 = name.toUtf8();
    if (!loadBitmap(utf8.constData(), &data, &size) || !data || size <= 0 ||
        !image.loadFromData(data, size))
        ThrowError("Bitmap resource '%s' not found in the customisation library.", name);
    return true;
}

} // namespace UVidaz
