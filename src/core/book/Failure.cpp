#include "core/book/Failure.h"

#include <QDir>
#include <cstdio>

Failure::Failure(QString file, QString reason)
    : std::runtime_error((reason + QStringLiteral(": ") + file).toStdString()),
      m_file(std::move(file)), m_reason(std::move(reason))
{
}

QString Failure::message() const
{
    if (m_file.isEmpty())
        return m_reason;
    return QStringLiteral("%1\n\nArchivo: %2").arg(m_reason, QDir::toNativeSeparators(m_file));
}

void printError(const QString& message)
{
    std::fprintf(stderr, "Tintaro: %s\n", qPrintable(message));
}
