// The settings sheet on the system side: a modal PropertySheetW whose pages
// are dialog templates made in memory (only their size and font) and filled
// with common controls when each page is first shown. A small flow layout
// places every control in dialog units, so that the pages follow the
// system's dialog font and DPI; values live with the host.

#include "platform/win32/SheetApi.h"

#include "platform/win32/Api.h"
#include "platform/win32/SystemHeaders.h"
// The common controls and the shell, which need <windows.h> first.
#include <commctrl.h>
#include <prsht.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace platform::win32 {

namespace {

std::function<void(SheetRemote&)>& remoteHook() {
    static std::function<void(SheetRemote&)> hook;
    return hook;
}

std::function<bool(const std::string&)>& boxAnswer() {
    static std::function<bool(const std::string&)> answer;
    return answer;
}

// A message box of the sheet, or the test's answer in its place.
bool ask(HWND owner, const std::wstring& text, UINT type) {
    if (boxAnswer()) return boxAnswer()(utf8(text));
    const int r = MessageBoxW(owner, text.c_str(), L"Quorvane", type);
    return r == IDOK || r == IDYES;
}

// Dialog units: the page's width, margins and the parts of a row.
constexpr int kMargin = 7;
constexpr int kWidth = 296;
constexpr int kGap = 8;
constexpr int kButtonHeight = 14;

// Control ids: every item has a range of its own, `part` within it.
constexpr int kItemIds = 1000;
constexpr int kPartsPerItem = 32;
constexpr int kResetId = 900;
constexpr int kChaosId = 901;
enum Part {
    kMain = 0,  // the track bar, edit, check box, list, or the first radio button
    kLabel = 1,
    kValue = 2,
    kUpDown = 3,
    kLow = 4,
    kHigh = 5,
    kSample = 6,
    kAdd = 7,
    kRemove = 8,
    kGroup = 9,
    kRadio = 16,  // the radio buttons from here
};
int idOf(int item, int part) { return kItemIds + item * kPartsPerItem + part; }

// Lines that `text` takes in a box `width` dialog units wide: an average
// character is four units wide.
int linesFor(const std::string& text, int width) {
    const int perLine = std::max(1, width / 4);
    return std::max(1, (static_cast<int>(text.size()) + perLine - 1) / perLine);
}

// One control to make, at a rectangle in dialog units.
struct Placed {
    int item = -1;  // -1: a button of the page
    int part = kMain;
    const wchar_t* cls = L"STATIC";
    std::wstring text;
    DWORD style = 0;
    RECT box{};
    std::wstring tip;
};

// Rows flowing down the page. Items of one block share a top; an item in
// column 1 goes beside the column-0 items of its block.
class Flow {
public:
    struct Cell {
        int x, y, width;
    };
    Cell take(int block, bool split, int column, int height) {
        if (block != m_block) {
            m_y[0] = m_y[1] = bottom();
            m_block = block;
        }
        const int half = (kWidth - kGap) / 2;
        const int col = split ? std::clamp(column, 0, 1) : 0;
        Cell c{kMargin + (split && col ? half + kGap : 0), m_y[col], split ? half : kWidth};
        m_y[col] += height;
        if (!split) m_y[1 - col] = m_y[col];
        return c;
    }
    int bottom() const { return std::max(m_y[0], m_y[1]); }
    void skip(int height) { m_y[0] = m_y[1] = bottom() + height; }

private:
    int m_block = 0;
    int m_y[2] = {kMargin, kMargin};
};

RECT box(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

// Lays a tab out; returns its height in dialog units.
int layOut(const SheetTab& tab, std::vector<Placed>& out) {
    Flow flow;
    auto add = [&](int item, int part, const wchar_t* cls, const std::string& text, DWORD style, RECT r,
                   const std::string& tip) {
        out.push_back(Placed{item, part, cls, wide(text), style, r, wide(tip)});
    };
    const DWORD label = SS_LEFT | SS_NOTIFY;
    for (size_t n = 0; n < tab.items.size(); ++n) {
        const SheetItem& it = tab.items[n];
        const int i = static_cast<int>(n);
        bool split = false;
        for (const SheetItem& other : tab.items)
            if (other.block == it.block && other.column == 1) split = true;
        switch (it.kind) {
            case SheetItem::Kind::Slider: {
                const int valueWidth = split ? 22 : 40;
                const int sampleWidth = it.sample >= 0 ? 11 : 0;
                const int labelWidth = (split ? 60 : 126) - sampleWidth;
                const int lines = linesFor(it.label, labelWidth);
                const bool ends = !it.lowEnd.empty() || !it.highEnd.empty();
                const int height = std::max(16, lines * 8 + 4) + (ends ? 8 : 0);
                const Flow::Cell c = flow.take(it.block, split, it.column, height);
                if (sampleWidth)
                    add(i, kSample, L"STATIC", "", SS_SUNKEN | SS_NOTIFY, box(c.x, c.y + 2, 9, 8),
                        it.toolTip);
                add(i, kLabel, L"STATIC", it.label, label,
                    box(c.x + sampleWidth, c.y + 2, labelWidth, lines * 8), it.toolTip);
                const int tx = c.x + sampleWidth + labelWidth + 2;
                const int tw = c.width - (tx - c.x) - valueWidth - 2;
                add(i, kMain, TRACKBAR_CLASSW, "", TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | WS_TABSTOP,
                    box(tx, c.y, tw, 14), it.toolTip);
                add(i, kValue, L"STATIC", "", label, box(tx + tw + 2, c.y + 2, valueWidth, 8), it.toolTip);
                if (ends) {
                    add(i, kLow, L"STATIC", it.lowEnd, label, box(tx + 4, c.y + 14, tw / 2 - 4, 8),
                        it.toolTip);
                    add(i, kHigh, L"STATIC", it.highEnd, SS_RIGHT | SS_NOTIFY,
                        box(tx + tw / 2, c.y + 14, tw / 2 - 4, 8), it.toolTip);
                }
                break;
            }
            case SheetItem::Kind::Spin: {
                const Flow::Cell c = flow.take(it.block, false, 0, 16);
                add(i, kLabel, L"STATIC", it.label, label, box(c.x + 12, c.y + 2, 114, 8), it.toolTip);
                add(i, kMain, L"EDIT", "", ES_NUMBER | ES_RIGHT | WS_BORDER | WS_TABSTOP,
                    box(c.x + 128, c.y, 36, 12), it.toolTip);
                add(i, kUpDown, UPDOWN_CLASSW, "",
                    UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                    box(c.x + 164, c.y, 10, 12), it.toolTip);
                add(i, kValue, L"STATIC", it.unit, label, box(c.x + 168, c.y + 2, 40, 8), it.toolTip);
                break;
            }
            case SheetItem::Kind::Check: {
                const int lines = linesFor(it.label, kWidth - 12);
                const Flow::Cell c = flow.take(it.block, false, 0, lines * 8 + 6);
                add(i, kMain, L"BUTTON", it.label, BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP,
                    box(c.x, c.y, c.width, lines * 8 + 2), it.toolTip);
                break;
            }
            case SheetItem::Kind::Choice: {
                const int count = static_cast<int>(it.options.size());
                const Flow::Cell c = flow.take(it.block, false, 0, 18 + count * 12);
                const int buttonWidth = it.buttons.empty() ? 0 : 124;
                const int groupWidth = c.width - (buttonWidth ? buttonWidth + 6 : 0);
                add(i, kGroup, L"BUTTON", it.label, BS_GROUPBOX, box(c.x, c.y, groupWidth, 13 + count * 12),
                    it.toolTip);
                for (int r = 0; r < count; ++r) {
                    const std::string& tip =
                        r < static_cast<int>(it.optionTips.size()) ? it.optionTips[r] : it.toolTip;
                    add(i, kRadio + r, L"BUTTON", it.options[r],
                        BS_AUTORADIOBUTTON | (r == 0 ? WS_GROUP | WS_TABSTOP : 0),
                        box(c.x + 8, c.y + 11 + r * 12, groupWidth - 16, 10), tip);
                }
                if (buttonWidth)
                    add(i, kAdd, L"BUTTON", it.buttons[0], BS_PUSHBUTTON | WS_TABSTOP,
                        box(c.x + c.width - buttonWidth, c.y + 6, buttonWidth, kButtonHeight),
                        it.buttonTips.empty() ? "" : it.buttonTips[0]);
                break;
            }
            case SheetItem::Kind::Text: {
                const Flow::Cell c = flow.take(it.block, false, 0, 15);
                add(i, kLabel, L"STATIC", it.label, label, box(c.x, c.y + 2, 16, 8), it.toolTip);
                add(i, kMain, L"EDIT", "", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
                    box(c.x + 18, c.y, c.width - 18, 12), it.toolTip);
                break;
            }
            case SheetItem::Kind::FolderList: {
                const Flow::Cell c = flow.take(it.block, false, 0, 66);
                add(i, kLabel, L"STATIC", it.label, label, box(c.x, c.y, c.width, 8), it.toolTip);
                add(i, kMain, L"LISTBOX", "",
                    LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL | WS_BORDER | WS_TABSTOP,
                    box(c.x, c.y + 10, c.width - 62, 50), it.toolTip);
                const auto button = [&](size_t b, const char* fallback) {
                    return b < it.buttons.size() ? it.buttons[b] : std::string(fallback);
                };
                const auto buttonTip = [&](size_t b) {
                    return b < it.buttonTips.size() ? it.buttonTips[b] : "";
                };
                add(i, kAdd, L"BUTTON", button(0, "&Add..."), BS_PUSHBUTTON | WS_TABSTOP,
                    box(c.x + c.width - 58, c.y + 10, 58, kButtonHeight), buttonTip(0));
                add(i, kRemove, L"BUTTON", button(1, "&Remove"), BS_PUSHBUTTON | WS_TABSTOP,
                    box(c.x + c.width - 58, c.y + 27, 58, kButtonHeight), buttonTip(1));
                break;
            }
            case SheetItem::Kind::Note: {
                const int lines = linesFor(it.label, kWidth);
                const Flow::Cell c = flow.take(it.block, false, 0, lines * 8 + 6);
                add(i, kLabel, L"STATIC", it.label, SS_LEFT, box(c.x, c.y, c.width, lines * 8), "");
                break;
            }
        }
    }
    flow.skip(4);
    const int y = flow.bottom();
    add(-1, kResetId, L"BUTTON", tab.resetLabel, BS_PUSHBUTTON | WS_TABSTOP,
        box(kMargin, y, 80, kButtonHeight), tab.resetTip);
    if (tab.chaos)
        add(-1, kChaosId, L"BUTTON", tab.chaosLabel, BS_PUSHBUTTON | WS_TABSTOP,
            box(kMargin + 86, y, 80, kButtonHeight), tab.chaosTip);
    return y + kButtonHeight + kMargin;
}

// A page's dialog template: no controls, only its size and the shell font.
std::vector<WORD> pageTemplate(int height) {
    std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* d = reinterpret_cast<DLGTEMPLATE*>(t.data());
    d->style = DS_SHELLFONT | WS_CHILD | WS_DISABLED | WS_CAPTION;
    d->cx = static_cast<short>(kWidth + 2 * kMargin);
    d->cy = static_cast<short>(height);
    t.push_back(0);  // no menu
    t.push_back(0);  // the standard class
    t.push_back(0);  // no title (the page's comes with it)
    t.push_back(8);  // points
    for (const wchar_t* f = L"MS Shell Dlg"; *f; ++f) t.push_back(static_cast<WORD>(*f));
    t.push_back(0);
    return t;
}

struct Sheet;

struct PageState {
    Sheet* sheet = nullptr;
    int tab = 0;
    HWND hwnd = nullptr;
    std::vector<Placed> placed;
    std::vector<WORD> dialog;
    int made = 0;
    bool updating = false;
    std::vector<HBRUSH> samples;
};

struct Sheet {
    const std::vector<SheetTab>* tabs = nullptr;
    SheetHost* host = nullptr;
    std::vector<std::unique_ptr<PageState>> pages;
    HWND hwnd = nullptr;
    HWND owner = nullptr;
    bool wrote = false;
    // The window the preview's saver draws in, and the note shown in its
    // place when it cannot run.
    HWND preview = nullptr;
    HWND previewNote = nullptr;
};

Sheet* gOpen = nullptr;

// The preview: its width in dialog units beside the pages (its height that
// of a 16:10 screen), and how long after the last change it restarts.
constexpr int kPreviewWidth = 150;
constexpr UINT kPreviewDelayMs = 500;
constexpr UINT_PTR kPreviewTimer = 0x5150;

void CALLBACK previewDue(HWND sheet, UINT, UINT_PTR id, DWORD) {
    KillTimer(sheet, id);
    if (!gOpen || !gOpen->preview) return;
    const std::string why = gOpen->host->showPreview(reinterpret_cast<uintptr_t>(gOpen->preview));
    SetWindowTextW(gOpen->previewNote, wide(why).c_str());
    ShowWindow(gOpen->preview, why.empty() ? SW_SHOW : SW_HIDE);
    ShowWindow(gOpen->previewNote, why.empty() ? SW_HIDE : SW_SHOW);
}

// (Re)starts the preview a moment from now: a run of changes (a slider
// dragged, a number typed) restarts it once, after the last.
void schedulePreview(const Sheet& sheet) {
    if (sheet.preview) SetTimer(sheet.hwnd, kPreviewTimer, kPreviewDelayMs, previewDue);
}

// Widens the sheet by a column beside the pages and puts the preview there,
// in a group of its own at the height of the tabs; the buttons move along.
void addPreview(Sheet& sheet) {
    HWND tabs = PropSheet_GetTabControl(sheet.hwnd);
    RECT tab{};
    if (!tabs || !GetWindowRect(tabs, &tab)) return;
    MapWindowPoints(nullptr, sheet.hwnd, reinterpret_cast<POINT*>(&tab), 2);
    RECT unit{0, 0, kPreviewWidth, kMargin};
    MapDialogRect(sheet.hwnd, &unit);
    const int width = unit.right, margin = unit.bottom, height = width * 10 / 16;
    RECT line{0, 0, 0, 12};
    MapDialogRect(sheet.hwnd, &line);
    const int left = tab.right + margin, groupWidth = width + 2 * margin;
    const int extra = groupWidth + margin;
    // Wider about its centre, but within the screen it is on.
    RECT outer{};
    GetWindowRect(sheet.hwnd, &outer);
    const int sheetWidth = outer.right - outer.left + extra;
    int x = outer.left - extra / 2;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(sheet.hwnd, MONITOR_DEFAULTTONEAREST), &monitor))
        x = std::max(std::min(x, static_cast<int>(monitor.rcWork.right) - sheetWidth),
                     static_cast<int>(monitor.rcWork.left));
    SetWindowPos(sheet.hwnd, nullptr, x, outer.top, sheetWidth, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    for (int id : {IDOK, IDCANCEL, IDHELP, 0x3021 /* Apply */}) {
        HWND button = GetDlgItem(sheet.hwnd, id);
        RECT r{};
        if (!button || !GetWindowRect(button, &r)) continue;
        MapWindowPoints(nullptr, sheet.hwnd, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(button, nullptr, r.left + extra, r.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(sheet.hwnd, WM_GETFONT, 0, 0));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h) {
        HWND c = CreateWindowExW(0, cls, text, WS_CHILD | style, x, y, w, h, sheet.hwnd, nullptr, instance,
                                 nullptr);
        if (c) SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return c;
    };
    make(L"BUTTON", L"Preview", BS_GROUPBOX | WS_VISIBLE, left, tab.top, groupWidth,
         line.bottom + height + margin);
    // The saver's window goes inside: ours must not paint over it.
    sheet.preview = make(L"STATIC", L"", SS_BLACKRECT | WS_CLIPCHILDREN | WS_VISIBLE, left + margin,
                         tab.top + line.bottom, width, height);
    sheet.previewNote = make(L"STATIC", L"", SS_CENTER, left + margin, tab.top + line.bottom, width, height);
    schedulePreview(sheet);
}

std::wstring windowText(HWND w) {
    std::wstring s(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(w, s.data(), static_cast<int>(s.size()))));
    return s;
}

const SheetItem& itemOf(const PageState& p, int item) { return (*p.sheet->tabs)[p.tab].items[item]; }

// Shows the host's values in every control of the page but `skip` (the one
// being typed into).
void refresh(PageState& p, HWND skip = nullptr) {
    SheetHost& host = *p.sheet->host;
    p.updating = true;
    const SheetTab& tab = (*p.sheet->tabs)[p.tab];
    for (int i = 0; i < static_cast<int>(tab.items.size()); ++i) {
        const SheetItem& it = tab.items[i];
        if (it.kind == SheetItem::Kind::Note) continue;  // no value behind it
        const bool on = host.enabled(p.tab, i);
        for (int part = 0; part < kPartsPerItem; ++part)
            if (HWND w = GetDlgItem(p.hwnd, idOf(i, part))) EnableWindow(w, on);
        HWND main = GetDlgItem(p.hwnd, idOf(i, kMain));
        switch (it.kind) {
            case SheetItem::Kind::Slider: {
                const int v = host.value(p.tab, i);
                SendMessageW(main, TBM_SETPOS, TRUE, v);
                SetDlgItemTextW(p.hwnd, idOf(i, kValue), wide(host.shown(p.tab, i, v)).c_str());
                break;
            }
            case SheetItem::Kind::Spin:
                if (main != skip) SetDlgItemInt(p.hwnd, idOf(i, kMain), host.value(p.tab, i), TRUE);
                break;
            case SheetItem::Kind::Check:
                CheckDlgButton(p.hwnd, idOf(i, kMain), host.value(p.tab, i) ? BST_CHECKED : BST_UNCHECKED);
                break;
            case SheetItem::Kind::Choice: {
                const int count = static_cast<int>(it.options.size());
                CheckRadioButton(p.hwnd, idOf(i, kRadio), idOf(i, kRadio + count - 1),
                                 idOf(i, kRadio + std::clamp(host.value(p.tab, i), 0, count - 1)));
                if (HWND button = GetDlgItem(p.hwnd, idOf(i, kAdd)))
                    EnableWindow(button, on && host.canAct(p.tab, i));
                break;
            }
            case SheetItem::Kind::Text: {
                const std::wstring text = wide(host.text(p.tab, i));
                if (main != skip && windowText(main) != text) SetWindowTextW(main, text.c_str());
                break;
            }
            case SheetItem::Kind::FolderList: {
                SendMessageW(main, LB_RESETCONTENT, 0, 0);
                for (const std::string& f : host.folders())
                    SendMessageW(main, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(f).c_str()));
                break;
            }
            case SheetItem::Kind::Note:
                break;
        }
    }
    p.updating = false;
    if (host.changed(p.tab))
        PropSheet_Changed(GetParent(p.hwnd), p.hwnd);
    else
        PropSheet_UnChanged(GetParent(p.hwnd), p.hwnd);
}

// The system's folder picker; empty when cancelled.
std::string pickFolder(HWND owner, const std::string& title) {
    const std::wstring caption = wide(title);
    std::string chosen;
    IFileOpenDialog* dialog = nullptr;
    if (SUCCEEDED(
            CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog)))) {
        FILEOPENDIALOGOPTIONS options = 0;
        dialog->GetOptions(&options);
        dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
        dialog->SetTitle(caption.c_str());
        IShellItem* item = nullptr;
        if (SUCCEEDED(dialog->Show(owner)) && SUCCEEDED(dialog->GetResult(&item))) {
            PWSTR path = nullptr;
            if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
                chosen = utf8(path);
                CoTaskMemFree(path);
            }
            item->Release();
        }
        dialog->Release();
        return chosen;
    }
    // Older systems: the shell's folder browser.
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = caption.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info)) {
        wchar_t path[MAX_PATH * 4] = {};
        if (SHGetPathFromIDListW(list, path)) chosen = utf8(path);
        CoTaskMemFree(list);
    }
    return chosen;
}

void addTip(HWND tips, HWND page, HWND control, const std::wstring& text) {
    if (text.empty()) return;
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = page;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void makeControls(PageState& p) {
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(p.hwnd, WM_GETFONT, 0, 0));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND tips =
        CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, p.hwnd, nullptr, instance, nullptr);
    if (tips) {
        SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, 360);
        SendMessageW(tips, TTM_SETDELAYTIME, TTDT_AUTOPOP, 20000);
    }
    for (const Placed& c : p.placed) {
        RECT r = c.box;
        MapDialogRect(p.hwnd, &r);
        const int id = c.item < 0 ? c.part : idOf(c.item, c.part);
        // Each control a group of its own for the arrow keys, but a choice's
        // radio buttons one group together.
        DWORD style = c.style | WS_CHILD | WS_VISIBLE;
        if ((style & WS_TABSTOP) && (c.item < 0 || c.part < kRadio)) style |= WS_GROUP;
        HWND w = CreateWindowExW(
            c.cls == std::wstring(L"EDIT") || c.cls == std::wstring(L"LISTBOX") ? WS_EX_CLIENTEDGE : 0, c.cls,
            c.text.c_str(), style, r.left, r.top, r.right - r.left, r.bottom - r.top, p.hwnd,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        if (!w) continue;
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (tips) addTip(tips, p.hwnd, w, c.tip);
        if (c.item < 0) continue;
        const SheetItem& it = itemOf(p, c.item);
        if (c.part == kMain) ++p.made;
        if (c.part == kMain && it.kind == SheetItem::Kind::Slider) {
            SendMessageW(w, TBM_SETRANGEMIN, FALSE, it.minimum);
            SendMessageW(w, TBM_SETRANGEMAX, FALSE, it.maximum);
            SendMessageW(w, TBM_SETPAGESIZE, 0, std::max(1, it.pageStep));
            SendMessageW(w, TBM_SETLINESIZE, 0, 1);
            SendMessageW(w, TBM_SETTICFREQ, std::max(1, it.pageStep), 0);
        }
        if (c.part == kUpDown) SendMessageW(w, UDM_SETRANGE32, it.minimum, it.maximum);
        if (c.part == kRadio) ++p.made;  // a choice counts once, by its first button
        if (c.part == kSample)
            p.samples.push_back(
                CreateSolidBrush(RGB((it.sample >> 16) & 0xFF, (it.sample >> 8) & 0xFF, it.sample & 0xFF)));
    }
    refresh(p);
}

// Asks about characters that cannot be stored; true to store anyway.
bool acceptLoss(HWND page, const std::string& lost) {
    return ask(page,
               L"These characters cannot be kept in a message and will be replaced by \"?\":\n\n" +
                   wide(lost) + L"\n\nStore the messages anyway?",
               MB_OKCANCEL | MB_ICONWARNING);
}

INT_PTR CALLBACK pageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* p = reinterpret_cast<PageState*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            p = reinterpret_cast<PageState*>(reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
            SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(p));
            p->hwnd = hwnd;
            makeControls(*p);
            return TRUE;
        }
        case WM_DESTROY:
            if (p) {
                for (HBRUSH b : p->samples) DeleteObject(b);
                p->samples.clear();
                p->hwnd = nullptr;
            }
            return FALSE;
        case WM_CTLCOLORSTATIC: {
            if (!p) return FALSE;
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            int sample = 0;
            for (const Placed& c : p->placed) {
                if (c.part != kSample) continue;
                // Asked while the page is being made: no brush yet for the latest.
                if (idOf(c.item, kSample) == id)
                    return sample < static_cast<int>(p->samples.size())
                               ? reinterpret_cast<INT_PTR>(p->samples[static_cast<size_t>(sample)])
                               : FALSE;
                ++sample;
            }
            return FALSE;
        }
        case WM_HSCROLL: {
            if (!p || !lParam || p->updating) return FALSE;
            const int item = (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) - kItemIds) / kPartsPerItem;
            p->sheet->host->setValue(
                p->tab, item,
                static_cast<int>(SendMessageW(reinterpret_cast<HWND>(lParam), TBM_GETPOS, 0, 0)));
            refresh(*p);
            schedulePreview(*p->sheet);
            return TRUE;
        }
        case WM_COMMAND: {
            if (!p || p->updating) return FALSE;
            const int id = LOWORD(wParam), code = HIWORD(wParam);
            SheetHost& host = *p->sheet->host;
            if (id == kResetId || id == kChaosId) {
                if (id == kResetId)
                    host.reset(p->tab);
                else
                    host.reduceChaos(p->tab);
                refresh(*p);
                schedulePreview(*p->sheet);
                return TRUE;
            }
            if (id < kItemIds) return FALSE;
            const int item = (id - kItemIds) / kPartsPerItem, part = (id - kItemIds) % kPartsPerItem;
            const SheetTab& tab = (*p->sheet->tabs)[p->tab];
            if (item >= static_cast<int>(tab.items.size())) return FALSE;
            const SheetItem& it = tab.items[item];
            HWND control = reinterpret_cast<HWND>(lParam);
            if (it.kind == SheetItem::Kind::Check && code == BN_CLICKED) {
                host.setValue(p->tab, item, IsDlgButtonChecked(hwnd, id) == BST_CHECKED);
            } else if (it.kind == SheetItem::Kind::Choice && part >= kRadio && code == BN_CLICKED) {
                host.setValue(p->tab, item, part - kRadio);
            } else if (it.kind == SheetItem::Kind::Choice && part == kAdd && code == BN_CLICKED) {
                const std::string note = host.act(p->tab, item);
                if (!note.empty()) ask(hwnd, wide(note), MB_OK | MB_ICONINFORMATION);
            } else if (it.kind == SheetItem::Kind::Spin && code == EN_CHANGE) {
                BOOL ok = FALSE;
                const int v = static_cast<int>(GetDlgItemInt(hwnd, id, &ok, TRUE));
                if (!ok) return TRUE;
                host.setValue(p->tab, item, v);
                refresh(*p, control);
                schedulePreview(*p->sheet);
                return TRUE;
            } else if (it.kind == SheetItem::Kind::Spin && code == EN_KILLFOCUS) {
                // What was typed, shown as it stands (clamped).
            } else if (it.kind == SheetItem::Kind::Text && code == EN_CHANGE) {
                host.setText(p->tab, item, utf8(windowText(control)));
                refresh(*p, control);
                schedulePreview(*p->sheet);
                return TRUE;
            } else if (it.kind == SheetItem::Kind::FolderList && part == kAdd && code == BN_CLICKED) {
                const std::string folder = pickFolder(GetParent(hwnd), it.pickerTitle);
                if (folder.empty()) return TRUE;
                const std::string note = host.addFolder(folder);
                if (!note.empty()) ask(hwnd, wide(note), MB_OK | MB_ICONINFORMATION);
            } else if (it.kind == SheetItem::Kind::FolderList && part == kRemove && code == BN_CLICKED) {
                const LRESULT at = SendDlgItemMessageW(hwnd, idOf(item, kMain), LB_GETCURSEL, 0, 0);
                if (at == LB_ERR) return TRUE;
                host.removeFolder(static_cast<int>(at));
            } else {
                return FALSE;
            }
            refresh(*p);
            schedulePreview(*p->sheet);
            return TRUE;
        }
        case WM_NOTIFY: {
            if (!p) return FALSE;
            const auto* n = reinterpret_cast<const NMHDR*>(lParam);
            SheetHost& host = *p->sheet->host;
            switch (n->code) {
                case PSN_APPLY: {
                    LONG_PTR result = PSNRET_NOERROR;
                    const std::string lost = host.lost(p->tab);
                    if (!lost.empty() && !acceptLoss(hwnd, lost)) {
                        result = PSNRET_INVALID_NOCHANGEPAGE;
                    } else {
                        const bool changed = host.changed(p->tab);
                        std::string error;
                        if (!host.apply(p->tab, error)) {
                            ask(hwnd, wide(error), MB_OK | MB_ICONERROR);
                            result = PSNRET_INVALID_NOCHANGEPAGE;
                        } else if (changed) {
                            p->sheet->wrote = true;
                        }
                    }
                    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
                    return TRUE;
                }
                case PSN_HELP:
                    host.help();
                    return TRUE;
                case PSN_SETACTIVE:
                    refresh(*p);
                    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, 0);
                    return TRUE;
                default:
                    return FALSE;
            }
        }
        default:
            return FALSE;
    }
}

void pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (gOpen && gOpen->hwnd && PropSheet_IsDialogMessage(gOpen->hwnd, &m)) continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

bool writeBmp(HWND window, const std::string& path) {
    RECT r;
    if (!GetWindowRect(window, &r)) return false;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const int stride = (w * 3 + 3) & ~3;
    std::vector<unsigned char> rows(static_cast<size_t>(stride) * h);
    const int got =
        GetDIBits(memory, bitmap, 0, h, rows.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (got != h) return false;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(rows.size());
    std::FILE* f = _wfopen(wide(path).c_str(), L"wb");
    if (!f) return false;
    bool ok = std::fwrite(&file, sizeof file, 1, f) == 1 && std::fwrite(&info, sizeof info, 1, f) == 1 &&
              std::fwrite(rows.data(), rows.size(), 1, f) == 1;
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

class Remote : public SheetRemote {
public:
    explicit Remote(Sheet& sheet) : m_sheet(sheet) {}
    uint64_t window() override { return reinterpret_cast<uintptr_t>(m_sheet.hwnd); }
    uint64_t owner() override { return reinterpret_cast<uintptr_t>(GetWindow(m_sheet.hwnd, GW_OWNER)); }
    void select(int tab) override {
        PropSheet_SetCurSel(m_sheet.hwnd, nullptr, tab);
        pump();
    }
    int itemsMade(int tab) override { return m_sheet.pages.at(static_cast<size_t>(tab))->made; }
    void setValue(int item, int value) override {
        PageState* p = current();
        if (!p) return;
        const SheetItem& it = itemOf(*p, item);
        HWND main = GetDlgItem(p->hwnd, idOf(item, kMain));
        switch (it.kind) {
            case SheetItem::Kind::Slider:
                SendMessageW(main, TBM_SETPOS, TRUE, value);
                SendMessageW(p->hwnd, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, value),
                             reinterpret_cast<LPARAM>(main));
                break;
            case SheetItem::Kind::Spin:
                SetDlgItemInt(p->hwnd, idOf(item, kMain), value, TRUE);
                break;
            case SheetItem::Kind::Check:
                if ((IsDlgButtonChecked(p->hwnd, idOf(item, kMain)) == BST_CHECKED) != (value != 0))
                    SendMessageW(main, BM_CLICK, 0, 0);
                break;
            case SheetItem::Kind::Choice:
                SendMessageW(GetDlgItem(p->hwnd, idOf(item, kRadio + value)), BM_CLICK, 0, 0);
                break;
            default:
                break;
        }
        pump();
    }
    void setText(int item, const std::string& text) override {
        if (PageState* p = current()) SetDlgItemTextW(p->hwnd, idOf(item, kMain), wide(text).c_str());
        pump();
    }
    void press(const std::string& label) override {
        PageState* p = current();
        if (!p) return;
        for (int id : {kResetId, kChaosId}) {
            HWND b = GetDlgItem(p->hwnd, id);
            if (b && utf8(windowText(b)) == label)
                SendMessageW(p->hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(b));
        }
        pump();
    }
    void press(Button button) override {
        const int which = button == Button::Ok       ? PSBTN_OK
                          : button == Button::Cancel ? PSBTN_CANCEL
                          : button == Button::Apply  ? PSBTN_APPLYNOW
                                                     : PSBTN_HELP;
        PropSheet_PressButton(m_sheet.hwnd, which);
        pump();
    }
    bool closing() override { return PropSheet_GetCurrentPageHwnd(m_sheet.hwnd) == nullptr; }
    uint64_t previewWindow() override { return reinterpret_cast<uintptr_t>(m_sheet.preview); }
    void wait(int ms) override {
        const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(std::max(0, ms));
        for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_ALLINPUT);
            pump();
        }
    }
    bool screenshot(const std::string& path) override {
        SetForegroundWindow(m_sheet.hwnd);
        RedrawWindow(m_sheet.hwnd, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
        pump();
        Sleep(200);
        pump();
        return writeBmp(m_sheet.hwnd, path);
    }

private:
    PageState* current() {
        HWND page = PropSheet_GetCurrentPageHwnd(m_sheet.hwnd);
        return page ? reinterpret_cast<PageState*>(GetWindowLongPtrW(page, DWLP_USER)) : nullptr;
    }
    Sheet& m_sheet;
};

void CALLBACK driveSheet(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    if (!gOpen || !remoteHook()) return;
    Remote remote(*gOpen);
    remoteHook()(remote);
}

int CALLBACK sheetCallback(HWND hwnd, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED && gOpen) {
        gOpen->hwnd = hwnd;
        if (gOpen->host->hasPreview()) addPreview(*gOpen);
        if (remoteHook()) SetTimer(hwnd, 0x5153, 200, driveSheet);
    }
    return 0;
}

}  // namespace

void setSheetRemote(std::function<void(SheetRemote&)> remote) { remoteHook() = std::move(remote); }
void setSheetBoxes(std::function<bool(const std::string&)> answer) { boxAnswer() = std::move(answer); }

int showSheet(const std::string& caption, const std::vector<SheetTab>& tabs, SheetHost& host, uint64_t owner,
              int startTab, std::string& error) {
    if (gOpen) {
        error = "the settings sheet is already open";
        return -1;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES |
                                                       ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));

    Sheet sheet;
    sheet.tabs = &tabs;
    sheet.host = &host;
    HWND ownerWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(owner));
    if (!ownerWindow || !IsWindow(ownerWindow)) ownerWindow = GetForegroundWindow();
    sheet.owner = ownerWindow;

    // Every page as tall as the tallest: the sheet takes the largest anyway.
    int height = 0;
    for (size_t t = 0; t < tabs.size(); ++t) {
        auto p = std::make_unique<PageState>();
        p->sheet = &sheet;
        p->tab = static_cast<int>(t);
        height = std::max(height, layOut(tabs[t], p->placed));
        sheet.pages.push_back(std::move(p));
    }
    std::vector<std::wstring> captions;
    for (const SheetTab& t : tabs) captions.push_back(wide(t.caption));
    std::vector<PROPSHEETPAGEW> pages(tabs.size());
    for (size_t t = 0; t < tabs.size(); ++t) {
        PageState& p = *sheet.pages[t];
        p.dialog = pageTemplate(height);
        PROPSHEETPAGEW& page = pages[t];
        page.dwSize = sizeof page;
        page.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE | PSP_HASHELP;
        page.hInstance = GetModuleHandleW(nullptr);
        page.pResource = reinterpret_cast<const DLGTEMPLATE*>(p.dialog.data());
        page.pszTitle = captions[t].c_str();
        page.pfnDlgProc = pageProc;
        page.lParam = reinterpret_cast<LPARAM>(&p);
    }
    const std::wstring title = wide(caption);
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_HASHELP | PSH_NOCONTEXTHELP;
    header.hwndParent = ownerWindow;
    header.hInstance = GetModuleHandleW(nullptr);
    header.pszCaption = title.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = static_cast<UINT>(std::clamp(startTab, 0, static_cast<int>(pages.size()) - 1));
    header.ppsp = pages.data();
    header.pfnCallback = sheetCallback;

    gOpen = &sheet;
    const INT_PTR result = PropertySheetW(&header);
    gOpen = nullptr;
    host.endPreview();
    if (com) CoUninitialize();
    if (result < 0) {
        error = "the settings sheet could not be shown (error " + std::to_string(GetLastError()) + ")";
        return -1;
    }
    return sheet.wrote ? 1 : 0;
}

int displayBitsPerPixel() {
    HDC screen = GetDC(nullptr);
    const int bits = screen ? GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES) : 32;
    if (screen) ReleaseDC(nullptr, screen);
    return bits;
}

}  // namespace platform::win32
