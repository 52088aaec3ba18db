#pragma once

#include "plate/MarnovelTypes.h"

#include <QByteArray>
#include <QChar>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class TMarnovelData;
struct TSystemInfo;
struct TStagedFileLoad;

enum TFileHandlerIntention
{
    FILE_SAVEFORMAT = 0,
    FILE_LOADFORMAT = 1,
    FILE_SAVEFORMATANDDATA = 2,
    FILE_LOADFORMATANDDATA = 3
};

enum TFileLoadResult
{
    FL_OK = 0,
    FL_DATECONVERTERROR = 1,
    FL_WRONGTYPE = 2
};

// Reads and writes run data files (.vdf) and format files (.vff).
//
// A load either succeeds completely or changes nothing: the file is parsed and checked in
// full before the run data object, the curve type, the block counters or the run-details
// record are touched. A file is refused as inconsistent when it holds a value outside the
// plate text it declares (DataCols x DataRows), places a block on a well that another block
// or plate cell holds, gives a number of standard concentrations other than its curve
// type's, a concentration single precision cannot hold, a run date with more than three
// parts, or more standard series than a calculation takes. Texts of the run details and
// block identifiers are read with every control character replaced by a blank.
// Failures raise a MarnovelException whose message names the file;
// a run date that cannot be read and a sample layout the edition does not allow are
// reported as FL_DATECONVERTERROR and FL_WRONGTYPE instead.
class TCombinedFileHandler
{
public:
    // Anything larger is not one of our files.
    static constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;

    TCombinedFileHandler();
    ~TCombinedFileHandler();
    TCombinedFileHandler(const TCombinedFileHandler &) = delete;
    TCombinedFileHandler &operator=(const TCombinedFileHandler &) = delete;

    // The run data object all four operations work on (not owned).
    void SetRunData(TMarnovelData *pData) { mRunData = pData; }
    TMarnovelData *RunData() const { return mRunData; }
    // The caller's run-details record (not owned): set before saving or loading a run data
    // file, read after loading, then detached with nullptr.
    void SetSystemInfo(TSystemInfo *pSystemInfo) { mSystemInfo = pSystemInfo; }
    TSystemInfo *SystemInfo() const { return mSystemInfo; }
    TFileHandlerIntention State() const { return mFileHandlerState; }

    // Both write through TSafeFileWriter: a failed save leaves the previous file as it was.
    void SaveFormat(const QString &pFileName);
    // The record must hold the run details, the run date in its RunDate. Wells that lie
    // outside the plate text the file declares are written without a text.
    void SaveDataAndFormat(const QString &pFileName);
    // The bytes the two saves write, for a caller that writes several files as one save.
    QByteArray FormatFileBytes() const;
    QByteArray DataAndFormatFileBytes() const;
    TFileLoadResult LoadFormat(const QString &pFileName);
    TFileLoadResult LoadDataAndFormat(const QString &pFileName);

    // "ddmmmyy" + "_" + run number + ".vdf", for example 31May17_12.vdf; the run number
    // made safe for a file name (SafeFileNamePart).
    static QString DefaultRunDataFileName(const QDate &pRunDate, const QString &pRunNumber);
    // In the configured format folder: first 3 characters of the operator, "ddmmmyy", "_",
    // the first free suffix, ".vff".
    static QString DefaultFormatFileName(const QString &pOperator, const QDate &pRunDate);

private:
    QStringList BuildFileText(bool pWithData) const;
    TFileLoadResult Load(const QString &pFileName, bool pWithData);
    void Apply(const TStagedFileLoad &pStaged, bool pWithData);

    TMarnovelData &Data() const;

    QChar mDecimalSeperator = QLatin1Char(' ');
    QChar mDateSeperator = QLatin1Char(' ');
    TSystemInfo *mSystemInfo = nullptr;
    std::unique_ptr<TSystemInfo> mOwnedSystemInfo;
    TFileHandlerIntention mFileHandlerState = FILE_LOADFORMAT;
    TMarnovelData *mRunData = nullptr;
};

TCombinedFileHandler &GetGlobalFileHandler();
