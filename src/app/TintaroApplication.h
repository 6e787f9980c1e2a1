#pragma once

#include <QApplication>

class Failure;

// The application object. A failure that no handler catches ends up here: it
// is shown in a message box captioned "Tintaro" that names the file and the
// reason, and the program ends with a non-zero status.
class TintaroApplication : public QApplication {
    Q_OBJECT
public:
    TintaroApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    [[noreturn]] static void reportAndExit(const QString& message);
    [[noreturn]] static void reportAndExit(const Failure& failure);
};
