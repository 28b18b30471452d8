#pragma once
// A main window over a fake engine, fake drives and a card folder, with the
// pauses removed.
#include "fakes/FakePrompt.h"
#include "app/CVxMainFrame.h"
#include "app/PlaybackController.h"
#include "config/CardFormatter.h"
#include "config/SettingsSheetContext.h"
#include "fakes/FakeDriveProvider.h"
#include "fakes/FakePlaybackEngine.h"
#include "fakes/FakeVolumePath.h"
#include "listctrl/CHTMLListCtrl.h"
#include "card/IFileDialogs.h"
#include "card/RecordingLibrary.h"
#include "card/CardTree.h"

#include <QTest>

class ScriptedFileDialogs : public IFileDialogs {
public:
    QStringList openNames;
    QString saveName;
    QString SaveFileName(const QString&, const QString&, const QString&, bool) override { return saveName; }
    QString PickFolder(const QString&) override { return {}; }
    QStringList OpenFileNames(const QString&, const QString&) override { return openNames; }
};

struct MainWindowFixture {
    CardTree card;
    FakePrompt prompt;
    ScriptedFileDialogs dialogs;
    FakePlaybackEngine* engine = nullptr; // owned by the window
    FakeDriveProvider* drives = nullptr;  // owned by the window
    std::unique_ptr<CVxMainFrame> frame;
    // The system's sound output; none when empty.
    std::function<std::unique_ptr<VolumePath>()> createVolumePath;
    // Stands in for the modal settings sheet; Cancel when unset.
    std::function<bool(SettingsSheetContext&)> sheet;
    // Handed to the window as its map pop-up factory when set.
    std::function<std::unique_ptr<IMapPopup>(const MapConfig&)> createMapPopup;

    // files: paths below the card root, e.g. "INFINITE/a/20140101_120000_I01.mp4".
    bool create(const QStringList& files, bool mountCard = true)
    {
        card.makeCard();
        for (const QString& f : files)
            if (!card.file(f))
                return false;
        MainFrameServices services;
        services.prompt = &prompt;
        services.fileDialogs = &dialogs;
        services.checkMediaComponents = [] { return 1; };
        services.createVolumePath = createVolumePath;
        services.runSettingsSheet = [this](SettingsSheetContext& context) { return sheet && sheet(context); };
        services.createCardFormatter = [] { return std::unique_ptr<CardFormatter>(); };
        services.createEngine = [this] {
            auto e = std::make_unique<FakePlaybackEngine>();
            e->durationMs = 3000;
            e->videoPinCount = 2;
            e->frame = QImage(1280, 720, QImage::Format_RGB32);
            engine = e.get();
            return std::unique_ptr<PlaybackEngine>(std::move(e));
        };
        services.createDriveProvider = [this, mountCard] {
            auto d = std::make_unique<FakeDriveProvider>();
            if (mountCard)
                d->drives.append(DriveInfo{card.root(), true, false});
            drives = d.get();
            return std::unique_ptr<DriveProvider>(std::move(d));
        };
        services.createMapPopup = createMapPopup;
        frame = std::make_unique<CVxMainFrame>(std::move(services));
        frame->controller().SetWait([](int) {});
        if (!frame->LoadFrame())
            return false;
        frame->show();
        QCoreApplication::processEvents(); // the posted card scan
        return true;
    }

    RecordingLibrary& library() { return frame->library(); }
    PlaybackController& controller() { return frame->controller(); }
    QString path(int list, int row) { return library().GetRecording(list, row)->path; }
    // The position reaches the end and the tick sees it.
    void endOfRecording()
    {
        engine->positionMs = engine->durationMs;
        frame->controller().OnTimer1();
    }
};
