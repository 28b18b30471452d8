#pragma once
// What the user is told after the start-up component check: a missing source
// or video decoder gets a message box, the others show themselves later when
// a recording cannot be opened. Start-up goes on in every case.
#include <QString>

class IPrompt;

// Empty when nothing is shown for this result.
QString MediaComponentMessage(int checkResult);
void ReportMediaComponents(int checkResult, IPrompt& prompt);
