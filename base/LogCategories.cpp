#include "base/LogCategories.h"

Q_LOGGING_CATEGORY(vxApp, "vx.app", QtInfoMsg)
Q_LOGGING_CATEGORY(vxEngine, "vx.engine", QtInfoMsg)
Q_LOGGING_CATEGORY(vxLibrary, "vx.library", QtInfoMsg)
Q_LOGGING_CATEGORY(vxDisplay, "vx.display", QtInfoMsg)
Q_LOGGING_CATEGORY(vxSkin, "vx.skin", QtInfoMsg)
Q_LOGGING_CATEGORY(vxConfig, "vx.config", QtInfoMsg)
Q_LOGGING_CATEGORY(vxTrace, "vx.trace", QtInfoMsg)
