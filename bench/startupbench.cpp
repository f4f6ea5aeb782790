#include "startupbench.h"

#include "benchwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

int exitWhenShown(QWidget &window)
{
    window.show();
    QTimer::singleShot(0, &window, [&window] {
        if (QTest::qWaitForWindowExposed(&window))
            QCoreApplication::exit(0);
        else
            QCoreApplication::exit(1);
    });
    return QApplication::exec();
}

char benchName[] = "quillmark_bench";
char *benchArgv[] = {benchName, nullptr};
int benchArgc = 1;

} // namespace

int runQuillmarkWindowOnce()
{
    QApplication app(benchArgc, benchArgv);
    BenchWindow window;
    if (!window.loaded)
        return 1;
    return exitWhenShown(window.form);
}

int runMinimalWindowOnce()
{
    QApplication app(benchArgc, benchArgv);
    // As many plain controls as the envelope window has, with no pictures,
    // no settings and no handlers.
    QWidget window;
    window.setFixedSize(706, 548);
    auto *margin = new QGroupBox(QStringLiteral("Edge Space"), &window);
    for (int i = 0; i < 6; ++i)
        new QRadioButton(QStringLiteral("%1 inch").arg(i), margin);
    auto *size = new QGroupBox(QStringLiteral("Envelope Size"), &window);
    for (int i = 0; i < 3; ++i) {
        new QRadioButton(size);
        new QLabel(size);
    }
    for (int i = 0; i < 5; ++i)
        new QPushButton(QStringLiteral("Button"), &window);
    for (int i = 0; i < 3; ++i) {
        new QRadioButton(QStringLiteral("Option"), &window);
        new QLabel(&window);
    }
    new QCheckBox(QStringLiteral("Check"), &window);
    new QCheckBox(QStringLiteral("Check"), &window);
    new QLabel(&window);
    (new QComboBox(&window))->addItems({QStringLiteral("Small"), QStringLiteral("Medium")});
    new QPlainTextEdit(&window);
    new QPlainTextEdit(&window);
    new QLabel(QStringLiteral("Font Size"), &window);
    new QLabel(&window);
    new QLabel(&window);
    return exitWhenShown(window);
}
