// quillmark_bench: prints the program's costs beside plain Qt anchors.
//   quillmark_bench [runs]
// Every figure is the median of several runs; each start-up runs in a fresh
// child process so that nothing is warm but the file system cache.

#include "childprocess.h"
#include "median.h"
#include "printbench.h"
#include "startupbench.h"
#include "typingbench.h"

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

StartupFigures measureStartup(const char *self, const char *mode, int runs)
{
    std::vector<double> times;
    std::vector<double> memory;
    for (int i = 0; i < runs; ++i) {
        const ChildRun run = runChild(QString::fromLocal8Bit(self), {QString::fromLatin1(mode)});
        if (!run.ok) {
            std::fprintf(stderr, "child %s failed\n", mode);
            continue;
        }
        times.push_back(run.milliseconds);
        memory.push_back(run.peakMiB);
    }
    return {median(times), median(memory)};
}

void printRow(const char *what, double value, const char *unit, double anchor)
{
    std::printf("| %-44s | %10.2f %-3s | %10.2f %-3s | %6.2fx |\n", what, value, unit, anchor, unit,
        anchor > 0 ? value / anchor : 0.0);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "--quillmark-window") == 0)
        return runQuillmarkWindowOnce();
    if (argc > 1 && std::strcmp(argv[1], "--minimal-window") == 0)
        return runMinimalWindowOnce();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

    std::printf(
        "| %-44s | %14s | %14s | %7s |\n", "measure (median)", "Quillmark", "anchor", "ratio");
    std::printf("|%s|%s|%s|%s|\n", "----------------------------------------------",
        "----------------", "----------------", "---------");
    const StartupFigures ours = measureStartup(argv[0], "--quillmark-window", runs);
    const StartupFigures plain = measureStartup(argv[0], "--minimal-window", runs);
    printRow("start-up to shown window (anchor: plain Qt)", ours.ms, "ms", plain.ms);
    printRow("start-up peak memory (anchor: plain Qt)", ours.mib, "MiB", plain.mib);

    for (const TypingFigures &typing : measureTyping(runs * 30)) {
        const std::string what
            = std::string("key in ") + typing.size + " address (anchor: switch off)";
        printRow(what.c_str(), typing.withPreviewMicroseconds, "us", typing.switchOffMicroseconds);
    }

    const PrintFigures print = measurePrint(runs);
    printRow("envelope to PDF (anchor: plain QPainter)", print.ms, "ms", print.anchorMs);
    printRow("envelope PDF size (anchor: plain QPainter)", print.pdfKiB, "KiB", print.anchorPdfKiB);
    return 0;
}
