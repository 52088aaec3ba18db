// The research edition's Run Details tab: the run detail edits, the curve type, the
// concentration value type and the standard concentrations.

#include "MainFormCombinedRd.h"

#include "PageControl.h"
#include "RunDatePicker.h"
#include "RunSessionNotifier.h"
#include "core/Exceptions.h"
#include "core/FontManager.h"
#include "core/Messages.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/CellColl.h"
#include "platform/WindowTools.h"
#include "run/MarnovelData.h"
#include "ui/main/grids/ResultsViews.h"
#include "ui/main/grids/StdConcGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// A panel holding one captioned group of two radio buttons.
QGroupBox *NewChoice(QWidget *panel, const QString &groupName, QRadioButton *&first, const QString &firstName,
                     QRadioButton *&second, const QString &secondName)
{
    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    auto *group = Named(new QGroupBox(panel), groupName);
    panelLayout->addWidget(group);
    auto *choices = new QVBoxLayout(group);
    first = Named(new QRadioButton(group), firstName);
    second = Named(new QRadioButton(group), secondName);
    choices->addWidget(first);
    choices->addWidget(second);
    return group;
}

} // namespace

// ---- construction ---------------------------------------------------------------------------

void TfrmMainCombinedRd::BuildRunDetailsPage()
{
    auto *sheetLayout = static_cast<QVBoxLayout *>(runDetailsSheet->layout());
    sheetLayout->addStretch(1); // the panels are placed by LayoutRunDetailsPage

    pnlRunDetailsHeaderText = Named(new QWidget(runDetailsSheet), u"pnlRunDetailsHeaderText"_s);
    auto *header = new QVBoxLayout(pnlRunDetailsHeaderText);
    header->setSpacing(2);
    lblMainHeaderText = Named(new QLabel(pnlRunDetailsHeaderText), u"lblMainHeaderText"_s);
    lblSecondHeaderText = Named(new QLabel(pnlRunDetailsHeaderText), u"lblSecondHeaderText"_s);
    lblRunDetailsHeaderText = Named(new QLabel(pnlRunDetailsHeaderText), u"lblRunDetailsHeaderText"_s);
    lblUSAVersion = Named(new QLabel(pnlRunDetailsHeaderText), u"lblUSAVersion"_s);
    for (QLabel *label : {lblMainHeaderText, lblSecondHeaderText, lblRunDetailsHeaderText, lblUSAVersion}) {
        label->setAlignment(Qt::AlignCenter);
        label->setTextFormat(Qt::PlainText); // "R&D" is a name, not markup or a mnemonic
        header->addWidget(label);
    }
    lblRunDetailsHeaderText->setWordWrap(true);
    lblUSAVersion->hide();
    QPalette headerColor = lblMainHeaderText->palette();
    headerColor.setColor(QPalette::WindowText, QColor(0x50, 0x6E, 0xA6));
    lblMainHeaderText->setPalette(headerColor);

    pnlRundetailsEditfields = Named(new QWidget(runDetailsSheet), u"pnlRundetailsEditfields"_s);
    auto *fields = new QGridLayout(pnlRundetailsEditfields);
    fields->setHorizontalSpacing(12);
    fields->setVerticalSpacing(10);
    runDateLa = Named(new QLabel(pnlRundetailsEditfields), u"runDateLa"_s);
    kbNumberLa = Named(new QLabel(pnlRundetailsEditfields), u"kbNumberLa"_s);
    runNumberLa = Named(new QLabel(pnlRundetailsEditfields), u"runNumberLa"_s);
    operatorLa = Named(new QLabel(pnlRundetailsEditfields), u"operatorLa"_s);
    runDateDtNormal = Named(new TRunDatePicker(pnlRundetailsEditfields), u"runDateDtNormal"_s);
    kitBatchNoEdNormal = Named(new QLineEdit(pnlRundetailsEditfields), u"kitBatchNoEdNormal"_s);
    runNoEdNormal = Named(new QLineEdit(pnlRundetailsEditfields), u"runNoEdNormal"_s);
    operatorEdNormal = Named(new QLineEdit(pnlRundetailsEditfields), u"operatorEdNormal"_s);
    const std::pair<QLabel *, QWidget *> rows[] = {{runDateLa, runDateDtNormal},
                                                   {kbNumberLa, kitBatchNoEdNormal},
                                                   {runNumberLa, runNoEdNormal},
                                                   {operatorLa, operatorEdNormal}};
    fields->setRowStretch(0, 1);
    fields->setColumnStretch(0, 1);
    fields->setColumnStretch(3, 1);
    int row = 1;
    for (const auto &[label, field] : rows) {
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setBuddy(field);
        field->setMinimumWidth(240);
        fields->addWidget(label, row, 1);
        fields->addWidget(field, row, 2);
        ++row;
    }
    fields->setRowStretch(row, 1);

    pnlStandardProperties = Named(new QWidget(runDetailsSheet), u"pnlStandardProperties"_s);
    pnlStandardCurveSelection = Named(new QWidget(pnlStandardProperties), u"pnlStandardCurveSelection"_s);
    rgStdCurveType = NewChoice(pnlStandardCurveSelection, u"rgStdCurveType"_s, rb8PointCurve,
                               u"rb8PointCurve"_s, rb4PointCurve, u"rb4PointCurve"_s);
    pnlStdConcValueType = Named(new QWidget(pnlStandardProperties), u"pnlStdConcValueType"_s);
    rgStdConcValueType =
        NewChoice(pnlStdConcValueType, u"rgStdConcValueType"_s, rbStdConcValueTypeDefault,
                  u"rbStdConcValueTypeDefault"_s, rbStdConcValueTypeManual, u"rbStdConcValueTypeManual"_s);
    stdConcLa = Named(new QLabel(pnlStandardProperties), u"stdConcLa"_s);
    stdConcGd = Named(new TStdConcGrid(pnlStandardProperties), u"stdConcGd"_s);
    stdConcLa->setBuddy(stdConcGd);

    // The edit order of the run details, then the standards.
    setTabOrder(kitBatchNoEdNormal, runNoEdNormal);
    setTabOrder(runNoEdNormal, operatorEdNormal);
    setTabOrder(operatorEdNormal, rb8PointCurve);
}

void TfrmMainCombinedRd::LayoutStandardProperties()
{
    const QFontMetrics metrics(stdConcGd->font());
    const int rowHeight = metrics.height() + 8;
    stdConcGd->verticalHeader()->setMinimumSectionSize(1);
    stdConcGd->verticalHeader()->setDefaultSectionSize(rowHeight);
    for (int row = 0; row < stdConcGd->rowCount(); ++row)
        stdConcGd->setRowHeight(row, rowHeight);
    const int nameWidth = metrics.horizontalAdvance(u"S88"_s) + 16;
    const int valueWidth = metrics.horizontalAdvance(u"8888.888"_s) + 24;
    stdConcGd->setColumnWidth(0, nameWidth);
    stdConcGd->setColumnWidth(1, valueWidth);
    // Room for the eight standards of the longer curve, whichever curve is chosen.
    stdConcGd->resize(nameWidth + valueWidth + 2 * stdConcGd->frameWidth(), stdConcGd->HeightForRows(8));
    stdConcLa->setWordWrap(false);
    stdConcLa->adjustSize();

    const QSize curve = pnlStandardCurveSelection->sizeHint();
    const QSize valueType = pnlStdConcValueType->sizeHint();
    const int choiceWidth = std::max(curve.width(), valueType.width());
    pnlStandardCurveSelection->resize(choiceWidth, curve.height());
    pnlStdConcValueType->resize(choiceWidth, valueType.height());

    // The caption starts where the grid starts, in every language: a caption wider than the
    // grid takes the grid's column as wide as it needs, and wraps only when the panel is too
    // narrow even for that.
    const int panelWidth = pnlStandardProperties->width();
    const int columnWidth = std::max(stdConcGd->width(), stdConcLa->width());
    const int freeWidth = std::max(0, panelWidth - (choiceWidth + columnWidth));
    const int choiceLeft = freeWidth / 3;
    const int gridLeft = choiceLeft + choiceWidth + freeWidth / 3;
    const int captionRoom = std::max(stdConcGd->width(), panelWidth - gridLeft - 4);
    if (stdConcLa->width() > captionRoom) {
        stdConcLa->setWordWrap(true);
        stdConcLa->resize(captionRoom, stdConcLa->heightForWidth(captionRoom));
    }
    const int freeHeight = pnlStandardProperties->height() - (stdConcLa->height() + stdConcGd->height());
    stdConcLa->move(gridLeft, freeHeight / 3);
    stdConcGd->move(gridLeft, stdConcLa->y() + stdConcLa->height() + freeHeight / 3);
    pnlStandardCurveSelection->move(choiceLeft, stdConcGd->y());
    pnlStdConcValueType->move(choiceLeft,
                              stdConcGd->y() + stdConcGd->height() - pnlStdConcValueType->height());
}

// ---- curve type ----------------------------------------------------------------------------

void TfrmMainCombinedRd::SetCurveType(TCurveType curveType)
{
    if (!IsValidCurveType(curveType))
        throw MarnovelException(BuildExceptionMessage(
            u"TForm1.SetCurveType"_s, u"pCurveType="_s + QString::number(curveType), u"Invalid CurveType"_s));
    // The notifier's signals show the curve with its default concentrations.
    if (const TRunStepResult step = mNotifier->SetCurveType(curveType); !step.Ok())
        ShowErrorMessage(step.Text());
}

void TfrmMainCombinedRd::ShowCurveType(TCurveType curveType)
{
    FillStdConcGrid();
    ResetStandardsGrid();
    const bool eightPoint = curveType == CURVE_8POINT;
    fStdConcDivider = eightPoint ? 2 : 4;
    (eightPoint ? rb8PointCurve : rb4PointCurve)->setChecked(true);
    concGd->setVerticalScrollBarPolicy(eightPoint ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    LayoutResultsPanel(); // the curve details' spacing and the results box follow the curve
    ManualFormatCurveTypeChanged();
}

void TfrmMainCombinedRd::rb4PointCurveClick()
{
    if (mData->GetCurveType() == CURVE_4POINT)
        return;
    if (!ConfirmDiscardUnsaved(true)) {
        rb8PointCurve->setChecked(true);
        return;
    }
    SetCurveType(CURVE_4POINT);
    ClearResultsDisplay(); // results of the other curve no longer hold
}

void TfrmMainCombinedRd::rb8PointCurveClick()
{
    if (mData->GetCurveType() == CURVE_8POINT)
        return;
    if (!ConfirmDiscardUnsaved(true)) {
        rb4PointCurve->setChecked(true);
        return;
    }
    SetCurveType(CURVE_8POINT);
    ClearResultsDisplay();
}

void TfrmMainCombinedRd::DisableStdConcSelection()
{
    if (mData->StdBlocks().GetCount() == 0) {
        EnableCurveTypeSelection();
        return;
    }
    // Standards on the plate fix the curve type.
    const bool eightPoint = mData->GetCurveType() == CURVE_8POINT;
    rb8PointCurve->setEnabled(eightPoint);
    rb4PointCurve->setEnabled(!eightPoint);
}

void TfrmMainCombinedRd::EnableCurveTypeSelection()
{
    rb8PointCurve->setEnabled(true);
    rb4PointCurve->setEnabled(true);
}

// ---- standard concentrations -------------------------------------------------------------------

void TfrmMainCombinedRd::FillStdConcGrid()
{
    stdConcGd->SetStandardCount(mData->StdConcSize());
    QFont font = stdConcGd->font();
    font.setPointSize(
        GetFontManager().DetermineFontSize(GetTranslationManager().DetermineCharset(), GRID_STD));
    stdConcGd->setFont(font);
    const TStdConcData &concentrations = mData->StdConc();
    for (int row = 0; row < stdConcGd->rowCount(); ++row) {
        const float value = concentrations.value(row, -1.0f);
        stdConcGd->SetCell(1, row, value == -1.0f ? QString() : FormatFixed(value, StdConcDecimals()));
    }
}

void TfrmMainCombinedRd::StdConcGdFill()
{
    if (!rbStdConcValueTypeDefault->isChecked())
        return;
    double first = 0.0;
    if (!TryTextToFloat(stdConcGd->Cell(1, 0), first))
        return;
    // The zero standard keeps its value.
    double value = first;
    for (int row = 1; row <= stdConcGd->rowCount() - 2; ++row) {
        value /= fStdConcDivider;
        stdConcGd->SetCell(1, row, FormatFixed(value, StdConcDecimals()));
    }
}

void TfrmMainCombinedRd::StdConcGdDeselectFirstCell()
{
    stdConcGd->Deselect();
}

void TfrmMainCombinedRd::stdConcGdEnter()
{
    StdConcBackupGrid.clear();
    for (int row = 0; row < stdConcGd->rowCount(); ++row)
        StdConcBackupGrid << stdConcGd->Cell(1, row);
}

bool TfrmMainCombinedRd::stdConcCheckAndHandleNewValue()
{
    const int row = stdConcGd->currentRow();
    const int col = stdConcGd->currentColumn();
    if (row < 0 || col < 0 || mCheckingStdConc)
        return true;
    const QString text = stdConcGd->Cell(col, row);
    const QString previous = StdConcBackupGrid.value(row);
    double value = 0.0;
    // The run keeps concentrations in single precision: 1e40 would become infinite.
    const bool valid = TryTextToFloat(text, value) && value >= 0.0 && FitsSinglePrecision(value);
    double previousValue = 0.0;
    const bool changed = !TryTextToFloat(previous, previousValue) || previousValue != value;
    // Message boxes take the focus for a moment; that is not the operator leaving.
    mCheckingStdConc = true;
    const auto checked = qScopeGuard([this] { mCheckingStdConc = false; });
    if (!valid) {
        ShowErrorMessage(UiText(TextId::StdConcNotNonNegative));
    } else if (!changed || ConfirmDiscardUnsaved(true)) {
        if (row < StdConcBackupGrid.size())
            StdConcBackupGrid[row] = text;
        if (!changed)
            return true; // the same number: the results shown still hold
        StdConcGdFill();
        stdConcGd->viewport()->update();
        CopyStdConcToData();
        ClearResultsDisplay();
        return true;
    }
    stdConcGd->SetCell(col, row, previous);
    return false;
}

bool TfrmMainCombinedRd::CheckConcentrationBeingTyped()
{
    stdConcGd->CommitEditor();
    return stdConcCheckAndHandleNewValue();
}

void TfrmMainCombinedRd::stdConcGdExit()
{
    if (mCheckingStdConc)
        return;
    stdConcCheckAndHandleNewValue();
    StdConcGdDeselectFirstCell();
}

void TfrmMainCombinedRd::stdConcGdKeyDown(int key, bool shift)
{
    if (key == Qt::Key_Tab) {
        StdConcMoveRow(!shift);
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (rbStdConcValueTypeDefault->isChecked())
            stdConcGdExit();
        else
            StdConcMoveRow(true);
    }
}

void TfrmMainCombinedRd::StdConcMoveRow(bool down)
{
    if (!stdConcCheckAndHandleNewValue())
        return;
    // The walk cycles through S1 ... the standard before the zero standard.
    const int last = stdConcGd->rowCount() - 2;
    const int row = stdConcGd->currentRow();
    int target = 0;
    if (down)
        target = row >= last ? 0 : row + 1;
    else
        target = row <= 0 ? last : row - 1;
    const QTableWidgetItem *cell = stdConcGd->item(target, 1);
    if (!cell || !(cell->flags() & Qt::ItemIsEnabled))
        return; // only S1 is typed while the values are derived
    stdConcGd->setCurrentCell(target, 1);
}

void TfrmMainCombinedRd::CopyStdConcToData()
{
    // The cells up to the first empty one; the run keeps its values for the rest.
    QList<double> concentrations;
    for (const float value : mData->StdConc())
        concentrations << value;
    for (int row = 0; row < stdConcGd->rowCount() && row < concentrations.size(); ++row) {
        const QString text = stdConcGd->Cell(1, row);
        if (text.isEmpty())
            break;
        try {
            concentrations[row] = TextToFloat(text);
        } catch (const EConvertError &) {
            stdConcGd->setFocus();
            stdConcGd->ShowConcentration(row);
            throw;
        }
    }
    if (const TRunStepResult step = mNotifier->SetStdConc(concentrations); !step.Ok())
        ShowErrorMessage(step.Text());
}

void TfrmMainCombinedRd::rbStdConcValueTypeDefaultClick()
{
    // The defaults replace the concentrations of unsaved results: asked first.
    if (!ConfirmDiscardUnsaved(true)) {
        const QSignalBlocker blocker(rbStdConcValueTypeManual);
        rbStdConcValueTypeManual->setChecked(true);
        return;
    }
    stdConcGd->SetDefaultValueType(true);
    SetCurveType(rb8PointCurve->isChecked() ? CURVE_8POINT : CURVE_4POINT);
    StdConcGdFill();
    StdConcGdDeselectFirstCell();
    CopyStdConcToData();
    ClearResultsDisplay();
}

void TfrmMainCombinedRd::rbStdConcValueTypeManualClick()
{
    // The concentrations stay as they are, and so do the results calculated with them; a
    // value typed afterwards clears them.
    stdConcGd->SetDefaultValueType(false);
    stdConcGd->viewport()->update();
}
