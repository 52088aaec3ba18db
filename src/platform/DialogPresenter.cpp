#include "DialogPresenter.h"

#include "core/UiTextManager.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTranslator>

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>
#include <vector>

namespace {

struct ButtonSpec
{
    TMsgDlgBtn button;
    TModalResult result;
    QMessageBox::StandardButton standard; // NoButton: a button of our own
    int textId;                           // its text in the catalogue
};

// Button texts the catalogue had no id for.
constexpr int kTextAbort = 1072;
constexpr int kTextRetry = 1073;
constexpr int kTextIgnore = 1074;
constexpr int kTextAll = 1075;
constexpr int kTextNoToAll = 1076;
constexpr int kTextYesToAll = 1077;

// Display order of the buttons. The texts are the catalogue's, not the toolkit's: the toolkit
// has no translation for every language the program speaks.
constexpr std::array<ButtonSpec, 12> kButtons{{
    {TMsgDlgBtn::mbYes, TModalResult::mrYes, QMessageBox::Yes, 106},
    {TMsgDlgBtn::mbNo, TModalResult::mrNo, QMessageBox::No, 107},
    {TMsgDlgBtn::mbOK, TModalResult::mrOk, QMessageBox::Ok, 48},
    {TMsgDlgBtn::mbCancel, TModalResult::mrCancel, QMessageBox::Cancel, 69},
    {TMsgDlgBtn::mbAbort, TModalResult::mrAbort, QMessageBox::Abort, kTextAbort},
    {TMsgDlgBtn::mbRetry, TModalResult::mrRetry, QMessageBox::Retry, kTextRetry},
    {TMsgDlgBtn::mbIgnore, TModalResult::mrIgnore, QMessageBox::Ignore, kTextIgnore},
    {TMsgDlgBtn::mbAll, TModalResult::mrAll, QMessageBox::NoButton, kTextAll},
    {TMsgDlgBtn::mbNoToAll, TModalResult::mrNoToAll, QMessageBox::NoToAll, kTextNoToAll},
    {TMsgDlgBtn::mbYesToAll, TModalResult::mrYesToAll, QMessageBox::YesToAll, kTextYesToAll},
    {TMsgDlgBtn::mbHelp, TModalResult::mrNone, QMessageBox::Help, 143},
    {TMsgDlgBtn::mbClose, TModalResult::mrClose, QMessageBox::Close, 9},
}};

} // namespace

QMessageBox::Icon TDialogPresenter::IconOfKind(TMsgDlgType kind)
{
    switch (kind) {
    case TMsgDlgType::mtWarning:
        return QMessageBox::Warning;
    case TMsgDlgType::mtError:
        return QMessageBox::Critical;
    case TMsgDlgType::mtInformation:
        return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation:
        return QMessageBox::Question;
    case TMsgDlgType::mtCustom:
        break;
    }
    return QMessageBox::NoIcon;
}

QString TDialogPresenter::CaptionOfKind(TMsgDlgType kind)
{
    const QString caption = ::CaptionOfKind(kind);
    return caption.isEmpty() ? QGuiApplication::applicationDisplayName() : caption;
}

QString TDialogPresenter::ToQtFilter(const QString &filter)
{
    if (filter.trimmed().isEmpty())
        return QString();
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        // Qt separates patterns by blanks; a description without patterns shows everything.
        QString patterns = i + 1 < parts.size() ? parts.at(i + 1) : QString();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns = patterns.simplified();
        if (patterns.isEmpty())
            patterns = QStringLiteral("*");
        const QString description = parts.at(i).trimmed();
        filters << (description.isEmpty() ? patterns : description) + QStringLiteral(" (") + patterns +
                       QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

TModalResult TDialogPresenter::ShowMessage(const QString &text, TMsgDlgType kind, TMsgDlgButtons buttons,
                                           const QString &caption)
{
    // No parent: the box centres itself on the screen; exec() makes it application-modal.
    QMessageBox box;
    box.setWindowTitle(caption.isEmpty() ? CaptionOfKind(kind) : caption);
    box.setIcon(IconOfKind(kind));
    box.setTextFormat(Qt::PlainText); // catalogue texts and file names are never markup
    box.setText(text);

    if (!(buttons & ~TMsgDlgButtons(TMsgDlgBtn::mbHelp)))
        buttons |= TMsgDlgBtn::mbOK; // a box must be closable
    std::vector<std::pair<QAbstractButton *, TModalResult>> shown;
    for (const ButtonSpec &spec : kButtons) {
        if (!buttons.testFlag(spec.button))
            continue;
        // Before a catalogue is loaded its texts are empty; the toolkit's stand in.
        const QString text = UiText(spec.textId);
        QAbstractButton *button =
            spec.standard == QMessageBox::NoButton
                ? box.addButton(text.isEmpty() ? QStringLiteral("All") : text, QMessageBox::AcceptRole)
                : box.addButton(spec.standard);
        if (!text.isEmpty())
            button->setText(text);
        shown.emplace_back(button, spec.result);
    }
    const auto buttonOf = [&](TModalResult result) -> QAbstractButton * {
        for (const auto &[button, value] : shown) {
            if (value == result)
                return button;
        }
        return nullptr;
    };
    for (const TModalResult result : {TModalResult::mrOk, TModalResult::mrYes}) {
        if (auto *button = qobject_cast<QPushButton *>(buttonOf(result))) {
            box.setDefaultButton(button);
            break;
        }
    }
    for (const TModalResult result : {TModalResult::mrCancel, TModalResult::mrNo, TModalResult::mrOk}) {
        if (QAbstractButton *button = buttonOf(result)) {
            box.setEscapeButton(button);
            break;
        }
    }

    box.exec();
    QAbstractButton *clicked = box.clickedButton();
    for (const auto &[button, result] : shown) {
        if (button == clicked)
            return result;
    }
    return TModalResult::mrCancel;
}

bool TDialogPresenter::AskFileName(TFileDialogKind kind, const QString &filter, const QString &initialFolder,
                                   const QString &proposedName, QString &fileName)
{
    QFileDialog dialog(QApplication::activeWindow(), QString(), initialFolder, ToQtFilter(filter));
    if (kind == TFileDialogKind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The caller adds the extension first and then asks about the file really written.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!proposedName.isEmpty())
        dialog.selectFile(proposedName);
    fileName = proposedName;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return false;
    fileName = chosen.first();
    return true;
}

bool LoadToolkitTranslation(const QString &resourceName)
{
    static const std::pair<const char16_t *, QLocale::Language> languages[] = {
        {u"LOCALE_GERMAN", QLocale::German},   {u"LOCALE_FRENCH", QLocale::French},
        {u"LOCALE_SPANISH", QLocale::Spanish}, {u"LOCALE_ITALIAN", QLocale::Italian},
        {u"LOCALE_GREEK", QLocale::Greek},     {u"LOCALE_PORTUGUESE", QLocale::Portuguese},
        {u"LOCALE_POLISH", QLocale::Polish},
    };
    // One translator for the application's life, replaced on every switch.
    static QPointer<QTranslator> translator;
    QCoreApplication *application = QCoreApplication::instance();
    if (application == nullptr)
        return false;
    if (translator)
        QCoreApplication::removeTranslator(translator);
    else
        translator = new QTranslator(application);
    const auto language =
        std::find_if(std::begin(languages), std::end(languages),
                     [&resourceName](const auto &entry) { return resourceName == entry.first; });
    if (language == std::end(languages))
        return false;
    if (!translator->load(QLocale(language->second), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(translator);
}
