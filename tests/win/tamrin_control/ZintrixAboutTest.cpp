// The About box: layout and texts, fonts, link colours and fitting, the hand cursor, and a
// click on the e-mail link that opens "mailto:..." through the shell.
#include "TamrinTestSupport.h"
#include "support/WinSupport.h"

using namespace TamrinTest;

namespace {

constexpr DWORD kTimeoutMs = 10000;
constexpr int kLinks[3] = {211, 212, 213};
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kPurple = RGB(127, 0, 127);

std::string Text(HWND w)
{
  char buf[256] = {};
  GetWindowTextA(w, buf, sizeof(buf));
  return buf;
}

LOGFONTA FontOf(HWND w)
{
  LOGFONTA lf{};
  HFONT f = reinterpret_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0));
  if (f) {
    GetObjectA(f, sizeof(lf), &lf);
  }
  return lf;
}

// Width of a control's own text in its own font.
LONG TextWidth(HWND w)
{
  const std::string text = Text(w);
  TamrinHandles::WindowDc dc(w);
  TamrinHandles::SelectObjectScope sel(dc.get(), reinterpret_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0)));
  SIZE s{};
  GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &s);
  return s.cx;
}

LONG Width(HWND w)
{
  RECT rc;
  GetWindowRect(w, &rc);
  return rc.right - rc.left;
}

struct StaticColour {
  COLORREF text;
  int bkMode;
};

// What the dialog tells a static to draw with.
StaticColour ColourOf(HWND dlg, HWND control)
{
  TamrinHandles::UniqueDc dc(CreateCompatibleDC(nullptr));
  SetTextColor(dc.get(), RGB(1, 2, 3));
  SetBkMode(dc.get(), OPAQUE);
  SendMessageA(dlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(control));
  return {GetTextColor(dc.get()), GetBkMode(dc.get())};
}

struct Observation {
  bool found = false;
  std::string caption, product, version, notice, emailLabel, wwwLabel, ok;
  std::string links[3];
  LONG productWeight = 0, emailLabelWeight = 0, wwwLabelWeight = 0, noticeWeight = 0;
  bool underlined[3] = {};
  bool noticeUnderlined = true;
  bool fitted = false;
  bool iconSet = false;
  StaticColour before[3] = {};
  StaticColour after[3] = {};
  StaticColour notice_ = {};
  bool handOverLink = false;
  bool arrowElsewhere = false;
  std::string opened;
};

HWND FindAbout()
{
  HWND dlg = FindWindowA("#32770", "About Zintra...");
  return dlg && IsWindowVisible(dlg) ? dlg : nullptr;
}

HCURSOR CurrentCursor()
{
  CURSORINFO ci{};
  ci.cbSize = sizeof(ci);
  return GetCursorInfo(&ci) ? ci.hCursor : nullptr;
}

// Runs on a second thread while the test thread sits in AboutBox.
void Observe(HMODULE ocx, const std::string& recordFile, Observation& o)
{
  HWND dlg = nullptr;
  o.found = WaitFor(kTimeoutMs, [&] { return (dlg = FindAbout()) != nullptr; });
  if (!o.found) {
    return;
  }
  HWND links[3];
  for (int i = 0; i < 3; ++i) {
    links[i] = GetDlgItem(dlg, kLinks[i]);
  }
  // The links are fitted to their text when the dialog paints.
  o.fitted = WaitFor(kTimeoutMs, [&] {
    for (HWND l : links) {
      if (!l || Width(l) != TextWidth(l)) {
        return false;
      }
    }
    return true;
  });

  o.caption = Text(dlg);
  o.product = Text(GetDlgItem(dlg, 203));
  o.notice = Text(GetDlgItem(dlg, 201));
  o.emailLabel = Text(GetDlgItem(dlg, 202));
  o.wwwLabel = Text(GetDlgItem(dlg, 204));
  o.ok = Text(GetDlgItem(dlg, IDOK));
  HWND icon = GetWindow(dlg, GW_CHILD);
  o.iconSet = icon && SendMessageA(icon, STM_GETICON, 0, 0) != 0;
  for (HWND c = icon; c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (Text(c).rfind("Version", 0) == 0) {
      o.version = Text(c);
    }
  }
  o.productWeight = FontOf(GetDlgItem(dlg, 203)).lfWeight;
  o.emailLabelWeight = FontOf(GetDlgItem(dlg, 202)).lfWeight;
  o.wwwLabelWeight = FontOf(GetDlgItem(dlg, 204)).lfWeight;
  o.noticeWeight = FontOf(GetDlgItem(dlg, 201)).lfWeight;
  o.noticeUnderlined = FontOf(GetDlgItem(dlg, 201)).lfUnderline != 0;
  o.notice_ = ColourOf(dlg, GetDlgItem(dlg, 201));
  for (int i = 0; i < 3; ++i) {
    o.links[i] = Text(links[i]);
    o.underlined[i] = FontOf(links[i]).lfUnderline != 0;
    o.before[i] = ColourOf(dlg, links[i]);
  }

  // The hand over a link, the arrow elsewhere.
  RECT mail;
  GetWindowRect(links[1], &mail);
  const POINT overMail = {(mail.left + mail.right) / 2, (mail.top + mail.bottom) / 2};
  SetCursorPos(overMail.x, overMail.y);
  const HCURSOR hand = LoadCursorA(ocx, MAKEINTRESOURCEA(206));
  o.handOverLink = WaitFor(kTimeoutMs, [&] {
    SendMessageA(dlg, WM_SETCURSOR, reinterpret_cast<WPARAM>(dlg), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return hand && CurrentCursor() == hand;
  });
  RECT whole;
  GetWindowRect(dlg, &whole);
  SetCursorPos(whole.left + 5, whole.bottom - 5);
  o.arrowElsewhere = WaitFor(kTimeoutMs, [&] {
    SendMessageA(dlg, WM_SETCURSOR, reinterpret_cast<WPARAM>(dlg), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return CurrentCursor() == LoadCursor(nullptr, IDC_ARROW);
  });

  if (!recordFile.empty()) {
    POINT client = overMail;
    ScreenToClient(dlg, &client);
    PostMessageA(dlg, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    PostMessageA(dlg, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    const std::string expected = "mailto:" + o.links[1];
    WaitFor(kTimeoutMs, [&] {
      const auto bytes = ReadFileBytes(recordFile);
      o.opened = bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
      return o.opened == expected;
    });
    for (int i = 0; i < 3; ++i) {
      o.after[i] = ColourOf(dlg, links[i]);
    }
  }
  PostMessageA(dlg, WM_COMMAND, IDOK, 0);
}

// Closes a dialog left open by a failed observation, so the test thread gets back.
void CloseLeftover()
{
  WaitFor(2000, [] {
    HWND dlg = FindWindowA("#32770", "About Zintra...");
    if (dlg) {
      PostMessageA(dlg, WM_CLOSE, 0, 0);
    }
    return dlg == nullptr;
  });
}

// The shell's handler of "mailto:" pointed at our recorder for the length of a test.
class MailHandler {
public:
  explicit MailHandler(const std::string& recordFile)
  {
    old_ = RegString(HKEY_CLASSES_ROOT, kKey, nullptr);
    existed_ = KeyExists(HKEY_CLASSES_ROOT, "mailto");
    TamrinHandles::UniqueKey k;
    RegCreateKeyExA(HKEY_CLASSES_ROOT, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.put(), nullptr);
    const std::string cmd = "\"" + TestsFolder() + "tamrin_probe.exe\" record \"" + recordFile + "\" \"%1\"";
    RegSetValueExA(k.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(cmd.c_str()),
                   static_cast<DWORD>(cmd.size() + 1));
  }
  ~MailHandler()
  {
    if (!existed_) {
      RegDeleteKeyA(HKEY_CLASSES_ROOT, "mailto\\shell\\open\\command");
      RegDeleteKeyA(HKEY_CLASSES_ROOT, "mailto\\shell\\open");
      RegDeleteKeyA(HKEY_CLASSES_ROOT, "mailto\\shell");
      RegDeleteKeyA(HKEY_CLASSES_ROOT, "mailto");
    } else if (old_) {
      TamrinHandles::UniqueKey k;
      RegOpenKeyExA(HKEY_CLASSES_ROOT, kKey, 0, KEY_ALL_ACCESS, k.put());
      RegSetValueExA(k.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(old_->c_str()),
                     static_cast<DWORD>(old_->size() + 1));
    }
  }
  MailHandler(const MailHandler&) = delete;
  MailHandler& operator=(const MailHandler&) = delete;

private:
  static constexpr char kKey[] = "mailto\\shell\\open\\command";
  std::optional<std::string> old_;
  bool existed_ = false;
};

class ZintrixAbout : public OcxTest {};

TEST_F(ZintrixAbout, ShowsTheDialogAndOpensTheMailLink)
{
  ComPtr<IZintrix> control = ocx_.Create();
  ASSERT_TRUE(control);
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string recordFile = std::string(temp) + "tamrin-about-link.txt";
  DeleteFileA(recordFile.c_str());

  Observation first;
  {
    MailHandler handler(recordFile);
    winsupport::Thread watcher([&] { Observe(ocx_.Module(), recordFile, first); });
    const HRESULT hr = control->AboutBox();
    watcher.Join();
    EXPECT_EQ(hr, S_OK);
  }
  DeleteFileA(recordFile.c_str());
  ASSERT_TRUE(first.found) << "the About box did not appear";

  EXPECT_EQ(first.caption, "About Zintra...");
  EXPECT_EQ(first.product, "Tamrin port-access control");
  EXPECT_EQ(first.version, "Version 1.20");
  EXPECT_EQ(first.notice, "Copyright (C) 2026 the Keyloom developers");
  EXPECT_EQ(first.emailLabel, "E-mail:");
  EXPECT_EQ(first.wwwLabel, "WWW:");
  EXPECT_EQ(first.ok, "&OK");
  EXPECT_EQ(first.links[0], "https://keyloom.example/");
  EXPECT_EQ(first.links[1], "support@keyloom.example");
  EXPECT_EQ(first.links[2], "https://keyloom.example/tamrin/");
  EXPECT_TRUE(first.iconSet);

  EXPECT_EQ(first.productWeight, 700);
  EXPECT_EQ(first.emailLabelWeight, 700);
  EXPECT_EQ(first.wwwLabelWeight, 700);
  EXPECT_LT(first.noticeWeight, 700);
  EXPECT_FALSE(first.noticeUnderlined);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(first.underlined[i]) << kLinks[i];
    EXPECT_EQ(first.before[i].text, kBlue) << kLinks[i];
    EXPECT_EQ(first.before[i].bkMode, TRANSPARENT) << kLinks[i];
  }
  EXPECT_EQ(first.notice_.bkMode, TRANSPARENT);
  EXPECT_TRUE(first.fitted) << "the links were not fitted to their text";
  EXPECT_TRUE(first.handOverLink);
  EXPECT_TRUE(first.arrowElsewhere);

  EXPECT_EQ(first.opened, "mailto:support@keyloom.example");
  EXPECT_EQ(first.after[0].text, kBlue);
  EXPECT_EQ(first.after[1].text, kPurple);
  EXPECT_EQ(first.after[2].text, kBlue);

  // Opened again: every link is unvisited.
  Observation second;
  winsupport::Thread watcher([&] { Observe(ocx_.Module(), std::string(), second); });
  EXPECT_EQ(control->AboutBox(), S_OK);
  watcher.Join();
  ASSERT_TRUE(second.found);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(second.before[i].text, kBlue) << kLinks[i];
  }
  CloseLeftover();
}

}  // namespace
