#include "ControlsToFile.h"

#include "core/MarnovelConfigManager.h"
#include "core/MarnovelUtils.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QCalendarWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabBar>
#include <QWidget>

#include <utility>

namespace {

// Sets name=value, replacing the line of a name present in any letter case.
void SetValue(QStringList &lines, const QString &name, const QString &value)
{
    for (QString &line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq >= 0 && QStringView(line).left(eq).compare(name, Qt::CaseInsensitive) == 0) {
            line = name + QLatin1Char('=') + value;
            return;
        }
    }
    lines << name + QLatin1Char('=') + value;
}

// Controls the toolkit makes inside its own widgets (viewports, scroll bars, the stack of a
// tab widget) carry no name or a "qt_" one: they are passed through to their named children.
bool IsNamedControl(const QWidget *widget)
{
    const QString name = widget->objectName();
    return !name.isEmpty() && !name.startsWith(QStringLiteral("qt_"));
}

// Controls whose children are the toolkit's own parts (buttons of a tab bar, the line edit of
// a spin box, the viewport and scroll bars of a grid): written, but not looked into. A scroll
// area's content is the program's and is looked into.
bool HoldsProgramControls(const QWidget *widget)
{
    if (qobject_cast<const QScrollArea *>(widget))
        return true;
    return !qobject_cast<const QAbstractScrollArea *>(widget) &&
           !qobject_cast<const QAbstractButton *>(widget) &&
           !qobject_cast<const QAbstractSpinBox *>(widget) && !qobject_cast<const QComboBox *>(widget) &&
           !qobject_cast<const QTabBar *>(widget) && !qobject_cast<const QLineEdit *>(widget) &&
           !qobject_cast<const QAbstractSlider *>(widget) && !qobject_cast<const QCalendarWidget *>(widget);
}

void AddControls(const QString &prefix, QWidget *parent, QStringList &lines)
{
    for (QObject *object : parent->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        // Windows owned by this one write their own entries under their own prefix.
        if (!child || child->isWindow())
            continue;
        if (IsNamedControl(child))
            SetValue(lines, prefix + child->objectName(), ControlHandleText(child));
        if (HoldsProgramControls(child))
            AddControls(prefix, child, lines);
    }
}

void WriteEntry(const QString &fileName, const QString &name, const QString &value)
{
    QStringList lines;
    if (QFileInfo::exists(fileName))
        lines = SplitLines(DecodeText(ReadWholeFile(fileName)));
    SetValue(lines, name, value);
    WriteFileAtomically(fileName, (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

// A window gets a new native window when it is shown again after closing (or after a change
// of its flags): its entry follows, so the file always holds the id it has now.
class TWindowIdFollower : public QObject
{
public:
    TWindowIdFollower(QWidget *window, QString fileName, QString name)
        : QObject(window), mFileName(std::move(fileName)), mName(std::move(name))
    {
        window->installEventFilter(this);
    }

    const QString &Name() const { return mName; }
    void SetFileName(const QString &fileName) { mFileName = fileName; }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WinIdChange && watched == parent()) {
            // Zero: the native window is gone; the next one writes its own id.
            const WId id = static_cast<QWidget *>(watched)->internalWinId();
            if (id != 0)
                WriteEntry(mFileName, mName, QString::number(id));
        }
        return false;
    }

private:
    QString mFileName;
    QString mName;
};

void FollowWindowId(QWidget *window, const QString &fileName, const QString &name)
{
    for (QObject *child : window->children()) {
        auto *follower = dynamic_cast<TWindowIdFollower *>(child);
        if (follower && follower->Name() == name) {
            follower->SetFileName(fileName);
            return;
        }
    }
    new TWindowIdFollower(window, fileName, name);
}

} // namespace

QString ControlObjectPath(const QWidget *control)
{
    QStringList names;
    for (const QWidget *widget = control; widget;
         widget = widget->isWindow() ? nullptr : widget->parentWidget()) {
        if (IsNamedControl(widget))
            names.prepend(widget->objectName());
    }
    return names.join(QLatin1Char('/'));
}

QString ControlHandleText(QWidget *control)
{
    // A top-level window is native anyway; asking a child for its id would make it native.
    if (control->isWindow())
        return QString::number(control->winId());
    return ControlObjectPath(control);
}

void WriteControlsToFile(const TMarnovelConfigManager &config, const QString &prefix, QWidget *window,
                         QStringList *list, bool ownsList, bool addApplicationHandle)
{
    if (!config.GetDoWriteControlsToFile() || !window)
        return;
    const QString fileName = config.GetControlsToFileName();
    QStringList ownList;
    QStringList *lines = list;
    if (ownsList || !lines) {
        if (QFileInfo::exists(fileName))
            ownList = SplitLines(DecodeText(ReadWholeFile(fileName)));
        lines = &ownList;
    }
    SetValue(*lines, prefix + window->objectName(), ControlHandleText(window));
    if (window->isWindow())
        FollowWindowId(window, fileName, prefix + window->objectName());
    if (addApplicationHandle)
        SetValue(*lines, QStringLiteral("ApplicationHandle"),
                 QString::number(QCoreApplication::applicationPid()));
    AddControls(prefix, window, *lines);
    WriteFileAtomically(fileName, (lines->join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

void WriteControlsToFile(const QString &prefix, QWidget *window, QStringList *list, bool ownsList,
                         bool addApplicationHandle)
{
    WriteControlsToFile(GetConfigManager(), prefix, window, list, ownsList, addApplicationHandle);
}
