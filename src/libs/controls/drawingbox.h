#pragma once

#include "drawing/drawingsurface.h"

#include <QColor>
#include <QImage>
#include <QWidget>

// A picture box used as a drawing surface. What is drawn goes into a backing
// image that the widget paints, so it stays visible through every repaint
// until Cls() or a new back colour clears it.
class DrawingBox : public QWidget, public DrawingSurface
{
    Q_OBJECT

public:
    explicit DrawingBox(QWidget *parent = nullptr);

    // The window colour of the palette until set.
    [[nodiscard]] QColor backColor() const { return m_backColor; }
    // Clears the drawing to the new colour; the pen stays.
    void setBackColor(const QColor &color);

    // Clears the drawing to the back colour and puts the pen at (0, 0).
    void Cls();

    // The width of the backing image, whose last column may reach a little
    // past the widget at a fractional pixel ratio.
    [[nodiscard]] float ScaleWidth() const override;
    [[nodiscard]] float TwipsPerPixelX() const override;
    // Fills the device pixels whose centres lie in the box, and at least one;
    // the box's width is rounded as a whole, so equal boxes are equally wide.
    // Twips map to pixels as the window is laid out, 15 to a logical pixel.
    void Line(float x1, float y1, float x2, float y2) override;

    // Changes whenever the drawing may have changed: a clear, a new back
    // colour, a Line, a new backing image. Equal counts show the same pixels.
    [[nodiscard]] quint64 drawingCount() const { return m_drawingCount; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void ensureBackingImage();
    void updateWhole();
    void updateDevicePixels(const QRect &box);
    [[nodiscard]] QRect deviceRectFor(float x1, float y1, float x2, float y2) const;

    QImage m_image;
    QSize m_imageMadeFor; // the widget's size when the image was last checked
    QColor m_backColor;
    // Set from a clear of the whole box until the next paint: what is drawn
    // meanwhile needs no update of its own. A bar code is cleared and drawn
    // again bar by bar on every keystroke.
    bool m_wholeUpdatePending = false;
    quint64 m_drawingCount = 0;
};
