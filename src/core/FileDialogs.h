#pragma once

#include <QString>

// The open and save dialogs of the program's files, shown through the presenter. Each has a
// fixed filter and starts in the folder remembered under its store value ("DirRundataFiles",
// "DirFormatFiles", "DirExportFiles" (text exports and workbooks), "DirPdfFiles", with the default folder
// when none is stored); when the operator confirms, the chosen file's folder is remembered there. Each
// returns the confirmation; fileName is the chosen file, or the proposed name (empty for the open dialogs)
// when cancelled.
//
// The save dialogs return the file that will really be written: a name without an extension
// gets the filter's (".vdf", ".vff", ".txt", ".xlsx", ".pdf") before the operator is asked whether an
// existing file of that name may be replaced (No opens the dialog again on that name). A
// folder, a device or another file that is not a regular file is refused with a message
// naming it, and the dialog opens again.

bool OpenRundataFileDialog(QString &fileName);
bool SaveRundataFileDialog(const QString &proposedName, QString &fileName);
bool OpenFormatFileDialog(QString &fileName);
bool SaveFormatFileDialog(const QString &proposedName, QString &fileName);
bool SaveExportFileDialog(const QString &proposedName, QString &fileName);
bool SaveWorkbookFileDialog(const QString &proposedName, QString &fileName);
bool SavePdfFileDialog(const QString &proposedName, QString &fileName);
