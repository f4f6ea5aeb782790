#include "batch/batchcommand.h"
#include "batch/batchprogram.h"
#include "window/application.h"

#include <QCoreApplication>

#include <cstdio>

// The window, or a run of many envelopes, as the command line says.
int main(int argc, char *argv[])
{
    if (argc <= 1)
        return runQuillmark(argc, argv);
    ParsedCommandLine parsed;
    {
        const QCoreApplication reading(argc, argv);
        parsed = parseCommandLine(QCoreApplication::arguments());
    }
    if (parsed.exitStatus) {
        std::fputs(parsed.output.toLocal8Bit().constData(), stdout);
        std::fputs(parsed.error.toLocal8Bit().constData(), stderr);
        return *parsed.exitStatus;
    }
    if (parsed.command.mode == BatchCommand::Mode::Window)
        return runQuillmark(argc, argv, parsed.command.files.value(0));
    return runBatchProgram(argc, argv, parsed.command);
}
