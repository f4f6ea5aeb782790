#include "addressbox.h"

AddressBox::AddressBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
}

QString AddressBox::text() const
{
    QString plain = toPlainText();
    plain.replace(QLatin1Char('\n'), QLatin1StringView("\r\n"));
    return plain;
}

void AddressBox::setText(const QString &text)
{
    QString plain = text;
    plain.replace(QLatin1StringView("\r\n"), QLatin1StringView("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (plain == toPlainText())
        return; // an unchanged text is no change
    setPlainText(plain);
}
