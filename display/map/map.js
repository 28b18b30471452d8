// The viewer's map page. The viewer calls removePoi, addPoi_wgs84,
// setCenter_wgs84 and setTrack_wgs84 with string arguments; every number is
// checked, and a call with a value that is not a number or out of range is
// ignored. Tiles come from the viewer itself (its own scheme, never the
// network); where it has none, the marker, the track and the scale draw on
// the plain background.
'use strict';

// Every call the viewer made, oldest first: [name, arg, ...].
var halcyonCalls = [];
// Set once the last track has been painted (for measurements).
var halcyonTrackDrawn = false;

var halcyonMap = L.map('map', { preferCanvas: true, zoomSnap: 1, fadeAnimation: false })
    .setView([35.261238, 128.617096], 15);
var halcyonPois = {};
var halcyonTrack = null;

(function () {
    function meta(name) {
        var e = document.querySelector('meta[name="' + name + '"]');
        return e ? e.getAttribute('content') : '';
    }
    var tiles = meta('tile-template');
    if (tiles && tiles.indexOf('@TILES@') < 0) {
        L.tileLayer(tiles, { maxZoom: 19, attribution: meta('tile-attribution') }).addTo(halcyonMap);
    }
    L.control.scale({ imperial: false }).addTo(halcyonMap);
})();

function halcyonRecord(name, args) {
    halcyonCalls.push([name].concat(Array.prototype.map.call(args, String)));
    if (halcyonCalls.length > 2000)
        halcyonCalls.shift();
}

// A decimal number within [lo, hi], or NaN.
function halcyonNumber(value, lo, hi) {
    var s = String(value).trim();
    if (!/^[-+]?(\d+(\.\d*)?|\.\d+)$/.test(s))
        return NaN;
    var v = Number(s);
    return v >= lo && v <= hi ? v : NaN;
}

function halcyonLatLng(lon, lat) {
    var x = halcyonNumber(lon, -180, 180);
    var y = halcyonNumber(lat, -90, 90);
    return isNaN(x) || isNaN(y) ? null : L.latLng(y, x);
}

function removePoi(id) {
    halcyonRecord('removePoi', arguments);
    var key = String(id);
    if (halcyonPois[key]) {
        halcyonMap.removeLayer(halcyonPois[key]);
        delete halcyonPois[key];
    }
}

// id, longitude, latitude, kind, two flags, label: the viewer sends
// "p", "0", "0", "gpspos" for the car's position.
function addPoi_wgs84(id, lon, lat, kind, flag1, flag2, label) {
    halcyonRecord('addPoi_wgs84', arguments);
    var at = halcyonLatLng(lon, lat);
    if (!at)
        return;
    var key = String(id);
    if (halcyonPois[key])
        halcyonMap.removeLayer(halcyonPois[key]);
    halcyonPois[key] = L.circleMarker(at, {
        radius: 7, color: '#ffffff', weight: 2, fillColor: '#d62828', fillOpacity: 1
    }).addTo(halcyonMap);
}

function setCenter_wgs84(lon, lat) {
    halcyonRecord('setCenter_wgs84', arguments);
    var at = halcyonLatLng(lon, lat);
    if (at)
        halcyonMap.panTo(at, { animate: false });
}

// The recording's whole track: longitude, latitude, longitude, latitude, ...
// Pairs that are not valid positions are left out; no pair clears the track.
function setTrack_wgs84() {
    halcyonRecord('setTrack_wgs84', arguments);
    var points = [];
    for (var i = 0; i + 1 < arguments.length; i += 2) {
        var at = halcyonLatLng(arguments[i], arguments[i + 1]);
        if (at)
            points.push(at);
    }
    if (halcyonTrack) {
        halcyonMap.removeLayer(halcyonTrack);
        halcyonTrack = null;
    }
    halcyonTrackDrawn = false;
    if (points.length > 0) {
        halcyonTrack = L.polyline(points, { color: '#1f5fd1', weight: 4, opacity: 0.85 }).addTo(halcyonMap);
        halcyonMap.fitBounds(halcyonTrack.getBounds(), { maxZoom: 16, padding: [12, 12], animate: false });
        for (var key in halcyonPois)
            halcyonPois[key].bringToFront();
    }
    requestAnimationFrame(function () { halcyonTrackDrawn = true; });
    return String(points.length);
}
