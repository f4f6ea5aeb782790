#include "application.h"

#include "controls/pictures.h"
#include "form1.h"
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
    ActivationRequest request;
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
            form.activateWindow();
        });
    // Whatever ends the program closes its window first, which saves what is typed.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &form, &QWidget::close);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form,
        [&form](QSessionManager &) { form.saveBeforeSessionEnds(); });
    form.show();
    if (!request.fileToOpen.isEmpty())
        form.openAddressFile(request.fileToOpen);
    guard.listenForActivation();
    return QApplication::exec();
}
