#include "core/Exceptions.h"
#include "core/UiTextManager.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

using namespace Qt::StringLiterals;

static void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

const QString kCatalogueDir = QStringLiteral(VELOMYRA_SOURCE_DIR "/src/core/catalogues");
const QString kRetired = u"<no longer used>"_s;
// Texts this program adds beside the catalogue's own ids 1-373 start here.
constexpr int kFirstAddedId = 1000;

QString Message(const QString &where, const QString &parameters, const QString &reason)
{
    return u"Exception occured in: "_s + where + u"\r\nWith parameters: "_s + parameters + u"\r\nReason: "_s +
           reason;
}

QString LocaliseTextMessage(int id, const QString &reason)
{
    return Message(u"UiTextManager.LocaliseText"_s, u"pKey="_s + QString::number(id), reason);
}

QString MissingIdReason(const QString &catalogue)
{
    return u"pKey does not exist in dictionary for "_s + catalogue;
}

// Message of the exception of type E raised by f; a failure when nothing is raised.
template <typename E = MarnovelException, typename F> QString RaisedMessage(F &&f)
{
    try {
        f();
    } catch (const E &e) {
        return e.Message();
    }
    ADD_FAILURE() << "no exception raised";
    return QString();
}

QSet<int> EnglishRetiredIds()
{
    QSet<int> ids = {58, 67, 90, 108, 111, 112, 120, 124, 134, 269, 271, 279};
    for (int id = 1; id <= 7; ++id)
        ids.insert(id);
    for (int id = 24; id <= 43; ++id)
        ids.insert(id);
    return ids;
}

// A catalogue file as stored, read without the program's own parser.
struct CatalogueFile
{
    bool hasByteOrderMark = false;
    bool onlyCrLf = false; // every CR followed by LF and every LF preceded by CR
    bool endsWithLineEnd = false;
    QList<int> ids;
    QMap<int, QString> texts;
    QStringList badLines;
};

CatalogueFile ReadCatalogueFile(const QString &path)
{
    QFile file(path);
    CatalogueFile result;
    if (!file.open(QIODevice::ReadOnly)) {
        result.badLines << u"cannot open "_s + path;
        return result;
    }
    QByteArray bytes = file.readAll();
    result.hasByteOrderMark = bytes.startsWith("\xEF\xBB\xBF");
    if (result.hasByteOrderMark)
        bytes.remove(0, 3);
    result.onlyCrLf = bytes.count('\r') == bytes.count("\r\n") && bytes.count('\n') == bytes.count("\r\n");
    result.endsWithLineEnd = bytes.endsWith('\n') || bytes.endsWith('\r');
    QStringList lines = QString::fromUtf8(bytes).split(QRegularExpression(u"\r\n|\n|\r"_s));
    if (result.endsWithLineEnd)
        lines.removeLast();
    for (const QString &line : lines) {
        const qsizetype equals = line.indexOf(u'=');
        bool ok = false;
        const int id = line.left(equals).toInt(&ok);
        if (equals < 0 || !ok || result.texts.contains(id)) {
            result.badLines << line;
            continue;
        }
        result.ids << id;
        result.texts.insert(id, line.mid(equals + 1));
    }
    return result;
}

QSet<int> RetiredIds(const CatalogueFile &catalogue)
{
    QSet<int> ids;
    for (auto it = catalogue.texts.cbegin(); it != catalogue.texts.cend(); ++it) {
        if (it.value() == kRetired)
            ids.insert(it.key());
    }
    return ids;
}

QList<int> IdRange(int first, int last)
{
    QList<int> ids;
    for (int id = first; id <= last; ++id)
        ids << id;
    return ids;
}

class EnglishLoaded : public ::testing::Test
{
protected:
    void SetUp() override { manager.LoadResource(u"LOCALE_ENGLISH"_s); }
    TTranslationManager manager;
};

} // namespace

TEST(TranslationManager, BeforeAnyLoad_LookupsReturnEmptyTextWithoutRaising)
{
    TTranslationManager manager;
    for (int id : {57, 14, 1, 374, -1}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(manager.GetUiText(id), QString());
        EXPECT_EQ(manager.GetTooltipText(id), QString());
    }
    EXPECT_EQ(manager.GetResourceId(), QString());
    EXPECT_EQ(manager.GetCurrentResourceIdIndex(), -1);
    EXPECT_EQ(manager.DetermineCharset(), 1);
}

TEST_F(EnglishLoaded, Lookup_Texts_ReturnCatalogueTextWithLineBreaksAndTooltipWithoutAccelerators)
{
    const QString warning88 =
        u"WARNING: QC Criteria not met (refer to Package Insert; 'Quality Control of Test')."
        u"\r\nELISA is invalid and must be repeated."_s;
    const QString note258 = u"NOTE: The mean OD value for the Zero Standard should be \u2264\u00A00.150. "
                            u"Plate washing procedures should be investigated."_s;
    const struct
    {
        int id;
        QString text;
        QString tooltip;
    } cases[] = {
        {9, u"&Close"_s, u"Close"_s},
        {14, u"Results\r\nE&xport"_s, u"Results\r\nExport"_s},
        {15, u"&Data\r\nExport"_s, u"Data\r\nExport"_s},
        {63, u"Calculat&e"_s, u"Calculate"_s},
        {72, u"Subject\u00A0ID"_s, u"Subject\u00A0ID"_s},
        {88, warning88, warning88},
        {130, u"Data\u00A0Missing"_s, u"Data\u00A0Missing"_s},
        {131, u"Velomyra"_s, u"Velomyra"_s},
        {193,
         u"\"Print All Reports\" cannot be selected for Single Subject Reports. Please select the "
         u"appropriate "
         u"Sample Type for the chosen subject."_s,
         u"\"Print All Reports\" cannot be selected for Single Subject Reports. Please select the "
         u"appropriate "
         u"Sample Type for the chosen subject."_s},
        {207, QString(), QString()},
        {258, note258, note258},
        {259, QString(), QString()},
        {291, u"<291: deprecated>"_s, u"<291: deprecated>"_s},
        {349, u"<349: translation missing>"_s, u"<349: translation missing>"_s},
        {354, u"Curve Type"_s, u"Curve Type"_s},
        {361, u"Velomyra@ RD Test Results"_s, u"Velomyra@ RD Test Results"_s},
        {373, u"PDF files to generate - please wait"_s, u"PDF files to generate - please wait"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(manager.GetUiText(c.id), c.text);
        EXPECT_EQ(manager.GetTooltipText(c.id), c.tooltip);
    }
    EXPECT_FALSE(manager.GetTooltipText(363).isEmpty());
}

TEST_F(EnglishLoaded, Lookup_RetiredOrMissingId_RaisesWithReason)
{
    const QString retired = u"Text should no longer be used."_s;
    const struct
    {
        bool tooltip;
        int id;
        QString reason;
    } cases[] = {
        {false, 1, retired},
        {false, 58, retired},
        {false, 279, retired},
        {true, 7, retired},
        {false, 374, MissingIdReason(u"LOCALE_ENGLISH"_s)},
        {false, 0, MissingIdReason(u"LOCALE_ENGLISH"_s)},
        {false, -1, MissingIdReason(u"LOCALE_ENGLISH"_s)},
        {true, 374, MissingIdReason(u"LOCALE_ENGLISH"_s)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.id);
        const QString message =
            RaisedMessage([&] { c.tooltip ? manager.GetTooltipText(c.id) : manager.GetUiText(c.id); });
        EXPECT_EQ(message, LocaliseTextMessage(c.id, c.reason));
    }
}

TEST(TranslationManager, UiText_ProcessWideManager_AnswersFromEnglish)
{
    EXPECT_TRUE(GetTranslationManager().IsLocale(u"LOCALE_ENGLISH"_s));
    EXPECT_EQ(UiText(87), u"Valid ELISA test run."_s);
    EXPECT_EQ(&GetTranslationManager(), &GetTranslationManager());
}

TEST_F(EnglishLoaded, German_AnswersEveryEnglishIdInGermanAndTooltipsInEnglish)
{
    manager.LoadResource(u"LOCALE_GERMAN"_s);
    // The run details page and the failed-QC verdict ask for the ids added last.
    EXPECT_EQ(manager.GetUiText(354), u"Kurventyp"_s);
    EXPECT_EQ(manager.GetUiText(364),
              u"WARNUNG: ELISA-Testlauf ungültig. Qualitätskontrollkriterien für den ELISA "
              u"nicht erfüllt. Der ELISA muss wiederholt werden."_s);
    EXPECT_EQ(manager.GetTooltipText(354), u"Curve Type"_s);
    EXPECT_EQ(manager.GetTooltipText(14), u"Results\r\nExport"_s);
    // An id no catalogue has still raises; the reason names the current catalogue even for a tooltip.
    EXPECT_EQ(RaisedMessage([&] { manager.GetUiText(374); }),
              LocaliseTextMessage(374, MissingIdReason(u"LOCALE_GERMAN"_s)));
    EXPECT_EQ(RaisedMessage([&] { manager.GetTooltipText(374); }),
              LocaliseTextMessage(374, MissingIdReason(u"LOCALE_GERMAN"_s)));
    EXPECT_EQ(RaisedMessage([&] { manager.GetUiText(306); }),
              LocaliseTextMessage(306, u"Text should no longer be used."_s));
    EXPECT_FALSE(manager.GetUiText(87).isEmpty());

    manager.LoadResource(0);
    EXPECT_EQ(manager.GetUiText(354), u"Curve Type"_s);
}

TEST(TranslationManager, LoadResource_ByIndex_SetsCurrentCatalogueAndCharset)
{
    const struct
    {
        int index;
        QString resource;
        int charset;
    } cases[] = {
        {0, u"LOCALE_ENGLISH"_s, 1},    {1, u"LOCALE_GERMAN"_s, 1},   {2, u"LOCALE_FRENCH"_s, 1},
        {3, u"LOCALE_SPANISH"_s, 1},    {4, u"LOCALE_ITALIAN"_s, 1},  {5, u"LOCALE_GREEK"_s, 161},
        {6, u"LOCALE_PORTUGUESE"_s, 1}, {7, u"LOCALE_POLISH"_s, 238},
    };
    TTranslationManager manager;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.index);
        manager.LoadResource(c.index);
        EXPECT_EQ(manager.GetResourceId(), c.resource);
        EXPECT_EQ(manager.ResourceIdOfIndex(c.index), c.resource);
        EXPECT_TRUE(manager.IsLocale(c.resource));
        EXPECT_FALSE(manager.IsLocale(c.resource.toLower()));
        EXPECT_EQ(manager.GetCurrentResourceIdIndex(), c.index);
        EXPECT_EQ(manager.DetermineCharset(), c.charset);
    }
}

TEST(TranslationManager, LoadResource_JapaneseByName_HasNoIndexAndShiftJisCharset)
{
    TTranslationManager manager;
    // Shipping the Japanese catalogue is optional; the name is taken before loading can fail.
    try {
        manager.LoadResource(u"LOCALE_JAPANESE"_s);
    } catch (const EResNotFound &) {
    }
    EXPECT_EQ(manager.GetResourceId(), u"LOCALE_JAPANESE"_s);
    EXPECT_EQ(manager.GetCurrentResourceIdIndex(), -1);
    EXPECT_EQ(manager.DetermineCharset(), 128);
}

TEST(TranslationManager, LanguageNames_InLanguageOrder)
{
    TTranslationManager manager;
    EXPECT_EQ(manager.GetLanguageNameList(),
              (QStringList{u"English"_s, u"German"_s, u"French"_s, u"Spanish"_s, u"Italian"_s, u"Greek"_s,
                           u"Portuguese"_s, u"Polish"_s}));
}

TEST_F(EnglishLoaded, LoadResource_IndexOutsideLanguageOrder_RaisesAndKeepsCurrentCatalogue)
{
    for (int index : {-1, 8}) {
        SCOPED_TRACE(index);
        EXPECT_THROW(manager.ResourceIdOfIndex(index), EListError);
        EXPECT_THROW(manager.LoadResource(index), EListError);
        EXPECT_EQ(manager.GetResourceId(), u"LOCALE_ENGLISH"_s);
        EXPECT_EQ(manager.GetUiText(9), u"&Close"_s);
    }
}

TEST_F(EnglishLoaded, LoadResource_UnknownName_RaisesNotFoundAndLookupsFailUntilValidLoad)
{
    const QString names[] = {u"LOCALE_KLINGON"_s, QString(), u"../version/VERSIONINFO"_s,
                             u"locale_english"_s};
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_THROW(manager.LoadResource(name), EResNotFound);
        EXPECT_EQ(manager.GetResourceId(), name);
        if (!name.isEmpty()) {
            EXPECT_EQ(RaisedMessage([&] { manager.GetUiText(9); }),
                      Message(u"UiTextManager.GetLocaleTextInternal"_s, u"Ressource="_s + name,
                              u"pKey does not exist in locale dictionary"_s));
        }
        EXPECT_EQ(manager.GetTooltipText(9), u"Close"_s);
        manager.LoadResource(0);
        EXPECT_EQ(manager.GetUiText(9), u"&Close"_s);
    }
}

TEST(TranslationManager, LoadResource_UnknownNameFirst_LeavesTooltipsEmpty)
{
    TTranslationManager manager;
    EXPECT_THROW(manager.LoadResource(u"LOCALE_KLINGON"_s), EResNotFound);
    EXPECT_EQ(manager.GetTooltipText(9), QString());
    EXPECT_THROW(manager.GetUiText(9), MarnovelException);
}

TEST(ParseCatalogue, WellFormedLines_ReadIdsAndTrimmedTexts)
{
    const QByteArray bom("\xEF\xBB\xBF");
    const struct
    {
        const char *label;
        QByteArray bytes;
        std::optional<QChar> remove;
        QMap<int, QString> expected;
    } cases[] = {
        {"crlf with mark", bom + "1=a\r\n2=b", {}, {{1, u"a"_s}, {2, u"b"_s}}},
        {"final line end", bom + "1=a\r\n", {}, {{1, u"a"_s}}},
        {"mixed line ends", "1=a\n2=b\r3=c\r\n4=d", {}, {{1, u"a"_s}, {2, u"b"_s}, {3, u"c"_s}, {4, u"d"_s}}},
        {"second equals kept", "5=a=b", {}, {{5, u"a=b"_s}}},
        {"blanks and controls trimmed", " \t12 \t=  x y \t\x01", {}, {{12, u"x y"_s}}},
        {"no-break spaces kept", bom + "1=\xC2\xA0x\xC2\xA0", {}, {{1, u"\u00A0x\u00A0"_s}}},
        {"signs", "+7=a\r\n-3=b", {}, {{7, u"a"_s}, {-3, u"b"_s}}},
        {"any order and gaps", "9=a\r\n2=b", {}, {{9, u"a"_s}, {2, u"b"_s}}},
        {"empty text", "4=", {}, {{4, QString()}}},
        {"escape kept as stored", "1=a\\nb", {}, {{1, u"a\\nb"_s}}},
        {"no mark reads windows-1252", "1=caf\xE9", {}, {{1, u"caf\u00E9"_s}}},
        {"accelerators kept", "1=& A", {}, {{1, u"& A"_s}}},
        {"accelerators removed", "14=Results\\nE&xport", u'&', {{14, u"Results\\nExport"_s}}},
        {"trimmed again after removal", "1=& A &\r\n2=&&", u'&', {{1, u"A"_s}, {2, QString()}}},
        {"empty resource", QByteArray(), {}, {}},
        {"mark only", bom, {}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(TTranslationManager::ParseCatalogue(u"TEST"_s, c.bytes, c.remove), c.expected);
    }
}

TEST(ParseCatalogue, BadKey_RaisesWithLineNumber)
{
    const struct
    {
        QByteArray bytes;
        QString reason;
    } cases[] = {
        {"abc=x", u"Key in line 1 is not integer: abc"_s},
        {"1=a\r\n\r\n2=b", u"Key in line 2 is empty"_s},
        {"1=a\r\n\r\n", u"Key in line 2 is empty"_s},
        {"1=a\r\nno equals sign", u"Key in line 2 is empty"_s},
        {"=x", u"Key in line 1 is empty"_s},
        {" \t = x", u"Key in line 1 is empty"_s},
        {"1=a\n2=b\n2.5=c", u"Key in line 3 is not integer: 2.5"_s},
        {"1 2=a", u"Key in line 1 is not integer: 1 2"_s},
        {"99999999999=a", u"Key in line 1 is not integer: 99999999999"_s},
        {"0x1F=a", u"Key in line 1 is not integer: 0x1F"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        EXPECT_EQ(RaisedMessage([&] { TTranslationManager::ParseCatalogue(u"TEST"_s, c.bytes); }),
                  Message(u"UiTextManager.SetResource"_s, u"pResourceID=TEST"_s, c.reason));
    }
}

TEST(ParseCatalogue, RepeatedId_RaisesListError)
{
    EXPECT_THROW(TTranslationManager::ParseCatalogue(u"TEST"_s, "1=a\r\n2=b\r\n+1=c"), EListError);
}

TEST(EnglishCatalogue, StoredFile_HasAllIdsRetiredSetAndExactBytes)
{
    const QString path = kCatalogueDir + u"/LOCALE_ENGLISH.txt"_s;
    const CatalogueFile english = ReadCatalogueFile(path);
    EXPECT_TRUE(english.hasByteOrderMark);
    EXPECT_TRUE(english.onlyCrLf);
    EXPECT_FALSE(english.endsWithLineEnd);
    EXPECT_EQ(english.badLines, QStringList());
    // The catalogue's own ids, then the texts this program adds beside them, in ascending order.
    EXPECT_EQ(english.ids.mid(0, 373), IdRange(1, 373));
    const QList<int> added = english.ids.mid(373);
    EXPECT_TRUE(std::is_sorted(added.cbegin(), added.cend()));
    EXPECT_TRUE(std::all_of(added.cbegin(), added.cend(), [](int id) { return id >= kFirstAddedId; }));
    EXPECT_EQ(RetiredIds(english), EnglishRetiredIds());

    QSet<int> withNoBreakSpace;
    for (auto it = english.texts.cbegin(); it != english.texts.cend(); ++it) {
        if (it.value().contains(u'\u00A0'))
            withNoBreakSpace.insert(it.key());
    }
    EXPECT_EQ(withNoBreakSpace, (QSet<int>{72, 130, 258}));

    // The tooltip catalogue is the English file under a second name.
    QFile file(path), resource(u":/catalogues/LOCALE_ENGLISH"_s), tooltip(u":/catalogues/TOOLTIP"_s);
    EnsureCoreResources();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
    ASSERT_TRUE(tooltip.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(resource.readAll(), bytes);
    EXPECT_EQ(tooltip.readAll(), bytes);
}

namespace {

QStringList TranslatedCatalogueNames()
{
    QStringList names;
    const QStringList files = QDir(kCatalogueDir).entryList({u"LOCALE_*.txt"_s}, QDir::Files, QDir::Name);
    for (const QString &file : files) {
        const QString name = file.chopped(4);
        if (name != u"LOCALE_ENGLISH" && name != u"LOCALE_NUMBERS")
            names << name;
    }
    return names;
}

class TranslatedCatalogue : public ::testing::TestWithParam<QString>
{
};

} // namespace

TEST_P(TranslatedCatalogue, MatchesEnglishIdsRetiredSetEscapesAndAccelerators)
{
    const QString name = GetParam();
    const CatalogueFile english = ReadCatalogueFile(kCatalogueDir + u"/LOCALE_ENGLISH.txt"_s);
    const CatalogueFile translated = ReadCatalogueFile(kCatalogueDir + u"/"_s + name + u".txt"_s);
    EXPECT_TRUE(translated.hasByteOrderMark);
    EXPECT_TRUE(translated.onlyCrLf);
    EXPECT_TRUE(translated.endsWithLineEnd);
    EXPECT_EQ(translated.badLines, QStringList());
    // Every id of the English catalogue, in the same order: a missing one raises at lookup.
    EXPECT_EQ(translated.ids, english.ids);

    QSet<int> expectedRetired = EnglishRetiredIds();
    expectedRetired.insert(306);
    const QSet<int> retired = RetiredIds(translated);
    if (name == u"LOCALE_JAPANESE")
        EXPECT_TRUE(retired.contains(expectedRetired));
    else
        EXPECT_EQ(retired, expectedRetired);

    const QString escape = u"\\n"_s;
    for (auto it = translated.texts.cbegin(); it != translated.texts.cend(); ++it) {
        const QString source = english.texts.value(it.key());
        if (it.value() == kRetired)
            continue;
        SCOPED_TRACE(it.key());
        EXPECT_EQ(it.value().count(escape), source.count(escape)) << it.value().toStdString();
        EXPECT_EQ(it.value().contains(u'&'), source.contains(u'&')) << it.value().toStdString();
        EXPECT_EQ(it.value().contains(u'\u00A0'), source.contains(u'\u00A0')) << it.value().toStdString();
        EXPECT_EQ(it.value().isEmpty(), source.isEmpty()) << it.value().toStdString();
    }
    // An English stand-in would pass the id check; the texts added last need their own wording
    // (a single word such as "Information" may rightly be the same).
    for (const int id : english.ids) {
        if (id < 354 || !english.texts.value(id).contains(u' '))
            continue;
        SCOPED_TRACE(id);
        EXPECT_NE(translated.texts.value(id), english.texts.value(id));
    }
    // The texts this program adds fill in the same values ("%1") as the English ones.
    for (const int id : english.ids) {
        if (id <= 373)
            continue;
        SCOPED_TRACE(id);
        for (int value = 1; value <= 9; ++value) {
            const QString marker = u'%' + QString::number(value);
            EXPECT_EQ(translated.texts.value(id).count(marker), english.texts.value(id).count(marker))
                << translated.texts.value(id).toStdString();
        }
    }

    // The built-in resource parses and answers up to the last English id, and no further.
    TTranslationManager manager;
    manager.LoadResource(name);
    EXPECT_FALSE(manager.GetUiText(9).isEmpty());
    EXPECT_FALSE(manager.GetUiText(373).isEmpty());
    for (const int id : english.ids.mid(373))
        EXPECT_FALSE(manager.GetUiText(id).isEmpty()) << id;
    EXPECT_EQ(RaisedMessage([&] { manager.GetUiText(374); }),
              LocaliseTextMessage(374, MissingIdReason(name)));
}

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(TranslatedCatalogue);
INSTANTIATE_TEST_SUITE_P(Catalogues, TranslatedCatalogue, ::testing::ValuesIn(TranslatedCatalogueNames()),
                         [](const ::testing::TestParamInfo<QString> &info) {
                             return info.param.toStdString();
                         });

namespace {

QStringList AllCatalogueNames()
{
    return QStringList{u"LOCALE_ENGLISH"_s} << TranslatedCatalogueNames();
}

// The "%1".."%9" a text fills in; a translation may put them in another order.
QStringList Placeholders(const QString &text)
{
    QStringList found;
    QRegularExpressionMatchIterator it = QRegularExpression(u"%[1-9]"_s).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    found.sort();
    return found;
}

} // namespace

// Every text the program adds beside the catalogue's own ids, whichever catalogue it was
// added to, is in all eight languages: a missing one would raise when shown.
TEST(AddedTexts, EveryAddedId_InEveryCatalogueNonEmptyWithTheEnglishPlaceholders)
{
    const QStringList names = AllCatalogueNames();
    ASSERT_EQ(names.size(), 8) << names.join(u' ').toStdString();
    QMap<QString, CatalogueFile> catalogues;
    QSet<int> added;
    for (const QString &name : names) {
        catalogues.insert(name, ReadCatalogueFile(kCatalogueDir + u"/"_s + name + u".txt"_s));
        for (const int id : catalogues.value(name).ids) {
            if (id >= kFirstAddedId)
                added.insert(id);
        }
    }
    const CatalogueFile &english = catalogues[u"LOCALE_ENGLISH"_s];
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const CatalogueFile &catalogue = catalogues[name];
        TTranslationManager manager;
        manager.LoadResource(name);
        for (const int id : added) {
            SCOPED_TRACE(id);
            ASSERT_TRUE(catalogue.texts.contains(id));
            const QString text = catalogue.texts.value(id);
            EXPECT_FALSE(text.trimmed().isEmpty());
            EXPECT_NE(text, kRetired);
            EXPECT_EQ(Placeholders(text), Placeholders(english.texts.value(id))) << text.toStdString();
            EXPECT_EQ(text.count(u"\\n"_s), english.texts.value(id).count(u"\\n"_s)) << text.toStdString();
            EXPECT_FALSE(manager.GetUiText(id).isEmpty());
        }
    }
}
