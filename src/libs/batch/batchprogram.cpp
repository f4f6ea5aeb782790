#include "batchprogram.h"

#include "batchrun.h"
#include "platform/settingsfolderlocator.h"
#include "settings/settingsstore.h"
#include "version.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

#include <unistd.h>

int runBatchProgram(int argc, char *argv[], const BatchCommand &command)
{
    // Fonts and pages need a graphical application, but never a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Quillmark"));
    QGuiApplication::setApplicationVersion(QLatin1StringView(Version::String));

    QTextStream out(stdout);
    QTextStream err(stderr);
    BatchRun run(command, out, err);
    run.showProgress(::isatty(STDERR_FILENO) == 1);
    const SettingsStore store(SettingsFolderLocator::forThisMachine().existing());
    return run.run(store);
}
