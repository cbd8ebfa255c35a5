#include "shell/USettings.h"

#include "shell/UBlowFish.h"
#include "shell/UErrors.h"

#include <QRegularExpression>
#include <QSettings>
#include <QStringList>
#include <algorithm>
#include <memory>

namespace {

const char* const SaveNoObject =
    "Unable to save parameter '%s' to the registry.\r\nUnable to create registry object.";
const char* const SaveNoKey =
    "Unable to save parameter '%s' to the registry.\r\nUnable to open key '%s'";
const char* const LoadNoObject =
    "Unable to load parameter '%s' from the registry.\r\nUnable to create registry object.";
const char* const LoadNoKey =
    "Unable to load parameter '%s' from the registry.\r\nUnable to open key '%s'";

constexpr char CipherKey[] = "mkqzvtrw";
constexpr qsizetype CipherBlock = 8;

// Access to the two stores. Each operation opens the file afresh, the way a
// registry key is opened and closed around every read or write.
class TRegistry {
public:
    std::unique_ptr<QSettings> OpenRoot(bool machineWide) const {
        auto settings = std::make_unique<QSettings>(
            QSettings::IniFormat, machineWide ? QSettings::SystemScope : QSettings::UserScope,
            QStringLiteral("Tarnwick"), QStringLiteral("Korvane"));
        // The per-user store must not show machine-wide values.
        settings->setFallbacksEnabled(false);
        return settings;
    }
};

std::unique_ptr<TRegistry> g_pRegistry;
std::unique_ptr<CBlowFish> g_pBlowFish;
int g_nUsers = 0;

QString KeyPath(const QString& subKey) {
    return QLatin1String(SettingsBaseKey) + subKey;
}

// The QSettings group of a key path: its parts joined with slashes.
QString KeyGroup(const QString& subKey) {
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    return KeyPath(subKey).split(separators, Qt::SkipEmptyParts).join(QLatin1Char('/'));
}

bool KeyExists(QSettings& settings) {
    return !settings.childKeys().isEmpty() || !settings.childGroups().isEmpty();
}

QString Encipher(const QString& value) {
    QByteArray bytes = value.toLatin1();
    const qsizetype padding = (CipherBlock - bytes.size() % CipherBlock) % CipherBlock;
    bytes.append(padding, '\0');
    g_pBlowFish->Encrypt(bytes, CBlowFish::TMode::ECB);
    return QString::fromLatin1(bytes.toHex().toUpper());
}

int HexDigit(QChar c) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return c.unicode() - '0';
    if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
        return c.unicode() - 'A' + 10;
    return -1;
}

QString Decipher(const QString& text) {
    // Half the length rounded up to whole blocks; a lone last digit counts
    // as a pair of its own.
    const qsizetype half = (text.size() + 1) / 2;
    const qsizetype count =
        std::max(CipherBlock, (half + CipherBlock - 1) / CipherBlock * CipherBlock);
    QByteArray bytes(count, '\0');
    for (qsizetype i = 0; i < count; ++i) {
        int value = 0;
        for (qsizetype pos = 2 * i; pos < std::min(2 * i + 2, text.size()); ++pos) {
            const int digit = HexDigit(text[pos]);
            if (digit < 0)
                break;
            value = value * 16 + digit;
        }
        bytes[i] = static_cast<char>(value);
    }
    g_pBlowFish->Decrypt(bytes, CBlowFish::TMode::ECB);
    const qsizetype end = bytes.indexOf('\0');
    if (end >= 0)
        bytes.truncate(end);
    return QString::fromLatin1(bytes);
}

QString ValueText(const QVariant& value) {
    // A hand-edited file may hold an unquoted list; take it as written.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

} // namespace

void OpenSettingsStore() {
    g_pRegistry = std::make_unique<TRegistry>();
    g_pBlowFish = std::make_unique<CBlowFish>(QByteArrayView(CipherKey));
    ++g_nUsers;
}

void CloseSettingsStore() {
    // A stray close must not leave later open/close pairs unbalanced.
    g_nUsers = std::max(0, g_nUsers - 1);
    if (g_nUsers < 1) {
        g_pBlowFish.reset();
        g_pRegistry.reset();
    }
}

void SaveParameter(const QString& name, const QString& value, const QString& subKey, bool encipher,
                   bool machineWide) {
    if (!g_pRegistry)
        ThrowError(SaveNoObject, name);
    const auto settings = g_pRegistry->OpenRoot(machineWide);
    if (settings->status() != QSettings::NoError || !settings->isWritable())
        ThrowError(SaveNoKey, name, KeyPath(subKey));

    const QString text = encipher && !value.isEmpty() ? Encipher(value) : value;
    settings->beginGroup(KeyGroup(subKey));
    settings->setValue(name, text);
    settings->endGroup();
    settings->sync();
    if (settings->status() != QSettings::NoError)
        ThrowError(SaveNoKey, name, KeyPath(subKey));
}

QString LoadParameter(const QString& name, const QString& subKey, bool decipher, bool machineWide) {
    if (!g_pRegistry)
        ThrowError(LoadNoObject, name);
    const auto settings = g_pRegistry->OpenRoot(machineWide);
    settings->beginGroup(KeyGroup(subKey));
    if (settings->status() != QSettings::NoError || !KeyExists(*settings))
        ThrowError(LoadNoKey, name, KeyPath(subKey));

    const QString text = ValueText(settings->value(name));
    return decipher && !text.isEmpty() ? Decipher(text) : text;
}

void SetSettingsStoreLocation(const QString& userFolder, const QString& machineFolder) {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, userFolder);
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, machineFolder);
}
