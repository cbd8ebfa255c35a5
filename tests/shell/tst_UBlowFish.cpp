#include "shell/UBlowFish.h"
#include "shell/UErrors.h"
#include "support/TestSupport.h"

#include <QtTest>

using TestSupport::ErrorOf;

namespace {

using TMode = CBlowFish::TMode;

// Eric Young's chaining-mode vectors: a 16-byte key, an initial chain block
// and the 29 bytes "7654321 Now is the time for \0", here padded with zeros.
const QByteArray ChainKey = QByteArray::fromHex("0123456789ABCDEFF0E1D2C3B4A59687");
const CBlowFish::TBlock ChainIV = {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10};

const QByteArray ChainPlainText =
    QByteArray("7654321 Now is the time for ").leftJustified(32, '\0');

} // namespace

class TestUBlowFish : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void EncryptsPublishedBlocks_data() {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("cipher");
        for (const auto& [key, plain, cipher] :
             {std::tuple{"0000000000000000", "0000000000000000", "4EF997456198DD78"},
              {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
              {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
              {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
              // Keys of other lengths, all prefixes of one long key.
              {"F0", "FEDCBA9876543210", "F9AD597C49DB005E"},
              {"F0E1D2C3B4A59687", "FEDCBA9876543210", "E87A244E2CC85E82"},
              {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210",
               "05044B62FA52D080"}})
            QTest::addRow("%s %s", key, plain)
                << QByteArray::fromHex(key) << QByteArray::fromHex(plain)
                << QByteArray::fromHex(cipher);
    }

    void EncryptsPublishedBlocks() {
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, cipher);
        CBlowFish blowFish(key);
        QByteArray buffer = plain;
        blowFish.Encrypt(buffer);
        QCOMPARE(buffer.toHex().toUpper(), cipher.toHex().toUpper());
        blowFish.Decrypt(buffer);
        QCOMPARE(buffer, plain);

        // Several blocks in one ECB call are independent of each other.
        QByteArray twice = plain + plain;
        blowFish.Encrypt(twice);
        QCOMPARE(twice, cipher + cipher);

        // From the default chain block of zeros, a first CBC block is an ECB block.
        buffer = plain;
        blowFish.Encrypt(buffer, TMode::CBC);
        QCOMPARE(buffer, cipher);
    }

    void ChainsFromTheInitialBlock_data() {
        QTest::addColumn<CBlowFish::TMode>("mode");
        QTest::addColumn<QByteArray>("cipher");
        QTest::newRow("CBC")
            << TMode::CBC
            << QByteArray("6B77B4D63006DEE605B156E27403979358DEB9E7154616D959F1652BD5FF92CC");
        // The published stream covers only the 29 bytes of the text.
        QTest::newRow("CFB") << TMode::CFB
                             << QByteArray(
                                    "E73214A2822139CAF26ECF6D2EB9E76E3DA3DE04D1517200519D57A6C3");
    }

    void ChainsFromTheInitialBlock() {
        QFETCH(CBlowFish::TMode, mode);
        QFETCH(QByteArray, cipher);
        CBlowFish blowFish(ChainKey, ChainIV);
        QByteArray buffer = ChainPlainText;
        blowFish.Encrypt(buffer, mode);
        QCOMPARE(buffer.left(cipher.size() / 2).toHex().toUpper(), cipher);

        blowFish.ResetChain();
        blowFish.Decrypt(buffer, mode);
        QCOMPARE(buffer, ChainPlainText);
    }

    void RefusesBuffersOfPartBlocksAndKeysOutOfRange() {
        CBlowFish blowFish(ChainKey);
        for (TMode mode : {TMode::ECB, TMode::CBC, TMode::CFB}) {
            for (int length : {0, 1, 7, 9, 15, 17}) {
                const QByteArray original(length, 'x');
                QByteArray buffer = original;
                QCOMPARE(ErrorOf([&] { blowFish.Encrypt(buffer, mode); }),
                         QStringLiteral("Incorrect buffer length"));
                QCOMPARE(ErrorOf([&] { blowFish.Decrypt(buffer, mode); }),
                         QStringLiteral("Incorrect buffer length"));
                QCOMPARE(buffer, original);
            }
        }
        QCOMPARE(blowFish.Chain(), CBlowFish::TBlock{});

        QCOMPARE(ErrorOf([] { CBlowFish{QByteArray()}; }), QStringLiteral("Incorrect key length"));
        QCOMPARE(ErrorOf([] { CBlowFish{QByteArray(73, 'k')}; }),
                 QStringLiteral("Incorrect key length"));
        QCOMPARE(ErrorOf([] { CBlowFish{QByteArray(72, 'k')}; }), "<no error>");
    }
};

QTEST_MAIN(TestUBlowFish)
#include "tst_UBlowFish.moc"
