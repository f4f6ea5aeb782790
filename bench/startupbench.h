#pragma once

#include <QString>

// Child modes: start a window, wait until it is shown, exit.
int runQuillmarkWindowOnce();
int runMinimalWindowOnce();
