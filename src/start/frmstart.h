#pragma once

#include "bank/topiclibrary.h"
#include "platform/platform.h"

#include <QWidget>

#include <memory>

class Frmmain;
class PictureBox;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

// The start window: chooses the essay kind and topic and starts a practice
// question. Loading it creates the hidden test window and reads both topic
// libraries; a library that cannot be read throws Fault before anything shows.
class Frmstart : public QWidget {
    Q_OBJECT
public:
    Frmstart(Platform& platform, const QString& programFolder);
    ~Frmstart() override;

    // The test window, with its controls made.
    Frmmain* testWindow();

    QGroupBox* Frame1;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QLabel* Label1;
    QLineEdit* Text1;
    QCheckBox* Check1;
    QPushButton* Command2;
    QGroupBox* Frame2;
    QPushButton* Command3;
    QPushButton* Command1;
    QPushButton* Command4;
    PictureBox* Picture1;

    QString AppFolder;
    TopicTable IssueTopics;
    TopicTable ArgumentTopics;

    // Event handlers.
    void StartPractice();
    void RandomSelectClicked();
    void QuitClicked();
    void AboutClicked();
    void LogoClicked();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateControls();

    Platform& platform_;
    std::unique_ptr<Frmmain> frmmain_;
    QTimer* testWindowLater_ = nullptr;
};
