#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class TLogoPicture;

// The about window: product name, version, the research-use notice with the maker's contact
// sentence, and the logo. Created once at start-up and shown modally by the main window.
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kClientWidth = 597;
    static constexpr int kClientHeight = 378;
    static constexpr int kPanelWidth = 570;

    explicit TAboutBox(QWidget *parent = nullptr);

    // Texts and positions in the current language; the main window calls it again after a
    // language change.
    void InitializeText();

    // The maker's web site line under the notice.
    static QString WebSiteText();

private:
    void FormCreate();
    void OKButtonClick();
    // The vertical flow of the panel's controls; the horizontal places are set with the texts.
    void LayoutAboutBox();

    QFrame *Panel1 = nullptr;
    QLabel *appNameLa = nullptr;
    QLabel *VersionLa = nullptr;
    QLabel *versionDataLa = nullptr;
    QLabel *lblMoreInfo = nullptr;
    QLabel *lblCatalogueNoHeader = nullptr;
    QLabel *lblCatalogueNo = nullptr;
    QLabel *lblBottom = nullptr;
    QLabel *usaCustLa = nullptr;
    QLabel *usaEmailLa = nullptr;
    QLabel *usaTelLa = nullptr;
    QLabel *intCustLa = nullptr;
    QLabel *intEmailLa = nullptr;
    QLabel *intTelLa = nullptr;
    QLabel *lblMarnovelLogoFooter = nullptr;
    TLogoPicture *imgParvenoxIcon = nullptr;
    TLogoPicture *ProgramIcon = nullptr;
    QPushButton *OKButton = nullptr;
};
