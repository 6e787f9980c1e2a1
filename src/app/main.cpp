#include "ui/FailureBoundary.h"
#include "ui/Form2.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tintaro"));
    FailureBoundary::run([] {
        // The program starts on the intro window; its "CONTINUAR" opens the
        // main window. Closing it first leaves no window, and exec returns 0.
        auto* form2 = new Form2(QCoreApplication::applicationDirPath());
        form2->setAttribute(Qt::WA_DeleteOnClose);
        form2->Form_Load();
        form2->show();
    });
    return app.exec();
}
