#include "app/TintaroApplication.h"

#include "book/Failure.h"

#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <new>

TintaroApplication::TintaroApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Tintaro"));
}

bool TintaroApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Failure& failure) {
        reportAndExit(failure);
    } catch (const std::bad_alloc&) {
        reportAndExit(QStringLiteral("No queda memoria para seguir."));
    } catch (const std::exception& error) {
        reportAndExit(
            QStringLiteral("Error inesperado: %1").arg(QString::fromLocal8Bit(error.what())));
    }
}

void TintaroApplication::reportAndExit(const Failure& failure)
{
    reportAndExit(failure.message());
}

void TintaroApplication::reportAndExit(const QString& message)
{
    std::fprintf(stderr, "Tintaro: %s\n", qPrintable(message));
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tintaro"), message, QMessageBox::Ok);
    box.exec();
    std::fflush(nullptr);
    std::_Exit(1);
}
