#include "import/DecoderMessages.h"

#include <QByteArray>
#include <algorithm>
#ifdef _WIN32
#include <io.h>
#define dup _dup
#define dup2 _dup2
#define close _close
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

// The one reading now; decoding happens on one thread at a time.
DecoderMessages* g_current = nullptr;

} // namespace

DecoderMessages::DecoderMessages() : m_outer(g_current)
{
    g_current = this;
    m_before = qInstallMessageHandler(&DecoderMessages::keep);
    std::fflush(stderr);
    m_kept = std::tmpfile();
    m_stderr = m_kept ? dup(2) : -1;
    if (m_stderr >= 0)
        dup2(fileno(m_kept), 2);
}

DecoderMessages::~DecoderMessages()
{
    stop();
}

void DecoderMessages::stop()
{
    if (g_current != this)
        return; // stopped already
    std::fflush(stderr);
    if (m_stderr >= 0) {
        dup2(m_stderr, 2);
        close(m_stderr);
        m_stderr = -1;
    }
    if (m_kept) {
        std::rewind(m_kept);
        QByteArray written(4096, '\0');
        written.truncate(qsizetype(std::fread(written.data(), 1, size_t(written.size()), m_kept)));
        std::fclose(m_kept);
        m_kept = nullptr;
        if (!written.isEmpty())
            m_messages << QString::fromLocal8Bit(written);
    }
    qInstallMessageHandler(m_before);
    g_current = m_outer;
}

bool DecoderMessages::damage()
{
    stop();
    // What libjpeg, libpng, libtiff, libwebp and Qt's own readers say of a
    // file cut short or spoilt.
    static const char* const signs[] = {"premature", "truncat",    "corrupt",
                                        "crc error", "incomplete", "unexpected end",
                                        "invalid",   "bad ",       "error"};
    return std::any_of(m_messages.begin(), m_messages.end(), [](const QString& message) {
        return std::any_of(std::begin(signs), std::end(signs), [&](const char* sign) {
            return message.contains(QLatin1String(sign), Qt::CaseInsensitive);
        });
    });
}

void DecoderMessages::keep(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (g_current && type != QtDebugMsg && type != QtInfoMsg)
        g_current->m_messages << message;
}
