// Checks the compiled menus, accelerator table and speech dialog template
// against the command tables, item by item, as the running program sees them.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                   nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size,
                        nullptr, nullptr);
    return out;
}

// A menu item: a command (id != 0) or a submenu (id == 0, items filled).
struct Item {
    Item(UINT command, const wchar_t* label) : id(command), text(label) {}
    Item(const wchar_t* title, std::vector<Item> submenu)
        : id(0), text(title), items(std::move(submenu)) {}
    UINT id;
    const wchar_t* text;
    std::vector<Item> items;
};

Item Sub(const wchar_t* title, std::vector<Item> items) { return Item(title, std::move(items)); }

struct ActualItem {
    UINT id = 0;
    UINT type = 0;
    UINT state = 0;
    HMENU sub = nullptr;
    std::wstring text;
};

ActualItem ReadItem(HMENU menu, int pos) {
    ActualItem item;
    wchar_t buf[256] = {};
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STATE;
    info.dwTypeData = buf;
    info.cch = static_cast<UINT>(sizeof buf / sizeof buf[0]);
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &info)) {
        ADD_FAILURE() << "GetMenuItemInfoW failed at position " << pos;
        return item;
    }
    item.id = info.wID;
    item.type = info.fType;
    item.state = info.fState;
    item.sub = info.hSubMenu;
    item.text = buf;
    return item;
}

// Compares a whole menu tree; `where` names the menu in failure messages.
void ExpectMenu(HMENU menu, const std::vector<Item>& expected, const std::string& where) {
    int count = GetMenuItemCount(menu);
    EXPECT_EQ(count, static_cast<int>(expected.size())) << where << ": item count";
    int n = count < static_cast<int>(expected.size()) ? count : static_cast<int>(expected.size());
    for (int i = 0; i < n; ++i) {
        const Item& want = expected[static_cast<size_t>(i)];
        ActualItem got = ReadItem(menu, i);
        std::string at = where + " item " + std::to_string(i) + " (expected \"" + Utf8(want.text) + "\")";

        EXPECT_FALSE(got.type & MFT_SEPARATOR) << at << ": is a separator";
        EXPECT_EQ(got.type & ~static_cast<UINT>(MFT_RIGHTORDER), static_cast<UINT>(MFT_STRING))
            << at << ": not a plain string item";
        EXPECT_EQ(got.state & (MFS_GRAYED | MFS_CHECKED), 0u) << at << ": greyed or checked";
        EXPECT_EQ(got.text, std::wstring(want.text)) << at << ": text is \"" << Utf8(got.text) << "\"";

        if (want.id == 0) {
            if (got.sub == nullptr) {
                ADD_FAILURE() << at << ": expected a submenu, found command " << got.id;
                continue;
            }
            ExpectMenu(got.sub, want.items, where + " > " + std::to_string(i) + ":" + Utf8(want.text));
        } else {
            EXPECT_EQ(got.sub, nullptr) << at << ": unexpected submenu";
            EXPECT_EQ(got.id, want.id) << at << ": command ID";
        }
    }
}

// Owns a menu loaded from this module's resources.
struct LoadedMenu {
    explicit LoadedMenu(const wchar_t* name) : menu(LoadMenuW(GetModuleHandleW(nullptr), name)) {}
    ~LoadedMenu() {
        if (menu) DestroyMenu(menu);
    }
    LoadedMenu(const LoadedMenu&) = delete;
    LoadedMenu& operator=(const LoadedMenu&) = delete;
    HMENU menu;
};

const std::vector<Item>& MenuBarTable() {
    static const std::vector<Item> table = {
        Sub(L"ファイル(&F)", {
            {501, L"新規作成(&N)\tControl+N"},
            {502, L"上書き保存(&S)\tControl+S"},
            {503, L"名前を付けて保存(&A)\tControl+Shift+A"},
            {509, L"文字コードを指定して保存(&C)"},
            {504, L"開く(&O)\tControl+O"},
            {505, L"ファイル履歴(&H)\tControl+F1"},
            {506, L"挿入読み込み(&I)\tControl+Shift+O"},
            {507, L"お気に入り登録(&D)\tControl+F2"},
            {508, L"お気に入り(&B)\tF2"},
            {525, L"文字コードを変更して読み込む(&R)"},
            {575, L"バックアップテキストの保存フォルダを開く(&B)"},
            {573, L"もう1つオリンダを起動する(&E)"},
            {574, L"全てのオリンダを終了する(&T)"},
            {510, L"オリンダの終了(&X)"},
        }),
        Sub(L"編集(&E)", {
            {524, L"範囲選択の開始(&S)\tF4"},
            {511, L"すべて選択(&A)\tControl+A"},
            {512, L"コピー(&C)\tControl+C"},
            {513, L"切り取り(&X)\tControl+X"},
            {514, L"貼り付け(&V)\tControl+V"},
            {515, L"元に戻す(&Z)\tControl+Z"},
            Sub(L"選択文字列の変換(&E)", {
                {516, L"大文字に変換(&U)"},
                {517, L"小文字に変換(&L)"},
                {518, L"全角に変換(&F)"},
                {519, L"半角に変換(&H)"},
            }),
            {520, L"編集禁止のオン・オフ切り替え(&E)\tControl+F11"},
        }),
        Sub(L"検索(&S)", {
            {531, L"検索(&F)\tControl+F"},
            {533, L"前を検索(&B)\tShift+F3"},
            {532, L"次を検索(&N)\tF3"},
            {534, L"置換(&H)\tControl+H"},
            {536, L"正規表現検索(&F)\tControl+Shift+F"},
            {537, L"正規表現置換(&H)\tControl+Shift+H"},
            {535, L"行移動(&J)\tControl+J"},
        }),
        Sub(L"ブロック移動(&B)", {
            {521, L"前のブロック(&B)\tControl+上カーソル"},
            {522, L"次のブロック(&N)\tControl+下カーソル"},
            {523, L"ブロック一覧(&L)\tControl+F7"},
        }),
        Sub(L"表示(&V)", {
            {543, L"折り返し表示のオン・オフ切り替え(&B)\tF11"},
            {544, L"起動中のオリンダ一覧(&W)\tF6"},
        }),
        Sub(L"定型文(&I)", {
            {526, L"定型文の追加(&R)\tControl+F8"},
            {527, L"定型文一覧(&I)\tF8"},
            {530, L"簡単入力(&V)\tF7"},
        }),
        Sub(L"テキスト録音(&W)", {
            {546, L"全文録音(&A)\tControl+F9"},
            {547, L"選択範囲録音(&S)\tShift+F9"},
            {548, L"録音音声の保存先を開く(&E)"},
        }),
        Sub(L"オーディオファイル再生(&P)", {
            {612, L"オーディオファイルを開く(&O)\tControl+Shift+I"},
            {616, L"オーディオファイル履歴(&H)\tShift+F1"},
            {580, L"テンキープレーヤー機能の有効・無効の切り替え(&A)\tShift+F2"},
            {605, L"再生の開始と停止(&P)\tテンキー5"},
            {608, L"音量を上げる(&U)\tテンキー8"},
            {602, L"音量を下げる(&D)\tテンキー2"},
            Sub(L"再生スピード(&S)", {
                {614, L"上げる(&U)\tテンキーのアスタリスク"},
                {615, L"下げる(&D)\tテンキーのスラッシュ"},
                {613, L"1.0倍に戻す(&H)\tテンキーのマイナス"},
            }),
            Sub(L"再生位置を戻す(&B)", {
                {601, L"5秒戻す(&1)\tテンキー1"},
                {604, L"10秒戻す(&4)\tテンキー4"},
                {607, L"1分戻す(&7)\tテンキー7"},
                {610, L"先頭に戻す(&0)\tテンキー0"},
            }),
            Sub(L"再生位置を進める(&N)", {
                {603, L"5秒進める(&3)\tテンキー3"},
                {606, L"10秒進める(&6)\tテンキー6"},
                {609, L"1分進める(&9)\tテンキー9"},
                {611, L"終端に移動(&E)\tテンキーのピリオド"},
            }),
        }),
        Sub(L"読み(&R)", {
            {583, L"カーソルの在る行から文末まで読み上げ(&3)\tControl+3"},
            {584, L"1行読み(&4)\tControl+4"},
            {585, L"行頭からカーソル位置まで読み上げ(&5)\tControl+5"},
            {586, L"カーソル位置から行末読み上げ(&6)\tControl+6"},
            {587, L"カーソル位置読み上げ(&7)\tControl+7"},
            {588, L"総行数読み上げ(&8)\tControl+8"},
            {589, L"総文字数読み上げ(&9)\tControl+9"},
            {590, L"改行文字を含めた総文字数読み上げ(&0)\tControl+0"},
            {591, L"テンキープレーヤーの有効・無効を読み上げ(&1)\tAlt+1"},
            {592, L"ファイル名読み上げ(&2)\tAlt+2"},
            {593, L"文字コード読み上げ(&3)\tAlt+3"},
            {594, L"範囲選択状態を読み上げ(&4)\tAlt+4"},
            {595, L"オーディオファイルの再生ボリュームを読み上げ(&5)\tAlt+5"},
            {596, L"オーディオファイルの再生スピードを読み上げ(&6)\tAlt+6"},
            {597, L"オーディオファイルの再生位置を読み上げ(&7)\tAlt+7"},
            {598, L"オーディオファイルの総録音時間を読み上げ(&8)\tAlt+8"},
            {599, L"オーディオファイルのファイル名を読み上げ(&9)\tAlt+9"},
            {600, L"お休みタイマーの状態を読み上げ(&0)\tAlt+0"},
        }),
        Sub(L"ツール(&T)", {
            {551, L"全般設定(&A)"},
            {552, L"音声設定(&S)"},
            {553, L"テキスト録音設定(&R)"},
            {554, L"お休みタイマーの設定(&T)\tF10"},
            {555, L"お休みタイマーのキャンセル(&C)\tControl+F10"},
            {558, L"点字表示機能のオン・オフ切り替え(&B)\tControl+B"},
            {572, L"カーソル位置のURLをブラウザで開く(&U)\tF5"},
        }),
        Sub(L"ヘルプ(&H)", {
            {561, L"操作マニュアル(&M)\tF1"},
            {562, L"キーボードコマンド一覧(&C)"},
            {563, L"更新履歴(&H)"},
            {564, L"バージョン情報(&V)"},
            {565, L"更新チェック(&U)"},
            {566, L"オリンダの紹介ページ(&G)"},
            {567, L"作者サイト(&W)"},
            {568, L"お問い合わせフォーム(&F)"},
        }),
    };
    return table;
}

const std::vector<Item>& ContextMenuTable() {
    static const std::vector<Item> table = {
        Sub(L"オリンダ", {  // empty document
            {514, L"貼り付け(&P)"},
            {526, L"定型文の追加(&R)"},
            {527, L"定型文一覧(&I)"},
            {530, L"簡単入力(&V)"},
        }),
        Sub(L"オリンダ", {  // text, no selection
            {511, L"すべて選択(&A)"},
            {514, L"貼り付け(&P)"},
            {515, L"元に戻す(&U)"},
            Sub(L"ブロック移動(&B)", {
                {521, L"前のブロック(&B)"},
                {522, L"次のブロック(&N)"},
                {523, L"ブロック一覧(&L)"},
            }),
            {526, L"定型文の追加(&R)"},
            {527, L"定型文一覧(&I)"},
            {530, L"簡単入力(&V)"},
        }),
        Sub(L"オリンダ", {  // selection
            {512, L"コピー(&C)"},
            {513, L"切り取り(&T)"},
            {515, L"元に戻す(&U)"},
            Sub(L"選択文字列の変換(&E)", {
                {516, L"大文字に変換(&U)"},
                {517, L"小文字に変換(&L)"},
                {518, L"全角に変換(&F)"},
                {519, L"半角に変換(&H)"},
            }),
            {526, L"定型文の追加(&R)"},
            {527, L"定型文一覧(&I)"},
            {530, L"簡単入力(&V)"},
        }),
    };
    return table;
}

TEST(MenuResources, MenuBarMatchesCommandTable) {
    LoadedMenu bar(L"ORM");
    ASSERT_NE(bar.menu, nullptr);
    ExpectMenu(bar.menu, MenuBarTable(), "ORM");
}

TEST(MenuResources, ContextMenusMatchCommandTable) {
    LoadedMenu context(L"RMenu");
    ASSERT_NE(context.menu, nullptr);
    ExpectMenu(context.menu, ContextMenuTable(), "RMenu");
}

constexpr BYTE kVirt = FVIRTKEY;
constexpr BYTE kCtrl = FVIRTKEY | FCONTROL;
constexpr BYTE kShift = FVIRTKEY | FSHIFT;
constexpr BYTE kAlt = FVIRTKEY | FALT;
constexpr BYTE kCtrlShift = FVIRTKEY | FCONTROL | FSHIFT;
constexpr BYTE kChar = 0;  // WM_CHAR match on a control character

struct Accel {
    BYTE flags;
    WORD key;
    WORD cmd;
};

const Accel kAccelTable[] = {
    {kCtrl, VK_RETURN, 499},
    {kVirt, VK_ESCAPE, 500},
    {kChar, 14, 501},  // Ctrl+N
    {kChar, 19, 502},  // Ctrl+S
    {kVirt, VK_F4, 524},
    {kCtrlShift, 'A', 503},
    {kChar, 15, 504},  // Ctrl+O
    {kCtrl, VK_F1, 505},
    {kCtrlShift, 'O', 506},
    {kCtrl, VK_F2, 507},
    {kVirt, VK_F2, 508},
    {kAlt, VK_F4, 510},
    {kChar, 3, 512},  // Ctrl+C
    {kCtrl, VK_F11, 520},
    {kCtrl, VK_UP, 521},
    {kCtrl, VK_DOWN, 522},
    {kCtrl, VK_F7, 523},
    {kCtrl, VK_F8, 526},
    {kVirt, VK_F8, 527},
    {kVirt, VK_F7, 530},
    {kChar, 6, 531},  // Ctrl+F
    {kVirt, VK_F3, 532},
    {kShift, VK_F3, 533},
    {kCtrl, 'H', 534},
    {kCtrlShift, 'F', 536},
    {kCtrlShift, 'H', 537},
    {kChar, 10, 535},  // Ctrl+J
    {kVirt, VK_F11, 543},
    {kVirt, VK_F6, 544},
    {kCtrl, VK_F9, 546},
    {kShift, VK_F9, 547},
    {kVirt, VK_PRIOR, 549},
    {kVirt, VK_NEXT, 550},
    {kVirt, VK_F10, 554},
    {kShift, VK_F10, 555},
    {kChar, 2, 558},  // Ctrl+B
    {kVirt, VK_F1, 561},
    {kVirt, VK_APPS, 571},
    {kVirt, VK_F5, 572},
    {kShift, VK_F2, 580},
    {kCtrl, '3', 583}, {kCtrl, '4', 584}, {kCtrl, '5', 585}, {kCtrl, '6', 586},
    {kCtrl, '7', 587}, {kCtrl, '8', 588}, {kCtrl, '9', 589}, {kCtrl, '0', 590},
    {kAlt, '1', 591}, {kAlt, '2', 592}, {kAlt, '3', 593}, {kAlt, '4', 594}, {kAlt, '5', 595},
    {kAlt, '6', 596}, {kAlt, '7', 597}, {kAlt, '8', 598}, {kAlt, '9', 599}, {kAlt, '0', 600},
    {kCtrl, VK_NUMPAD1, 581}, {kCtrl, VK_NUMPAD2, 582},
    {kCtrl, VK_NUMPAD3, 583}, {kCtrl, VK_NUMPAD4, 584}, {kCtrl, VK_NUMPAD5, 585},
    {kCtrl, VK_NUMPAD6, 586}, {kCtrl, VK_NUMPAD7, 587}, {kCtrl, VK_NUMPAD8, 588},
    {kCtrl, VK_NUMPAD9, 589}, {kCtrl, VK_NUMPAD0, 590},
    {kAlt, VK_NUMPAD1, 591}, {kAlt, VK_NUMPAD2, 592}, {kAlt, VK_NUMPAD3, 593},
    {kAlt, VK_NUMPAD4, 594}, {kAlt, VK_NUMPAD5, 595}, {kAlt, VK_NUMPAD6, 596},
    {kAlt, VK_NUMPAD7, 597}, {kAlt, VK_NUMPAD8, 598}, {kAlt, VK_NUMPAD9, 599},
    {kAlt, VK_NUMPAD0, 600},
    {kCtrlShift, 'I', 612},
    {kShift, VK_F1, 616},
};

TEST(AcceleratorResource, MatchesKeyTableInOrder) {
    constexpr int kExpected = static_cast<int>(sizeof kAccelTable / sizeof kAccelTable[0]);
    static_assert(kExpected == 80, "the key table has 80 entries");

    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), L"ORA");
    ASSERT_NE(table, nullptr);
    int count = CopyAcceleratorTableW(table, nullptr, 0);
    std::vector<ACCEL> got(static_cast<size_t>(count > 0 ? count : 0));
    if (count > 0) CopyAcceleratorTableW(table, got.data(), count);
    DestroyAcceleratorTable(table);

    ASSERT_EQ(count, kExpected);
    for (int i = 0; i < kExpected; ++i) {
        const Accel& want = kAccelTable[i];
        const ACCEL& have = got[static_cast<size_t>(i)];
        // 0x80 only marks the last entry in the resource format.
        BYTE flags = static_cast<BYTE>(have.fVirt & 0x7F);
        EXPECT_TRUE(flags == want.flags && have.key == want.key && have.cmd == want.cmd)
            << "entry " << i << " (command " << want.cmd << "): expected flags 0x" << std::hex
            << int(want.flags) << " key 0x" << want.key << " cmd " << std::dec << want.cmd
            << ", got flags 0x" << std::hex << int(flags) << " key 0x" << have.key << " cmd "
            << std::dec << have.cmd;
    }
}

// Reads a DLGTEMPLATEEX straight from the resource, so no window is needed.
class DialogTemplateReader {
public:
    explicit DialogTemplateReader(const BYTE* data) : p_(data) {}

    WORD Word() { WORD v; memcpy(&v, p_, sizeof v); p_ += sizeof v; return v; }
    DWORD Dword() { DWORD v; memcpy(&v, p_, sizeof v); p_ += sizeof v; return v; }
    void Skip(size_t n) { p_ += n; }
    void AlignDword() {
        while (reinterpret_cast<uintptr_t>(p_) & 3) ++p_;
    }
    // sz_Or_Ord: an ordinal comes back as "#<number>".
    std::wstring SzOrOrd() {
        WORD first = Word();
        if (first == 0xFFFF) return L"#" + std::to_wstring(Word());
        std::wstring s;
        for (WORD c = first; c != 0; c = Word()) s.push_back(static_cast<wchar_t>(c));
        return s;
    }

private:
    const BYTE* p_;
};

struct DialogControl {
    DWORD style;
    DWORD id;
    std::wstring cls;
    std::wstring text;
};

TEST(SpeechDialogResource, LabelComboAndButtons) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, L"ORSpeechDialog", MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    ASSERT_NE(found, nullptr);
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(data, nullptr);

    DialogTemplateReader r(data);
    ASSERT_EQ(r.Word(), 1);       // dlgVer
    ASSERT_EQ(r.Word(), 0xFFFF);  // DLGTEMPLATEEX signature
    r.Skip(8);                    // helpID, exStyle
    DWORD style = r.Dword();
    WORD count = r.Word();
    r.Skip(8);  // x, y, cx, cy
    r.SzOrOrd();  // menu
    r.SzOrOrd();  // class
    std::wstring caption = r.SzOrOrd();
    ASSERT_TRUE(style & DS_SETFONT);
    r.Skip(6);  // point size, weight, italic, charset
    r.SzOrOrd();  // typeface

    EXPECT_EQ(caption, L"音声設定");
    EXPECT_EQ(style & (DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU),
              static_cast<DWORD>(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU));

    std::vector<DialogControl> controls;
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword();
        r.Skip(8);  // helpID, exStyle
        DialogControl c;
        c.style = r.Dword();
        r.Skip(8);  // x, y, cx, cy
        c.id = r.Dword();
        c.cls = r.SzOrOrd();
        c.text = r.SzOrOrd();
        r.Skip(r.Word());  // creation data
        controls.push_back(c);
    }

    // Predefined class atoms: 0x80 button, 0x82 static, 0x85 combo box.
    ASSERT_EQ(controls.size(), 4u);
    EXPECT_EQ(controls[0].cls, L"#130");
    EXPECT_EQ(controls[0].text, L"音声エンジン");  // must come right before the combo box

    EXPECT_EQ(controls[1].cls, L"#133");
    EXPECT_EQ(controls[1].id, 101u);
    EXPECT_EQ(controls[1].style & 3, static_cast<DWORD>(CBS_DROPDOWNLIST));
    EXPECT_FALSE(controls[1].style & CBS_SORT) << "engine index must equal list position";
    EXPECT_TRUE(controls[1].style & WS_TABSTOP);

    EXPECT_EQ(controls[2].cls, L"#128");
    EXPECT_EQ(controls[2].id, static_cast<DWORD>(IDOK));
    EXPECT_EQ(controls[2].text, L"OK");
    EXPECT_EQ(controls[2].style & 0xF, static_cast<DWORD>(BS_DEFPUSHBUTTON));

    EXPECT_EQ(controls[3].cls, L"#128");
    EXPECT_EQ(controls[3].id, static_cast<DWORD>(IDCANCEL));
    EXPECT_EQ(controls[3].text, L"CANCEL");
    EXPECT_EQ(controls[3].style & 0xF, static_cast<DWORD>(BS_PUSHBUTTON));
}

TEST(IconResource, HasSmallMediumAndLargeImages) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, L"ORI", MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
    ASSERT_NE(found, nullptr);
    const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(dir, nullptr);

    // Group icon directory: three WORDs, then 14-byte entries starting with the width.
    WORD entries;
    memcpy(&entries, dir + 4, sizeof entries);
    std::set<int> widths;
    for (WORD i = 0; i < entries; ++i) widths.insert(dir[6 + 14 * i]);
    for (int size : {16, 32, 48}) EXPECT_EQ(widths.count(size), 1u) << size << "x" << size << " missing";
}

}  // namespace
