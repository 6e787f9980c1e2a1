#include "ui/DoorHold.h"

#include "ui/FailureBoundary.h"
#include "ui/HoldRing.h"

#include <QAbstractButton>
#include <QEvent>
#include <QMouseEvent>

namespace {

// Often enough for the ring to fill smoothly.
constexpr int kTickMs = 30;

} // namespace

DoorHold::DoorHold(QAbstractButton* door, const DisplayZoom& zoom)
    : QObject(door), m_door(door), m_ring(new HoldRing(zoom, door->parentWidget()))
{
    m_tick.setInterval(kTickMs);
    connect(&m_tick, &QTimer::timeout, this, FailureBoundary::guard(this, &DoorHold::tick));
    door->installEventFilter(this);
}

bool DoorHold::eventFilter(QObject*, QEvent* event)
{
    // The button itself never sees a press, so it can never click on its own;
    // a finger comes as the mouse does.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            FailureBoundary::run([this] { start(); });
        return true;
    case QEvent::MouseButtonRelease:
        FailureBoundary::run([this] { stop(); });
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true; // no focus should reach it, but Space must never open it
    case QEvent::Hide:
        FailureBoundary::run([this] { stop(); });
        return false;
    default:
        return false;
    }
}

void DoorHold::start()
{
    m_held.start();
    m_ring->surround(m_door->geometry());
    m_ring->setProgress(0);
    m_ring->raise();
    m_ring->show();
    m_tick.start();
}

void DoorHold::stop()
{
    m_tick.stop();
    m_ring->hide();
}

void DoorHold::tick()
{
    const double progress = static_cast<double>(m_held.elapsed()) / kHoldMs;
    m_ring->setProgress(progress);
    if (progress < 1)
        return;
    stop();
    m_door->click();
}
