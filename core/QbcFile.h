#pragma once
// The key-assignment store of the run (key, user text, shift inputs, macros), the
// board's switch orders, the conversions between the store and the flat arrays that a
// programming run and a key-assignment file (".qbc") use, and that file's reader and
// writer.
//
// Changes through SetSwiKey / SetSwiUserText / ApplyAssignmentArrays refresh the main
// window through Host().UpdateSwiBindings, except in command-line mode and while
// assignments are being loaded.
#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>

// Store, indexed by the swi itself (100 to 499; elements below 100 are never used).
extern std::array<std::uint8_t, 500> g_abSwiKeys;       // IBM key number, 0 = none
extern std::array<std::string, 500> g_asSwiUserText;    // user text, empty = none
// Shift input of a player pair: slot 1 players 1-2 (0 or 101-216), slot 3 players 3-4
// (0 or 301-416); slots 0, 2 and 4 are not used.
extern std::array<std::int32_t, 5> g_aswiShift;
// Macro m key k at 4 x (m - 1) + (k - 1); the macro window writes it directly.
extern std::array<std::uint8_t, 16> g_abMacroKeys;
// True while ApplyAssignmentArrays runs.
extern bool g_fLoadingAssignments;

namespace QbcFile {

// Key array of one player pair: element 0 the QBC shift-key index, 1-64 the IBM key
// numbers in the board's download order.
using KeyArray = std::array<std::uint8_t, 65>;
// User texts in the board's text order (slots 0-113).
using TextArray = std::array<std::string, 114>;

// Store accessors (invalid ids are reported and treated as none).
std::uint8_t GetSwiKey(std::int16_t swi);
void SetSwiKey(std::int16_t swi, std::uint8_t key);
std::string GetSwiUserText(std::int16_t swi);
void SetSwiUserText(std::int16_t swi, const std::string& sText);
std::int32_t GetShiftSwi(std::int16_t swi);
void SetShiftSwi(std::int16_t swi, std::int32_t swiShift);

// Switch orders: builds the five position tables once (later calls do nothing).
void InitSwiOrderTables();
// One switch-name token ("1u", "^2s", "3^", "xx") to its id; 0 for "xx" and bad tokens.
std::int32_t ParseSwiName(const std::string& sSwiName);
// Position in the download order of boardType (order of players 1-2; an id of players
// 3-4 sets fP34 and is looked up 200 lower); 0 when absent, -1 for an invalid id.
std::int16_t GetDownloadPosOfSwi(std::int16_t boardType, std::int32_t swi, bool& fP34);
// Text slot of the id in the text order of boardType; 0 when it has none.
std::int16_t GetTextIndexOfSwi(std::int16_t boardType, std::int32_t swi);

// Store to arrays (for the board of g_typeQuorba) and back. The arrays come in cleared.
void BuildAssignmentArrays(std::int16_t boardType, KeyArray& ab12, KeyArray& ab34, TextArray& asText);
void ApplyAssignmentArrays(std::int16_t boardType, const KeyArray& ab12, const KeyArray& ab34,
                           const TextArray& asText);

// Shift input <-> QBC shift-key index (its place in the board's text order, folded to
// one player pair): 1-28, Quorba/Vexo 1-32; 0 none.
std::int32_t ShiftSwiToQbcShiftKey(std::int16_t boardType, std::int32_t swiShift);
std::int32_t QbcShiftKeyToShiftSwi(std::int16_t boardType, std::int32_t index, bool fP34);
// QBC shift-key index to the shift-key code the board of g_typeQuorba expects.
std::int32_t QbcShiftKeyToQuorbaShiftKey(std::int32_t index);
std::int32_t QbcShiftKeyToQuorbaShiftKey_2Or4e(std::int32_t index);
std::int32_t QbcShiftKeyToQuorbaShiftKey_Vexo(std::int32_t index);

// Program folder & "\Templates\Default-2.qbc" (4: Default-4.qbc, 5: Default-VEXO.qbc).
std::string GetDefaultQbcTemplatePath();

// Writes the store as a key-assignment file for the board of g_typeQuorba. The old file
// is replaced only by a complete new one; throws Util::FileWriteError on failure.
void SaveQbcFile(const std::string& sPath);
// Reads a key-assignment file into the store. A file that cannot be opened or read, or
// is empty, throws Util::FileReadError and leaves the store as it was; the lines of a
// file that can be read are taken leniently (the reader's rules). Callers check that
// the file exists.
void LoadQbcFile(const std::string& sPath);
// The same, on text already at hand: WriteQbcTo gives exactly the bytes of the file;
// ReadQbcFrom reads from in, or as from a file that could not be opened when in is null.
void WriteQbcTo(std::ostream& out);
void ReadQbcFrom(std::istream* in);

}  // namespace QbcFile
