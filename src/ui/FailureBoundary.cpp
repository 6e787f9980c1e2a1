#include "ui/FailureBoundary.h"

#include "core/book/Failure.h"

#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

FailureBoundary::Reporter g_reporter = nullptr;

QString currentMessage()
{
    try {
        throw;
    } catch (const Failure& failure) {
        return failure.message();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("No queda memoria para seguir.");
    } catch (const std::exception& error) {
        return QStringLiteral("Error inesperado: %1").arg(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        return QStringLiteral("Error inesperado.");
    }
}

} // namespace

void FailureBoundary::setReporter(Reporter reporter)
{
    g_reporter = reporter;
}

void FailureBoundary::reportCurrent() noexcept
{
    const QString message = currentMessage();
    if (g_reporter) {
        g_reporter(message);
        return;
    }
    reportAndExit(message);
}

void FailureBoundary::warn(QWidget* parent, const QString& message)
{
    if (g_reporter) {
        g_reporter(message);
        return;
    }
    printError(message);
    QMessageBox::warning(parent, QStringLiteral("Tintaro"), message);
}

void FailureBoundary::reportAndExit(const QString& message)
{
    printError(message);
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tintaro"), message, QMessageBox::Ok);
    box.exec();
    std::fflush(nullptr);
    // The program is in an unknown state: end it without running any more
    // of its code.
    std::_Exit(1);
}
