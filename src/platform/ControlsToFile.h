#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class TMarnovelConfigManager;

// The window-handle hook: with "WriteControlsToFile=PATH" as the program's first argument,
// every window writes one name=value line per control to PATH, so automation tools can find
// them. The name is the prefix and the control's object name; the value is the native window
// id (decimal) for a top-level window and the control's object path otherwise (the object
// names of its named ancestors from its window down, joined by "/", as findChild walks them).
// Native child windows are never forced into existence for this.
//
// list: the lines to add to; with ownsList a new list is made from PATH when it exists.
// addApplicationHandle adds "ApplicationHandle" with the process id. Names are matched
// ignoring letter case; a present name gets the new value. The file is written at the end.
// A no-op unless the hook is on.
void WriteControlsToFile(const QString &prefix, QWidget *window, QStringList *list, bool ownsList,
                         bool addApplicationHandle);
// The same with the hook settings of `config`.
void WriteControlsToFile(const TMarnovelConfigManager &config, const QString &prefix, QWidget *window,
                         QStringList *list, bool ownsList, bool addApplicationHandle);

// The value written for a control: see above.
QString ControlHandleText(QWidget *control);
// The object path of a control: "frmMainCombinedRd/rawDataSheet/rawDataGd".
QString ControlObjectPath(const QWidget *control);
