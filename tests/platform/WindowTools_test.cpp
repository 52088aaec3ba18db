#include "platform/WindowTools.h"

#include "core/Exceptions.h"
#include "core/UiTextManager.h"
#include "support/GuiApplication.h"
#include "support/LanguageGuard.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

using namespace Qt::StringLiterals;

static void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

using TestSupport::LanguageGuard;

QString CaptionOf(QWidget *control)
{
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return button->text();
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->text();
    if (auto *group = qobject_cast<QGroupBox *>(control))
        return group->title();
    return QString();
}

std::string ThrownMessage(const std::function<void()> &call)
{
    try {
        call();
    } catch (const MarnovelException &e) {
        return e.what();
    }
    return "(nothing thrown)";
}

struct Kind
{
    const char *name;
    std::function<QWidget *()> make;
};

const Kind kCaptionedKinds[] = {
    {"push button", [] { return new QPushButton; }},
    {"tool button", [] { return new QToolButton; }},
    {"label", [] { return new QLabel; }},
    {"group box", [] { return new QGroupBox; }},
    {"radio button", [] { return new QRadioButton; }},
    {"check box", [] { return new QCheckBox; }},
};

TEST(SetControlTextTest, EveryCaptionedKind_GetsTextAndSizeOfUsage)
{
    for (const Kind &kind : kCaptionedKinds) {
        for (const auto &[usage, size] : {std::pair{CONTROL_DEFAULT, 10}, std::pair{CONTROL_ABOUTHEADER, 17},
                                          std::pair{CONTROL_EMAIL, 20}}) {
            std::unique_ptr<QWidget> control(kind.make());
            SetControlText(control.get(), u"Run Date"_s, usage);
            EXPECT_EQ(CaptionOf(control.get()), u"Run Date"_s) << kind.name;
            EXPECT_EQ(control->font().pointSize(), size) << kind.name << " usage " << usage;
            EXPECT_TRUE(control->toolTip().isEmpty()) << kind.name;
        }
    }
}

TEST(SetControlTextTest, Hint_ShownOnlyWhenAskedNotEmptyAndDifferent)
{
    const struct
    {
        bool showHint;
        QString text, hint, toolTip;
    } cases[] = {
        {true, u"Load"_s, u"Loads a run"_s, u"Loads a run"_s},
        {false, u"Load"_s, u"Loads a run"_s, QString()},
        {true, u"Load"_s, QString(), QString()},
        {true, u"Load"_s, u"Load"_s, QString()},
        // compared before the line break is turned into a real one
        {true, u"Paste\\nRaw Data"_s, u"Paste\\nRaw Data"_s, QString()},
    };
    for (const auto &c : cases) {
        QPushButton button;
        button.setToolTip(u"stale"_s);
        SetControlText(&button, c.text, c.showHint, CONTROL_DEFAULT, c.hint);
        EXPECT_EQ(button.toolTip(), c.toolTip) << c.text.toStdString() << " / " << c.hint.toStdString();
    }
}

TEST(SetControlTextTest, LineBreakEscapesAndCrLf_BecomeLineBreaks)
{
    const struct
    {
        QString text, shown;
    } cases[] = {
        {u"Paste\\nRaw Data"_s, u"Paste\nRaw Data"_s},
        {u"For Research Use Only.\r\n\r\nContact"_s, u"For Research Use Only.\n\nContact"_s},
        {u"One line"_s, u"One line"_s},
    };
    for (const auto &c : cases) {
        QLabel label;
        SetControlText(&label, c.text, CONTROL_DEFAULT);
        EXPECT_EQ(label.text(), c.shown);
    }
}

TEST(SetControlTextTest, Label_ShowsMarkupCharactersAsText)
{
    QLabel label;
    SetControlText(&label, u"<b>Velomyra R&D</b>"_s, CONTROL_MAINHEADER);
    EXPECT_EQ(label.textFormat(), Qt::PlainText);
    EXPECT_EQ(label.text(), u"<b>Velomyra R&D</b>"_s);
    EXPECT_EQ(label.font().pointSize(), 36);
}

TEST(SetControlTextTest, TabPage_SetsTabTextAndFontsWithoutToolTip)
{
    QTabWidget tabs;
    auto *first = new QWidget;
    auto *second = new QWidget;
    second->setObjectName(u"rawDataSheet"_s);
    tabs.addTab(first, u"one"_s);
    tabs.addTab(second, u"two"_s);
    SetControlText(second, u"Raw Data"_s, true, CONTROL_IMPORTANT, u"The plate"_s);
    EXPECT_EQ(tabs.tabText(1), u"Raw Data"_s);
    EXPECT_EQ(tabs.tabText(0), u"one"_s);
    EXPECT_TRUE(tabs.tabToolTip(1).isEmpty());
    EXPECT_EQ(tabs.font().pointSize(), 12);
    EXPECT_EQ(second->font().pointSize(), 12);
}

TEST(SetControlTextTest, OtherKinds_Refused)
{
    QLineEdit edit;
    edit.setObjectName(u"kitBatchNoEdNormal"_s);
    EXPECT_EQ(ThrownMessage([&] { SetControlText(&edit, u"K1"_s, CONTROL_DEFAULT); }),
              "SetControlText(): Control kitBatchNoEdNormal not handled.");
    QWidget plain; // a widget outside any tab widget is no tab page
    plain.setObjectName(u"Panel1"_s);
    EXPECT_EQ(ThrownMessage([&] { SetControlText(&plain, 142, false); }),
              "SetControlText(): Control Panel1 not handled.");
}

TEST(SetControlTextTest, CatalogueId_TextToolTipAndDefaultUsage)
{
    {
        // The tooltip catalogue is English: in English the hint equals the text and stays hidden.
        QPushButton button;
        SetControlText(&button, 142, true);
        EXPECT_EQ(button.text(), u"About"_s);
        EXPECT_TRUE(button.toolTip().isEmpty());
    }
    {
        LanguageGuard german(u"LOCALE_GERMAN"_s);
        QPushButton button;
        SetControlText(&button, 142, true);
        EXPECT_EQ(button.text(), u"Info"_s);
        EXPECT_EQ(button.toolTip(), u"About"_s);
        QPushButton quiet;
        SetControlText(&quiet, 142, false);
        EXPECT_TRUE(quiet.toolTip().isEmpty());
    }
    // Group boxes default to the group box size; table B for the Eastern European set.
    const struct
    {
        QString language;
        int groupBox, label;
    } cases[] = {
        {u"LOCALE_ENGLISH"_s, 8, 10},
        {u"LOCALE_GREEK"_s, 8, 10},
        {u"LOCALE_POLISH"_s, 9, 9},
    };
    for (const auto &c : cases) {
        LanguageGuard language(c.language);
        QGroupBox group;
        QLabel label;
        SetControlText(&group, 131, false);
        SetControlText(&label, 131, false);
        EXPECT_EQ(group.font().pointSize(), c.groupBox) << c.language.toStdString();
        EXPECT_EQ(label.font().pointSize(), c.label) << c.language.toStdString();
        EXPECT_EQ(CONTROL_ABOUTHEADER, 4);
    }
}

class WindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->setObjectName(u"frmTest"_s);
        auto *layout = new QVBoxLayout(window.get());
        auto add = [&](QWidget *w, const QString &name) {
            w->setObjectName(name);
            layout->addWidget(w);
            return w;
        };
        edit = add(new QLineEdit, u"kitBatchNoEdNormal"_s);
        button = add(new QPushButton(u"Close"_s), u"closepb"_s);
        disabled = add(new QPushButton(u"Save"_s), u"saveAsPb"_s);
        disabled->setEnabled(false);
        hidden = add(new QLineEdit, u"runNoEdNormal"_s);
        date = add(new QDateEdit, u"runDateDt"_s);
        grid = add(new QTableWidget(3, 3), u"stdConcGd"_s);
        group = add(new QGroupBox(u"Curve"_s), u"curveDetailsGb"_s);
        tabs = static_cast<QTabWidget *>(add(new QTabWidget, u"mainPc"_s));
        page0 = new QWidget;
        page1 = new QWidget;
        page1->setObjectName(u"rawDataSheet"_s);
        tabs->addTab(page0, u"Run Details"_s);
        tabs->addTab(page1, u"Raw Data"_s);
        window->show();
        hidden->hide();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    std::unique_ptr<QWidget> window;
    QWidget *edit = nullptr, *button = nullptr, *disabled = nullptr, *hidden = nullptr, *date = nullptr,
            *grid = nullptr, *group = nullptr, *page0 = nullptr, *page1 = nullptr;
    QTabWidget *tabs = nullptr;
};

TEST_F(WindowFixture, SetFocusIfEnabled_MovesFocusOrRefuses)
{
    const struct
    {
        QWidget *control;
        bool result;
    } cases[] = {
        {edit, true},
        {button, true},
        {grid, true},
        {group, true},
        {page0, true},
        {disabled, false},
        {hidden, false},
        // a page that is not the current one is hidden
        {page1, false},
    };
    for (const auto &c : cases) {
        QWidget *control = c.control;
        edit->setFocus();
        EXPECT_EQ(SetFocusIfEnabled(control), c.result) << control->objectName().toStdString();
        EXPECT_EQ(QApplication::focusWidget() == control, c.result) << control->objectName().toStdString();
    }
    EXPECT_FALSE(SetFocusIfEnabled(nullptr));
}

TEST_F(WindowFixture, SetFocusIfEnabled_UnhandledKind_RaisesWithName)
{
    EXPECT_EQ(ThrownMessage([&] { SetFocusIfEnabled(date); }),
              "SetFocusIfEnabled(): Control runDateDt not handled.");
    // hidden or disabled is answered before the kind is looked at
    date->setEnabled(false);
    EXPECT_FALSE(SetFocusIfEnabled(date));
}

TEST_F(WindowFixture, IsShiftDown_FollowsTheShiftKey)
{
    EXPECT_FALSE(IsShiftDown());
    // Either shift key arrives as Qt::Key_Shift with the shift modifier.
    QTest::keyPress(edit, Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_TRUE(IsShiftDown());
    QTest::keyClick(edit, Qt::Key_A, Qt::ShiftModifier);
    EXPECT_TRUE(IsShiftDown());
    QTest::keyRelease(edit, Qt::Key_Shift, Qt::NoModifier);
    EXPECT_FALSE(IsShiftDown());
}

TEST_F(WindowFixture, GetScreenShotForWindowArea_PicturesTheWholeWindow)
{
    QPalette palette = group->palette();
    palette.setColor(QPalette::Window, Qt::red);
    group->setPalette(palette);
    group->setAutoFillBackground(true);
    const QPixmap picture = GetScreenShotForWindowArea(group);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.deviceIndependentSize().toSize(), group->size());
    EXPECT_EQ(picture.toImage().pixelColor(group->width() / 2, group->height() / 2), QColor(Qt::red));
    EXPECT_EQ(GetScreenShotForWindowArea(window.get()).deviceIndependentSize().toSize(), window->size());
    EXPECT_TRUE(GetScreenShotForWindowArea(nullptr).isNull());
}

TEST(TextLinePositionsTest, AlignmentsAndMargins_GiveLineCorners)
{
    // rect (10, 20) 100 x 50: right edge 110, bottom edge 70; lines 12 px high.
    const QRect rect(10, 20, 100, 50);
    const struct
    {
        std::vector<int> widths;
        int vMargin, hMargin, vAlign, hAlign;
        std::vector<QPoint> expected;
    } cases[] = {
        {{30, 40}, 3, 4, 0, 0, {{14, 23}, {14, 35}}},
        {{30, 40}, 3, 4, 1, 1, {{76, 43}, {66, 55}}},
        // centred: 20 + round(25 - 12) = 33; (100 - 30) / 2 = 35, (100 - 41) / 2 = 29 (truncated)
        {{30, 41}, 3, 4, 2, 2, {{45, 33}, {39, 45}}},
        // centred, 3 lines: 25 - 18 = 7
        {{10, 10, 10}, 0, 0, 2, 0, {{10, 27}, {10, 39}, {10, 51}}},
        // a line wider than the rect: centred truncates towards zero, (100 - 131) / 2 = -15
        {{131}, 0, 0, 0, 2, {{-5, 20}}},
        {{}, 0, 0, 2, 2, {}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(TextLinePositions(rect, 12, c.widths, c.vMargin, c.hMargin, c.vAlign, c.hAlign), c.expected)
            << "vAlign " << c.vAlign << " hAlign " << c.hAlign << " lines " << c.widths.size();
    }
}

TEST(TextLinePositionsTest, CentredHalfPixel_RoundsToEven)
{
    // rect height 25, one line of 10: 12.5 - 5 = 7.5 -> 8; height 27: 13.5 - 5 = 8.5 -> 8
    EXPECT_EQ(TextLinePositions(QRect(0, 0, 10, 25), 10, {4}, 0, 0, 2, 0).front().y(), 8);
    EXPECT_EQ(TextLinePositions(QRect(0, 0, 10, 27), 10, {4}, 0, 0, 2, 0).front().y(), 8);
    EXPECT_EQ(TextLinePositions(QRect(0, 0, 10, 29), 10, {4}, 0, 0, 2, 0).front().y(), 10);
}

QImage WhiteImage(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The bounding box of the dark pixels of an image, empty when there are none.
QRect DarkPixels(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 96)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

TEST(DrawTextLinesTest, DrawsEachLineInsideItsComputedBox)
{
    const QStringList lines{u"Standard 1"_s, u"OD"_s};
    for (const int hAlign : {0, 1, 2}) {
        QImage image(200, 120, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(Qt::black);
        painter.setBrush(QColor(255, 255, 0));
        const QRect rect(20, 10, 160, 100);
        DrawTextLines(painter, rect, lines, true, 2, 5, 2, hAlign);
        const QFontMetrics metrics = painter.fontMetrics();
        painter.end();

        // Filled: the corners of the rect take the brush, outside stays white.
        EXPECT_EQ(image.pixelColor(20, 10), QColor(255, 255, 0));
        EXPECT_EQ(image.pixelColor(179, 109), QColor(255, 255, 0));
        EXPECT_EQ(image.pixelColor(180, 110), QColor(Qt::white));
        EXPECT_EQ(image.pixelColor(19, 9), QColor(Qt::white));

        const std::vector<QPoint> corners = TextLinePositions(
            rect, metrics.height(),
            {metrics.horizontalAdvance(lines[0]), metrics.horizontalAdvance(lines[1])}, 2, 5, 2, hAlign);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QRect box(corners[static_cast<size_t>(i)],
                            QSize(metrics.horizontalAdvance(lines[i]), metrics.height()));
            const QRect ink = DarkPixels(image.copy(box.adjusted(-1, 0, 1, 0)));
            EXPECT_FALSE(ink.isEmpty()) << "line " << i << " align " << hAlign;
        }
        // No ink outside the line boxes.
        QImage masked = image;
        QPainter eraser(&masked);
        for (qsizetype i = 0; i < lines.size(); ++i)
            eraser.fillRect(QRect(corners[static_cast<size_t>(i)],
                                  QSize(metrics.horizontalAdvance(lines[i]), metrics.height()))
                                .adjusted(-2, 0, 2, 0),
                            Qt::white);
        eraser.end();
        EXPECT_TRUE(DarkPixels(masked).isEmpty()) << "align " << hAlign;
    }
}

TEST(DrawTextLinesTest, WithoutFill_LeavesTheBackground)
{
    QImage image(100, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setBrush(Qt::yellow);
    DrawTextInRect(painter, QRect(0, 0, 100, 40), u"x"_s, false, 0, 0, 0, 0);
    painter.end();
    EXPECT_EQ(image.pixelColor(99, 39), QColor(Qt::white));
}

TEST(DrawTextLinesTest, TextWiderThanTheRect_NothingDrawnOutsideIt)
{
    const QRect rect(60, 10, 50, 20);
    const QString texts[] = {u"12345678.500"_s, QString(200000, u'1')};
    for (const QString &text : texts) {
        for (const int hAlign : {0, 1, 2}) {
            for (const bool fill : {true, false}) {
                QImage image(200, 40, QImage::Format_RGB32);
                image.fill(Qt::white);
                QPainter painter(&image);
                painter.setPen(Qt::black);
                painter.setBrush(QColor(255, 255, 0));
                DrawTextInRect(painter, rect, text, fill, 2, 2, 2, hAlign);
                painter.end();
                QImage outside = image;
                QPainter eraser(&outside);
                eraser.fillRect(rect, Qt::white);
                eraser.end();
                EXPECT_TRUE(outside.convertToFormat(QImage::Format_RGB32) == WhiteImage(image.size()))
                    << text.size() << " align " << hAlign << " fill " << fill;
                EXPECT_FALSE(DarkPixels(image.copy(rect)).isEmpty()) << text.size() << " align " << hAlign;
            }
        }
    }
}

TEST(MaxTextWidthTest, WidestLineOrZero)
{
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    const QFontMetrics metrics = painter.fontMetrics();
    const QStringList lines{u"ab"_s, u"Kit Batch Number"_s, u"c"_s};
    EXPECT_EQ(MaxTextWidth(painter, lines), metrics.horizontalAdvance(u"Kit Batch Number"_s));
    EXPECT_GT(MaxTextWidth(painter, lines), MaxTextWidth(painter, {u"ab"_s}));
    EXPECT_EQ(MaxTextWidth(painter, {}), 0);
    EXPECT_EQ(PixelsPerInchX(painter), image.logicalDpiX());
    EXPECT_EQ(PixelsPerInchY(painter), image.logicalDpiY());
}

TEST(ButtonRowTest, Places_FollowTheWidthRule)
{
    const struct
    {
        int n, left, width, extra;
        bool alignLast;
        int gap;
        std::vector<int> lefts;
        int buttonWidth;
    } cases[] = {
        // the command bar: ten buttons in 1000 px, gap 3: (1000 - 33) / 10 = 96; the last mirrors the first
        {10, 0, 1000, 0, true, 3, {3, 102, 201, 300, 399, 498, 597, 696, 795, 901}, 96},
        {10, 0, 1000, 0, false, 3, {3, 102, 201, 300, 399, 498, 597, 696, 795, 894}, 96},
        // one extra share of room: (100 - 20) / 4 = 20, from left 7
        {3, 7, 100, 1, false, 5, {12, 37, 62}, 20},
        // too narrow: (10 - 20) / 3 truncates towards zero to -3
        {3, 0, 10, 0, false, 5, {5, 7, 9}, -3},
        {1, 0, 50, 0, true, 2, {2}, 46},
    };
    for (const auto &c : cases) {
        const std::vector<TButtonPlace> places =
            ButtonRowPlaces(c.n, c.left, c.width, c.extra, c.alignLast, c.gap);
        ASSERT_EQ(places.size(), c.lefts.size());
        for (size_t i = 0; i < places.size(); ++i) {
            EXPECT_EQ(places[i].left, c.lefts[i]) << "n " << c.n << " button " << i;
            EXPECT_EQ(places[i].width, c.buttonWidth);
        }
    }
    EXPECT_TRUE(ButtonRowPlaces(0, 0, 100, 0, true, 3).empty());
    EXPECT_TRUE(ButtonRowPlaces(2, 0, 100, -2, false, 3).empty());
}

TEST(ButtonRowTest, LayoutAndHeights_MoveRealButtonsKeepingTheRest)
{
    QWidget bar;
    QList<QWidget *> buttons;
    for (int i = 0; i < 3; ++i) {
        auto *button = new QPushButton(&bar);
        button->setGeometry(0, 4, 10, 25);
        buttons << button;
    }
    LayoutButtonRow(buttons, 0, 300, 0, true, 3);
    EXPECT_EQ(buttons[0]->geometry(), QRect(3, 4, 96, 25));
    EXPECT_EQ(buttons[1]->geometry(), QRect(102, 4, 96, 25));
    EXPECT_EQ(buttons[2]->geometry(), QRect(201, 4, 96, 25));
    LayoutButtonRow(buttons, 0, 10, 0, false, 5); // negative widths become empty buttons
    EXPECT_EQ(buttons[0]->width(), 0);
    SetButtonHeights(buttons, 31);
    for (QWidget *button : buttons) {
        EXPECT_EQ(button->height(), 31);
        EXPECT_EQ(button->y(), 4);
    }
    LayoutButtonRow({}, 0, 100, 0, true, 3); // nothing to place
}

TEST(GroupBoxCaptionHeightTest, FontHeightPlusOneWhenFramed)
{
    QWidget window;
    auto *group = new QGroupBox(u"ELISA Results"_s, &window);
    QFont font = group->font();
    font.setPointSize(20);
    group->setFont(font);
    const int height = QFontMetrics(font).height();
    EXPECT_EQ(GroupBoxCaptionHeight(&window, group), height + 1);
    group->setFlat(true);
    EXPECT_EQ(GroupBoxCaptionHeight(&window, group), height);
    EXPECT_EQ(GroupBoxCaptionHeight(&window, nullptr), 0);
}

} // namespace

// A saved position opens the window there only while the strip it is moved by lies on a
// screen; anything else, however large, opens it centred.
TEST(RestoredWindowPositionTest, SavedPositions_KeptOnAScreenElseCentred)
{
    const QRect left(0, 0, 1920, 1080);
    const QRect right(1920, 200, 1280, 1024);
    const QList<QRect> screens{left, right};
    const QSize frame(800, 600);
    const QPoint centred(560, 240); // the frame centred in `left`
    constexpr int kMax = 2147483647;
    constexpr int kMin = -2147483647 - 1;
    const struct
    {
        const char *name;
        QPoint saved;
        QPoint expected;
    } cases[] = {
        {"on the first screen", {40, 60}, {40, 60}},
        {"on the second screen", {2500, 700}, {2500, 700}},
        {"mostly off the right edge", {3200 - 40, 300}, {3200 - 40, 300}},
        {"mostly off the left edge", {-760, 100}, {-760, 100}},
        {"nothing saved", {-1, -1}, centred},
        {"x not saved", {-1, 60}, centred},
        {"y not saved", {40, -1}, centred},
        {"largest values", {kMax, kMax}, centred},
        {"largest x", {kMax, 0}, centred},
        {"smallest values", {kMin, kMin}, centred},
        {"smallest x", {kMin, 100}, centred},
        {"beyond every screen", {5000, 4000}, centred},
        {"only a sliver showing", {3200 - 10, 300}, centred},
        {"title bar above the screen", {100, -20}, centred},
        {"title bar below the screen", {100, 1080 - 20}, centred},
        {"in the gap above the second screen", {2500, 50}, centred},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RestoredWindowPosition(c.saved, frame, screens, left), c.expected) << c.name;

    // No screens at all: centred in the home area.
    EXPECT_EQ(RestoredWindowPosition({40, 60}, frame, {}, left), centred);
    // A frame smaller than the grip needs only itself on the screen.
    EXPECT_EQ(RestoredWindowPosition({1920 - 20, 1080 - 10}, QSize(20, 10), screens, left),
              QPoint(1900, 1070));
}
