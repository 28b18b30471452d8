#pragma once
// The text protocol by which the viewer calls the map page's script, kept free
// of the browser so it can be tested without one.
//
// A call text reads "javascript:" name "(" arguments ")". Arguments are cut at
// blanks, commas, quotes, tabs, parentheses and semicolons; every token is one
// string argument. The call never reaches the page as script text: the name
// and the tokens travel as JSON data to a fixed wrapper that looks the
// function up on `window` and applies it, so an argument can never run as
// code.
#include <QPointF>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

struct PageCall {
    QString name;     // empty: matches no script function
    QStringList args; // in textual order
};

class MapPageScript {
public:
    // nullopt for an empty text (nothing to call).
    static std::optional<PageCall> ParseCallText(const QString& text);

    // A script expression that calls `call` through the fixed wrapper and
    // evaluates to the call's result as a string, or "" when the function is
    // unknown, not the page's own script, or throws.
    static QString WrapperScript(const PageCall& call);

    // The three texts that move the position marker to a fix: remove marker 0,
    // add it at the position, centre the map there; longitude before latitude,
    // six decimals with a decimal point whatever the process locale. Empty for
    // a position that is not a finite number.
    static QStringList PositionCallTexts(double latitude, double longitude);

    // The page call that draws a recording's whole track: alternating
    // longitude and latitude strings, fixes with a non-finite coordinate left
    // out. Points are (x = longitude, y = latitude).
    static PageCall TrackCall(const std::vector<QPointF>& lonLat);

    static constexpr const char* kTrackFunction = "setTrack_wgs84";
};
