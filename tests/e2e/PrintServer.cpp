#include "e2e/PrintServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

namespace {

bool writeFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// The device keeps each job as "job-<id>.pdf" in the folder its URI names:
// the document Qt sends, untouched by any filter of a raw queue.
const QByteArray kBackend =
    "#!/bin/sh\n"
    "[ $# -eq 0 ] && { echo 'file sheets \"Sheets\" \"Sheets\"'; exit 0; }\n"
    "cat \"${6:-/dev/stdin}\" > \"${DEVICE_URI#sheets:}/.job-$1\"\n"
    "mv \"${DEVICE_URI#sheets:}/.job-$1\" \"${DEVICE_URI#sheets:}/job-$1.pdf\"\n";

} // namespace

PrintServer::~PrintServer()
{
    if (m_cupsd.state() == QProcess::NotRunning)
        return;
    m_cupsd.terminate();
    if (!m_cupsd.waitForFinished(3000))
        m_cupsd.kill();
    m_cupsd.waitForFinished(2000);
}

bool PrintServer::run(const QString& program, const QStringList& arguments, QString* why)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(program, arguments);
    const bool ok = tool.waitForFinished(10000) && tool.exitStatus() == QProcess::NormalExit &&
                    tool.exitCode() == 0;
    if (!ok)
        *why = program + QStringLiteral(": ") + tool.errorString() + QLatin1Char(' ') +
               QString::fromLocal8Bit(tool.readAll());
    return ok;
}

bool PrintServer::start(QString* why)
{
    const QString root = m_dir.path();
    QDir dir(root);
    // The device runs as the server's unprivileged user, which must reach "out".
    QFile::setPermissions(root, QFileDevice::Permissions(0x7755));
    for (const char* sub : {"spool", "cache", "state", "log", "out", "bin/backend"})
        dir.mkpath(QString::fromLatin1(sub));
    QFile::setPermissions(dir.filePath(QStringLiteral("out")), QFileDevice::Permissions(0x7777));
    // The server's own programs, with the test's device beside them.
    for (const QString& entry :
         QDir(QStringLiteral("/usr/lib/cups")).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (entry != QLatin1String("backend"))
            QFile::link(QStringLiteral("/usr/lib/cups/") + entry,
                        dir.filePath(QStringLiteral("bin/") + entry));
    const QString backend = dir.filePath(QStringLiteral("bin/backend/sheets"));
    writeFile(backend, kBackend);
    QFile::setPermissions(backend, QFileDevice::Permissions(0x7555));
    writeFile(dir.filePath(QStringLiteral("cupsd.conf")),
              "Listen " + socket().toUtf8() +
                  "\nBrowsing No\nDefaultAuthType None\n"
                  "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n");
    QByteArray files = "FileDevice Yes\n";
    for (const char* line :
         {"ServerRoot %1", "ServerBin %1/bin", "RequestRoot %1/spool", "TempDir %1/spool",
          "CacheDir %1/cache", "StateDir %1/state", "ErrorLog %1/log/error_log",
          "AccessLog %1/log/access_log", "PageLog %1/log/page_log"})
        files += QString::fromLatin1(line).arg(root).toUtf8() + '\n';
    writeFile(dir.filePath(QStringLiteral("cups-files.conf")), files);

    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.start(QStringLiteral("cupsd"),
                  {QStringLiteral("-f"), QStringLiteral("-c"),
                   dir.filePath(QStringLiteral("cupsd.conf")), QStringLiteral("-s"),
                   dir.filePath(QStringLiteral("cups-files.conf"))});
    qputenv("CUPS_SERVER", socket().toUtf8());
    QDeadlineTimer deadline(10000);
    while (!run(QStringLiteral("lpstat"), {QStringLiteral("-r")}, why) ||
           !QFile::exists(socket())) {
        if (deadline.hasExpired() || m_cupsd.state() == QProcess::NotRunning) {
            *why = QStringLiteral("cupsd (from scripts/setup.sh) did not start: ") + *why +
                   QString::fromLocal8Bit(m_cupsd.readAll());
            return false;
        }
        QThread::msleep(100);
    }
    const QString name = QString::fromLatin1(kPrinter);
    return run(QStringLiteral("lpadmin"),
               {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                QStringLiteral("sheets:") + dir.filePath(QStringLiteral("out")),
                QStringLiteral("-m"), QStringLiteral("raw")},
               why) &&
           run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name}, why);
}

QList<QImage> PrintServer::waitForSheets(int timeoutMs)
{
    QDir out(m_dir.filePath(QStringLiteral("out")));
    QDeadlineTimer deadline(timeoutMs);
    while (out.entryList({QStringLiteral("*.pdf")}, QDir::Files).size() <= m_jobs) {
        if (deadline.hasExpired())
            return {};
        QThread::msleep(100);
    }
    const QString pdf =
        out.filePath(out.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time).first());
    ++m_jobs;
    const QString prefix = m_dir.filePath(QStringLiteral("sheet-%1").arg(m_jobs));
    QString why;
    if (!run(QStringLiteral("pdftoppm"),
             {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-png"), pdf, prefix},
             &why))
        qWarning("%s", qPrintable(why));
    QList<QImage> sheets;
    for (const QString& png :
         QDir(m_dir.path())
             .entryList({QStringLiteral("sheet-%1-*.png").arg(m_jobs)}, QDir::Files, QDir::Name))
        sheets << QImage(m_dir.filePath(png)).convertToFormat(QImage::Format_RGB32);
    return sheets;
}
