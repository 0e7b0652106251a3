#pragma once
// The user's per-application settings: text values addressed by application,
// section and key, and the position and size of a window kept there (in twips,
// as the text of a single-precision number, under the window's name followed by
// "Left", "Top", "Width" and "Height").
//
// The store and the windows are reached through the small interfaces below, so
// the rules stay free of Windows; the Windows program installs the per-user
// registry and its forms (core/Registry_win.h).
#include <string>
#include <vector>

namespace Registry_ {

// Stands for the default section set by Initialize.
inline constexpr const char* kDefaultSection = "<default section>";

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    // The stored text, or false when there is none.
    virtual bool Get(const std::string& sApp, const std::string& sSection, const std::string& sKey,
                     std::string& sValue) = 0;
    virtual void Save(const std::string& sApp, const std::string& sSection, const std::string& sKey,
                      const std::string& sValue) = 0;
};
// Installs a store (not owned); nullptr restores the built-in one, which keeps the
// values in memory for the run.
void SetSettingsStore(ISettingsStore* store);
ISettingsStore& SettingsStore();

// A window as the position procedures see it; geometry in twips, a form's on the screen.
class IWindowPlacement {
public:
    virtual ~IWindowPlacement() = default;
    virtual float Left() = 0;
    virtual float Top() = 0;
    virtual float Width() = 0;
    virtual float Height() = 0;
    virtual bool Visible() = 0;
    // 0 normal, 1 reduced to an icon, 2 maximized.
    virtual int WindowState() = 0;
    virtual void Move(float left, float top) = 0;
    virtual void Move(float left, float top, float width, float height) = 0;
};

// A rectangle in twips of the screen: left and top inside, right and bottom outside.
struct ScreenRect {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
};

// How much of a window's title bar the user needs to take it with the pointer: a piece
// gripWidth wide (twips) and at least half as high as the bar (barHeight, the frame
// above the caption included). Windows itself keeps some 30 pixels of a caption on
// the screen when a window is dragged.
struct TitleBarGrip {
    float barHeight = 0;
    float gripWidth = 0;
};
inline constexpr float kGripPixels = 30;

// The screen and the program's active form, for centring.
class IScreen {
public:
    virtual ~IScreen() = default;
    virtual float Width() = 0;   // twips
    virtual float Height() = 0;  // twips
    // The program's active form, or nullptr.
    virtual IWindowPlacement* ActiveForm() = 0;
    // The application's title (the name used when Initialize is given none).
    virtual std::string AppTitle() = 0;
    // The monitors attached now, in twips, the primary one's top left at 0, 0 (one left
    // of or above it has negative coordinates). By default the screen alone.
    virtual std::vector<ScreenRect> Monitors() { return {ScreenRect{0, 0, Width(), Height()}}; }
    // By default a bar of 23 pixels and a grip of 30, at 15 twips per pixel.
    virtual TitleBarGrip Grip() { return {23 * 15.0f, kGripPixels * 15.0f}; }
};
// Installs the screen (not owned); nullptr restores the built-in one (1280 x 1024
// pixels at 15 twips each, no active form, title "Keyloom").
void SetScreen(IScreen* screen);
IScreen& Screen();

// Whether a window at left, top, as wide as width (twips), shows enough of its title bar
// on one of the monitors for the user to move it: the grip lies wholly on that monitor.
bool IsTitleBarReachable(float left, float top, float width, const TitleBarGrip& grip,
                         const std::vector<ScreenRect>& monitors);

// Sets the application name (sAppName trimmed, or the application's title when
// that is empty) and the default section (sSectionDefault trimmed; an empty one
// is reported).
void Initialize(const std::string& sSectionDefault, const std::string& sAppName);
// The application name set by Initialize (empty before).
std::string AppName();
// kDefaultSection becomes the default section; other names stay as they are.
std::string ResolveSection(const std::string& sSection);

void SaveSingle(const std::string& sKey, float sngValue, const std::string& sSection = kDefaultSection);
std::string GetString(const std::string& sKey, const std::string& sDefault,
                      const std::string& sSection = kDefaultSection);
// sngDefault when nothing is stored (or the stored text is not a number).
float GetSingle(const std::string& sKey, float sngDefault, const std::string& sSection = kDefaultSection);
// The text a single-precision number is stored as: its shortest exact form ("1500", "-12.5").
std::string SingleToText(float v);

// Saves left, top, width and height under sName... when the window is visible and
// neither reduced to an icon nor maximized.
void SaveWindowPosition(const std::string& sName, IWindowPlacement& frm);
// Moves the window to its saved position (and size, unless fKeepSize) when the
// saved values are plausible and returns true; otherwise centres it over the
// active form or the screen and returns false. Values that would leave the window's
// title bar out of reach on every monitor attached now (saved on a larger screen, or
// on a monitor since removed) are not plausible.
bool RestoreWindowPosition(const std::string& sName, IWindowPlacement& frm, bool fKeepSize);

}  // namespace Registry_
