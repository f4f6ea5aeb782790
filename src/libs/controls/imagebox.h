#pragma once

#include <QImage>
#include <QWidget>

class QPainter;

// An image control: shows its picture stretched to its own fixed size,
// whatever the picture's size, and reports clicks. It takes the focus from
// the keyboard only, so a keyboard user can click it with Space or Return.
class ImageBox : public QWidget
{
    Q_OBJECT

public:
    explicit ImageBox(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    [[nodiscard]] QImage picture() const { return m_picture; }
    // Does what a click with the mouse does.
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void paintFocusFrame(QPainter &painter) const;
    [[nodiscard]] const QImage &shownPicture();

    QImage m_picture;
    QImage m_shown; // the picture at the box's device size, scaled once
};
