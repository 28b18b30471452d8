#pragma once
// The system's debug trace lines ("SetVelo=%d \r\n", ...) go through here so
// that every one of them lands in one logging category with its exact text.
#include "base/LogCategories.h"

#include <QString>
#include <functional>


// printf-style; the text keeps its trailing "\r\n" as the camera software wrote it.
void TraceLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
void TraceText(const QString& text);

// Tests install a sink to read the lines back; pass an empty function to remove it.
void SetTraceSink(std::function<void(const QString&)> sink);
