#include "platform/DialogPresenter.h"

#include "support/LanguageGuard.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

static void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

class DialogPresenterTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "DialogPresenter_test";
        static char *argv[] = {name, nullptr};
        sApp = std::make_unique<QApplication>(argc, argv);
        QApplication::setApplicationDisplayName(u"Velomyra"_s);
    }
    // Before static destruction, while Qt's own globals still exist.
    static void TearDownTestSuite() { sApp.reset(); }

    static inline std::unique_ptr<QApplication> sApp;

    // Runs `answer` on the dialog as soon as it is shown modally; the dialog must close.
    template <typename Dialog> static void WhenShown(std::function<void(Dialog &)> answer)
    {
        auto poll = std::make_shared<std::function<void()>>();
        *poll = [answer, poll] {
            if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
                answer(*dialog);
                *poll = nullptr; // break the self-reference
                return;
            }
            QTimer::singleShot(5, *poll);
        };
        QTimer::singleShot(0, *poll);
    }
};

TEST_F(DialogPresenterTest, ToQtFilter_PipeSeparatedPairs_BecomeQtFilters)
{
    const struct
    {
        QString input, expected;
    } cases[] = {
        {u"Velomyra Run Data File|*.vdf"_s, u"Velomyra Run Data File (*.vdf)"_s},
        {u"Portable Document Format|*.pdf"_s, u"Portable Document Format (*.pdf)"_s},
        {u"Text File|*.txt|All files|*.*"_s, u"Text File (*.txt);;All files (*.*)"_s},
        {u"Plates|*.vdf;*.vff"_s, u"Plates (*.vdf *.vff)"_s},
        {u"Anything"_s, u"Anything (*)"_s},
        {u"|*.txt"_s, u"*.txt (*.txt)"_s},
        {QString(), QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TDialogPresenter::ToQtFilter(c.input), c.expected) << c.input.toStdString();
}

TEST_F(DialogPresenterTest, Kinds_MapToIconsAndCaptionsInTheCurrentLanguage)
{
    const struct
    {
        TMsgDlgType kind;
        QMessageBox::Icon icon;
        QString english, german, greek;
    } cases[] = {
        {TMsgDlgType::mtWarning, QMessageBox::Warning, u"Warning"_s, u"Warnung"_s, u"Προειδοποίηση"_s},
        {TMsgDlgType::mtError, QMessageBox::Critical, u"Error"_s, u"Fehler"_s, u"Σφάλμα"_s},
        {TMsgDlgType::mtInformation, QMessageBox::Information, u"Information"_s, u"Information"_s,
         u"Πληροφορίες"_s},
        {TMsgDlgType::mtConfirmation, QMessageBox::Question, u"Confirm"_s, u"Bestätigen"_s, u"Επιβεβαίωση"_s},
        {TMsgDlgType::mtCustom, QMessageBox::NoIcon, u"Velomyra"_s, u"Velomyra"_s, u"Velomyra"_s},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(TDialogPresenter::IconOfKind(c.kind), c.icon);
        EXPECT_EQ(TDialogPresenter::CaptionOfKind(c.kind), c.english);
        {
            const TestSupport::LanguageGuard german(u"LOCALE_GERMAN"_s);
            EXPECT_EQ(TDialogPresenter::CaptionOfKind(c.kind), c.german);
        }
        const TestSupport::LanguageGuard greek(u"LOCALE_GREEK"_s);
        EXPECT_EQ(TDialogPresenter::CaptionOfKind(c.kind), c.greek);
    }
}

// Every button of a real box speaks the catalogue's language, also where the toolkit has no
// translation (Greek); the caption too.
TEST_F(DialogPresenterTest, ShowMessage_ButtonsAndCaptionFromTheCatalogue)
{
    const struct
    {
        const char *resource;
        QString caption;
        std::vector<std::pair<QMessageBox::StandardButton, QString>> texts;
        QString all;
    } languages[] = {
        {"LOCALE_ENGLISH",
         u"Confirm"_s,
         {{QMessageBox::Yes, u"Yes"_s},
          {QMessageBox::No, u"No"_s},
          {QMessageBox::Ok, u"OK"_s},
          {QMessageBox::Cancel, u"Cancel"_s},
          {QMessageBox::Abort, u"Abort"_s},
          {QMessageBox::Retry, u"Retry"_s},
          {QMessageBox::Ignore, u"Ignore"_s},
          {QMessageBox::NoToAll, u"No to All"_s},
          {QMessageBox::YesToAll, u"Yes to All"_s},
          {QMessageBox::Help, u"Help"_s},
          {QMessageBox::Close, u"&Close"_s}},
         u"All"_s},
        {"LOCALE_GERMAN",
         u"Bestätigen"_s,
         {{QMessageBox::Yes, u"Ja"_s},
          {QMessageBox::No, u"Nein"_s},
          {QMessageBox::Ok, u"OK"_s},
          {QMessageBox::Cancel, u"Abbrechen"_s},
          {QMessageBox::Abort, u"Abbrechen"_s},
          {QMessageBox::Retry, u"Wiederholen"_s},
          {QMessageBox::Ignore, u"Ignorieren"_s},
          {QMessageBox::NoToAll, u"Nein, keine"_s},
          {QMessageBox::YesToAll, u"Ja, alle"_s},
          {QMessageBox::Help, u"Hilfe"_s},
          {QMessageBox::Close, u"S&chließen"_s}},
         u"Alle"_s},
        {"LOCALE_GREEK",
         u"Επιβεβαίωση"_s,
         {{QMessageBox::Yes, u"Ναι"_s},
          {QMessageBox::No, u"Όχι"_s},
          {QMessageBox::Ok, u"OK"_s},
          {QMessageBox::Cancel, u"Άκυρο"_s},
          {QMessageBox::Abort, u"Ματαίωση"_s},
          {QMessageBox::Retry, u"Επανάληψη"_s},
          {QMessageBox::Ignore, u"Παράβλεψη"_s},
          {QMessageBox::NoToAll, u"Όχι σε όλα"_s},
          {QMessageBox::YesToAll, u"Ναι σε όλα"_s},
          {QMessageBox::Help, u"Βοήθεια"_s},
          {QMessageBox::Close, u"&Κλείσιμο"_s}},
         u"Όλα"_s},
    };
    const TMsgDlgButtons every = TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo | TMsgDlgBtn::mbOK |
                                 TMsgDlgBtn::mbCancel | TMsgDlgBtn::mbAbort | TMsgDlgBtn::mbRetry |
                                 TMsgDlgBtn::mbIgnore | TMsgDlgBtn::mbAll | TMsgDlgBtn::mbNoToAll |
                                 TMsgDlgBtn::mbYesToAll | TMsgDlgBtn::mbHelp | TMsgDlgBtn::mbClose;
    TDialogPresenter presenter;
    for (const auto &language : languages) {
        const TestSupport::LanguageGuard guard(QString::fromLatin1(language.resource));
        // The toolkit's own translation, where there is one, must not win over the catalogue.
        LoadToolkitTranslation(QString::fromLatin1(language.resource));
        QString caption;
        std::map<QMessageBox::StandardButton, QString> shown;
        QStringList own;
        WhenShown<QMessageBox>([&](QMessageBox &box) {
            caption = box.windowTitle();
            for (QAbstractButton *button : box.buttons()) {
                if (box.standardButton(button) == QMessageBox::NoButton)
                    own << button->text();
                else
                    shown[box.standardButton(button)] = button->text();
            }
            box.button(QMessageBox::Yes)->click();
        });
        EXPECT_EQ(presenter.ShowMessage(u"Text"_s, TMsgDlgType::mtConfirmation, every, {}),
                  TModalResult::mrYes);
        EXPECT_EQ(caption, language.caption) << language.resource;
        for (const auto &[button, text] : language.texts)
            EXPECT_EQ(shown[button], text) << language.resource << " " << button;
        EXPECT_EQ(own, QStringList{language.all}) << language.resource;
    }
    LoadToolkitTranslation(u"LOCALE_ENGLISH"_s);
}

TEST_F(DialogPresenterTest, ShowMessage_ClickedButton_GivesItsResult)
{
    // click: a standard button, NoButton for the box's own "All" button, nullopt for Escape.
    const struct
    {
        TMsgDlgButtons buttons;
        QMessageBox::StandardButtons standard; // the toolkit buttons the box shows
        std::optional<QMessageBox::StandardButton> click;
        TModalResult expected;
    } cases[] = {
        {TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
         TModalResult::mrNo},
        {TMsgDlgBtn::mbOK | TMsgDlgBtn::mbCancel, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok,
         TModalResult::mrOk},
        {TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo | TMsgDlgBtn::mbCancel,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, std::nullopt, TModalResult::mrCancel},
        {TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo, QMessageBox::Yes | QMessageBox::No, std::nullopt,
         TModalResult::mrNo},
        {TMsgDlgBtn::mbYes | TMsgDlgBtn::mbAll, QMessageBox::Yes, QMessageBox::NoButton, TModalResult::mrAll},
        {TMsgDlgBtn::mbAbort | TMsgDlgBtn::mbRetry | TMsgDlgBtn::mbIgnore,
         QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::Retry,
         TModalResult::mrRetry},
        {TMsgDlgBtn::mbNoToAll | TMsgDlgBtn::mbYesToAll | TMsgDlgBtn::mbClose,
         QMessageBox::NoToAll | QMessageBox::YesToAll | QMessageBox::Close, QMessageBox::YesToAll,
         TModalResult::mrYesToAll},
        {TMsgDlgButtons(), QMessageBox::Ok, QMessageBox::Ok, TModalResult::mrOk},
    };
    TDialogPresenter presenter;
    for (const auto &c : cases) {
        QMessageBox::StandardButtons shown;
        QString title;
        WhenShown<QMessageBox>([&](QMessageBox &box) {
            shown = box.standardButtons();
            title = box.windowTitle();
            EXPECT_TRUE(box.isModal());
            EXPECT_EQ(box.textFormat(), Qt::PlainText);
            if (!c.click) {
                QTest::keyClick(&box, Qt::Key_Escape);
                return;
            }
            QAbstractButton *target = nullptr;
            for (QAbstractButton *button : box.buttons()) {
                if (box.standardButton(button) == *c.click)
                    target = button;
            }
            if (!target) {
                ADD_FAILURE() << "button missing";
                box.done(0);
                return;
            }
            target->click();
        });
        const TModalResult result =
            presenter.ShowMessage(u"<B>Text</B>"_s, TMsgDlgType::mtWarning, c.buttons, {});
        EXPECT_EQ(result, c.expected) << c.buttons.toInt();
        EXPECT_EQ(shown, c.standard) << c.buttons.toInt();
        EXPECT_EQ(title, u"Warning"_s);
    }
}

// The toolkit's own texts (its file dialogs) follow the language where it has a translation.
TEST_F(DialogPresenterTest, ToolkitTranslation_FollowsTheLanguageSwitch)
{
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qtbase_de.qm"_s))
        GTEST_SKIP() << "the toolkit's translations are not installed";
    const struct
    {
        const char *resource;
        bool translated;
        QString yes;
    } cases[] = {
        {"LOCALE_GERMAN", true, u"&Ja"_s},
        {"LOCALE_FRENCH", true, u"&Oui"_s},
        {"LOCALE_ENGLISH", false, u"&Yes"_s},
        {"LOCALE_UNKNOWN", false, u"&Yes"_s},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(LoadToolkitTranslation(QString::fromLatin1(c.resource)), c.translated) << c.resource;
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), c.yes) << c.resource;
    }
}

TEST_F(DialogPresenterTest, ShowMessage_GivenCaption_IsTitle)
{
    TDialogPresenter presenter;
    QString title;
    QString text;
    WhenShown<QMessageBox>([&](QMessageBox &box) {
        title = box.windowTitle();
        text = box.text();
        box.accept();
    });
    presenter.ShowMessage(u"Saved"_s, TMsgDlgType::mtInformation, TMsgDlgBtn::mbOK, u"Velomyra"_s);
    EXPECT_EQ(title, u"Velomyra"_s);
    EXPECT_EQ(text, u"Saved"_s);
}

TEST_F(DialogPresenterTest, AskFileName_SaveDialog_ShowsFolderFilterAndProposedName)
{
    QTemporaryDir folder;
    TDialogPresenter presenter;
    for (const bool confirm : {false, true}) {
        WhenShown<QFileDialog>([&](QFileDialog &dialog) {
            EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
            // Asking about an existing file is the caller's, once the extension is added.
            EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
            EXPECT_EQ(dialog.directory().absolutePath(), folder.path());
            EXPECT_EQ(dialog.nameFilters(), QStringList{u"Text File (*.txt)"_s});
            EXPECT_EQ(dialog.selectedFiles().value(0), folder.filePath(u"run 12.txt"_s));
            if (confirm)
                static_cast<QDialog &>(dialog).accept();
            else
                dialog.reject();
        });
        QString fileName;
        const bool ok = presenter.AskFileName(TFileDialogKind::Save, u"Text File|*.txt"_s, folder.path(),
                                              u"run 12.txt"_s, fileName);
        EXPECT_EQ(ok, confirm);
        EXPECT_EQ(fileName, confirm ? folder.filePath(u"run 12.txt"_s) : u"run 12.txt"_s);
    }
}

TEST_F(DialogPresenterTest, AskFileName_OpenDialogCancelledWithoutProposal_GivesEmptyName)
{
    QTemporaryDir folder;
    TDialogPresenter presenter;
    WhenShown<QFileDialog>([&](QFileDialog &dialog) {
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
        dialog.reject();
    });
    QString fileName = u"stale"_s;
    EXPECT_FALSE(presenter.AskFileName(TFileDialogKind::Open, u"Velomyra Format File|*.vff"_s, folder.path(),
                                       QString(), fileName));
    EXPECT_TRUE(fileName.isEmpty());
}

TEST_F(DialogPresenterTest, MessageRoutines_ShowRealBoxesCentredOnTheScreen)
{
    TDialogPresenter presenter;
    SetPresenter(&presenter);
    struct Seen
    {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QPoint centre;
    };
    // Records the box, then clicks `click`.
    const auto record = [](Seen &seen, QMessageBox::StandardButton click) {
        WhenShown<QMessageBox>([&seen, click](QMessageBox &box) {
            seen = {box.windowTitle(), box.text(), box.icon(), box.standardButtons(),
                    box.frameGeometry().center()};
            if (QAbstractButton *button = box.button(click))
                button->click();
            else
                box.reject();
        });
    };
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();

    Seen error;
    record(error, QMessageBox::Ok);
    ShowErrorMessage(u"Could not create /x"_s);
    EXPECT_EQ(error.title, u"Velomyra"_s);
    EXPECT_EQ(error.text, u"Could not create /x"_s);
    EXPECT_EQ(error.icon, QMessageBox::NoIcon);
    EXPECT_EQ(error.buttons, QMessageBox::Ok);
    EXPECT_LE((error.centre - screenCentre).manhattanLength(), 4);

    Seen question;
    record(question, QMessageBox::No);
    const TModalResult answer = ShowMessageDialog(u"Save the results?"_s, TMsgDlgType::mtConfirmation,
                                                  TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo, 0);
    EXPECT_EQ(answer, TModalResult::mrNo);
    EXPECT_EQ(question.title, u"Confirm"_s);
    EXPECT_EQ(question.icon, QMessageBox::Question);
    EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_LE((question.centre - screenCentre).manhattanLength(), 4);

    Seen captioned;
    record(captioned, QMessageBox::Ok);
    EXPECT_EQ(ShowCaptionedMessage(u"Saved"_s, TMsgDlgType::mtInformation, TMsgDlgBtn::mbOK, u"Velomyra"_s),
              TModalResult::mrOk);
    EXPECT_EQ(captioned.title, u"Velomyra"_s);
    EXPECT_EQ(captioned.icon, QMessageBox::Information);
}

} // namespace
