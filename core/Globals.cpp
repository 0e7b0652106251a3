#include "core/Globals.h"

std::int16_t g_typeQuorba = TYPEQUORBA_Quorba2;
bool g_fUsbMode = true;
std::int32_t g_lTimeout = 5000;
std::int32_t g_lDownloadSpeed = 100;
bool g_fCommandLineMode = false;
bool g_fShowProgress = false;
bool g_fRamOnly = false;
bool g_fShowUserText = false;
bool g_fDebugGui = false;
std::int16_t g_modeEditor = MODEEDITOR_KeyAssignments;
bool g_fProgrammingQuorba = false;
