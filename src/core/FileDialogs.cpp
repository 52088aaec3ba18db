#include "FileDialogs.h"

#include "MarnovelConfigManager.h"
#include "MarnovelUtils.h"
#include "Messages.h"
#include "Registry.h"
#include "UiTextManager.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kReplaceFileQuestionText = 1000; // "%1" already exists; replace it?
constexpr int kNotAFileText = 1001;            // "%1" is a folder or a device

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
// Workbooks go where the text exports go.
constexpr RememberedDialog kSaveWorkbook{TFileDialogKind::Save, u"Excel Workbook|*.xlsx", u"DirExportFiles",
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

// The extension of a filter "Description|*.ext".
QString FilterExtension(const RememberedDialog &dialog)
{
    const QString filter = QString::fromUtf16(dialog.filter);
    return filter.mid(filter.lastIndexOf(QLatin1Char('.')) + 1);
}

// A name that exists and is no regular file (links followed): writing would replace a folder,
// or a device such as /dev/null.
bool IsNoRegularFile(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
}

bool AskSave(const RememberedDialog &dialog, const QString &proposedName, QString &fileName)
{
    QString proposal = proposedName;
    for (;;) {
        QString chosen;
        if (!Ask(dialog, proposal, chosen)) {
            fileName = proposedName;
            return false;
        }
        // The name as typed first: "/dev/null" is refused, not turned into "/dev/null.txt".
        QString refused = IsNoRegularFile(chosen) ? chosen : QString();
        const QString target = WithDefaultExtension(chosen, FilterExtension(dialog));
        if (refused.isEmpty() && IsNoRegularFile(target))
            refused = target;
        if (!refused.isEmpty()) {
            ShowErrorMessage(UiText(kNotAFileText).arg(QDir::toNativeSeparators(refused)));
            proposal = chosen;
            continue;
        }
        if (QFileInfo::exists(target) &&
            ShowMessageDialog(UiText(kReplaceFileQuestionText).arg(QDir::toNativeSeparators(target)),
                              TMsgDlgType::mtConfirmation, TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo,
                              0) != TModalResult::mrYes) {
            proposal = target;
            continue;
        }
        fileName = target;
        return true;
    }
}

} // namespace

bool OpenRundataFileDialog(QString &fileName)
{
    return Ask(kOpenRundata, QString(), fileName);
}

bool SaveRundataFileDialog(const QString &proposedName, QString &fileName)
{
    return AskSave(kSaveRundata, proposedName, fileName);
}

bool OpenFormatFileDialog(QString &fileName)
{
    return Ask(kOpenFormat, QString(), fileName);
}

bool SaveFormatFileDialog(const QString &proposedName, QString &fileName)
{
    return AskSave(kSaveFormat, proposedName, fileName);
}

bool SaveExportFileDialog(const QString &proposedName, QString &fileName)
{
    return AskSave(kSaveExport, proposedName, fileName);
}

bool SaveWorkbookFileDialog(const QString &proposedName, QString &fileName)
{
    return AskSave(kSaveWorkbook, proposedName, fileName);
}

bool SavePdfFileDialog(const QString &proposedName, QString &fileName)
{
    return AskSave(kSavePdf, proposedName, fileName);
}
