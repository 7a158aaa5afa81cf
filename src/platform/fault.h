#pragma once

#include <QString>

#include <stdexcept>

class MessageBoxes;

// An untrapped fault: what failed and the file involved. One place reports it
// and ends the program.
class Fault : public std::runtime_error {
public:
    Fault(QString file, QString reason);

    const QString& file() const { return file_; }
    const QString& reason() const { return reason_; }

private:
    QString file_;
    QString reason_;
};

// The text of the box that reports a fault; any other exception is named by what().
QString faultMessage(const std::exception& error);

// Shows the fault box and returns the exit status the program ends with.
int reportFault(MessageBoxes& boxes, const std::exception& error);
