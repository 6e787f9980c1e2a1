#include "ui/AddedPagesWindow.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kColumns = 4;

QScrollArea* pagesShown(const QList<AddedPagesWindow::Page>& pages)
{
    constexpr int thumbnail = AddedPagesWindow::kThumbnail;
    auto* grid = new QWidget;
    auto* layout = new QGridLayout(grid);
    for (int i = 0; i < pages.size(); ++i) {
        auto* picture = new QLabel;
        picture->setPixmap(QPixmap::fromImage(pages[i].picture));
        picture->setFrameShape(QFrame::Box);
        picture->setToolTip(pages[i].line);
        auto* caption = new QLabel(QStringLiteral("Página %1").arg(pages[i].number));
        caption->setAlignment(Qt::AlignHCenter);
        layout->addWidget(picture, 2 * (i / kColumns), i % kColumns, Qt::AlignCenter);
        layout->addWidget(caption, 2 * (i / kColumns) + 1, i % kColumns);
    }
    auto* scroll = new QScrollArea;
    scroll->setWidget(grid);
    scroll->setMinimumSize(std::min(int(pages.size()), kColumns) * (thumbnail + 16) + 24,
                           std::min(thumbnail * 2 + 80, grid->sizeHint().height() + 8));
    return scroll;
}

} // namespace

void AddedPagesWindow::show(const Outcome& outcome)
{
    if (outcome.pages.isEmpty()) {
        showWithoutPages(outcome);
        return;
    }
    QDialog window;
    window.setWindowTitle(QStringLiteral("Tintaro"));
    auto* layout = new QVBoxLayout(&window);
    auto* text =
        new QLabel(QStringList{outcome.summary, outcome.refused.join(u'\n')}.join(u'\n').trimmed());
    text->setWordWrap(true);
    layout->addWidget(text);
    layout->addWidget(pagesShown(outcome.pages));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    layout->addWidget(buttons);
    window.exec();
}

void AddedPagesWindow::showWithoutPages(const Outcome& outcome)
{
    QMessageBox box(outcome.allAdded ? QMessageBox::Information : QMessageBox::Warning,
                    QStringLiteral("Tintaro"), outcome.summary, QMessageBox::Ok);
    box.setInformativeText(outcome.refused.join(u'\n'));
    box.setDetailedText(outcome.lines.join(u'\n'));
    box.exec();
}
