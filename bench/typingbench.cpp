#include "typingbench.h"
#include "benchwindow.h"
#include "median.h"

#include "controls/addressbox.h"
#include "window/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

constexpr int KeystrokesPerRound = 10;
constexpr int WarmUpKeystrokes = 3;

// Whole address blocks, the last one ending in a ZIP+4 code, up to the size.
QString addressOfSize(std::size_t bytes)
{
    const QString block = QStringLiteral("Jane Q. Doe\n"
                                         "Acme Widgets, Purchasing\n"
                                         "1234 Elm Street, Apt 5\n"
                                         "Springfield, IL 62704-1234\n");
    QString address;
    while (static_cast<std::size_t>(address.size() + block.size()) <= bytes)
        address += block;
    if (address.isEmpty())
        address = block;
    address.chop(1);
    return address;
}

// One line of digits: the worst case for the bar code, whose every digit
// counts and whose ZIP code changes with every keystroke.
QString digitLineOfSize(std::size_t bytes)
{
    QString line;
    line.reserve(static_cast<qsizetype>(bytes));
    while (static_cast<std::size_t>(line.size()) < bytes)
        line.append(QChar(static_cast<char16_t>(u'0' + line.size() % 10)));
    return line;
}

void typeAndRepaint(QWidget *box, Qt::Key key)
{
    QTest::keyClick(box, key);
    QCoreApplication::processEvents();
}

// Keystrokes with the switch on and off alternate in short rounds in one
// window, so that a busy machine weighs on both alike.
TypingFigures measureKeystrokes(const QString &address, int keystrokes)
{
    BenchWindow window;
    if (!window.loaded)
        return {};
    Form1 &form = window.form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return {};

    const Form1Controls &c = form.controls();
    c.ToAddr->setText(address);
    c.ToAddr->setFocus(Qt::OtherFocusReason);
    c.ToAddr->moveCursor(QTextCursor::End);

    std::vector<double> withPreview;
    std::vector<double> switchOff;
    QElapsedTimer timer;
    for (int round = 0; round * KeystrokesPerRound < keystrokes; ++round) {
        for (bool previewOn : {false, true}) {
            c.Check2->setChecked(previewOn);
            std::vector<double> &times = previewOn ? withPreview : switchOff;
            for (int i = 0; i < WarmUpKeystrokes + KeystrokesPerRound; ++i) {
                timer.start();
                typeAndRepaint(c.ToAddr, Qt::Key_7);
                const qint64 nanoseconds = timer.nsecsElapsed();
                // Taking the digit back keeps the address the same for every keystroke.
                typeAndRepaint(c.ToAddr, Qt::Key_Backspace);
                if (i >= WarmUpKeystrokes)
                    times.push_back(static_cast<double>(nanoseconds) / 1000.0);
            }
        }
    }
    TypingFigures figures;
    figures.withPreviewMicroseconds = median(withPreview);
    figures.switchOffMicroseconds = median(switchOff);
    return figures;
}

} // namespace

std::vector<TypingFigures> measureTyping(int keystrokes)
{
    std::optional<QApplication> app;
    static int argc = 1;
    static char name[] = "quillmark_bench";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        app.emplace(argc, argv);

    std::vector<TypingFigures> figures;
    const std::pair<std::size_t, const char *> sizes[]
        = {{100, "100 B"}, {4 * 1024, "4 KiB"}, {64 * 1024, "64 KiB"}, {1024 * 1024, "1 MiB"}};
    for (const auto &[bytes, label] : sizes) {
        TypingFigures row = measureKeystrokes(addressOfSize(bytes), keystrokes);
        row.addressBytes = bytes;
        row.size = label;
        figures.push_back(row);
    }
    // The editor itself takes long over a line this long: fewer rounds.
    constexpr std::size_t MiB = 1024 * 1024;
    TypingFigures row = measureKeystrokes(digitLineOfSize(MiB), std::max(1, keystrokes / 10));
    row.addressBytes = MiB;
    row.size = "1 MiB one-line";
    figures.push_back(row);
    return figures;
}
