#include "numberforms.h"

namespace NumberForms {

QString numberForm(qint64 value)
{
    return signSlotForm(value) + u' ';
}

QString signSlotForm(qint64 value)
{
    // QString::number already puts the minus sign in the slot.
    return value < 0 ? QString::number(value) : u' ' + QString::number(value);
}

QString bareForm(qint64 value)
{
    return QString::number(value);
}

} // namespace NumberForms
