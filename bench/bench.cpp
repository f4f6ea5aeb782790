// quillmark_bench: prints the program's costs beside plain Qt anchors.
//   quillmark_bench [runs]
// Every figure is the median of several runs; each start-up runs in a fresh
// child process so that nothing is warm but the file system cache, the
// program's and the anchor's taking turns so that a busy machine weighs on
// both alike. Start-up is measured on the X11 display when there is one (run
// a window manager on it, as users have), offscreen otherwise.

#include "batchbench.h"
#include "childprocess.h"
#include "median.h"
#include "printbench.h"
#include "startupbench.h"
#include "typingbench.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct StartupFigures
{
    double ms = 0;
    double mib = 0;
};

struct StartupSamples
{
    std::vector<double> times;
    std::vector<double> memory;

    void run(const char *self, const char *mode)
    {
        const ChildRun child = runChild(QString::fromLocal8Bit(self), {QString::fromLatin1(mode)});
        if (!child.ok) {
            std::fprintf(stderr, "child %s failed\n", mode);
            return;
        }
        times.push_back(child.milliseconds);
        memory.push_back(child.peakMiB);
    }
    [[nodiscard]] StartupFigures figures() const { return {median(times), median(memory)}; }
};

// The platform the windows are shown on: the one asked for, else X11 when
// there is a display, else offscreen. Named in the output.
std::string chooseDisplay()
{
    const QByteArray asked = qgetenv("QT_QPA_PLATFORM");
    if (!asked.isEmpty())
        return "QT_QPA_PLATFORM=" + asked.toStdString();
    const QByteArray display = qgetenv("DISPLAY");
    if (!display.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        return "X11 (DISPLAY=" + display.toStdString() + ")";
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return "offscreen (no display)";
}

// An anchor of 0 is one that could not be measured (a program not installed).
void printRow(const char *what, double value, const char *unit, double anchor)
{
    if (!(anchor > 0)) {
        std::printf("| %-50s | %10.2f %-3s | %14s | %7s |\n", what, value, unit, "absent", "-");
        return;
    }
    std::printf("| %-50s | %10.2f %-3s | %10.2f %-3s | %6.2fx |\n", what, value, unit, anchor, unit,
        value / anchor);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "--quillmark-window") == 0)
        return runQuillmarkWindowOnce();
    if (argc > 1 && std::strcmp(argv[1], "--minimal-window") == 0)
        return runMinimalWindowOnce();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    std::printf("Display: %s\n\n", chooseDisplay().c_str());

    std::printf(
        "| %-50s | %14s | %14s | %7s |\n", "measure (median)", "Quillmark", "anchor", "ratio");
    std::printf("|%s|%s|%s|%s|\n", "----------------------------------------------------",
        "----------------", "----------------", "---------");
    StartupSamples ourSamples;
    StartupSamples plainSamples;
    for (int i = 0; i < runs; ++i) {
        ourSamples.run(argv[0], "--quillmark-window");
        plainSamples.run(argv[0], "--minimal-window");
    }
    const StartupFigures ours = ourSamples.figures();
    const StartupFigures plain = plainSamples.figures();
    // Measured while this program is still small: a child spawned from it starts out with its
    // memory, and the kernel counts that in the child's peak.
    const BatchFigures batch = measureBatch(QStringLiteral(QUILLMARK_PROGRAM), runs);
    printRow("start-up to shown window (anchor: plain Qt)", ours.ms, "ms", plain.ms);
    printRow("start-up peak memory (anchor: plain Qt)", ours.mib, "MiB", plain.mib);

    for (const TypingFigures &typing : measureTyping(runs * 30)) {
        const std::string what
            = std::string("key in ") + typing.size + " address (anchor: switch off)";
        printRow(what.c_str(), typing.withPreviewMicroseconds, "us", typing.switchOffMicroseconds);
    }

    // A page takes milliseconds: more of them steady the median.
    const PrintFigures print = measurePrint(runs * 5);
    printRow("envelope to PDF (anchor: plain QPainter)", print.ms, "ms", print.anchorMs);
    printRow("envelope PDF size (anchor: plain QPainter)", print.pdfKiB, "KiB", print.anchorPdfKiB);

    printRow("1,000 envelopes to PDF (anchor: glabels-3-batch)", batch.ms1000, "ms",
        batch.glabelsMs1000);
    printRow(
        "peak memory, 20,000 envelopes (anchor: 200)", batch.peakMiB20000, "MiB", batch.peakMiB200);
    return 0;
}
