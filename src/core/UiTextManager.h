#pragma once

#include <QByteArray>
#include <QChar>
#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// The numbered text catalogues, one per language, held as resources ":/catalogues/NAME".
class TTranslationManager
{
public:
    TTranslationManager();
    ~TTranslationManager();

    void LoadResource(const QString &resourceName);
    void LoadResource(int languageIndex);

    QString GetUiText(int id) const;
    QString GetTooltipText(int id) const;
    QString GetResourceId() const;
    bool IsLocale(const QString &resourceName) const;
    QStringList GetLanguageNameList() const;
    int GetCurrentResourceIdIndex() const;
    QString ResourceIdOfIndex(int index) const; // EListError outside 0-7
    int DetermineCharset() const;

    // Parses catalogue bytes (byte-order mark, line splitting, id=text lines);
    // removeChar, when given, is deleted from every text. Raises on a bad line.
    static QMap<int, QString> ParseCatalogue(const QString &resourceName, const QByteArray &bytes,
                                             std::optional<QChar> removeChar = std::nullopt);

private:
    QString GetLocaleTextInternal(const QString &catalogue, int id) const;

    QMap<int, QString> mResourceIdOrder;
    QMap<QString, QString> mLanguageNames;
    QString mResourceIDText;
    QString mResourceIDTooltipText;
    QHash<QString, QHash<int, QString>> mLocaleDicts;
};

TTranslationManager &GetTranslationManager();

// Shorthand for GetTranslationManager().GetUiText(id).
QString UiText(int id);
