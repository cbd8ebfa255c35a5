#include "shell/files/UStrings.h"

#include <QtTest>

using UStrings::ListStr;

class TestUStrings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void SplitsAtEveryKindOfLineBreak_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("trailing CRLF") << "New\r\nBusy\r\n" << QStringList{"New", "Busy"};
        QTest::newRow("LF, lone CR, no end break") << "a\nb\rc" << QStringList{"a", "b", "c"};
        QTest::newRow("CR CRLF and LF CR") << "a\r\r\nb\n\rc" << QStringList{"a", "", "b", "", "c"};
        QTest::newRow("blank lines kept") << "\r\n\r\nx\r\n\r\n" << QStringList{"", "", "x", ""};
    }
    void SplitsAtEveryKindOfLineBreak() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        const ListStr list(text);
        QCOMPARE(list.Lines(), lines);
        QCOMPARE(ListStr(list.Text()), list); // written out and read back unchanged
    }

    void TextEndsEveryLineWithCrLf() {
        QCOMPARE(ListStr().Text(), QString());
        ListStr list(QStringLiteral("a\nb"));
        const ListStr copy = list;
        list.Add(QString());
        QCOMPARE(list.Text(), QStringLiteral("a\r\nb\r\n\r\n"));
        QCOMPARE(copy.Count(), 2);
        list.SetText(QStringLiteral("One"));
        QCOMPARE(list, ListStr(QStringList{"One"}));
    }
};

QTEST_APPLESS_MAIN(TestUStrings)
#include "tst_UStrings.moc"
