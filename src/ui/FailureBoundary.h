#pragma once

#include <QString>

class QWidget;
#include <utility>

// The one place where a handler's failure stops. Qt does not allow an
// exception to unwind through its signal and event code, so every handler
// that can fail runs inside `run`: a failure is shown in a message box
// captioned "Tintaro" naming the file and the reason, and the program ends
// with status 1.
class FailureBoundary {
public:
    template <typename Handler> static void run(Handler&& handler) noexcept
    {
        try {
            std::forward<Handler>(handler)();
        } catch (...) {
            reportCurrent();
        }
    }

    // A slot that runs `handler` on `object` inside the boundary, for connect.
    template <typename Object, typename... Args>
    static auto guard(Object* object, void (Object::*handler)(Args...))
    {
        return [object, handler](Args... args) { run([&] { (object->*handler)(args...); }); };
    }

    // Shows the message and ends the program.
    [[noreturn]] static void reportAndExit(const QString& message);

    // A failure the program recovers from (a page that cannot be saved, a
    // printer that refuses): the trace on stderr and a warning box; the
    // program goes on as it was.
    static void warn(QWidget* parent, const QString& message);

    // Tests replace the message boxes and the exit; the handler then returns.
    using Reporter = void (*)(const QString& message);
    static void setReporter(Reporter reporter);

private:
    static void reportCurrent() noexcept;
};
