#include "ui/ExportKey.h"

#include "core/book/Failure.h"
#include "core/export/PageExporter.h"
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

QString ExportKey::folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) +
           QStringLiteral("/Tintaro");
}

QString ExportKey::exportPage(Canvas* canvas, int page)
{
    try {
        QString path = PageExporter::exportPage(canvas->picture(), page, folder(),
                                                QDateTime::currentDateTime());
        blink(canvas);
        return path;
    } catch (const SaveFailure& failure) {
        FailureBoundary::warn(canvas->window(), failure.message());
        return {};
    }
}
