#pragma once

#include <QString>
#include <QStringList>

// `tintaro --print N… [--blank] [--printer NAME]`: prints pages of the book in
// `bookFolder` without opening it, one sheet per page, as one job. Each page
// as the book has it (its coloured copy, else its drawing), or with `blank`
// the clean drawings, for crayons. One line per page on standard output;
// refusals on standard error. With no page numbers, the print dialog asks
// for the printer and the pages. Returns the exit status.
class PrintCommand {
public:
    struct Request {
        QStringList pages;
        bool blank = false;
        QString printer; // empty: the default printer
    };

    static int run(const Request& request, const QString& bookFolder);
};
