#pragma once
// The widgets of the incident export: the dialog that adjusts the range, the
// layout and the file, and a progress window with a cancel button that stays
// out of the way (not modal: the viewer goes on playing while it runs).
#include "incident/IncidentExportFlow.h"

#include <QPointer>
#include <functional>

class IFileDialogs;
class QDialog;
class QProgressDialog;
class QWidget;

class IncidentExportDialogs : public IIncidentExportView {
public:
    IncidentExportDialogs(QWidget* owner, IFileDialogs& files, std::function<void()> cancel);
    ~IncidentExportDialogs() override;

    std::optional<IncidentExportChoice> AskChoice(const IncidentExportChoice& proposal,
                                                  std::uint32_t durationMs) override;
    void ShowProgress(int percent) override;
    void CloseProgress() override;

    // The dialog AskChoice runs, filled in and not yet shown; choice() reads
    // it back. For AskChoice and for looking at it.
    static QDialog* MakeChoiceDialog(QWidget* owner, IFileDialogs& files, const IncidentExportChoice& proposal,
                                     std::uint32_t durationMs);
    static IncidentExportChoice ChoiceOf(const QDialog& dialog);
    QProgressDialog* progress() const;

private:
    QWidget* m_owner;
    IFileDialogs& m_files;
    std::function<void()> m_cancel;
    QPointer<QProgressDialog> m_progress;
};
