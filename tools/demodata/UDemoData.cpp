#include "UDemoData.h"

#include "data/DMTables.h"
#include "data/engine/TDatabase.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <numeric>
#include <sqlite3.h>
#include <vector>

namespace UDemoData {

namespace {

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
// Word lists

const char* const FirstNames[] = {
    "Anna",  "Ben",      "Carla",   "Daniel",  "Elena",  "Farid",  "Grace",  "Hendrik",
    "Ines",  "Jacob",    "Karin",   "Liam",    "Maria",  "Nico",   "Olivia", "Pieter",
    "Quinn", "Rosa",     "Sipho",   "Thandi",  "Ulrich", "Vera",   "Willem", "Xolani",
    "Yusuf", "Zanele",   "Adriaan", "Bongani", "Chloe",  "Dirk",   "Esther", "Frans",
    "Gugu",  "Hannah",   "Ivan",    "Johan",   "Kagiso", "Lerato", "Marius", "Nomsa",
    "Oscar", "Precious", "Riaan",   "Sarah",   "Tshepo", "Ursula", "Vusi",   "Wendy",
};

const char* const LastNames[] = {
    "Abrahams",  "Botha",      "Cloete",      "Dlamini",  "Erasmus",    "Fourie",   "Govender",
    "Hendricks", "Isaacs",     "Jacobs",      "Khumalo",  "Louw",       "Mokoena",  "Naidoo",
    "Olivier",   "Pretorius",  "Qwabe",       "Rossouw",  "Steyn",      "Theron",   "Uys",
    "Van Wyk",   "Williams",   "Xaba",        "Yates",    "Zulu",       "Adams",    "Basson",
    "Coetzee",   "Du Plessis", "Engelbrecht", "Ferreira", "Geldenhuys", "Hattingh", "Joubert",
    "Kruger",    "Le Roux",    "Meyer",       "Nel",      "Oosthuizen", "Pillay",   "Roberts",
    "Smit",      "Taylor",     "Venter",      "Visser",   "Wessels",    "Zwane",
};

const char* const CompanyWords[] = {
    "Acme",     "Bluegum",    "Cape",     "Delta",     "Eastgate",    "Fynbos",
    "Granite",  "Highveld",   "Ironwood", "Jacaranda", "Karoo",       "Lighthouse",
    "Marula",   "Northcliff", "Oakridge", "Protea",    "Quarry",      "Riverside",
    "Summit",   "Table Bay",  "Umhlanga", "Vaal",      "Waterfront",  "Yellowwood",
    "Zenith",   "Atlas",      "Baobab",   "Cedar",     "Drakensberg", "Elgin",
    "Fairview", "Goldfields", "Harbour",  "Impala",    "Jubilee",     "Kestrel",
    "Limpopo",  "Mountain",   "Nexus",    "Orion",     "Pinnacle",    "Redwood",
    "Sandton",  "Tygerberg",  "Union",    "Valley",    "Westbury",    "Crown",
};

const char* const CompanyTrades[] = {
    "Engineering",  "Printing",  "Logistics",   "Motors",     "Pharmacy",  "Bakery",
    "Dental",       "Attorneys", "Accountants", "Hardware",   "Furniture", "Textiles",
    "Foods",        "Plastics",  "Labs",        "Hotel",      "School",    "Clinic",
    "Construction", "Farming",   "Mining",      "Electrical", "Packaging", "Couriers",
    "Security",     "Travel",    "Stationers",  "Beverages",  "Medical",   "Media",
};

const char* const CompanySuffixes[] = {
    "(Pty) Ltd", "(Pty) Ltd", "CC", "Ltd", "& Sons", "Holdings", "Group", "",
};

const char* const Streets[] = {
    "Main Road",          "Church Street",       "Voortrekker Road", "Long Street",
    "Station Road",       "Oak Avenue",          "Park Lane",        "Beach Road",
    "Hill Street",        "Market Street",       "Victoria Road",    "High Street",
    "Kloof Street",       "Bree Street",         "Jan Smuts Avenue", "Rivonia Road",
    "Louis Botha Avenue", "Commissioner Street", "Eloff Street",     "Loop Street",
};

const char* const Towns[] = {
    "Cape Town", "Bellville", "Stellenbosch", "Paarl",     "Worcester", "George",      "Durban",
    "Pinetown",  "Pretoria",  "Centurion",    "Sandton",   "Randburg",  "Benoni",      "Boksburg",
    "Polokwane", "Nelspruit", "Bloemfontein", "Kimberley", "Gqeberha",  "East London",
};

const char* const Notes[] = {
    "",
    "",
    "",
    "Pays on 30-day account.",
    "Cash on delivery only.",
    "Reception closes at 16:00; deliveries at the back gate.",
    "Ask for the office manager.",
    "Prefers e-mail to phone calls.",
    "Long-standing customer; priority service agreed.",
    "Account on hold until the outstanding invoice is paid.",
    "Alarm code with the security desk.",
};

struct TCategory {
    const char* Kind;
    const char* Descriptions[4];
    bool Metered;
};

const TCategory Categories[] = {
    {"Copier", {"Colour copier, A3", "Mono copier, A4", "Copier with finisher", "Copier"}, true},
    {"Printer",
     {"Colour laser printer", "Mono laser printer", "Wide-format plotter", "Label printer"},
     true},
    {"Generator",
     {"Diesel generator 20 kVA", "Diesel generator 60 kVA", "Petrol generator",
      "Standby generator"},
     true},
    {"Compressor",
     {"Screw compressor", "Piston compressor 200 l", "Oil-free compressor", "Air dryer"},
     true},
    {"Air conditioner",
     {"Split unit 12000 BTU", "Split unit 24000 BTU", "Cassette unit", "Ducted system"},
     false},
    {"Pump", {"Borehole pump", "Pool pump", "Booster pump set", "Submersible pump"}, false},
    {"Forklift",
     {"Electric forklift 2.5 t", "Diesel forklift 3 t", "Pallet jack", "Reach truck"},
     true},
    {"Scale", {"Bench scale 30 kg", "Floor scale 1 t", "Counting scale", "Retail scale"}, false},
    {"POS terminal",
     {"Till with cash drawer", "Card terminal", "Receipt printer", "Barcode scanner"},
     false},
    {"Coffee machine",
     {"Espresso machine, two group", "Bean-to-cup machine", "Filter brewer", "Grinder"},
     true},
    {"Welder", {"MIG welder 250 A", "TIG welder", "Arc welder", "Plasma cutter"}, false},
    {"Refrigerator", {"Display fridge", "Cold room unit", "Chest freezer", "Ice machine"}, false},
};

struct TBrand {
    const char* Name;
    const char* Code;
    int Category; // index into Categories
};

const TBrand Brands[] = {
    {"Apexa", "APX", 0},       {"Copitron", "CPT", 0},   {"Ricora", "RCR", 0},
    {"Brightline", "BRL", 1},  {"Duraprint", "DRP", 1},  {"Inkwell", "INK", 1},
    {"Voltmaster", "VLT", 2},  {"Powerhaus", "PWH", 2},  {"Airflux", "AFX", 3},
    {"Kompressa", "KMP", 3},   {"Coolbreeze", "CBZ", 4}, {"Frostline", "FRL", 4},
    {"Aquaflow", "AQF", 5},    {"Hydromax", "HDX", 5},   {"Liftking", "LFK", 6},
    {"Palletpro", "PLP", 6},   {"Weighright", "WRT", 7}, {"Tillmate", "TLM", 8},
    {"Scanpoint", "SCP", 8},   {"Baristo", "BRS", 9},    {"Arcforge", "ARF", 10},
    {"Chillcraft", "CHC", 11},
};

const char* const ServiceTypes[] = {
    "Full Maintenance", "Full Maintenance", "Parts Only", "Labour Only", "On-site", "Gold",
    "Silver",           "Bronze",
};

const char* const ContractComments[] = {
    "",
    "",
    "Two preventive visits a year.",
    "Quarterly service, consumables excluded.",
    "Renewed for another year.",
    "Response within 8 working hours.",
    "Includes loan unit while in the workshop.",
    "Meter readings billed monthly.",
};

const char* const Problems[] = {
    "Machine does not switch on.",
    "Paper jams in tray 2.",
    "Makes a grinding noise when started.",
    "Leaking water at the bottom.",
    "Display shows error E-04.",
    "Runs but does not reach temperature.",
    "Trips the breaker after a few minutes.",
    "Annual service due.",
    "Prints faint lines down the page.",
    "Loses pressure overnight.",
    "Motor overheats under load.",
    "Customer reports intermittent fault.",
    "Install and commission new unit.",
    "Smell of burning from the back.",
    "Battery does not hold charge.",
    "Calibration certificate required.",
};

const char* const CallRemarks[] = {
    "Replaced fuser unit.",
    "Cleaned and lubricated; tested OK.",
    "Replaced drive belt and bearings.",
    "Reset controller and updated firmware.",
    "Replaced seals; no further leaks.",
    "Unit inspected; no fault found.",
    "Replaced thermostat.",
    "Quoted for a new motor; customer to confirm.",
    "",
};

const char* const Parts[] = {
    "",
    "",
    "Fuser unit",
    "Drive belt",
    "Bearings x2",
    "Seal kit",
    "Thermostat",
    "Control board",
    "Pickup rollers",
    "Filter set",
    "Capacitor",
    "Toner cartridge",
};

const char* const Storage[] = {
    "",         "",      "",      "Shelf A1", "Shelf A2",      "Shelf B1",
    "Shelf B3", "Bay 4", "Bay 7", "Dispatch", "Customer site", "Back yard",
};

const char* const Remarks[] = {
    "Customer phoned for an update.",
    "Technician on site.",
    "Quote sent to customer.",
    "Parts ordered from supplier.",
    "Supplier confirmed delivery date.",
    "Customer approved the quote.",
    "Left a message; customer not available.",
    "Unit collected for the workshop.",
    "Unit returned to customer.",
    "Tested for two hours; running normally.",
    "Invoice sent.",
    "Follow-up visit booked.",
    "Awaiting customer's order number.",
    "Loan unit supplied.",
};

// ---------------------------------------------------------------------------
// Dates: everything lies between these two days, whatever the day today.

const QDate FirstDay(2006, 1, 2);
const QDate LastDay(2025, 12, 31);

QString Stamp(qint64 secondsFromStart) {
    const QDateTime start(FirstDay, QTime(0, 0), Qt::UTC);
    return start.addSecs(secondsFromStart).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
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

// ---------------------------------------------------------------------------
// Writing rows. Every row goes through TRowWriter, one per table: a prepared
// INSERT of the program's dialect, run again for each row. Transactions span
// all tables and are committed every CommitRows rows.

constexpr qint64 CommitRows = 50000;

class TBatch {
public:
    explicit TBatch(TDatabase& db) : m_Db(db) {}
    ~TBatch() {
        if (m_Db.InTransaction())
            m_Db.Rollback();
    }
    void RowWritten() {
        if (!m_Db.InTransaction())
            m_Db.StartTransaction();
        if (++m_Rows % CommitRows == 0)
            m_Db.Commit();
    }
    void Finish() {
        if (m_Db.InTransaction())
            m_Db.Commit();
    }

private:
    TDatabase& m_Db;
    qint64 m_Rows = 0;
};

class TRowWriter {
public:
    TRowWriter(TDatabase& db, TBatch& batch, const QString& table, const QStringList& columns)
        : m_Db(db), m_Batch(batch), m_Columns(columns) {
        QStringList params;
        for (const QString& column : columns)
            params << QLatin1Char(':') + column;
        m_Statement = db.Prepare(
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(table, columns.join(QStringLiteral(", ")), params.join(QStringLiteral(", "))));
        // Values are bound by position below; the statement must take them in
        // the order of the columns.
        const QStringList names = m_Statement->ParamNames();
        for (qsizetype i = 0; i < columns.size(); ++i)
            if (i >= names.size() || names[i].compare(columns[i], Qt::CaseInsensitive) != 0)
                throw EDatabaseError(
                    QStringLiteral("INSERT INTO %1: parameters out of order").arg(table));
    }

    // One value per column, in order: QString (text), qint64/int (integer),
    // bool (stored 'True'/'False', as the engine binds it). Timestamps come as
    // their stored text.
    void Write(std::initializer_list<QVariant> values) {
        Q_ASSERT(qsizetype(values.size()) == m_Columns.size());
        m_Batch.RowWritten();
        sqlite3_stmt* stmt = m_Statement->Handle();
        int i = 0;
        for (const QVariant& value : values) {
            ++i;
            int rc = SQLITE_OK;
            switch (value.typeId()) {
            case QMetaType::Bool:
                rc = sqlite3_bind_text(stmt, i, value.toBool() ? "True" : "False", -1,
                                       SQLITE_STATIC);
                break;
            case QMetaType::Int:
            case QMetaType::LongLong:
                rc = sqlite3_bind_int64(stmt, i, value.toLongLong());
                break;
            default: {
                const QByteArray utf8 = value.toString().toUtf8();
                rc = sqlite3_bind_text(stmt, i, utf8.constData(), int(utf8.size()),
                                       SQLITE_TRANSIENT);
            }
            }
            if (rc != SQLITE_OK)
                m_Db.Fail(QStringLiteral("Binding %1").arg(m_Columns[i - 1]));
        }
        m_Statement->Step();
        m_Statement->Reset();
        ++m_Rows;
    }
    qint64 Rows() const { return m_Rows; }

private:
    TDatabase& m_Db;
    TBatch& m_Batch;
    QStringList m_Columns;
    std::unique_ptr<TStatement> m_Statement;
    qint64 m_Rows = 0;
};

// While the tables are filled, their files are written without waiting for
// the disk (a fill that breaks off leaves a directory to delete, not rows to
// save) and with a page cache large enough for the random order in which the
// GUID keys of comment lines arrive. The connection's settings come back
// afterwards.
class TBulkLoad {
public:
    explicit TBulkLoad(TDatabase& db) : m_Db(db) {
        for (const DMTables::TTableDef& def : DMTables::TableDefs()) {
            db.AttachTable(QLatin1String(def.Name));
            Set(QLatin1String(def.Name), "synchronous = OFF; PRAGMA %1.journal_mode = MEMORY; "
                                         "PRAGMA %1.cache_size = -262144");
        }
    }
    ~TBulkLoad() {
        for (const DMTables::TTableDef& def : DMTables::TableDefs()) {
            try {
                Set(QLatin1String(def.Name), "synchronous = FULL; PRAGMA %1.journal_mode = DELETE; "
                                             "PRAGMA %1.cache_size = -16384");
            } catch (const EDatabaseError&) {
                // The connection is being given up on anyway.
            }
        }
    }
    TBulkLoad(const TBulkLoad&) = delete;
    TBulkLoad& operator=(const TBulkLoad&) = delete;

private:
    void Set(const QString& table, const char* pragmas) {
        const QString alias = QLatin1Char('"') + USqlDialect::TableAlias(table) + QLatin1Char('"');
        m_Db.ExecNative((QStringLiteral("PRAGMA %1.") + QLatin1String(pragmas)).arg(alias));
    }
    TDatabase& m_Db;
};

QStringList Columns(const char* list) {
    return QString::fromLatin1(list).split(QLatin1Char(','));
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

// What the items and calls need to know of a customer.
struct TCustomerInfo {
    QString ID;
    bool Company = false;
};

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
    return QStringLiteral("{%1-%2-%3-%4-%5}")
        .arg(high >> 32, 8, 16, QLatin1Char('0'))
        .arg((high >> 16) & 0xFFFF, 4, 16, QLatin1Char('0'))
        .arg(high & 0xFFFF, 4, 16, QLatin1Char('0'))
        .arg(low >> 48, 4, 16, QLatin1Char('0'))
        .arg(low & 0xFFFFFFFFFFFFULL, 12, 16, QLatin1Char('0'))
        .toUpper();
}

QStringList CreateMissingTables(TDatabase& db) {
    QStringList created;
    for (const DMTables::TTableDef& def : DMTables::TableDefs()) {
        if (db.TableFileExists(QLatin1String(def.Name)))
            continue;
        db.Exec(QLatin1String(def.CreateSql));
        created << QLatin1String(def.Name);
    }
    return created;
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

TReport Fill(TDatabase& db, const TSizes& asked, quint64 seed, const TProgress& progress) {
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

    TBulkLoad bulk(db);
    TBatch batch(db);
    QElapsedTimer timer;
    const auto done = [&](const QString& table, qint64 rows) {
        batch.Finish();
        if (progress)
            progress(table, rows, timer.elapsed());
        timer.restart();
    };
    timer.start();

    QStringList countries = CountryList().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& country : countries)
        country = country.trimmed();
    const QString home = countries.contains(QStringLiteral("South Africa"))
                             ? QStringLiteral("South Africa")
                             : countries.value(0);

    // Customers: companies with representatives, and private persons.
    std::vector<TCustomerInfo> customers(static_cast<size_t>(sizes.Customers));
    {
        TRowWriter writer(db, batch, QStringLiteral("Customer"),
                          Columns("CustomerID,LastName,FirstName,CompanyName,Tel,Fax,Cell,Email,"
                                  "PhysicalAddr,PhysicalCode,PostalAddr,PostalCode,Country,Notes"));
        TRowWriter reps(db, batch, QStringLiteral("Representative"),
                        Columns("RecID,FK_Customer,Name,Surname,Mobile,Email"));
        for (qint64 i = 0; i < sizes.Customers; ++i) {
            TRandom r(seed, CustomerStream, quint64(i));
            TCustomerInfo& info = customers[size_t(i)];
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
            writer.Write({info.ID, Fit(last, 20), Fit(first, 20), Fit(company, 40), Phone(r),
                          info.Company && r.Chance(0.4) ? Phone(r) : QString(), Mobile(r),
                          Fit(email, 50), Fit(street, 80), code, Fit(postal, 80),
                          postal == street ? code : r.Digits(4), Fit(country, 20),
                          QLatin1String(r.Pick(Notes))});

            const qint64 representatives = info.Company ? r.Between(1, 3) : (r.Chance(0.1) ? 1 : 0);
            for (qint64 k = 0; k < representatives; ++k) {
                TRandom g(seed, RepresentativeStream, quint64(i) * 8 + quint64(k));
                const QString name = QLatin1String(g.Pick(FirstNames));
                const QString surname = QLatin1String(g.Pick(LastNames));
                const QString guid = GuidText(g.Next(), g.Next());
                reps.Write({guid, info.ID, name, surname, g.Chance(0.85) ? Mobile(g) : QString(),
                            g.Chance(0.8) ? Fit(AsciiLower(name) + QLatin1Char('@') + domain, 60)
                                          : QString()});
            }
        }
        report.Written.Customers = writer.Rows();
        report.Representatives = reps.Rows();
        done(QStringLiteral("Customer"), writer.Rows());
        if (progress)
            progress(QStringLiteral("Representative"), reps.Rows(), 0);
    }

    // Workers.
    std::vector<QString> workers(static_cast<size_t>(sizes.Workers));
    std::vector<bool> employed(static_cast<size_t>(sizes.Workers));
    {
        TRowWriter writer(db, batch, QStringLiteral("Worker"),
                          Columns("WorkerNR,Surname,Name,IDTypeIsPassport,CurrentlyEmployed,IDNr"));
        for (qint64 i = 0; i < sizes.Workers; ++i) {
            TRandom r(seed, WorkerStream, quint64(i));
            workers[size_t(i)] = QStringLiteral("W") + Padded(i + 1, 3);
            const bool passport = r.Chance(0.15);
            employed[size_t(i)] = r.Chance(0.8);
            const QString idNr = passport ? QStringLiteral("A") + r.Digits(8) : r.Digits(13);
            writer.Write({workers[size_t(i)], QLatin1String(r.Pick(LastNames)),
                          QLatin1String(r.Pick(FirstNames)), passport, bool(employed[size_t(i)]),
                          idNr});
        }
        report.Written.Workers = writer.Rows();
        done(QStringLiteral("Worker"), writer.Rows());
    }

    // Items: serial numbers are a brand code and a number unique to the item.
    std::vector<qint32> owners(static_cast<size_t>(sizes.Items));
    std::vector<QString> serials(static_cast<size_t>(sizes.Items));
    std::vector<qint8> metered(static_cast<size_t>(sizes.Items));
    {
        TRowWriter writer(db, batch, QStringLiteral("Item"),
                          Columns("SerialNr,Brand,Model,Description,Owner"));
        const TPermutation numbers(10000000, seed ^ 0x5E41A1ULL);
        for (qint64 i = 0; i < sizes.Items; ++i) {
            TRandom r(seed, ItemStream, quint64(i));
            const TBrand& brand = r.Pick(Brands);
            const TCategory& category = Categories[brand.Category];
            // Companies own most of the equipment, and a few own a lot of it.
            qint64 owner = r.Skewed(sizes.Customers);
            if (!customers[size_t(owner)].Company && r.Chance(0.6))
                owner = r.Below(sizes.Customers);
            owners[size_t(i)] = qint32(owner);
            metered[size_t(i)] = category.Metered;
            serials[size_t(i)] = QLatin1String(brand.Code) + Padded(numbers(i % 10000000), 7) +
                                 (i >= 10000000 ? QString::number(i / 10000000) : QString());
            const QString model = QStringLiteral("%1-%2%3")
                                      .arg(QLatin1String(brand.Code).left(2))
                                      .arg(r.Between(1, 60) * 50)
                                      .arg(QChar(u'A' + char16_t(r.Below(6))));
            QString description = QLatin1String(category.Descriptions[r.Below(4)]);
            if (r.Chance(0.2))
                description += QStringLiteral(", installed %1").arg(r.Between(2000, 2025));
            writer.Write({serials[size_t(i)], QLatin1String(brand.Name), model, description,
                          customers[size_t(owner)].ID});
        }
        report.Written.Items = writer.Rows();
        done(QStringLiteral("Item"), writer.Rows());
    }

    // Service contracts: distinct items, held by their owners (now and then
    // by another customer, a leasing company for instance).
    {
        TRowWriter writer(db, batch, QStringLiteral("ServiceContract"),
                          Columns("ItemSerialNr,CustomerID,ServiceType,Comments,StillValid"));
        const TPermutation items(sizes.Items, seed ^ 0xC0274AC7ULL);
        for (qint64 i = 0; i < sizes.Contracts; ++i) {
            TRandom r(seed, ContractStream, quint64(i));
            const qint64 item = items(i);
            const qint64 holder =
                r.Chance(0.95) ? qint64(owners[size_t(item)]) : r.Below(sizes.Customers);
            writer.Write({serials[size_t(item)], customers[size_t(holder)].ID,
                          QLatin1String(r.Pick(ServiceTypes)),
                          QLatin1String(r.Pick(ContractComments)), r.Chance(0.8)});
        }
        report.Written.Contracts = writer.Rows();
        done(QStringLiteral("ServiceContract"), writer.Rows());
    }

    // Calls. The comment lines are planned first: every call gets "Call
    // Created." and a status line for each state it went through; when the
    // lines asked for do not cover that, calls get only the line of their
    // final state; what is left over is spread as remarks.
    const qint64 calls = sizes.Calls;
    std::vector<TCallPlan> plans(static_cast<size_t>(calls));
    qint64 full = 0;
    qint64 direct = 0;
    for (qint64 i = 0; i < calls; ++i) {
        TRandom r(seed, CallStream, quint64(i));
        plans[size_t(i)] = PlanCall(r, i, calls);
        full += 1 + plans[size_t(i)].Path.Count;
        direct += 1 + (plans[size_t(i)].Status != New ? 1 : 0);
    }
    qint64 lines = sizes.CommentLines;
    bool shortPaths = false;
    if (lines < full) {
        shortPaths = true;
        if (lines < direct) {
            report.Notes << QStringLiteral("%1 comment lines instead of %2: every call has its "
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
        TRandom r(seed, RemarkStream, 0);
        const qint64 extra = lines - (shortPaths ? direct : full);
        for (qint64 k = 0; k < extra && calls > 0; ++k) {
            qint64 call = r.Below(calls);
            while (remarks[size_t(call)] == 0xFFFF)
                call = (call + 1) % calls;
            ++remarks[size_t(call)];
        }
    }

    {
        TRowWriter writer(db, batch, QStringLiteral("Call"),
                          Columns("CallNr,CustomerID,WorkerNr,EquipmentSerialNr,OrderNumber,"
                                  "JobcardNumber,Date_Time,Status,Priority,Date_TimeFinished,"
                                  "ProblemDescr,Comments,PartsUsedReplaced,BillTime,Billed,"
                                  "Callout,StorageArea,MeterReading"));
        TRowWriter comments(db, batch, QStringLiteral("CallComments"),
                            Columns("CallNr,ID,DateTime,CommentLine"));
        const qint64 lastSecond = (FirstDay.daysTo(LastDay) + 1) * 86400 - 1; // billing cut-off
        // Some items are in for repairs far more often than others.
        const TPermutation popular(sizes.Items, seed ^ 0x17E45ULL);
        for (qint64 i = 0; i < calls; ++i) {
            TRandom r(seed, CallStream, quint64(i));
            PlanCall(r, i, calls); // the same draws as in the plan
            const TCallPlan& plan = plans[size_t(i)];
            const QString callNr = Padded(i + 1, 6);
            const qint64 item = popular(r.Skewed(sizes.Items));
            const qint64 customer =
                r.Chance(0.92) ? qint64(owners[size_t(item)]) : r.Below(sizes.Customers);
            qint64 worker = r.Below(sizes.Workers);
            if (!employed[size_t(worker)] && r.Chance(0.7))
                worker = r.Below(sizes.Workers);
            const double p = r.Unit();
            const qint64 priority = p < 0.6    ? 1
                                    : p < 0.8  ? 2
                                    : p < 0.9  ? 3
                                    : p < 0.95 ? r.Between(4, 5)
                                               : r.Between(6, 15);

            // The comment lines, in time order, and the time the call finished
            // (the lines of the last calls may run a few days past the period).
            TRandom c(seed, CommentStream, quint64(i));
            qint64 when = plan.Seconds;
            int remarksLeft = remarks[size_t(i)];
            const int stepCount = plan.Path.Count;
            const auto writeLine = [&](const QString& text) {
                comments.Write({callNr, GuidText(c.Next(), c.Next()), Stamp(when), text});
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

            writer.Write({callNr, customers[size_t(customer)].ID, workers[size_t(worker)],
                          serials[size_t(item)],
                          r.Chance(0.6) ? QStringLiteral("PO") + r.Digits(6) : QString(),
                          QStringLiteral("JC") + Padded(i + 1, 7), Stamp(plan.Seconds),
                          QLatin1String(StatusNames[plan.Status]), priority,
                          complete ? Stamp(finished) : QString(), QLatin1String(r.Pick(Problems)),
                          complete ? QLatin1String(r.Pick(CallRemarks)) : QString(),
                          complete ? QLatin1String(r.Pick(Parts)) : QString(),
                          complete ? QString::number(double(r.Between(1, 16)) / 2.0) : QString(),
                          complete && (plan.Seconds < lastSecond - 60 * 86400 || r.Chance(0.5)),
                          r.Chance(0.3), QLatin1String(r.Pick(Storage)),
                          metered[size_t(item)] ? r.Between(100, 2000000) : qint64(0)});
        }
        report.Written.Calls = writer.Rows();
        report.Written.CommentLines = comments.Rows();
        done(QStringLiteral("Call"), writer.Rows());
        if (progress)
            progress(QStringLiteral("CallComments"), comments.Rows(), 0);
    }
    return report;
}

} // namespace UDemoData
