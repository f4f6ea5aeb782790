#include "commandbutton.h"

#include <QShortcutEvent>

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{ }

bool CommandButton::event(QEvent *event)
{
    // An ambiguous key only moves among the buttons that share it, as Qt does.
    if (event->type() == QEvent::Shortcut && isEnabled()
        && !static_cast<QShortcutEvent *>(event)->isAmbiguous()) {
        if (focusPolicy() & Qt::ClickFocus)
            setFocus(Qt::ShortcutFocusReason);
        click();
        return true;
    }
    return QPushButton::event(event);
}
