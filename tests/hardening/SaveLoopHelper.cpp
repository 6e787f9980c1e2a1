// Saves large pages over and over until it is killed, or `count` times:
//   save_loop_helper <folder> <pages> <first generation> [count]
// Page N of generation G goes to <folder>/N.bmp; the pages are written in turn,
// each time with the next generation, so every save replaces an existing file.

#include "SavePattern.h"
#include "core/book/Failure.h"
#include "core/book/PageBook.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: %s <folder> <pages> <first generation> [count]\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int pages = std::atoi(argv[2]);
    int generation = std::atoi(argv[3]);
    int count = argc == 5 ? std::atoi(argv[4]) : -1;
    if (pages < 1)
        return 2;
    try {
        for (int page = 1; count != 0; page = page % pages + 1, --count) {
            PageBook::saveCopy(SavePattern::make(page, generation), folder + QLatin1Char('/') +
                                                                        QString::number(page) +
                                                                        QStringLiteral(".bmp"));
            generation = (generation + 1) & 0xFFFF;
        }
    } catch (const Failure& failure) {
        std::fprintf(stderr, "%s\n", qPrintable(failure.message()));
        return 1;
    }
    return 0;
}
