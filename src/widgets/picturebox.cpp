#include "widgets/picturebox.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    // Like the exam's buttons: reachable by Tab, but they draw no focus frame.
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::setPicture(const Picture& picture)
{
    picture_ = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    // At fractional scales the corner can fall between device pixels; the
    // picture goes on the nearest whole one, as the picture beneath it does.
    const qreal ratio = devicePixelRatioF();
    const QPointF corner = painter.deviceTransform().map(QPointF(0, 0));
    const QPointF snap(qRound(corner.x()) - corner.x(), qRound(corner.y()) - corner.y());
    painter.drawPixmap(snap / ratio, picture_.pixmap(ratio, mapTo(window(), QPoint(0, 0))));
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    QWidget::mouseReleaseEvent(event);
    if (click && isEnabled())
        emit clicked();
}
