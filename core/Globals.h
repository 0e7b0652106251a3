#pragma once
// Settings and mode globals of the whole run. Start-up sets them (defaults, then the
// settings file and the command line); the editor and the programming run read them.
// The values below are the start-up defaults.
#include <cstdint>

// Board types.
inline constexpr std::int16_t TYPEQUORBA_Quorba2 = 2;     // also Caddow and Quorbette
inline constexpr std::int16_t TYPEQUORBA_Quorba4 = 4;
inline constexpr std::int16_t TYPEQUORBA_QuorbaVexo = 5;

// Board type of the run: 2, 4 or 5.
extern std::int16_t g_typeQuorba;
// Connection: true USB, false the PC keyboard controller (PS/2).
extern bool g_fUsbMode;
// Timeout of the board's replies, in milliseconds.
extern std::int32_t g_lTimeout;
// Stored with the settings and written back; nothing else uses it.
extern std::int32_t g_lDownloadSpeed;
// Programming unattended from the command line (no editor).
extern bool g_fCommandLineMode;
// Show the programming window while programming.
extern bool g_fShowProgress;
// Program the board's memory only (no permanent storage).
extern bool g_fRamOnly;
// The key-assignment editor shows user texts.
extern bool g_fShowUserText;
// Debug display: assertions in message boxes, trace window visible.
extern bool g_fDebugGui;
// Editor working mode.
inline constexpr std::int16_t MODEEDITOR_PanelDesigner = 0;
inline constexpr std::int16_t MODEEDITOR_KeyAssignments = 1;
extern std::int16_t g_modeEditor;
// A programming run is in progress (set by the run, cleared by the transports).
extern bool g_fProgrammingQuorba;
