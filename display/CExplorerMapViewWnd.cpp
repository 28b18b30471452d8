#include "display/CExplorerMapViewWnd.h"

#include "display/MapSchemeHandler.h"
#include "display/MapWebEngineSetup.h"

#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>

namespace {
QWidget* prepared(QWidget* parent)
{
    MapWebEngineSetup::Prepare();
    return parent;
}
} // namespace

CExplorerMapViewWnd::CExplorerMapViewWnd(const MapConfig& config, QWidget* parent)
    : QWebEngineView(prepared(parent))
{
    // Off the record: nothing of the map is written to disk.
    m_profile = new QWebEngineProfile(this);
    m_handler = new MapSchemeHandler(config, m_profile);
    m_profile->installUrlSchemeHandler(MapConfig::kBundledScheme, m_handler);
    auto* page = new QWebEnginePage(m_profile, this);
    m_page = page;
    setPage(page);
    setContextMenuPolicy(Qt::NoContextMenu);
    connect(page, &QWebEnginePage::loadStarted, this, [this] { m_loaded = false; });
    connect(page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        m_loaded = ok;
        emit pageLoaded(ok);
    });
}

CExplorerMapViewWnd::~CExplorerMapViewWnd()
{
    // The page must go before the profile it was made with.
    delete m_page.data();
    delete m_profile;
}

void CExplorerMapViewWnd::Navigate(const QUrl& url)
{
    m_loaded = false;
    m_page->load(url);
}

void CExplorerMapViewWnd::RunPageScript(CExplorerMapViewWnd* browser, const QString& text, const ResultCallback& done)
{
    const std::optional<PageCall> call = MapPageScript::ParseCallText(text);
    if (!browser || !call || call->name.isEmpty()) {
        if (done)
            QTimer::singleShot(0, [done] { done(QString()); });
        return;
    }
    browser->RunCall(*call, done);
}

void CExplorerMapViewWnd::RunCall(const PageCall& call, const ResultCallback& done)
{
    const QString script = MapPageScript::WrapperScript(call);
    if (!done) {
        m_page->runJavaScript(script, QWebEngineScript::MainWorld);
        return;
    }
    m_page->runJavaScript(script, QWebEngineScript::MainWorld,
                          [done](const QVariant& result) { done(result.toString()); });
}
