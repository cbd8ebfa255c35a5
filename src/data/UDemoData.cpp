#include "data/UDemoData.h"

#include "data/DMGlobals.h"
#include "data/DMTables.h"
#include "data/UDemoRows.h"
#include "data/UDemoWords.h"
#include "data/engine/TDatabase.h"
#include "data/engine/TTableWriter.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QUuid>
#include <numeric>
#include <sqlite3.h>
#include <vector>

namespace UDemoData {

namespace {

using namespace Words;

// A bill time of so many half hours, as the bill-time field stores it:
// "hhh:mm:ss" with the unused hour digits blank.
QString BillTime(qint64 halfHours) {
    return QStringLiteral("%1:%2:00")
        .arg(halfHours / 2, 3)
        .arg((halfHours % 2) * 30, 2, 10, QLatin1Char('0'));
}

// ---------------------------------------------------------------------------
// Random numbers. SplitMix64 is defined by its arithmetic alone, so the rows
// are the same with every compiler and library (the std:: distributions are
// not); the few distributions needed are written out here.

quint64 Mix(quint64 z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// Streams: one per record kind, and within it one per record.
enum TStream : quint64 {
    CustomerStream = 1,
    ItemStream,
    ContractStream,
    WorkerStream,
    CallStream,
    CommentStream,
    RemarkStream,
    RepresentativeStream,
};

class TRandom {
public:
    TRandom(quint64 seed, TStream stream, quint64 index)
        : m_State(Mix(Mix(seed ^ (quint64(stream) << 56)) + index)) {}

    quint64 Next() {
        quint64 z = (m_State += 0x9E3779B97F4A7C15ULL);
        return Mix(z);
    }
    // 0 <= result < n (n > 0).
    qint64 Below(qint64 n) {
        return qint64((static_cast<unsigned __int128>(Next()) * quint64(n)) >> 64);
    }
    qint64 Between(qint64 low, qint64 high) { return low + Below(high - low + 1); }
    double Unit() { return double(Next() >> 11) * 0x1.0p-53; }
    bool Chance(double p) { return Unit() < p; }
    // Favours low indices: the first tenth gets about a third of the picks.
    qint64 Skewed(qint64 n) { return std::min<qint64>(n - 1, qint64(n * Unit() * Unit())); }
    template <typename T, size_t N>
    const T& Pick(const T (&list)[N]) {
        return list[Below(N)];
    }
    QString Digits(int count) {
        QString text;
        for (int i = 0; i < count; ++i)
            text += QChar(u'0' + char16_t(Below(10)));
        return text;
    }

private:
    quint64 m_State;
};

QString Fit(const QString& text, int width) {
    return text.size() <= width ? text : text.left(width).trimmed();
}

QString Padded(qint64 number, int width) {
    return QStringLiteral("%1").arg(number, width, 10, QLatin1Char('0'));
}

// A permutation of 0..n-1 (n > 0): i -> (i * step + offset) mod n with step
// coprime to n, so every index is hit once.
class TPermutation {
public:
    TPermutation(qint64 n, quint64 seed) : m_N(std::max<qint64>(n, 1)) {
        m_Step = qint64(Mix(seed) % quint64(m_N)) | 1;
        while (std::gcd(m_Step, m_N) != 1)
            m_Step += 1;
        m_Offset = qint64(Mix(seed + 1) % quint64(m_N));
    }
    qint64 operator()(qint64 i) const {
        return qint64((static_cast<unsigned __int128>(i) * quint64(m_Step) + quint64(m_Offset)) %
                      quint64(m_N));
    }

private:
    qint64 m_N;
    qint64 m_Step = 1;
    qint64 m_Offset = 0;
};

// ---------------------------------------------------------------------------
// Dates: everything lies between these two days, whatever the day today.

const QDate FirstDay(2006, 1, 2);
const QDate LastDay(2025, 12, 31);

// A moment of the period as a date-time; written as the engine writes any
// date-time value. UTC, so that no local clock change skips or repeats an hour.
QDateTime Stamp(qint64 secondsFromStart) {
    static const QDateTime start(FirstDay, QTime(0, 0), Qt::UTC);
    return start.addSecs(secondsFromStart);
}

// ---------------------------------------------------------------------------
// Calls: what the comment lines need to know of each call is planned first,
// from the start of the call's own stream.

enum TStatus : quint8 { New, Busy, Pending, AwaitingParts, Complete };

const char* const StatusNames[] = {"New", "Busy", "Pending", "Awaiting Parts", "Complete"};

// The states a call went through after "New", ending in its status.
struct TPath {
    quint8 Count;
    TStatus Steps[4];
};

const TPath CompletePaths[] = {
    {2, {Busy, Complete}},
    {4, {Busy, AwaitingParts, Busy, Complete}},
    {4, {Busy, Pending, Busy, Complete}},
    {1, {Complete}},
};

struct TCallPlan {
    qint64 Seconds = 0; // logged, from FirstDay
    TStatus Status = New;
    TPath Path{0, {}};
};

TCallPlan PlanCall(TRandom& r, qint64 index, qint64 calls) {
    TCallPlan plan;
    const qint64 days = FirstDay.daysTo(LastDay) + 1;
    // Spread evenly over the period, in order of call number, in working hours.
    const double at = (double(index) + r.Unit()) / double(calls) * double(days);
    const qint64 day = std::min<qint64>(days - 1, qint64(at));
    const double withinDay = at - double(day);
    plan.Seconds = day * 86400 + 7 * 3600 + 1800 + qint64(withinDay * 9.5 * 3600);

    const qint64 ageDays = days - 1 - day;
    const double u = r.Unit();
    if (ageDays < 3)
        plan.Status = u < 0.5 ? New : u < 0.8 ? Busy : u < 0.9 ? Pending : AwaitingParts;
    else if (ageDays < 30)
        plan.Status = u < 0.1    ? New
                      : u < 0.35 ? Busy
                      : u < 0.5  ? Pending
                      : u < 0.65 ? AwaitingParts
                                 : Complete;
    else if (ageDays < 90)
        plan.Status = u < 0.8 ? Complete : u < 0.9 ? AwaitingParts : Pending;
    else
        plan.Status = u < 0.99 ? Complete : u < 0.995 ? Pending : Busy;

    const double v = r.Unit();
    switch (plan.Status) {
    case New:
        plan.Path = {0, {}};
        break;
    case Busy:
        plan.Path = {1, {Busy}};
        break;
    case Pending:
        plan.Path = v < 0.6 ? TPath{2, {Busy, Pending}} : TPath{1, {Pending}};
        break;
    case AwaitingParts:
        plan.Path = {2, {Busy, AwaitingParts}};
        break;
    case Complete:
        plan.Path = v < 0.7    ? CompletePaths[0]
                    : v < 0.85 ? CompletePaths[1]
                    : v < 0.95 ? CompletePaths[2]
                               : CompletePaths[3];
        break;
    }
    return plan;
}

QString CountryList() {
    QFile file(QStringLiteral(":/korvane/Countries.dat"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("South Africa");
    return QString::fromUtf8(file.readAll());
}

QString AsciiLower(QString text) {
    text = text.toLower();
    text.remove(QLatin1Char(' '));
    text.remove(QLatin1Char('&'));
    text.remove(QLatin1Char('('));
    text.remove(QLatin1Char(')'));
    return text;
}

QString Phone(TRandom& r) {
    return QStringLiteral("0%1 %2 %3").arg(r.Between(10, 89)).arg(r.Digits(3), r.Digits(4));
}

QString Mobile(TRandom& r) {
    return QStringLiteral("0%1 %2 %3").arg(r.Between(60, 84)).arg(r.Digits(3), r.Digits(4));
}

QString Guid(TRandom& r) {
    const quint64 high = r.Next();
    return GuidText(high, r.Next());
}

// What the items and calls need to know of a customer.
struct TCustomerInfo {
    QString ID;
    bool Company = false;
};

// ---------------------------------------------------------------------------
// The tables, in the order in which later ones need the keys of earlier ones.

class TFiller {
public:
    TFiller(TDatabase& db, const TSizes& sizes, quint64 seed, const TProgress& progress,
            TReport& report)
        : m_Db(db), m_Batch(db), m_Sizes(sizes), m_Seed(seed), m_Progress(progress),
          m_Report(report) {}

    void Run() {
        m_Timer.start();
        Customers();
        Workers();
        Items();
        Contracts();
        Calls();
    }

private:
    // Writes the rows 0 to count - 1 of `table`, each by `row(i, writer)`,
    // commits them and reports the table; returns the rows written.
    template <typename TRow>
    qint64 Table(const QString& table, const char* columns, qint64 count, TRow&& row) {
        TRowWriter writer(m_Db, m_Batch, table, columns);
        for (qint64 i = 0; i < count; ++i)
            row(i, writer);
        m_Batch.Finish();
        if (m_Progress)
            m_Progress(table, writer.Rows(), m_Timer.elapsed());
        m_Timer.restart();
        return writer.Rows();
    }
    // A table filled together with the one just reported.
    void ReportAlso(const TRowWriter& writer) {
        if (m_Progress)
            m_Progress(writer.Table(), writer.Rows(), 0);
    }

    void Customers();
    void Workers();
    void Items();
    void Contracts();
    void Calls();

    TDatabase& m_Db;
    TBatch m_Batch;
    const TSizes m_Sizes;
    const quint64 m_Seed;
    const TProgress& m_Progress;
    TReport& m_Report;
    QElapsedTimer m_Timer;

    std::vector<TCustomerInfo> m_Customers;
    std::vector<QString> m_Workers;
    std::vector<bool> m_Employed;
    std::vector<qint32> m_Owners; // per item, index into m_Customers
    std::vector<QString> m_Serials;
    std::vector<qint8> m_Metered;
};

// Companies with representatives, and private persons.
void TFiller::Customers() {
    QStringList countries = CountryList().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& country : countries)
        country = country.trimmed();
    const QString home = countries.contains(QStringLiteral("South Africa"))
                             ? QStringLiteral("South Africa")
                             : countries.value(0);

    m_Customers.resize(size_t(m_Sizes.Customers));
    TRowWriter reps(m_Db, m_Batch, QStringLiteral("Representative"),
                    "RecID,FK_Customer,Name,Surname,Mobile,Email");
    m_Report.Written.Customers = Table(
        QStringLiteral("Customer"),
        "CustomerID,LastName,FirstName,CompanyName,Tel,Fax,Cell,Email,PhysicalAddr,PhysicalCode,"
        "PostalAddr,PostalCode,Country,Notes",
        m_Sizes.Customers, [&](qint64 i, TRowWriter& writer) {
            TRandom r(m_Seed, CustomerStream, quint64(i));
            TCustomerInfo& info = m_Customers[size_t(i)];
            info.ID = QStringLiteral("CUST") + Padded(i + 1, 4);
            info.Company = r.Chance(0.7);
            const QString first = QLatin1String(r.Pick(FirstNames));
            const QString last = QLatin1String(r.Pick(LastNames));
            QString company;
            QString domain;
            if (info.Company) {
                company = QStringLiteral("%1 %2 %3")
                              .arg(QLatin1String(r.Pick(CompanyWords)),
                                   QLatin1String(r.Pick(CompanyTrades)),
                                   QLatin1String(r.Pick(CompanySuffixes)))
                              .trimmed();
                domain =
                    AsciiLower(company.section(QLatin1Char(' '), 0, 1)) + QStringLiteral(".co.za");
            } else {
                company = last + QStringLiteral(", ") + first;
                domain = QLatin1String(r.Chance(0.5) ? "webmail.co.za" : "mweb.co.za");
            }
            const QString email =
                AsciiLower(first) + QLatin1Char('.') + AsciiLower(last) + QLatin1Char('@') + domain;
            const QString town = QLatin1String(r.Pick(Towns));
            const QString street = QStringLiteral("%1 %2, %3")
                                       .arg(r.Between(1, 400))
                                       .arg(QLatin1String(r.Pick(Streets)), town);
            const QString code = r.Digits(4);
            const QString postal =
                r.Chance(0.6) ? street
                              : QStringLiteral("PO Box %1, %2").arg(r.Between(1, 9999)).arg(town);
            const QString country =
                r.Chance(0.9) ? home
                              : countries.value(r.Below(std::max<qsizetype>(countries.size(), 1)));
            writer.Write({info.ID, last, first, Fit(company, 40), Phone(r),
                          info.Company && r.Chance(0.4) ? Phone(r) : QString(), Mobile(r),
                          Fit(email, 50), Fit(street, 80), code, Fit(postal, 80),
                          postal == street ? code : r.Digits(4), Fit(country, 20),
                          QLatin1String(r.Pick(Notes))});

            const qint64 representatives = info.Company ? r.Between(1, 3) : (r.Chance(0.1) ? 1 : 0);
            for (qint64 k = 0; k < representatives; ++k) {
                TRandom g(m_Seed, RepresentativeStream, quint64(i) * 8 + quint64(k));
                const QString name = QLatin1String(g.Pick(FirstNames));
                const QString surname = QLatin1String(g.Pick(LastNames));
                const QString guid = Guid(g);
                reps.Write({guid, info.ID, name, surname, g.Chance(0.85) ? Mobile(g) : QString(),
                            g.Chance(0.8) ? Fit(AsciiLower(name) + QLatin1Char('@') + domain, 60)
                                          : QString()});
            }
        });
    m_Report.Representatives = reps.Rows();
    ReportAlso(reps);
}

void TFiller::Workers() {
    m_Workers.resize(size_t(m_Sizes.Workers));
    m_Employed.resize(size_t(m_Sizes.Workers));
    m_Report.Written.Workers = Table(
        QStringLiteral("Worker"), "WorkerNR,Surname,Name,IDTypeIsPassport,CurrentlyEmployed,IDNr",
        m_Sizes.Workers, [&](qint64 i, TRowWriter& writer) {
            TRandom r(m_Seed, WorkerStream, quint64(i));
            m_Workers[size_t(i)] = QStringLiteral("W") + Padded(i + 1, 3);
            const bool passport = r.Chance(0.15);
            m_Employed[size_t(i)] = r.Chance(0.8);
            const QString idNr = passport ? QStringLiteral("A") + r.Digits(8) : r.Digits(13);
            writer.Write({m_Workers[size_t(i)], QLatin1String(r.Pick(LastNames)),
                          QLatin1String(r.Pick(FirstNames)), passport, bool(m_Employed[size_t(i)]),
                          idNr});
        });
}

// Serial numbers are a brand code and a number unique to the item.
void TFiller::Items() {
    m_Owners.resize(size_t(m_Sizes.Items));
    m_Serials.resize(size_t(m_Sizes.Items));
    m_Metered.resize(size_t(m_Sizes.Items));
    const TPermutation numbers(10000000, m_Seed ^ 0x5E41A1ULL);
    m_Report.Written.Items =
        Table(QStringLiteral("Item"), "SerialNr,Brand,Model,Description,Owner", m_Sizes.Items,
              [&](qint64 i, TRowWriter& writer) {
                  TRandom r(m_Seed, ItemStream, quint64(i));
                  const TBrand& brand = r.Pick(Brands);
                  const TCategory& category = Categories[brand.Category];
                  // Companies own most of the equipment, and a few own a lot of it.
                  qint64 owner = r.Skewed(m_Sizes.Customers);
                  if (!m_Customers[size_t(owner)].Company && r.Chance(0.6))
                      owner = r.Below(m_Sizes.Customers);
                  m_Owners[size_t(i)] = qint32(owner);
                  m_Metered[size_t(i)] = category.Metered;
                  m_Serials[size_t(i)] =
                      QLatin1String(brand.Code) + Padded(numbers(i % 10000000), 7) +
                      (i >= 10000000 ? QString::number(i / 10000000) : QString());
                  const QString model = QStringLiteral("%1-%2%3")
                                            .arg(QLatin1String(brand.Code).left(2))
                                            .arg(r.Between(1, 60) * 50)
                                            .arg(QChar(u'A' + char16_t(r.Below(6))));
                  QString description = QLatin1String(category.Descriptions[r.Below(4)]);
                  if (r.Chance(0.2))
                      description += QStringLiteral(", installed %1").arg(r.Between(2000, 2025));
                  writer.Write({m_Serials[size_t(i)], QLatin1String(brand.Name), model, description,
                                m_Customers[size_t(owner)].ID});
              });
}

// Distinct items, held by their owners (now and then by another customer, a
// leasing company for instance).
void TFiller::Contracts() {
    const TPermutation items(m_Sizes.Items, m_Seed ^ 0xC0274AC7ULL);
    m_Report.Written.Contracts =
        Table(QStringLiteral("ServiceContract"),
              "ItemSerialNr,CustomerID,ServiceType,Comments,StillValid", m_Sizes.Contracts,
              [&](qint64 i, TRowWriter& writer) {
                  TRandom r(m_Seed, ContractStream, quint64(i));
                  const qint64 item = items(i);
                  const qint64 holder =
                      r.Chance(0.95) ? qint64(m_Owners[size_t(item)]) : r.Below(m_Sizes.Customers);
                  writer.Write({m_Serials[size_t(item)], m_Customers[size_t(holder)].ID,
                                QLatin1String(r.Pick(ServiceTypes)),
                                QLatin1String(r.Pick(ContractComments)), r.Chance(0.8)});
              });
}

// The comment lines are planned first: every call gets "Call Created." and a
// status line for each state it went through; when the lines asked for do not
// cover that, calls get only the line of their final state; what is left over
// is spread as remarks.
void TFiller::Calls() {
    const qint64 calls = m_Sizes.Calls;
    std::vector<TCallPlan> plans(static_cast<size_t>(calls));
    qint64 full = 0;
    qint64 direct = 0;
    for (qint64 i = 0; i < calls; ++i) {
        TRandom r(m_Seed, CallStream, quint64(i));
        plans[size_t(i)] = PlanCall(r, i, calls);
        full += 1 + plans[size_t(i)].Path.Count;
        direct += 1 + (plans[size_t(i)].Status != New ? 1 : 0);
    }
    qint64 lines = m_Sizes.CommentLines;
    bool shortPaths = false;
    if (lines < full) {
        shortPaths = true;
        if (lines < direct) {
            m_Report.Notes << QStringLiteral("%1 comment lines instead of %2: every call has its "
                                             "\"Call Created.\" line and the line of its state.")
                                  .arg(direct)
                                  .arg(lines);
            lines = direct;
        }
        for (TCallPlan& plan : plans)
            if (plan.Status != New)
                plan.Path = {1, {plan.Status}};
    }
    std::vector<quint16> remarks(static_cast<size_t>(calls));
    {
        TRandom r(m_Seed, RemarkStream, 0);
        const qint64 extra = lines - (shortPaths ? direct : full);
        for (qint64 k = 0; k < extra && calls > 0; ++k) {
            qint64 call = r.Below(calls);
            while (remarks[size_t(call)] == 0xFFFF)
                call = (call + 1) % calls;
            ++remarks[size_t(call)];
        }
    }

    TRowWriter comments(m_Db, m_Batch, QStringLiteral("CallComments"),
                        "CallNr,ID,DateTime,CommentLine");
    const qint64 lastSecond = (FirstDay.daysTo(LastDay) + 1) * 86400 - 1; // billing cut-off
    // Some items are in for repairs far more often than others.
    const TPermutation popular(m_Sizes.Items, m_Seed ^ 0x17E45ULL);
    m_Report.Written.Calls = Table(
        QStringLiteral("Call"),
        "CallNr,CustomerID,WorkerNr,EquipmentSerialNr,OrderNumber,JobcardNumber,Date_Time,Status,"
        "Priority,Date_TimeFinished,ProblemDescr,Comments,PartsUsedReplaced,BillTime,Billed,"
        "Callout,StorageArea,MeterReading",
        calls, [&](qint64 i, TRowWriter& writer) {
            TRandom r(m_Seed, CallStream, quint64(i));
            PlanCall(r, i, calls); // the same draws as in the plan
            const TCallPlan& plan = plans[size_t(i)];
            // Numbered as the program numbers new calls: six digits or more.
            const QString callNr = Padded(i + 1, 6);
            const qint64 item = popular(r.Skewed(m_Sizes.Items));
            const qint64 customer =
                r.Chance(0.92) ? qint64(m_Owners[size_t(item)]) : r.Below(m_Sizes.Customers);
            qint64 worker = r.Below(m_Sizes.Workers);
            if (!m_Employed[size_t(worker)] && r.Chance(0.7))
                worker = r.Below(m_Sizes.Workers);
            // Priorities 1 to 5, the range the call editor offers; mostly 1.
            const double p = r.Unit();
            const qint64 priority = p < 0.6 ? 1 : p < 0.8 ? 2 : p < 0.9 ? 3 : r.Between(4, 5);

            // The comment lines, in time order, and the time the call finished
            // (the lines of the last calls may run a few days past the period).
            TRandom c(m_Seed, CommentStream, quint64(i));
            qint64 when = plan.Seconds;
            int remarksLeft = remarks[size_t(i)];
            const int stepCount = plan.Path.Count;
            const auto writeLine = [&](const QString& text) {
                comments.Write({callNr, Guid(c), Stamp(when), text});
                when += c.Between(600, 3 * 86400);
            };
            writeLine(QStringLiteral("Call Created."));
            qint64 finished = plan.Seconds;
            // Remarks go between the status lines, the rest before the last.
            for (int step = 0; step < stepCount; ++step) {
                const int here =
                    step == stepCount - 1 ? remarksLeft : int(c.Below(remarksLeft + 1));
                for (int k = 0; k < here; ++k)
                    writeLine(QLatin1String(c.Pick(Remarks)));
                remarksLeft -= here;
                finished = when;
                writeLine(QStringLiteral("Status changed to ") +
                          QLatin1String(StatusNames[plan.Path.Steps[step]]));
            }
            for (; remarksLeft > 0; --remarksLeft)
                writeLine(QLatin1String(c.Pick(Remarks)));
            const bool complete = plan.Status == Complete;

            writer.Write({callNr, m_Customers[size_t(customer)].ID, m_Workers[size_t(worker)],
                          m_Serials[size_t(item)],
                          r.Chance(0.6) ? QStringLiteral("PO") + r.Digits(6) : QString(),
                          QStringLiteral("JC") + Padded(i + 1, 7), Stamp(plan.Seconds),
                          QLatin1String(StatusNames[plan.Status]), priority,
                          complete ? QVariant(Stamp(finished)) : QVariant(),
                          QLatin1String(r.Pick(Problems)),
                          complete ? QLatin1String(r.Pick(CallRemarks)) : QString(),
                          complete ? QLatin1String(r.Pick(Parts)) : QString(),
                          complete ? BillTime(r.Between(1, 16)) : QString(),
                          complete && (plan.Seconds < lastSecond - 60 * 86400 || r.Chance(0.5)),
                          r.Chance(0.3), QLatin1String(r.Pick(Storage)),
                          m_Metered[size_t(item)] ? r.Between(100, 2000000) : qint64(0)});
        });
    m_Report.Written.CommentLines = comments.Rows();
    ReportAlso(comments);
}

} // namespace

// ---------------------------------------------------------------------------

QStringList PresetNames() {
    return {QStringLiteral("small"), QStringLiteral("workshop"), QStringLiteral("huge")};
}

std::optional<TSizes> Preset(const QString& name) {
    if (name == QLatin1String("small"))
        return TSizes{200, 40, 100, 16, 6, 800};
    if (name == QLatin1String("workshop"))
        return TSizes{100000, 20000, 50000, 8000, 60, 400000};
    if (name == QLatin1String("huge"))
        return TSizes{1000000, 200000, 500000, 80000, 250, 3000000};
    return std::nullopt;
}

QString GuidText(quint64 high, quint64 low) {
    // A random (version 4) GUID, as the program makes for its rows, in the
    // program's text form.
    const QUuid guid(uint(high >> 32), ushort(high >> 16), ushort((high & 0x0FFF) | 0x4000),
                     uchar(((low >> 56) & 0x3F) | 0x80), uchar(low >> 48), uchar(low >> 40),
                     uchar(low >> 32), uchar(low >> 24), uchar(low >> 16), uchar(low >> 8),
                     uchar(low));
    return guid.toString(QUuid::WithBraces).toUpper();
}

QStringList TablesWithRows(TDatabase& db) {
    QStringList full;
    for (const DMTables::TTableDef& def : DMTables::TableDefs()) {
        if (!db.TableFileExists(QLatin1String(def.Name)))
            continue;
        auto count = db.Prepare(QStringLiteral("SELECT COUNT(*) FROM %1").arg(def.Name));
        if (count->Step() && count->Integer(0) > 0)
            full << QStringLiteral("%1 (%2 rows)")
                        .arg(QLatin1String(def.Name))
                        .arg(count->Integer(0));
    }
    return full;
}

TReport Fill(TdmlGlobals& dataModule, const TSizes& asked, quint64 seed,
             const TProgress& progress) {
    TReport report;
    TSizes sizes = asked;
    sizes.Customers = std::max<qint64>(sizes.Customers, 1);
    sizes.Items = std::max<qint64>(sizes.Items, 1);
    sizes.Workers = std::max<qint64>(sizes.Workers, 1);
    sizes.Calls = std::max<qint64>(sizes.Calls, 0);
    if (sizes.Contracts > sizes.Items) {
        report.Notes << QStringLiteral("At most one contract per item: %1 contracts instead of %2.")
                            .arg(sizes.Items)
                            .arg(sizes.Contracts);
        sizes.Contracts = sizes.Items;
    }
    sizes.Contracts = std::max<qint64>(sizes.Contracts, 0);

    TDatabase& db = dataModule.Connection();
    TBulkLoad bulk(db);
    TFiller(db, sizes, seed, progress, report).Run();
    return report;
}

} // namespace UDemoData
