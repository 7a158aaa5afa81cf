#pragma once

#include "widgets/pictures.h"

#include <QWidget>

// A picture used as a button: it shows its picture as it is, enabled or not,
// and reports a click (press and release over it) only while enabled.
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

private:
    Picture picture_;
    bool pressed_ = false;
};
