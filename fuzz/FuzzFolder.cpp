#include "FuzzFolder.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>

FuzzFolder::FuzzFolder() : m_path(m_dir.path())
{
    if (!m_dir.isValid() || !QDir(m_path).mkdir(QStringLiteral("dibujos"))) {
        std::fprintf(stderr, "cannot make a program folder for fuzzing\n");
        std::abort();
    }
}

void FuzzFolder::write(const QString& relative, const QByteArray& bytes) const
{
    QFile file(m_path + QLatin1Char('/') + relative);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::abort();
    }
}

void FuzzFolder::remove(const QString& relative) const
{
    QFile::remove(m_path + QLatin1Char('/') + relative);
}
