#include "ui/DrawingChooser.h"

#include <QDir>
#include <QFileDialog>

QStringList DrawingChooser::ask(const QStringList& patterns)
{
    QStringList both;
    for (const QString& pattern : patterns)
        both << pattern << pattern.toUpper();
    const QString filter =
        QStringLiteral("Dibujos (%1);;Todos los archivos (*)").arg(both.join(u' '));
    return QFileDialog::getOpenFileNames(nullptr, QStringLiteral("Añadir dibujos al libro"),
                                         QDir::homePath(), filter);
}
