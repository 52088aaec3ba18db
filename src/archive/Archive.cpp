#include "Archive.h"

#include "core/Registry.h"
#include "files/RunSession.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

#include <cmath>
#include <exception>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString Columns =
    u"run_date, kit_batch, run_number, operator, curve_type, valid, intercept, slope, "
    u"correlation, top_standard_mean, zero_standard_mean, plate_wash_note, program_version, "
    u"recorded_at, first_recorded_at, system_user, sha256, details, is_current"_s;
// What a list of runs shows: the leading columns of Columns, then recorded_at.
const QString SummaryColumns = u"run_date, kit_batch, run_number, operator, curve_type, valid, recorded_at"_s;
const QString MetricColumns =
    u"run_date, kit_batch, run_number, operator, curve_type, valid, intercept, slope, "
    u"correlation, top_standard_mean, zero_standard_mean, first_recorded_at"_s;

// Times sort as text: UTC with milliseconds.
QString TimeText(const QDateTime &time)
{
    return time.toUTC().toString(u"yyyy-MM-ddTHH:mm:ss.zzzZ"_s);
}

QDateTime TimeFrom(const QVariant &value)
{
    return QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
}

// Non-finite figures are kept as NULL: SQLite has no NaN.
QVariant Bound(std::optional<double> value)
{
    return value && std::isfinite(*value) ? QVariant(*value) : QVariant(QMetaType::fromType<double>());
}

std::optional<double> OptionalFrom(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional<double>(value.toDouble());
}

double DoubleFrom(const QVariant &value)
{
    return value.isNull() ? std::nan("") : value.toDouble();
}

QString SystemUser()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("LOGNAME");
    return user.isEmpty() ? qEnvironmentVariable("USERNAME") : user;
}

QString Error(const QSqlQuery &query)
{
    return query.lastError().text();
}

QAtomicInt connectionCounter;

} // namespace

QString DefaultArchiveFile()
{
    // The window names itself so (app/main.cpp); with no organisation name set, its
    // AppLocalDataLocation is this folder of the generic data location.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : data + u"/Velomyra/archive.sqlite"_s;
}

QString ConfiguredArchiveLocation()
{
    QString location;
    try {
        location = OpenRegistry()->value(u"Archive/Location"_s).toString();
    } catch (const std::exception &) {
        // A settings store that cannot be read gives the defaults.
    }
    return location.isEmpty() ? DefaultArchiveFile() : location;
}

TArchiveLocation TArchiveLocation::Parse(const QString &text, QString *error)
{
    TArchiveLocation location;
    location.Text = text;
    const auto fail = [&](const QString &why) {
        if (error)
            *error = u"archive location \"%1\": %2"_s.arg(text, why);
        return location;
    };
    if (error)
        error->clear();
    if (text.isEmpty()) {
        location.FilePath = DefaultArchiveFile();
        if (location.FilePath.isEmpty())
            return fail(u"no data folder for the default archive"_s);
        location.Text = location.FilePath;
        return location;
    }
    if (!text.startsWith(u"postgresql://"_s) && !text.startsWith(u"postgres://"_s)) {
        location.FilePath = text;
        return location;
    }
    location.Kind = PostgreSQL;
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return fail(url.errorString());
    if (!url.password().isEmpty())
        return fail(u"a password does not belong in the location; use ~/.pgpass or PGPASSWORD"_s);
    location.User = url.userName();
    location.Host = url.host();
    location.Port = url.port(-1);
    location.Database = url.path().mid(1);
    const QUrlQuery query(url);
    if (query.hasQueryItem(u"host"_s))
        location.Host = query.queryItemValue(u"host"_s, QUrl::FullyDecoded);
    if (query.hasQueryItem(u"port"_s)) {
        bool ok = false;
        location.Port = query.queryItemValue(u"port"_s).toInt(&ok);
        if (!ok)
            return fail(u"the port is not a number"_s);
    }
    if (location.Database.isEmpty() || location.Database.contains(u'/'))
        return fail(u"no database name"_s);
    return location;
}

const QList<TArchiveMigration> &ArchiveMigrations()
{
    static const QList<TArchiveMigration> migrations{
        {1,
         [](const QString &driver) {
             const QString id = driver == u"QPSQL"_s ? u"BIGSERIAL PRIMARY KEY"_s : u"INTEGER PRIMARY KEY"_s;
             return QStringList{
                 u"CREATE TABLE runs (id %1, run_date TEXT NOT NULL, kit_batch TEXT NOT NULL, "
                 u"run_number TEXT NOT NULL, operator TEXT NOT NULL, curve_type INTEGER NOT NULL, "
                 u"valid INTEGER NOT NULL, intercept DOUBLE PRECISION, slope DOUBLE PRECISION, "
                 u"correlation DOUBLE PRECISION, top_standard_mean DOUBLE PRECISION, "
                 u"zero_standard_mean DOUBLE PRECISION, plate_wash_note INTEGER NOT NULL, program_version "
                 u"TEXT, "
                 u"recorded_at TEXT NOT NULL, first_recorded_at TEXT NOT NULL, system_user TEXT, "
                 u"sha256 TEXT NOT NULL, details TEXT NOT NULL, is_current INTEGER NOT NULL)"_s.arg(id),
                 // One current record per run; the replaced ones stay beside it.
                 u"CREATE UNIQUE INDEX runs_current_run ON runs (run_date, kit_batch, run_number) "
                 u"WHERE is_current = 1"_s,
                 u"CREATE INDEX runs_trend ON runs (is_current, run_date, first_recorded_at)"_s,
                 u"CREATE INDEX runs_sha256 ON runs (sha256)"_s,
             };
         }},
        // The trend and the list read their columns from this index alone: a record's
        // details are large, and reading past them for 10,000 runs took most of the time.
        {2,
         [](const QString &) {
             return QStringList{
                 u"CREATE INDEX runs_summary ON runs (is_current, run_date, first_recorded_at, recorded_at, "
                 u"kit_batch, run_number, operator, curve_type, valid, intercept, slope, correlation, "
                 u"top_standard_mean, zero_standard_mean)"_s,
                 u"DROP INDEX runs_trend"_s,
             };
         }},
    };
    return migrations;
}

TArchive::TArchive() = default;

TArchive::~TArchive()
{
    if (mConnection.isEmpty())
        return;
    QSqlDatabase::database(mConnection, false).close();
    QSqlDatabase::removeDatabase(mConnection);
}

QSqlDatabase TArchive::Database() const
{
    return QSqlDatabase::database(mConnection, false);
}

bool TArchive::IsOpen() const
{
    return !mConnection.isEmpty() && Database().isOpen();
}

QString TArchive::Reason(const QString &what) const
{
    return u"archive \"%1\": %2"_s.arg(mLocation.Text, what);
}

QString TArchive::Open(const QString &locationText, const QList<TArchiveMigration> &migrations)
{
    QString error;
    const TArchiveLocation location = TArchiveLocation::Parse(locationText, &error);
    if (!error.isEmpty())
        return error;
    mLocation = location;
    if (!mConnection.isEmpty()) {
        QSqlDatabase::database(mConnection, false).close();
        QSqlDatabase::removeDatabase(mConnection);
    }
    mConnection = u"velomyra-archive-%1"_s.arg(connectionCounter.fetchAndAddRelaxed(1));
    const bool sqlite = location.Kind == TArchiveLocation::SQLite;
    const QString driver = sqlite ? u"QSQLITE"_s : u"QPSQL"_s;
    if (!QSqlDatabase::isDriverAvailable(driver))
        return Reason(u"the %1 database driver is not installed"_s.arg(driver));
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, mConnection);
    if (sqlite) {
        const QFileInfo info(location.FilePath);
        if (info.isDir())
            return Reason(u"is a folder"_s);
        if (!QDir().mkpath(info.absolutePath()))
            return Reason(u"cannot create the folder %1"_s.arg(info.absolutePath()));
        db.setDatabaseName(location.FilePath);
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=30000"_s);
    } else {
        db.setDatabaseName(location.Database);
        db.setUserName(location.User);
        db.setHostName(location.Host);
        db.setPort(location.Port);
        // The schema's IF NOT EXISTS would otherwise print a notice on every open.
        db.setConnectOptions(u"connect_timeout=10;options='-c client_min_messages=warning'"_s);
    }
    if (!db.open())
        return Reason(db.lastError().text());
    if (sqlite) {
        QSqlQuery query(db);
        if (!query.exec(u"PRAGMA journal_mode=WAL"_s) || !query.next())
            return Reason(Error(query));
        if (query.value(0).toString().compare(u"wal"_s, Qt::CaseInsensitive) != 0)
            return Reason(u"not an archive file, or it cannot be written"_s);
    }
    return Migrate(migrations);
}

QString TArchive::Migrate(const QList<TArchiveMigration> &migrations)
{
    QSqlDatabase db = Database();
    const bool sqlite = mLocation.Kind == TArchiveLocation::SQLite;
    QSqlQuery query(db);
    if (!query.exec(u"CREATE TABLE IF NOT EXISTS archive_schema (version INTEGER NOT NULL)"_s))
        return Reason(Error(query));
    // Two programs opening a new archive at once: the second waits and finds it made.
    if (!query.exec(sqlite ? u"BEGIN IMMEDIATE"_s : u"BEGIN"_s))
        return Reason(Error(query));
    const auto rollBack = [&](const QString &why) {
        QSqlQuery(db).exec(u"ROLLBACK"_s);
        return Reason(why);
    };
    if (!sqlite && !query.exec(u"LOCK TABLE archive_schema IN EXCLUSIVE MODE"_s))
        return rollBack(Error(query));
    if (!query.exec(u"SELECT MAX(version) FROM archive_schema"_s) || !query.next())
        return rollBack(Error(query));
    const int version = query.value(0).isNull() ? 0 : query.value(0).toInt();
    const int newest = migrations.isEmpty() ? 0 : migrations.last().Version;
    if (version > newest)
        return rollBack(u"schema version %1 is newer than this program's %2"_s.arg(version).arg(newest));
    for (const TArchiveMigration &migration : migrations) {
        if (migration.Version <= version)
            continue;
        for (const QString &statement : migration.Statements(db.driverName()))
            if (!query.exec(statement))
                return rollBack(u"schema version %1: %2"_s.arg(migration.Version).arg(Error(query)));
    }
    if (newest > version) {
        query.prepare(u"DELETE FROM archive_schema"_s);
        if (!query.exec())
            return rollBack(Error(query));
        query.prepare(u"INSERT INTO archive_schema (version) VALUES (?)"_s);
        query.addBindValue(newest);
        if (!query.exec())
            return rollBack(Error(query));
    }
    if (!query.exec(u"COMMIT"_s))
        return rollBack(Error(query));
    return QString();
}

int TArchive::SchemaVersion() const
{
    QSqlQuery query(Database());
    if (!query.exec(u"SELECT MAX(version) FROM archive_schema"_s) || !query.next())
        return 0;
    return query.value(0).toInt();
}

TArchiveResult TArchive::Record(const TArchiveRecord &record)
{
    return Record(QList<TArchiveRecord>{record}).value(0);
}

QList<TArchiveResult> TArchive::Record(const QList<TArchiveRecord> &records)
{
    const auto refuseAll = [&](const QString &why) {
        return QList<TArchiveResult>(records.size(), TArchiveResult{TArchiveResult::Refused, Reason(why)});
    };
    if (!IsOpen())
        return refuseAll(u"not open"_s);
    for (const TArchiveRecord &record : records)
        if (!record.RunDate.isValid())
            return refuseAll(u"run %1 has no valid run date"_s.arg(record.RunNumber));
    QSqlDatabase db = Database();
    QSqlQuery query(db);
    // Immediate: a second writer waits here instead of failing when it upgrades its read.
    if (!query.exec(mLocation.Kind == TArchiveLocation::SQLite ? u"BEGIN IMMEDIATE"_s : u"BEGIN"_s))
        return refuseAll(Error(query));
    QList<TArchiveResult> results;
    for (const TArchiveRecord &record : records) {
        QString error;
        results.append({RecordInTransaction(record, error), QString()});
        if (!error.isEmpty()) {
            QSqlQuery(db).exec(u"ROLLBACK"_s);
            return refuseAll(error);
        }
    }
    if (!query.exec(u"COMMIT"_s)) {
        const QString error = Error(query);
        QSqlQuery(db).exec(u"ROLLBACK"_s);
        return refuseAll(error);
    }
    return results;
}

TArchiveResult::TStatus TArchive::RecordInTransaction(const TArchiveRecord &record, QString &error)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QSqlQuery query(Database());
    const QString runDate = record.RunDate.toString(Qt::ISODate);
    query.prepare(u"SELECT id, sha256, first_recorded_at FROM runs WHERE run_date = ? AND kit_batch = ? AND "
                  u"run_number = ? AND is_current = 1"_s +
                  (mLocation.Kind == TArchiveLocation::SQLite ? QString() : u" FOR UPDATE"_s));
    query.addBindValue(runDate);
    query.addBindValue(record.KitBatch);
    query.addBindValue(record.RunNumber);
    if (!query.exec()) {
        error = Error(query);
        return TArchiveResult::Refused;
    }
    QString firstRecordedAt = TimeText(now);
    TArchiveResult::TStatus status = TArchiveResult::Recorded;
    if (query.next()) {
        if (query.value(1).toByteArray() == record.Sha256)
            return TArchiveResult::Unchanged;
        const QVariant id = query.value(0);
        firstRecordedAt = query.value(2).toString();
        status = TArchiveResult::Replaced;
        query.prepare(u"UPDATE runs SET is_current = 0 WHERE id = ?"_s);
        query.addBindValue(id);
        if (!query.exec()) {
            error = Error(query);
            return TArchiveResult::Refused;
        }
    }
    query.prepare(
        u"INSERT INTO runs (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1)"_s.arg(
            Columns));
    for (const QVariant &value :
         {QVariant(runDate), QVariant(record.KitBatch), QVariant(record.RunNumber), QVariant(record.Operator),
          QVariant(record.CurveType), QVariant(record.Valid ? 1 : 0), Bound(record.Intercept),
          Bound(record.Slope), Bound(record.Correlation), Bound(record.TopStandardMean()),
          Bound(record.ZeroStandardMean()), QVariant(record.PlateWashNote ? 1 : 0),
          QVariant(record.ProgramVersion), QVariant(TimeText(now)), QVariant(firstRecordedAt),
          QVariant(SystemUser()), QVariant(QString::fromLatin1(record.Sha256)),
          QVariant(QString::fromUtf8(record.DetailsJson()))})
        query.addBindValue(value);
    if (!query.exec()) {
        error = Error(query);
        return TArchiveResult::Refused;
    }
    return status;
}

QList<TArchiveRecord> TArchive::Records(bool withHistory, QString *error, TArchiveContent content) const
{
    QList<TArchiveRecord> records;
    QSqlQuery query(Database());
    query.setForwardOnly(true);
    const bool full = content == TArchiveContent::Full;
    if (!query.exec(u"SELECT %1 FROM runs %2 ORDER BY run_date, first_recorded_at, recorded_at"_s.arg(
            full ? Columns : SummaryColumns, withHistory ? QString() : u"WHERE is_current = 1"_s))) {
        if (error)
            *error = Reason(Error(query));
        return records;
    }
    while (query.next()) {
        TArchiveRecord record;
        record.RunDate = QDate::fromString(query.value(0).toString(), Qt::ISODate);
        record.KitBatch = query.value(1).toString();
        record.RunNumber = query.value(2).toString();
        record.Operator = query.value(3).toString();
        record.CurveType = query.value(4).toInt();
        record.Valid = query.value(5).toInt() != 0;
        if (!full) {
            record.RecordedAt = TimeFrom(query.value(6));
            records.append(std::move(record));
            continue;
        }
        record.Intercept = DoubleFrom(query.value(6));
        record.Slope = DoubleFrom(query.value(7));
        record.Correlation = DoubleFrom(query.value(8));
        record.PlateWashNote = query.value(11).toInt() != 0;
        record.ProgramVersion = query.value(12).toString();
        record.RecordedAt = TimeFrom(query.value(13));
        record.SystemUser = query.value(15).toString();
        record.Sha256 = query.value(16).toString().toLatin1();
        record.SetDetailsJson(query.value(17).toString().toUtf8());
        records.append(std::move(record));
    }
    return records;
}

QList<TArchiveMetrics> TArchive::Metrics(const TArchiveFilter &filter, QString *error) const
{
    QString where = u"is_current = 1"_s;
    QVariantList values;
    const auto add = [&](const QString &condition, const QVariant &value) {
        where += u" AND "_s + condition;
        values.append(value);
    };
    if (!filter.KitBatch.isEmpty())
        add(u"kit_batch = ?"_s, filter.KitBatch);
    if (!filter.Operator.isEmpty())
        add(u"operator = ?"_s, filter.Operator);
    if (filter.From.isValid())
        add(u"run_date >= ?"_s, filter.From.toString(Qt::ISODate));
    if (filter.To.isValid())
        add(u"run_date <= ?"_s, filter.To.toString(Qt::ISODate));
    if (filter.ValidOnly)
        add(u"valid = ?"_s, 1);
    if (filter.CurveType)
        add(u"curve_type = ?"_s, *filter.CurveType);
    QSqlQuery query(Database());
    query.setForwardOnly(true);
    query.prepare(
        u"SELECT %1 FROM runs WHERE %2 ORDER BY run_date, first_recorded_at"_s.arg(MetricColumns, where));
    for (const QVariant &value : values)
        query.addBindValue(value);
    QList<TArchiveMetrics> metrics;
    if (!query.exec()) {
        if (error)
            *error = Reason(Error(query));
        return metrics;
    }
    while (query.next())
        metrics.append({QDate::fromString(query.value(0).toString(), Qt::ISODate), query.value(1).toString(),
                        query.value(2).toString(), query.value(3).toString(), query.value(4).toInt(),
                        query.value(5).toInt() != 0, DoubleFrom(query.value(6)), DoubleFrom(query.value(7)),
                        DoubleFrom(query.value(8)), OptionalFrom(query.value(9)),
                        OptionalFrom(query.value(10)), TimeFrom(query.value(11))});
    return metrics;
}

TArchiveVerification TArchive::Verify(const QDate &runDate, const QString &kitBatch, const QString &runNumber,
                                      const QByteArray &runFileBytes, QString *error) const
{
    QSqlQuery query(Database());
    query.prepare(u"SELECT sha256 FROM runs WHERE run_date = ? AND kit_batch = ? AND run_number = ? AND "
                  u"is_current = 1"_s);
    query.addBindValue(runDate.toString(Qt::ISODate));
    query.addBindValue(kitBatch);
    query.addBindValue(runNumber);
    if (!query.exec()) {
        if (error)
            *error = Reason(Error(query));
        return TArchiveVerification::NotRecorded;
    }
    if (!query.next())
        return TArchiveVerification::NotRecorded;
    return query.value(0).toString().toLatin1() == Sha256Hex(runFileBytes) ? TArchiveVerification::Unchanged
                                                                           : TArchiveVerification::Changed;
}

TArchiveVerification TArchive::VerifyFile(const QString &fileName, QString *error) const
{
    QFile file(fileName);
    TRunSession session;
    if (!file.open(QIODevice::ReadOnly) || !session.LoadRun(fileName).Ok()) {
        if (error)
            *error = u"%1: not a run file that can be read"_s.arg(fileName);
        return TArchiveVerification::NotRecorded;
    }
    const TRunDetails &details = session.Details();
    return Verify(details.RunDate, details.KitBatchNumber, details.RunNumber, file.readAll(), error);
}
