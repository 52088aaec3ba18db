#include "platform/DialogSetup.h"

#include "core/UiTextManager.h"
#include "platform/WindowTools.h"
#include "support/GuiApplication.h"
#include "support/LanguageGuard.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using TestSupport::LanguageGuard;

constexpr Qt::WindowFlags kTitleAndClose =
    Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

struct DialogKindCase
{
    const char *name;
    TDialogKind kind;
    Qt::WindowFlags flags;
    bool modal;
    bool showWithoutActivating;
};

const DialogKindCase kKinds[] = {
    {"Plain", TDialogKind::Plain, Qt::Dialog, false, false},
    {"Modal", TDialogKind::Modal, Qt::Dialog, true, false},
    {"ModalTool", TDialogKind::ModalTool, Qt::Tool, true, false},
    {"ModalMenu", TDialogKind::ModalMenu,
     Qt::Tool | Qt::WindowStaysOnTopHint | kTitleAndClose | Qt::WindowSystemMenuHint, true, false},
    {"Floating", TDialogKind::Floating, Qt::Dialog | Qt::WindowStaysOnTopHint | kTitleAndClose, false, true},
};

} // namespace

TEST(DialogSetupTest, EachKind_GetsItsFrameModalityAndFocusRule_AndKeepsItsOwner)
{
    for (const DialogKindCase &c : kKinds) {
        SCOPED_TRACE(c.name);
        QWidget owner;
        QDialog dialog(&owner);
        SetUpDialog(&dialog, u"someDialog"_s, c.kind);
        EXPECT_EQ(dialog.objectName(), u"someDialog"_s);
        // As a dialog built with those flags has them, with the hints the toolkit adds.
        const QDialog builtWithFlags(&owner, c.flags);
        EXPECT_EQ(dialog.windowFlags(), builtWithFlags.windowFlags());
        EXPECT_EQ(dialog.windowFlags() & c.flags, c.flags);
        EXPECT_EQ(dialog.isModal(), c.modal);
        EXPECT_EQ(dialog.testAttribute(Qt::WA_ShowWithoutActivating), c.showWithoutActivating);
        EXPECT_EQ(dialog.parentWidget(), &owner);
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST(DialogSetupTest, OkCancelButtons_NamedInARightAlignedRow_OkDefault_CancelRejects)
{
    QDialog dialog;
    const TOkCancelButtons buttons = AddOkCancelButtons(&dialog, u"okPb"_s, u"cancelPb"_s);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(u"x"_s, &dialog));
    layout->addLayout(buttons.row);

    EXPECT_EQ(dialog.findChild<QPushButton *>(u"okPb"_s), buttons.ok);
    EXPECT_EQ(dialog.findChild<QPushButton *>(u"cancelPb"_s), buttons.cancel);
    EXPECT_TRUE(buttons.ok->isDefault());
    EXPECT_FALSE(buttons.cancel->isDefault());
    ASSERT_EQ(buttons.row->count(), 3);
    EXPECT_NE(buttons.row->itemAt(0)->spacerItem(), nullptr);
    EXPECT_EQ(buttons.row->itemAt(1)->widget(), buttons.ok);
    EXPECT_EQ(buttons.row->itemAt(2)->widget(), buttons.cancel);

    dialog.show();
    QSignalSpy finished(&dialog, &QDialog::finished);
    // OK is the dialog's own: on its own it closes nothing.
    QTest::mouseClick(buttons.ok, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(finished.count(), 0);
    QTest::mouseClick(buttons.cancel, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), QDialog::Rejected);
}

TEST(DialogSetupTest, OkCancelTexts_FollowTheCurrentCatalogue)
{
    QDialog dialog;
    const TOkCancelButtons buttons = AddOkCancelButtons(&dialog, u"okPb"_s, u"cancelPb"_s);
    for (const QString &language : {u"LOCALE_ENGLISH"_s, u"LOCALE_GERMAN"_s}) {
        SCOPED_TRACE(language.toStdString());
        LanguageGuard guard(language);
        SetOkCancelTexts(buttons.ok, buttons.cancel);
        EXPECT_EQ(buttons.ok->text(), UiText(48));
        EXPECT_EQ(buttons.cancel->text(), UiText(69));
    }
    EXPECT_NE(UiText(48), UiText(69));
}

TEST(DialogSetupTest, FixToContentsAndCaption_ContentsSizeWidenedOnlyForALongerCaption)
{
    QDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    auto *wide = new QPushButton(u"A button"_s, &dialog);
    wide->setMinimumWidth(400);
    layout->addWidget(wide);
    const QSize contents = layout->sizeHint();

    struct
    {
        QString caption;
        bool widened;
    } const cases[] = {{u"W"_s, false}, {QString(200, u'W'), true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.caption.size());
        dialog.setWindowTitle(c.caption);
        ASSERT_EQ(CaptionWidth(&dialog) > contents.width(), c.widened);
        FixToContentsAndCaption(&dialog);
        const int width = c.widened ? CaptionWidth(&dialog) : contents.width();
        EXPECT_EQ(dialog.minimumSize(), QSize(width, contents.height()));
        EXPECT_EQ(dialog.maximumSize(), dialog.minimumSize());
    }
}

TEST(DialogSetupTest, ButtonWidthForText_CaptionWithoutMnemonicPlusRoom_AtLeastTheMinimum)
{
    QPushButton button(u"&Complete"_s);
    const int caption = button.fontMetrics().horizontalAdvance(u"Complete"_s);
    EXPECT_EQ(ButtonWidthForText(&button, 0), caption + 24);
    EXPECT_EQ(ButtonWidthForText(&button, caption + 100), caption + 100);
}
