#pragma once

#include <QStringList>

// The file dialog that asks which drawings to add to the book.
class DrawingChooser {
public:
    // `patterns` are the readable kinds ("*.png"…); empty when none was chosen.
    static QStringList ask(const QStringList& patterns);
};
