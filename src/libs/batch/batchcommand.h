#pragma once

#include "logic/addresslist.h"
#include "logic/intelligentmail.h"
#include "settings/feedside.h"

#include <QString>
#include <QStringList>

#include <optional>

// What one start from the command line is to do.
struct BatchCommand
{
    enum class Mode
    {
        Window, // the window, with the one file to open when one is given
        Pdf,
        Print,
        List,
    };
    Mode mode = Mode::Window;
    QStringList files; // the address lists, "-" for standard input
    QString pdf; // --pdf
    QString printer; // --printer; empty for the user's default queue
    QString paper; // --paper; empty for the queue's or the locale's
    // Choices that stand in for the saved ones, for this run only.
    std::optional<int> envelopeSize;
    std::optional<FeedSide> feedSide;
    std::optional<double> edgeInches;
    std::optional<int> fontPosition;
    std::optional<bool> barCode;
    std::optional<bool> logo;
    QString returnAddressFile; // --from
    ColumnChoice columns;
    // --imb: an Intelligent Mail barcode instead of POSTNET, serials counting up.
    std::optional<IntelligentMail::Fields> intelligentMail;
};

// The statuses a run ends with; the manual page lists them.
namespace ExitStatus {
inline constexpr int Ok = 0;
inline constexpr int BadInput = 1; // a list cannot be read, is broken, or holds no envelope
inline constexpr int Usage = 2; // the command line is wrong
inline constexpr int OutputFailed = 3; // the PDF cannot be written or the printer fails
inline constexpr int Interrupted = 130; // Ctrl+C, SIGTERM or SIGHUP: nothing was printed
} // namespace ExitStatus

struct ParsedCommandLine
{
    BatchCommand command;
    // Set when the program ends at once: --help, --version or a mistake, with
    // what to print on standard output or standard error.
    std::optional<int> exitStatus;
    QString output;
    QString error;
};

// The arguments as the program got them, its own name first. Needs a running
// QCoreApplication (for the help's program name).
[[nodiscard]] ParsedCommandLine parseCommandLine(const QStringList &arguments);
