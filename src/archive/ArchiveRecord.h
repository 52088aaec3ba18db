#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class TRunSession;

// One QC rule as the calculation applied it: enough to explain the verdict later.
struct TArchiveRuleOutcome
{
    QString Rule;
    double Threshold = 0.0;
    std::optional<double> Measured;
    bool Passed = false;
    bool Advisory = false;
    bool operator==(const TArchiveRuleOutcome &) const = default;
};

struct TArchiveWell
{
    QString Well;             // "A1"
    std::optional<double> Od; // none when the well holds no number
    bool operator==(const TArchiveWell &) const = default;
};

struct TArchiveStandard
{
    QString Name;
    double Concentration = 0.0;
    QList<TArchiveWell> Replicates;
    std::optional<double> Mean;
    std::optional<double> Cv;
    bool Passed = false;
    QList<TArchiveRuleOutcome> Rules;
    bool operator==(const TArchiveStandard &) const = default;
};

struct TArchiveSubject
{
    QString Id;
    QList<TArchiveWell> Wells;
    std::optional<double> Concentration;
    QString Result; // the shown result without markup
    QStringList Marks;
    bool AboveRange = false;
    bool NonNumericalOd = false;
    bool NotSpecified = false;
    bool operator==(const TArchiveSubject &) const = default;
};

// What the archive keeps of one calculated run. Figures are the unrounded doubles; the
// trend metrics are also kept as columns of their own.
struct TArchiveRecord
{
    QDate RunDate;
    QString RunNumber;
    QString KitBatch;
    QString Operator;
    int CurveType = 0;
    QList<double> Concentrations;
    QList<TArchiveStandard> Standards;
    double Intercept = 0.0;
    double Slope = 0.0;
    double Correlation = 0.0;
    bool Valid = false;
    QList<TArchiveRuleOutcome> RunRules;
    bool PlateWashNote = false;
    QList<TArchiveSubject> Subjects;
    QString ProgramVersion;
    QDateTime RecordedAt; // UTC, set when recorded
    QString SystemUser;   // set when recorded
    QByteArray Sha256;    // of the run file's bytes, hex

    bool operator==(const TArchiveRecord &) const = default;

    // The top standard's mean OD and the zero standard's: the trend metrics besides the curve.
    std::optional<double> TopStandardMean() const;
    std::optional<double> ZeroStandardMean() const;

    // The run, its last calculation and the bytes of its run file. The session must hold a
    // calculation. The program version is the application's unless given.
    static TArchiveRecord FromRun(const TRunSession &session, const QByteArray &runFileBytes,
                                  const QString &programVersion = QString());

    // Standards, rules and subjects as one JSON text, and back.
    QByteArray DetailsJson() const;
    bool SetDetailsJson(const QByteArray &json);
};

QByteArray Sha256Hex(const QByteArray &bytes);
