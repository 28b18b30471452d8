#pragma once
// The logging categories, one per subsystem. Each is defined once (in
// LogCategories.cpp) with the same default: debug lines are off until
// QT_LOGGING_RULES turns them on, information and warnings print.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(vxApp)
Q_DECLARE_LOGGING_CATEGORY(vxEngine)
Q_DECLARE_LOGGING_CATEGORY(vxLibrary)
Q_DECLARE_LOGGING_CATEGORY(vxDisplay)
Q_DECLARE_LOGGING_CATEGORY(vxSkin)
Q_DECLARE_LOGGING_CATEGORY(vxConfig)
// The system's debug trace lines (base/Trace.h).
Q_DECLARE_LOGGING_CATEGORY(vxTrace)
