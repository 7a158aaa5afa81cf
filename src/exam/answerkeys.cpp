#include "exam/answerkeys.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace {

class AnswerKeys : public QObject {
public:
    AnswerKeys(QPlainTextEdit* answer, QPlainTextEdit* topic)
        : QObject(answer), answer_(answer), topic_(topic)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
            return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        const auto modifiers = key->modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier);
        if (modifiers != Qt::ControlModifier)
            return QObject::eventFilter(watched, event);
        QScrollBar::SliderAction scroll = QScrollBar::SliderNoAction;
        switch (key->key()) {
        case Qt::Key_Up:
            scroll = QScrollBar::SliderSingleStepSub;
            break;
        case Qt::Key_Down:
            scroll = QScrollBar::SliderSingleStepAdd;
            break;
        case Qt::Key_PageUp:
            scroll = QScrollBar::SliderPageStepSub;
            break;
        case Qt::Key_PageDown:
            scroll = QScrollBar::SliderPageStepAdd;
            break;
        case Qt::Key_Y:
            break;
        default:
            return QObject::eventFilter(watched, event);
        }
        // Claim the key before any shortcut can, then act on its press.
        event->accept();
        if (type == QEvent::ShortcutOverride)
            return true;
        if (scroll == QScrollBar::SliderNoAction)
            answer_->redo();
        else
            topic_->verticalScrollBar()->triggerAction(scroll);
        return true;
    }

private:
    QPlainTextEdit* answer_;
    QPlainTextEdit* topic_;
};

} // namespace

void installAnswerKeys(QPlainTextEdit* answer, QPlainTextEdit* topic)
{
    answer->installEventFilter(new AnswerKeys(answer, topic));
}
