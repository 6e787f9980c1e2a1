#include "ui/ChildLock.h"

#include "ui/DoorHold.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QWidget>

void ChildLock::apply(QWidget* window, QAbstractButton* door, const DisplayZoom& zoom)
{
    door->setFocusPolicy(Qt::NoFocus);
    if (door->hasFocus())
        door->clearFocus();
    new DoorHold(door, zoom);
    refuseClose(window);
}

void ChildLock::refuseClose(QWidget* window)
{
    window->installEventFilter(new ChildLock(window));
}

bool ChildLock::eventFilter(QObject*, QEvent* event)
{
    if (event->type() != QEvent::Close || (qGuiApp && qGuiApp->isSavingSession()))
        return false;
    // A close event is accepted unless refused, and the window would go.
    event->ignore();
    return true;
}
