#pragma once

#include <QByteArray>
#include <QChar>
#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// Registers the resources of the static core library (text catalogues, version
// information); safe to call any number of times.
void EnsureCoreResources();

// The numbered text catalogues, one per language, held as resources ":/catalogues/NAME".
// Every catalogue loaded stays until destruction; lookups never fall back to another language.
class TTranslationManager
{
public:
    TTranslationManager();
    ~TTranslationManager();

    TTranslationManager(const TTranslationManager &) = delete;
    TTranslationManager &operator=(const TTranslationManager &) = delete;

    // Makes the named catalogue current (the name is taken even when loading fails) and
    // makes sure the tooltip catalogue is loaded. EResNotFound for an unknown resource.
    void LoadResource(const QString &resourceName);
    void LoadResource(int languageIndex);

    // Empty before the first LoadResource; raises for a missing or retired id.
    QString GetUiText(int id) const;
    QString GetTooltipText(int id) const;
    QString GetResourceId() const;
    bool IsLocale(const QString &resourceName) const;
    QStringList GetLanguageNameList() const;
    int GetCurrentResourceIdIndex() const;      // -1 when not in the language order
    QString ResourceIdOfIndex(int index) const; // EListError outside 0-7
    int DetermineCharset() const;

    // Parses catalogue bytes (byte-order mark, line splitting, id=text lines);
    // removeChar, when given, is deleted from every text. Raises on a bad line.
    static QMap<int, QString> ParseCatalogue(const QString &resourceName, const QByteArray &bytes,
                                             std::optional<QChar> removeChar = std::nullopt);

private:
    QString GetLocaleTextInternal(const QString &catalogue, int id) const;
    void EnsureLoaded(const QString &resourceName, std::optional<QChar> removeChar);

    QMap<int, QString> mResourceIdOrder;
    QMap<QString, QString> mLanguageNames;
    QString mResourceIDText;
    QString mResourceIDTooltipText;
    QHash<QString, QHash<int, QString>> mLocaleDicts;
    // The current catalogue's texts once it is loaded: looked up for every text shown.
    const QHash<int, QString> *mCurrentDict = nullptr;
};

TTranslationManager &GetTranslationManager();

// Shorthand for GetTranslationManager().GetUiText(id).
QString UiText(int id);

// Catalogue texts that several windows and reports share, in the current language.
QString ResultsCopiedText();                            // 149
QString StandardConcentrationsText();                   // 21
QString OneBlockPerCellText();                          // 150
QString TorvinLayoutText();                             // 162
QString TubeMixupWarningText();                         // 305
QString ResearchUseText();                              // 310
QString ResearchUseAndContactText();                    // 310, CR LF CR LF, 363
QString ResearchUseFooterText();                        // the empty text followed by 310
QString NilText();                                      // 53
QString MitogenText();                                  // 56
QString TbAgText();                                     // 187
QString Esat6Text();                                    // 54
QString Cfp10Text();                                    // 55
QString PageOfText(const QString &a, const QString &b); // a " " text 194 " " b
