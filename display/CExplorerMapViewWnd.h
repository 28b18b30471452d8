#pragma once
// The map's web browser: a QWebEngineView on a private, off-the-record profile
// that serves the viewer's own map page. Script calls go through the fixed
// wrapper of MapPageScript in the page's main world; results arrive later, on
// the UI thread.
#include "display/MapConfig.h"
#include "display/MapPageScript.h"

#include <QPointer>
#include <QWebEngineView>
#include <functional>

class QWebEngineProfile;
class MapSchemeHandler;

class CExplorerMapViewWnd : public QWebEngineView {
    Q_OBJECT
public:
    using ResultCallback = std::function<void(const QString& result)>;

    explicit CExplorerMapViewWnd(const MapConfig& config, QWidget* parent = nullptr);
    ~CExplorerMapViewWnd() override;

    void Navigate(const QUrl& url);
    bool isPageLoaded() const { return m_loaded; }

    // Runs a "javascript:name(args)" text as a call of the page's function
    // `name`; `done` (optional) receives its result as a string, "" for an
    // empty text, an unknown function or a failed call. Never blocks.
    static void RunPageScript(CExplorerMapViewWnd* browser, const QString& text, const ResultCallback& done = {});
    void RunCall(const PageCall& call, const ResultCallback& done = {});

signals:
    void pageLoaded(bool ok);

private:
    QWebEngineProfile* m_profile = nullptr;
    MapSchemeHandler* m_handler = nullptr;
    QPointer<QWebEnginePage> m_page;
    bool m_loaded = false;
};
