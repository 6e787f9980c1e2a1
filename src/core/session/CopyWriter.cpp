#include "core/session/CopyWriter.h"

#include "core/book/Failure.h"
#include "core/book/PageBook.h"

CopyWriter::~CopyWriter()
{
    wait();
}

void CopyWriter::write(QImage page, QString path)
{
    wait();
    m_pending = std::async(std::launch::async, [page = std::move(page), path = std::move(path)]() {
        try {
            PageBook::saveCopy(page, path);
            return std::optional<QString>();
        } catch (const Failure& failure) {
            return std::optional<QString>(failure.message());
        } catch (const std::exception&) {
            return std::optional<QString>(path +
                                          QStringLiteral(": no hay memoria para guardarlo."));
        }
    });
}

std::optional<QString> CopyWriter::wait()
{
    if (!m_pending.valid())
        return std::nullopt;
    return m_pending.get();
}
