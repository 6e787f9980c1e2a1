#pragma once

#include "core/geometry/DisplayZoom.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class HoldRing;
class QAbstractButton;

// Makes a button act only when held down: a press starts a ring filling
// round it, and once it is full the button is clicked, so whatever its click
// does runs the usual way. Let go sooner and nothing happens. Used on the
// door while the child lock is on.
class DoorHold : public QObject {
    Q_OBJECT
public:
    static constexpr int kHoldMs = 2000;

    DoorHold(QAbstractButton* door, const DisplayZoom& zoom);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void start();
    void stop();
    void tick();

    QAbstractButton* m_door;
    HoldRing* m_ring;
    QTimer m_tick;
    QElapsedTimer m_held;
};
