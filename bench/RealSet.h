#pragma once

#include <QSize>
#include <QString>

// Pictures no one here made, listed by bench/real-pictures.sh, made pages
// and judged: drawings by how whole one press fills each of the original's
// areas, photographs by whether they were told for one and how their page
// divides. Prints a line per picture and the import_real summaries.
namespace RealSet {

// `list` holds lines "photo PATH" and "drawing PATH". Returns false when the
// list cannot be read.
bool print(const QString& list, QSize page);

} // namespace RealSet
