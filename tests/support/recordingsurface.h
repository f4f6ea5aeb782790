#pragma once

#include "drawing/printersurface.h"

#include <QList>
#include <QStringList>

#include <limits>

// A preview box or printer that draws nothing and remembers every call. Pen
// and unit behave as on a real surface: a change of unit keeps the pen in
// place; Print and Line leave it where it is. It can be told to fail from some
// call on.
class RecordingSurface : public PrinterSurface
{
public:
    // One Line call: the corners as given, in the unit that was set.
    struct Box
    {
        float x1 = 0;
        float y1 = 0;
        float x2 = 0;
        float y2 = 0;
        int scaleMode = DrawingSurface::Twips;
    };

    explicit RecordingSurface(float twipsPerPixelX = 15.0f)
        : m_twipsPerPixelX(twipsPerPixelX)
    { }

    // In twips; unbounded until set.
    void setWidthTwips(float twips) { m_widthTwips = twips; }
    // The call with this index (from 0) and every later call fail.
    void failFromCall(int index) { m_failFrom = index; }

    [[nodiscard]] const QList<Box> &boxes() const { return m_boxes; }
    // One line per call: the operation, its numbers (6 significant digits) and
    // its text in quotes; a Print also gives the pen: Print "Jane" @7.28,6.5
    // and a PaintPicture the picture's size: PaintPicture 1 2 1.5 1.5 "32x16"
    [[nodiscard]] const QStringList &log() const { return m_log; }

    void setScaleMode(int mode) override;
    void setCurrentX(float x) override;
    void setCurrentY(float y) override;
    [[nodiscard]] float ScaleWidth() const override { return pen().fromTwips(m_widthTwips); }
    [[nodiscard]] float TwipsPerPixelX() const override { return m_twipsPerPixelX; }
    void Line(float x1, float y1, float x2, float y2) override;
    void setLandscape() override { record("setLandscape"); }
    void setFontSize(double points) override { record("setFontSize", {points}); }
    void setFontBold(bool on) override { record("setFontBold", {on ? 1.0 : 0.0}); }
    void Print(const QString &line) override;
    void PaintPicture(const QImage &picture, float x, float y, float width, float height) override;
    bool EndDoc() override;
    void abortDoc() override { record("abortDoc"); }
    [[nodiscard]] bool isOk() const override { return m_ok; }

private:
    void record(const char *operation, const QList<double> &numbers = {}, QString text = {});

    float m_twipsPerPixelX;
    float m_widthTwips = std::numeric_limits<float>::infinity();
    bool m_ok = true;
    int m_failFrom = -1;
    QList<Box> m_boxes;
    QStringList m_log;
};
