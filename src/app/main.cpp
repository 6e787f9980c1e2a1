#include "app/TintaroApplication.h"
#include "book/Failure.h"
#include "ui/Form1.h"

int main(int argc, char** argv)
{
    TintaroApplication app(argc, argv);
    try {
        auto* form1 = new Form1(QCoreApplication::applicationDirPath());
        form1->setAttribute(Qt::WA_DeleteOnClose);
        form1->Form_Load();
        form1->showCovering();
    } catch (const Failure& failure) {
        TintaroApplication::reportAndExit(failure);
    }
    return app.exec();
}
