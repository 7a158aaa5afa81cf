#include "platform/inputguard.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

InputGuard::InputGuard(QWidget* box, qint64 guardMs, SinceShown sinceShown)
    : box_(box), guardMs_(guardMs), sinceShown_(std::move(sinceShown))
{
    // On the application, so that every control of the box is covered, and the
    // shortcuts of its buttons too.
    QCoreApplication::instance()->installEventFilter(this);
}

bool InputGuard::swallows(const QObject* receiver, const QEvent* event) const
{
    const auto* widget = qobject_cast<const QWidget*>(receiver);
    if (!widget || (widget != box_ && !box_->isAncestorOf(widget)))
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        if (static_cast<const QKeyEvent*>(event)->isAutoRepeat())
            return true;
        break;
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        break;
    default:
        return false;
    }
    const qint64 since = sinceShown_ ? sinceShown_() : (shown_.isValid() ? shown_.elapsed() : 0);
    return since < guardMs_;
}

bool InputGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == box_ && event->type() == QEvent::Show && !shown_.isValid())
        shown_.start();
    if (swallows(watched, event)) {
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
