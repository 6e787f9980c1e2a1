#include "core/book/Failure.h"
#include "import/VectorDrawing.h"

// This build has no Qt Svg: the file is refused, and nothing is added for it.
bool VectorDrawing::readsSvg()
{
    return false;
}

std::unique_ptr<VectorDrawing> VectorDrawing::openSvg(const QString& path, QSize)
{
    throw Failure(path, QStringLiteral("Esta versión de Tintaro no sabe leer archivos SVG."));
}
