#include "FileDialogs.h"

#include "MarnovelConfigManager.h"
#include "Messages.h"
#include "Registry.h"

namespace {

struct RememberedDialog
{
    TFileDialogKind kind;
    const char16_t *filter;
    const char16_t *valueName;
    QString (TMarnovelConfigManager::*defaultFolder)() const;
};

constexpr RememberedDialog kOpenRundata{TFileDialogKind::Open, u"Velomyra Run Data File|*.vdf",
                                        u"DirRundataFiles", &TMarnovelConfigManager::GetSaveFolder};
constexpr RememberedDialog kSaveRundata{TFileDialogKind::Save, u"Velomyra Run Data File|*.vdf",
                                        u"DirRundataFiles", &TMarnovelConfigManager::GetSaveFolder};
constexpr RememberedDialog kOpenFormat{TFileDialogKind::Open, u"Velomyra Format File|*.vff",
                                       u"DirFormatFiles", &TMarnovelConfigManager::GetFormatFolder};
constexpr RememberedDialog kSaveFormat{TFileDialogKind::Save, u"Velomyra Format File|*.vff",
                                       u"DirFormatFiles", &TMarnovelConfigManager::GetFormatFolder};
constexpr RememberedDialog kSaveExport{TFileDialogKind::Save, u"Text File|*.txt", u"DirExportFiles",
                                       &TMarnovelConfigManager::GetExportFolder};
constexpr RememberedDialog kSavePdf{TFileDialogKind::Save, u"Portable Document Format|*.pdf", u"DirPdfFiles",
                                    &TMarnovelConfigManager::GetPdfFolder};

// The folder part of a path, its trailing delimiter included (empty for a bare name).
QString FolderOf(const QString &path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool Ask(const RememberedDialog &dialog, const QString &proposedName, QString &fileName)
{
    const QString valueName = QString::fromUtf16(dialog.valueName);
    const QString folder = ReadRegistryText(valueName, (GetConfigManager().*dialog.defaultFolder)());
    QString chosen;
    const bool confirmed = GetPresenter().AskFileName(dialog.kind, QString::fromUtf16(dialog.filter), folder,
                                                      proposedName, chosen);
    fileName = confirmed ? chosen : proposedName;
    if (confirmed)
        WriteRegistryText(valueName, FolderOf(chosen));
    return confirmed;
}

} // namespace

bool OpenRundataFileDialog(QString &fileName)
{
    return Ask(kOpenRundata, QString(), fileName);
}

bool SaveRundataFileDialog(const QString &proposedName, QString &fileName)
{
    return Ask(kSaveRundata, proposedName, fileName);
}

bool OpenFormatFileDialog(QString &fileName)
{
    return Ask(kOpenFormat, QString(), fileName);
}

bool SaveFormatFileDialog(const QString &proposedName, QString &fileName)
{
    return Ask(kSaveFormat, proposedName, fileName);
}

bool SaveExportFileDialog(const QString &proposedName, QString &fileName)
{
    return Ask(kSaveExport, proposedName, fileName);
}

bool SavePdfFileDialog(const QString &proposedName, QString &fileName)
{
    return Ask(kSavePdf, proposedName, fileName);
}
