#pragma once

#include "window/form1.h"

#include <QTemporaryDir>

// The envelope window on an empty settings folder of its own, loaded as the
// program loads it at start-up. Check loaded before using the window.
struct BenchWindow
{
    BenchWindow();
    BenchWindow(const BenchWindow &) = delete;
    BenchWindow &operator=(const BenchWindow &) = delete;

    QTemporaryDir settings;
    Form1 form;
    bool loaded = false;
};
