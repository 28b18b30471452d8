#pragma once
// A progress dialog with a cancel button for the copy command; it appears
// only when a copy takes more than half a second.
#include "card/RecordingFileOps.h"

#include <memory>

class QProgressDialog;
class QWidget;

class CopyProgressDialog {
public:
    explicit CopyProgressDialog(QWidget* owner);
    ~CopyProgressDialog();

    // The callback for RecordingFileOps::CopyTickedRecordings (valid while
    // this object lives); it keeps the window painting while the copy runs
    // and answers false once the user pressed cancel.
    RecordingFileOps::CopyProgress Callback();

private:
    QWidget* m_owner;
    std::unique_ptr<QProgressDialog> m_dialog;
};
