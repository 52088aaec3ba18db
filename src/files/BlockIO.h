#pragma once

#include "plate/MarnovelTypes.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>

class TMarnovelData;

// The run details exchanged between the windows and the file handler. The details travel
// in mUserInfo as name=value lines, named by the texts of line1 and line2 in the language
// that was current when the record was created; the run date travels as a date in RunDate,
// never as text, so that no regional date pattern can change or lose it.
struct TSystemInfo
{
    TSystemInfo();

    // Texts 23 "Run Date", 44 "Run Number", 45 "Kit Batch Number", 46 "Operator".
    std::array<QString, 4> line1;
    // Texts 83, 84, 85, then "Std Count", "Std Size", "Raw Data Rows", "Raw Data Cols",
    // "Result Row Count", "Result Col Count", "IdPrefix".
    std::array<QString, 10> line2;
    QStringList mColHeadings;
    QStringList mRowHeadings;
    // The plate text of a loaded run data file, outer index = row.
    TStringGridData mRawData;
    TStringGridData mStdData;
    TStringGridData mResultsData;
    QString mClassNdx;
    QStringList mUserInfo;
    TMarnovelData *mData = nullptr; // not owned
    TCurveType CurveType = CURVE_8POINT;
    float StdConc1 = 0.0f;
    QDate RunDate;

    // mUserInfo access by name (letter case ignored): the text after the first "=" of the
    // first matching line, empty when there is none.
    QString UserInfoValue(const QString &name) const;
    // Replaces the value of the first matching line, or appends "name=value".
    void SetUserInfoValue(const QString &name, const QString &value);

    QString RunDateName() const { return line1[0]; }
    QString RunNumberName() const { return line1[1]; }
    QString KitBatchNumberName() const { return line1[2]; }
    QString OperatorName() const { return line1[3]; }
    QString RawDataRowsName() const { return line2[5]; }
    QString RawDataColsName() const { return line2[6]; }
    QString IdPrefixName() const { return line2[9]; }
};
