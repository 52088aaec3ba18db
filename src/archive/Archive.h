#pragma once

#include "archive/ArchiveRecord.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <optional>

// Where an archive lives: empty = the default archive (DefaultArchiveFile), a file path = an
// SQLite file there, postgresql://user@host:port/dbname (or
// postgresql://user@/dbname?host=/socket/folder&port=N) = a PostgreSQL database. Passwords
// are never part of it: the client library reads ~/.pgpass or PGPASSWORD.
struct TArchiveLocation
{
    enum TKind
    {
        SQLite,
        PostgreSQL
    };
    TKind Kind = SQLite;
    QString Text; // as given, for reasons
    QString FilePath;
    QString User;
    QString Host;
    int Port = -1;
    QString Database;

    // Empty Error: the location is understood.
    static TArchiveLocation Parse(const QString &text, QString *error = nullptr);
};

// archive.sqlite in the window program's data folder (its AppLocalDataLocation): the one file
// the window and the tool share by default, though the tool's application name differs.
// Empty when the system gives no data folder.
QString DefaultArchiveFile();

// The archive the settings store names (Archive/Location), else the default archive: what the
// window records into and what the tool opens without --archive.
QString ConfiguredArchiveLocation();

// One step of the schema: the statements that take it from Version - 1 to Version.
struct TArchiveMigration
{
    int Version = 0;
    // The statements for the driver ("QSQLITE", "QPSQL").
    std::function<QStringList(const QString &driver)> Statements;
};

// The schema's steps in order, version 1 first.
const QList<TArchiveMigration> &ArchiveMigrations();

struct TArchiveResult
{
    enum TStatus
    {
        Recorded,
        Replaced, // the earlier record stays as history
        Unchanged,
        Refused
    };
    TStatus Status = Refused;
    QString Reason; // for Refused: what was wrong, naming the location

    bool Ok() const { return Status != Refused; }
};

// The figures a trend needs of one record.
struct TArchiveMetrics
{
    QDate RunDate;
    QString KitBatch;
    QString RunNumber;
    QString Operator;
    int CurveType = 0;
    bool Valid = false;
    double Intercept = 0.0;
    double Slope = 0.0;
    double Correlation = 0.0;
    std::optional<double> TopStandardMean;
    std::optional<double> ZeroStandardMean;
    QDateTime FirstRecordedAt;
    bool operator==(const TArchiveMetrics &) const = default;
};

struct TArchiveFilter
{
    QString KitBatch; // empty: any
    QString Operator; // empty: any
    QDate From;       // null: open
    QDate To;         // null: open; inclusive
    bool ValidOnly = false;
    std::optional<int> CurveType;
};

enum class TArchiveContent
{
    Full,
    Summary
};

enum class TArchiveVerification
{
    Unchanged, // these bytes are recorded
    Changed,   // the run is recorded, but from other bytes
    NotRecorded
};

// Calculated runs kept in a database. A run is identified by run date, kit batch and run
// number; recording it again replaces the current record and keeps the earlier one. No
// member throws: failures come back as reasons naming the location.
class TArchive
{
public:
    TArchive();
    ~TArchive();
    TArchive(const TArchive &) = delete;
    TArchive &operator=(const TArchive &) = delete;

    // Opens or creates the archive and brings its schema up to date (migrations: the
    // program's own unless given). Empty: opened; else the reason.
    QString Open(const QString &location, const QList<TArchiveMigration> &migrations = ArchiveMigrations());
    bool IsOpen() const;
    QString LocationText() const { return mLocation.Text; }
    int SchemaVersion() const;

    // Records the run; RecordedAt and SystemUser are set here.
    TArchiveResult Record(const TArchiveRecord &record);
    // Several runs in one transaction (an import): all recorded, or all refused.
    QList<TArchiveResult> Record(const QList<TArchiveRecord> &records);
    // The current records, or every record with the replaced ones, by run date and first
    // recording; empty with a reason on failure. A summary holds run date, kit batch, run
    // number, operator, curve type, verdict and recording time, read without the details.
    QList<TArchiveRecord> Records(bool withHistory = false, QString *error = nullptr,
                                  TArchiveContent content = TArchiveContent::Full) const;
    // The current records' metrics in order of run date, then first recording.
    QList<TArchiveMetrics> Metrics(const TArchiveFilter &filter = {}, QString *error = nullptr) const;
    // Whether the run file's bytes are the ones recorded for its run.
    TArchiveVerification Verify(const QDate &runDate, const QString &kitBatch, const QString &runNumber,
                                const QByteArray &runFileBytes, QString *error = nullptr) const;
    // The same for a run file: loads it to learn its run.
    TArchiveVerification VerifyFile(const QString &fileName, QString *error = nullptr) const;

    // The connection, for the benchmark's and the tests' own statements.
    QSqlDatabase Database() const;

private:
    QString Reason(const QString &what) const;
    QString Migrate(const QList<TArchiveMigration> &migrations);
    TArchiveResult::TStatus RecordInTransaction(const TArchiveRecord &record, QString &error);

    TArchiveLocation mLocation;
    QString mConnection;
};
