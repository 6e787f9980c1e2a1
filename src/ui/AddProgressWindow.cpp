#include "ui/AddProgressWindow.h"

AddProgressWindow::AddProgressWindow(int files)
    : m_window(QString(), QStringLiteral("Parar"), 0, files * kStepsPerFile)
{
    m_window.setWindowTitle(QStringLiteral("Añadiendo dibujos"));
    m_window.setWindowModality(Qt::ApplicationModal);
    m_window.setMinimumDuration(500);
    m_window.setAutoClose(false);
    m_window.setAutoReset(false);
}

bool AddProgressWindow::carryOn(const QString& name, int file, int sheet, int sheets)
{
    m_window.setLabelText(QStringLiteral("Añadiendo %1 (dibujo %2 de %3)")
                              .arg(name)
                              .arg(file)
                              .arg(m_window.maximum() / kStepsPerFile));
    // A modal progress window handles its events, the stop button among them.
    m_window.setValue((file - 1) * kStepsPerFile + (sheet - 1) * kStepsPerFile / sheets);
    return !m_window.wasCanceled();
}
