#pragma once
// One page of the settings sheet. A page is built when its tab is first shown
// and fills its controls from the working copy then; the sheet calls StoreInto
// on every built page when it is closed with OK, and Reload on every page whose
// initialised bit is set when the defaults button was answered Yes.
//
// A page is constructed as Page(SettingsSheetContext& context, QWidget* parent);
// the context outlives the sheet.
#include "config/DialogUnits.h"
#include "config/SettingsSheetContext.h"

#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QGroupBox;
class QLabel;

class SettingsPage : public QWidget {
    Q_OBJECT
public:
    SettingsPage(SettingsSheetContext& context, QWidget* parent);

    // Controls into the working copy (the sheet's OK).
    virtual void StoreInto(DeviceSettings& working) { Q_UNUSED(working); }
    // Controls from the working copy again (the defaults button).
    virtual void Reload() {}

    // 393 x 300 dialog units in the page font.
    static QSize PageSize();

protected:
    DeviceSettings& Working() { return m_context.config->working; }
    void MarkInitialised(unsigned bit) { m_context.pageInitialised |= bit; }

    // Controls placed by dialog units; the numeric id goes to "controlId".
    QGroupBox* AddGroup(const QString& title, int x, int y, int w, int h);
    QLabel* AddLabel(int id, const QString& text, int x, int y, int w, int h, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
    QAbstractButton* AddRadio(QButtonGroup* group, int index, int id, const QString& text, int x, int y, int w, int h);
    void Place(QWidget* w, int id, int x, int y, int width, int height);

    // A radio group shows index (0-based); an index that is no button clears them all.
    static void SetGroupIndex(QButtonGroup* group, int index);

    SettingsSheetContext& m_context;
    DialogUnits m_units;
};

// Finds a control of a page or dialog by its numeric id.
QWidget* FindControl(QWidget* root, int id);
