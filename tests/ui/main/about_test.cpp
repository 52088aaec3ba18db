#include "ui/main/Logo.h"
#include "ui/main/dialogs/about.h"

#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "support/GuiApplication.h"
#include "support/LanguageGuard.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <iostream>
#include <ostream>

using namespace Qt::StringLiterals;

static void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

const QString kLanguages[] = {u"LOCALE_ENGLISH"_s, u"LOCALE_GERMAN"_s,    u"LOCALE_FRENCH"_s,
                              u"LOCALE_SPANISH"_s, u"LOCALE_ITALIAN"_s,   u"LOCALE_GREEK"_s,
                              u"LOCALE_POLISH"_s,  u"LOCALE_PORTUGUESE"_s};

using TestSupport::LanguageGuard;

// The contact sentence under the notice is not translated in every catalogue yet.
bool CatalogueHasAboutTexts()
{
    try {
        ResearchUseAndContactText();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

class AboutBoxTest : public ::testing::Test
{
protected:
    template <typename T = QLabel> T *Control(const QString &name)
    {
        T *control = box.findChild<T *>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }
    int Mid() const { return TAboutBox::kPanelWidth / 2; }

    TAboutBox box;
};

TEST_F(AboutBoxTest, Window_FixedClientSizeAndPanelWidth)
{
    EXPECT_EQ(box.size(), QSize(597, 378));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_EQ(Control<QWidget>(u"Panel1"_s)->width(), 570);
    EXPECT_TRUE(box.isModal());
    EXPECT_EQ(box.objectName(), u"AboutBox"_s);
}

TEST_F(AboutBoxTest, EnglishTexts)
{
    EXPECT_EQ(box.windowTitle(), u"About"_s);
    EXPECT_EQ(Control(u"appNameLa"_s)->text(), u"Velomyra R&D"_s);
    EXPECT_EQ(Control(u"VersionLa"_s)->text(), u"Version"_s);
    EXPECT_EQ(Control(u"versionDataLa"_s)->text(), u"5.3.0 Build 08"_s);
    EXPECT_EQ(Control(u"lblMoreInfo"_s)->text(),
              u"For Research Use Only. Not for use in diagnostic procedures.\n\n"_s + UiText(363));
    EXPECT_EQ(Control<QPushButton>(u"OKButton"_s)->text(), u"OK"_s);
    EXPECT_EQ(Control(u"lblBottom"_s)->text(), TAboutBox::WebSiteText());
}

TEST_F(AboutBoxTest, ShownAndHiddenControls)
{
    box.show();
    for (const QString &name : {u"appNameLa"_s, u"VersionLa"_s, u"versionDataLa"_s, u"lblMoreInfo"_s,
                                u"lblBottom"_s, u"imgParvenoxIcon"_s, u"OKButton"_s})
        EXPECT_TRUE(Control<QWidget>(name)->isVisible()) << name.toStdString();
    // The product number is empty in this build: neither "GTIN:" nor a value.
    for (const QString &name :
         {u"usaCustLa"_s, u"usaEmailLa"_s, u"usaTelLa"_s, u"intCustLa"_s, u"intEmailLa"_s, u"intTelLa"_s,
          u"lblMarnovelLogoFooter"_s, u"ProgramIcon"_s, u"lblCatalogueNoHeader"_s, u"lblCatalogueNo"_s})
        EXPECT_FALSE(Control<QWidget>(name)->isVisible()) << name.toStdString();
}

TEST_F(AboutBoxTest, HorizontalPlaces_CentredOnThePanel)
{
    const QLabel *name = Control(u"appNameLa"_s);
    EXPECT_EQ(name->x(), Mid() - name->width() / 2);
    const QLabel *info = Control(u"lblMoreInfo"_s);
    EXPECT_EQ(info->geometry().left(), 50);
    EXPECT_EQ(info->width(), 470);
    EXPECT_TRUE(info->wordWrap());
    const QLabel *caption = Control(u"VersionLa"_s);
    const QLabel *value = Control(u"versionDataLa"_s);
    EXPECT_EQ(caption->x(), Mid() - (caption->width() + value->width()) / 2 - 2);
    EXPECT_EQ(value->x(), caption->x() + caption->width() + 2);
    EXPECT_EQ(caption->y(), value->y());
    const QLabel *bottom = Control(u"lblBottom"_s);
    EXPECT_EQ(bottom->x(), Mid() - bottom->width() / 2);
}

TEST_F(AboutBoxTest, FontSizes_OfTheTextRoles)
{
    for (const QString &language : {u"LOCALE_ENGLISH"_s, u"LOCALE_GREEK"_s}) {
        LanguageGuard guard(language);
        if (!CatalogueHasAboutTexts()) {
            std::cout << "[ NOTE     ] no contact sentence (text 363) yet in " << language.toStdString()
                      << "\n";
            continue;
        }
        box.InitializeText();
        EXPECT_EQ(Control(u"appNameLa"_s)->font().pointSize(), 17) << language.toStdString();
        EXPECT_EQ(Control(u"lblMoreInfo"_s)->font().pointSize(), 10) << language.toStdString();
        EXPECT_EQ(Control(u"VersionLa"_s)->font().pointSize(), 10) << language.toStdString();
        EXPECT_EQ(Control(u"lblBottom"_s)->font().pointSize(), 20) << language.toStdString();
    }
}

TEST_F(AboutBoxTest, EveryLanguage_TextsInsideThePanelWithoutOverlap)
{
    QStringList untranslated;
    for (const QString &language : kLanguages) {
        LanguageGuard guard(language);
        if (!CatalogueHasAboutTexts()) {
            untranslated << language;
            continue;
        }
        box.InitializeText();
        box.show();
        EXPECT_EQ(box.windowTitle(), UiText(142)) << language.toStdString();
        EXPECT_EQ(Control(u"VersionLa"_s)->text(), UiText(114)) << language.toStdString();
        EXPECT_EQ(Control<QPushButton>(u"OKButton"_s)->text(), UiText(48)) << language.toStdString();

        const QWidget *panel = Control<QWidget>(u"Panel1"_s);
        QList<QRect> placed;
        for (const QWidget *child : panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!child->isVisible())
                continue;
            const QRect rect = child->geometry();
            EXPECT_TRUE(panel->rect().contains(rect))
                << child->objectName().toStdString() << " outside the panel in " << language.toStdString();
            for (const QRect &other : placed)
                EXPECT_FALSE(rect.intersects(other))
                    << child->objectName().toStdString() << " overlaps in " << language.toStdString();
            placed << rect;
        }
        // Every label shows its whole text.
        for (const QLabel *label : panel->findChildren<QLabel *>()) {
            if (!label->isVisible())
                continue;
            const int needed =
                label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
            EXPECT_GE(label->height(), needed)
                << label->objectName().toStdString() << " in " << language.toStdString();
            if (!label->wordWrap()) {
                EXPECT_GE(label->width(), label->sizeHint().width())
                    << label->objectName().toStdString() << " in " << language.toStdString();
            }
        }
        const QWidget *ok = Control<QWidget>(u"OKButton"_s);
        EXPECT_GE(ok->y(), panel->geometry().bottom()) << language.toStdString();
        EXPECT_LE(ok->geometry().bottom(), box.height()) << language.toStdString();
        box.hide();
    }
    if (!untranslated.isEmpty())
        std::cout << "[ NOTE     ] no contact sentence (text 363) yet in "
                  << untranslated.join(u' ').toStdString() << "\n";
}

TEST_F(AboutBoxTest, OKButton_ClosesTheModalWindow)
{
    QWidget main;
    main.setGeometry(50, 40, 700, 500); // inside the 800 x 600 offscreen screen
    main.show();
    TAboutBox modal(&main);
    modal.open();
    ASSERT_TRUE(modal.isVisible());
    // Opens centred on the main window, when the screen has room for that (at twice the pixel
    // density the offscreen screen is smaller than the window, which then keeps to the screen).
    const QRect screen = modal.screen()->availableGeometry();
    if (screen.width() >= modal.width() && screen.height() >= modal.height())
        EXPECT_LE((modal.geometry().center() - main.geometry().center()).manhattanLength(), 4);
    else
        EXPECT_TRUE(screen.contains(modal.geometry().topLeft()));
    QTest::mouseClick(modal.findChild<QPushButton *>(u"OKButton"_s), Qt::LeftButton);
    EXPECT_FALSE(modal.isVisible());
    EXPECT_EQ(modal.result(), QDialog::Accepted);
}

TEST(LogoTest, ResourceDrawsTheLogo)
{
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    ASSERT_TRUE(PaintLogo(painter, QRectF(0, 0, 64, 64)));
    painter.end();
    // The tile's blue in the middle of the left edge, nothing outside the rounded corner.
    EXPECT_GT(image.pixelColor(6, 32).blue(), 120);
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);

    const QIcon icon = LogoIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_TRUE(icon.availableSizes().contains(QSize(256, 256)));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(16, 16)));
}

} // namespace
