// Any bytes stored as a page's drawing and coloured copy: loading them, and the
// book's start-up, first page, turn and restore that load them, either give a
// picture or fail with a Failure. Nothing else may happen.

#include "FuzzFolder.h"
#include "core/book/Failure.h"
#include "core/book/PageBook.h"
#include "core/book/PictureLoader.h"

#include <QCoreApplication>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "picture loading broken: %s\n", what);
        std::abort();
    }
}

void checkPicture(const QImage& image)
{
    check(!image.isNull(), "a null picture came back without a Failure");
    check(image.format() == QImage::Format_RGB32, "a picture is not in Format_RGB32");
    check(qint64(image.width()) * image.height() <= PictureLoader::kMaxPixels,
          "a picture larger than the limit was loaded");
}

template <typename Load> void loadOrFail(Load load)
{
    try {
        checkPicture(load());
    } catch (const Failure&) {
        // A clear refusal is a right answer.
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The image format plugins are found through the application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzFolder folder;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    folder.write(QStringLiteral("dibujos/1.gif"), bytes);
    folder.write(QStringLiteral("dibujos/1.bmp"), bytes);
    // Keep the copy through start-up so that the first page is read from it.
    folder.write(QStringLiteral("borra.txt"), QByteArrayLiteral("NO"));

    loadOrFail(
        [&] { return PictureLoader::load(folder.path() + QStringLiteral("/dibujos/1.gif")); });
    loadOrFail(
        [&] { return PictureLoader::load(folder.path() + QStringLiteral("/dibujos/1.bmp")); });

    PageBook book(folder.path());
    try {
        book.startUp();
    } catch (const Failure&) {
        check(false, "start-up failed on a readable folder");
    }
    check(book.state().pageCount == 1, "the book does not have its one page");
    loadOrFail([&] { return book.loadFirstPage(); });
    loadOrFail([&] {
        book.markChanged();
        return book.turn(PageBook::Direction::Forward, QImage(3, 2, QImage::Format_RGB32)).picture;
    });
    loadOrFail([&] { return book.restore(); }); // deletes 1.bmp, reads 1.gif
    return 0;
}
