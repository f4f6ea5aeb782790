#pragma once

class Form1;
struct Form1Services;

// The window's load handling: settings folder, placement, title, the single
// running copy, the font-size list and the restore of every saved choice.
// An operation that fails is skipped and start-up goes on with the next.
class Startup
{
public:
    explicit Startup(Form1 &form);

    // False when another copy runs and this one must end.
    [[nodiscard]] bool run(const Form1Services &services);

private:
    void centreOnScreen();
    void fillFontSizes();
    void restoreFontSize();
    void restoreLogoPicture();
    void restoreEdgeSpace();
    void restorePrintLogo();
    void restorePostNet();
    void restoreFeedSide();
    void restoreReturnAddress();
    void restoreEnvelopeSize();

    Form1 &m_form;
};
