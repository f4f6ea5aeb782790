#include "application.h"

#include "controls/pictures.h"
#include "form1.h"
#include "platform/activationtoken.h"
#include "platform/settingsfolderlocator.h"
#include "platform/singlecopyguard.h"
#include "platform/terminationsignals.h"
#include "version.h"

#include <QApplication>
#include <QFileInfo>
#include <QSessionManager>

int runQuillmark(int argc, char *argv[], const QString &fileToOpen,
    const std::function<QString()> &locateSettingsFolder)
{
    ActivationRequest request;
    request.activationToken = takeActivationToken();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QApplication::setApplicationVersion(QLatin1StringView(Version::String));
    QApplication::setDesktopFileName(QLatin1StringView(Version::AppId));
    QApplication::setWindowIcon(Pictures::windowIcon());

    SingleCopyGuard guard(SingleCopyGuard::defaultRuntimeFolder());
    Form1Services services;
    services.locateSettingsFolder = locateSettingsFolder ? locateSettingsFolder : [] {
        return SettingsFolderLocator::forThisMachine().locate();
    };
    if (!fileToOpen.isEmpty()) // the running copy has a folder of its own
        request.fileToOpen = QFileInfo(fileToOpen).absoluteFilePath();
    services.anotherCopyRunning = [&guard, &request] { return guard.anotherCopyRunning(request); };

    Form1 form(services);
    if (!form.Form_Load())
        return 0;
    QObject::connect(
        &app, &QGuiApplication::lastWindowClosed, &guard, &SingleCopyGuard::stopListening);
    QObject::connect(&guard, &SingleCopyGuard::activationRequested, &form,
        [&form](const ActivationRequest &later) {
            if (!later.fileToOpen.isEmpty())
                form.openAddressFile(later.fileToOpen);
            form.showNormal();
            form.raise();
            const ActivationTokenInEnvironment token(later.activationToken);
            form.activateWindow();
        });
    // Whatever ends the program closes its window first, which saves what is typed.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &form, &QWidget::close);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form,
        [&form](QSessionManager &) { form.saveBeforeSessionEnds(); });
    {
        // This copy is the running one: its launcher's token is for its own window.
        const ActivationTokenInEnvironment token(request.activationToken);
        form.show();
    }
    if (!request.fileToOpen.isEmpty())
        form.openAddressFile(request.fileToOpen);
    guard.listenForActivation();
    return QApplication::exec();
}
