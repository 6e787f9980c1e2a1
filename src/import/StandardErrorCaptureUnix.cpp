#include "import/StandardErrorCapture.h"

#include <unistd.h>

StandardErrorCapture::StandardErrorCapture()
{
    std::fflush(stderr);
    m_kept = std::tmpfile();
    m_stderr = m_kept ? ::dup(2) : -1;
    if (m_stderr >= 0)
        ::dup2(fileno(m_kept), 2);
}

StandardErrorCapture::~StandardErrorCapture()
{
    finish();
}

QByteArray StandardErrorCapture::finish()
{
    std::fflush(stderr);
    if (m_stderr >= 0) {
        ::dup2(m_stderr, 2);
        ::close(m_stderr);
        m_stderr = -1;
    }
    QByteArray written;
    if (m_kept) {
        std::rewind(m_kept);
        written.resize(4096);
        written.truncate(qsizetype(std::fread(written.data(), 1, size_t(written.size()), m_kept)));
        std::fclose(m_kept);
        m_kept = nullptr;
    }
    return written;
}
