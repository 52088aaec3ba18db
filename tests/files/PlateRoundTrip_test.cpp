// The same plate gives the same results however it reaches the program (pasted, loaded as
// a grid of text, saved in a run file and loaded again) and whichever language is current.

#include "SmallRun.h"

#include "core/UiTextManager.h"
#include "files/BlockIO.h"
#include "files/CombinedFileHandler.h"
#include "run/ResultTexts.h"
#include "support/LanguageGuard.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Column 3 holds one research sample per row; columns 1 and 2 the two standard series.
// The samples carry markers of other languages, control characters beside numbers and a
// non-numerical OD.
TStringGridData PlateRows()
{
    const QStringList samples{u"N.C."_s,
                              u"Ausente"_s,
                              u"VALUE_NOT_SPECIFIED"_s,
                              TestSupport::Dec("0.35") + QChar(0x1A),
                              QChar(0x0C) + TestSupport::Dec("0.2"),
                              u"OVER"_s,
                              u"k a."_s,
                              TestSupport::Dec("0.482")};
    const QStringList series1{u"1.212"_s, u"0.482"_s, u"0.162"_s, u"0.052"_s};
    const QStringList series2{u"1.190"_s, u"0.470"_s, u"0.150"_s, u"0.048"_s};
    TStringGridData rows;
    for (int row = 0; row < 8; ++row) {
        const bool standard = row < series1.size();
        rows.append({standard ? TestSupport::Dec(series1.at(row)) : u"N/S"_s,
                     standard ? TestSupport::Dec(series2.at(row)) : u"N/S"_s, samples.at(row)});
    }
    return rows;
}

QString PlateText(const TStringGridData &rows)
{
    QStringList lines;
    for (const QStringList &row : rows)
        lines << row.join(u'\t');
    return lines.join(u"\r\n"_s) + u"\r\n"_s;
}

void LayOut(TMarnovelData &data)
{
    OWCellBlockBase::SetIdentifierCount(1);
    OWCellBlockBase::Reset();
    data.SetCurveType(CURVE_4POINT);
    for (int col = 1; col <= 2; ++col)
        SmallRun::AddBlock(data, true, {QPoint(col, 1), QPoint(col, 2), QPoint(col, 3), QPoint(col, 4)});
    for (int row = 1; row <= 8; ++row)
        SmallRun::AddBlock(data, false, {QPoint(3, row)});
}

// Everything a calculation shows, as one text.
QString Shown(const TMarnovelData &data, const TRunCalculationResult &result)
{
    QStringList parts{ResultTexts::Verdict(result), ResultTexts::CurveValue(result.Intercept),
                      ResultTexts::CurveValue(result.Slope), ResultTexts::Correlation(result.Correlation)};
    for (const QStringList &column : ResultTexts::StandardsTable(result.Qc.Standards))
        parts << column.join(u'|');
    for (const TRunSubjectResult &subject : result.Subjects)
        parts << subject.Id + u" "_s + subject.ResultText + u" "_s + subject.Marks.join(QString());
    parts << ResultTexts::FootnoteLines(result);
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 3; ++col)
            parts << data.PlateText(col, row);
    return parts.join(u'\n');
}

// What must not depend on the language: each sample's value and marks, or that it has none.
QString LanguageFree(const TRunCalculationResult &result)
{
    QStringList parts{QString::number(result.Valid), ResultTexts::CurveValue(result.Intercept),
                      ResultTexts::CurveValue(result.Slope)};
    for (const TRunSubjectResult &subject : result.Subjects) {
        const bool notSpecified = subject.ResultText == UiText(64);
        parts << (notSpecified ? u"not specified"_s : subject.ResultText) + u" "_s +
                     subject.Marks.join(QString());
    }
    return parts.join(u'\n');
}

class PlateRoundTrip : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override { GetTranslationManager().LoadResource(GetParam()); }

    QTemporaryDir folder;
};

} // namespace

TEST_P(PlateRoundTrip, PasteCalculateSaveLoadCalculate_SameResults)
{
    TMarnovelRdData pasted;
    QMimeData mime;
    mime.setText(PlateText(PlateRows()));
    ASSERT_TRUE(pasted.loadDataObject(&mime));
    LayOut(pasted);
    const TRunCalculationResult first = CalculateRun(pasted);
    const QString shown = Shown(pasted, first);

    TSystemInfo info;
    info.mData = &pasted;
    info.RunDate = QDate(2017, 5, 31);
    info.SetUserInfoValue(info.RawDataRowsName(), QString::number(pasted.YExtent()));
    info.SetUserInfoValue(info.RawDataColsName(), QString::number(pasted.XExtent()));
    TCombinedFileHandler handler;
    handler.SetRunData(&pasted);
    handler.SetSystemInfo(&info);
    const QString path = folder.filePath(u"run.vdf"_s);
    handler.SaveDataAndFormat(path);

    OWCellBlockBase::Reset();
    TMarnovelRdData loaded;
    TSystemInfo loadedInfo;
    handler.SetRunData(&loaded);
    handler.SetSystemInfo(&loadedInfo);
    ASSERT_EQ(handler.LoadDataAndFormat(path), FL_OK);
    EXPECT_EQ(Shown(loaded, CalculateRun(loaded)).toStdString(), shown.toStdString());

    TMarnovelRdData fromGrid;
    ASSERT_TRUE(fromGrid.loadDataObject(PlateRows()));
    LayOut(fromGrid);
    EXPECT_EQ(Shown(fromGrid, CalculateRun(fromGrid)).toStdString(), shown.toStdString());

    // The markers are not specified and the numbers beside control characters are read as
    // written, in every language.
    QString expected;
    {
        const TestSupport::LanguageGuard language(u"LOCALE_ENGLISH"_s);
        TMarnovelRdData english;
        ASSERT_TRUE(english.loadDataObject(&mime));
        LayOut(english);
        expected = LanguageFree(CalculateRun(english));
    }
    EXPECT_EQ(LanguageFree(first).toStdString(), expected.toStdString());
    EXPECT_EQ(first.Subjects.size(), 8u);
    for (int i : {0, 1, 2, 6})
        EXPECT_EQ(first.Subjects.at(i).ResultText, UiText(64)) << i;
    EXPECT_EQ(first.Subjects.at(5).Marks, QStringList{u"#"_s});
    EXPECT_EQ(pasted.PlateText(2, 3), TestSupport::Dec("0.350"));
    EXPECT_EQ(pasted.PlateText(2, 4), TestSupport::Dec("0.200"));
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, PlateRoundTrip, ::testing::Range(0, 8),
                         [](const ::testing::TestParamInfo<int> &info) {
                             return GetTranslationManager().ResourceIdOfIndex(info.param).toStdString();
                         });
