#pragma once

#include <QImage>
#include <QString>

#include <future>
#include <optional>

// Writes the page on show to its coloured copy on a thread of its own, so that
// a large page's write and flush to disk never hold up the window. One write
// at a time; whoever touches the copy next waits for it first.
class CopyWriter {
public:
    CopyWriter() = default;
    CopyWriter(const CopyWriter&) = delete;
    CopyWriter& operator=(const CopyWriter&) = delete;
    ~CopyWriter();

    // Starts writing `page` to `path`, after the write under way.
    void write(QImage page, QString path);
    // Waits for the write under way; the reason it failed, if it did.
    std::optional<QString> wait();

private:
    std::future<std::optional<QString>> m_pending;
};
