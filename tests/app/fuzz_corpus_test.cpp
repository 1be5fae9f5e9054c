// A seeded corpus of damaged list files and documents, made afresh on every
// run from real entries and random bytes, through the program's own readers
// and the dialogs that list them.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "audio/audio_history.h"
#include "core/data_folder.h"
#include "core/editor_control.h"
#include "document/document_io.h"
#include "document/encodings.h"
#include "lists/favourites.h"
#include "lists/file_history.h"
#include "lists/path_list_dialog.h"
#include "lists/templates.h"
#include "resources/lists_ids.h"
#include "search/search_history.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

// One real entry per list, as the program writes it.
struct ListKind {
    const char* name;
    std::wstring (*path)();
    std::string real;
};

std::vector<ListKind> Lists() {
    const std::string mark = "\xEF\xBB\xBF";
    const std::wstring find = L"[Find0]\r\nFindString0=検索\r\nFindString1=\"  x \"\r\n";
    return {{"history", HistoryFilePath,
             mark + "FilePath=C:\\文書\\a.txt|CurselPoint=12\r\nFilePath=D:\\b.txt|CurselPoint=0\r\n"},
            {"favourites", FavouritesFilePath, mark + "FilePath=C:\\文書\\a.txt\r\nFilePath=D:\\b.txt\r\n"},
            {"audio", AudioHistoryPath, mark + "FilePath=C:\\音楽\\a.mp3|Point=4200\r\nFilePath=D:\\b.wav|Point=0\r\n"},
            {"find", [] { return DataFolder() + L"\\Find.log"; },
             "\xFF\xFE" + std::string(reinterpret_cast<const char*>(find.data()), find.size() * sizeof(wchar_t))},
            {"template", [] { return TemplateFolder() + L"\\20240101120000.txt"; },
             mark + "[Header]\nTitle=挨拶\n----------\nこんにちは\r\n二行目\r\n"}};
}

// A path entry of `units` code units, some of them outside the BMP.
std::string LongPathEntry(std::mt19937& random, size_t units) {
    std::string path = "C:\\";
    while (path.size() < units) {
        if (random() % 7 == 0 && units - path.size() >= 2) {
            path += "\xF0\xA0\x80\x8B";  // two units, four bytes
            units += 2;
        } else {
            path += static_cast<char>('a' + random() % 26);
        }
    }
    return "FilePath=" + path + "|CurselPoint=1|Point=2\r\n";
}

std::string Pick(std::mt19937& random, std::initializer_list<std::string> choices) {
    return choices.begin()[random() % choices.size()];
}

// Real bytes damaged one way, or random bytes.
std::string Mutated(std::mt19937& random, const std::string& real) {
    std::string bytes = real;
    const auto at = [&] { return bytes.empty() ? size_t{0} : random() % bytes.size(); };
    switch (random() % 10) {
    case 0:
        bytes.resize(random() % 2048);
        for (char& byte : bytes) byte = static_cast<char>(random());
        break;
    case 1: bytes.resize(at()); break;  // a cut line
    case 2:  // lone CRs
        for (size_t crlf; (crlf = bytes.find("\r\n")) != std::string::npos;) bytes.erase(crlf + 1, 1);
        break;
    case 3: bytes = Pick(random, {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", "\xFF"}); break;  // a mark alone
    case 4: bytes.insert(at(), std::string(200000 + random() % 1000, 'x')); break;
    case 5: bytes.insert(at(), std::string(1 + random() % 4, '\0')); break;
    case 6: bytes.insert(at(), Pick(random, {"\xC3", "\xED\xA0\x80", "\xF8\x88\x80\x80", "\xC0\xAF", "\x80"})); break;
    case 7:  // a lone surrogate in either byte order
        bytes.insert(at() & ~size_t{1}, Pick(random, {std::string("\0\xD8", 2), std::string("\xDC\0", 2)}));
        break;
    case 8: bytes.insert(bytes.compare(0, 3, "\xEF\xBB\xBF") ? 0 : 3, LongPathEntry(random, 259 + random() % 4)); break;
    default:
        for (int i = 0; i < 8 && !bytes.empty(); ++i) bytes[at()] = static_cast<char>(random());
    }
    return bytes;
}

void ExpectEntriesFit(const PathEntries& entries) {
    for (const PathEntry& entry : entries) {
        EXPECT_FALSE(entry.path.empty());
        EXPECT_LE(entry.path.size(), 260u);
    }
}

using FuzzCorpus = MainWindowTest;

TEST_F(FuzzCorpus, DamagedListFilesReadIntoBuffersAreNeverWrittenUnreadAndTheirDialogsShowThemWithin) {
    std::mt19937 random(20240607);
    CreateDirectoryW(TemplateFolder().c_str(), nullptr);
    const std::vector<ListKind> lists = Lists();
    for (const ListKind& list : lists) {
        for (int round = 0; round < 30; ++round) {
            SCOPED_TRACE(std::string(list.name) + " round " + std::to_string(round));
            const std::string bytes = Mutated(random, list.real);
            WriteTestFile(list.path(), bytes);
            ExpectEntriesFit(LoadHistory());
            ExpectEntriesFit(LoadFavourites());
            ExpectEntriesFit(LoadAudioHistory());
            for (const std::wstring& term : LoadSearchHistory(SearchHistoryKind::FindTerms))
                EXPECT_LE(term.size(), kMaxSearchTermUnits);
            const TextTemplate parsed = ParseTemplate(bytes, L"name");
            EXPECT_LE(parsed.title.size(), kMaxTemplateTitleUnits);
            EXPECT_LE(parsed.body.size(), bytes.size());
            // Another instance reading the file without sharing reads: this
            // one's read fails while a write would still go through.
            const HANDLE lock = CreateFileW(list.path().c_str(), GENERIC_READ, FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(lock, INVALID_HANDLE_VALUE);
            AddToHistory(L"C:\\new.txt");
            RecordCaretInHistory(L"D:\\b.txt");
            AddToFavourites(L"C:\\new.txt");
            AddToAudioHistory(L"C:\\new.mp3");
            StoreResumePoint(L"D:\\b.wav", 7);
            AddToSearchHistory(SearchHistoryKind::FindTerms, L"new");
            CloseHandle(lock);
            EXPECT_EQ(FileBytes(list.path()), bytes);
        }
        DeleteFileW(list.path().c_str());
    }

    random.seed(1717);
    std::wstring path;
    const std::vector<std::tuple<const wchar_t*, int, std::function<bool()>>> dialogs = {
        {L"履歴一覧", IDC_PATH_LIST, [&] { return ChooseFromHistory(window_, path); }},
        {L"お気に入り一覧", IDC_PATH_LIST, [&] { return ChooseFromFavourites(window_, path); }},
        {L"オーディオファイル履歴", IDC_PATH_LIST, [&] { return ChooseFromAudioHistory(window_).has_value(); }},
        {L"定型文一覧", IDC_TEMPLATE_LIST, [&] { return ChooseTemplate(window_, path); }}};
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        for (const ListKind& list : lists) WriteTestFile(list.path(), Mutated(random, list.real));
        for (const auto& [title, listId, choose] : dialogs) {
            std::vector<std::wstring> items;
            bool shown = false;
            AnswerDialog(title, [&, listId = listId](HWND dialog) {
                shown = true;
                items = ListBoxItems(GetDlgItem(dialog, listId));
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            });
            EXPECT_FALSE(choose());
            EXPECT_TRUE(shown);
            for (const std::wstring& item : items) EXPECT_LE(item.size(), 260u);
        }
    }
}

TEST_F(FuzzCorpus, DamagedDocumentsDecodeToNoMoreUnitsThanBytesInEveryEncoding) {
    std::mt19937 random(932);
    const ScratchFolder folder(L"orinda_fuzz_documents");
    const std::wstring text = L"日本語の文書\r\nカナ kana 123、。\r\n𠀋\r\n";
    for (int index = 0; index < kEncodingCount; ++index) {
        const int codePage = EncodingAtIndex(index);
        const std::optional<std::string> real = EncodeText(text, codePage);
        ASSERT_TRUE(real);
        for (int round = 0; round < 30; ++round) {
            SCOPED_TRACE(std::to_string(codePage) + " round " + std::to_string(round));
            const std::string bytes = Mutated(random, *real);
            const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
            const int detected = DetectEncoding(data, bytes.size());
            int listed = 0;
            for (int decodeAs = 0; decodeAs < kEncodingCount; ++decodeAs) {
                listed += EncodingAtIndex(decodeAs) == detected;
                EXPECT_LE(DecodeBytes(data, bytes.size(), EncodingAtIndex(decodeAs)).size(), bytes.size());
            }
            EXPECT_EQ(listed, 1) << detected;
            if (round % 5 == 0) {
                WriteTestFile(folder.File(L"fuzz.txt"), bytes);
                LoadDocument(folder.File(L"fuzz.txt"));
                EXPECT_LE(CurrentEditor().Text().size(), bytes.size());
            }
        }
    }
}

}  // namespace
