#pragma once

#include "platform/platform.h"

#include <QDialog>

class PictureBox;
class QLabel;
class QPushButton;

// The About window: title, author, a note to the user, the distributor's notice
// and logo link, and the system-information launcher. Shown modally and
// destroyed when closed, so nothing of it outlives one opening.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(Platform& platform, QWidget* parent);

    PictureBox* logo;
    QLabel* titleLabel;
    QLabel* authorLabel;
    QLabel* noteLabel;
    QLabel* distributorLabel;
    QPushButton* okButton;
    QPushButton* sysInfoButton;

    void logoClicked();
    void sysInfoClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Platform& platform_;
};
