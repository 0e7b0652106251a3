#pragma once
// The main editor window: the program's only top-level window in editor mode. It shows
// the user's control panel (panel controls with their captions) or, in Key Assignments,
// a table of every input of the board, and works in one of two modes: Panel Designer
// (draw and wire the panel) and Key Assignments (give every input its key or text).
//
// One class, several files, one concern each:
//   frmMain_Controls.cpp   the window's inventory: menus, buttons, options, palette, selectors
//   frmMain_Life.cpp       loading, resizing, closing, the host questions of the controls
//   frmMain_Keyboard.cpp   key presses and releases, the right-click menus
//   frmMain_Modes.cpp      the two editor modes and what each shows
//   frmMain_Views.cpp      view options, lock option, status line, blink timer
//   frmMain_Widgets.cpp    panel controls: adding, removing, selection, captions, hover texts
//   frmMain_Table.cpp      the table view and user-text entry
//   frmMain_CplFile.cpp    the panel-layout file
//   frmMain_Designer.cpp   palette, dragging and wiring
//   frmMain_Files.cpp      file commands and templates
//   frmMain_Commands.cpp   the remaining commands of menus and buttons
// The pure rules live beside them: CplFormat (layout lines), TableWalk (table geometry),
// WidgetTexts (caption and hover texts).
#include <array>
#include <bitset>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/CplWidget.h"
#include "controls/ISwi.h"
#include "controls/ImageStretched_.h"
#include "controls/LabelButton_.h"
#include "controls/TableCell.h"
#include "controls/VantoOption.h"
#include "platform/Controls.h"
#include "platform/Window.h"

namespace forms {

class frmMain : public platform::Form, public ICplWidgetHost, public ITableCellHost {
public:
    // Control ids, for automation from another process.
    static constexpr int kIdStatus = 201;
    static constexpr int kIdToggleMode = 202;
    static constexpr int kIdModeTitle = 203;

    // The editor's colours (0x00BBGGRR).
    static constexpr COLORREF kBackColor = RGB(40, 40, 40);
    static constexpr COLORREF kTextColor = RGB(192, 192, 192);
    static constexpr COLORREF kCaptionHighlight = 0x00FFFF;  // yellow: caption being edited
    static constexpr COLORREF kSelectorNormal = 0xFFC0C0;
    static constexpr COLORREF kSelectorLit = 0xFFFF00;
    static constexpr COLORREF kSelectorDisabled = 0x404040;

    frmMain();
    ~frmMain() override;

    // ---------------------------------------------------------------- controls
    platform::Label lblStatus;
    platform::Label lblHeightAtRuntime;  // the client area ends at its top
    platform::Label lblModeTitle;
    platform::Label lblDisplayMode;
    platform::Label lblQuorbaConnections;
    platform::Label picBack;  // the table area; also covers it while the table is rebuilt
    platform::Image imgLogo;
    platform::UserControl pnlLegend;
    platform::Label lblColorNormal, lblCaptionNormal, lblColorShifted, lblCaptionShifted;
    platform::Line Line1, Line2, Line3, Line4, Line5;

    LabelButton_ btnToggleMode, btnProgramQuorba, btnStartLauncher, btnShowOptionsDialog, btnRestoreDefaults,
        btnRemoveAllWidgets, btnOpenQbc, btnSaveQbcAs, btnOpenCpl, btnSaveCplAs;
    platform::Image btnHelpContents, btnShowTestForm, btnOnScreenKeyboard;
    platform::ToolTip toolTips;

    VantoOption chkSnapControls, chkLockControls;
    VantoOption optViewPanel, optViewTable, optKeysNormal, optKeysShifted, optLabelWithKeys, optLabelWithUserText;

    // Palette and selectors of Panel Designer.
    ImageStretched_ imgPaletteItem;
    platform::Label lblPaletteItemType;
    platform::Label btnPalettePrev, btnPaletteNext;
    std::array<platform::Label, 9> lblColorSel;      // index = colour index
    platform::Shape shapePaletteColorHighlight;
    std::array<platform::Label, 5> lblPlayerSel;     // members 1 to 4
    std::array<platform::Label, 17> lblSwiSel;       // members 1 to 16 (SelectorIndex)

    // Control arrays; member 0 of each is the hidden design-time template.
    std::map<std::int16_t, std::unique_ptr<CplWidget>> awidgets;
    std::map<std::int16_t, std::unique_ptr<platform::Label>> alblWidgetCaptions;
    std::map<std::int16_t, std::unique_ptr<TableCell>> acells;

    platform::Timer timerBlink;

    // ---------------------------------------------------------------- menus
    platform::MenuItem menuBar;
    platform::MenuItem *zFile = nullptr, *zFileNewPanel = nullptr, *mNewPanelDefault = nullptr,
                       *mNewPanelEmpty = nullptr, *zSepNewPanelEmpty = nullptr, *mFileOpenPanel = nullptr,
                       *mFileSavePanel = nullptr, *mFileSavePanelAs = nullptr, *zFileSepPanel = nullptr,
                       *zFileNewKeyAsgn = nullptr, *mNewKeyAsgnDefaults = nullptr, *zNewKeyAsgnDefaultsSep = nullptr,
                       *mFileOpenKeyAsgn = nullptr, *zFileOpenRecentKeyAsgn = nullptr, *zFileSepKeyAsgnOpen = nullptr,
                       *mFileSaveKeyAsgn = nullptr, *mFileSaveKeyAsgnAs = nullptr, *zFileSepKeyAsgnEnd = nullptr,
                       *mFileExit = nullptr;
    std::array<platform::MenuItem*, 20> mNewPanel{};
    std::array<platform::MenuItem*, 20> mNewKeyAsgn{};
    std::array<platform::MenuItem*, 1> mRecentFile{};
    platform::MenuItem *zEdit = nullptr, *mProgramQuorba = nullptr, *mDefineMacros = nullptr, *zEditSep0 = nullptr,
                       *mSnapToGrid = nullptr, *mLockControls = nullptr, *zEditSep1 = nullptr,
                       *mRestoreDefaults = nullptr, *mClearControls = nullptr;
    platform::MenuItem *zMode = nullptr, *mModeDesign = nullptr, *mModeAssign = nullptr;
    platform::MenuItem *zView = nullptr, *mViewAsTable = nullptr, *mViewAsPanel = nullptr, *zViewSep0 = nullptr,
                       *mViewNormalKeys = nullptr, *mViewShiftedKeys = nullptr, *zViewSep1 = nullptr,
                       *mViewKeycodeAssignments = nullptr, *mViewUserText = nullptr;
    platform::MenuItem *zTools = nullptr, *mTestWindow = nullptr, *mOnScreenKeypad = nullptr, *zToolsSep0 = nullptr,
                       *mStartLauncher = nullptr, *zToolsSep1 = nullptr, *mToolsOptions = nullptr;
    platform::MenuItem *zHelp = nullptr, *mHelpContents = nullptr, *zHelpSep0 = nullptr, *mHelpAbout = nullptr;
    // The right-click menus: top-level menus that are never on the menu bar.
    platform::MenuItem mPopupKeyAsgn{"Special Keys"};
    platform::MenuItem mPopupShiftDefn;
    std::array<platform::MenuItem*, 6> mKeysSpecial{};
    std::array<platform::MenuItem*, 4> mKeysMacros{};
    platform::MenuItem *mKeysDefineMacros = nullptr, *mShiftDefnNone = nullptr;

    // ---------------------------------------------------------------- state
    ISwi* m_iswiSelected = nullptr;               // panel control or table cell; not owned
    TableCell* m_cellPendingShiftDefn = nullptr;  // not owned
    std::string m_sStatusOwner;
    std::vector<CplWidget*> m_colWidgets;  // live panel controls in creation order; not owned
    std::int16_t m_iNextWidgetIndex = 1;
    std::vector<TableCell*> m_colCells;    // live table cells in creation order; not owned
    std::int16_t m_iNextCellIndex = 1;
    std::string m_sEditText, m_sOldText;
    // The input those two texts belong to; 0 when no user text is being typed.
    std::int32_t m_swiEditText = 0;
    std::int16_t m_iPaletteType = 0, m_iPaletteColor = 0;
    // The keys (IBM key numbers) whose inputs a press lit and no release has put out yet.
    std::bitset<256> m_keysLit;
    // Set when the launcher took over (after its own saves): closing then saves nothing.
    bool m_fEndingWithoutSaves = false;
    // The working files "Keyloom.qbc" and "Keyloom.cpl": one that was there but could not
    // be read at start is not written over without the user's yes, until the user saves
    // over it or loads another document in its place.
    enum class WorkingFile { Keys, Panel };
    struct UnreadWorkingFile {
        bool fUnread = false;
        std::string sWhy;
    };
    std::array<UnreadWorkingFile, 2> m_unreadWorkingFiles;
    std::string WorkingFilePath(WorkingFile which);
    // Tells the user and marks the file (start-up, for the key file; the load, for the panel).
    void WorkingFileUnread(WorkingFile which, const std::string& sWhy);
    // The document of that kind now comes from sFile (loaded) or went to it (saved): the
    // working file no longer needs asking about when sFile is the file that was unread.
    void WorkingFileLoaded(WorkingFile which);
    void WorkingFileSavedTo(WorkingFile which, const std::string& sFile);
    // The saves of a close: both working files and the window position. A working file
    // that cannot be written is reported with the question whether to go on; false when
    // the user chose to go back to the editor.
    bool SaveWorkingFiles();
    // The saves ran when Windows asked whether its session may end: its end saves nothing more.
    bool m_fSavedForSessionEnd = false;
    float m_xPaletteHome = 0, m_yPaletteHome = 0, m_cxPaletteHome = 0, m_cyPaletteHome = 0;
    // The panel-layout reader's joysticks and arrows in file order (not owned).
    std::vector<CplWidget*> m_colLoadJoysticks, m_colLoadArrowsU, m_colLoadArrowsD, m_colLoadArrowsL,
        m_colLoadArrowsR;

    // ---------------------------------------------------------------- public procedures
    void EnableGuiForQuorbaType();
    void UpdateSwiBindings(std::int32_t swi);
    void LayoutTableCells();
    void CplLoad(const std::string& sNameFile);
    void Load_QBC(const std::string& sFile);

    // ---------------------------------------------------------------- modes
    void EnterPanelDesigner(bool fQuiet);
    void EnterKeyAssignments(bool fQuiet);
    void ApplyMode(bool fQuiet);
    void EndCurrentEdit();
    void EndDesignerEdit();
    void EndKeyEdit();
    void ShowKeyAssignmentsGui();
    void SetKeyAssignmentsTitles();
    void SetPanelDesignerTitles();
    void ShowDesignerControls(bool fDesign);
    void ShowWidgets(bool fVisible);
    void ShowPanelFileMenus(bool fVisible);
    void ShowQbcFileMenus(bool fVisible);
    void ShowPanelView();
    void ShowKeyLabels();
    void ShowUserTextLabels();
    void btnToggleMode_Click();
    void mModeDesign_Click();
    void mModeAssign_Click();

    // ---------------------------------------------------------------- views and status line
    void ShowTableView();
    void optViewPanel_Click();
    void optViewTable_Click();
    void optKeysNormal_Click();
    void optKeysShifted_Click();
    void optLabelWithKeys_Click();
    void optLabelWithUserText_Click();
    void chkLockControls_Click();
    void SetStatus(const std::string& sText, const std::string& sOwner);
    void ClearStatus();
    void lblStatus_Change();
    void lblStatus_MouseMove(const platform::MouseEvent& e);
    void lblStatus_MouseDown(const platform::MouseEvent& e);
    void timerBlink_Timer();

    // ---------------------------------------------------------------- panel controls
    CplWidget& AddWidget(std::int32_t swiBase, const std::string& sType, std::int16_t iColor);
    void RemoveWidget(CplWidget& widget);
    void RemoveAllWidgets();
    void RemoveWidgetFromCollection(CplWidget& widget);
    void SelectSwi(ISwi* iswi);
    void DeselectSwi();
    void RefreshAllWidgetCaptions();
    void RefreshWidgetCaption(CplWidget& widget);
    void ColorWidgetCaption(platform::Label& label);
    void BlinkSwisOfKey(std::uint8_t key, std::int32_t blnk);
    bool IsSwiAssignedKey(std::uint8_t key, std::int32_t swi);
    void ShowSwiDescription(ISwi& iswi);
    void ShowBindingDescription(ISwi& iswi);
    void awidgets_MouseDown(std::int16_t index, const platform::MouseEvent& e);
    void awidgets_MouseMove(std::int16_t index, const platform::MouseEvent& e);
    void awidgets_MouseUp(std::int16_t index, const platform::MouseEvent& e);
    void alblWidgetCaptions_Change(std::int16_t index);
    void alblWidgetCaptions_MouseDown(std::int16_t index, const platform::MouseEvent& e);
    void alblWidgetCaptions_MouseMove(std::int16_t index, const platform::MouseEvent& e);
    // The live panel control of that index, nullptr for the template and unknown ones.
    CplWidget* WidgetAt(std::int16_t index);

    // ---------------------------------------------------------------- table view
    TableCell& AddTableCell(std::int32_t swi);
    void RemoveAllTableCells();
    void RemoveTableCell(TableCell& cell);
    void RemoveTableCellFromCollection(TableCell& cell);
    void ShowTableCells(bool fVisible);
    void acells_MouseDown(std::int16_t index, const platform::MouseEvent& e);
    void acells_MouseMove(std::int16_t index, const platform::MouseEvent& e);
    void EditKeyDown(int keyCode, std::int32_t swi);
    void EditKeyPress(int keyAscii, std::int32_t swi);
    // Starts typing a user text for the input: its text so far is kept for Esc.
    void BeginTextEdit(std::int32_t swi);
    TableCell* CellAt(std::int16_t index);

    // ---------------------------------------------------------------- panel-layout file
    void CplSave(const std::string& sFile);
    std::string CplFormatWidgetFields(CplWidget& widget);
    void CplAddWidgetFromRecord(const std::string& sCode, float left, float top, float width, float height,
                                std::int16_t player, std::int16_t selector, const std::string& sLine);
    void CplAttachArrow(CplWidget& arrow, std::vector<CplWidget*>& collection);

    // ---------------------------------------------------------------- palette, dragging, wiring
    void ShowPaletteItem();
    // The palette's swatches, picture, type name and << >>: shown in Panel Designer only.
    void ShowPalette(bool fVisible);
    void ResetPaletteItem();
    void SyncPaletteToSelection();
    void DragControl(platform::Window& ctl);
    bool IsInPanelArea(const platform::Window& ctl);
    bool IsInPaletteArea(const platform::Window& ctl);
    std::int16_t SwiToSelectorIndex(std::int32_t swi);
    std::int32_t SelectorIndexToSwiKind(std::int16_t index);
    void ShowSelectionInSelectors();
    void ResetPlayerSelectors();
    void ResetSwitchSelectors();
    void DisableSelectors();
    void imgPaletteItem_MouseDown(const platform::MouseEvent& e);
    void imgPaletteItem_MouseMove(const platform::MouseEvent& e);
    void imgPaletteItem_MouseUp(const platform::MouseEvent& e);
    void btnPalettePrev_MouseUp(const platform::MouseEvent& e);
    void btnPaletteNext_MouseUp(const platform::MouseEvent& e);
    void btnPalettePrev_MouseMove(const platform::MouseEvent& e);
    void lblColorSel_Click(int index);
    void lblColorSel_MouseMove(int index, const platform::MouseEvent& e);
    void lblSwiSel_MouseDown(std::int16_t index, const platform::MouseEvent& e);
    void lblPlayerSel_Click(std::int16_t index);
    void DesignerMouseMove(CplWidget& widget, const platform::MouseEvent& e);
    void DesignerMouseUp(CplWidget& widget, const platform::MouseEvent& e);

    // ---------------------------------------------------------------- files and templates
    void zFile_Click();
    void mNewPanelDefault_Click();
    void mNewPanelEmpty_Click();
    void mNewPanel_Click(int index);
    void mFileOpenPanel_Click();
    void mFileSavePanelAs_Click();
    void mNewKeyAsgnDefaults_Click();
    void mNewKeyAsgn_Click(int index);
    void mFileOpenKeyAsgn_Click();
    void mFileSaveKeyAsgn_Click();
    void mFileSaveKeyAsgnAs_Click();
    void mRestoreDefaults_Click();
    // The save dialog for a panel layout; an empty name when cancelled.
    std::string AskPanelFileToSave();
    void OpenPanelFile();
    // True only when the panel was written: a cancelled dialog and a failed save
    // (reported) answer false.
    bool SavePanelFileAs();
    // Writes the panel layout; a failure is reported under sProcedure and answers false.
    bool SavePanelFile(const std::string& sFile, const char* sProcedure);
    void LoadDefaultKeyAssignments();
    // The file behind each template entry of the File menu, and the highest entry in use
    // (-1: none); rebuilt whenever the File menu opens.
    std::array<std::string, 20> m_asCplTemplatePaths, m_asQbcTemplatePaths;
    int m_iLastCplTemplate = -1, m_iLastQbcTemplate = -1;

    // ---------------------------------------------------------------- commands
    void mFileExit_Click();
    void mProgramQuorba_Click();
    void btnProgramQuorba_Click();
    void mDefineMacros_Click();
    void mSnapToGrid_Click();
    void chkSnapControls_Click();
    void mLockControls_Click();
    void mClearControls_Click();
    void mTestWindow_Click();
    void mOnScreenKeypad_Click();
    void mStartLauncher_Click();
    // Start Launcher under an error trap (the button's command).
    void btnStartLauncher_Click();
    // Whether the launcher program is there to be started.
    bool LauncherExists();
    void mToolsOptions_Click();
    void mHelpContents_Click();
    void mHelpAbout_Click();

    // ---------------------------------------------------------------- keyboard and pop-ups
    void Form_KeyDown(int keyCode, int shift);
    void Form_KeyPress(int keyAscii);
    void Form_KeyUp(int keyCode, int shift);
    // Every input that a key lit shows its normal picture again: the window no longer
    // gets the keyboard, so the releases of the keys held will not come to it.
    void Form_KeyboardLost() override;
    // The key's release: the inputs it lit show their normal picture again.
    void PutOutKey(std::uint8_t key);
    void mKeysSpecial_Click(int index);
    void mKeysMacros_Click(int index);
    void mShiftDefnNone_Click();
    // The selected view's input gets this key (0: none); the selection then ends.
    void AssignKeyToSelection(std::uint8_t key);

    // ---------------------------------------------------------------- host questions
    platform::Window* CplWidgetEntry(std::int16_t ctlArrayIndex) override;
    bool KeysShiftedShown() override;
    platform::Window* TableCellEntry(std::int16_t ctlArrayIndex) override;
    const ISwi* SelectedSwi() override;
    bool UserTextShown() override;

protected:
    void InitializeComponent() override;
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, int unloadMode) override;
    void Form_QueryEndSession(bool& cancel) override;
    void Form_Unload(bool& cancel) override;
    void Form_Resize() override;

private:
    // Parts of InitializeComponent, one per group of controls.
    void CreateMenus();
    void CreatePopupMenus();
    void CreateButtons();
    void CreateOptions();
    void CreateLabelsAndLines();
    void CreatePalette();
    void CreateSelectors();
    void CreateTemplates();
    // The legend's swatches and captions: side by side in a wide legend (a row of the
    // table), one above the other in a tall one (a column).
    void LayoutLegend();
    void Form_Click();
    void Form_MouseMove(const platform::MouseEvent& e);
    void pnlLegend_MouseDown(const platform::MouseEvent& e);
};

}  // namespace forms

inline platform::FormRef<forms::frmMain> frmMain;
