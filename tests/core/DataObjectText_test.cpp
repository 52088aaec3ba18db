// The text of a clipboard or drop data object in each of the toolkit's text forms.

#include "core/DataObjectText.h"

#include <QMimeData>

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

struct Format
{
    QString name;
    QByteArray bytes;
};

struct Case
{
    const char *name;
    QList<Format> formats;
    std::optional<QString> text;
};

const QString kPlateLine = u"0.123\t1,5\tN/S \u00B5"_s;

TEST(DataObjectText, EveryTextFormOfferedGivesItsText)
{
    const QByteArray utf8 = kPlateLine.toUtf8();
    const QByteArray utf16le(reinterpret_cast<const char *>(kPlateLine.utf16()), kPlateLine.size() * 2);
    const Case cases[] = {
        {"plain, UTF-8", {{u"text/plain"_s, utf8}}, kPlateLine},
        {"plain with a UTF-8 mark", {{u"text/plain"_s, "\xEF\xBB\xBF" + utf8}}, kPlateLine},
        {"plain, Windows-1252 bytes", {{u"text/plain"_s, "0.123\t1,5\tN/S \xB5"}}, kPlateLine},
        {"plain, UTF-16 with its mark", {{u"text/plain"_s, "\xFF\xFE" + utf16le}}, kPlateLine},
        // QMimeData::hasText() says no to each of these: they were refused as no text.
        {"charset UTF-8 only", {{u"text/plain;charset=utf-8"_s, utf8}}, kPlateLine},
        {"charset UTF-16LE", {{u"text/plain;charset=UTF-16LE"_s, utf16le}}, kPlateLine},
        {"charset UTF-16 with its mark",
         {{u"text/plain; charset=utf-16"_s, "\xFF\xFE" + utf16le}},
         kPlateLine},
        {"quoted Latin-1", {{u"text/plain;charset=\"ISO-8859-1\""_s, "0.123\t1,5\tN/S \xB5"}}, kPlateLine},
        {"tab-separated values", {{u"text/tab-separated-values"_s, utf8}}, kPlateLine},
        {"a trailing NUL", {{u"text/plain"_s, utf8 + QByteArray(2, '\0')}}, kPlateLine},
        {"an image and text", {{u"image/png"_s, "\x89PNG"}, {u"text/plain"_s, utf8}}, kPlateLine},
        {"plain preferred to another charset",
         {{u"text/plain;charset=UTF-16LE"_s, QByteArray("x\0", 2)}, {u"text/plain"_s, utf8}},
         kPlateLine},
        {"empty text", {{u"text/plain"_s, QByteArray()}}, QString()},
        {"an image only", {{u"image/png"_s, "\x89PNG"}}, std::nullopt},
        {"links only", {{u"text/uri-list"_s, "file:///tmp/plate.txt\r\n"}}, std::nullopt},
        {"markup only", {{u"text/html"_s, "<table><tr><td>1</td></tr></table>"}}, std::nullopt},
        {"an unknown charset", {{u"text/plain;charset=x-no-such-charset"_s, utf8}}, std::nullopt},
    };
    for (const Case &c : cases) {
        QMimeData data;
        for (const Format &format : c.formats)
            data.setData(format.name, format.bytes);
        const std::optional<QString> text = PlainTextOf(data);
        ASSERT_EQ(text.has_value(), c.text.has_value()) << c.name;
        if (text) {
            EXPECT_EQ(text->toStdString(), c.text->toStdString()) << c.name;
        }
    }
}

TEST(DataObjectText, TextSetAsTextComesBackUnchanged)
{
    QMimeData data;
    data.setText(kPlateLine + u"\r\n"_s);
    EXPECT_EQ(PlainTextOf(data), kPlateLine + u"\r\n"_s);
}

TEST(DataObjectText, DataObjectForTheParser_TextOnlyOrNone)
{
    EXPECT_EQ(PlainTextDataObject(nullptr), nullptr);

    QMimeData utf8Only;
    utf8Only.setData(u"text/plain;charset=utf-8"_s, kPlateLine.toUtf8());
    const auto plain = PlainTextDataObject(&utf8Only);
    ASSERT_NE(plain, nullptr);
    EXPECT_TRUE(plain->hasText());
    EXPECT_EQ(plain->text(), kPlateLine);

    QMimeData links;
    links.setData(u"text/uri-list"_s, "file:///tmp/plate.txt\r\n");
    ASSERT_TRUE(links.hasText()); // links count as text for the toolkit, but are no plate text
    const auto none = PlainTextDataObject(&links);
    ASSERT_NE(none, nullptr);
    EXPECT_FALSE(none->hasText());
}

} // namespace
