#include "focusevents.h"

#include <QFocusEvent>
#include <QWidget>

FocusEvents *FocusEvents::watch(QWidget *widget)
{
    return new FocusEvents(widget);
}

FocusEvents *FocusEvents::of(const QWidget *widget)
{
    return widget->findChild<FocusEvents *>(QString(), Qt::FindDirectChildrenOnly);
}

void FocusEvents::leave()
{
    if (!m_hasFocus)
        return;
    m_hasFocus = false;
    emit lostFocus();
}

void FocusEvents::saveInPlace()
{
    if (!m_hasFocus)
        return;
    emit lostFocus();
    emit gotFocus();
}

FocusEvents::FocusEvents(QWidget *widget)
    : QObject(widget)
{
    widget->installEventFilter(this);
}

bool FocusEvents::eventFilter(QObject *watched, QEvent *event)
{
    const bool focusEvent = event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut;
    if (watched == parent() && focusEvent) {
        // A list's popup, another window or a dialog taking the keyboard for a
        // while does not move the focus within this window.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (event->type() == QEvent::FocusIn && !m_hasFocus) {
            m_hasFocus = true;
            emit gotFocus();
        } else if (event->type() == QEvent::FocusOut && m_hasFocus && reason != Qt::PopupFocusReason
            && reason != Qt::ActiveWindowFocusReason) {
            m_hasFocus = false;
            emit lostFocus();
        }
    }
    return QObject::eventFilter(watched, event);
}
