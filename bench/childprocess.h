#pragma once

#include <QString>
#include <QStringList>

// Runs this benchmark program again as a child and measures it from the
// outside: wall time until it exits, and its peak resident memory.
struct ChildRun
{
    double milliseconds = 0;
    double peakMiB = 0;
    bool ok = false;
};

[[nodiscard]] ChildRun runChild(const QString &program, const QStringList &arguments);
