#pragma once
// Owners of the GStreamer and libav handles the engine holds: each one lets go
// of its handle the one way the library wants, on every path out of a scope.
// Only declarations of the handle types here, so a header can hold an owner
// without pulling in GStreamer or libav.
#include <memory>

typedef struct _GstElement GstElement;
typedef struct _GstBus GstBus;
typedef struct _GstPad GstPad;
typedef struct _GstElementFactory GstElementFactory;
typedef struct _GstCaps GstCaps;
typedef struct _GstSample GstSample;
typedef struct _GstMessage GstMessage;
typedef struct _GstEvent GstEvent;
struct AVFormatContext;
struct AVPacket;
struct AVCodecContext;
struct AVFrame;

struct GstUnref {
    void operator()(GstElement* element) const;
    void operator()(GstBus* bus) const;
    void operator()(GstPad* pad) const;
    void operator()(GstElementFactory* factory) const;
    void operator()(GstCaps* caps) const;
    void operator()(GstSample* sample) const;
    void operator()(GstMessage* message) const;
    void operator()(GstEvent* event) const;
};

// A pipeline goes to NULL before its last reference: that joins its streaming
// threads, so none of them outlives what its callbacks point at.
struct GstPipelineStop {
    void operator()(GstElement* pipeline) const;
};

struct AvFree {
    void operator()(AVFormatContext* format) const;
    void operator()(AVPacket* packet) const;
    void operator()(AVCodecContext* codec) const;
    void operator()(AVFrame* frame) const;
};

using GstElementPtr = std::unique_ptr<GstElement, GstUnref>;
using GstPipelinePtr = std::unique_ptr<GstElement, GstPipelineStop>;
using GstBusPtr = std::unique_ptr<GstBus, GstUnref>;
using GstPadPtr = std::unique_ptr<GstPad, GstUnref>;
using GstElementFactoryPtr = std::unique_ptr<GstElementFactory, GstUnref>;
using GstCapsPtr = std::unique_ptr<GstCaps, GstUnref>;
using GstSamplePtr = std::unique_ptr<GstSample, GstUnref>;
using GstMessagePtr = std::unique_ptr<GstMessage, GstUnref>;
using GstEventPtr = std::unique_ptr<GstEvent, GstUnref>;
using AVFormatContextPtr = std::unique_ptr<AVFormatContext, AvFree>;
using AVPacketPtr = std::unique_ptr<AVPacket, AvFree>;
using AVCodecContextPtr = std::unique_ptr<AVCodecContext, AvFree>;
using AVFramePtr = std::unique_ptr<AVFrame, AvFree>;
