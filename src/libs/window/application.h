#pragma once

// Runs Quillmark: start-up, the window, the event loop. Returns the exit status.
int runQuillmark(int argc, char *argv[]);
