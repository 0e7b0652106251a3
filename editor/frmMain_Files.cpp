// The main window's document commands: key-assignment and panel-layout files through
// the file dialog, new documents from templates, and restoring the default keys. Only
// the dialog that the mode switch needs is here so far; the commands come with the
// file and template work.
#include "editor/frmMain.h"
#include "platform/Platform.h"

namespace forms {

std::string frmMain::AskPanelFileToSave() {
    platform::FileDialogRequest request;
    request.save = true;
    request.filter = "Keyloom Control Panel Layout|*.cpl";
    request.owner = Hwnd();
    return platform::ShowFileDialog(request);
}

void frmMain::zFile_Click() {}
void frmMain::mNewPanelDefault_Click() {}
void frmMain::mNewPanelEmpty_Click() {}
void frmMain::mNewPanel_Click(int) {}
void frmMain::mFileOpenPanel_Click() {}
void frmMain::mFileSavePanelAs_Click() {}
void frmMain::mNewKeyAsgnDefaults_Click() {}
void frmMain::mNewKeyAsgn_Click(int) {}
void frmMain::mFileOpenKeyAsgn_Click() {}
void frmMain::mFileSaveKeyAsgn_Click() {}
void frmMain::mFileSaveKeyAsgnAs_Click() {}
void frmMain::mRestoreDefaults_Click() {}

}  // namespace forms
