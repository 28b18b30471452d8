#pragma once
// What the browser engine needs before the application object exists: the
// map's URL scheme, shared OpenGL contexts, the bundled page resources,
// software compositing, and no sandbox when running as root (the engine's
// sandbox refuses to start as root).
class MapWebEngineSetup {
public:
    // Idempotent. Call in main() before QApplication is constructed; the map
    // view calls it too, which is enough for the resources but late for the
    // scheme.
    static void Prepare();
};
