#pragma once

#include <QFrame>
#include <QImage>

#include <functional>

// A picture box showing one fixed picture unscaled inside a 2-pixel sunken
// border. The picture is rendered at the screen's device pixel ratio.
class PictureBox : public QFrame
{
    Q_OBJECT

public:
    using Renderer = std::function<QImage(qreal devicePixelRatio)>;

    // The box takes the picture's logical size plus the border.
    PictureBox(QSize pictureSize, Renderer renderer, QWidget *parent = nullptr);

    // Does what a click with the mouse does (a screen reader's press).
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Renderer m_renderer;
    QImage m_cache;
};
