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

// The start window: chooses the essay kind and topic and starts a practice
// question. Loading it reads both topic libraries; a library that cannot be read
// throws Fault before anything shows. The hidden test window is made once the
// start window is on the screen, or when it is first asked for.
class Frmstart : public QWidget {
    Q_OBJECT
public:
    Frmstart(Platform& platform, const QString& programFolder);
    ~Frmstart() override;

    // The test window, made and loaded hidden on first use.
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
    QString programFolder_;
    std::unique_ptr<Frmmain> frmmain_;
    bool testWindowQueued_ = false;
};
