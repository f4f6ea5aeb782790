#pragma once

#include <QObject>
#include <QSize>
#include <QString>

struct Form1Controls;
struct RunState;
class SettingsStore;

// The live POSTNET preview under the recipient box, and the recipient box's
// own handling: every change redraws the preview while the switch is on.
class BarcodePreview : public QObject
{
    Q_OBJECT

public:
    // Where the preview's first bar starts in the box, in twips.
    static constexpr float OriginTwips = 50;

    BarcodePreview(const Form1Controls &controls, const SettingsStore &store, RunState &state);

    void connectControls();

    // The preview routine: extracts ZipDigits from the recipient box and draws it.
    void Command1_Click();
    void Check2_Click();
    void ToAddr_Change();
    void ToAddr_GotFocus();
    void ToAddr_LostFocus();

private:
    [[nodiscard]] bool switchedOn() const;

    // What the preview last drew from: the same digits on an untouched box of
    // the same size and pixel ratio would draw the same pixels again.
    struct Drawn
    {
        QString digits;
        QSize size;
        qreal ratio = 0;
        quint64 drawingCount = 0;
        bool operator==(const Drawn &other) const
        {
            return digits == other.digits && size == other.size && ratio == other.ratio
                && drawingCount == other.drawingCount;
        }
    };

    const Form1Controls &m_controls;
    const SettingsStore &m_store;
    RunState &m_state;
    Drawn m_drawn;
};
