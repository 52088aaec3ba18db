#include "UiTextManager.h"

#include "Exceptions.h"
#include "FontManager.h"
#include "MarnovelUtils.h"
#include "Tool.h"

#include <QFile>

// Q_INIT_RESOURCE must be used at global namespace; the core library is static, so its
// resources are not registered unless something references their initialisers.
static void InitCoreResources()
{
    Q_INIT_RESOURCE(catalogues);
    Q_INIT_RESOURCE(version);
}

void EnsureCoreResources()
{
    static const bool initialised = (InitCoreResources(), true);
    Q_UNUSED(initialised);
}

namespace {

const QString kTooltipResource = QStringLiteral("TOOLTIP");
const QString kRetiredText = QStringLiteral("<no longer used>");

constexpr int DEFAULT_CHARSET = TFontManager::DEFAULT_CHARSET;
constexpr int SHIFTJIS_CHARSET = TFontManager::SHIFTJIS_CHARSET;
constexpr int GREEK_CHARSET = TFontManager::GREEK_CHARSET;
constexpr int EASTEUROPE_CHARSET = TFontManager::EASTEUROPE_CHARSET;

// Blanks and control characters only: the no-break spaces inside catalogue texts must survive.
QString TrimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

// A resource name is a plain name below ":/catalogues/"; anything that could climb out of
// that folder is treated as a resource the executable does not have.
bool IsPlainResourceName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

QByteArray ReadCatalogueResource(const QString &resourceName)
{
    EnsureCoreResources();
    QFile file(QStringLiteral(":/catalogues/") + resourceName);
    if (!IsPlainResourceName(resourceName) || !file.open(QIODevice::ReadOnly))
        throw EResNotFound(BuildExceptionMessage(QStringLiteral("UiTextManager.SetResource"),
                                                 QStringLiteral("pResourceID=") + resourceName,
                                                 QStringLiteral("Resource not found")));
    return file.readAll();
}

} // namespace

TTranslationManager::TTranslationManager()
{
    EnsureCoreResources();
    const struct
    {
        const char16_t *resource;
        const char16_t *name;
    } languages[] = {
        {u"LOCALE_ENGLISH", u"English"},       {u"LOCALE_GERMAN", u"German"},   {u"LOCALE_FRENCH", u"French"},
        {u"LOCALE_SPANISH", u"Spanish"},       {u"LOCALE_ITALIAN", u"Italian"}, {u"LOCALE_GREEK", u"Greek"},
        {u"LOCALE_PORTUGUESE", u"Portuguese"}, {u"LOCALE_POLISH", u"Polish"},
    };
    int index = 0;
    for (const auto &language : languages) {
        const QString resource = QString::fromUtf16(language.resource);
        mResourceIdOrder.insert(index++, resource);
        mLanguageNames.insert(resource, QString::fromUtf16(language.name));
    }
}

TTranslationManager::~TTranslationManager() = default;

QMap<int, QString> TTranslationManager::ParseCatalogue(const QString &resourceName, const QByteArray &bytes,
                                                       std::optional<QChar> removeChar)
{
    const QString where = QStringLiteral("UiTextManager.SetResource");
    const QString parameters = QStringLiteral("pResourceID=") + resourceName;
    const QStringList lines = SplitLines(DecodeText(bytes));

    QMap<int, QString> result;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        const QString lineNumber = QString::number(i + 1);
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QString key = equals < 0 ? QString() : TrimBlanks(line.left(equals));
        QString text = TrimBlanks(equals < 0 ? line : line.mid(equals + 1));
        if (removeChar) {
            text.remove(*removeChar);
            text = TrimBlanks(text);
        }
        if (key.isEmpty())
            throw EConvertError(BuildExceptionMessage(where, parameters,
                                                      QStringLiteral("Key in line ") + lineNumber +
                                                          QStringLiteral(" is empty")));
        int id = 0;
        if (!TryTextToInt(key, id))
            throw EConvertError(BuildExceptionMessage(where, parameters,
                                                      QStringLiteral("Key in line ") + lineNumber +
                                                          QStringLiteral(" is not integer: ") + key));
        if (result.contains(id))
            throw EListError(BuildExceptionMessage(where, parameters,
                                                   QStringLiteral("Key in line ") + lineNumber +
                                                       QStringLiteral(" is a duplicate: ") + key));
        result.insert(id, text);
    }
    return result;
}

void TTranslationManager::EnsureLoaded(const QString &resourceName, std::optional<QChar> removeChar)
{
    if (mLocaleDicts.contains(resourceName))
        return;
    const QMap<int, QString> parsed =
        ParseCatalogue(resourceName, ReadCatalogueResource(resourceName), removeChar);
    QHash<int, QString> dict;
    dict.reserve(parsed.size());
    // Line breaks are written "\\n" in the catalogue; they are turned into CR LF once here.
    for (auto it = parsed.cbegin(); it != parsed.cend(); ++it)
        dict.insert(it.key(), QString(it.value()).replace(QStringLiteral("\\n"), QStringLiteral("\r\n")));
    mLocaleDicts.insert(resourceName, dict);
}

void TTranslationManager::LoadResource(const QString &resourceName)
{
    // Loading moves the catalogues held: the pointer is taken again afterwards.
    mCurrentDict = nullptr;
    mResourceIDText = resourceName;
    EnsureLoaded(resourceName, std::nullopt);
    mResourceIDTooltipText = kTooltipResource;
    EnsureLoaded(kTooltipResource, QLatin1Char('&'));
    mCurrentDict = &*mLocaleDicts.constFind(mResourceIDText);
}

void TTranslationManager::LoadResource(int languageIndex)
{
    LoadResource(ResourceIdOfIndex(languageIndex));
}

QString TTranslationManager::GetLocaleTextInternal(const QString &catalogue, int id) const
{
    if (catalogue.isEmpty())
        return QString();
    const auto dict = mLocaleDicts.constFind(catalogue);
    if (dict == mLocaleDicts.cend())
        throw MarnovelException(BuildExceptionMessage(
            QStringLiteral("UiTextManager.GetLocaleTextInternal"), QStringLiteral("Ressource=") + catalogue,
            QStringLiteral("pKey does not exist in locale dictionary")));
    const auto entry = dict->constFind(id);
    if (entry == dict->cend())
        throw MarnovelException(BuildExceptionMessage(
            QStringLiteral("UiTextManager.LocaliseText"), QStringLiteral("pKey=") + QString::number(id),
            QStringLiteral("pKey does not exist in dictionary for ") + mResourceIDText));
    const QString &text = *entry;
    if (text == kRetiredText)
        throw MarnovelException(BuildExceptionMessage(QStringLiteral("UiTextManager.LocaliseText"),
                                                      QStringLiteral("pKey=") + QString::number(id),
                                                      QStringLiteral("Text should no longer be used.")));
    return text;
}

QString TTranslationManager::GetUiText(int id) const
{
    if (mCurrentDict != nullptr) {
        const auto entry = mCurrentDict->constFind(id);
        if (entry != mCurrentDict->cend() && *entry != kRetiredText)
            return *entry;
    }
    // Not loaded, missing or retired: the general way raises the error.
    return GetLocaleTextInternal(mResourceIDText, id);
}

QString TTranslationManager::GetTooltipText(int id) const
{
    return GetLocaleTextInternal(mResourceIDTooltipText, id);
}

QString TTranslationManager::GetResourceId() const
{
    return mResourceIDText;
}

bool TTranslationManager::IsLocale(const QString &resourceName) const
{
    return resourceName == mResourceIDText;
}

QStringList TTranslationManager::GetLanguageNameList() const
{
    QStringList names;
    for (const QString &resource : mResourceIdOrder)
        names << mLanguageNames.value(resource);
    return names;
}

int TTranslationManager::GetCurrentResourceIdIndex() const
{
    for (auto it = mResourceIdOrder.cbegin(); it != mResourceIdOrder.cend(); ++it) {
        if (it.value() == mResourceIDText)
            return it.key();
    }
    return -1;
}

QString TTranslationManager::ResourceIdOfIndex(int index) const
{
    const auto it = mResourceIdOrder.constFind(index);
    if (it == mResourceIdOrder.cend())
        throw EListError(BuildExceptionMessage(QStringLiteral("UiTextManager.ResourceIdOfIndex"),
                                               QStringLiteral("pIndex=") + QString::number(index),
                                               QStringLiteral("Item not found")));
    return it.value();
}

int TTranslationManager::DetermineCharset() const
{
    if (mResourceIDText == u"LOCALE_JAPANESE")
        return SHIFTJIS_CHARSET;
    if (mResourceIDText == u"LOCALE_GREEK")
        return GREEK_CHARSET;
    if (mResourceIDText == u"LOCALE_POLISH")
        return EASTEUROPE_CHARSET;
    return DEFAULT_CHARSET;
}

TTranslationManager &GetTranslationManager()
{
    static TTranslationManager manager;
    return manager;
}

QString UiText(int id)
{
    return GetTranslationManager().GetUiText(id);
}

QString ResultsCopiedText()
{
    return UiText(149);
}

QString StandardConcentrationsText()
{
    return UiText(21);
}

QString OneBlockPerCellText()
{
    return UiText(150);
}

QString TorvinLayoutText()
{
    return UiText(162);
}

QString TubeMixupWarningText()
{
    return UiText(305);
}

QString ResearchUseText()
{
    return UiText(310);
}

QString ResearchUseAndContactText()
{
    return UiText(310) + QStringLiteral("\r\n\r\n") + UiText(363);
}

QString ResearchUseFooterText()
{
    return QString() + UiText(310);
}

QString NilText()
{
    return UiText(53);
}

QString MitogenText()
{
    return UiText(56);
}

QString TbAgText()
{
    return UiText(187);
}

QString Esat6Text()
{
    return UiText(54);
}

QString Cfp10Text()
{
    return UiText(55);
}

QString PageOfText(const QString &a, const QString &b)
{
    return a + QLatin1Char(' ') + UiText(194) + QLatin1Char(' ') + b;
}
