#pragma once

#include "core/geometry/DisplayZoom.h"

#include <QObject>

class QAbstractButton;
class QWidget;

// The child lock on a window: its door ends the program only when held down
// (see DoorHold), the keyboard focus never lands on the door, and the window
// refuses to be closed by the window manager (Alt+F4, its close button) or
// keys. The end of the desktop session still closes it.
class ChildLock : public QObject {
    Q_OBJECT
public:
    static void apply(QWidget* window, QAbstractButton* door, const DisplayZoom& zoom);
    // Only the window's refusal to be closed: the intro window has no door.
    static void refuseClose(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ChildLock(QObject* parent) : QObject(parent) {}
};
