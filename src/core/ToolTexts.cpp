// Text helpers: splitting, cutting, markup, invalid file-name characters and the
// program's fixed texts.

#include "Tool.h"

#include "DecimalDigits.h"

#include <array>
#include <utility>

using NumberDigits::IsBlank;

QStringList SplitText(const QString &text, const QString &sep)
{
    if (sep.isEmpty())
        return {text};
    return text.split(sep, Qt::KeepEmptyParts, Qt::CaseSensitive);
}

int CountSeparators(const QString &text, const QString &sep)
{
    return static_cast<int>(SplitText(text, sep).size()) - 1;
}

QString RemoveChar(const QString &text, QChar c)
{
    QString result = text;
    result.remove(c);
    return result;
}

QString RemoveAllOf(const QString &text, const QString &s)
{
    QString result = text;
    if (s.isEmpty())
        return result;
    for (qsizetype at = result.indexOf(s); at >= 0; at = result.indexOf(s))
        result.remove(at, 1);
    return result;
}

QString DeleteFromTo(const QString &text, const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return text;
    const qsizetype from = text.indexOf(a);
    if (from < 0)
        return text;
    const qsizetype to = text.indexOf(b, from);
    if (to < 0)
        return text;
    QString result = text;
    result.remove(from, to + b.size() - from);
    return result;
}

QString TextBetween(const QString &text, const QString &a, const QString &b)
{
    if (a.isEmpty())
        return QString();
    const qsizetype at = text.indexOf(a);
    if (at < 0)
        return QString();
    const qsizetype start = at + a.size();
    const qsizetype end = b.isEmpty() ? -1 : text.indexOf(b, start);
    return end < 0 ? text.mid(start) : text.mid(start, end - start);
}

QString TextBefore(const QString &text, const QString &sep)
{
    const qsizetype at = sep.isEmpty() ? -1 : text.indexOf(sep);
    return at < 0 ? QString() : text.left(at);
}

QString TextAfter(const QString &text, const QString &sep)
{
    const qsizetype at = sep.isEmpty() ? -1 : text.indexOf(sep);
    return at < 0 ? QString() : text.mid(at + sep.size());
}

bool IsInList(const QString &text, const QStringList &list)
{
    return list.contains(text, Qt::CaseSensitive);
}

QString TrimSpaceAndBlanks(const QString &text)
{
    const auto blank = [](QChar c) { return IsBlank(c) || c.isSpace(); };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && blank(text.at(begin)))
        ++begin;
    while (end > begin && blank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString RepeatChar(QChar c, int n)
{
    return n > 0 ? QString(n, c) : QString();
}

QString StripMarkup(const QString &text)
{
    static const std::array<std::pair<const char16_t *, const char16_t *>, 6> pairs = {{
        {u"<B>", u"</B>"},
        {u"<I>", u"</I>"},
        {u"<BI>", u"</BI>"},
        {u"<U>", u"</U>"},
        {u"<BU>", u"</BU>"},
        {u"<SUPERSCRIPT>", u"</SUPERSCRIPT>"},
    }};
    QString result = text;
    for (const auto &[openTag, closeTag] : pairs) {
        const QString open = QString::fromUtf16(openTag);
        const QString close = QString::fromUtf16(closeTag);
        for (qsizetype at = result.indexOf(open); at >= 0; at = result.indexOf(open)) {
            result.remove(at, open.size());
            const qsizetype closeAt = result.indexOf(close);
            if (closeAt >= 0)
                result.remove(closeAt, close.size());
        }
    }
    result.remove(QStringLiteral("<ColSPANNED>"));
    result.remove(QStringLiteral("<ROWSPANNED>"));
    for (const QString &tag : {QStringLiteral("<COLSPAN="), QStringLiteral("<ROWSPAN=")}) {
        for (qsizetype at = result.indexOf(tag); at >= 0; at = result.indexOf(tag)) {
            const qsizetype end = result.indexOf(QLatin1Char('>'), at + tag.size());
            // An unterminated tag loses only its own text.
            result.remove(at, end < 0 ? tag.size() : end + 1 - at);
        }
    }
    return result;
}

namespace {
const QString InvalidChars = QStringLiteral("\\/:*?\"<>|");
}

bool ContainsNoInvalidChar(const QString &text)
{
    for (const QChar c : InvalidChars)
        if (text.contains(c))
            return false;
    return true;
}

QString ReplaceControlChars(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        const char16_t code = c.unicode();
        const bool bidirectional = code == 0x061C || code == 0x200E || code == 0x200F ||
                                   (code >= 0x202A && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
        if (code < 0x20 || (code >= 0x7F && code <= 0x9F) || bidirectional)
            c = QLatin1Char(' ');
    }
    return result;
}

QString RemoveInvalidChars(const QString &text)
{
    QString result = text;
    for (const QChar c : InvalidChars)
        result.remove(c);
    return result;
}

QString InvalidCharList()
{
    QStringList parts;
    for (const QChar c : InvalidChars)
        parts << QString(c);
    return parts.join(QLatin1Char(' '));
}

QString InvalidCharMessage()
{
    return QStringLiteral("The characters \" ") + InvalidCharList() + QStringLiteral(" \" cannot be used.");
}

QString ProductNameText()
{
    return QStringLiteral("Velomyra R&D");
}

QString ToolbarPromptText()
{
    return QStringLiteral("Please select a standard from the format toolbar before proceeding.");
}

QString FilesSavedText(const QString &folder)
{
    return QStringLiteral("All files saved to ") + folder;
}

QString MakerFooterText()
{
    return QStringLiteral("A Parvenox Company");
}

QString LongDateFormatPattern()
{
    return QStringLiteral("dddddd");
}

QString ShortFileDateFormatPattern()
{
    return QStringLiteral("ddmmmyy");
}
