#pragma once

// A loaded program on the offscreen platform, with scripted seams.

#include "fakeplatform.h"

#include "app/startup.h"
#include "essay/essayfile.h"
#include "exam/testwindow.h"
#include "platform/textio.h"
#include "start/startwindow.h"
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
    std::unique_ptr<StartWindow> start;

    // withGre: the GRE's library as it ships lies in the folder too.
    explicit LoadedProgram(bool withGre = false)
    {
        if (withGre)
            QFile::copy(qEnvironmentVariable("QEL_SOURCE_DIR") + "/data/gi.lib",
                        folder.file("gi.lib"));
        start = loadProgram(fake.seams, QDir::toNativeSeparators(folder.path()));
        start->show();
    }
    TestWindow& test() { return *start->testWindow(); }

    // Starts a practice question by number through "&Start".
    void startQuestion(bool issue, const QString& number)
    {
        (issue ? start->issueOption : start->argumentOption)->setChecked(true);
        start->numberBox->setText(number);
        start->startPractice();
    }
};
