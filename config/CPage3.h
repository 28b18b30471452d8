#pragma once
// The settings sheet's "메모리 관리" page: how the camera divides the card
// between its categories (memoryMode of the working copy), shown as the bar
// with its legend, and the card format that keeps the camera's two settings
// files. What the page needs from the window above it comes in the sheet's
// context.
#include "config/CardFormatSequence.h"
#include "config/SettingsPage.h"

#include <QFont>
#include <QWidget>
#include <functional>
#include <memory>
#include <QCoreApplication>

class CVxProgress;
class QButtonGroup;
class QPainter;
class QProgressDialog;
class QPushButton;
class QRadioButton;

class CPage3 : public SettingsPage {
    Q_OBJECT
public:
    enum ControlId { IDC_BAR = 1035, IDC_MODE1 = 1092, IDC_MODE2 = 1093, IDC_MODE3 = 1094, IDC_APPLY = 1029, IDC_FORMAT = 1028 };

    CPage3(SettingsSheetContext& context, QWidget* parent = nullptr);
    ~CPage3() override;

    static QString Title() { return QCoreApplication::translate("CPage3", "메모리 관리"); }

    // First show: mode from the working copy, bar, radios. Runs once.
    void OnInitDialog();
    bool IsInitialised() const { return m_initialised; }
    // The sheet's OK: the checked mode into the working copy.
    void StoreInto(DeviceSettings& working) override;
    // The defaults button: mode, radios and bar again from the working copy.
    void Reload() override;

    // 0..2, or -1 when the stored mode is none of the three.
    int CurrentMode() const { return m_currentMode; }
    CVxProgress* Bar() const { return m_bar; }
    CardFormatSequence& FormatSequence() { return *m_sequence; }
    // The legend's four texts for the current mode ("상시녹화:75%").
    QStringList LegendTexts() const;
    // Where the legend is painted: the bar's rectangle widened as drawn.
    QRect LegendArea() const;

    void OnRadio(int mode);
    void OnApply();
    void OnFormatCommand();

    // The legend as the page paints it, in page coordinates.
    void PaintLegend(QPainter& painter);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void loadBar();
    void barRefresh(const QString& root);
    void radiosFromIndex(int index);
    int radioIndex() const;
    void FormatCard();
    void onFormatProgress(const QString& text);
    void onFormatFinished(CardFormatSequence::Outcome outcome);
    bool ask(const QString& caption, const QString& text);
    void tell(const QString& caption, const QString& text);

    QFont m_font;
    QWidget* m_legend = nullptr;
    CVxProgress* m_bar = nullptr;
    QButtonGroup* m_radios = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_format = nullptr;
    int m_currentMode = 1;
    bool m_initialised = false;
    std::unique_ptr<CardFormatter> m_noFormatter;
    std::unique_ptr<CardFormatSequence> m_sequence;
    QProgressDialog* m_progress = nullptr;
};
