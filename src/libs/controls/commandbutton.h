#pragma once

#include <QPushButton>

// A push button whose access key acts as a mouse click does: the focus moves
// to the button first, so the box being left runs its LostFocus handling
// (saving what was typed) before the button's click handling reads it.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CommandButton(const QString &caption, QWidget *parent = nullptr);

protected:
    bool event(QEvent *event) override;
};
