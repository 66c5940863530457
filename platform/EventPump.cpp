#include "EventPump.h"

#include <QCoreApplication>

namespace platform {
void serviceEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
}
