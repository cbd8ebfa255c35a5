#include "shell/UBlowFish.h"
#include "shell/UErrors.h"
#include "shell/USettings.h"
#include "support/TestSupport.h"

#include <QtTest>

using TestSupport::ErrorOf;

namespace {

// Keeps the store open for the length of a test.
struct TOpenStore {
    TOpenStore() { OpenSettingsStore(); }
    ~TOpenStore() { CloseSettingsStore(); }
};

const QByteArray CipherKey("mkqzvtrw");

// The stored text for `value`, worked out with the cipher directly.
QString CipherText(const QString& value) {
    QByteArray bytes = value.toLatin1();
    bytes.append((8 - bytes.size() % 8) % 8, '\0');
    CBlowFish(CipherKey).Encrypt(bytes);
    return QString::fromLatin1(bytes.toHex().toUpper());
}

// The value that deciphering the cipher bytes `hex` gives.
QString PlainText(const QByteArray& hex) {
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

    QString UserFolder() const { return m_Dir.Path() + "user"; }
    QString MachineFolder() const { return m_Dir.Path() + "machine"; }

private Q_SLOTS:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        SetSettingsStoreLocation(UserFolder(), MachineFolder());
    }

    void RoundTripsValues_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("encipher");
        QTest::addColumn<QString>("stored");
        for (const QString value : {"", "x", "password", "password1", "Grüße, señor"})
            QTest::addRow("enciphered, %d characters", int(value.size()))
                << value << true << (value.isEmpty() ? QString() : CipherText(value));
        QTest::newRow("only Latin-1 survives") << "Ωmega" << true << CipherText("?mega");
        int row = 0;
        for (const QString value : {"@Variant(x)", "  \"a\";b\r\nc\\d ", "Ωmega 日本"})
            QTest::addRow("plain %d", ++row) << value << false << value;
    }

    void RoundTripsValues() {
        QFETCH(QString, value);
        QFETCH(bool, encipher);
        QFETCH(QString, stored);
        TOpenStore store;
        SaveParameter("SMS_Password", value, "Round\\Trip", encipher, false);
        QCOMPARE(LoadParameter("SMS_Password", "Round\\Trip", false, false), stored);
        if (encipher) {
            // 1 to 8 characters take 16 digits, 9 to 16 take 32.
            QCOMPARE(stored.size(), (value.size() + 7) / 8 * 16);
            QCOMPARE(LoadParameter("SMS_Password", "Round\\Trip", true, false),
                     QString::fromLatin1(value.toLatin1()));
        }
    }

    void KeepsKeysAsNestedGroupsReadAfreshUserAndMachineApart() {
        TOpenStore store;
        SaveParameter("SMS_Username", "alice", "SMS", false, false);
        SaveParameter("Top", "base", "", false, false);

        QSettings file(UserFolder() + "/Tarnwick/Korvane.ini", QSettings::IniFormat);
        QCOMPARE(file.value("Software/Tarnwick/Korvane/1.x/SMS/SMS_Username"), QVariant("alice"));
        QCOMPARE(file.value("Software/Tarnwick/Korvane/1.x/Top"), QVariant("base"));

        file.setValue("Software/Tarnwick/Korvane/1.x/SMS/SMS_Username", "bob");
        file.sync();
        QCOMPARE(LoadParameter("SMS_Username", "SMS", false, false), "bob");

        // A key that was never written is refused.
        auto load = [] { LoadParameter("SMS_Username", "Never\\Written", true, false); };
        QCOMPARE(ErrorOf(load),
                 "Unable to load parameter 'SMS_Username' from the registry.\r\n"
                 "Unable to open key 'Software\\Tarnwick\\Korvane\\1.x\\Never\\Written'");

        // Once the key exists, a value it does not hold loads as empty.
        SaveParameter("Other", "x", "Never\\Written", false, false);
        QCOMPARE(LoadParameter("SMS_Username", "Never\\Written", true, false), "");

        // Machine-wide values are kept apart from the user's.
        SaveParameter("Shared", "mine", "Scope", true, false);
        SaveParameter("Shared", "everyone's", "Scope", true, true);
        SaveParameter("MachineOnly", "m", "Scope", false, true);
        SaveParameter("Value", "m", "MachineKey", false, true);

        QCOMPARE(LoadParameter("Shared", "Scope", true, false), "mine");
        QCOMPARE(LoadParameter("Shared", "Scope", true, true), "everyone's");
        QCOMPARE(LoadParameter("MachineOnly", "Scope", false, false), "");
        QVERIFY(ErrorOf([] { LoadParameter("Value", "MachineKey", false, false); }) !=
                "<no error>");
        QVERIFY(QFile::exists(MachineFolder() + "/Tarnwick/Korvane.ini"));
    }

    void DecodesStoredDigitsPairByPair_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QByteArray>("bytes");
        for (const auto& [name, stored, bytes] :
             {std::tuple{"one block", "0A01020304050607", "0A01020304050607"},
              {"pair ends early", "Ag01020304050607", "0A01020304050607"},
              {"lower case ends a pair", "0a01020304050607", "0001020304050607"},
              {"missing pairs", "0A0102", "0A01020000000000"},
              {"lone last digit", "0A01020304050607F", "0A010203040506070F00000000000000"},
              {"junk", "0A01020304050607??", "0A010203040506070000000000000000"}})
            QTest::newRow(name) << QString(stored) << QByteArray(bytes);
    }

    void DecodesStoredDigitsPairByPair() {
        QFETCH(QString, stored);
        QFETCH(QByteArray, bytes);
        TOpenStore store;
        SaveParameter("Digits", stored, "Digits", false, false);
        QCOMPARE(LoadParameter("Digits", "Digits", true, false), PlainText(bytes));
        QVERIFY(!PlainText(bytes).isEmpty());
    }

    void WorksOnlyBetweenOpenAndLastCloseAndWhereWritable() {
        const QString saveError = "Unable to save parameter 'Name' to the registry.\r\n"
                                  "Unable to create registry object.";
        const QString loadError = "Unable to load parameter 'Name' from the registry.\r\n"
                                  "Unable to create registry object.";
        auto save = [] { SaveParameter("Name", "v", "Life", true, false); };
        auto load = [] { LoadParameter("Name", "Life", true, false); };
        QCOMPARE(ErrorOf(save), saveError);
        QCOMPARE(ErrorOf(load), loadError);

        OpenSettingsStore();
        OpenSettingsStore();
        CloseSettingsStore();
        QCOMPARE(ErrorOf(save), "<no error>");
        QCOMPARE(LoadParameter("Name", "Life", true, false), "v");
        CloseSettingsStore();
        QCOMPARE(ErrorOf(save), saveError);
        QCOMPARE(ErrorOf(load), loadError);

        // A close too many does not shorten the life of the next pair.
        CloseSettingsStore();
        OpenSettingsStore();
        OpenSettingsStore();
        CloseSettingsStore();
        QCOMPARE(ErrorOf(load), "<no error>");
        CloseSettingsStore();

        // A key in a folder below a plain file can never be written.
        QVERIFY(QFile(m_Dir.Path() + "blocker").open(QIODevice::WriteOnly));
        SetSettingsStoreLocation(m_Dir.Path() + "blocker/user", MachineFolder());
        TOpenStore store;
        const QString error = ErrorOf([] { SaveParameter("SMS_Username", "x", "", true, false); });
        SetSettingsStoreLocation(UserFolder(), MachineFolder());
        QCOMPARE(error, "Unable to save parameter 'SMS_Username' to the registry.\r\n"
                        "Unable to open key 'Software\\Tarnwick\\Korvane\\1.x\\'");
    }
};

QTEST_MAIN(TestUSettings)
#include "tst_USettings.moc"
