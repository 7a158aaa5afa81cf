#pragma once

#include "platform/platform.h"

#include <QDialog>

class PictureBox;
class QLabel;
class QPushButton;

// The About window: title, author, a note to the user, the distributor's notice
// and logo link, and the system-information launcher. Shown modally and
// destroyed when closed, so nothing of it outlives one opening.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(Platform& platform, QWidget* parent);

    PictureBox* picIcon;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;

    void LogoClicked();
    void SysInfoClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Platform& platform_;
};
