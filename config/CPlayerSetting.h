#pragma once
// The camera settings sheet "설정": four tabs whose pages are built when first
// shown, OK and Cancel, and the defaults button. The pages edit the working
// copy; the sheet only lets them store their controls on OK. Committing the
// working copy to the card is the settings command's job once the sheet closed.
// Escape and the title bar's close box mean Cancel.
#include "config/SettingsSheetContext.h"

#include <QDialog>
#include <array>

class QPushButton;
class QTabWidget;
class SettingsPage;

class CPlayerSetting : public QDialog {
    Q_OBJECT
public:
    explicit CPlayerSetting(SettingsSheetContext& context, QWidget* parent = nullptr);

    static constexpr int kPageCount = 4;
    static constexpr int kDefaultsButtonId = 1095;

    QTabWidget* Tabs() const { return m_tabs; }
    // The page of a tab once it has been shown, else nullptr.
    SettingsPage* Page(int index) const { return m_pages[std::size_t(index)]; }
    QPushButton* DefaultsButton() const { return m_defaults; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    // The defaults command: after a Yes the working copy becomes the default
    // record and every page already filled shows it again.
    void RestoreDefaults();

    void accept() override;

private:
    void EnsurePage(int index);

    SettingsSheetContext& m_context;
    QTabWidget* m_tabs = nullptr;
    std::array<QWidget*, kPageCount> m_holders{};
    std::array<SettingsPage*, kPageCount> m_pages{};
    QPushButton* m_defaults = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
