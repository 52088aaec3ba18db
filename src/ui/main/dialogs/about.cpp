#include "about.h"

#include "ui/main/Logo.h"

#include "core/SoftwareInfoManager.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "platform/DialogSetup.h"
#include "platform/WindowTools.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kPanelLeft = (TAboutBox::kClientWidth - TAboutBox::kPanelWidth) / 2;
constexpr int kPanelTop = 10;
constexpr int kButtonGap = 10; // between the panel, the OK button and the window's bottom edge
constexpr int kLogoSide = 72;
constexpr int kSideRoom = 10; // room left of and right of labels that may wrap

QLabel *MakeLabel(QWidget *parent, const QString &name)
{
    auto *label = Named(new QLabel(parent), name);
    label->setTextFormat(Qt::PlainText); // "R&D", "<" and ">" are text
    return label;
}

// The label's width is its text's, at most maxWidth (then it wraps); its height follows.
void FitLabel(QLabel *label, int maxWidth)
{
    label->setWordWrap(false);
    const int natural = label->sizeHint().width();
    const int width = qMin(natural, maxWidth);
    label->setWordWrap(natural > maxWidth);
    label->resize(width, label->wordWrap() ? label->heightForWidth(width) : label->sizeHint().height());
}

int Bottom(const QWidget *widget)
{
    return widget->y() + widget->height();
}

int RightEdge(const QWidget *widget)
{
    return widget->x() + widget->width();
}

} // namespace

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent)
{
    SetUpDialog(this, QStringLiteral("AboutBox"), TDialogKind::Modal);
    setFixedSize(kClientWidth, kClientHeight);

    Panel1 = Named(new QFrame(this), QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setAutoFillBackground(true);
    QPalette panelPalette = Panel1->palette();
    panelPalette.setColor(QPalette::Window, panelPalette.color(QPalette::Base));
    Panel1->setPalette(panelPalette);
    Panel1->setGeometry(kPanelLeft, kPanelTop, kPanelWidth, 0);

    imgParvenoxIcon = Named(new TLogoPicture(Panel1), QStringLiteral("imgParvenoxIcon"));
    imgParvenoxIcon->resize(kLogoSide, kLogoSide);
    ProgramIcon = Named(new TLogoPicture(Panel1), QStringLiteral("ProgramIcon"));

    appNameLa = MakeLabel(Panel1, QStringLiteral("appNameLa"));
    appNameLa->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont nameFont = appNameLa->font();
    nameFont.setBold(true);
    appNameLa->setFont(nameFont);
    QPalette namePalette = appNameLa->palette();
    namePalette.setColor(QPalette::WindowText, QColor(0x50, 0x6E, 0xA6));
    appNameLa->setPalette(namePalette);

    VersionLa = MakeLabel(Panel1, QStringLiteral("VersionLa"));
    versionDataLa = MakeLabel(Panel1, QStringLiteral("versionDataLa"));
    lblMoreInfo = MakeLabel(Panel1, QStringLiteral("lblMoreInfo"));
    lblMoreInfo->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblCatalogueNoHeader = MakeLabel(Panel1, QStringLiteral("lblCatalogueNoHeader"));
    lblCatalogueNo = MakeLabel(Panel1, QStringLiteral("lblCatalogueNo"));
    lblBottom = MakeLabel(Panel1, QStringLiteral("lblBottom"));
    lblBottom->setPalette(namePalette);
    usaCustLa = MakeLabel(Panel1, QStringLiteral("usaCustLa"));
    usaEmailLa = MakeLabel(Panel1, QStringLiteral("usaEmailLa"));
    usaTelLa = MakeLabel(Panel1, QStringLiteral("usaTelLa"));
    intCustLa = MakeLabel(Panel1, QStringLiteral("intCustLa"));
    intEmailLa = MakeLabel(Panel1, QStringLiteral("intEmailLa"));
    intTelLa = MakeLabel(Panel1, QStringLiteral("intTelLa"));
    lblMarnovelLogoFooter = MakeLabel(Panel1, QStringLiteral("lblMarnovelLogoFooter"));
    lblMarnovelLogoFooter->setText(MakerFooterText());

    OKButton = Named(new QPushButton(this), QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);

    FormCreate();
}

QString TAboutBox::WebSiteText()
{
    return QStringLiteral("www.parvenox.example");
}

void TAboutBox::FormCreate()
{
    InitializeText();
}

void TAboutBox::OKButtonClick()
{
    accept();
}

void TAboutBox::InitializeText()
{
    const int mid = kPanelWidth / 2;
    const int wrapWidth = kPanelWidth - 2 * kSideRoom;

    setWindowTitle(UiText(TextId::About));
    lblMarnovelLogoFooter->hide();

    SetControlText(appNameLa, ProductNameText(), CONTROL_ABOUTHEADER);
    FitLabel(appNameLa, wrapWidth);
    appNameLa->move(mid - appNameLa->width() / 2, appNameLa->y());

    SetControlText(lblMoreInfo, ResearchUseAndContactText(), CONTROL_DEFAULT);
    lblMoreInfo->setWordWrap(true);
    const int infoWidth = kPanelWidth - 100;
    lblMoreInfo->resize(infoWidth, lblMoreInfo->heightForWidth(infoWidth));
    lblMoreInfo->move(mid - infoWidth / 2, lblMoreInfo->y());

    SetControlText(VersionLa, 114, CONTROL_DEFAULT, true);
    SetControlText(versionDataLa, GetSoftwareInfoManager().GetVersNumberStr(), CONTROL_DEFAULT);
    versionDataLa->setText(versionDataLa->text() + QLatin1Char(' ') + GetSoftwareInfoManager().GetBuildNo());
    VersionLa->adjustSize();
    versionDataLa->adjustSize();
    VersionLa->move(mid - (VersionLa->width() + versionDataLa->width()) / 2 - 2, VersionLa->y());
    versionDataLa->move(RightEdge(VersionLa) + 2, versionDataLa->y());

    SetControlText(OKButton, 48, true);

    for (QLabel *contact : {usaCustLa, usaEmailLa, usaTelLa, intCustLa, intEmailLa, intTelLa})
        contact->hide();

    SetControlText(lblCatalogueNoHeader, 195, CONTROL_DEFAULT, true);
    SetControlText(lblCatalogueNo, GetSoftwareInfoManager().GetGtin(), CONTROL_DEFAULT);
    lblCatalogueNoHeader->adjustSize();
    lblCatalogueNo->adjustSize();
    const bool hasGtin = !lblCatalogueNo->text().isEmpty();
    lblCatalogueNoHeader->setVisible(hasGtin);
    lblCatalogueNo->setVisible(hasGtin);
    lblCatalogueNoHeader->move(mid - (lblCatalogueNoHeader->width() + 2 + lblCatalogueNo->width()) / 2,
                               lblCatalogueNoHeader->y());
    lblCatalogueNo->move(RightEdge(lblCatalogueNoHeader) + 2, lblCatalogueNo->y());

    SetControlText(lblBottom, WebSiteText(), CONTROL_EMAIL);
    FitLabel(lblBottom, wrapWidth);
    lblBottom->move(mid - lblBottom->width() / 2, lblBottom->y());

    ProgramIcon->hide();
    imgParvenoxIcon->show();

    LayoutAboutBox();
}

void TAboutBox::LayoutAboutBox()
{
    // The OK button sits centred under the panel; the panel takes the height above it.
    OKButton->adjustSize();
    const int buttonWidth = qMax(OKButton->width(), 90);
    const int buttonTop = kClientHeight - kButtonGap - OKButton->height();
    OKButton->setGeometry((kClientWidth - buttonWidth) / 2, buttonTop, buttonWidth, OKButton->height());
    Panel1->resize(kPanelWidth, buttonTop - kButtonGap - kPanelTop);

    // Top down: logo, name, version, notice, product number; the web site line at the bottom.
    imgParvenoxIcon->move((kPanelWidth - kLogoSide) / 2, 10);
    appNameLa->move(appNameLa->x(), Bottom(imgParvenoxIcon) + 4);
    VersionLa->move(VersionLa->x(), Bottom(appNameLa) + 2);
    versionDataLa->move(versionDataLa->x(), VersionLa->y());
    lblMoreInfo->move(lblMoreInfo->x(), Bottom(VersionLa) + 14);
    lblCatalogueNoHeader->move(lblCatalogueNoHeader->x(), Bottom(lblMoreInfo) + 8);
    lblCatalogueNo->move(lblCatalogueNo->x(), lblCatalogueNoHeader->y());
    const int lowest =
        lblCatalogueNoHeader->isVisibleTo(this) ? Bottom(lblCatalogueNoHeader) : Bottom(lblMoreInfo);
    lblBottom->move(lblBottom->x(), qMax(lowest + 8, Panel1->height() - 8 - lblBottom->height()));
}
