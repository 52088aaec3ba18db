#include "ToolConsole.h"

#include "MarnovelUtils.h"
#include "UiTextManager.h"

#include <cerrno>
#include <cstdio>

using namespace Qt::StringLiterals;

void WriteToolError(const QString &tool, const QString &text)
{
    QString line = text;
    line.replace(u"\r\n"_s, u"\n"_s);
    const QByteArray bytes = (tool + u": "_s + line + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

void WriteToolUsageError(const QString &tool, const QString &problem)
{
    WriteToolError(tool, problem);
    WriteToolError(tool, u"try '"_s + tool + u" --help'"_s);
}

QStringList ToolLanguageCodes()
{
    return {u"en"_s, u"de"_s, u"fr"_s, u"es"_s, u"it"_s, u"el"_s, u"pt"_s, u"pl"_s};
}

std::optional<QString> ToolLanguageCatalogue(const QString &code, QString &error)
{
    // The codes follow the catalogues' language order, so a code's position is its index.
    const qsizetype index = ToolLanguageCodes().indexOf(code);
    if (index < 0) {
        error = u"--language must be one of %1, not \"%2\""_s.arg(ToolLanguageCodes().join(u", "_s), code);
        return std::nullopt;
    }
    return GetTranslationManager().ResourceIdOfIndex(int(index));
}

bool WriteToolOutput(const QString &tool, const QByteArray &bytes)
{
    const size_t size = static_cast<size_t>(bytes.size());
    const bool written = std::fwrite(bytes.constData(), 1, size, stdout) == size;
    const bool flushed = std::fflush(stdout) == 0;
    if (written && flushed && !std::ferror(stdout))
        return true;
    WriteToolError(tool, StandardOutputFailureText(errno));
    return false;
}

TModalResult TToolErrorPresenter::ShowMessage(const QString &text, TMsgDlgType, TMsgDlgButtons,
                                              const QString &)
{
    WriteToolError(mTool, text);
    return TModalResult::mrOk;
}

bool TToolErrorPresenter::AskFileName(TFileDialogKind, const QString &, const QString &, const QString &,
                                      QString &)
{
    return false;
}
