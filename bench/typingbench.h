#pragma once

#include <cstddef>
#include <vector>

// One keystroke at the end of the recipient box of the real window, with the
// bar-code switch on (the preview follows the keystroke) and off.
struct TypingFigures
{
    std::size_t addressBytes = 0;
    const char *size = ""; // for people: "4 KiB"
    double withPreviewMicroseconds = 0;
    double switchOffMicroseconds = 0;
};

// Median cost of a keystroke, including the repaint it causes, for recipient
// addresses of about 100 bytes, 4 KiB and 64 KiB, and a 1 MiB line of digits. Runs in this process
// and creates the application object when there is none yet.
[[nodiscard]] std::vector<TypingFigures> measureTyping(int keystrokes);
