#pragma once

#include "core/FontManager.h"
#include "platform/CanvasText.h"
#include "platform/ExceptionBoundary.h"

#include <QAbstractButton>

#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QCloseEvent;
class QFontMetrics;
class QGroupBox;
class QPainter;
class QWidget;

// The window routines every window shares: catalogue text on controls, focus, text drawing
// on a canvas and the layout of button rows.

// A new control with its object name, by which tests and automation find it.
template <typename Widget> Widget *Named(Widget *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

// ---- check marks ----------------------------------------------------------------------
// A radio button or check box acts on its change of state, however it was made: a click, a
// key (arrows move the check within a group) or a screen reader's toggle action, which
// emits no click. Changes that code makes through SetCheckedQuietly run no handler.

// receiver->method() each time the button becomes checked (radio buttons).
template <typename Receiver, typename Method>
void OnChecked(QAbstractButton *button, Receiver *receiver, Method method)
{
    QObject::connect(button, &QAbstractButton::toggled, receiver, [receiver, method](bool checked) {
        if (checked)
            Guarded(receiver, method)();
    });
}

// receiver->method() on every change of the check mark (check boxes).
template <typename Receiver, typename Method>
void OnToggled(QAbstractButton *button, Receiver *receiver, Method method)
{
    QObject::connect(button, &QAbstractButton::toggled, receiver,
                     [receiver, method](bool) { Guarded(receiver, method)(); });
}

// Set-up, language switches and taking back a refused choice are not the operator's choice:
// the check mark moves without the handlers above.
void SetCheckedQuietly(QAbstractButton *button, bool checked);

// A window closes only when allowClose (if set) agrees; an exception in it is reported and
// does not hold the window open.
void AnswerCloseQuery(QCloseEvent *event, const std::function<bool()> &allowClose);

// ---- control texts ------------------------------------------------------------------
// Puts text on a push or tool button, a tab page, a label, a group box, a radio button or a
// check box, with the point size of `usage` in the current language's character set. The
// hint becomes the tool tip when showHint is set and it says something the text does not
// (a tab page never shows one). Other kinds raise "SetControlText(): Control NAME not handled.".
void SetControlText(QWidget *control, const QString &text, bool showHint, FONTUSAGE usage,
                    const QString &hint);
void SetControlText(QWidget *control, const QString &text, FONTUSAGE usage);
// Catalogue text `id`, its tool tip from the tooltip catalogue.
void SetControlText(QWidget *control, int id, FONTUSAGE usage, bool showHint);
// As above with CONTROL_GROUPBOX for a group box, CONTROL_DEFAULT otherwise.
void SetControlText(QWidget *control, int id, bool showHint);

// False for a hidden or disabled control; otherwise moves the focus there. Kinds that
// cannot take the focus raise "SetFocusIfEnabled(): Control NAME not handled.".
bool SetFocusIfEnabled(QWidget *control);

// True while either shift key is held.
bool IsShiftDown();

// A picture of the window's whole area, rendered by the window itself (so another window
// lying over it does not spoil it). Null for no window.
QPixmap GetScreenShotForWindowArea(QWidget *window);

// ---- layout ---------------------------------------------------------------------------
struct TButtonPlace
{
    int left;
    int width;
};

// n buttons share `width` from `left` with `gap` around each: every button is
// trunc((width - gap * (n + 1)) / (n + extra)) wide; with alignLast the last one moves to
// width - (first left) - its width. No buttons, or n + extra <= 0, places nothing.
std::vector<TButtonPlace> ButtonRowPlaces(int n, int left, int width, int extra, bool alignLast, int gap);
// Moves and sizes the buttons as above; their tops and heights stay.
void LayoutButtonRow(const QList<QWidget *> &buttons, int left, int width, int extra, bool alignLast,
                     int gap);
void SetButtonHeights(const QList<QWidget *> &buttons, int height);
// The height of "0" in the group box's font, plus 1 for a framed (not flat) group box.
int GroupBoxCaptionHeight(const QWidget *window, const QGroupBox *groupBox);
// The width a title bar needs to show the window's caption whole: the caption as the window
// system shows it, in bold, with room for the window's icon and three title bar buttons.
int CaptionWidth(const QWidget *window);

// ---- window placement ---------------------------------------------------------------------
// Where a window whose frame is `frameSize` opens: at the saved top-left corner when the top
// strip of the frame placed there (where it is grabbed to be moved) lies on one of `screens`
// (their available areas); otherwise centred in `home`. -1 in either coordinate means nothing
// was saved. Every saved value is safe: the check is made without overflow.
QPoint RestoredWindowPosition(const QPoint &saved, const QSize &frameSize, const QList<QRect> &screens,
                              const QRect &home);
