// Effect documents in the real main dialog under wine: "Save as..." and
// "Open" through the file dialogs, the hook's soft buttons and remembered
// size, and the host's codes around the dialogs.
#include <cstdio>
#include <string>

#include "tests/win32/harness.h"
#include "tests/win32/test_build.h"

using harness::DialogScript;
using harness::Driver;
using harness::Plugin;

namespace {

using harness::selectEffect;

// The main dialog's controls and the Open/Save menu's commands
// (their values in resources/resource_ids.h).
constexpr int IDC_CANCEL = 2;
constexpr int IDC_ADD_COMMENT = 20;
constexpr int IDC_TEXT = 52;
constexpr int IDC_EFFECT = 58;
// "Stars": its list index and two of its keys (frames, seed).
constexpr int kStars = 14;
constexpr int kStarsFrames = 233;
constexpr int kStarsSeed = 228;
constexpr int IDM_DOCUMENT_OPEN = 40001;
constexpr int IDM_DOCUMENT_SAVE_AS = 40003;

// The file name field of an explorer-style file dialog (a combo box on
// newer systems, an edit on older ones).
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;

void typeFileName(HWND fileDialog, const std::string& path) {
  if (!SetDlgItemTextA(fileDialog, kFileNameCombo, path.c_str())) SetDlgItemTextA(fileDialog, kFileNameEdit, path.c_str());
}

// Runs a document command as the Open/Save menu does, then answers its
// file dialog with `path` (or cancels it when `path` is empty).
bool runDocumentCommand(Driver& d, HWND dialog, int command, const char* title, const std::string& path,
                        RECT* placed = nullptr) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  HWND files = d.waitFor(title);
  if (!files) return false;
  Sleep(300);  // the hook places the dialog once it is laid out
  if (placed) GetWindowRect(files, placed);
  if (path.empty()) {
    d.press(files, IDCANCEL);
  } else {
    typeFileName(files, path);
    d.press(files, IDOK);
  }
  return d.waitGone(files);
}

// Where the document's design starts: a font both this machine's GDI and the
// native build have, a palette build without dithering (error diffusion would
// carry the two letter rasterisers' edge differences across the letters),
// and "Snow".
constexpr char kStartingSettings[] =
    "[PlugIn]\nMainText = Wine 5\nMainFontName = DejaVu Sans\nMainFontSize = 36\nMainFontBold = 1\n"
    "MainEffect = 13\nStyle002Frames = 5\nTruecolour = 0\nMainSupercompress = 0\nMainDither = 0\n"
    "MainAlphaTrans = 0\nMainTransparent = 0\nMainPalette = 6\nAddDescriptiveCommentBlock = 0\n";

}  // namespace

// The design is changed in the dialog (text, a switch, the effect and two of
// its keys) and saved; the reopened document builds (its frames are kept
// for compare_documents.sh, which renders the same file natively) and saves
// to the same bytes.
GW_TEST(ADocumentSavedByTheDllOpensToTheSameStateAndBytes) {
  const std::string first = harness::tempPath("gw_document.gw5");
  const std::string again = harness::tempPath("gw_document_again.gw5");
  DeleteFileA(first.c_str());
  DeleteFileA(again.c_str());
  CHECK(harness::writeConfiguration(kStartingSettings));
  {
    Plugin plugin;
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      CHECK(dlg != nullptr);
      if (!dlg) return;
      SetDlgItemTextA(dlg, IDC_TEXT, "Saved under wine");
      CheckDlgButton(dlg, IDC_ADD_COMMENT, BST_CHECKED);
      selectEffect(dlg, kStars);
      SetDlgItemTextA(dlg, kStarsFrames, "4");
      SetDlgItemTextA(dlg, kStarsSeed, "4321");
      CHECK(runDocumentCommand(d, dlg, IDM_DOCUMENT_SAVE_AS, "Save As", first));
      d.press(dlg, IDC_CANCEL);
    });
    CHECK_EQ(plugin.doBuild(0x1000), 1);
    // The host heard of the file dialog before and after it.
    int before = 0, after = 0;
    for (const auto& call : plugin.calls) {
      before += call.code == 19;
      after += call.code == 20;
    }
    CHECK_EQ(before, 1);
    CHECK_EQ(after, 1);
  }
  const std::string saved = harness::readFile(first);
  CHECK(saved.find(";This is a document created by Glyphwright 5 Plugin by Quillmere - do not edit.\r\n"
                   ";Start of document\r\n") == 0);
  CHECK(saved.find("\r\nTXTFLD52=Saved under wine\r\n") != std::string::npos);
  CHECK(saved.find("\r\nCHKBOX20=1\r\n") != std::string::npos);
  CHECK(saved.find("\r\nMATLBT100=") != std::string::npos);
  CHECK(saved.find("\r\nSPNBTN233=4\r\n") != std::string::npos);
  CHECK(saved.find("\r\nSPNBTN228=4321\r\n") != std::string::npos);
  CHECK(saved.size() > 20000);

  std::string text;
  bool comment = false;
  harness::BuildCapture capture;
  {
    Plugin plugin;
    plugin.answer = [&](void*, int32_t code, int32_t, void* p) { return capture.answer(code, p); };
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      CHECK(dlg != nullptr);
      if (!dlg) return;
      SetDlgItemTextA(dlg, IDC_TEXT, "something else");
      CHECK(runDocumentCommand(d, dlg, IDM_DOCUMENT_OPEN, "Open", first));
      Sleep(200);
      text = d.text(dlg, IDC_TEXT);
      comment = IsDlgButtonChecked(dlg, IDC_ADD_COMMENT) == BST_CHECKED;
      CHECK(harness::pressTestAndWait(d, dlg, capture));
      // Saved again from the opened state: the same bytes.
      CHECK(runDocumentCommand(d, dlg, IDM_DOCUMENT_SAVE_AS, "Save As", again));
      d.press(dlg, IDC_CANCEL);
    });
    CHECK_EQ(plugin.doBuild(0x1000), 1);
  }
  CHECK_EQ(text, std::string("Saved under wine"));
  CHECK(comment);
  CHECK_EQ(capture.frames.size(), size_t(4));
  CHECK(harness::saveFrames(capture.frames, "gw_document_frame"));
  CHECK_EQ(harness::readFile(again), saved);
}

GW_TEST(FileDialogsOpenCentredAtTheRememberedSizeWithSoftButtons) {
  Plugin plugin;
  plugin.answer = [](void*, int32_t code, int32_t, void* p) { return harness::answerSoftButtons(code, p); };
  RECT own = {}, resized = {}, enlarged = {}, lowered = {}, ignored = {};
  LONG okStyle = 0;
  {
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      CHECK(dlg != nullptr);
      if (!dlg) return;
      // First: centred at its own size; the user makes it 700 x 500.
      PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDM_DOCUMENT_OPEN, 0), 0);
      HWND files = d.waitFor("Open");
      CHECK(files != nullptr);
      if (!files) return;
      Sleep(300);
      GetWindowRect(files, &own);
      okStyle = GetWindowLongA(GetDlgItem(files, IDOK), GWL_STYLE);
      d.screenshot(files, harness::tempPath("gw_file_dialog_soft.bmp"));
      SetWindowPos(files, nullptr, 0, 0, 700, 500, SWP_NOZORDER | SWP_NOMOVE);
      // The size the dialog took: a file dialog may keep its own limits.
      GetWindowRect(files, &resized);
      d.press(files, IDCANCEL);
      d.waitGone(files);
      // Next: at 700 x 500, centred; then made too low to count.
      PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDM_DOCUMENT_SAVE_AS, 0), 0);
      files = d.waitFor("Save As");
      CHECK(files != nullptr);
      if (!files) return;
      Sleep(300);
      GetWindowRect(files, &enlarged);
      SetWindowPos(files, nullptr, 0, 0, 700, 100, SWP_NOZORDER | SWP_NOMOVE);
      GetWindowRect(files, &lowered);
      d.press(files, IDCANCEL);
      d.waitGone(files);
      CHECK(runDocumentCommand(d, dlg, IDM_DOCUMENT_OPEN, "Open", "", &ignored));
      d.press(dlg, IDC_CANCEL);
    });
    CHECK_EQ(plugin.doBuild(0x1000), 1);
  }
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  auto centred = [&](const RECT& r) {
    return r.left == (screenW - (r.right - r.left)) / 2 && r.top == (screenH - (r.bottom - r.top)) / 2;
  };
  CHECK(centred(own));
  CHECK_EQ(okStyle & 0xF, LONG(BS_OWNERDRAW));
  CHECK(resized.bottom - resized.top != own.bottom - own.top);
  CHECK_EQ(enlarged.right - enlarged.left, resized.right - resized.left);
  CHECK_EQ(enlarged.bottom - enlarged.top, resized.bottom - resized.top);
  CHECK(centred(enlarged));
  // A remembered height under 128 pixels is ignored: the dialog's own size
  // again. Wine's file dialog keeps a least height of its own, and then the
  // size it kept is what is remembered.
  const bool tooLow = lowered.bottom - lowered.top < 128;
  const RECT& expected = tooLow ? own : lowered;
  CHECK_EQ(ignored.right - ignored.left, expected.right - expected.left);
  CHECK_EQ(ignored.bottom - ignored.top, expected.bottom - expected.top);
  CHECK(centred(ignored));
}
