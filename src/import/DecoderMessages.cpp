#include "import/DecoderMessages.h"

#include <QByteArray>
#include <algorithm>

namespace {

// The one reading now; decoding happens on one thread at a time.
DecoderMessages* g_current = nullptr;

} // namespace

DecoderMessages::DecoderMessages() : m_outer(g_current)
{
    g_current = this;
    m_before = qInstallMessageHandler(&DecoderMessages::collect);
    m_stderr.emplace();
}

DecoderMessages::~DecoderMessages()
{
    stop();
}

void DecoderMessages::stop()
{
    if (g_current != this)
        return; // stopped already
    const QByteArray written = m_stderr->finish();
    m_stderr.reset();
    if (!written.isEmpty())
        m_messages << QString::fromLocal8Bit(written);
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

void DecoderMessages::collect(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (g_current && type != QtDebugMsg && type != QtInfoMsg)
        g_current->m_messages << message;
}
