#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A program folder with an empty `dibujos` folder, made once per fuzzing run
// and removed when the run ends normally.
class FuzzFolder {
public:
    FuzzFolder();

    const QString& path() const { return m_path; }

    // Writes `bytes` to a file at `relative` in the folder, replacing it.
    void write(const QString& relative, const QByteArray& bytes) const;
    void remove(const QString& relative) const;

private:
    QTemporaryDir m_dir;
    QString m_path;
};
