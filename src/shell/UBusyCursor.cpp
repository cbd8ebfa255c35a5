#include "shell/UBusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

TBusyCursor::TBusyCursor() {
    ++s_iDepth;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        m_bOverridden = true;
    }
}

TBusyCursor::~TBusyCursor() {
    // Only undo what this guard did: an application object created or
    // destroyed in between must not unbalance the cursor stack.
    if (m_bOverridden && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::restoreOverrideCursor();
    --s_iDepth;
}
