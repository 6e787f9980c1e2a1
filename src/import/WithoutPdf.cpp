#include "core/book/Failure.h"
#include "import/VectorDrawing.h"

// This build has no Qt Pdf: the file is refused, and nothing is added for it.
bool VectorDrawing::readsPdf()
{
    return false;
}

std::unique_ptr<VectorDrawing> VectorDrawing::openPdf(const QString& path, QSize)
{
    throw Failure(path, QStringLiteral("Esta versión de Tintaro no sabe leer archivos PDF."));
}
