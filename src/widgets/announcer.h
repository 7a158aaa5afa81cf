#pragma once

#include <QWidget>

// A word for screen readers alone: an alert that shows nothing on the screen
// and never takes the focus. Each announcement names it afresh and shows it
// again, the way a screen reader expects an alert to come up, so the words are
// spoken while the user goes on typing where the caret is.
class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* parent = nullptr);

    void announce(const QString& words);

protected:
    void paintEvent(QPaintEvent* event) override;
};
