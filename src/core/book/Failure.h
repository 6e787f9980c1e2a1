#pragma once

#include <QString>
#include <stdexcept>

// A failure that names the file at fault and the reason, in Spanish, for the
// message the user sees. The core throws it; only the windows show it.
class Failure : public std::runtime_error {
public:
    Failure(QString file, QString reason);

    const QString& file() const { return m_file; }
    const QString& reason() const { return m_reason; }
    QString message() const;

private:
    QString m_file;
    QString m_reason;
};

// A coloured copy that could not be written. The page stays on screen with its
// fills, so the program carries on instead of ending.
class SaveFailure : public Failure {
public:
    using Failure::Failure;
};

// Writes a message to standard error, prefixed with the program's name: the
// trace a parent or a developer finds after a message box is gone.
void printError(const QString& message);
