// The application object reports an exception that escapes an event
// handler and goes on; EAbort passes silently.

#include "platform/Exceptions.h"
#include "ui/DialogService.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <functional>
#include <stdexcept>

#include <gtest/gtest.h>

namespace {

// A widget whose handler for a user event throws what the test gives.
class TThrowingWidget : public QWidget {
public:
    std::function<void()> Throw;
    int Handled = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) {
            ++Handled;
            Throw();
            return true;
        }
        return QWidget::event(e);
    }
};

TEST(Application, EscapedExceptionMessageIsShownAndTheLoopGoesOn)
{
    TThrowingWidget widget;
    widget.Throw = [] { throw EDatabaseError("Field 'NAME' must have a value"); };
    TMessageAnswerer answerer(mrOk);
    QCoreApplication::postEvent(&widget, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&widget, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    EXPECT_EQ(widget.Handled, 2) << "the second event is still delivered";
    ASSERT_EQ(answerer.Count(), 2);
    EXPECT_EQ(answerer.Last().Text, "Field 'NAME' must have a value");
    EXPECT_EQ(answerer.Last().Type, mtError);
}

TEST(Application, StandardExceptionsAreShownToo)
{
    TThrowingWidget widget;
    widget.Throw = [] { throw std::runtime_error("disk full"); };
    TMessageAnswerer answerer(mrOk);
    QEvent event(QEvent::User);
    QApplication::sendEvent(&widget, &event);
    ASSERT_EQ(answerer.Count(), 1);
    EXPECT_EQ(answerer.Last().Text, "disk full");
}

TEST(Application, AbortIsSilent)
{
    TThrowingWidget widget;
    widget.Throw = [] { throw EAbort(); };
    TMessageAnswerer answerer(mrOk);
    QEvent event(QEvent::User);
    QApplication::sendEvent(&widget, &event);
    EXPECT_EQ(widget.Handled, 1);
    EXPECT_EQ(answerer.Count(), 0);
}

} // namespace
