#include "MainWindowTestSupport.h"

#include "core/MarnovelConfigManager.h"
#include "core/MarnovelUtils.h"
#include "plate/CellColl.h"
#include "run/ManualFormat.h"
#include "run/MarnovelData.h"
#include "run/MarnovelRdData.h"
#include "support/GuiApplication.h"
#include "ui/main/RunDatePicker.h"
#include "ui/main/RunSessionNotifier.h"
#include "ui/main/grids/RawDataGrid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QStringEncoder>

#include <functional>

using namespace Qt::StringLiterals;
using TestSupport::Presenter;

namespace {

const QString kExampleRun = QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf");
const QString kExampleLayout = QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/layout-8point.vff");

class FileCommandsTest : public MainWindowTest
{
protected:
    static QString TempFile(const QString &name)
    {
        const QString path = TestSupport::HomeDir() + u'/' + name;
        QFile::remove(path);
        return path;
    }
    // The example run with one text replaced, written as the program writes run files.
    static QString ChangedExample(const QString &name, const QString &from, const QString &to)
    {
        QString text = DecodeText(ReadWholeFile(kExampleRun));
        text.replace(from, to);
        const QString path = TempFile(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        file.write(encoder.encode(text));
        return path;
    }
    TRawDataGrid *Grid() const { return Child<TRawDataGrid>(u"rawDataGd"_s); }
};

TEST_F(FileCommandsTest, SaveAs_ProposesRunDateAndRunNumber)
{
    LoadAndCalculate();
    window->GetRunDateDt()->setDate(QDate(2027, 3, 1));
    window->GetRunNoEd()->setText(u"R7"_s);
    Click(Button(u"saveAsPb"_s));
    ASSERT_EQ(Presenter().fileRequests.size(), 1u);
    EXPECT_EQ(Presenter().fileRequests[0].kind, TFileDialogKind::Save);
    EXPECT_EQ(Presenter().fileRequests[0].proposedName, u"01Mar27_R7.vdf"_s);
    EXPECT_EQ(Presenter().fileRequests[0].filter, u"Velomyra Run Data File|*.vdf"_s);
    EXPECT_FALSE(window->DataSaved()); // cancelled
}

TEST_F(FileCommandsTest, SaveFormat_ProposesTheFirstFreeName)
{
    window->GetOperatorEd()->setText(u"Alice"_s);
    window->GetRunDateDt()->setDate(QDate(2027, 1, 5));
    const QDir folder(GetConfigManager().GetDirFormatFiles());
    QFile::remove(folder.filePath(u"Ali05Jan27_a.vff"_s));
    Click(Button(u"btnSaveFormat"_s));
    QFile taken(folder.filePath(u"Ali05Jan27_a.vff"_s));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.close();
    Click(Button(u"btnSaveFormat"_s));
    ASSERT_EQ(Presenter().fileRequests.size(), 2u);
    EXPECT_EQ(Presenter().fileRequests[0].proposedName, u"Ali05Jan27_a.vff"_s);
    EXPECT_EQ(Presenter().fileRequests[1].proposedName, u"Ali05Jan27_b.vff"_s);
    EXPECT_EQ(Presenter().fileRequests[0].filter, u"Velomyra Format File|*.vff"_s);
    taken.remove();
}

TEST_F(FileCommandsTest, SaveAndLoad_RoundTripThroughTheWindow)
{
    LoadAndCalculate();
    // What the edits show is saved, not what the file brought.
    window->GetOperatorEd()->setText(u"B. Jones"_s);
    const QString path = TempFile(u"round trip.vdf"_s);
    Presenter().fileNames.push_back(path);
    Click(Button(u"saveAsPb"_s));
    EXPECT_TRUE(window->DataSaved());
    ASSERT_TRUE(QFile::exists(path));
    QStringList plate;
    for (int row = 1; row <= 8; ++row) {
        for (int col = 1; col <= 12; ++col)
            plate << Grid()->Cell(col, row);
    }

    Click(Button(u"newTestPb"_s)); // saved: no question
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_FALSE(window->RawData().RawDataHasData());

    Presenter().fileNames.push_back(path);
    Click(Button(u"loadPb"_s));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_EQ(window->GetRunNoEd()->text(), u"1"_s);
    EXPECT_EQ(window->GetKitBatchNoEd()->text(), u"K0001"_s);
    EXPECT_EQ(window->GetOperatorEd()->text(), u"B. Jones"_s);
    EXPECT_EQ(window->GetRunDateDt()->date(), QDate(2026, 12, 9));
    QStringList loaded;
    for (int row = 1; row <= 8; ++row) {
        for (int col = 1; col <= 12; ++col)
            loaded << Grid()->Cell(col, row);
    }
    EXPECT_EQ(loaded, plate);
    EXPECT_EQ(window->RunData().StdBlocks().GetCount(), 2);
    EXPECT_EQ(window->RunData().RawData().GetCount(), 80);
    EXPECT_TRUE(Child<QRadioButton>(u"rbStdConcValueTypeManual"_s)->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(u"rb8PointCurve"_s)->isChecked());
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RawDataPage);
    EXPECT_TRUE(Button(u"calcCurvePb"_s)->isEnabled());
}

TEST_F(FileCommandsTest, SaveRunAndFormat_NameWithoutExtension_GetsTheExtensionTheLoadDialogsList)
{
    LoadAndCalculate();
    const QString run = TempFile(u"noext"_s);
    QFile::remove(run + u".vdf"_s);
    Presenter().fileNames.push_back(run);
    Click(Button(u"saveAsPb"_s));
    EXPECT_TRUE(window->DataSaved());
    EXPECT_FALSE(QFileInfo::exists(run));
    EXPECT_TRUE(QFileInfo(run + u".vdf"_s).isFile());

    const QString format = TempFile(u"layout"_s);
    QFile::remove(format + u".vff"_s);
    Presenter().fileNames.push_back(format);
    Click(Button(u"btnSaveFormat"_s));
    EXPECT_FALSE(QFileInfo::exists(format));
    EXPECT_TRUE(QFileInfo(format + u".vff"_s).isFile());
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();

    // Loaded back through the dialogs that list only their own extension.
    Presenter().fileNames = {format + u".vff"_s};
    Click(Button(u"btnLoadFormat"_s));
    Presenter().fileNames = {run + u".vdf"_s};
    Click(Button(u"loadPb"_s));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_EQ(window->RunData().RawData().GetCount(), 80);
    QFile::remove(run + u".vdf"_s);
    QFile::remove(format + u".vff"_s);
}

TEST_F(FileCommandsTest, Load_FailedFiles_ClearTheRunWithTheirTextAndFile)
{
    const struct
    {
        const char *name;
        QString file;
        QString message; // empty: the file system's reason
    } cases[] = {
        {"another criteria type",
         ChangedExample(u"other type.vdf"_s, u"CriteriaType=90"_s, u"CriteriaType=0"_s),
         u"The loading of the file failed because it contains at least one unmatching criteria type."_s},
        {"an unreadable run date",
         ChangedExample(u"bad date.vdf"_s, u"RunDateI18n=2026-12-09"_s, u"RunDate=99/99/2026"_s),
         u"Error loading file."_s},
        {"a missing file", TempFile(u"missing.vdf"_s), QString()},
    };
    for (const auto &c : cases) {
        SetUp();
        LoadExampleRun(); // the failed load must not leave this run behind
        FillRunDetails();
        Presenter().Clear();
        Presenter().fileNames.push_back(c.file);
        Click(Button(u"loadPb"_s));
        const QString fileLine = u'\n' + QDir::toNativeSeparators(c.file);
        ASSERT_EQ(Presenter().Texts().size(), 1) << c.name << Messages();
        if (c.message.isEmpty())
            EXPECT_TRUE(Presenter().Texts()[0].endsWith(fileLine)) << c.name << Messages();
        else
            EXPECT_EQ(Presenter().Texts()[0], c.message + fileLine) << c.name;
        EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RunDetailsPage) << c.name;
        EXPECT_TRUE(window->GetKitBatchNoEd()->text().isEmpty()) << c.name;
        EXPECT_TRUE(window->GetOperatorEd()->text().isEmpty()) << c.name;
        EXPECT_EQ(window->GetRunDateDt()->date(), QDate::currentDate()) << c.name;
        EXPECT_FALSE(window->RawData().RawDataHasData()) << c.name;
        EXPECT_EQ(window->RunData().XExtent(), 0) << c.name;
        EXPECT_EQ(window->RunData().StdBlocks().GetCount() + window->RunData().RawData().GetCount(), 0)
            << c.name;
        TearDown();
    }
}

TEST_F(FileCommandsTest, SaveAs_FileCannotBeWritten_NamesItAndStaysUnsaved)
{
    LoadAndCalculate();
    const QString path = TestSupport::HomeDir() + u"/no such folder/run.vdf"_s;
    Presenter().fileNames.push_back(path);
    Click(Button(u"saveAsPb"_s));
    ASSERT_EQ(Presenter().Texts().size(), 1) << Messages();
    EXPECT_EQ(Presenter().Texts()[0], u"The file \""_s + QDir::toNativeSeparators(path) +
                                          u"\" cannot be written: the folder does not exist."_s);
    EXPECT_FALSE(window->DataSaved());
}

TEST_F(FileCommandsTest, Load_ForbiddenCharactersInTheRunDetails_AreRemoved)
{
    Presenter().fileNames.push_back(
        ChangedExample(u"slashes.vdf"_s, u"Operator=A. Smith"_s, u"Operator=A/ Smith|"_s));
    Click(Button(u"loadPb"_s));
    EXPECT_EQ(Presenter().Texts(),
              QStringList{u"The characters \" \\ / : * ? \" < > | \" cannot be used."_s});
    EXPECT_EQ(window->GetOperatorEd()->text(), u"A Smith"_s);
    EXPECT_EQ(window->GetKitBatchNoEd()->text(), u"K0001"_s);
    EXPECT_TRUE(window->RawData().RawDataHasData());
}

TEST_F(FileCommandsTest, Load_Cancelled_StillChoosesManualValues)
{
    Click(Button(u"loadPb"_s));
    EXPECT_EQ(Presenter().fileRequests.size(), 1u);
    EXPECT_EQ(Presenter().fileRequests[0].filter, u"Velomyra Run Data File|*.vdf"_s);
    EXPECT_TRUE(Child<QRadioButton>(u"rbStdConcValueTypeManual"_s)->isChecked());
}

TEST_F(FileCommandsTest, LoadFormat_WiderThanTheData_IsRefused)
{
    FillRunDetails();
    // Data in columns 1-4 only, as a paste of a narrow plate leaves it.
    for (int row = 1; row <= 8; ++row) {
        for (int col = 1; col <= 4; ++col)
            Grid()->SetCell(col, row, TestSupport::Dec("0.5"));
    }
    Presenter().fileNames.push_back(kExampleLayout);
    Click(Button(u"btnLoadFormat"_s));
    EXPECT_EQ(Presenter().Texts(),
              QStringList{
                  u"The format selected contains more strips than the data entered. Please use an alternate "
                  "format."_s});
    EXPECT_EQ(window->RunData().StdBlocks().GetCount() + window->RunData().RawData().GetCount(), 0);
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RawDataPage);

    // Without data the same format is taken.
    Click(Button(u"newTestPb"_s));
    FillRunDetails();
    Presenter().Clear();
    Presenter().fileNames.push_back(kExampleLayout);
    Click(Button(u"btnLoadFormat"_s));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_EQ(window->RunData().StdBlocks().GetCount(), 2);
    EXPECT_EQ(window->RunData().RawData().GetCount(), 80);
    // The format's curve is shown with its default concentrations.
    EXPECT_TRUE(Child<QRadioButton>(u"rb8PointCurve"_s)->isChecked());
    EXPECT_EQ(StdConc()->rowCount(), 8);
    EXPECT_EQ(Concentration(0), TestSupport::Dec("8.000"));
}

// A plate of 8 lines of 12 values, as a paste brings it.
QString PlateText(const char *value)
{
    QStringList lines;
    for (int row = 0; row < 8; ++row)
        lines << QStringList(12, TestSupport::Dec(value)).join(u'\t');
    return lines.join(u'\n');
}

// Each step says what it changed, and only that: the views repaint from these signals. A
// refused step emits only its refusal, with its text, and leaves the run as it was.
TEST(RunSessionNotifier, Steps_SignalWhatTheyChange)
{
    TRunSession session;
    TRunSessionNotifier notifier(session);
    QSignalSpy plate(&notifier, &TRunSessionNotifier::plateChanged);
    QSignalSpy layout(&notifier, &TRunSessionNotifier::layoutChanged);
    QSignalSpy curve(&notifier, &TRunSessionNotifier::curveTypeChanged);
    QSignalSpy conc(&notifier, &TRunSessionNotifier::concentrationsChanged);
    QSignalSpy details(&notifier, &TRunSessionNotifier::detailsChanged);
    QSignalSpy calculated(&notifier, &TRunSessionNotifier::calculated);
    QSignalSpy discarded(&notifier, &TRunSessionNotifier::resultsDiscarded);
    QSignalSpy refusals(&notifier, &TRunSessionNotifier::refused);
    const QPoint a1(1, 1);
    const auto otherCurve = [&] { return session.CurveType() == CURVE_8POINT ? CURVE_4POINT : CURVE_8POINT; };
    TStringGridData unroundable(8, QStringList(12, TestSupport::Dec("0.5")));
    unroundable[3][4] = TestSupport::Dec("9999999.1234");
    TManualFormatState layoutState;
    layoutState.ApplyOrientation();
    const auto ok = [](const TRunStepResult &step) { ASSERT_TRUE(step.Ok()) << step.Reason.toStdString(); };
    const auto refused = [](const TRunStepResult &step) { ASSERT_FALSE(step.Ok()); };
    const struct
    {
        const char *name;
        std::function<void()> step;
        // plate, layout, curve type, concentrations, details, calculated, results discarded,
        // refused
        QList<qsizetype> counts;
    } cases[] = {
        {"load run", [&] { ok(notifier.LoadRun(kExampleRun)); }, {1, 1, 1, 1, 1, 0, 1, 0}},
        {"calculate", [&] { ok(notifier.Calculate()); }, {0, 0, 0, 0, 0, 1, 0, 0}},
        {"load format", [&] { ok(notifier.LoadFormat(kExampleLayout)); }, {0, 1, 1, 1, 0, 0, 1, 0}},
        {"refused curve type",
         [&] { refused(notifier.SetCurveType(otherCurve())); },
         {0, 0, 0, 0, 0, 0, 0, 1}},
        {"rename block", [&] { ok(notifier.RenameBlock(a1, u" S "_s)); }, {0, 1, 0, 0, 0, 0, 0, 0}},
        {"remove block", [&] { ok(notifier.RemoveBlock(a1)); }, {0, 1, 0, 0, 0, 0, 1, 0}},
        {"refused removal", [&] { refused(notifier.RemoveBlock(a1)); }, {0, 0, 0, 0, 0, 0, 0, 1}},
        {"refused rename", [&] { refused(notifier.RenameBlock(a1, u"x"_s)); }, {0, 0, 0, 0, 0, 0, 0, 1}},
        {"clear layout", [&] { notifier.ClearLayout(); }, {0, 1, 0, 0, 0, 0, 1, 0}},
        {"curve type", [&] { ok(notifier.SetCurveType(otherCurve())); }, {0, 0, 1, 1, 0, 0, 1, 0}},
        {"concentrations",
         [&] { ok(notifier.SetStdConc(QList<double>(session.Data().StdConcSize(), 2.0))); },
         {0, 0, 0, 1, 0, 0, 1, 0}},
        {"refused concentrations",
         [&] { refused(notifier.SetStdConc(QList<double>(session.Data().StdConcSize(), -1.0))); },
         {0, 0, 0, 0, 0, 0, 0, 1}},
        {"run details", [&] { notifier.SetDetails(session.Details()); }, {0, 0, 0, 0, 1, 0, 0, 0}},
        {"results cleared", [&] { notifier.DiscardResults(); }, {0, 0, 0, 0, 0, 0, 1, 0}},
        {"paste", [&] { ok(notifier.SetPlateText(PlateText("0.5"))); }, {1, 0, 0, 0, 0, 0, 1, 0}},
        {"refused paste", [&] { refused(notifier.SetPlateText(u"1\t2"_s)); }, {0, 0, 0, 0, 0, 0, 0, 1}},
        {"typed plate",
         [&] { ok(notifier.SetTypedPlate(TStringGridData(8, {TestSupport::Dec("0.7")}))); },
         {1, 0, 0, 0, 0, 0, 1, 0}},
        {"refused typed plate",
         [&] { refused(notifier.SetTypedPlate(unroundable)); },
         {0, 0, 0, 0, 0, 0, 0, 1}},
        {"block placed",
         [&] { ASSERT_TRUE(notifier.PlaceBlock(layoutState, a1).Placed()); },
         {0, 1, 0, 0, 0, 0, 1, 0}},
        // The layout tool shows its own reasons beside the plate.
        {"refused placement",
         [&] { ASSERT_FALSE(notifier.PlaceBlock(layoutState, a1).Placed()); },
         {0, 0, 0, 0, 0, 0, 0, 0}},
        {"placed blocks taken back", [&] { notifier.RemoveNewestBlocks(1, 0); }, {0, 1, 0, 0, 0, 0, 1, 0}},
        {"refused load",
         [&] { refused(notifier.LoadRun(kExampleLayout + u"-missing"_s)); },
         {0, 0, 0, 0, 0, 0, 0, 1}},
        {"new run", [&] { notifier.NewRun(); }, {1, 1, 1, 1, 1, 0, 1, 0}},
        {"refused calculation", [&] { refused(notifier.Calculate()); }, {0, 0, 0, 0, 0, 0, 1, 1}},
    };
    for (const auto &c : cases) {
        for (QSignalSpy *spy : {&plate, &layout, &curve, &conc, &details, &calculated, &discarded, &refusals})
            spy->clear();
        const QByteArray before = session.RunFileBytes();
        c.step();
        EXPECT_EQ((QList<qsizetype>{plate.size(), layout.size(), curve.size(), conc.size(), details.size(),
                                    calculated.size(), discarded.size(), refusals.size()}),
                  c.counts)
            << c.name;
        if (c.counts.first(7) == QList<qsizetype>(7, 0)) {
            EXPECT_EQ(session.RunFileBytes(), before) << c.name;
        }
        if (!refusals.isEmpty()) {
            EXPECT_FALSE(refusals.front().front().toString().isEmpty()) << c.name;
        }
        if (!curve.isEmpty()) {
            EXPECT_EQ(curve.front().front().value<TCurveType>(), session.CurveType()) << c.name;
        }
    }
}

// resultsDiscarded follows exactly the steps after which the session holds no results and no
// unsaved results any more, so that a page alone on a session sees the state a window does.
// A refused step keeps both.
TEST(RunSessionNotifier, ResultsDiscarded_TheSessionHasDroppedThemItself)
{
    const QPoint a1(1, 1);
    TStringGridData unroundable(8, QStringList(12, TestSupport::Dec("0.5")));
    unroundable[3][4] = TestSupport::Dec("9999999.1234");
    const auto ok = [](const TRunStepResult &step) { ASSERT_TRUE(step.Ok()) << step.Reason.toStdString(); };
    const auto refused = [](const TRunStepResult &step) { ASSERT_FALSE(step.Ok()); };
    const struct
    {
        const char *name;
        std::function<void(TRunSessionNotifier &)> step;
        bool discarded;
    } cases[] = {
        {"paste", [&](TRunSessionNotifier &n) { ok(n.SetPlateText(PlateText("0.5"))); }, true},
        {"refused paste", [&](TRunSessionNotifier &n) { refused(n.SetPlateText(u"1\t2"_s)); }, false},
        {"rows of manual data entry",
         [&](TRunSessionNotifier &n) { ok(n.SetPlateRows(TStringGridData(8, QStringList(12, u"1"_s)))); },
         true},
        {"dropped data object",
         [&](TRunSessionNotifier &n) {
             QMimeData mime;
             mime.setText(PlateText("0.6"));
             ok(n.SetPlateDataObject(&mime));
         },
         true},
        {"typed plate",
         [&](TRunSessionNotifier &n) { ok(n.SetTypedPlate(TStringGridData(8, {TestSupport::Dec("0.7")}))); },
         true},
        {"refused typed plate", [&](TRunSessionNotifier &n) { refused(n.SetTypedPlate(unroundable)); },
         false},
        {"block removed", [&](TRunSessionNotifier &n) { ok(n.RemoveBlock(a1)); }, true},
        {"block renamed", [&](TRunSessionNotifier &n) { ok(n.RenameBlock(a1, u"S"_s)); }, false},
        {"layout cleared", [](TRunSessionNotifier &n) { n.ClearLayout(); }, true},
        {"refused placement",
         [&](TRunSessionNotifier &n) {
             TManualFormatState state;
             state.ApplyOrientation();
             ASSERT_FALSE(n.PlaceBlock(state, a1).Placed());
         },
         false},
        {"placed blocks taken back", [](TRunSessionNotifier &n) { n.RemoveNewestBlocks(1, 0); }, true},
        {"same curve type", [&](TRunSessionNotifier &n) { ok(n.SetCurveType(CURVE_8POINT)); }, true},
        {"refused curve type", [&](TRunSessionNotifier &n) { refused(n.SetCurveType(CURVE_4POINT)); }, false},
        {"concentrations", [&](TRunSessionNotifier &n) { ok(n.SetStdConc(QList<double>(8, 2.0))); }, true},
        {"refused concentrations",
         [&](TRunSessionNotifier &n) { refused(n.SetStdConc(QList<double>(8, -1.0))); }, false},
        {"run details", [](TRunSessionNotifier &n) { n.SetDetails(n.Session().Details()); }, false},
        {"run loaded", [&](TRunSessionNotifier &n) { ok(n.LoadRun(kExampleRun)); }, true},
        {"refused load", [&](TRunSessionNotifier &n) { refused(n.LoadRun(kExampleLayout + u"-missing"_s)); },
         false},
        {"format loaded", [&](TRunSessionNotifier &n) { ok(n.LoadFormat(kExampleLayout)); }, true},
        {"new run", [](TRunSessionNotifier &n) { n.NewRun(); }, true},
        {"results cleared", [](TRunSessionNotifier &n) { n.DiscardResults(); }, true},
        // Standards taken off behind the steps' back leave nothing to calculate.
        {"refused calculation",
         [&](TRunSessionNotifier &n) {
             n.Session().Data().ClearStdBlocks();
             refused(n.Calculate());
         },
         true},
    };
    for (const auto &c : cases) {
        TRunSession session;
        TRunSessionNotifier notifier(session);
        ASSERT_TRUE(session.LoadRun(kExampleRun).Ok()) << c.name;
        ASSERT_TRUE(session.Calculate().Ok()) << c.name;
        QSignalSpy discarded(&notifier, &TRunSessionNotifier::resultsDiscarded);
        c.step(notifier);
        EXPECT_EQ(discarded.size(), c.discarded ? 1 : 0) << c.name;
        EXPECT_EQ(session.LastResult() == nullptr, c.discarded) << c.name;
        EXPECT_EQ(session.HasUnsavedResults(), !c.discarded) << c.name;
    }
}

} // namespace
