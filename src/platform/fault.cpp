#include "platform/fault.h"

#include "platform/platform.h"
#include "platform/product.h"

Fault::Fault(QString file, QString reason)
    : std::runtime_error((file + QStringLiteral(": ") + reason).toStdString()),
      file_(std::move(file)), reason_(std::move(reason))
{
}

QString faultMessage(const std::exception& error)
{
    QString text = Product::Title + QStringLiteral(" cannot go on and will close.\r\n\r\n");
    if (const auto* fault = dynamic_cast<const Fault*>(&error)) {
        if (!fault->file().isEmpty())
            text += QStringLiteral("File: ") + fault->file() + QStringLiteral("\r\n");
        text += QStringLiteral("Fault: ") + fault->reason();
    } else {
        text += QStringLiteral("Fault: ") + QString::fromLocal8Bit(error.what());
    }
    return text;
}

int reportFault(MessageBoxes& boxes, const std::exception& error)
{
    boxes.show(nullptr, faultMessage(error), Product::Title, MessageBoxes::Critical,
               MessageBoxes::Ok);
    return 1;
}
