#include "shell/UBlowFish.h"
#include "shell/UErrors.h"
#include "shell/USettings.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>
#include <functional>

namespace {

QString ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EError& e) {
        return e.Message();
    }
    return QString();
}

// Keeps the store open for the length of a test.
struct TOpenStore {
    TOpenStore() { OpenSettingsStore(); }
    ~TOpenStore() { CloseSettingsStore(); }
};

const QByteArray CipherKey("mkqzvtrw");

// What the store must write for `value`, worked out with the cipher directly.
QString ExpectedCipherText(const QString& value) {
    QByteArray bytes = value.toLatin1();
    bytes.append((8 - bytes.size() % 8) % 8, '\0');
    CBlowFish(CipherKey).Encrypt(bytes);
    return QString::fromLatin1(bytes.toHex().toUpper());
}

// What deciphering the cipher bytes `hex` must give.
QString ExpectedPlainText(const QByteArray& hex) {
    QByteArray bytes = QByteArray::fromHex(hex);
    CBlowFish(CipherKey).Decrypt(bytes);
    if (const qsizetype end = bytes.indexOf('\0'); end >= 0)
        bytes.truncate(end);
    return QString::fromLatin1(bytes);
}

} // namespace

class TestUSettings : public QObject {
    Q_OBJECT
private:
    TestSupport::TTempDir m_Dir;

    QString UserFolder() const { return m_Dir.Path() + QStringLiteral("user"); }
    QString MachineFolder() const { return m_Dir.Path() + QStringLiteral("machine"); }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_Dir.IsValid());
        QStandardPaths::setTestModeEnabled(true);
        SetSettingsStoreLocation(UserFolder(), MachineFolder());
    }

    void StoresEncipheredValuesAsUpperCaseHex_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("digits");
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("1 char") << QStringLiteral("x") << 16;
        QTest::newRow("8 chars") << QStringLiteral("password") << 16;
        QTest::newRow("9 chars") << QStringLiteral("password1") << 32;
        QTest::newRow("16 chars") << QStringLiteral("0123456789abcdef") << 32;
        QTest::newRow("Latin-1") << QStringLiteral("Grüße, señor") << 32;
    }

    void StoresEncipheredValuesAsUpperCaseHex() {
        QFETCH(QString, value);
        QFETCH(int, digits);
        TOpenStore store;
        SaveParameter(QStringLiteral("SMS_Password"), value, QStringLiteral("Cipher"), true, false);

        const QString stored =
            LoadParameter(QStringLiteral("SMS_Password"), QStringLiteral("Cipher"), false, false);
        QCOMPARE(stored.size(), digits);
        QCOMPARE(stored, value.isEmpty() ? QString() : ExpectedCipherText(value));
        QCOMPARE(
            LoadParameter(QStringLiteral("SMS_Password"), QStringLiteral("Cipher"), true, false),
            value);
    }

    void KeepsOnlyLatin1CharactersWhenEnciphering() {
        TOpenStore store;
        SaveParameter(QStringLiteral("Name"), QStringLiteral("Ωmega"), QString(), true, false);
        QCOMPARE(LoadParameter(QStringLiteral("Name"), QString(), true, false),
                 QStringLiteral("?mega"));
    }

    void StoresPlainValuesUnchanged_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("empty") << QString();
        QTest::newRow("text") << QStringLiteral("Plain text");
        QTest::newRow("comma") << QStringLiteral("one, two");
        QTest::newRow("at sign") << QStringLiteral("@Variant(x)");
        QTest::newRow("spaces") << QStringLiteral("  padded  ");
        QTest::newRow("quotes and lines") << QStringLiteral("\"a\";b\r\nc\\d");
        QTest::newRow("unicode") << QStringLiteral("Ωmega ünd 日本");
    }

    void StoresPlainValuesUnchanged() {
        QFETCH(QString, value);
        TOpenStore store;
        SaveParameter(QStringLiteral("Value"), value, QStringLiteral("Plain\\Deep"), false, false);
        QCOMPARE(
            LoadParameter(QStringLiteral("Value"), QStringLiteral("Plain\\Deep"), false, false),
            value);
    }

    void KeepsKeysAsNestedGroupsOfOneFile() {
        TOpenStore store;
        SaveParameter(QStringLiteral("SMS_Username"), QStringLiteral("alice"),
                      QStringLiteral("SMS"), false, false);
        SaveParameter(QStringLiteral("Top"), QStringLiteral("base"), QString(), false, false);

        const QString file = UserFolder() + QStringLiteral("/Tarnwick/Korvane.ini");
        QVERIFY(QFile::exists(file));
        QSettings settings(file, QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("Software/Tarnwick/Korvane/1.x/SMS/SMS_Username")),
                 QVariant(QStringLiteral("alice")));
        QCOMPARE(settings.value(QStringLiteral("Software/Tarnwick/Korvane/1.x/Top")),
                 QVariant(QStringLiteral("base")));

        // Every load reads the file: a change made behind the store's back shows.
        settings.setValue(QStringLiteral("Software/Tarnwick/Korvane/1.x/SMS/SMS_Username"),
                          QStringLiteral("bob"));
        settings.sync();
        QCOMPARE(LoadParameter(QStringLiteral("SMS_Username"), QStringLiteral("SMS"), false, false),
                 QStringLiteral("bob"));
    }

    void DeciphersPlainTextIntoGarbageWithoutError() {
        TOpenStore store;
        const QString plain = QStringLiteral("not enciphered");
        SaveParameter(QStringLiteral("Raw"), plain, QStringLiteral("Garbage"), false, false);
        QString loaded;
        QCOMPARE(ErrorOf([&] {
                     loaded = LoadParameter(QStringLiteral("Raw"), QStringLiteral("Garbage"), true,
                                            false);
                 }),
                 QString());
        QVERIFY(loaded != plain);
    }

    void DecodesStoredDigitsPairByPair_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("whole block")
            << QStringLiteral("0A01020304050607") << QByteArray("0A01020304050607");
        QTest::newRow("pair ends at a non-digit")
            << QStringLiteral("Ag01020304050607") << QByteArray("0A01020304050607");
        QTest::newRow("lower case is not a digit")
            << QStringLiteral("0a01020304050607") << QByteArray("0001020304050607");
        QTest::newRow("missing pairs are zero")
            << QStringLiteral("0A0102") << QByteArray("0A01020000000000");
        QTest::newRow("lone last digit") << QStringLiteral("0A01020304050607F")
                                         << QByteArray("0A01020304050607"
                                                       "0F00000000000000");
        QTest::newRow("junk after a block") << QStringLiteral("0A01020304050607??")
                                            << QByteArray("0A01020304050607"
                                                          "0000000000000000");
    }

    void DecodesStoredDigitsPairByPair() {
        QFETCH(QString, stored);
        QFETCH(QByteArray, bytes);
        const QString expected = ExpectedPlainText(bytes);
        QVERIFY(!expected.isEmpty());
        TOpenStore store;
        SaveParameter(QStringLiteral("Digits"), stored, QStringLiteral("Digits"), false, false);
        QCOMPARE(LoadParameter(QStringLiteral("Digits"), QStringLiteral("Digits"), true, false),
                 expected);
    }

    void RefusesKeysThatWereNeverWritten() {
        TOpenStore store;
        QCOMPARE(ErrorOf([] {
                     LoadParameter(QStringLiteral("SMS_Username"), QStringLiteral("Never\\Written"),
                                   true, false);
                 }),
                 QStringLiteral(
                     "Unable to load parameter 'SMS_Username' from the registry.\r\n"
                     "Unable to open key 'Software\\Tarnwick\\Korvane\\1.x\\Never\\Written'"));

        // Once the key exists, a value it does not hold loads as empty.
        SaveParameter(QStringLiteral("Other"), QStringLiteral("x"),
                      QStringLiteral("Never\\Written"), false, false);
        QCOMPARE(LoadParameter(QStringLiteral("SMS_Username"), QStringLiteral("Never\\Written"),
                               true, false),
                 QString());
    }

    void RefusesKeysThatCannotBeWritten() {
        // A folder below a plain file can never be created.
        const QString blocker = m_Dir.Path() + QStringLiteral("blocker");
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        SetSettingsStoreLocation(blocker + QStringLiteral("/user"), MachineFolder());
        TOpenStore store;
        const QString error = ErrorOf([] {
            SaveParameter(QStringLiteral("SMS_Username"), QStringLiteral("x"), QString(), true,
                          false);
        });
        SetSettingsStoreLocation(UserFolder(), MachineFolder());
        QCOMPARE(error,
                 QStringLiteral("Unable to save parameter 'SMS_Username' to the registry.\r\n"
                                "Unable to open key 'Software\\Tarnwick\\Korvane\\1.x\\'"));
    }

    void KeepsMachineWideValuesApart() {
        TOpenStore store;
        SaveParameter(QStringLiteral("Shared"), QStringLiteral("mine"), QStringLiteral("Scope"),
                      true, false);
        SaveParameter(QStringLiteral("Shared"), QStringLiteral("everyone's"),
                      QStringLiteral("Scope"), true, true);
        SaveParameter(QStringLiteral("MachineOnly"), QStringLiteral("m"), QStringLiteral("Scope"),
                      false, true);

        QCOMPARE(LoadParameter(QStringLiteral("Shared"), QStringLiteral("Scope"), true, false),
                 QStringLiteral("mine"));
        QCOMPARE(LoadParameter(QStringLiteral("Shared"), QStringLiteral("Scope"), true, true),
                 QStringLiteral("everyone's"));
        QCOMPARE(
            LoadParameter(QStringLiteral("MachineOnly"), QStringLiteral("Scope"), false, false),
            QString());
        QVERIFY(QFile::exists(MachineFolder() + QStringLiteral("/Tarnwick/Korvane.ini")));

        // A key written only machine-wide does not exist for the user.
        SaveParameter(QStringLiteral("Value"), QStringLiteral("m"), QStringLiteral("MachineKey"),
                      false, true);
        QVERIFY(!ErrorOf([] {
                     LoadParameter(QStringLiteral("Value"), QStringLiteral("MachineKey"), false,
                                   false);
                 }).isEmpty());
    }

    void WorksOnlyBetweenOpenAndLastClose() {
        const QString saveError =
            QStringLiteral("Unable to save parameter 'Name' to the registry.\r\n"
                           "Unable to create registry object.");
        const QString loadError =
            QStringLiteral("Unable to load parameter 'Name' from the registry.\r\n"
                           "Unable to create registry object.");
        auto save = [] {
            SaveParameter(QStringLiteral("Name"), QStringLiteral("v"), QStringLiteral("Life"), true,
                          false);
        };
        auto load = [] {
            LoadParameter(QStringLiteral("Name"), QStringLiteral("Life"), true, false);
        };

        QCOMPARE(ErrorOf(save), saveError);
        QCOMPARE(ErrorOf(load), loadError);

        OpenSettingsStore();
        OpenSettingsStore();
        CloseSettingsStore();
        QCOMPARE(ErrorOf(save), QString());
        QCOMPARE(LoadParameter(QStringLiteral("Name"), QStringLiteral("Life"), true, false),
                 QStringLiteral("v"));
        CloseSettingsStore();
        QCOMPARE(ErrorOf(save), saveError);
        QCOMPARE(ErrorOf(load), loadError);

        // A close too many does not shorten the life of the next pair.
        CloseSettingsStore();
        OpenSettingsStore();
        OpenSettingsStore();
        CloseSettingsStore();
        QCOMPARE(ErrorOf(load), QString());
        CloseSettingsStore();
        QCOMPARE(ErrorOf(load), loadError);
    }
};

QTEST_MAIN(TestUSettings)
#include "tst_USettings.moc"
