#pragma once

#include <QString>

#include <functional>

// Runs Quillmark: start-up, the window, the event loop. Returns the exit status.
// The settings folder is the machine's unless another is given.
int runQuillmark(int argc, char *argv[], const std::function<QString()> &locateSettingsFolder = {});
