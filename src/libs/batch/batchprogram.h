#pragma once

struct BatchCommand;

// The program for a command of many envelopes: no window, and no connection to
// a display at all, so it runs over ssh and from cron, and beside an open
// window (it takes no single-copy lock and writes no setting). Returns the
// exit status.
int runBatchProgram(int argc, char *argv[], const BatchCommand &command);
