#include "widgets/picturebox.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

// What a screen reader sees: a push button it can press, named by the words on
// its picture (the widget's accessible name).
class AccessiblePictureBox : public QAccessibleWidget {
public:
    explicit AccessiblePictureBox(PictureBox* box) : QAccessibleWidget(box, QAccessible::Button) {}

    QStringList actionNames() const override
    {
        return widget()->isEnabled() ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& actionName) override
    {
        if (actionName == pressAction() && widget()->isEnabled())
            emit static_cast<PictureBox*>(widget())->clicked();
    }
};

QAccessibleInterface* accessiblePictureBox(const QString& className, QObject* object)
{
    auto* box = qobject_cast<PictureBox*>(object);
    return box && className == QLatin1String("PictureBox") ? new AccessiblePictureBox(box)
                                                           : nullptr;
}

} // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    QAccessible::installFactory(accessiblePictureBox); // once: a second call adds nothing
    // Tab reaches it; a click does not take the focus from where the user types.
    setFocusPolicy(Qt::TabFocus);
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
    paintFocusMark(painter);
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

// Space presses on its release and Enter on its press, as with the system's
// buttons; a held key does not press again and again.
void PictureBox::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const auto chords =
        Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    const bool plain = !(event->modifiers() & chords) && isEnabled();
    if (plain && key == Qt::Key_Space) {
        if (!event->isAutoRepeat())
            spaceDown_ = true;
        event->accept();
    } else if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        event->accept();
        if (!event->isAutoRepeat())
            emit clicked();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void PictureBox::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    event->accept();
    const bool press = spaceDown_ && isEnabled();
    spaceDown_ = false;
    if (press)
        emit clicked();
}

void PictureBox::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void PictureBox::focusOutEvent(QFocusEvent* event)
{
    spaceDown_ = false;
    QWidget::focusOutEvent(event);
    update();
}

// A dotted rectangle just inside the picture, only while it has the focus.
void PictureBox::paintFocusMark(QPainter& painter)
{
    if (!hasFocus())
        return;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(2, 2, -3, -3));
}
