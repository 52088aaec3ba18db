#include "core/DataObjectText.h"

#include "core/MarnovelUtils.h"

#include <QMimeData>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace {

// The charset parameter of a MIME type ("text/plain;charset=UTF-16" -> "UTF-16"); empty
// when there is none.
QString CharsetOf(const QString &format)
{
    const QStringList parts = format.split(u';');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString parameter = parts.at(i).trimmed();
        if (parameter.startsWith(u"charset="_s, Qt::CaseInsensitive)) {
            QString value = parameter.mid(8).trimmed();
            if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
                value = value.mid(1, value.size() - 2);
            return value;
        }
    }
    return QString();
}

std::optional<QString> DecodeWithCharset(const QByteArray &bytes, const QString &charset)
{
    if (charset.isEmpty())
        return DecodeTextPreferringUtf8(bytes);
    QStringDecoder decoder(charset.toLatin1().constData());
    if (!decoder.isValid())
        return std::nullopt;
    // The decoder removes a leading byte-order mark itself.
    return decoder.decode(bytes);
}

QString Cleaned(QString text)
{
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    while (text.endsWith(QChar(u'\0')))
        text.chop(1);
    return text;
}

} // namespace

std::optional<QString> PlainTextOf(const QMimeData &data)
{
    // The toolkit's own text first: it knows the platform's text formats.
    const QStringList formats = data.formats();
    for (const QString &format : formats) {
        const QString type = format.section(u';', 0, 0).trimmed().toLower();
        if (type == u"text/plain"_s && format == type)
            return Cleaned(DecodeTextPreferringUtf8(data.data(format)));
    }
    for (const QString &format : formats) {
        const QString type = format.section(u';', 0, 0).trimmed().toLower();
        if (type != u"text/plain"_s && type != u"text/tab-separated-values"_s)
            continue;
        if (const std::optional<QString> text = DecodeWithCharset(data.data(format), CharsetOf(format)))
            return Cleaned(*text);
    }
    return std::nullopt;
}

std::unique_ptr<QMimeData> PlainTextDataObject(const QMimeData *data)
{
    if (data == nullptr)
        return nullptr;
    auto plain = std::make_unique<QMimeData>();
    if (const std::optional<QString> text = PlainTextOf(*data))
        plain->setText(*text);
    return plain;
}
