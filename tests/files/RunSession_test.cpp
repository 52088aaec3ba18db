// The run workflow object: every step gives its reason instead of a message box, a refused
// step leaves the run as it was, and the run's state follows the main window's.
#include "SmallRun.h"
#include "support/LanguageGuard.h"

#include "core/MarnovelUtils.h"
#include "core/UiTextManager.h"
#include "files/RunSession.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "plate/MarnovelPanels.h"

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

QString Example(const char *name)
{
    return QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/") + QString::fromUtf8(name);
}

// The example plate with the regional decimal separator.
QString ExamplePlate()
{
    return TestSupport::Dec(DecodeText(ReadWholeFile(Example("plate-8point.txt"))));
}

QByteArray Utf16File(const QString &text)
{
    QStringEncoder encoder(QStringConverter::Utf16LE);
    return QByteArray("\xFF\xFE", 2) + QByteArray(encoder(text));
}

// Everything a step may change, as one text.
QString Snapshot(const TRunSession &session)
{
    const TMarnovelRdData &data = session.Data();
    QStringList parts{QString::number(data.GetCurveType())};
    for (const float conc : data.StdConc())
        parts << QString::number(conc);
    parts << QString::number(data.XExtent()) << QString::number(data.YExtent());
    for (int col = 0; col < TMarnovelData::DataCols; ++col)
        for (int row = 0; row < TMarnovelData::DataRows; ++row)
            parts << data.PlateText(col, row);
    for (const OWCells *cells : {&data.RawData(), &data.StdBlocks()})
        for (const auto &block : cells->Blocks()) {
            parts << block->id();
            for (const OWCellBlockElm &well : block->block())
                parts << u"%1,%2,%3"_s.arg(well.mCell.x()).arg(well.mCell.y()).arg(well.fID);
        }
    const TRunDetails &details = session.Details();
    parts << details.RunDate.toString(Qt::ISODate) << details.RunNumber << details.KitBatchNumber
          << details.OperatorName;
    parts << QString::number(session.LastResult() != nullptr) << QString::number(session.HasUnsavedResults());
    return parts.join(u'\n');
}

struct RefusalCase
{
    const char *name;
    std::function<TRunStepResult(TRunSession &, const QTemporaryDir &)> step;
    int textId;
    bool namesFile;
    const char *reason = nullptr; // where the case checks it
};

class RunSessionRefusal : public ::testing::TestWithParam<RefusalCase>
{
};

QString Lines(int count, const QString &line)
{
    return QStringList(count, line).join(u"\r\n"_s);
}

// An example file with one edit, loaded into the session, and removed again.
TRunStepResult LoadEdited(TRunSession &session, const QTemporaryDir &folder, const char *example,
                          const QString &from, const QString &to)
{
    QString text = DecodeText(ReadWholeFile(Example(example)));
    if (!text.contains(from))
        throw std::runtime_error("case does not apply");
    text.replace(from, to);
    const QString path = folder.filePath(QString::fromUtf8(example));
    WriteFileAtomically(path, Utf16File(text));
    const TRunStepResult step = path.endsWith(u".vdf"_s) ? session.LoadRun(path) : session.LoadFormat(path);
    QFile::remove(path);
    return step;
}

} // namespace

// The small run: a 4-point layout in columns 1 to 3 over a plate of 3 columns, calculated.
TEST_P(RunSessionRefusal, Refused_ReasonGivenNothingShownRunUnchanged)
{
    QTemporaryDir folder;
    TRunSession session;
    SmallRun::LayOut(session.Data());
    session.SetDetails(SmallRun::Details());
    ASSERT_TRUE(session.Calculate().Ok());
    const QString before = Snapshot(session);
    const auto messages = TestSupport::Presenter().messages.size();

    const TRunStepResult step = GetParam().step(session, folder);

    EXPECT_EQ(step.Status, TRunStepResult::Refused);
    EXPECT_EQ(step.TextId, GetParam().textId);
    EXPECT_FALSE(step.Reason.isEmpty());
    EXPECT_EQ(step.Text(), GetParam().textId != 0 ? UiText(GetParam().textId) : step.Reason);
    EXPECT_EQ(step.FileName.isEmpty(), !GetParam().namesFile);
    if (GetParam().reason) {
        EXPECT_EQ(step.Reason, QString::fromUtf8(GetParam().reason));
    }
    EXPECT_EQ(Snapshot(session).toStdString(), before.toStdString());
    EXPECT_EQ(TestSupport::Presenter().messages.size(), messages);
    // The shared standards list stays the run's: a 4-point list.
    EXPECT_EQ(TStdPanel::GetBlockList().Count(), 4);
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Steps, RunSessionRefusal,
                         ::testing::
                             Values(
                                 RefusalCase{"PasteOfSevenLines",
                                             [](TRunSession &s, const QTemporaryDir &) {
                                                 return s.SetPlateText(
                                                     Lines(7, TestSupport::Dec("0.5\t0.5\t0.5")));
                                             },
                                             118, false},
                                 RefusalCase{"PasteOfThirteenValuesOnALine",
                                             [](TRunSession &s, const QTemporaryDir &) {
                                                 return s.SetPlateText(Lines(
                                                     8,
                                                     QStringList(13, TestSupport::Dec("0.5")).join(u'\t')));
                                             },
                                             118, false},
                                 RefusalCase{"PasteOfFourteenValuesOnALine",
                                             [](TRunSession &s, const QTemporaryDir &) {
                                                 return s.SetPlateText(Lines(
                                                     8,
                                                     QStringList(14, TestSupport::Dec("0.5")).join(u'\t')));
                                             },
                                             126, false},
                                 RefusalCase{"PasteOfNothing",
                                             [](TRunSession &s, const QTemporaryDir &) {
                                                 return s.SetPlateText(QString(), u"p.txt"_s);
                                             },
                                             126, true},
                                 RefusalCase{"PasteOfAnOdTooLargeToRound",
                                             [](TRunSession &s, const QTemporaryDir &) {
                                                 return s.SetPlateText(
                                                     Lines(8, TestSupport::Dec("3000000.1234\t0.5\t0.5")),
                                                     u"p.txt"_s);
                                             },
                                             126, true},
                                 RefusalCase{"PasteNarrowerThanTheLayout",
                                             [](TRunSession &s, const QTemporaryDir &) {
                                                 return s.SetPlateText(
                                                     Lines(8, TestSupport::Dec("0.5\t0.5")));
                                             },
                                             182, false},
                                 RefusalCase{"GridRowsOfSevenLines",
                                             [](TRunSession &s, const QTemporaryDir &) {
                                                 return s.SetPlateRows(TStringGridData(
                                                     7, QStringList(3, TestSupport::Dec("0.5"))));
                                             },
                                             118, false},
                                 // An 8-point layout of 12 columns: its standards list must not stay current.
                                 RefusalCase{"FormatWiderThanThePlate",
                                             [](TRunSession &s, const QTemporaryDir &) {
                                                 return s.LoadFormat(Example("layout-8point.vff"));
                                             },
                                             182, true},
                                 RefusalCase{"FormatFileMissing",
                                             [](TRunSession &s, const QTemporaryDir &f) {
                                                 return s.LoadFormat(f.filePath(u"no.vff"_s));
                                             },
                                             TextFileDoesNotExist, true},
                                 RefusalCase{"RunFileMissing",
                                             [](TRunSession &s, const QTemporaryDir &f) {
                                                 return s.LoadRun(f.filePath(u"no.vdf"_s));
                                             },
                                             TextFileDoesNotExist, true},
                                 RefusalCase{"RunFileIsAFolder",
                                             [](TRunSession &s, const QTemporaryDir &f) {
                                                 return s.LoadRun(f.path());
                                             },
                                             TextFolderNotFile, true},
                                 RefusalCase{"RunFileIsADevice",
                                             [](TRunSession &s, const QTemporaryDir &) {
                                                 return s.LoadRun(u"/dev/null"_s);
                                             },
                                             TextNotRegularFile, true},
                                 RefusalCase{"RunFileIsAFormatFile",
                                             [](TRunSession &s, const QTemporaryDir &) {
                                                 return s.LoadRun(Example("layout-8point.vff"));
                                             },
                                             0, true},
                                 RefusalCase{"RunFileWithAnInconsistentWell",
                                             [](TRunSession &s, const QTemporaryDir &f) {
                                                 QString text =
                                                     DecodeText(ReadWholeFile(Example("run-8point.vdf")));
                                                 text.replace(u"DataCols=13"_s, u"DataCols=12"_s);
                                                 const QString path = f.filePath(u"bad.vdf"_s);
                                                 WriteFileAtomically(path, Utf16File(text));
                                                 const TRunStepResult step = s.LoadRun(path);
                                                 QFile::remove(path);
                                                 return step;
                                             },
                                             0, true},
                                 // A subject on S1's well would be reported from S1's OD.
                                 RefusalCase{"RunFileWithTwoBlocksOnOneWell",
                                             [](TRunSession &s, const QTemporaryDir &f) {
                                                 return LoadEdited(s, f, "run-8point.vdf", u"Point0=3|1|1|"_s,
                                                                   u"Point0=1|1|1|"_s);
                                             },
                                             0, true,
                                             "The well A1 is claimed twice in the file; a well belongs to "
                                             "one block only."},
                                 RefusalCase{"FormatFileWithTwoBlocksOnOneWell",
                                             [](TRunSession &s, const QTemporaryDir &f) {
                                                 return LoadEdited(s, f, "layout-8point.vff",
                                                                   u"Point0=3|1|1|"_s, u"Point0=1|1|1|"_s);
                                             },
                                             0, true,
                                             "The well A1 is claimed twice in the file; a well belongs to "
                                             "one block only."},
                                 RefusalCase{"EightPointCurveWithFourPointStandardsPlaced",
                                             [](TRunSession &s, const QTemporaryDir &) {
                                                 return s.SetCurveType(CURVE_8POINT);
                                             },
                                             0, false},
                                 RefusalCase{"NegativeConcentration",
                                             [](TRunSession &s, const QTemporaryDir &) {
                                                 return s.SetStdConc({4, -1, 0.25, 0});
                                             },
                                             372, false},
                                 RefusalCase{"ConcentrationBelowSinglePrecision",
                                             [](TRunSession &s, const QTemporaryDir &) {
                                                 return s.SetStdConc({4, 1, 1e-50, 0});
                                             },
                                             0, false,
                                             "A standard concentration other than 0 must lie between 1.2e-38 "
                                             "and 3.4e+38."},
                                 RefusalCase{"TooFewConcentrations",
                                             [](TRunSession &s, const QTemporaryDir &) {
                                                 return s.SetStdConc({4, 1, 0});
                                             },
                                             0, false},
                                 RefusalCase{"RenameOnAWellWithoutBlock",
                                             [](TRunSession &s, const QTemporaryDir &) {
                                                 return s.RenameBlock(QPoint(12, 8), u"X"_s);
                                             },
                                             0, false, "No block lies on the well H12."},
                                 RefusalCase{"RemoveOnAWellWithoutBlock",
                                             [](TRunSession &s, const QTemporaryDir &) {
                                                 return s.RemoveBlock(QPoint(12, 8));
                                             },
                                             0, false},
                                 RefusalCase{"TypedNumberTooLargeToRound",
                                             [](TRunSession &s, const QTemporaryDir &) {
                                                 TStringGridData rows(
                                                     8, QStringList(3, TestSupport::Dec("0.5")));
                                                 rows[2][1] = TestSupport::Dec("9999999.1234");
                                                 return s.SetTypedPlate(rows);
                                             },
                                             126, false},
                                 RefusalCase{"SaveIntoAMissingFolder",
                                             [](TRunSession &s, const QTemporaryDir &f) {
                                                 return s.SaveRun(f.filePath(u"no/r.vdf"_s));
                                             },
                                             0, true}),
                         [](const ::testing::TestParamInfo<RefusalCase> &info) {
                             return std::string(info.param.name);
                         });

// The layout steps change only the blocks they name; typing nothing empties the plate.
TEST(RunSession, LayoutAndTypedPlateSteps)
{
    TRunSession session;
    ASSERT_TRUE(session.LoadRun(Example("run-8point.vdf")).Ok());
    ASSERT_TRUE(session.Calculate().Ok());
    const OWCellBlockBase *block = session.Data().cellAtPoint(QPoint(1, 1));
    ASSERT_NE(block, nullptr);
    const qsizetype standards = session.Data().StdBlocks().GetCount();
    const qsizetype samples = session.Data().RawData().GetCount();

    ASSERT_TRUE(session.RenameBlock(QPoint(1, 1), u"  Top  "_s).Ok());
    EXPECT_EQ(block->id(), u"Top"_s);
    EXPECT_NE(session.LastResult(), nullptr); // a name is no new layout

    ASSERT_TRUE(session.RemoveBlock(QPoint(1, 1)).Ok());
    EXPECT_EQ(session.Data().StdBlocks().GetCount() + session.Data().RawData().GetCount(),
              standards + samples - 1);
    EXPECT_EQ(session.LastResult(), nullptr);

    session.ClearLayout(TRunSession::TBlocks::Standards);
    EXPECT_EQ(session.Data().StdBlocks().GetCount(), 0);
    EXPECT_GT(session.Data().RawData().GetCount(), 0);
    session.ClearLayout(TRunSession::TBlocks::Samples);
    EXPECT_EQ(session.Data().RawData().GetCount(), 0);
    EXPECT_FALSE(session.Data().PlateText(0, 0).isEmpty()); // the plate stays

    ASSERT_TRUE(session.SetTypedPlate(TStringGridData(8, QStringList(12))).Ok());
    EXPECT_EQ(session.Data().XExtent(), 0);
}

// Standards laid out again by hand on the wells they had read the same values from the plate:
// the calculation is the same. A click on a taken well changes nothing.
TEST(RunSession, PlaceBlock_ReadsThePlateText)
{
    TRunSession session;
    ASSERT_TRUE(session.LoadRun(Example("run-8point.vdf")).Ok());
    ASSERT_TRUE(session.Calculate().Ok());
    const double slope = session.LastResult()->Slope;
    std::vector<std::pair<QPoint, bool>> starts; // first well, vertical
    const OWCells &standards = session.Data().StdBlocks();
    for (int i = 0; i < standards.GetCount(); ++i) {
        const std::span<const OWCellBlockElm> wells = standards.getCellInteger(i)->block();
        ASSERT_GE(wells.size(), 2u);
        starts.emplace_back(wells[0].mCell, wells[0].mCell.x() == wells[1].mCell.x());
    }
    ASSERT_FALSE(starts.empty());

    TManualFormatState state;
    state.ApplyOrientation();
    const QByteArray before = session.RunFileBytes();
    EXPECT_FALSE(session.PlaceBlock(state, starts.front().first).Placed());
    EXPECT_EQ(session.RunFileBytes(), before);
    EXPECT_NE(session.LastResult(), nullptr);

    session.ClearLayout(TRunSession::TBlocks::Standards);
    for (const auto &[well, vertical] : starts) {
        state.SetOrientation(vertical ? TBlockOrientation::Vertical : TBlockOrientation::Horizontal);
        state.ApplyOrientation();
        const TPlacementResult placed = session.PlaceBlock(state, well);
        ASSERT_TRUE(placed.Placed()) << placed.Error.toStdString();
        EXPECT_EQ(placed.StandardBlocks, 1);
    }
    ASSERT_TRUE(session.Calculate().Ok());
    EXPECT_EQ(session.LastResult()->Slope, slope);

    session.RemoveNewestBlocks(1, 0);
    EXPECT_EQ(session.Data().StdBlocks().GetCount(), static_cast<int>(starts.size()) - 1);
    EXPECT_EQ(session.LastResult(), nullptr);
}

// Data that cannot be calculated names the plate's file, and the well when one value is
// the cause; the window shows text 185 alone.
TEST(RunSession, Calculate_DataNotCalculable_NamesTheFileAndTheWell)
{
    TRunSession session;
    SmallRun::LayOut(session.Data());
    QList<QStringList> plate = SmallRun::DefaultPlate();
    plate[4][2] = u"-0.2"_s; // the sample in E3
    ASSERT_TRUE(session.SetPlateText(SmallRun::PlateText(plate), u"plate.txt"_s).Ok());
    TRunStepResult step = session.Calculate();
    EXPECT_EQ(step.Status, TRunStepResult::NotCalculable);
    EXPECT_EQ(step.FileName, u"plate.txt"_s);
    EXPECT_EQ(step.Text(), UiText(185));
    EXPECT_EQ(step.Reason, UiText(185) + u" The value in well E3 cannot be calculated."_s);

    // Standards without a curve: no one well is the cause.
    plate = SmallRun::DefaultPlate();
    for (int row = 0; row < 4; ++row)
        plate[row][0] = plate[row][1] = u"1.0"_s;
    ASSERT_TRUE(session.SetPlateText(SmallRun::PlateText(plate), u"flat.txt"_s).Ok());
    step = session.Calculate();
    EXPECT_EQ(step.Status, TRunStepResult::NotCalculable);
    EXPECT_EQ(step.FileName, u"flat.txt"_s);
    EXPECT_EQ(step.Reason, UiText(185));
}

// A layout of more standard series than a calculation takes: one reason, no exception.
TEST(RunSession, Calculate_TwentyTwoStandardSeries_RefusedWithOneLine)
{
    TRunSession session;
    SmallRun::LayOut(session.Data());
    QList<QPoint> free;
    for (int col = 1; col <= PlateColumnCount; ++col)
        for (int row = 1; row <= PlateRowCount; ++row)
            if (!session.Data().cellAtPoint(QPoint(col, row)))
                free << QPoint(col, row);
    for (int series = 2; series < 22; ++series)
        SmallRun::AddBlock(session.Data(), true, free.mid((series - 2) * 4, 4));
    ASSERT_EQ(session.Data().StdBlocks().GetCount(), 22);
    ASSERT_TRUE(session.SetPlateText(Lines(8, QStringList(12, TestSupport::Dec("0.5")).join(u'\t'))).Ok());
    const TRunStepResult step = session.Calculate();
    EXPECT_EQ(step.Status, TRunStepResult::Refused);
    EXPECT_EQ(step.Reason, u"22 standard series are laid out; a calculation takes at most 21."_s);
}

// The unsaved-results state of the main window: a calculation starts it, an export keeps it,
// a save ends it and keeps the results; a paste ends both.
TEST(RunSession, UnsavedResults_FollowTheWindowsStates)
{
    QTemporaryDir folder;
    TRunSession session;
    ASSERT_TRUE(session.LoadRun(Example("run-8point.vdf")).Ok());
    EXPECT_FALSE(session.HasUnsavedResults());
    EXPECT_EQ(session.LastResult(), nullptr);

    const auto calculated = [&session] {
        EXPECT_TRUE(session.Calculate().Ok());
        EXPECT_TRUE(session.HasUnsavedResults());
        EXPECT_NE(session.LastResult(), nullptr);
    };
    calculated();
    ASSERT_TRUE(session.SetPlateText(ExamplePlate()).Ok());
    EXPECT_FALSE(session.HasUnsavedResults());
    EXPECT_EQ(session.LastResult(), nullptr);
    EXPECT_EQ(session.ExportResults(folder.filePath(u"r.txt"_s)).Status, TRunStepResult::Refused);

    calculated();
    ASSERT_TRUE(session.ExportResults(folder.filePath(u"r.txt"_s)).Ok());
    EXPECT_TRUE(session.HasUnsavedResults());
    ASSERT_TRUE(session.SaveRun(folder.filePath(u"r.vdf"_s)).Ok());
    EXPECT_FALSE(session.HasUnsavedResults());
    EXPECT_NE(session.LastResult(), nullptr);
}

// A step that drops the calculation ends its unsaved results in the session itself, with no
// window to do it; the other accepted steps keep both (refused ones: RunSessionRefusal).
TEST(RunSession, ResultEndingSteps_EndTheUnsavedResultsToo)
{
    QTemporaryDir folder;
    const QString plate = SmallRun::PlateText(SmallRun::DefaultPlate());
    TStringGridData rows;
    for (const QStringList &row : SmallRun::DefaultPlate()) {
        rows << QStringList();
        for (const QString &cell : row)
            rows.back() << TestSupport::Dec(cell);
    }
    const struct
    {
        const char *name;
        std::function<bool(TRunSession &)> step; // accepted
        bool resultsKept;
    } cases[] = {
        {"paste", [&](TRunSession &s) { return s.SetPlateText(plate).Ok(); }, false},
        {"rows of manual data entry", [&](TRunSession &s) { return s.SetPlateRows(rows).Ok(); }, false},
        {"dropped data object",
         [&](TRunSession &s) {
             QMimeData mime;
             mime.setText(plate);
             return s.SetPlateDataObject(&mime).Ok();
         },
         false},
        {"typed plate", [&](TRunSession &s) { return s.SetTypedPlate(rows).Ok(); }, false},
        {"typed nothing",
         [](TRunSession &s) { return s.SetTypedPlate(TStringGridData(8, QStringList(3))).Ok(); }, false},
        {"block removed", [](TRunSession &s) { return s.RemoveBlock(QPoint(3, 1)).Ok(); }, false},
        {"standards cleared",
         [](TRunSession &s) {
             s.ClearLayout(TRunSession::TBlocks::Standards);
             return true;
         },
         false},
        {"samples cleared",
         [](TRunSession &s) {
             s.ClearLayout(TRunSession::TBlocks::Samples);
             return true;
         },
         false},
        {"samples placed on the free wells",
         [](TRunSession &s) {
             TManualFormatState state;
             state.ApplyOrientation();
             return s.PlaceBlock(state, std::nullopt).Placed();
         },
         false},
        {"block being placed taken off",
         [](TRunSession &s) {
             TManualFormatState state;
             s.RemoveRandomBlockBeingAdded(state);
             return true;
         },
         false},
        {"newest blocks taken off",
         [](TRunSession &s) {
             s.RemoveNewestBlocks(0, 1);
             return true;
         },
         false},
        {"same curve type", [](TRunSession &s) { return s.SetCurveType(CURVE_4POINT).Ok(); }, false},
        {"concentrations",
         [](TRunSession &s) {
             return s.SetStdConc({4, 1, 0.25, 0}).Ok();
         },
         false},
        {"run loaded", [](TRunSession &s) { return s.LoadRun(Example("run-8point.vdf")).Ok(); }, false},
        {"format loaded",
         [&](TRunSession &s) {
             const QString path = folder.filePath(u"f.vff"_s);
             return s.SaveFormat(path).Ok() && s.LoadFormat(path).Ok();
         },
         false},
        {"new run",
         [](TRunSession &s) {
             s.NewRun();
             return true;
         },
         false},
        {"block renamed", [](TRunSession &s) { return s.RenameBlock(QPoint(3, 1), u"X"_s).Ok(); }, true},
        {"run details",
         [](TRunSession &s) {
             TRunDetails details = s.Details();
             details.OperatorName = u"B"_s;
             s.SetDetails(details);
             return true;
         },
         true},
        {"results exported",
         [&](TRunSession &s) { return s.ExportResults(folder.filePath(u"e.txt"_s)).Ok(); }, true},
    };
    for (const auto &c : cases) {
        TRunSession session;
        SmallRun::LayOut(session.Data());
        session.SetDetails(SmallRun::Details());
        ASSERT_TRUE(session.Calculate().Ok()) << c.name;
        ASSERT_TRUE(c.step(session)) << c.name;
        EXPECT_EQ(session.LastResult() != nullptr, c.resultsKept) << c.name;
        EXPECT_EQ(session.HasUnsavedResults(), c.resultsKept) << c.name;
    }
}

// A calculation that fails drops the results of the one before, unsaved or not.
TEST(RunSession, FailedCalculation_EndsTheEarlierResults)
{
    TRunSession session;
    SmallRun::LayOut(session.Data());
    ASSERT_TRUE(session.Calculate().Ok());
    // Blocks changed behind the steps' back, as the layout tools may: standards beyond the plate.
    SmallRun::AddBlock(session.Data(), true, {QPoint(5, 1), QPoint(5, 2), QPoint(5, 3), QPoint(5, 4)});
    EXPECT_FALSE(session.Calculate().Ok());
    EXPECT_EQ(session.LastResult(), nullptr);
    EXPECT_FALSE(session.HasUnsavedResults());
}

// Each loaded format numbers its blocks from 1, as after the window's results clear; a new
// run keeps what the next run shares with this one.
TEST(RunSession, LoadFormatAndNewRun_StartAfresh)
{
    TRunSession session;
    TRunDetails before = session.Details();
    before.IdPrefix = u"P"_s;
    session.SetDetails(before);
    ASSERT_TRUE(session.LoadRun(Example("run-8point.vdf")).Ok());
    // A loaded run keeps the file's concentrations and brings no identifier prefix.
    EXPECT_EQ(session.Details().StdConcValueType, TStdConcValueType::Manual);
    EXPECT_EQ(session.Details().IdPrefix, QString());
    for (int load = 0; load < 2; ++load) {
        ASSERT_TRUE(session.LoadFormat(Example("layout-8point.vff")).Ok());
        EXPECT_EQ(session.Data().RawData().getCellInteger(0)->id(), UiText(57) + u" 1"_s) << load;
        EXPECT_EQ(session.Data().StdBlocks().getCellInteger(1)->id(), UiText(148) + u" 2"_s) << load;
    }
    // The plate stays under a new layout, and its wells are read.
    EXPECT_EQ(session.Data().RawData().getCellInteger(0)->getRawValue(0), TestSupport::Dec("0.171"));
    EXPECT_TRUE(session.CanCalculate());

    session.NewRun();
    EXPECT_EQ(session.CurveType(), CURVE_4POINT);
    EXPECT_EQ(session.Data().StdConc(), DefaultStdConc(CURVE_4POINT));
    EXPECT_EQ(session.Data().RawData().GetCount() + session.Data().StdBlocks().GetCount(), 0);
    EXPECT_EQ(LastColumnWithData(session.Data()), -1);
    EXPECT_FALSE(session.CanCalculate());
    EXPECT_EQ(session.Details().RunNumber, QString());
    EXPECT_EQ(session.Details().KitBatchNumber, u"K0001"_s);
    EXPECT_EQ(session.Details().OperatorName, u"A. Smith"_s);
    EXPECT_EQ(session.Details().RunDate, QDate(2026, 12, 9));
    EXPECT_EQ(session.Details().StdConcValueType, TStdConcValueType::Default);
}

// A window shows a file that is not there in the operator's language; the tools keep the
// reason that follows the file's name on their error line.
TEST(RunSession, MissingFile_SaidInTheCurrentLanguage)
{
    QTemporaryDir folder;
    const QString missing = folder.filePath(u"none such.vdf"_s);
    const TestSupport::LanguageGuard german(u"LOCALE_GERMAN"_s);
    TRunSession session;
    const TRunStepResult step = session.LoadRun(missing);
    EXPECT_EQ(step.TextNamingFile(), u"Die Datei existiert nicht.\n"_s + QDir::toNativeSeparators(missing));
    EXPECT_EQ(step.Reason, u"the file does not exist."_s);
}

// Unpaired surrogates from a file or a paste never reach the run's texts and exports.
TEST(RunSession, LoneSurrogates_BecomeReplacementCharacters)
{
    QTemporaryDir folder;
    const QString lone(QChar(0xDC00));
    QString text = DecodeText(ReadWholeFile(Example("run-8point.vdf")));
    text.replace(u"Operator=A. Smith"_s, u"Operator=A. Sm"_s + lone + u"ith"_s);
    text.replace(u"ID=ID 1\r\n"_s, u"ID=ID "_s + lone + u"1\r\n"_s);
    const QString path = folder.filePath(u"lone.vdf"_s);
    WriteFileAtomically(path, Utf16File(text));

    TRunSession session;
    ASSERT_TRUE(session.LoadRun(path).Ok());
    ASSERT_TRUE(session.Calculate().Ok());
    const QString replaced{QChar(QChar::ReplacementCharacter)};
    EXPECT_EQ(session.Details().OperatorName, u"A. Sm"_s + replaced + u"ith"_s);
    const QString exported = session.ResultsExportText();
    EXPECT_TRUE(exported.contains(u"ID "_s + replaced + u"1\t"_s));
    EXPECT_TRUE(exported.isValidUtf16());

    QString plate = ExamplePlate();
    plate.replace(u"OVER"_s, u"OV"_s + lone + u"ER"_s);
    ASSERT_TRUE(session.SetPlateText(plate).Ok());
    bool found = false;
    for (int col = 0; col < TMarnovelData::DataCols; ++col)
        for (int row = 0; row < TMarnovelData::DataRows; ++row)
            found = found || session.Data().PlateText(col, row) == u"OV"_s + replaced + u"ER"_s;
    EXPECT_TRUE(found);
}
