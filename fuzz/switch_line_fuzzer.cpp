// The switch file's rule: start-up keeps the coloured copies exactly when the
// content after a UTF-8 byte-order mark, up to the first carriage return or
// line feed, in upper case, is "NO". The rule on the bytes in memory and the
// reading of a real borra.txt must agree.

#include "FuzzFolder.h"
#include "core/book/Failure.h"
#include "core/book/PageFiles.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "switch line rule broken: %s\n", what);
        std::abort();
    }
}

// The rule written out plainly, byte by byte.
bool referenceKeeps(const std::uint8_t* data, std::size_t size)
{
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
        data += 3;
        size -= 3;
    }
    std::size_t end = 0;
    while (end < size && data[end] != '\r' && data[end] != '\n')
        ++end;
    return end == 2 && (data[0] == 'N' || data[0] == 'n') && (data[1] == 'O' || data[1] == 'o');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzFolder folder;
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const bool keeps = referenceKeeps(data, size);

    const QByteArray line = firstLineOf(content);
    const qsizetype start = content.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const qsizetype end = start + line.size();
    check(content.mid(start).startsWith(line), "the first line is not the start of the text");
    check(!line.contains('\r') && !line.contains('\n'), "the first line holds a line end");
    check(end == content.size() || content.at(end) == '\r' || content.at(end) == '\n',
          "the first line ends before the first line end");
    check(switchKeepsCopies(line) == keeps, "in-memory rule disagrees");

    folder.write(QStringLiteral("borra.txt"), content);
    QByteArray read;
    try {
        read = readSwitchLine(folder.path());
    } catch (const Failure& failure) {
        std::fprintf(stderr, "%s\n", qPrintable(failure.message()));
        check(false, "a readable borra.txt could not be read");
    }
    check(line.startsWith(read), "the line read from the file is not part of the first line");
    check(switchKeepsCopies(read) == keeps, "the file's switch disagrees with the in-memory rule");
    return 0;
}
