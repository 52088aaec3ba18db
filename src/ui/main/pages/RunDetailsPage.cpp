#include "RunDetailsPage.h"

#include "core/Exceptions.h"
#include "core/FontManager.h"
#include "core/Messages.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "files/RunSession.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "platform/ExceptionBoundary.h"
#include "platform/WindowTools.h"
#include "run/MarnovelRdData.h"
#include "ui/main/RunDatePicker.h"
#include "ui/main/RunSessionNotifier.h"
#include "ui/main/grids/StdConcGrid.h"
#include "ui/main/grids/StdConcModel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

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

TRunDetailsPage::TRunDetailsPage(TRunSession &session, TRunSessionNotifier &notifier, QWidget *parent)
    : QWidget(parent), mSession(session), mNotifier(notifier)
{
    setObjectName(u"runDetailsSheet"_s);
    auto *sheetLayout = new QVBoxLayout(this);
    sheetLayout->setContentsMargins(0, 0, 0, 0);
    sheetLayout->setSpacing(0);
    sheetLayout->addStretch(1); // the panels are placed by ArrangeLayout
    BuildHeader();
    BuildEditFields();
    BuildStandardProperties();
    // The edit order of the run details, then the standards.
    setTabOrder(kitBatchNoEdNormal, runNoEdNormal);
    setTabOrder(runNoEdNormal, operatorEdNormal);
    setTabOrder(operatorEdNormal, rb8PointCurve);

    Retranslate();
    ShowDetails();
    ShowCurveType(session.CurveType());
    ConnectHandlers();
}

void TRunDetailsPage::BuildHeader()
{
    pnlRunDetailsHeaderText = Named(new QWidget(this), u"pnlRunDetailsHeaderText"_s);
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
}

void TRunDetailsPage::BuildEditFields()
{
    pnlRundetailsEditfields = Named(new QWidget(this), u"pnlRundetailsEditfields"_s);
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
}

void TRunDetailsPage::BuildStandardProperties()
{
    pnlStandardProperties = Named(new QWidget(this), u"pnlStandardProperties"_s);
    pnlStandardCurveSelection = Named(new QWidget(pnlStandardProperties), u"pnlStandardCurveSelection"_s);
    rgStdCurveType = NewChoice(pnlStandardCurveSelection, u"rgStdCurveType"_s, rb8PointCurve,
                               u"rb8PointCurve"_s, rb4PointCurve, u"rb4PointCurve"_s);
    pnlStdConcValueType = Named(new QWidget(pnlStandardProperties), u"pnlStdConcValueType"_s);
    rgStdConcValueType =
        NewChoice(pnlStdConcValueType, u"rgStdConcValueType"_s, rbStdConcValueTypeDefault,
                  u"rbStdConcValueTypeDefault"_s, rbStdConcValueTypeManual, u"rbStdConcValueTypeManual"_s);
    stdConcLa = Named(new QLabel(pnlStandardProperties), u"stdConcLa"_s);
    stdConcGd = Named(new TStdConcGrid(&mSession, pnlStandardProperties), u"stdConcGd"_s);
    stdConcLa->setBuddy(stdConcGd);
}

void TRunDetailsPage::ConnectHandlers()
{
    for (QLineEdit *edit : {kitBatchNoEdNormal, runNoEdNormal, operatorEdNormal}) {
        connect(edit, &QLineEdit::textChanged, this, Guarded(this, &TRunDetailsPage::TakeDetails));
        connect(edit, &QLineEdit::textChanged, this, &TRunDetailsPage::detailsEdited);
    }
    connect(runDateDtNormal, &TRunDatePicker::dateChanged, this,
            Guarded(this, &TRunDetailsPage::TakeDetails));
    OnChecked(rb4PointCurve, this, &TRunDetailsPage::rb4PointCurveClick);
    OnChecked(rb8PointCurve, this, &TRunDetailsPage::rb8PointCurveClick);
    // Checking a value type from code runs its handler as well.
    connect(rbStdConcValueTypeDefault, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            RunGuarded([this] { rbStdConcValueTypeDefaultClick(); });
    });
    connect(rbStdConcValueTypeManual, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            RunGuarded([this] { rbStdConcValueTypeManualClick(); });
    });
    connect(stdConcGd, &TStdConcGrid::keyDown, this, Guarded(this, &TRunDetailsPage::stdConcGdKeyDown));
    connect(stdConcGd, &TStdConcGrid::entered, this, Guarded(this, &TRunDetailsPage::stdConcGdEnter));
    connect(stdConcGd, &TStdConcGrid::exited, this, Guarded(this, &TRunDetailsPage::stdConcGdExit));

    connect(&mNotifier, &TRunSessionNotifier::detailsChanged, this, &TRunDetailsPage::ShowDetails);
    connect(&mNotifier, &TRunSessionNotifier::curveTypeChanged, this, &TRunDetailsPage::ShowCurveType);
    connect(&mNotifier, &TRunSessionNotifier::concentrationsChanged, &stdConcGd->ConcModel(),
            &TStdConcModel::FollowSession);
}

// ---- texts and geometry --------------------------------------------------------------------

void TRunDetailsPage::Retranslate()
{
    const struct
    {
        QWidget *control;
        int id;
    } texts[] = {
        {runDateLa, 23},
        {runNumberLa, 44},
        {kbNumberLa, 45},
        {operatorLa, 46},
        // The research edition's choices.
        {rgStdCurveType, 354},
        {rb8PointCurve, 355},
        {rb4PointCurve, 356},
        {rgStdConcValueType, 357},
        {rbStdConcValueTypeDefault, 358},
        {rbStdConcValueTypeManual, 359},
        {stdConcLa, 360},
    };
    for (const auto &text : texts)
        SetControlText(text.control, text.id, true);
    // A grid is not named by its buddy label for a screen reader.
    stdConcGd->setAccessibleName(UiText(360));
    SetHeaderTexts();

    const int charset = GetTranslationManager().DetermineCharset();
    QFont edits = kitBatchNoEdNormal->font();
    edits.setPointSize(GetFontManager().DetermineFontSize(charset, CONTROL_DEFAULT));
    for (QLineEdit *edit : {kitBatchNoEdNormal, runNoEdNormal, operatorEdNormal})
        edit->setFont(edits);
    runDateDtNormal->setFont(edits);
    QFont standards = stdConcGd->font();
    standards.setPointSize(GetFontManager().DetermineFontSize(charset, GRID_STD));
    stdConcGd->setFont(standards);
}

void TRunDetailsPage::SetHeaderTexts()
{
    SetControlText(lblMainHeaderText, ProductNameText(), CONTROL_MAINHEADER);
    QFont bold = lblMainHeaderText->font();
    bold.setBold(true);
    lblMainHeaderText->setFont(bold);
    SetControlText(lblSecondHeaderText, UiText(TextId::AnalysisSoftware), CONTROL_SECONDHEADER);
    SetControlText(lblRunDetailsHeaderText, ResearchUseText(), CONTROL_IMPORTANT);
    lblUSAVersion->clear();
}

void TRunDetailsPage::ArrangeLayout(int bottomRoom)
{
    const int height = this->height() - bottomRoom;
    const int headerHeight = pnlRunDetailsHeaderText->sizeHint().height();
    const int detailsHeight = pnlRundetailsEditfields->sizeHint().height();
    const int free = height - headerHeight - detailsHeight;
    const int gap = std::max(0, free / 3);
    pnlRunDetailsHeaderText->setGeometry(0, gap, width(), headerHeight);

    // The research edition: run details on the left half, standards on the right half,
    // both directly below the header.
    const int top = pnlRunDetailsHeaderText->geometry().bottom() + 1;
    const int panelHeight = std::max(0, height - top);
    pnlRundetailsEditfields->setGeometry(0, top, width() / 2, panelHeight);
    pnlStandardProperties->setGeometry(width() / 2, top, width() - width() / 2, panelHeight);
    LayoutStandardProperties();
}

void TRunDetailsPage::LayoutStandardProperties()
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

// ---- run details ----------------------------------------------------------------------------

TRunDetails TRunDetailsPage::DetailsShown() const
{
    return {runDateDtNormal->date(),
            runNoEdNormal->text(),
            kitBatchNoEdNormal->text(),
            operatorEdNormal->text(),
            rbStdConcValueTypeManual->isChecked() ? TStdConcValueType::Manual : TStdConcValueType::Default,
            OWCellBlockBase::GetSubjectIdPrefix()};
}

void TRunDetailsPage::TakeDetails()
{
    if (mShowingDetails)
        return;
    mNotifier.SetDetails(DetailsShown());
}

void TRunDetailsPage::ShowDetails()
{
    // The run's texts in the edits; a run without a valid date keeps the date shown.
    const TRunDetails &details = mSession.Details();
    mShowingDetails = true;
    const auto shown = qScopeGuard([this] { mShowingDetails = false; });
    const std::pair<QLineEdit *, const QString *> edits[] = {{runNoEdNormal, &details.RunNumber},
                                                             {kitBatchNoEdNormal, &details.KitBatchNumber},
                                                             {operatorEdNormal, &details.OperatorName}};
    for (const auto &[edit, text] : edits)
        if (edit->text() != *text)
            edit->setText(*text);
    if (details.RunDate.isValid())
        runDateDtNormal->setDate(details.RunDate);
}

void TRunDetailsPage::ShowDetailsFromFile(const TRunDetails &details)
{
    {
        // Into the run once, all of it, when everything is shown.
        mShowingDetails = true;
        const auto shown = qScopeGuard([this] { mShowingDetails = false; });
        runNoEdNormal->setText(details.RunNumber);
        kitBatchNoEdNormal->setText(details.KitBatchNumber);
        operatorEdNormal->setText(details.OperatorName);
        if (details.RunDate.isValid())
            runDateDtNormal->setDate(details.RunDate);
        // Choosing Default would put the defaults over the file's concentrations.
        if (details.StdConcValueType == TStdConcValueType::Manual)
            rbStdConcValueTypeManual->setChecked(true);
        OWCellBlockBase::SetSubjectIdPrefix(details.IdPrefix);
    }
    TakeDetails();
}

void TRunDetailsPage::ClearDetails(bool all)
{
    if (all) {
        runDateDtNormal->setDate(QDate::currentDate());
        for (QLineEdit *edit : {kitBatchNoEdNormal, runNoEdNormal, operatorEdNormal})
            edit->clear();
    } else {
        runNoEdNormal->clear();
    }
}

void TRunDetailsPage::ChooseValueType(TStdConcValueType type)
{
    (type == TStdConcValueType::Manual ? rbStdConcValueTypeManual : rbStdConcValueTypeDefault)
        ->setChecked(true);
}

bool TRunDetailsPage::IsValidControlTextRunDetails(QLineEdit *edit, QString &message) const
{
    message.clear();
    if (edit->text().isEmpty()) {
        if (edit == runNoEdNormal)
            message = UiText(TextId::EnterRunNumber);
        else if (edit == kitBatchNoEdNormal)
            message = UiText(TextId::EnterBatchNumber);
        else if (edit == operatorEdNormal)
            message = UiText(TextId::EnterOperator);
        else
            throw MarnovelException(BuildExceptionMessage(u"TForm1.IsValidControlTextRunDetails"_s,
                                                          u"pControl.Name="_s + edit->objectName(),
                                                          u"Invalid control."_s));
    } else if (!ContainsNoInvalidChar(edit->text())) {
        message = InvalidCharMessage();
    }
    return message.isEmpty();
}

bool TRunDetailsPage::Validate(bool withMessage)
{
    QString message;
    for (QLineEdit *edit : {kitBatchNoEdNormal, runNoEdNormal, operatorEdNormal}) {
        if (!IsValidControlTextRunDetails(edit, message)) {
            if (withMessage) {
                ShowErrorMessage(message);
                SetFocusIfEnabled(edit);
            }
            return false;
        }
    }
    for (int row = 0; row < stdConcGd->rowCount(); ++row) {
        if (stdConcGd->Cell(1, row).isEmpty()) {
            stdConcGd->ShowConcentration(row);
            if (withMessage) {
                ShowErrorMessage(u"Standard concentrations must not be blank."_s);
                SetFocusIfEnabled(stdConcGd);
            }
            return false;
        }
    }
    return true;
}

// ---- curve type ----------------------------------------------------------------------------

void TRunDetailsPage::SetCurveType(TCurveType curveType)
{
    // The notifier's signals show the curve with its default concentrations, or its refusal.
    (void)mNotifier.SetCurveType(curveType);
}

void TRunDetailsPage::ShowCurveType(TCurveType curveType)
{
    FillStdConcGrid();
    const bool eightPoint = curveType == CURVE_8POINT;
    fStdConcDivider = eightPoint ? 2 : 4;
    SetCheckedQuietly(eightPoint ? rb8PointCurve : rb4PointCurve, true);
}

void TRunDetailsPage::rb4PointCurveClick()
{
    if (mSession.CurveType() == CURVE_4POINT)
        return;
    if (!ConfirmDiscard()) {
        SetCheckedQuietly(rb8PointCurve, true);
        return;
    }
    SetCurveType(CURVE_4POINT);
    mNotifier.DiscardResults(); // results of the other curve no longer hold
}

void TRunDetailsPage::rb8PointCurveClick()
{
    if (mSession.CurveType() == CURVE_8POINT)
        return;
    if (!ConfirmDiscard()) {
        SetCheckedQuietly(rb4PointCurve, true);
        return;
    }
    SetCurveType(CURVE_8POINT);
    mNotifier.DiscardResults();
}

void TRunDetailsPage::DisableStdConcSelection()
{
    if (mSession.Data().StdBlocks().GetCount() == 0) {
        EnableCurveTypeSelection();
        return;
    }
    // Standards on the plate fix the curve type.
    const bool eightPoint = mSession.CurveType() == CURVE_8POINT;
    rb8PointCurve->setEnabled(eightPoint);
    rb4PointCurve->setEnabled(!eightPoint);
}

void TRunDetailsPage::EnableCurveTypeSelection()
{
    rb8PointCurve->setEnabled(true);
    rb4PointCurve->setEnabled(true);
}

// ---- standard concentrations -------------------------------------------------------------------

void TRunDetailsPage::FillStdConcGrid()
{
    QFont font = stdConcGd->font();
    font.setPointSize(
        GetFontManager().DetermineFontSize(GetTranslationManager().DetermineCharset(), GRID_STD));
    stdConcGd->setFont(font);
    stdConcGd->ConcModel().Refresh();
}

void TRunDetailsPage::StdConcGdFill()
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

void TRunDetailsPage::stdConcGdEnter()
{
    StdConcBackupGrid.clear();
    for (int row = 0; row < stdConcGd->rowCount(); ++row)
        StdConcBackupGrid << stdConcGd->Cell(1, row);
}

bool TRunDetailsPage::stdConcCheckAndHandleNewValue()
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
    } else if (!changed || ConfirmDiscard()) {
        if (row < StdConcBackupGrid.size())
            StdConcBackupGrid[row] = text;
        if (!changed)
            return true; // the same number: the results shown still hold
        StdConcGdFill();
        stdConcGd->viewport()->update();
        CopyStdConcToData();
        mNotifier.DiscardResults();
        return true;
    }
    stdConcGd->SetCell(col, row, previous);
    return false;
}

bool TRunDetailsPage::CheckConcentrationBeingTyped()
{
    stdConcGd->CommitEditor();
    return stdConcCheckAndHandleNewValue();
}

void TRunDetailsPage::stdConcGdExit()
{
    if (mCheckingStdConc)
        return;
    stdConcCheckAndHandleNewValue();
    stdConcGd->Deselect();
}

void TRunDetailsPage::stdConcGdKeyDown(int key, bool shift)
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

void TRunDetailsPage::StdConcMoveRow(bool down)
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
    if (!stdConcGd->Editable(1, target))
        return; // only S1 is typed while the values are derived
    stdConcGd->setCurrentIndex(stdConcGd->model()->index(target, 1));
}

void TRunDetailsPage::CopyStdConcToData()
{
    // The cells up to the first empty one; the run keeps its values for the rest.
    QList<double> concentrations;
    for (const float value : mSession.Data().StdConc())
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
    (void)mNotifier.SetStdConc(concentrations);
}

void TRunDetailsPage::rbStdConcValueTypeDefaultClick()
{
    // The defaults replace the concentrations of unsaved results: asked first.
    if (!ConfirmDiscard()) {
        const QSignalBlocker blocker(rbStdConcValueTypeManual);
        rbStdConcValueTypeManual->setChecked(true);
        return;
    }
    stdConcGd->SetDefaultValueType(true);
    SetCurveType(rb8PointCurve->isChecked() ? CURVE_8POINT : CURVE_4POINT);
    StdConcGdFill();
    stdConcGd->Deselect();
    CopyStdConcToData();
    mNotifier.DiscardResults();
    TakeDetails();
}

void TRunDetailsPage::rbStdConcValueTypeManualClick()
{
    // The concentrations stay as they are, and so do the results calculated with them; a
    // value typed afterwards clears them.
    stdConcGd->SetDefaultValueType(false);
    stdConcGd->viewport()->update();
    TakeDetails();
}
