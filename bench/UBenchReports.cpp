#include "UBenchReports.h"

#include "data/DBTableAccess.h"
#include "data/DMGlobals.h"
#include "data/engine/TDatabase.h"
#include "data/engine/TTable.h"
#include "editors/FCallEdtr.h"
#include "editors/UDBTextControls.h"
#include "exchange/RHistory.h"
#include "exchange/UWABImporter.h"
#include "shell/UDialogs.h"
#include "shell/UErrors.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QUuid>
#include <sqlite3.h>

namespace {

// The item list's call history query, which the history report runs.
const char* const HistorySql =
    "SELECT C.CallNr, C.JobcardNumber, C.OrderNumber, C.WorkerNr, C.Date_Time, C.ProblemDescr, "
    "(W.Name || ' ' || W.Surname) AS WorkerFullName\r\n"
    "FROM Call C\r\n"
    "LEFT OUTER JOIN Worker W ON (W.WorkerNr = C.WorkerNr)\r\n"
    "Where EquipmentSerialNr =  :SerialNr";
// The calls in that history, and how long writing it may take at any size.
constexpr int HistoryCalls = 500;
constexpr double HistoryGoal = 300;

// The address book of the import's figure, as a contacts program exports
// it: five contacts to a company, every 50th contact without one.
constexpr int ImportedContacts = 10000;
constexpr double ImportGoalMs = 2000;

std::vector<TContact> BenchContacts() {
    std::vector<TContact> contacts;
    for (int i = 0; i < ImportedContacts; ++i) {
        const QString n = QString::number(i).rightJustified(5, QLatin1Char('0'));
        contacts.push_back(
            {i % 50 == 49 ? QString() : QStringLiteral("Bench Contacts %1 (Pty) Ltd").arg(i / 5),
             QStringLiteral("Given") + n, QStringLiteral("Surname") + n,
             QStringLiteral("011 555 ") + n, QStringLiteral("011 556 ") + n,
             QStringLiteral("082 555 ") + n, QStringLiteral("contact%1@example.com").arg(n)});
    }
    return contacts;
}

QByteArray VCardsOf(const std::vector<TContact>& contacts) {
    QString text;
    for (const TContact& c : contacts) {
        text += QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nN:%1;%2;;;\r\nFN:%2 %1\r\n")
                    .arg(c.Surname, c.Given);
        if (!c.Company.isEmpty())
            text += QStringLiteral("ORG:%1\r\n").arg(c.Company);
        text += QStringLiteral("TEL;TYPE=WORK,VOICE:%1\r\nTEL;TYPE=WORK,FAX:%2\r\n"
                               "TEL;TYPE=CELL:%3\r\nEMAIL;TYPE=INTERNET:%4\r\nEND:VCARD\r\n")
                    .arg(c.Tel, c.Fax, c.Cell, c.Email);
    }
    return text.toUtf8();
}

// The dialog seam while the call editor is measured: its window is handed to
// `Modal`; any box means something went wrong.
class TBenchDialogs : public IDialogs {
public:
    std::function<int(QWidget*)> Modal;

    TMsgButton MessageBox(TMsgKind, const QString&, const QString& text, TMsgButtons) override {
        Die(QStringLiteral("the call editor said: ") + text);
    }
    bool InputQuery(const QString&, const QString& prompt, QString&) override {
        Die(QStringLiteral("the call editor asked: ") + prompt);
    }
    QString OpenFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString FolderName(const QString&, const QString&) override { return {}; }
    int ExecModal(QObject* window, const std::function<int()>&) override {
        return Modal(qobject_cast<QWidget*>(window));
    }
};

} // namespace

TReportFigures::TReportFigures(TdmlGlobals& dm, const QString& scratch, int repeat)
    : m_Dm(dm), m_Scratch(scratch), m_Repeat(repeat), m_Contacts(BenchContacts()) {}

void TReportFigures::MeasureProgram() {
    try {
        MeasureCallEditor();
        MeasureHistory();
        MeasureImport();
    } catch (const EError& e) {
        Die(e.Message());
    }
}

void TReportFigures::MeasureCallEditor() {
    // (14) Opening the call editor on the calls list's current call, to the
    // window shown with its item, customer, worker and comment lines; (15)
    // then a new status saved with Apply: the row, its comment line, and the
    // calls list read again, still on that call.
    TDatabase& db = m_Dm.Connection();
    m_InsertLineSql = QStringLiteral("INSERT INTO %1 (CallNr, ID, DateTime, CommentLine) VALUES "
                                     "(?1, ?2, ?3, ?4)")
                          .arg(Qualified(db, "CallComments"));
    std::vector<QString> all;
    auto query = db.PrepareNative(
        QStringLiteral("SELECT CallNr FROM %1 WHERE CustomerID IN (SELECT CustomerID FROM "
                       "%2) ORDER BY CallNr")
            .arg(Qualified(db, "Call"), Qualified(db, "Customer")));
    while (query->Step())
        all.push_back(query->Text(0));
    TBenchDialogs dialogs;
    IDialogs* previous = SetDialogs(&dialogs);
    TfrmCallEdtr editor(&m_Dm);
    for (TQuery* lookup : {editor.sqlItem, editor.sqlCustomer, editor.sqlWorker, editor.sqlComments,
                           editor.sqlServiceContract})
        m_LookupSql.push_back(db.Prepare(lookup->SQL())->Sql());
    m_UpdateStatusSql =
        db.Prepare(QStringLiteral("UPDATE Call SET Status = :Status WHERE CallNr = :CallNr"))
            ->Sql();
    TQuery& list = *m_Dm.sqlCall;
    // The lists catch up with the calls added before first.
    m_Dm.ApplyChanges();
    for (const QString& callNr : Spread(all, m_Repeat)) {
        if (!list.Locate(QStringLiteral("CallNr"), callNr))
            Die(QStringLiteral("call %1 is not in the list").arg(callNr));
        TTable& table = *m_Dm.tblCall;
        QElapsedTimer opening;
        dialogs.Modal = [&](QWidget* window) {
            window->show();
            QCoreApplication::processEvents();
            m_EditorOpens.push_back(double(opening.nsecsElapsed()) / 1e6);
            if (editor.edtItemSerialNr->text() !=
                table.FieldByName(QStringLiteral("EquipmentSerialNr")).AsString())
                Die(QStringLiteral("the editor does not show call %1").arg(callNr));
            m_Edited.push_back({callNr, editor.edtCustomerID->text(),
                                editor.edtItemSerialNr->text(), editor.edtWorkerNr->text()});
            const QString status = editor.cbxStatus->currentText() == QLatin1String("Busy")
                                       ? QStringLiteral("Pending")
                                       : QStringLiteral("Busy");
            m_NewStatus.push_back(status);
            m_StatusApplies.push_back(TimeMs([&] {
                editor.cbxStatus->setCurrentText(status);
                editor.btnApply->click();
                m_Dm.ApplyChanges();
            }));
            if (list.FieldByName(QStringLiteral("CallNr")).AsString() != callNr ||
                list.FieldByName(QStringLiteral("Status")).AsString() != status)
                Die(QStringLiteral("the calls list left call %1").arg(callNr));
            editor.btnCancel->click();
            return int(QDialog::Rejected);
        };
        opening.start();
        if (!m_Dm.CallsAccess()->SyncTableToQuery())
            Die(QStringLiteral("call %1 is not in the table").arg(callNr));
        editor.SetEditMode(true);
        editor.Execute();
    }
    SetDialogs(previous);
}

void TReportFigures::MeasureHistory() {
    // (13) The call history of an item with 500 calls written as a PDF file,
    // as the item list's Print command runs it but without the preview: the
    // item with the most calls is given more, up to 500.
    TDatabase& db = m_Dm.Connection();
    {
        auto most = db.PrepareNative(
            QStringLiteral("SELECT EquipmentSerialNr, COUNT(*), MIN(WorkerNr) FROM %1 "
                           "GROUP BY EquipmentSerialNr ORDER BY 2 DESC LIMIT 1")
                .arg(Qualified(db, "Call")));
        if (!most->Step())
            Die(QStringLiteral("no item has calls"));
        m_HistoryItem = most->Text(0);
        const qint64 has = most->Integer(1);
        const QString worker = most->Text(2);
        const QString now = UStorage::DateTimeText(QDateTime::currentDateTime());
        QStringList rows;
        for (qint64 n = has; n < HistoryCalls; ++n)
            rows << QStringLiteral("('H%1', '%2', '%3', '%4', 'Feeds two sheets at once; "
                                   "rollers worn, replaced and tested.')")
                        .arg(n, 6, 10, QLatin1Char('0'))
                        .arg(USqlDialect::EscapeQuotes(m_HistoryItem),
                             USqlDialect::EscapeQuotes(worker), now);
        if (!rows.isEmpty())
            m_Dm.ExecSQL(QStringLiteral("INSERT INTO Call (CallNr, EquipmentSerialNr, WorkerNr, "
                                        "Date_Time, ProblemDescr) VALUES ") +
                         rows.join(QStringLiteral(", ")));
    }
    m_Dm.ApplyChanges();
    if (!m_Dm.sqlItem->Locate(QStringLiteral("SerialNr"), m_HistoryItem))
        Die(QStringLiteral("item %1 is not in the item list").arg(m_HistoryItem));
    m_HistorySql = db.Prepare(QLatin1String(HistorySql))->Sql();
    TrptHistory report(&m_Dm);
    const QString pdf = QDir(m_Scratch).filePath(QStringLiteral("history.pdf"));
    const QString company = m_Dm.sqlItem->FieldByName(QStringLiteral("CompanyName")).AsString();
    for (int run = 0; run < m_Repeat; ++run)
        m_Histories.push_back(TimeMs([&] {
            report.RunToPdf(QLatin1String(HistorySql), m_HistoryItem, QString(), company, pdf);
        }));
    if (QFileInfo(pdf).size() == 0)
        Die(QStringLiteral("the history report wrote nothing"));
}

void TReportFigures::MeasureImport() {
    TDatabase& db = m_Dm.Connection();
    m_CompanySql = QStringLiteral("SELECT * FROM %1 WHERE CompanyName = ?1 COLLATE NOCASE AND "
                                  "CompanyName = ?1")
                       .arg(Qualified(db, "Customer"));
    m_FreeCustomerSql = QStringLiteral("SELECT CustomerID FROM %1 WHERE CustomerID = ?1")
                            .arg(Qualified(db, "Customer"));
    m_InsertCustomerSql =
        QStringLiteral("INSERT INTO %1 (CustomerID, CompanyName, Email, Tel, Fax, Cell, "
                       "FirstName, LastName) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)")
            .arg(Qualified(db, "Customer"));
    m_InsertRepresentativeSql =
        QStringLiteral("INSERT INTO %1 (RecID, FK_Customer, Name, Surname, Mobile, Email) "
                       "VALUES (?1, ?2, ?3, ?4, ?5, ?6)")
            .arg(Qualified(db, "Representative"));

    // (16) Importing the address book, with the database closed meanwhile as
    // the Import command has it.
    const QString book = QDir(m_Scratch).filePath(QStringLiteral("contacts.vcf"));
    QFile file(book);
    if (!file.open(QIODevice::WriteOnly) || file.write(VCardsOf(m_Contacts)) < 0)
        Die(QStringLiteral("cannot write ") + book);
    file.close();
    m_Dm.SetDatabaseActive(false);
    CWABIterator addressBook;
    addressBook.SetAddressBookFile(book);
    UAbstract::TProgress progress;
    m_ImportTime = TimeMs([&] {
        CWABImporter importer(m_Dm);
        addressBook.Iterate(&importer, &progress);
        m_Imported = importer.ContactsAdded();
    });
}

// ---------------------------------------------------------------------------
// The floors.

void TReportFigures::MeasureHistoryFloor(const QString& programCopy) {
    // The history's statement, every row read.
    TFloor historyFloor(programCopy);
    for (int run = 0; run < m_Repeat; ++run)
        m_HistoryFloors.push_back(TimeMs([&] {
            sqlite3_stmt* stmt = historyFloor.Prepare(m_HistorySql);
            TFloor::BindText(stmt, QStringLiteral("SerialNr"), m_HistoryItem);
            while (TFloor::StepRow(stmt)) {
            }
            sqlite3_finalize(stmt);
        }));
}

void TReportFigures::MeasureFloors(TFloor& copyFloor, const QString& callTableRead,
                                   const QString& callListSql) {
    MeasureEditorFloors(copyFloor, callTableRead, callListSql);
    MeasureImportFloor(copyFloor);
}

// Opening the editor: the call's row and the five lookups; the status: the
// row written, its comment line, and the calls list's first screen.
void TReportFigures::MeasureEditorFloors(TFloor& copyFloor, const QString& callTableRead,
                                         const QString& callListSql) {
    for (size_t k = 0; k < m_Edited.size(); ++k) {
        const TCallKeys& call = m_Edited[k];
        m_OpenFloors.push_back(TimeMs([&] {
            copyFloor.Step(callTableRead + QStringLiteral(" LIMIT 1"),
                           [](sqlite3_stmt*, qint64) { return true; });
            for (const QString& sql : m_LookupSql) {
                sqlite3_stmt* stmt = copyFloor.Prepare(sql);
                TFloor::BindText(stmt, QStringLiteral("EquipmentSerialNr"), call.Item);
                TFloor::BindText(stmt, QStringLiteral("CustomerID"), call.Customer);
                TFloor::BindText(stmt, QStringLiteral("WorkerNr"), call.Worker);
                TFloor::BindText(stmt, QStringLiteral("CallNr"), call.CallNr);
                while (TFloor::StepRow(stmt)) {
                }
                sqlite3_finalize(stmt);
            }
        }));
        m_StatusFloors.push_back(TimeMs([&] {
            sqlite3_stmt* update = copyFloor.Prepare(m_UpdateStatusSql);
            TFloor::BindText(update, QStringLiteral("Status"), m_NewStatus[k]);
            TFloor::BindText(update, QStringLiteral("CallNr"), call.CallNr);
            copyFloor.Run(update, {});
            sqlite3_finalize(update);
            sqlite3_stmt* line = copyFloor.Prepare(m_InsertLineSql);
            copyFloor.Run(line, {call.CallNr, QUuid::createUuid().toString(QUuid::WithBraces),
                                 UStorage::DateTimeText(QDateTime::currentDateTime()),
                                 QStringLiteral("Status changed to ") + m_NewStatus[k]});
            sqlite3_finalize(line);
            copyFloor.Step(callListSql,
                           [](sqlite3_stmt*, qint64 rows) { return rows >= ShownRows; });
        }));
    }
}

// The import's statements: whether the company is known, a free ID for a
// new one, the customer or the representative; one transaction.
void TReportFigures::MeasureImportFloor(TFloor& copyFloor) {
    m_ImportFloor = TimeMs([&] {
        copyFloor.Exec(QStringLiteral("BEGIN"));
        sqlite3_stmt* company = copyFloor.Prepare(m_CompanySql);
        sqlite3_stmt* freeId = copyFloor.Prepare(m_FreeCustomerSql);
        sqlite3_stmt* customer = copyFloor.Prepare(m_InsertCustomerSql);
        sqlite3_stmt* representative = copyFloor.Prepare(m_InsertRepresentativeSql);
        qint64 next = 1;
        for (const TContact& c : m_Contacts) {
            if (c.Company.isEmpty())
                continue;
            const QByteArray name = c.Company.toUtf8();
            sqlite3_bind_text(company, 1, name.constData(), -1, SQLITE_TRANSIENT);
            QString owner;
            if (TFloor::StepRow(company))
                owner = QString::fromUtf8(reinterpret_cast<const char*>(
                    sqlite3_column_text(company, TFloor::Column(company, "CustomerID"))));
            sqlite3_reset(company);
            if (!owner.isEmpty()) {
                copyFloor.Run(representative,
                              {QUuid::createUuid().toString(QUuid::WithBraces).toUpper(), owner,
                               c.Given, c.Surname, c.Cell, c.Email});
                continue;
            }
            for (bool taken = true; taken; ++next) {
                owner = QStringLiteral("CUST") + QString::number(next).rightJustified(4, '0');
                const QByteArray id = owner.toUtf8();
                sqlite3_bind_text(freeId, 1, id.constData(), -1, SQLITE_TRANSIENT);
                taken = TFloor::StepRow(freeId);
                sqlite3_reset(freeId);
            }
            copyFloor.Run(customer,
                          {owner, c.Company, c.Email, c.Tel, c.Fax, c.Cell, c.Given, c.Surname});
        }
        for (sqlite3_stmt* stmt : {company, freeId, customer, representative})
            sqlite3_finalize(stmt);
        copyFloor.Exec(QStringLiteral("COMMIT"));
    });
}

// ---------------------------------------------------------------------------

std::vector<TFigure> TReportFigures::Figures(const TGoals& goals) const {
    std::vector<TFigure> figures;
    figures.push_back(Figure(
        QStringLiteral("13"),
        QStringLiteral("history report of an item with %1 calls to PDF").arg(HistoryCalls),
        Median(m_Histories), Median(m_HistoryFloors), HistoryGoal, SlowestRemark(m_Histories)));
    figures.push_back(Figure(QStringLiteral("14"),
                             QStringLiteral("opening the call editor on a call"),
                             Median(m_EditorOpens), Median(m_OpenFloors), goals.OpenCallEditor,
                             SlowestRemark(m_EditorOpens)));
    figures.push_back(
        Figure(QStringLiteral("15"), QStringLiteral("a status change saved with Apply"),
               Median(m_StatusApplies), Median(m_StatusFloors), goals.StatusApplied,
               QStringLiteral("(row, comment line, list refreshed on the same row; slowest %1 ms)")
                   .arg(Slowest(m_StatusApplies), 0, 'f', 1)));
    figures.push_back(Figure(QStringLiteral("16"),
                             QStringLiteral("import 10,000 contacts from a vCard file"),
                             m_ImportTime, m_ImportFloor, ImportGoalMs,
                             QStringLiteral("(one run; %1 added)").arg(m_Imported)));
    return figures;
}
