#pragma once
// A drive as a camera sees it: sky over a distant skyline, a two-lane road in
// perspective with its lane dashes coming towards the front camera (going
// away from the rear one), roadside poles passing, and the whole picture
// shaken for a moment by an impact. Drawn straight into a YUV420P frame with
// row fills, so a 720p frame costs well under a millisecond.
#include <cstdint>

struct AVFrame;

struct RoadView {
    double travelledM = 0;   // distance driven so far; the scene scrolls with it
    double shakeX = 0;       // impact jolt, as fractions of the picture size
    double shakeY = 0;
    bool rear = false;       // looking back: the scene recedes and right is left
};

class RoadScene {
public:
    static void draw(AVFrame* frame, const RoadView& view);
    // The camera jolt sinceImpactSec after a hit: a sharp jump that rings down
    // within about half a second. Zero before the hit and after it has rung down.
    static void jolt(double sinceImpactSec, double& shakeX, double& shakeY);
};
