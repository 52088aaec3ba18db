#include "DialogSetup.h"

#include "platform/WindowTools.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLayout>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr Qt::WindowFlags kTitleAndCloseOnly =
    Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

struct TDialogRule
{
    Qt::WindowFlags flags;
    bool modal;
    bool showWithoutActivating;
};

TDialogRule RuleOf(TDialogKind kind)
{
    switch (kind) {
    case TDialogKind::Plain:
        return {Qt::Dialog, false, false};
    case TDialogKind::Modal:
        return {Qt::Dialog, true, false};
    case TDialogKind::ModalTool:
        return {Qt::Tool, true, false};
    case TDialogKind::ModalMenu:
        return {Qt::Tool | Qt::WindowStaysOnTopHint | kTitleAndCloseOnly | Qt::WindowSystemMenuHint, true,
                false};
    case TDialogKind::Floating:
        return {Qt::Dialog | Qt::WindowStaysOnTopHint | kTitleAndCloseOnly, false, true};
    }
    return {Qt::Dialog, false, false};
}

} // namespace

void SetUpDialog(QDialog *dialog, const QString &objectName, TDialogKind kind)
{
    const TDialogRule rule = RuleOf(kind);
    dialog->setObjectName(objectName);
    // Before the window exists the flags only choose its frame; nothing is shown or moved.
    dialog->setWindowFlags(rule.flags);
    dialog->setModal(rule.modal);
    dialog->setAttribute(Qt::WA_ShowWithoutActivating, rule.showWithoutActivating);
}

TOkCancelButtons AddOkCancelButtons(QDialog *dialog, const QString &okName, const QString &cancelName)
{
    auto *ok = Named(new QPushButton(dialog), okName);
    ok->setDefault(true);
    auto *cancel = Named(new QPushButton(dialog), cancelName);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return {ok, cancel, row};
}

void SetOkCancelTexts(QPushButton *ok, QPushButton *cancel)
{
    SetControlText(ok, 48, false);
    SetControlText(cancel, 69, false);
}

int ButtonWidthForText(const QPushButton *button, int minimum)
{
    constexpr int kPadding = 24;
    const QString text = QString(button->text()).remove(u'&');
    return std::max(minimum, button->fontMetrics().horizontalAdvance(text) + kPadding);
}

void FixToContentsAndCaption(QDialog *dialog)
{
    const QSize contents = dialog->layout()->sizeHint();
    dialog->setFixedSize(std::max(contents.width(), CaptionWidth(dialog)), contents.height());
}
