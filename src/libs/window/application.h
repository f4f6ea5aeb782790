#pragma once

#include <QString>

#include <functional>

// Runs Quillmark: start-up, the window, the event loop. Returns the exit status.
// With a file, the window opens it into the recipient box as Open Address does;
// when a copy already runs, that copy opens it and comes to the front instead.
// The settings folder is the machine's unless another is given.
int runQuillmark(int argc, char *argv[], const QString &fileToOpen = {},
    const std::function<QString()> &locateSettingsFolder = {});
