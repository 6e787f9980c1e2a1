#pragma once

#include <QByteArray>
#include <QString>

// Every shipped file is opened here so that it ends up readable by everyone (0644),
// whatever the library that writes it would have chosen.
class OutputFile {
public:
    // Opens (creating or truncating) the file and returns its descriptor; throws on failure.
    static int open(const QString& path);
    static void write(const QString& path, const QByteArray& bytes);
};
