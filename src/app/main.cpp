#include "app/TintaroApplication.h"
#include "book/Failure.h"
#include "ui/Form2.h"

int main(int argc, char** argv)
{
    TintaroApplication app(argc, argv);
    try {
        // The program starts on the intro window; its "CONTINUAR" opens the
        // main window. Closing it first leaves no window, and exec returns 0.
        auto* form2 = new Form2(QCoreApplication::applicationDirPath());
        form2->setAttribute(Qt::WA_DeleteOnClose);
        form2->Form_Load();
        form2->show();
    } catch (const Failure& failure) {
        TintaroApplication::reportAndExit(failure);
    }
    return app.exec();
}
