#include "app/CZuDidiriApp.h"

#include "app/CVxMainFrame.h"
#include "app/PlaybackController.h"
#include "app/StartupRegistry.h"
#include "app/ViewerCore.h"
#include "display/CVxBrowser.h"
#include "engine/MediaComponentCheck.h"
#include "engine/ClipExporter.h"
#include "engine/GstPlaybackEngine.h"
#include "engine/RecoveryDecoder.h"
#include "base/LogCategories.h"
#include "engine/PulseVolumePath.h"
#include "listctrl/CHTMLListCtrl.h"
#include "card/RecordingLibrary.h"

#include <QTimer>

#include <QApplication>
#include <QSettings>

CZuDidiriApp::CZuDidiriApp() = default;
CZuDidiriApp::~CZuDidiriApp()
{
    m_mainWnd.reset(); // before the prompt and the core it points to
}

bool CZuDidiriApp::InitInstance()
{
    // Settings of our own go through QSettings in INI files under the user's
    // XDG config folder, under the framework key.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QCoreApplication::setOrganizationName(AppSettingsKey());
    QCoreApplication::setApplicationName(QStringLiteral("Halcyon Deck"));

    // The core first: library, settings, playlist, the playback controller
    // with its engine, the card monitor and the settings command.
    ViewerCore::Parts parts;
    parts.engine = std::make_unique<GstPlaybackEngine>();
    m_core = std::make_unique<ViewerCore>(std::move(parts));

    MainFrameServices services;
    services.checkMediaComponents = [] { return CheckMediaComponents(); };
    services.recoveryCodecs = [] {
        // One recovery runs at a time, on the runner's worker thread.
        auto decoder = std::make_shared<RecoveryDecoder>();
        RecordingRecovery::Codecs codecs;
        codecs.aacFrames = [decoder](const QByteArray& config, const std::uint8_t* data, std::size_t size, bool exact) {
            return decoder->aacFrames(config, data, size, exact);
        };
        codecs.decodesPicture = &RecoveryDecoder::decodesPicture;
        return codecs;
    };
    services.createClipEncoder = []() -> std::unique_ptr<IClipEncoder> {
        if (const QStringList missing = ClipExporter::MissingElements(); !missing.isEmpty()) {
            qCWarning(vxApp).noquote() << "incident export needs" << missing.join(QStringLiteral(", "));
            return nullptr;
        }
        return std::make_unique<ClipExporter>();
    };
    services.createVolumePath = [] { return std::unique_ptr<VolumePath>(std::make_unique<PulseVolumePath>()); };
    services.createMapPopup = [](const MapConfig& config) {
        return std::unique_ptr<IMapPopup>(std::make_unique<CVxBrowser>(config));
    };
    m_mainWnd = std::make_unique<CVxMainFrame>(*m_core, std::move(services));
    m_prompt = std::make_unique<MessageBoxPrompt>(m_mainWnd.get());
    m_mainWnd->setPrompt(m_prompt.get());
    if (!m_mainWnd->LoadFrame())
        return false;
    m_mainWnd->resize(1130, 640);
    m_mainWnd->show();
    m_mainWnd->setFocus();
    StartScreenshotPlayback();
    OpenStartupFiles();
    return true;
}

void CZuDidiriApp::OpenStartupFiles()
{
    if (m_startupFiles.isEmpty())
        return;
    // Queued behind the card scan the window posted while it was made, so the
    // scan does not replace the lists the files join.
    CVxMainFrame* frame = m_mainWnd.get();
    QMetaObject::invokeMethod(
        frame, [frame, files = m_startupFiles] { frame->controller().OpenAndPlayFiles(files); }, Qt::QueuedConnection);
}

void CZuDidiriApp::StartScreenshotPlayback()
{
    // Developer option for screenshots (dev.sh shot): HALCYON_AUTOPLAY_FOR_SCREENSHOT=1
    // plays the first recording shortly after the card scan; =full also enters
    // full screen. An ordinary start plays nothing.
    const QByteArray mode = qgetenv("HALCYON_AUTOPLAY_FOR_SCREENSHOT");
    if (mode.isEmpty() || mode == "0")
        return;
    CVxMainFrame* frame = m_mainWnd.get();
    auto play = [frame, mode] {
        frame->controller().ActivateRow(qMax(0, frame->recordingList()->GetSelection()));
        if (mode == "full")
            QTimer::singleShot(300, frame, [frame] { frame->ToggleFullScreen(); });
    };
    // Once the card scan has shown the ALL list.
    auto started = std::make_shared<bool>(false);
    QObject::connect(&frame->library(), &RecordingLibrary::categoryShown, frame, [started, play](int category) {
        if (category < 0 || *started)
            return;
        *started = true;
        QTimer::singleShot(0, play);
    });
}

int CZuDidiriApp::ExitInstance(int exitCode)
{
    return exitCode;
}

int CZuDidiriApp::Run()
{
    if (!InitInstance())
        return 1;
    const int code = QApplication::exec();
    m_mainWnd.reset();
    return ExitInstance(code);
}
