#include "ui/PageKeeper.h"

#include "core/book/Failure.h"
#include "core/print/KeptPicture.h"
#include "ui/Canvas.h"
#include "ui/FailureBoundary.h"

#include <QDateTime>
#include <QStandardPaths>
#include <QTimer>

namespace {

constexpr int kBlinkMs = 180;

void blink(Canvas* canvas)
{
    canvas->hide();
    QTimer::singleShot(kBlinkMs, canvas, &QWidget::show);
}

} // namespace

QString PageKeeper::folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) +
           QStringLiteral("/Tintaro");
}

QString PageKeeper::keep(Canvas* canvas, int page)
{
    try {
        QString path =
            KeptPicture::keep(canvas->picture(), page, folder(), QDateTime::currentDateTime());
        blink(canvas);
        return path;
    } catch (const SaveFailure& failure) {
        FailureBoundary::warn(canvas->window(), failure.message());
        return {};
    }
}
