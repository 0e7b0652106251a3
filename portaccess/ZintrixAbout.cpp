#include "portaccess/ZintrixAbout.h"

#include <shellapi.h>

#include <array>
#include <string>

#include "portaccess/TamrinHandles.h"
#include "portaccess/TamrinModule.h"
#include "portaccess/TamrinResources.h"

namespace ZintrixAbout {

namespace {

using TamrinHandles::UniqueFont;

constexpr COLORREF kLinkColor = RGB(0, 0, 255);
constexpr COLORREF kVisitedColor = RGB(127, 0, 127);
// Longest link text measured when the links are fitted to their text.
constexpr int kMeasuredChars = 100;
constexpr std::array<int, 3> kLinks = {IDC_ABOUT_WEB_LINK, IDC_ABOUT_EMAIL_LINK, IDC_ABOUT_PRODUCT_LINK};

bool IsIdless(HWND child)
{
  const int id = GetDlgCtrlID(child);
  return id == -1 || id == 0xFFFF;
}

// One open About box.
class Dialog {
public:
  static INT_PTR CALLBACK Proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);

private:
  void OnInit(HWND dlg);
  void FitLinksToText();
  // Index into kLinks of the link whose rectangle holds the screen point; -1 for none.
  int LinkAt(POINT screen) const;
  void OpenLink(int index);

  HWND dlg_ = nullptr;
  HWND icon_ = nullptr;  // the first static without an id keeps its own background
  HCURSOR hand_ = nullptr;
  HCURSOR arrow_ = nullptr;
  UniqueFont bold_;
  UniqueFont underlined_;
  std::array<bool, 3> visited_{};
};

UniqueFont CopyOfFont(HWND control, bool bold, bool underline)
{
  HFONT base = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  if (!base) {
    base = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }
  LOGFONTA lf{};
  if (!GetObjectA(base, sizeof(lf), &lf)) {
    return UniqueFont();
  }
  if (bold) {
    lf.lfWeight = FW_BOLD;
  }
  if (underline) {
    lf.lfUnderline = TRUE;
  }
  return UniqueFont(CreateFontIndirectA(&lf));
}

void Dialog::OnInit(HWND dlg)
{
  dlg_ = dlg;
  hand_ = LoadCursorA(TamrinModule::Instance(), MAKEINTRESOURCEA(IDC_HAND_LINK));
  arrow_ = LoadCursor(nullptr, IDC_ARROW);
  visited_.fill(false);
  for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsIdless(child)) {
      icon_ = child;
      break;
    }
  }
  SetDlgItemTextA(dlg, IDC_ABOUT_NOTICE, kNotice);

  bold_ = CopyOfFont(GetDlgItem(dlg, IDC_ABOUT_PRODUCT), true, false);
  for (int id : {IDC_ABOUT_PRODUCT, IDC_ABOUT_EMAIL_LABEL, IDC_ABOUT_WWW_LABEL}) {
    SendDlgItemMessageA(dlg, id, WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), FALSE);
  }
  underlined_ = CopyOfFont(GetDlgItem(dlg, IDC_ABOUT_WEB_LINK), false, true);
  for (int id : kLinks) {
    SendDlgItemMessageA(dlg, id, WM_SETFONT, reinterpret_cast<WPARAM>(underlined_.get()), FALSE);
  }
}

// The links cover their text only, so that the hand and the clicks do too.
void Dialog::FitLinksToText()
{
  for (int id : kLinks) {
    HWND link = GetDlgItem(dlg_, id);
    if (!link) {
      continue;
    }
    char text[kMeasuredChars + 1] = {};
    const int len = GetWindowTextA(link, text, kMeasuredChars + 1);
    TamrinHandles::WindowDc dc(link);
    if (!dc.get()) {
      continue;
    }
    SIZE extent{};
    {
      TamrinHandles::SelectObjectScope font(dc.get(), underlined_.get());
      GetTextExtentPoint32A(dc.get(), text, len, &extent);
    }
    RECT rc;
    GetWindowRect(link, &rc);
    if (rc.right - rc.left != extent.cx || rc.bottom - rc.top != extent.cy) {
      SetWindowPos(link, nullptr, 0, 0, extent.cx, extent.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

int Dialog::LinkAt(POINT screen) const
{
  for (std::size_t i = 0; i < kLinks.size(); ++i) {
    HWND link = GetDlgItem(dlg_, kLinks[i]);
    RECT rc;
    if (link && GetWindowRect(link, &rc) && PtInRect(&rc, screen)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void Dialog::OpenLink(int index)
{
  HWND link = GetDlgItem(dlg_, kLinks[static_cast<std::size_t>(index)]);
  std::string target;
  if (kLinks[static_cast<std::size_t>(index)] == IDC_ABOUT_EMAIL_LINK) {
    char text[94] = {};
    GetWindowTextA(link, text, sizeof(text));
    target = std::string("mailto:") + text;
  } else {
    char text[100] = {};
    GetWindowTextA(link, text, sizeof(text));
    target = text;
  }
  visited_[static_cast<std::size_t>(index)] = true;
  // The static draws on the dialog's background: repaint that part of the dialog.
  RECT rc;
  GetWindowRect(link, &rc);
  MapWindowPoints(nullptr, dlg_, reinterpret_cast<POINT*>(&rc), 2);
  InvalidateRect(dlg_, &rc, TRUE);
  UpdateWindow(dlg_);
  // The shell is loaded for this link only: the control is made at every editor start,
  // and the shell's libraries would lengthen it.
  using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  HMODULE shell = LoadLibraryA("shell32.dll");
  FARPROC found = shell ? GetProcAddress(shell, "ShellExecuteA") : nullptr;
  if (found)
    reinterpret_cast<ShellExecuteFn>(reinterpret_cast<void*>(found))(dlg_, "open", target.c_str(), nullptr,
                                                                     nullptr, SW_SHOWNORMAL);
}

INT_PTR CALLBACK Dialog::Proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Dialog*>(lp);
    SetWindowLongPtrA(dlg, DWLP_USER, lp);
    self->OnInit(dlg);
    return TRUE;
  }
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(dlg, DWLP_USER));
  if (!self) {
    return FALSE;
  }
  switch (msg) {
    case WM_PAINT:
      self->FitLinksToText();
      return FALSE;  // the dialog paints itself as usual
    case WM_CTLCOLORSTATIC: {
      HWND control = reinterpret_cast<HWND>(lp);
      if (control == self->icon_) {
        return FALSE;
      }
      HDC dc = reinterpret_cast<HDC>(wp);
      SetBkMode(dc, TRANSPARENT);
      const int id = GetDlgCtrlID(control);
      for (std::size_t i = 0; i < kLinks.size(); ++i) {
        if (kLinks[i] == id) {
          SetTextColor(dc, self->visited_[i] ? kVisitedColor : kLinkColor);
        }
      }
      return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    }
    case WM_SETCURSOR: {
      POINT pt;
      GetCursorPos(&pt);
      SetCursor(self->LinkAt(pt) >= 0 && self->hand_ ? self->hand_ : self->arrow_);
      SetWindowLongPtrA(dlg, DWLP_MSGRESULT, TRUE);
      return TRUE;
    }
    case WM_LBUTTONDOWN: {
      POINT pt = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      ClientToScreen(dlg, &pt);
      const int link = self->LinkAt(pt);
      if (link >= 0) {
        self->OpenLink(link);
      }
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) {
        EndDialog(dlg, 1);
        return TRUE;
      }
      if (LOWORD(wp) == IDCANCEL) {
        EndDialog(dlg, 0);
        return TRUE;
      }
      break;
    case WM_CLOSE:
      EndDialog(dlg, 0);
      return TRUE;
    case WM_DESTROY:
      // The controls go with the dialog; so do the fonts made for them.
      self->bold_.reset();
      self->underlined_.reset();
      return FALSE;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

INT_PTR Show(HWND owner)
{
  Dialog dialog;
  return DialogBoxParamA(TamrinModule::Instance(), MAKEINTRESOURCEA(IDD_ABOUTBOX), owner, Dialog::Proc,
                         reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace ZintrixAbout
