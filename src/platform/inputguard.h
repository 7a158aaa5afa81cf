#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <functional>

class QWidget;

// Keeps a box that comes up unasked from being answered by keys meant for
// something else: while it lives, the keys and clicks that reach the box in its
// first moments on screen are swallowed, and so are held keys repeating into
// it. After that, Enter or a click answers it as usual.
class InputGuard : public QObject {
public:
    static constexpr qint64 FirstSecondMs = 1000;
    // Milliseconds since the box came on screen; by default measured from its
    // show event.
    using SinceShown = std::function<qint64()>;

    InputGuard(QWidget* box, qint64 guardMs, SinceShown sinceShown = {});

    // True when the event, on its way to the box or a control on it, must go no further.
    bool swallows(const QObject* receiver, const QEvent* event) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* box_;
    qint64 guardMs_;
    SinceShown sinceShown_;
    QElapsedTimer shown_;
};
