#include "data/DMTables.h"
#include "data/engine/EDatabaseError.h"
#include "data/engine/TDatabase.h"
#include "data/engine/USqlDialect.h"
#include "support/TestSupport.h"

#include <QtTest>
#include <memory>

using namespace USqlDialect;

namespace {

using TRows = QList<QStringList>;

// Column kinds as the connection reports them; every other column is text.
TColumnKind ProgramKind(const QString& column) {
    const QString c = column.toLower();
    if (c == "date_time" || c == "date_timefinished")
        return TColumnKind::Timestamp;
    if (c == "billed" || c == "callout" || c == "currentlyemployed" || c == "idtypeispassport")
        return TColumnKind::Boolean;
    return c == "dt"         ? TColumnKind::Date
           : c == "priority" ? TColumnKind::Integer
                             : TColumnKind::Text;
}

// The program's eight tables in their files, reached through a connection,
// which translates with the columns and kinds of the tables it has attached.
class TProgramDb {
public:
    TProgramDb() {
        for (const DMTables::TTableDef& def : DMTables::TableDefs())
            m_Db.Exec(QString::fromLatin1(def.CreateSql));
    }

    QString Translate(const QString& local) { return m_Db.Prepare(local)->Sql(); }

    // Runs a statement of the dialect (or, `native`, SQLite's own): the rows
    // as texts, NULL as "<null>"; a failure as the one row {"<error>", message}.
    TRows Rows(const QString& sql, const QString& param = {}, bool native = false) {
        try {
            auto statement = native ? m_Db.PrepareNative(sql) : m_Db.Prepare(sql);
            for (const QString& name : statement->ParamNames())
                statement->Bind(name, param);
            return TestSupport::RowTexts(*statement);
        } catch (const EDatabaseError& e) {
            return {{QStringLiteral("<error>"), e.Message()}};
        }
    }
    TRows Native(const QString& sql) { return Rows(sql, {}, true); }
    TDatabase& Db() { return m_Db; }

    static QString Error(const TRows& rows) {
        return rows.size() == 1 && rows[0].value(0) == QLatin1String("<error>") ? rows[0].value(1)
                                                                                : QString();
    }

private:
    TestSupport::TTempDatabase m_Db;
};

} // namespace

#define EXEC(db, local)                                                                            \
    do {                                                                                           \
        const QString error_ = TProgramDb::Error((db).Rows(local));                                \
        QVERIFY2(error_.isEmpty(), qPrintable(error_));                                            \
    } while (false)

// Declarations only: the bodies below hold raw strings, which moc cannot read.
class TestUSqlDialect : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void Translates_data();
    void Translates();
    void ReportsTables();
    void CreateTable();
    void UnterminatedTextIsAnError_data();
    void UnterminatedTextIsAnError();
    void SharedColumnsAreQualified();
    void Helpers();
    void StoredValues();
    void JoinedQueriesGiveTheListsRows();
    void FullJoinsNarrowedByTheWhereClause_data();
    void FullJoinsNarrowedByTheWhereClause();
    void NarrowedFullJoinsGiveTheSameRows();
    void DeepNestingIsRefused();
    void LongAndChainsAreRead();
};

void TestUSqlDialect::Translates_data() {
    QTest::addColumn<QString>("local");
    QTest::addColumn<QString>("expected");
    auto row = [](const char* name, const char* local, const char* expected) {
        QTest::newRow(name) << QString::fromUtf8(local) << QString::fromUtf8(expected);
    };
    // Statements on table T in which nothing but the table's name changes.
    auto same = [](const char* name, const char* local) {
        QTest::newRow(name) << QString::fromUtf8(local)
                            << QString::fromUtf8(local).replace(" T ", R"( "db_t"."T" )");
    };
    // Table names
    row("bare", "Select * From Customer", R"(Select * From "db_customer"."Customer")");
    row("suffix, alias", "SELECT I.SerialNr FROM Item.DB I",
        R"(SELECT I.SerialNr FROM "db_item"."Item" I)");
    row("single-quoted, DELETE FROM", "DELETE FROM 'CallComments.db' WHERE CallNr='1'",
        R"(DELETE FROM "db_callcomments"."CallComments" WHERE CallNr='1')");
    row("double-quoted, INSERT INTO", R"(INSERT INTO "Representative.db" (RecID) VALUES ("{1}"))",
        R"(INSERT INTO "db_representative"."Representative" (RecID) VALUES ('{1}'))");
    row("UPDATE, line breaks", "UPDATE ITEM.DB \r\nSET Owner = 'C1' \r\nWHERE (SerialNr = 'S1')",
        "UPDATE \"db_item\".\"ITEM\" \r\nSET Owner = 'C1' \r\nWHERE (SerialNr = 'S1')");
    row("FROM list, JOIN",
        "SELECT * FROM Call, Worker.db W JOIN CALL.DB D ON (D.CallNr = Call.CallNr)",
        R"(SELECT * FROM "db_call"."Call", "db_worker"."Worker" W JOIN "db_call"."CALL" D ON (D.CallNr = Call.CallNr))");
    row("DROP TABLE IF EXISTS", R"(DROP TABLE IF EXISTS "StateTimes.DB")",
        R"(DROP TABLE IF EXISTS "db_statetimes"."StateTimes")");
    row("names in literals stay", "SELECT Call.CallNr FROM Call WHERE Status = 'from Item'",
        R"(SELECT Call.CallNr FROM "db_call"."Call" WHERE Status = 'from Item')");
    // Literals
    row("concatenation", R"(SELECT (W.Name || " "|| W.Surname) AS Worker FROM W)",
        R"(SELECT (W.Name || ' '|| W.Surname) AS Worker FROM "db_w"."W")");
    row("quotes in double quotes", R"(SELECT * FROM T WHERE Tel = "Joe's ""Fix-It"" Shop")",
        R"(SELECT * FROM "db_t"."T" WHERE Tel = 'Joe''s "Fix-It" Shop')");
    same("single quotes stay", R"(SELECT * FROM T WHERE Tel = 'O''Brien' OR Tel = 'say "hi"')");
    row("quoted names", R"(SELECT T."Name" AS "Full Name" FROM T)",
        R"(SELECT T."Name" AS "Full Name" FROM "db_t"."T")");
    // Dates: only for DATE and TIMESTAMP columns
    row("BETWEEN",
        "SELECT * FROM T WHERE Date_Time BETWEEN '03/01/2024 00:00:00' AND '03/31/2024 23:59:59'",
        R"(SELECT * FROM "db_t"."T" WHERE Date_Time BETWEEN '2024-03-01 00:00:00' AND '2024-03-31 23:59:59')");
    row("qualified, short date", R"(SELECT * FROM T C WHERE C.Date_Time >= "3/1/2024")",
        R"(SELECT * FROM "db_t"."T" C WHERE C.Date_Time >= '2024-03-01 00:00:00')");
    row("literal first", "SELECT * FROM T WHERE ('12/31/2023 8:05' < Date_Time)",
        R"(SELECT * FROM "db_t"."T" WHERE ('2023-12-31 08:05:00' < Date_Time))");
    row("SET",
        "UPDATE T SET Date_TimeFinished = '03/05/2024 14:30:00', BillTime = '03/05/2024 14:30:00'",
        R"(UPDATE "db_t"."T" SET Date_TimeFinished = '2024-03-05 14:30:00', BillTime = '03/05/2024 14:30:00')");
    row("INSERT by position",
        R"(INSERT INTO T (CallNR, DT, GUID) VALUES ("1", "02/29/2024 10:00:00", "03/01/2024"))",
        R"(INSERT INTO "db_t"."T" (CallNR, DT, GUID) VALUES ('1', '2024-02-29', '03/01/2024'))");
    row("INSERT, rows and expressions",
        "INSERT INTO T (Date_Time, Priority) VALUES ('1/2/2024', 1 + 2), (upper('x'), 3)",
        R"(INSERT INTO "db_t"."T" (Date_Time, Priority) VALUES ('2024-01-02 00:00:00', 1 + 2), (upper('x'), 3))");
    row("IN", "SELECT * FROM T WHERE DT NOT IN ('1/2/2024', '1/3/2024')",
        R"(SELECT * FROM "db_t"."T" WHERE DT NOT IN ('2024-01-02', '2024-01-03'))");
    same("not dates", "SELECT * FROM T WHERE Date_Time = '02/30/2024' OR Date_Time < '13/01/2024' "
                      "OR Date_Time > '2024-01-01'");
    same("text column", "SELECT * FROM T WHERE Status = '03/01/2024'");
    same("wider expression", "SELECT * FROM T WHERE Status || Date_Time = '03/01/2024'");
    // Booleans
    row("TRUE, FALSE", "UPDATE T SET A = TRUE, B = false",
        R"(UPDATE "db_t"."T" SET A = 'True', B = 'False')");
    row("boolean compared",
        R"(SELECT * FROM T WHERE Billed = 'false' AND Callout <> "TRUE" AND Status = 'true')",
        R"(SELECT * FROM "db_t"."T" WHERE Billed = 'False' AND Callout <> 'True' AND Status = 'true')");
    row("boolean inserted",
        R"(INSERT INTO T (WorkerNR, IDTypeIsPassport, CurrentlyEmployed) VALUES ('W1', FALSE, "true"))",
        R"(INSERT INTO "db_t"."T" (WorkerNR, IDTypeIsPassport, CurrentlyEmployed) VALUES ('W1', 'False', 'True'))");
    // Empty text also matches a missing value
    row("empty in parentheses", "DELETE FROM CALL.DB WHERE (CallNr = '') OR (CustomerID = '')",
        R"(DELETE FROM "db_call"."CALL" WHERE ((CallNr = '' OR CallNr IS NULL)) OR ((CustomerID = '' OR CustomerID IS NULL)))");
    row("empty first, qualified, NOT",
        R"(SELECT * FROM T I WHERE "" = I.Owner AND NOT I.Brand == '')",
        R"(SELECT * FROM "db_t"."T" I WHERE ('' = I.Owner OR I.Owner IS NULL) AND NOT (I.Brand == '' OR I.Brand IS NULL))");
    row("assignment, <> stay",
        "UPDATE T SET Owner = '', Brand = '' WHERE SerialNr = '' AND Owner <> ''",
        R"(UPDATE "db_t"."T" SET Owner = '', Brand = '' WHERE (SerialNr = '' OR SerialNr IS NULL) AND Owner <> '')");
    same("expressions stay",
         "SELECT * FROM T WHERE Brand || Model = '' OR Owner = '' || 'x' OR lower(Brand) = ''");
    // SQLite's own syntax, comments and layout pass through
    row("pass through",
        "SELECT COUNT (C.WorkerNR) AS N\n\t-- 'quoted' FROM X\nFROM T W \nFULL OUTER JOIN U C ON "
        "(W.A = C.A)\n"
        "WHERE C.Name = :Name /* \"named\" */ AND C.IDNr <> ?\nGROUP BY W.A\nORDER BY W.A DESC;",
        "SELECT COUNT (C.WorkerNR) AS N\n\t-- 'quoted' FROM X\nFROM \"db_t\".\"T\" W \nFULL OUTER "
        "JOIN \"db_u\".\"U\" C ON (W.A = C.A)\n"
        "WHERE C.Name = :Name /* \"named\" */ AND C.IDNr <> ?\nGROUP BY W.A\nORDER BY W.A DESC;");
}

void TestUSqlDialect::Translates() {
    QFETCH(QString, local);
    QFETCH(QString, expected);
    QCOMPARE(Translate(local, ProgramKind).Sql, expected);
}

void TestUSqlDialect::ReportsTables() {
    const TTranslation t = Translate(QStringLiteral(
        "SELECT * FROM Call C JOIN 'Worker.db' W ON (1) JOIN CALL.DB D ON (1) WHERE C.CallNr IN "
        "(SELECT CallNr FROM \"callcomments.DB\")"));
    QCOMPARE(t.Tables, QStringList({"Call", "Worker", "callcomments"}));
    QVERIFY(t.CreatedTable.isEmpty());
    // Without a lookup nothing is converted for its column's kind.
    QCOMPARE(Translate(QStringLiteral(
                           "SELECT * FROM T WHERE Date_Time = '1/2/2024' AND Billed = 'false'"))
                 .Sql,
             QStringLiteral(
                 R"(SELECT * FROM "db_t"."T" WHERE Date_Time = '1/2/2024' AND Billed = 'false')"));
}

void TestUSqlDialect::CreateTable() {
    // The program's own table goes into its own file.
    const TTranslation item =
        Translate(QString::fromLatin1(DMTables::FindTableDef(QStringLiteral("Item"))->CreateSql));
    QVERIFY(item.Sql.startsWith(QLatin1String(R"(CREATE TABLE "db_item"."Item" ()")));
    QCOMPARE(item.CreatedTable, QStringLiteral("Item"));
    QVERIFY(item.Tables.isEmpty()); // its file does not exist yet

    const TTranslation misc =
        Translate(QStringLiteral("CREATE TABLE Misc.DB (A TIMESTAMP, B BOOLEAN, C VARCHAR(5) NOT "
                                 "NULL, D CHAR(3) DEFAULT 'x', E NUMERIC(10, 2), F TEXT)"));
    QCOMPARE(
        misc.Sql,
        QStringLiteral(
            R"(CREATE TABLE "db_misc"."Misc" (A TIMESTAMP, B BOOLEAN, C VARCHAR(5) DEFAULT '' NOT NULL, D CHAR(3) DEFAULT 'x', E NUMERIC(10, 2), F TEXT DEFAULT ''))"));
    QCOMPARE(misc.CreatedTable, QStringLiteral("Misc"));
}

void TestUSqlDialect::UnterminatedTextIsAnError_data() {
    QTest::addColumn<QString>("local");
    QTest::newRow("single") << "SELECT * FROM Item WHERE Brand = 'Acme";
    QTest::newRow("single, escaped end") << "SELECT * FROM Item WHERE Brand = 'It''";
    QTest::newRow("double") << "SELECT * FROM Item WHERE Brand = \"Acme";
    QTest::newRow("comment") << "SELECT * FROM Item /* note";
    QTest::newRow("bracket") << "SELECT [Brand FROM Item";
}

void TestUSqlDialect::UnterminatedTextIsAnError() {
    QFETCH(QString, local);
    const QString error =
        TestSupport::ErrorOf<EDatabaseError>([&] { Translate(local, ProgramKind); });
    QVERIFY2(error.startsWith(QLatin1String("Unterminated")) && error.contains(local),
             qPrintable(error));
}

void TestUSqlDialect::SharedColumnsAreQualified() {
    TProgramDb db;
    const QString q = DMTables::SqlCallsListText();
    QVERIFY(
        db.Translate(q + "WHERE WorkerNr ='W1'").endsWith(QLatin1String("WHERE C.WorkerNr ='W1'")));
    QVERIFY(db.Translate(q + "WHERE WorkerNr = ''")
                .endsWith(QLatin1String("WHERE (C.WorkerNr = '' OR C.WorkerNr IS NULL)")));
    // Without the tables' columns nothing is qualified.
    QVERIFY(
        Translate(q + "WHERE WorkerNr ='W1'").Sql.endsWith(QLatin1String("WHERE WorkerNr ='W1'")));
    // Only names that several tables have; result aliases and qualified names stay.
    QCOMPARE(
        db.Translate(
            QStringLiteral("SELECT W.Name AS Surname, IDNr FROM Worker W JOIN Representative ON "
                           "(FK_Customer = W.WorkerNR) WHERE Name = 'x' ORDER BY Surname")),
        QStringLiteral(
            R"(SELECT W.Name AS Surname, IDNr FROM "db_worker"."Worker" W JOIN "db_representative"."Representative" ON (FK_Customer = W.WorkerNR) WHERE W.Name = 'x' ORDER BY Surname)"));
    QCOMPARE(
        db.Translate(QStringLiteral("SELECT Name FROM Worker, Representative R")),
        QStringLiteral(
            R"(SELECT "Worker".Name FROM "db_worker"."Worker", "db_representative"."Representative" R)"));
    // A table counts once for a name however often its columns give it; the
    // first table that has the name need not be the first table.
    const auto columnsOf = [](const QString& table) {
        static const QHash<QString, QStringList> columns = {
            {"A", {"Name", "NAME", "Code"}}, {"B", {"ID", "Code"}}, {"C", {"id"}}};
        return columns.value(table);
    };
    QCOMPARE(Translate(QStringLiteral("SELECT Name, ID, Code FROM A, B Bee, C"), {}, columnsOf).Sql,
             QStringLiteral(
                 R"(SELECT Name, Bee.ID, "A".Code FROM "db_a"."A", "db_b"."B" Bee, "db_c"."C")"));
}

void TestUSqlDialect::Helpers() {
    const QString value = QStringLiteral(R"(Joe's "Fix-It" Shop)");
    QCOMPARE(EscapeQuotes(value), QStringLiteral(R"(Joe''s "Fix-It" Shop)"));
    QCOMPARE(EscapeQuotes(value, QLatin1Char('"')), QStringLiteral(R"(Joe's ""Fix-It"" Shop)"));

    QCOMPARE(TableAlias(QStringLiteral("CallComments")),
             TableAlias(QStringLiteral("CALLCOMMENTS")));
    for (const char* reserved : {"main", "temp"})
        QVERIFY(TableAlias(QString::fromLatin1(reserved)) != QLatin1String(reserved));

    const QList<std::pair<const char*, TColumnKind>> kinds = {
        {"CHAR(20)", TColumnKind::Text},       {"varchar (5)", TColumnKind::Text},
        {"TEXT", TColumnKind::Text},           {"INTEGER", TColumnKind::Integer},
        {"int", TColumnKind::Integer},         {"SMALLINT", TColumnKind::Integer},
        {"FLOAT", TColumnKind::Float},         {"REAL", TColumnKind::Float},
        {"NUMERIC(10,2)", TColumnKind::Float}, {"MONEY", TColumnKind::Float},
        {"BOOLEAN", TColumnKind::Boolean},     {"LOGICAL", TColumnKind::Boolean},
        {" date ", TColumnKind::Date},         {"TIMESTAMP", TColumnKind::Timestamp},
        {"DATETIME", TColumnKind::Timestamp},  {"", TColumnKind::Unknown},
        {"BLOB", TColumnKind::Unknown},        {"CHARS", TColumnKind::Unknown},
    };
    for (const auto& [declType, kind] : kinds)
        QVERIFY2(KindOfDeclType(QString::fromLatin1(declType)) == kind, declType);
}

void TestUSqlDialect::StoredValues() {
    TProgramDb db;
    // A date-shaped text into a text column stays as typed; into a timestamp
    // it takes the stored form. Text columns left out are blank.
    EXEC(
        db,
        R"(INSERT INTO Call (CallNr, BillTime, Date_Time, Billed, Callout) VALUES ("000001", "03/01/2024 10:00:00", "03/01/2024 10:00:00", FALSE, "true"))");
    QCOMPARE(db.Native(QStringLiteral(
                 R"(SELECT BillTime, Date_Time, Billed, Callout, Status FROM "db_call"."Call")")),
             TRows({{"03/01/2024 10:00:00", "2024-03-01 10:00:00", "False", "True", ""}}));
    QCOMPARE(db.Rows(QStringLiteral("SELECT CallNr FROM Call WHERE Billed = 'false' AND Callout = "
                                    "'TRUE' AND BillTime = '03/01/2024 10:00:00'")),
             TRows({{"000001"}}));
    // A NULL key counts as blank for the repair command.
    EXEC(db, "INSERT INTO Call (CallNr, CustomerID) VALUES ('000002', NULL)");
    EXEC(db, "DELETE FROM CALL.DB WHERE (CallNr = '') OR (CustomerID = '')");
    QCOMPARE(db.Rows(QStringLiteral("SELECT CallNr FROM Call")), TRows());

    // Many comment lines per call; an ID only once.
    EXEC(db, "INSERT INTO CallComments (CallNr, ID, DateTime) VALUES ('000001', '{A}', '03/01/2024 "
             "10:00:00'), ('000001', '{B}', '03/01/2024 10:00:00')");
    QCOMPARE(db.Rows(QStringLiteral(
                 "SELECT ID, DateTime FROM CallComments WHERE CallNr = '000001' ORDER BY ID")),
             TRows({{"{A}", "2024-03-01 10:00:00"}, {"{B}", "2024-03-01 10:00:00"}}));
    QVERIFY(
        !TProgramDb::Error(db.Rows(QStringLiteral(
                               "INSERT INTO CallComments (CallNr, ID) VALUES ('000002', '{A}')")))
             .isEmpty());
}

void TestUSqlDialect::JoinedQueriesGiveTheListsRows() {
    TProgramDb db;
    const char* rows[] = {
        R"(INSERT INTO "Customer.db" (CustomerID, CompanyName) VALUES ("C1", "Acme"))",
        R"(INSERT INTO Item (SerialNr, Brand, Model, Description, Owner) VALUES ("S1", "HP", "4000", "Printer", "C1"))",
        R"(INSERT INTO Item (SerialNr, Brand) VALUES ("S2", "Loose"))",
        R"(INSERT INTO ServiceContract (ItemSerialNr, CustomerID, ServiceType, StillValid) VALUES ("S1", "C1", "Gold", TRUE))",
        R"(INSERT INTO Worker (WorkerNR, Name, Surname, IDNr) VALUES ("W1", "Ann", "Lee", "1"))",
        R"(INSERT INTO Worker (WorkerNR, Name, Surname, IDNr) VALUES ("W2", "Bob", "Ray", "2"))",
        R"(INSERT INTO Call (CallNr, CustomerID, WorkerNr, EquipmentSerialNr, Date_Time, Status, Priority) VALUES ("000001", "C1", "W1", "S1", "02/29/2024 23:59:59", "New", 1))",
        R"(INSERT INTO Call (CallNr, CustomerID, WorkerNr, EquipmentSerialNr, Date_Time, Status, Priority) VALUES ("000002", "C1", "W1", "S1", "03/01/2024 00:00:00", "Complete", 3))",
        R"(INSERT INTO Call (CallNr, CustomerID, WorkerNr, EquipmentSerialNr, Date_Time, Status, Priority) VALUES ("000003", "C1", "W9", "S2", "03/31/2024 23:59:59", "Busy", 3))",
        R"(INSERT INTO Call (CallNr, CustomerID, WorkerNr, EquipmentSerialNr, Date_Time, Status, Priority) VALUES ("000004", "C1", "W1", "S1", "04/01/2024 00:00:00", "Complete", 1))",
    };
    for (const char* sql : rows)
        EXEC(db, QString::fromLatin1(sql));

    // Each worker once, 0 for a worker without calls.
    QCOMPARE(db.Rows(DMTables::SqlWorkerText()),
             TRows({{"Ann", "Lee", "1", "W1", "3"}, {"Bob", "Ray", "2", "W2", "0"}}));
    // No owner, no contract: empty joined columns.
    QCOMPARE(db.Rows(DMTables::SqlItemText()),
             TRows({{"S1", "HP", "4000", "Printer", "C1", "Acme", "Gold"},
                    {"S2", "Loose", "", "", "", "<null>", "<null>"}}));
    QCOMPARE(db.Rows(DMTables::SqlServiceContractText()),
             TRows({{"S1", "C1", "Gold", "True", "", "Acme", "HP", "4000"}}));
    QCOMPARE(db.Rows(DMTables::SqlCallText() + "\nWHERE C.CallNr = '000003'"),
             TRows({{"000003", "C1", "W9", "Acme", "S2", "Loose  ", "<null>", "", "",
                     "2024-03-31 23:59:59", "Busy", "3"}}));

    EXEC(
        db,
        R"(INSERT INTO "Representative.db" (RecID, FK_Customer, Name, Surname, Mobile, Email) VALUES ("{R1}", "C1", "Ann", "Lee", "", ""))");
    QCOMPARE(db.Rows(DMTables::SqlRepresentativesText(), QStringLiteral("C1")),
             TRows({{"{R1}", "C1", "Ann", "Lee", "", ""}}));
    QCOMPARE(db.Rows(DMTables::SqlRepresentativesText(), QStringLiteral("C2")), TRows());
}

namespace {

// The query of the calls list's "Service" box, as the list writes it.
const char* const CallService =
    "SELECT C.ProblemDescr AS Problem, C.CustomerID, C.WorkerNr, C.EquipmentSerialNr, "
    "S.ServiceType, W.Name, W.Surname\n"
    "FROM Call C\n"
    "FULL OUTER JOIN Worker W ON (C.WorkerNr = W.WorkerNR)\n"
    "FULL OUTER JOIN ServiceContract S ON ((C.EquipmentSerialNr = S.ItemSerialNr) AND "
    "(C.CustomerID = S.CustomerID))\n";

int CountOf(const QString& text, const QString& what) {
    return int(text.count(what, Qt::CaseInsensitive));
}

// Translates on a thread with a stack of 1 MiB, as reading a statement may go
// one call deeper for each level of parentheses but not for each part of a
// long statement. The translation, or "<error>" and the message raised.
QString TranslatedOnSmallStack(const QString& local) {
    QString result;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            result = Translate(local, ProgramKind).Sql;
        } catch (const EDatabaseError& e) {
            result = QStringLiteral("<error>") + e.Message();
        }
    }));
    thread->setStackSize(1024 * 1024);
    thread->start();
    thread->wait();
    return result;
}

} // namespace

void TestUSqlDialect::FullJoinsNarrowedByTheWhereClause_data() {
    QTest::addColumn<QString>("local");
    QTest::addColumn<bool>("narrowed");
    const QString join = QStringLiteral("SELECT C.CallNr, W.Name FROM Call C FULL OUTER JOIN "
                                        "Worker W ON (C.WorkerNr = W.WorkerNR) ");
    auto row = [&](const char* name, const QString& local, bool narrowed) {
        QTest::newRow(name) << local << narrowed;
    };
    // The WHERE clause keeps only rows with a first-table row.
    row("call service", CallService + QStringLiteral("Where (C.CallNr = :CallNr)"), true);
    row("FULL JOIN, value first, table name",
        "SELECT * FROM Call FULL JOIN Worker ON (Call.WorkerNr = Worker.WorkerNR) "
        "WHERE 2 <= Call.Priority",
        true);
    row("one of several conjuncts",
        join + "WHERE (W.Name IS NULL OR W.Name = 'Ann') AND C.Priority BETWEEN 1 AND 3 AND "
               "((C.Status LIKE 'B%'))",
        true);
    row("NOT IN, lower case",
        "select c.CallNr from Call c full outer join Worker w on (c.WorkerNr = w.WorkerNR) "
        "where c.Status not in ('New', ?)",
        true);
    row("date literal, ORDER BY", join + "WHERE C.Date_Time >= \"03/01/2024\" ORDER BY C.CallNr",
        true);
    // Anything else stays.
    row("no WHERE", join, false);
    row("WHERE only in ON", join + "JOIN Item I ON (I.SerialNr = C.EquipmentSerialNr)", false);
    row("OR", join + "WHERE C.CallNr = '1' OR W.Name = 'Ann'", false);
    row("IS NOT NULL", join + "WHERE C.CallNr IS NOT NULL", false);
    row("right table only", join + "WHERE W.WorkerNR = 'W1'", false);
    row("blank also matches NULL", join + "WHERE C.CallNr = ''", false);
    row("column against column", join + "WHERE C.WorkerNr = W.WorkerNR", false);
    row("in a function", join + "WHERE lower(C.Status) = 'new'", false);
    row("NOT", join + "WHERE NOT C.CallNr = '1'", false);
    row("empty NOT IN", join + "WHERE C.Status NOT IN ()", false);
    row("table name behind an alias", join + "WHERE Call.CallNr = '1'", false);
    row("subquery", join + "WHERE C.CallNr = '1' AND W.WorkerNR IN (SELECT WorkerNr FROM Call)",
        false);
    row("compound", join + "WHERE C.CallNr = '1' UNION " + join + "WHERE C.CallNr = '2'", false);
    row("nested join",
        "SELECT * FROM Worker W FULL JOIN (Call C FULL JOIN Item I ON (C.EquipmentSerialNr = "
        "I.SerialNr)) ON (C.WorkerNr = W.WorkerNR) WHERE W.WorkerNR = 'W1'",
        false);
    // Chains within groups are read at every level; a group that is only
    // part of a comparison is not a chain.
    row("chain in a group in a chain",
        join + "WHERE (W.Name = 'Ann' AND ((W.Surname = 'Lee') AND (C.Status = 'New')))", true);
    row("group compared", join + "WHERE (C.CallNr = '1' AND W.Name = 'x') = (W.Surname = 'y')",
        false);
    // SQLite refuses these; they are passed on as they are.
    row("unclosed parenthesis", join + "WHERE C.CallNr = '1' AND (W.Name = 'Ann'", false);
    row("unopened parenthesis", join + "WHERE C.CallNr = '1' AND W.Name = 'Ann')", false);
}

void TestUSqlDialect::FullJoinsNarrowedByTheWhereClause() {
    QFETCH(QString, local);
    QFETCH(bool, narrowed);
    const QString sql = Translate(local, ProgramKind).Sql;
    const int fulls = CountOf(local, QStringLiteral("FULL "));
    QVERIFY(fulls > 0);
    QCOMPARE(CountOf(sql, QStringLiteral("FULL ")), narrowed ? 0 : fulls);
    QCOMPARE(CountOf(sql, QStringLiteral("LEFT OUTER JOIN")), narrowed ? fulls : 0);
}

// The narrowed query gives the rows the FULL joins give, on a database that
// has the rows a FULL join adds: workers without calls, contracts without
// calls, and calls without a worker or contract.
void TestUSqlDialect::NarrowedFullJoinsGiveTheSameRows() {
    TProgramDb program;
    TDatabase& db = program.Db();
    const char* rows[] = {
        "INSERT INTO Worker (WorkerNR, Name, Surname) VALUES ('W1', 'Ann', 'Lee'), ('W2', 'Bob', "
        "'Ray')",
        "INSERT INTO ServiceContract (ItemSerialNr, CustomerID, ServiceType) VALUES ('S1', 'C1', "
        "'Gold'), ('S9', 'C9', 'Silver')",
        "INSERT INTO Call (CallNr, CustomerID, WorkerNr, EquipmentSerialNr, ProblemDescr, "
        "Priority) VALUES ('000001', 'C1', 'W1', 'S1', 'Jammed', 1), ('000002', 'C1', 'W9', "
        "'S2', 'Smoke', 3), ('000003', 'C2', NULL, 'S1', 'Noise', 2)",
    };
    for (const char* sql : rows)
        db.Exec(QString::fromLatin1(sql));

    using TestSupport::RowTexts;
    // Unfiltered, the FULL joins add rows without a call.
    auto all = db.Prepare(QString::fromLatin1(CallService));
    QVERIFY(all->Sql().contains(QLatin1String("FULL OUTER JOIN")));
    QCOMPARE(RowTexts(*all).size(), 3 + 1 + 1);

    const QString where[] = {
        QStringLiteral("Where (C.CallNr = :CallNr)"),
        QStringLiteral("Where C.Priority >= 2 AND C.CallNr <> :CallNr ORDER BY C.ProblemDescr"),
    };
    for (const QString& clause : where) {
        auto narrowed = db.Prepare(QString::fromLatin1(CallService) + clause);
        QString fullSql = narrowed->Sql();
        QCOMPARE(fullSql.count(QLatin1String("LEFT OUTER JOIN")), 2);
        fullSql.replace(QLatin1String("LEFT OUTER JOIN"), QLatin1String("FULL OUTER JOIN"));
        auto full = db.PrepareNative(fullSql);
        for (const char* callNr : {"000001", "000002", "000003", "000404"}) {
            narrowed->Reset();
            full->Reset();
            narrowed->Bind(QStringLiteral("CallNr"), QString::fromLatin1(callNr));
            full->Bind(QStringLiteral("CallNr"), QString::fromLatin1(callNr));
            QCOMPARE(RowTexts(*narrowed), RowTexts(*full));
        }
    }
}

// Parentheses may nest 200 deep; deeper is refused like any other text that
// cannot be read, closed or not.
void TestUSqlDialect::DeepNestingIsRefused() {
    const QString join = QStringLiteral("SELECT C.CallNr FROM Call C FULL OUTER JOIN Worker W ON "
                                        "(C.WorkerNr = W.WorkerNR) WHERE ");
    auto nested = [&](int depth) {
        return join + QString(depth, '(') + "C.CallNr = '1'" + QString(depth, ')');
    };
    QVERIFY(TranslatedOnSmallStack(nested(200)).contains(QLatin1String("LEFT OUTER JOIN")));
    for (const QString& local : {nested(201), nested(100000), join + QString(201, '(')}) {
        // At the 201st '(', with the statement (as much as a message holds).
        const QString expected = "Parentheses nested too deeply at position " +
                                 QString::number(join.size() + 201) + " of the statement:\n" +
                                 local;
        QCOMPARE(TranslatedOnSmallStack(local),
                 "<error>" + expected.left(UErrors::MaxMessageLength));
    }
}

// A WHERE clause of 100,000 ANDs, every one of which has to be looked at.
void TestUSqlDialect::LongAndChainsAreRead() {
    QString local = QStringLiteral("SELECT C.CallNr FROM Worker W FULL OUTER JOIN Call C ON "
                                   "(C.WorkerNr = W.WorkerNR) WHERE ");
    for (int i = 0; i < 100000; ++i)
        local += QStringLiteral("C.CallNr = '1' AND ");
    const QString byWorker = local + QStringLiteral("(W.WorkerNR = 'W1')");
    QString expected = byWorker;
    expected.replace(
        QLatin1String("FROM Worker W FULL OUTER JOIN Call C"),
        QLatin1String(R"(FROM "db_worker"."Worker" W LEFT OUTER JOIN "db_call"."Call" C)"));
    QCOMPARE(TranslatedOnSmallStack(byWorker), expected);
    QCOMPARE(CountOf(TranslatedOnSmallStack(local + QStringLiteral("W.WorkerNR = ''")),
                     QStringLiteral("FULL OUTER JOIN")),
             1);
}

QTEST_GUILESS_MAIN(TestUSqlDialect)
#include "tst_USqlDialect.moc"
