#pragma once

#include <QImage>
#include <QWidget>

// An image control: shows its picture stretched to its own fixed size,
// whatever the picture's size, and reports clicks.
class ImageBox : public QWidget
{
    Q_OBJECT

public:
    explicit ImageBox(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    [[nodiscard]] QImage picture() const { return m_picture; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
};
