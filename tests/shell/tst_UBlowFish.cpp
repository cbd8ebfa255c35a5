#include "shell/UBlowFish.h"
#include "shell/UErrors.h"

#include <QtTest>

namespace {

using TMode = CBlowFish::TMode;

// Eric Young's chaining-mode vectors: a 16-byte key, an initial chain block
// and the 29 bytes "7654321 Now is the time for \0", here padded with zeros.
const QByteArray ChainKey = QByteArray::fromHex("0123456789ABCDEFF0E1D2C3B4A59687");
const CBlowFish::TBlock ChainIV = {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10};

QByteArray ChainPlainText() {
    QByteArray text("7654321 Now is the time for ");
    text.append(QByteArray(32 - text.size(), '\0'));
    return text;
}

QString ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EError& e) {
        return e.Message();
    }
    return QString();
}

} // namespace

class TestUBlowFish : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void EncryptsPublishedBlocks_data() {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("cipher");
        const struct {
            const char* key;
            const char* plain;
            const char* cipher;
        } vectors[] = {
            {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
            {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
            {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
            {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
            {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
            {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
            {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
            {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
            // Keys of other lengths, all prefixes of one long key.
            {"F0", "FEDCBA9876543210", "F9AD597C49DB005E"},
            {"F0E1D2C3B4A59687", "FEDCBA9876543210", "E87A244E2CC85E82"},
            {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210",
             "05044B62FA52D080"},
        };
        for (const auto& v : vectors)
            QTest::addRow("%s %s", v.key, v.plain)
                << QByteArray::fromHex(v.key) << QByteArray::fromHex(v.plain)
                << QByteArray::fromHex(v.cipher);
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
    }

    void ChainsBlocksWithTheInitialBlock() {
        CBlowFish blowFish(ChainKey, ChainIV);
        QByteArray buffer = ChainPlainText();
        blowFish.Encrypt(buffer, TMode::CBC);
        QCOMPARE(buffer.toHex().toUpper(),
                 QByteArray("6B77B4D63006DEE605B156E27403979358DEB9E7154616D959F1652BD5FF92CC"));

        blowFish.ResetChain();
        blowFish.Decrypt(buffer, TMode::CBC);
        QCOMPARE(buffer, ChainPlainText());
    }

    void FeedsBackCipherText() {
        CBlowFish blowFish(ChainKey, ChainIV);
        QByteArray buffer = ChainPlainText();
        blowFish.Encrypt(buffer, TMode::CFB);
        // The published stream covers the 29 bytes of the text.
        QCOMPARE(buffer.left(29).toHex().toUpper(),
                 QByteArray("E73214A2822139CAF26ECF6D2EB9E76E3DA3DE04D1517200519D57A6C3"));

        blowFish.ResetChain();
        blowFish.Decrypt(buffer, TMode::CFB);
        QCOMPARE(buffer, ChainPlainText());
    }

    void ContinuesTheChainAcrossCallsUntilReset_data() {
        QTest::addColumn<CBlowFish::TMode>("mode");
        QTest::newRow("CBC") << TMode::CBC;
        QTest::newRow("CFB") << TMode::CFB;
    }

    void ContinuesTheChainAcrossCallsUntilReset() {
        QFETCH(CBlowFish::TMode, mode);
        CBlowFish whole(ChainKey, ChainIV);
        QByteArray all = ChainPlainText();
        whole.Encrypt(all, mode);

        CBlowFish pieces(ChainKey, ChainIV);
        QByteArray first = ChainPlainText().left(16);
        QByteArray second = ChainPlainText().mid(16);
        pieces.Encrypt(first, mode);
        pieces.Encrypt(second, mode);
        QCOMPARE(first + second, all);

        // Without a reset the next call goes on from the last cipher block;
        // after one it starts again from the initial block.
        QByteArray again = ChainPlainText();
        pieces.Encrypt(again, mode);
        QVERIFY(again != all);
        pieces.ResetChain();
        again = ChainPlainText();
        pieces.Encrypt(again, mode);
        QCOMPARE(again, all);
    }

    void ZeroChainBlockByDefault() {
        CBlowFish blowFish(ChainKey);
        QCOMPARE(blowFish.Chain(), CBlowFish::TBlock{});
        // With a zero chain block the first CBC block equals the ECB block.
        QByteArray cbc = ChainPlainText();
        QByteArray ecb = ChainPlainText();
        blowFish.Encrypt(cbc, TMode::CBC);
        blowFish.Encrypt(ecb, TMode::ECB);
        QCOMPARE(cbc.left(8), ecb.left(8));
        QVERIFY(cbc.mid(8) != ecb.mid(8));
    }

    void DecryptsWhatItEncryptsInEveryMode() {
        const QByteArray key("mkqzvtrw");
        for (TMode mode : {TMode::ECB, TMode::CBC, TMode::CFB}) {
            for (int length : {8, 16, 56, 4096}) {
                QByteArray plain(length, '\0');
                for (int i = 0; i < length; ++i)
                    plain[i] = static_cast<char>((i * 37 + 11) & 0xFF);
                CBlowFish blowFish(key);
                QByteArray buffer = plain;
                blowFish.Encrypt(buffer, mode);
                QVERIFY(buffer != plain);
                blowFish.ResetChain();
                blowFish.Decrypt(buffer, mode);
                QCOMPARE(buffer, plain);
            }
        }
    }

    void RefusesBuffersThatAreNotWholeBlocks() {
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
    }

    void RefusesKeysOutOfRange() {
        QCOMPARE(ErrorOf([] { CBlowFish{QByteArray()}; }), QStringLiteral("Incorrect key length"));
        QCOMPARE(ErrorOf([] { CBlowFish{QByteArray(73, 'k')}; }),
                 QStringLiteral("Incorrect key length"));
        QCOMPARE(ErrorOf([] { CBlowFish{QByteArray(72, 'k')}; }), QString());
    }
};

QTEST_MAIN(TestUBlowFish)
#include "tst_UBlowFish.moc"
