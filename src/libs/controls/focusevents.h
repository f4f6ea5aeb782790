#pragma once

#include <QObject>

class QWidget;

// Reports when a widget gains or loses the keyboard focus, so the window can
// run its GotFocus and LostFocus handling without subclassing every control.
class FocusEvents : public QObject
{
    Q_OBJECT

public:
    // The watcher lives as a child of the widget.
    static FocusEvents *watch(QWidget *widget);
    // The widget's watcher, when it has one.
    [[nodiscard]] static FocusEvents *of(const QWidget *widget);

    // Runs the LostFocus handling now when the widget holds the focus: a window
    // that closes while another is active gets no focus-out from the system.
    // The widget counts as left, so the handling runs once.
    void leave();
    // Runs the LostFocus handling of a widget that keeps the focus, and its
    // GotFocus handling again: what leaving it saves is saved, and it stays.
    void saveInPlace();

signals:
    void gotFocus();
    void lostFocus();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit FocusEvents(QWidget *widget);

    // Focus that leaves with the whole window or into a popup has not left
    // the control; it is still held when it comes back.
    bool m_hasFocus = false;
};
