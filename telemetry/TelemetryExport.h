#pragma once
// Turning a recording's telemetry into documents for other tools (CSV, GPX 1.1,
// NMEA). Pure functions over what LoadTelemetry read; a recording without
// telemetry gives an empty but valid document of each kind.
#include "telemetry/CVxGPSTrace.h"
#include "telemetry/RecordingTelemetry.h"

#include <QByteArray>
#include <QDateTime>
#include <cstdint>

// Signed decimal degrees from the NMEA form, by the playback tick's own
// conversion (GpsFixReadout::NmeaToDegrees).
double DecimalLatitude(const CVxGPSTrace& fix);
double DecimalLongitude(const CVxGPSTrace& fix);
// The fix time in UTC with the two-digit year read as 20yy; invalid when the
// sentence did not give a usable date and time.
QDateTime FixDateTimeUtc(const CVxGPSTrace& fix);
// An axis byte in g, by the instrument panel's formula (PlaybackReadoutText).
double GSensorG(std::uint8_t axis);

// Header, then one row per GPS fix and per acceleration sample, merged by
// time stamp (a fix before a sample of the same time stamp).
QByteArray TelemetryToCsv(const RecordingTelemetry& telemetry);
// One track with one segment; fixes whose position is not a valid coordinate are left out.
QByteArray TelemetryToGpx(const RecordingTelemetry& telemetry, const QString& trackName = {});
// The RMC sentences as stored, without the leading 'G', each ended by CR LF.
QByteArray TelemetryToNmea(const RecordingTelemetry& telemetry);
