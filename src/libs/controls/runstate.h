#pragma once

#include <QString>

// The two values that live only in memory for the whole run.
struct RunState
{
    // The edge space in inches; may hold a fraction restored from the settings file.
    double marginInches = 0;
    // The ZIP digits last extracted from the recipient box.
    QString ZipDigits;
};
