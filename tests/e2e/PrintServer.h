#pragma once

#include <QImage>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A private CUPS server on a socket of its own, with one printer, the
// default, that keeps every job's document as a PDF file in a folder.
// Clients reach it through CUPS_SERVER.
class PrintServer {
public:
    static constexpr const char* kPrinter = "Hojas";

    PrintServer() = default;
    ~PrintServer();
    PrintServer(const PrintServer&) = delete;
    PrintServer& operator=(const PrintServer&) = delete;

    // Starts cupsd and adds the printer; when it cannot, says why.
    bool start(QString* why);
    QString socket() const { return m_dir.filePath(QStringLiteral("cups.sock")); }
    // Waits for the next job's document; its sheets rasterised, or none.
    QList<QImage> waitForSheets(int timeoutMs);

private:
    bool run(const QString& program, const QStringList& arguments, QString* why);

    QTemporaryDir m_dir;
    QProcess m_cupsd;
    int m_jobs = 0;
};
