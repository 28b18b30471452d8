#pragma once
// The numbers the camera software gave the main window's commands and child
// controls. Buttons and switches report their command id as an int (the
// button tables hold the numbers); everything else names them here.

// What a button, a switch or a shortcut asks the main window to do.
enum class CommandId : int {
    PreviousFileFull = 290,
    PlayFull = 291,
    StopFull = 292,
    PauseFull = 293,
    NextFileFull = 294,
    PreviousFile = 300,
    Play = 301,
    Pause = 302,
    NextFile = 303,
    StepForward = 306,
    OpenFiles = 307,
    Stop = 309,
    StepBack = 310,
    CopyRecordings = 311,
    DeleteRecordings = 312,
    FullScreen = 323,
    Snapshot = 324,
    Settings = 325,
    Map = 326,
    Minimize = 328,
    Exit = 329,
    RestoreSize = 330,
    CategoryAll = 360, // 360 + category, up to 364 (MOTION)
    MuteSwitch = 438,
    SelectAllSwitch = 439,
    SwapVideo = 523,
    Mirror = 524,
    Flip = 525,
    StepBackFull = 530,
    StepForwardFull = 532,
    SwapVideoFull = 582,
    // Bound to nothing by the camera software; kept so they stay harmless.
    Unused406 = 406,
    Unused32772 = 32772,
};

// The main window's children.
enum class ControlId : int {
    VideoWindow1 = 401,
    VideoWindow2 = 402,
    FullPositionSlider = 403,
    FullSpeedSlider = 404,
    FullVolumeSlider = 405,
    PositionSlider = 410,
    SpeedSlider = 411,
    VolumeSlider = 412,
    RecordingList = 415,
    MuteSwitch = 438,
    SelectAllSwitch = 439,
    SpeedMeter = 458,
    LinePlot = 459,
    VideoWindow3 = 605,
    VideoWindow4 = 606,
};

constexpr int IdOf(CommandId id) { return static_cast<int>(id); }
constexpr int IdOf(ControlId id) { return static_cast<int>(id); }
constexpr CommandId CategoryCommand(int category) { return CommandId(IdOf(CommandId::CategoryAll) + category); }
