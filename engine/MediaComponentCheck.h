#pragma once
// Start-up check that the outside media components can be created, by
// GStreamer factory name, in this order, stopping at the first failure:
//   source (filesrc + qtdemux)   -1
//   video decoder (avdec_h264)   -2
//   AAC decoder (avdec_aac)      -3
//   brightness filter (videobalance) -4
// Returns 1 when all can be created. Each instance is released at once.
#include <QStringList>

int CheckMediaComponents();

// Tests: factories named here are treated as not installed. Empty restores.
void SetHiddenMediaFactoriesForTest(const QStringList& factories);
