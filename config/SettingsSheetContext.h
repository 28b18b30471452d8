#pragma once
// What the settings sheet and its pages are handed by the window that opens
// them. The sheet sits below the card library and the main window, so the card
// root, the questions to the user and the media release come in as functions.
// One context lives for one run of the settings command.
#include "config/DeviceConfig.h"

#include <QString>
#include <functional>

class CardFormatter;
class CardSpaceQuery;

struct SettingsSheetContext {
    // Page-initialised bits: a page sets its bit once it has filled its
    // controls from the working copy; the defaults button reloads those pages.
    static constexpr unsigned kRecordingPage = 1;
    static constexpr unsigned kUnitsTimePage = 2;
    static constexpr unsigned kMemoryPage = 4;

    // The pages edit config->working; only the command commits it.
    DeviceConfig* config = nullptr;
    // The card root as it is now, with its trailing separator; empty once the
    // card is gone. Asked at every write, since the card may go while the
    // sheet is open.
    std::function<QString()> cardRoot;
    // Yes/No question (true only for Yes) and a notice with an OK button.
    // Unset: the pages ask with message boxes of their own.
    std::function<bool(const QString& caption, const QString& text)> askYesNo;
    std::function<void(const QString& caption, const QString& text)> showMessage;
    // The self-closing notice. Unset: the page runs it modally.
    std::function<void(const QString& text)> showNotice;
    // Closes the open recording so that no file on the card stays open
    // (before the card is formatted). Unset: nothing is open.
    std::function<void()> releaseMedia;
    // Formats the card (UDisks2). Unset: the memory page says it cannot.
    CardFormatter* cardFormatter = nullptr;
    // The card monitor must not scan the card while it is being formatted.
    std::function<void()> holdCardMonitor;
    std::function<void()> releaseCardMonitor;
    // Capacity and free space of the card. Unset: the file system is asked.
    const CardSpaceQuery* cardSpace = nullptr;

    unsigned pageInitialised = 0;
    // Set by the memory page when the card was formatted; the command reads
    // and clears it after the sheet has closed.
    bool cardFormatted = false;

    QString CardRootNow() const { return cardRoot ? cardRoot() : QString(); }
};
