#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

// True when the folder exists or was created with all missing parents. When creation
// fails and raise is set: MarnovelException with text 203 + " " + path.
bool EnsureDirectory(const QString &path, bool raise);

// The file named by the window-handle hook's "WriteControlsToFile=PATH" (the option's name in
// any letter case, as the program's command line always took it); nothing for another argument.
std::optional<QString> ControlsToFileArgument(const QString &argument);

// Settings that outlive a window: per-user store values (folders, language, window
// positions), the default folder tree under the documents folder and a few process flags.
class TMarnovelConfigManager
{
public:
    // arguments: the command-line arguments after the program name; only the first counts.
    // documentsFolder: overrides the user's documents folder (empty: none known).
    explicit TMarnovelConfigManager(const QStringList &arguments,
                                    std::optional<QString> documentsFolder = std::nullopt);

    bool GetIsSingleCriteria() const { return mIsSingleCriteria; }
    void SetIsSingleCriteria(bool value) { mIsSingleCriteria = value; }
    // A criteria type ordinal (8: standards, 90: research sample).
    quint8 GetSingleCriteria() const { return mSingleCriteria; }
    void SetSingleCriteria(quint8 value) { mSingleCriteria = value; }
    bool IsPlateWashCriteriaApplicable() const { return true; }

    // "\Software\Parvenox\" + version text, and the same path as a settings store group.
    QString KeySoftwareVersionRoot() const;
    QString SoftwareVersionGroup() const;

    // Stores the catalogue resource name as "Locale".
    void SetDefaultLocale(const QString &resourceName);

    // Stored folders; a missing or empty value is replaced by (and written back as) the default.
    QString GetDirPDFFiles() const;
    QString GetDirFormatFiles() const;
    QString GetDirRundataFiles() const;
    QString GetDirExportFiles() const;

    // (-1, -1) per coordinate that is missing or unreadable.
    QPoint GetSavedFormLocation(const QString &windowName) const;
    void SetSavedFormLocation(const QString &windowName, int x, int y);

    bool GetDoWriteControlsToFile() const { return fDoWriteControlsToFile; }
    QString GetControlsToFileName() const { return fControlsToFileName; }

    // Default folders: each ends with a delimiter, except the base.
    QString GetBaseFolder() const; // documents folder + "/Velomyra_RD"
    QString GetSaveFolder() const;
    QString GetFormatFolder() const;
    QString GetExportFolder() const;
    QString GetPdfFolder() const;
    QString GetInputFolder() const;
    QString GetBackupFolder() const;
    QString GetErrorsFolder() const;

    // Creates the default folder tree; each folder that cannot be created is reported with
    // ShowErrorMessage and the others are still tried.
    void CreateDefaultFolders() const;

    // The user's documents folder, empty when the platform names none.
    static QString SystemDocumentsFolder();

private:
    QString SubFolder(const QString &name) const;

    bool mIsSingleCriteria = false;
    quint8 mSingleCriteria = 8;
    bool fDoWriteControlsToFile = false;
    QString fControlsToFileName;
    std::optional<QString> mDocumentsFolder;
};

// Created on first use with the application's arguments when an application object exists.
TMarnovelConfigManager &GetConfigManager();
