#pragma once

#include <QChar>

// The blanks that reading skips or ignores: spaces and tabs.
inline bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}
