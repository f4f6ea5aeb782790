#pragma once

#include "drawing/printersurface.h"

#include <QList>
#include <QStringList>

#include <limits>

// Draws nothing and logs each call as a line: operation, numbers, text (Print adds the pen).
class RecordingSurface : public PrinterSurface
{
public:
    // One Line call: the corners as given, in the unit that was set.
    struct Box
    {
        float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
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
    bool EndDoc() override { return record("EndDoc"); }
    void abortDoc() override { record("abortDoc"); }
    [[nodiscard]] bool isOk() const override { return m_ok; }

private:
    // Logs the call and tells whether the surface is still good.
    bool record(const char *operation, const QList<double> &numbers = {}, const QString &text = {});

    float m_twipsPerPixelX;
    float m_widthTwips = std::numeric_limits<float>::infinity();
    bool m_ok = true;
    int m_failFrom = -1;
    QList<Box> m_boxes;
    QStringList m_log;
};
