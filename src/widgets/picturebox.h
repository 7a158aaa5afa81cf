#pragma once

#include "widgets/pictures.h"

#include <QWidget>

class QPainter;

// A picture used as a button: it shows its picture as it is, enabled or not,
// and reports a click (press and release over it) only while enabled. Tab
// reaches it, a dotted mark shows that it has the focus, and Space or Enter
// press it then; a mouse click leaves the focus where it was.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setPicture(const Picture& picture);
    const Picture& picture() const { return picture_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void paintFocusMark(QPainter& painter);

    Picture picture_;
    bool pressed_ = false;
    bool spaceDown_ = false;
};
