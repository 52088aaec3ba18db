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
};

TTranslationManager &GetTranslationManager();

// Shorthand for GetTranslationManager().GetUiText(id).
QString UiText(int id);
