// The main window's inventory: its menus, buttons, options, labels, palette and
// selectors, where they stand and which procedure each of them runs.
#include <string>

#include "controls/ControlArt.h"
#include "editor/EditorArt.h"
#include "editor/frmMain.h"
#include "platform/Platform.h"

namespace forms {

namespace {

// Client area of the window (twips). The panel design area reaches x 9398 and the status
// line is centred on y 5835; a row of command buttons lies below it.
constexpr float kClientWidth = 9600;
constexpr float kClientHeight = 6600;

// Left column: the palette in Panel Designer, the view options in Key Assignments.
constexpr float kColumnLeft = 330;
// The option strips, the lines and the buttons share the column's edges; it is as wide
// as the longest option ("View Key Assignments") needs.
constexpr float kColumnWidth = 1980;
constexpr float kOptionWidth = kColumnWidth;
constexpr float kButtonHeight = 300;
constexpr float kOptionHeight = 255;
// Option buttons and check boxes sit on black strips of their own on the window's grey.
constexpr COLORREF kOptionBackColor = RGB(0, 0, 0);

// The table and the panel share the area right of the column.
constexpr float kAreaLeft = 2700;
constexpr float kAreaTop = 620;
constexpr float kAreaWidth = 9398 - 2700;
constexpr float kAreaHeight = 5500 - 620;

// Palette: swatches in one column, the picture centred in the rest of the palette area
// (x 240 to 2175, y 120 to 1935), its type name and the << >> labels under it, all above
// the column's buttons.
constexpr float kSwatchLeft = 225, kSwatchTop = 240, kSwatchPitch = 180, kSwatchWidth = 165, kSwatchHeight = 150;
constexpr float kPaletteItemLeft = 465, kPaletteItemTop = 135, kPaletteItemWidth = 1635, kPaletteItemHeight = 1365;
constexpr float kPaletteTypeTop = kPaletteItemTop + kPaletteItemHeight + 15;
constexpr float kPaletteLabelHeight = 210;

// Selectors: one row of players, four rows of switches, same columns.
constexpr float kSelectorX[4] = {330, 810, 1290, 1770};
constexpr float kSelectorWidth = 465, kSelectorHeight = 150;
constexpr float kPlayerRowTop = 3525;
constexpr float kSwitchRowTop[4] = {3900, 4080, 4260, 4440};

constexpr float kBottomRowTop = 6120;
constexpr COLORREF kLineColor = RGB(96, 96, 96);
constexpr COLORREF kLegendText = RGB(0, 0, 0);

const char* const kSwitchCaptions[17] = {"",     "UP",   "DOWN", "LEFT", "RIGHT", "SW 1", "SW 2", "SW 3",  "SW 4",
                                         "SW 5", "SW 6", "SW 7", "SW 8", "START", "COIN", "SW C", "SW D"};

platform::FontSpec Arial(float size, bool bold = false) {
    platform::FontSpec f;
    f.name = "Arial";
    f.size = size;
    f.bold = bold;
    return f;
}

// A label in the editor's colours on the window's dark grey.
void MakeLabel(platform::Label& l, platform::Window* parent, float left, float top, float width, float height,
               const std::string& caption, const platform::FontSpec& font) {
    l.SetFont(font);
    l.Create(parent, left, top, width, height, caption);
    l.SetTransparent(true);
    l.SetForeColor(frmMain::kTextColor);
}

}  // namespace

void frmMain::InitializeComponent() {
    SetCaption("Keyloom");
    SetBackColor(kBackColor);
    SetForeColor(kTextColor);
    // The whole window is laid out for this client area; Form_Resize keeps its height.
    Move(0, 0, kClientWidth + (Width() - ScaleWidth()), kClientHeight + (Height() - ScaleHeight()));
    // The keys of the editor go to the window whichever control has the focus.
    SetKeyPreview(true);

    CreateLabelsAndLines();
    CreatePalette();
    CreateSelectors();
    CreateOptions();
    CreateButtons();
    CreateMenus();
    CreatePopupMenus();
    CreateTemplates();

    timerBlink.SetInterval(250);
    timerBlink.SetEnabled(false);
    timerBlink.Tick = [this] { timerBlink_Timer(); };

    KeyDown = [this](int& keyCode, int shift) { Form_KeyDown(keyCode, shift); };
    KeyUp = [this](int& keyCode, int shift) { Form_KeyUp(keyCode, shift); };
    KeyPress = [this](int& keyAscii) { Form_KeyPress(keyAscii); };
    Click = [this] { Form_Click(); };
    MouseMove = [this](const platform::MouseEvent& e) { Form_MouseMove(e); };
}

void frmMain::CreateLabelsAndLines() {
    MakeLabel(lblModeTitle, this, kAreaLeft, 150, kAreaWidth, 400, "", Arial(14, true));
    lblModeTitle.SetAlignment(platform::Label::kCenter);
    lblModeTitle.AssignControlId(kIdModeTitle);

    MakeLabel(lblStatus, this, 120, 5835 - 120, kClientWidth - 240, 240, "", Arial(9, true));
    lblStatus.SetAlignment(platform::Label::kCenter);
    // Long texts (error reports) wrap; the line grows and stays centred on y 5835.
    lblStatus.SetAutoHeight(true);
    lblStatus.AssignControlId(kIdStatus);
    lblStatus.Change = [this] { lblStatus_Change(); };
    lblStatus.MouseMove = [this](const platform::MouseEvent& e) { lblStatus_MouseMove(e); };
    lblStatus.MouseDown = [this](const platform::MouseEvent& e) { lblStatus_MouseDown(e); };

    // Only its top matters: the client area ends there.
    MakeLabel(lblHeightAtRuntime, this, 0, kClientHeight, 600, 150, "", Arial(8));
    lblHeightAtRuntime.SetVisible(false);

    MakeLabel(lblDisplayMode, this, kColumnLeft, 2070, kColumnWidth, 210, "DISPLAY MODE", Arial(8, true));
    MakeLabel(lblQuorbaConnections, this, kColumnLeft, 3270, kColumnWidth + 300, 210, "QUORBA CONNECTIONS", Arial(8, true));
    lblQuorbaConnections.SetWordWrap(false);

    Line1.Create(this, kColumnLeft, 2850, kColumnLeft + kColumnWidth, 2850, kLineColor);
    Line2.Create(this, kColumnLeft, 3210, kColumnLeft + kColumnWidth, 3210, kLineColor);
    Line3.Create(this, kColumnLeft, 3780, kColumnLeft + kColumnWidth, 3780, kLineColor);
    Line4.Create(this, kColumnLeft, 2010, kColumnLeft + kColumnWidth, 2010, kLineColor);
    Line5.Create(this, kColumnLeft, 4035, kColumnLeft + kColumnWidth, 4035, kLineColor);

    // In Key Assignments the logo lies over the palette area and hides the palette.
    imgLogo.Create(this, 195, 120);
    imgLogo.SetPicture(EditorArt::Logo());

    // The table area: shown only while the table is rebuilt or the view changes.
    picBack.Create(this, kAreaLeft, kAreaTop, kAreaWidth, kAreaHeight);
    picBack.SetBackColor(kBackColor);
    picBack.SetVisible(false);

    pnlLegend.Create(this, kAreaLeft, kAreaTop, kAreaWidth, 300);
    pnlLegend.SetBackColor(kBackColor);
    pnlLegend.SetVisible(false);
    pnlLegend.MouseDown = [this](const platform::MouseEvent& e) { pnlLegend_MouseDown(e); };
    lblColorNormal.Create(&pnlLegend, 60, 60, 240, 150);
    lblCaptionNormal.Create(&pnlLegend, 360, 30, 900, 210, "Normal");
    lblColorShifted.Create(&pnlLegend, 1320, 60, 240, 150);
    lblCaptionShifted.Create(&pnlLegend, 1620, 30, 900, 210, "Shifted");
    for (platform::Label* l : {&lblCaptionNormal, &lblCaptionShifted}) {
        l->SetTransparent(true);
        l->SetForeColor(kTextColor);
    }
    for (platform::Label* l : {&lblColorNormal, &lblColorShifted}) l->SetForeColor(kLegendText);
}

void frmMain::LayoutLegend() {
    const float w = pnlLegend.Width(), h = pnlLegend.Height();
    const float swatch = 240, swatchHeight = 150, captionHeight = 210, gap = 60;
    if (w >= h) {
        const float top = (h - captionHeight) / 2;
        lblColorNormal.Move(gap, (h - swatchHeight) / 2, swatch, swatchHeight);
        lblCaptionNormal.Move(gap * 2 + swatch, top, 900, captionHeight);
        lblColorShifted.Move(gap * 4 + swatch + 900, (h - swatchHeight) / 2, swatch, swatchHeight);
        lblCaptionShifted.Move(gap * 5 + swatch * 2 + 900, top, 900, captionHeight);
    } else {
        const float left = (w - swatch) / 2, pitch = swatchHeight + captionHeight + gap * 2;
        lblColorNormal.Move(left, gap, swatch, swatchHeight);
        lblCaptionNormal.Move(0, gap + swatchHeight, w, captionHeight);
        lblColorShifted.Move(left, gap + pitch, swatch, swatchHeight);
        lblCaptionShifted.Move(0, gap + pitch + swatchHeight, w, captionHeight);
    }
    lblCaptionNormal.SetAlignment(w >= h ? platform::Label::kLeft : platform::Label::kCenter);
    lblCaptionShifted.SetAlignment(w >= h ? platform::Label::kLeft : platform::Label::kCenter);
}

void frmMain::CreatePalette() {
    for (int i = 0; i < 9; ++i) {
        platform::Label& swatch = lblColorSel[static_cast<std::size_t>(i)];
        swatch.Create(this, kSwatchLeft, kSwatchTop + kSwatchPitch * static_cast<float>(i), kSwatchWidth, kSwatchHeight);
        // Each swatch shows its colour: the tone the push-button pictures use for it.
        const ControlArt::Rgb tone = ControlArt::ButtonTone(i);
        swatch.SetBackColor(RGB(tone.r, tone.g, tone.b));
        swatch.MouseMove = [this, i](const platform::MouseEvent& e) { lblColorSel_MouseMove(i, e); };
        swatch.Click = [this, i] { lblColorSel_Click(i); };
    }
    shapePaletteColorHighlight.Create(this, kSwatchLeft, kSwatchTop, kSwatchWidth, kSwatchHeight, RGB(255, 255, 255));
    shapePaletteColorHighlight.SetVisible(false);

    imgPaletteItem.Create(this, kPaletteItemLeft, kPaletteItemTop, kPaletteItemWidth, kPaletteItemHeight);
    imgPaletteItem.SetBackColor(kBackColor);
    MakeLabel(lblPaletteItemType, this, kPaletteItemLeft, kPaletteTypeTop, kPaletteItemWidth, kPaletteLabelHeight, "",
              Arial(8, true));
    lblPaletteItemType.SetAlignment(platform::Label::kCenter);
    const float arrowsTop = kPaletteTypeTop + kPaletteLabelHeight;
    MakeLabel(btnPalettePrev, this, kPaletteItemLeft, arrowsTop, 450, kPaletteLabelHeight, "<<", Arial(9, true));
    MakeLabel(btnPaletteNext, this, kPaletteItemLeft + kPaletteItemWidth - 450, arrowsTop, 450, kPaletteLabelHeight,
              ">>", Arial(9, true));
    btnPalettePrev.SetAlignment(platform::Label::kCenter);
    btnPaletteNext.SetAlignment(platform::Label::kCenter);
    btnPalettePrev.MouseUp = [this](const platform::MouseEvent& e) { btnPalettePrev_MouseUp(e); };
    btnPaletteNext.MouseUp = [this](const platform::MouseEvent& e) { btnPaletteNext_MouseUp(e); };
    btnPalettePrev.MouseMove = [this](const platform::MouseEvent& e) { btnPalettePrev_MouseMove(e); };
    imgPaletteItem.MouseDown = [this](const platform::MouseEvent& e) { imgPaletteItem_MouseDown(e); };
    imgPaletteItem.MouseMove = [this](const platform::MouseEvent& e) { imgPaletteItem_MouseMove(e); };
    imgPaletteItem.MouseUp = [this](const platform::MouseEvent& e) { imgPaletteItem_MouseUp(e); };
}

void frmMain::CreateSelectors() {
    auto make = [](platform::Label& l, frmMain* form, float left, float top, const std::string& caption) {
        l.SetFont(Arial(6.75f, true));
        l.Create(form, left, top, kSelectorWidth, kSelectorHeight, caption);
        l.SetAlignment(platform::Label::kCenter);
        l.SetBackColor(kSelectorDisabled);
        l.SetForeColor(RGB(0, 0, 0));
        l.SetWordWrap(false);
    };
    for (int p = 1; p <= 4; ++p) {
        platform::Label& l = lblPlayerSel[static_cast<std::size_t>(p)];
        make(l, this, kSelectorX[p - 1], kPlayerRowTop, "P" + std::to_string(p));
        l.Click = [this, p] { lblPlayerSel_Click(static_cast<std::int16_t>(p)); };
    }
    for (int s = 1; s <= 16; ++s) {
        const int row = (s - 1) / 4, col = (s - 1) % 4;
        platform::Label& l = lblSwiSel[static_cast<std::size_t>(s)];
        make(l, this, kSelectorX[col], kSwitchRowTop[row], kSwitchCaptions[s]);
        l.MouseDown = [this, s](const platform::MouseEvent& e) { lblSwiSel_MouseDown(static_cast<std::int16_t>(s), e); };
    }
}

void frmMain::CreateOptions() {
    auto make = [this](VantoOption& o, float top, const std::string& caption, bool round, bool checked) {
        VantoOption::PropertyBag bag;
        bag.Write("Caption", caption);
        bag.Write("RoundStyle", round);
        bag.Write("Checked", checked);
        bag.Write("ForeColor", static_cast<std::int32_t>(kTextColor));
        bag.Write("BackColor", static_cast<std::int32_t>(kOptionBackColor));
        bag.Write("Font", Arial(8.25f));
        o.Create(this, kColumnLeft, top, kOptionWidth, kOptionHeight, bag);
    };
    // One pixel between the strips of a group.
    make(optViewPanel, 2295, "Panel View", true, true);
    make(optViewTable, 2565, "Table View", true, false);
    make(optKeysNormal, 2895, "Show Normal Keys", true, true);
    make(optKeysShifted, 3165, "Show Shifted Keys", true, false);
    make(optLabelWithKeys, 3465, "View Key Assignments", true, true);
    make(optLabelWithUserText, 3735, "View User Text", true, false);
    make(chkSnapControls, 4740, "Snap Controls", false, true);
    make(chkLockControls, 5010, "Lock Controls", false, false);

    optViewPanel.Click = [this] { optViewPanel_Click(); };
    optViewTable.Click = [this] { optViewTable_Click(); };
    optKeysNormal.Click = [this] { optKeysNormal_Click(); };
    optKeysShifted.Click = [this] { optKeysShifted_Click(); };
    optLabelWithKeys.Click = [this] { optLabelWithKeys_Click(); };
    optLabelWithUserText.Click = [this] { optLabelWithUserText_Click(); };
    chkSnapControls.Click = [this] { chkSnapControls_Click(); };
    chkLockControls.Click = [this] { chkLockControls_Click(); };
}

void frmMain::CreateButtons() {
    // Light grey buttons; only the mode switch and the launcher are dark.
    auto make = [this](LabelButton_& b, float left, float top, float width, const std::string& caption,
                       bool fNormalColors = true) {
        LabelButton_::PropertyBag bag{{"Caption", caption}};
        if (!fNormalColors) bag["NormalColors"] = false;
        b.Create(this, left, top, width, kButtonHeight, bag);
    };
    // Designer: panel files and clearing, in the column under the palette.
    make(btnOpenCpl, kColumnLeft, 2160, kColumnWidth, "Load Panel");
    make(btnSaveCplAs, kColumnLeft, 2520, kColumnWidth, "Save Panel");
    make(btnRemoveAllWidgets, kColumnLeft, 2880, kColumnWidth, "Clear Controls");
    // Key Assignments: key files and defaults, under the view options.
    make(btnOpenQbc, kColumnLeft, 4110, kColumnWidth, "Load Keys");
    make(btnSaveQbcAs, kColumnLeft, 4470, kColumnWidth, "Save Keys");
    make(btnRestoreDefaults, kColumnLeft, 4830, kColumnWidth, "Restore Defaults");
    // Both modes: the command row under the status line.
    make(btnToggleMode, kAreaLeft, kBottomRowTop, 2700, "Go To KEY ASSIGNMENT Mode", false);
    make(btnProgramQuorba, kAreaLeft + 2850, kBottomRowTop, 1200, "Program");
    make(btnShowOptionsDialog, kAreaLeft + 4200, kBottomRowTop, 1050, "Options");
    make(btnStartLauncher, kAreaLeft + 5400, kBottomRowTop, kAreaWidth - 5400, "START  LAUNCHER", false);
    btnToggleMode.AssignControlId(kIdToggleMode);

    btnToggleMode.Click = [this] { btnToggleMode_Click(); };
    btnProgramQuorba.Click = [this] { btnProgramQuorba_Click(); };
    btnStartLauncher.Click = [this] { btnStartLauncher_Click(); };
    btnShowOptionsDialog.Click = [this] { mToolsOptions_Click(); };
    btnRestoreDefaults.Click = [this] { mRestoreDefaults_Click(); };
    btnRemoveAllWidgets.Click = [this] { mClearControls_Click(); };
    btnOpenQbc.Click = [this] { mFileOpenKeyAsgn_Click(); };
    btnSaveQbcAs.Click = [this] { mFileSaveKeyAsgnAs_Click(); };
    btnOpenCpl.Click = [this] { mFileOpenPanel_Click(); };
    btnSaveCplAs.Click = [this] { mFileSavePanelAs_Click(); };

    struct PictureButton {
        platform::Image& image;
        platform::PicturePtr picture;
        const char* tip;
        std::function<void()> click;
    };
    const PictureButton pictures[] = {
        {btnHelpContents, EditorArt::HelpIcon(), "Keyloom Help", [this] { mHelpContents_Click(); }},
        {btnShowTestForm, EditorArt::TestIcon(), "Keyboard Test Mode", [this] { mTestWindow_Click(); }},
        {btnOnScreenKeyboard, EditorArt::KeyboardIcon(), "On Screen Keyboard", [this] { mOnScreenKeypad_Click(); }},
    };
    float left = kColumnLeft;
    for (const PictureButton& p : pictures) {
        p.image.Create(this, left, kBottomRowTop - 15);
        p.image.SetPicture(p.picture);
        p.image.SetMousePointer(99, LoadCursor(nullptr, IDC_HAND));
        p.image.Click = p.click;
        toolTips.Add(*this, p.image, p.tip);
        left += 540;
    }
}

void frmMain::CreateMenus() {
    // A form can be loaded again after an unload: the tree is built afresh each time.
    menuBar.Items().clear();
    auto item = [](platform::MenuItem* parent, const std::string& caption, std::function<void()> click = {}) {
        platform::MenuItem& m = parent->Add(caption);
        m.Click = std::move(click);
        return &m;
    };
    auto sep = [](platform::MenuItem* parent) { return &parent->AddSeparator(); };

    zFile = item(&menuBar, "&File");
    zFile->Opening = [this] { zFile_Click(); };
    zFileNewPanel = item(zFile, "&New Panel");
    mNewPanelDefault = item(zFileNewPanel, "&Default", [this] { mNewPanelDefault_Click(); });
    mNewPanelEmpty = item(zFileNewPanel, "&Empty", [this] { mNewPanelEmpty_Click(); });
    zSepNewPanelEmpty = sep(zFileNewPanel);
    for (int i = 0; i < 20; ++i) {
        mNewPanel[static_cast<std::size_t>(i)] = item(zFileNewPanel, "", [this, i] { mNewPanel_Click(i); });
        mNewPanel[static_cast<std::size_t>(i)]->SetVisible(false);
    }
    mFileOpenPanel = item(zFile, "Open &Panel...", [this] { mFileOpenPanel_Click(); });
    mFileSavePanel = item(zFile, "&Save Panel");
    mFileSavePanel->SetVisible(false);
    mFileSavePanelAs = item(zFile, "&Save Panel As...", [this] { mFileSavePanelAs_Click(); });
    zFileSepPanel = sep(zFile);
    zFileNewKeyAsgn = item(zFile, "&New Key Assignments");
    mNewKeyAsgnDefaults = item(zFileNewKeyAsgn, "&Defaults", [this] { mNewKeyAsgnDefaults_Click(); });
    zNewKeyAsgnDefaultsSep = sep(zFileNewKeyAsgn);
    for (int i = 0; i < 20; ++i) {
        mNewKeyAsgn[static_cast<std::size_t>(i)] = item(zFileNewKeyAsgn, "", [this, i] { mNewKeyAsgn_Click(i); });
        mNewKeyAsgn[static_cast<std::size_t>(i)]->SetVisible(false);
    }
    mFileOpenKeyAsgn = item(zFile, "&Open Key Assignments...", [this] { mFileOpenKeyAsgn_Click(); });
    zFileOpenRecentKeyAsgn = item(zFile, "Open &Recent");
    zFileOpenRecentKeyAsgn->SetVisible(false);
    mRecentFile[0] = item(zFileOpenRecentKeyAsgn, "<none>");
    mRecentFile[0]->SetEnabled(false);
    zFileSepKeyAsgnOpen = sep(zFile);
    mFileSaveKeyAsgn = item(zFile, "&Save Key Assignments", [this] { mFileSaveKeyAsgn_Click(); });
    mFileSaveKeyAsgn->SetVisible(false);
    mFileSaveKeyAsgnAs = item(zFile, "Save Key Assignments &As...", [this] { mFileSaveKeyAsgnAs_Click(); });
    zFileSepKeyAsgnEnd = sep(zFile);
    mFileExit = item(zFile, "E&xit", [this] { mFileExit_Click(); });

    zEdit = item(&menuBar, "&Edit");
    mProgramQuorba = item(zEdit, "&Program Quorba", [this] { mProgramQuorba_Click(); });
    mDefineMacros = item(zEdit, "Define &Macros...", [this] { mDefineMacros_Click(); });
    zEditSep0 = sep(zEdit);
    mSnapToGrid = item(zEdit, "&Snap To Grid", [this] { mSnapToGrid_Click(); });
    mSnapToGrid->SetChecked(true);
    mLockControls = item(zEdit, "&Lock Controls", [this] { mLockControls_Click(); });
    zEditSep1 = sep(zEdit);
    mRestoreDefaults = item(zEdit, "&Restore Defaults", [this] { mRestoreDefaults_Click(); });
    mClearControls = item(zEdit, "&Clear Controls", [this] { mClearControls_Click(); });

    zMode = item(&menuBar, "&Mode");
    mModeDesign = item(zMode, "&Panel Designer", [this] { mModeDesign_Click(); });
    mModeAssign = item(zMode, "&Key Assignments Editor", [this] { mModeAssign_Click(); });

    // Each View item runs exactly the handler of its option button.
    zView = item(&menuBar, "&View");
    mViewAsTable = item(zView, "As &Table", [this] { optViewTable_Click(); });
    mViewAsPanel = item(zView, "As &Panel", [this] { optViewPanel_Click(); });
    zViewSep0 = sep(zView);
    mViewNormalKeys = item(zView, "&Normal Keys", [this] { optKeysNormal_Click(); });
    mViewShiftedKeys = item(zView, "&Shifted Keys", [this] { optKeysShifted_Click(); });
    zViewSep1 = sep(zView);
    mViewKeycodeAssignments = item(zView, "&Key Assignments", [this] { optLabelWithKeys_Click(); });
    mViewUserText = item(zView, "&User Text", [this] { optLabelWithUserText_Click(); });

    zTools = item(&menuBar, "&Tools");
    mTestWindow = item(zTools, "&Test Mode", [this] { mTestWindow_Click(); });
    mOnScreenKeypad = item(zTools, "On Screen &Keyboard", [this] { mOnScreenKeypad_Click(); });
    zToolsSep0 = sep(zTools);
    mStartLauncher = item(zTools, "Start &Launcher", [this] { mStartLauncher_Click(); });
    zToolsSep1 = sep(zTools);
    mToolsOptions = item(zTools, "&Options", [this] { mToolsOptions_Click(); });

    zHelp = item(&menuBar, "&Help");
    mHelpContents = item(zHelp, "&Contents", [this] { mHelpContents_Click(); });
    zHelpSep0 = sep(zHelp);
    mHelpAbout = item(zHelp, "&About Keyloom", [this] { mHelpAbout_Click(); });

    SetMenu(&menuBar);
}

void frmMain::CreatePopupMenus() {
    mPopupKeyAsgn.Items().clear();
    mPopupShiftDefn.Items().clear();
    const char* const special[6] = {"Left Windows", "Application", "Power", "Sleep", "Wake", "None"};
    for (int i = 0; i < 6; ++i) {
        platform::MenuItem& m = mPopupKeyAsgn.Add(special[i]);
        m.Click = [this, i] { mKeysSpecial_Click(i); };
        mKeysSpecial[static_cast<std::size_t>(i)] = &m;
    }
    mPopupKeyAsgn.AddSeparator();
    for (int i = 0; i < 4; ++i) {
        platform::MenuItem& m = mPopupKeyAsgn.Add("Macro " + std::to_string(i + 1));
        m.Click = [this, i] { mKeysMacros_Click(i); };
        mKeysMacros[static_cast<std::size_t>(i)] = &m;
    }
    mPopupKeyAsgn.AddSeparator();
    mKeysDefineMacros = &mPopupKeyAsgn.Add("Define Macros...");
    mKeysDefineMacros->Click = [this] { mDefineMacros_Click(); };
    mShiftDefnNone = &mPopupShiftDefn.Add("None");
    mShiftDefnNone->Click = [this] { mShiftDefnNone_Click(); };
}

void frmMain::CreateTemplates() {
    // A window loaded again starts with empty arrays, like a new one.
    m_iswiSelected = nullptr;
    m_cellPendingShiftDefn = nullptr;
    m_colWidgets.clear();
    m_colCells.clear();
    awidgets.clear();
    alblWidgetCaptions.clear();
    acells.clear();
    // Member 0 of each control array: never shown, never listed, never removed.
    auto widget = std::make_unique<CplWidget>();
    widget->Create(this, this);
    widget->CtlArrayIndex = 0;
    awidgets[0] = std::move(widget);
    auto caption = std::make_unique<platform::Label>();
    caption->SetFont(Arial(6));
    caption->Create(this, 0, 0, 0, 0);
    caption->SetTransparent(true);
    caption->SetForeColor(RGB(255, 255, 255));
    caption->SetVisible(false);
    alblWidgetCaptions[0] = std::move(caption);
    auto cell = std::make_unique<TableCell>();
    cell->Create(this, this);
    cell->CtlArrayIndex = 0;
    acells[0] = std::move(cell);
}

}  // namespace forms
