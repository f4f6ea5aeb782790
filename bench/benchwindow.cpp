#include "benchwindow.h"

namespace {

Form1Services servicesFor(const QTemporaryDir &settings)
{
    Form1Services services;
    services.locateSettingsFolder = [&settings] { return settings.path(); };
    services.anotherCopyRunning = [] { return false; };
    return services;
}

} // namespace

BenchWindow::BenchWindow()
    : form(servicesFor(settings))
    , loaded(form.Form_Load())
{ }
