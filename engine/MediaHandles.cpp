#include "engine/MediaHandles.h"

#include <gst/gst.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
}

void GstUnref::operator()(GstElement* element) const { gst_object_unref(element); }
void GstUnref::operator()(GstBus* bus) const { gst_object_unref(bus); }
void GstUnref::operator()(GstPad* pad) const { gst_object_unref(pad); }
void GstUnref::operator()(GstElementFactory* factory) const { gst_object_unref(factory); }
void GstUnref::operator()(GstCaps* caps) const { gst_caps_unref(caps); }
void GstUnref::operator()(GstSample* sample) const { gst_sample_unref(sample); }
void GstUnref::operator()(GstMessage* message) const { gst_message_unref(message); }
void GstUnref::operator()(GstEvent* event) const { gst_event_unref(event); }

void GstPipelineStop::operator()(GstElement* pipeline) const
{
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
}

void AvFree::operator()(AVFormatContext* format) const { avformat_close_input(&format); }
void AvFree::operator()(AVPacket* packet) const { av_packet_free(&packet); }
void AvFree::operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
void AvFree::operator()(AVFrame* frame) const { av_frame_free(&frame); }
