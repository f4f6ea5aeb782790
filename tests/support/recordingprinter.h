#pragma once

#include "drawing/printersurface.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <limits>

// One call made on a RecordingPrinter, with its arguments as given (in the
// unit in force at the call) and the pen at that moment.
struct PrinterCall
{
    QString operation; // the member function's name: "Print", "setCurrentX", ...
    QList<double> numbers;
    QString text;
    float penX = 0; // in that unit
    float penY = 0;
};

// A printer that draws nothing and remembers every call. Pen and unit behave
// as on a real printer: the pen is kept through a change of unit; Print and
// Line leave it where it is. It can be told to fail from some call on.
class RecordingPrinter final : public PrinterSurface
{
public:
    void setScaleMode(int mode) override;
    void setCurrentX(float x) override;
    void setCurrentY(float y) override;
    // A 600 dpi printer.
    // Unbounded: every bar is recorded.
    [[nodiscard]] float ScaleWidth() const override
    {
        return std::numeric_limits<float>::infinity();
    }
    [[nodiscard]] float TwipsPerPixelX() const override { return 2.4f; }
    void Line(float x1, float y1, float x2, float y2) override;

    void setLandscape() override;
    void setFontSize(double points) override;
    void setFontBold(bool on) override;
    void Print(const QString &line) override;
    void PaintPicture(const QImage &picture, float x, float y, float width, float height) override;
    bool EndDoc() override;
    void abortDoc() override;
    [[nodiscard]] bool isOk() const override { return m_ok; }

    // The call with this index (from 0) and every later call fail.
    void failFromCall(int index) { m_failFrom = index; }

    // One line per call: the operation, its numbers (6 significant digits) and
    // its text in quotes; a Print also gives the pen: Print "Jane" @7.28,6.5
    // and a PaintPicture the picture's size: PaintPicture 1 2 1.5 1.5 "32x16"
    [[nodiscard]] QStringList log() const;

private:
    void record(const QString &operation, QList<double> numbers = {}, const QString &text = {});

    bool m_ok = true;
    int m_failFrom = -1;
    QList<PrinterCall> m_calls;
};
