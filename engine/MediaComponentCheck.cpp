#include "engine/MediaComponentCheck.h"

#include "engine/MediaHandles.h"

#include "base/LogCategories.h"
#include <gst/gst.h>


namespace {
QStringList g_hidden;

bool canCreate(const char* factory)
{
    if (g_hidden.contains(QLatin1String(factory)))
        return false;
    GstElement* element = gst_element_factory_make(factory, nullptr);
    // Sinking takes over the floating reference the factory hands out.
    const GstElementPtr owned(element ? GST_ELEMENT(gst_object_ref_sink(element)) : nullptr);
    return owned != nullptr;
}
} // namespace

void SetHiddenMediaFactoriesForTest(const QStringList& factories)
{
    g_hidden = factories;
}

int CheckMediaComponents()
{
    if (!gst_is_initialized()) {
        GError* err = nullptr;
        if (!gst_init_check(nullptr, nullptr, &err)) {
            qCWarning(vxEngine) << "GStreamer does not start:" << (err ? err->message : "");
            if (err)
                g_error_free(err);
            return -1;
        }
    }
    struct Step {
        const char* factories[2];
        int result;
    };
    static const Step steps[] = {
        {{"filesrc", "qtdemux"}, -1},
        {{"avdec_h264", nullptr}, -2},
        {{"avdec_aac", nullptr}, -3},
        {{"videobalance", nullptr}, -4},
    };
    for (const Step& step : steps)
        for (const char* f : step.factories)
            if (f && !canCreate(f)) {
                qCInfo(vxEngine) << "missing media component" << f;
                return step.result;
            }
    return 1;
}
