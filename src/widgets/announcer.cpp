#include "widgets/announcer.h"

#include <QAccessibleWidget>

namespace {

class AccessibleAnnouncer : public QAccessibleWidget {
public:
    explicit AccessibleAnnouncer(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::AlertMessage)
    {
    }
};

QAccessibleInterface* accessibleAnnouncer(const QString& className, QObject* object)
{
    auto* announcer = qobject_cast<Announcer*>(object);
    return announcer && className == QLatin1String("Announcer") ? new AccessibleAnnouncer(announcer)
                                                                : nullptr;
}

} // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent)
{
    QAccessible::installFactory(accessibleAnnouncer);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide(); // nothing to say until the first announcement
}

void Announcer::announce(const QString& words)
{
    setAccessibleName(words); // tells the bridges the name changed
    setVisible(false);
    setVisible(true);
    // Bridges that know alerts (Windows') speak this one at once.
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void Announcer::paintEvent(QPaintEvent* /*event*/) {}
