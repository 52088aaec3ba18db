#include "Messages.h"

#include "UiTextManager.h"

#include <QCoreApplication>

#include <array>
#include <cstdio>
#include <utility>

namespace {

// Captions of the message kinds.
constexpr int kTextWarning = 1068;
constexpr int kTextError = 1069;
constexpr int kTextInformation = 1070;
constexpr int kTextConfirm = 1071;

// Answer order of the console presenter: the first button offered wins.
constexpr std::array<std::pair<TMsgDlgBtn, TModalResult>, 11> kAnswerOrder{{
    {TMsgDlgBtn::mbOK, TModalResult::mrOk},
    {TMsgDlgBtn::mbYes, TModalResult::mrYes},
    {TMsgDlgBtn::mbNo, TModalResult::mrNo},
    {TMsgDlgBtn::mbCancel, TModalResult::mrCancel},
    {TMsgDlgBtn::mbAbort, TModalResult::mrAbort},
    {TMsgDlgBtn::mbRetry, TModalResult::mrRetry},
    {TMsgDlgBtn::mbIgnore, TModalResult::mrIgnore},
    {TMsgDlgBtn::mbAll, TModalResult::mrAll},
    {TMsgDlgBtn::mbNoToAll, TModalResult::mrNoToAll},
    {TMsgDlgBtn::mbYesToAll, TModalResult::mrYesToAll},
    {TMsgDlgBtn::mbClose, TModalResult::mrClose},
}};

QString ConsoleCaption(TMsgDlgType kind)
{
    const QString caption = CaptionOfKind(kind);
    if (!caption.isEmpty())
        return caption;
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Velomyra") : name;
}

// Used where no window is available (headless tool, early start-up, tests without a fake).
class ConsolePresenter final : public IPresenter
{
public:
    TModalResult ShowMessage(const QString &text, TMsgDlgType kind, TMsgDlgButtons buttons,
                             const QString &caption) override
    {
        const QString shown = caption.isEmpty() ? ConsoleCaption(kind) : caption;
        const QByteArray line = (shown + QStringLiteral(": ") + text + QLatin1Char('\n')).toUtf8();
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
        std::fflush(stderr);
        for (const auto &[button, result] : kAnswerOrder) {
            if (buttons.testFlag(button))
                return result;
        }
        return TModalResult::mrNone;
    }

    bool AskFileName(TFileDialogKind, const QString &, const QString &, const QString &proposedName,
                     QString &fileName) override
    {
        fileName = proposedName;
        return false;
    }
};

ConsolePresenter gConsolePresenter;
IPresenter *gPresenter = nullptr;

} // namespace

QString CaptionOfKind(TMsgDlgType kind)
{
    switch (kind) {
    case TMsgDlgType::mtWarning:
        return UiText(kTextWarning);
    case TMsgDlgType::mtError:
        return UiText(kTextError);
    case TMsgDlgType::mtInformation:
        return UiText(kTextInformation);
    case TMsgDlgType::mtConfirmation:
        return UiText(kTextConfirm);
    case TMsgDlgType::mtCustom:
        break;
    }
    return QString();
}

IPresenter &GetPresenter()
{
    return gPresenter ? *gPresenter : gConsolePresenter;
}

void SetPresenter(IPresenter *presenter)
{
    gPresenter = presenter;
}

namespace {

// Called from the outermost handlers: a failure here must not replace what is being reported.
void ShowOkMessage(const QString &text, TMsgDlgType kind)
{
    try {
        ShowCaptionedMessage(text, kind, TMsgDlgBtn::mbOK, UiText(131));
    } catch (...) {
        try {
            gConsolePresenter.ShowMessage(text, kind, TMsgDlgBtn::mbOK, QString());
        } catch (...) {
        }
    }
}

} // namespace

void ShowErrorMessage(const QString &text)
{
    ShowOkMessage(text, TMsgDlgType::mtCustom);
}

void ShowNotice(const QString &text)
{
    ShowOkMessage(text, TMsgDlgType::mtInformation);
}

TModalResult ShowCaptionedMessage(const QString &text, TMsgDlgType kind, TMsgDlgButtons buttons,
                                  const QString &caption)
{
    return GetPresenter().ShowMessage(text, kind, buttons, caption);
}

TModalResult ShowMessageDialog(const QString &text, TMsgDlgType kind, TMsgDlgButtons buttons, int helpContext)
{
    Q_UNUSED(helpContext); // no help system in this edition
    return GetPresenter().ShowMessage(text, kind, buttons, QString());
}
