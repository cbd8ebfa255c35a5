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
        QTest::newRow("one line, no break") << QStringLiteral("New") << QStringList{"New"};
        QTest::newRow("trailing CRLF")
            << QStringLiteral("New\r\nBusy\r\n") << QStringList{"New", "Busy"};
        QTest::newRow("LF and lone CR") << QStringLiteral("a\nb\rc") << QStringList{"a", "b", "c"};
        QTest::newRow("CR CRLF is two breaks")
            << QStringLiteral("a\r\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("LF CR is two breaks")
            << QStringLiteral("a\n\rb") << QStringList{"a", "", "b"};
        QTest::newRow("blank lines kept")
            << QStringLiteral("\r\n\r\nx\r\n\r\n") << QStringList{"", "", "x", ""};
        QTest::newRow("only a break") << QStringLiteral("\n") << QStringList{""};
    }
    void SplitsAtEveryKindOfLineBreak() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        const ListStr list(text);
        QCOMPARE(list.Lines(), lines);
        QCOMPARE(list.Count(), lines.size());
        // Writing the lines out and reading them back keeps them.
        QCOMPARE(ListStr(list.Text()), list);
    }

    void TextEndsEveryLineWithCrLf() {
        QCOMPARE(ListStr().Text(), QString());
        QCOMPARE(ListStr(QStringLiteral("a\nb")).Text(), QStringLiteral("a\r\nb\r\n"));
        ListStr list;
        list.Add(QString());
        QCOMPARE(list.Text(), QStringLiteral("\r\n"));
    }

    void EditingAndCopying() {
        ListStr list(QStringLiteral("xNew\r\nxBusy\r\n"));
        const ListStr copy = list;
        list.Add(QStringLiteral("xComplete"));
        QCOMPARE(list.Count(), 3);
        QCOMPARE(list[2], QStringLiteral("xComplete"));
        QCOMPARE(copy.Count(), 2); // the copy is independent
        QVERIFY(copy != list);

        list.SetText(QStringLiteral("One"));
        QCOMPARE(list.Lines(), QStringList{"One"});
        QCOMPARE(list, ListStr(QStringList{"One"}));
        list.Clear();
        QVERIFY(list.IsEmpty());
        QCOMPARE(list, ListStr());
    }
};

QTEST_APPLESS_MAIN(TestUStrings)
#include "tst_UStrings.moc"
