#pragma once

// A loaded program on the offscreen platform, with scripted seams.

#include "fakeplatform.h"

#include "app/startup.h"
#include "exam/essayfile.h"
#include "exam/frmmain.h"
#include "platform/textio.h"
#include "start/frmstart.h"
#include "widgets/picturebox.h"
#include "widgets/ui.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>

#include <memory>

struct LoadedProgram {
    FakePlatform fake;
    ProgramFolder folder;
    std::unique_ptr<Frmstart> start;

    LoadedProgram()
    {
        start = LoadProgram(fake.seams, folder.path());
        start->show();
    }
    Frmmain& test() { return *start->testWindow(); }

    // Starts a practice question by number through "&Start".
    void startQuestion(bool issue, const QString& number)
    {
        (issue ? start->Option1 : start->Option2)->setChecked(true);
        start->Text1->setText(number);
        start->StartPractice();
    }
};
