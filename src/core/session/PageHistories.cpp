#include "core/session/PageHistories.h"

#include <algorithm>

std::list<PageHistories::Entry>::iterator PageHistories::find(int page)
{
    return std::find_if(m_entries.begin(), m_entries.end(),
                        [page](const Entry& entry) { return entry.page == page; });
}

void PageHistories::drop(std::list<Entry>::iterator entry)
{
    m_bytes -= entry->bytes;
    m_entries.erase(entry);
}

void PageHistories::store(int page, UndoHistory history, const QImage& shown)
{
    if (const auto old = find(page); old != m_entries.end())
        drop(old);
    const qsizetype bytes = history.bytes() + shown.sizeInBytes();
    if (history.stepCount() == 0 || bytes > m_maxBytes)
        return;
    m_entries.push_front(Entry{page, std::move(history), shown, bytes});
    m_bytes += bytes;
    while (m_bytes > m_maxBytes)
        drop(std::prev(m_entries.end()));
}

UndoHistory PageHistories::take(int page, const QImage& shown)
{
    const auto entry = find(page);
    if (entry == m_entries.end())
        return UndoHistory();
    UndoHistory history;
    if (entry->shown == shown)
        history = std::move(entry->history);
    drop(entry);
    return history;
}
