#pragma once
// Values the decoder and the camera maker's tools read, written at every
// start-up. They live in INI files: the per-user ones under the user's XDG
// config folder, the machine-wide one under the system XDG folder.
//
// Per user, GNU/ffdshow.ini: multipleInstances=0, isWhitelist=0, h264=1.
// Machine, Wexlor.ini: usingDShow=1 -- skipped silently when the system folder
// is not writable (an ordinary user).
#include <QString>

// Framework settings key of the application ("ZuDidiri").
QString AppSettingsKey();
// Both return whether the values were stored; callers ignore failures.
bool WriteDecoderRegistryValues();
bool WriteMachineRegistryValues();
