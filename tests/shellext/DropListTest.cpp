// The one-pass drop list reader against the platform's own DragQueryFileW, on hand-built
// CF_HDROP blocks: same paths, same order, each path whole however long, and never a read
// beyond the block.
#include "shellext/classic/DropList.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A DROPFILES record followed by the list as given (terminators included by the caller).
std::vector<BYTE> Block(bool wide, const std::vector<BYTE>& list, DWORD offset = sizeof(DROPFILES)) {
    std::vector<BYTE> block(offset + list.size(), 0);
    DROPFILES header = {};
    header.pFiles = offset;
    header.fWide = wide;
    std::memcpy(block.data(), &header, sizeof(header));
    std::memcpy(block.data() + offset, list.data(), list.size());
    return block;
}

std::vector<BYTE> WideList(const std::vector<std::wstring>& paths, bool finalNull = true) {
    std::vector<BYTE> bytes;
    auto put = [&](wchar_t c) {
        bytes.push_back(static_cast<BYTE>(c & 0xFF));
        bytes.push_back(static_cast<BYTE>(c >> 8));
    };
    for (const std::wstring& path : paths) {
        for (wchar_t c : path) put(c);
        put(0);
    }
    if (finalNull) put(0);
    return bytes;
}

std::vector<BYTE> NarrowList(const std::vector<std::string>& paths, bool finalNull = true) {
    std::vector<BYTE> bytes;
    for (const std::string& path : paths) {
        bytes.insert(bytes.end(), path.begin(), path.end());
        bytes.push_back(0);
    }
    if (finalNull) bytes.push_back(0);
    return bytes;
}

HGLOBAL ToGlobal(const std::vector<BYTE>& block) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, block.size());
    std::memcpy(GlobalLock(memory), block.data(), block.size());
    GlobalUnlock(memory);
    return memory;
}

// What the per-index DragQueryFileW loop delivers into buffers as large as each path needs.
std::vector<std::wstring> ByDragQueryFile(HGLOBAL drop) {
    std::vector<std::wstring> paths;
    HDROP list = static_cast<HDROP>(drop);
    UINT count = DragQueryFileW(list, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::vector<wchar_t> buffer(DragQueryFileW(list, i, nullptr, 0) + 1, L'\0');
        DragQueryFileW(list, i, buffer.data(), static_cast<UINT>(buffer.size()));
        paths.emplace_back(buffer.data());
    }
    return paths;
}

std::vector<std::wstring> ByReader(HGLOBAL drop) {
    std::vector<std::wstring> paths;
    size_t added = ReadDropList(drop, paths);
    EXPECT_EQ(added, paths.size());
    return paths;
}

struct DropCase {
    const char* name;
    std::vector<BYTE> block;
};

std::vector<DropCase> WellFormedCases() {
    std::wstring units259(259, L'a'), units260(260, L'b'), units300(300, L'c');
    units259[0] = L'C', units260[0] = L'D', units300[0] = L'E';
    std::string bytes300(300, 'n');
    std::vector<DropCase> cases = {
        {"three wide paths in order",
         Block(true, WideList({L"C:\\a\\one.mp3", L"C:\\b\\two.MP3", L"C:\\c\\three.mp3"}))},
        {"spaces and non-ASCII",
         Block(true, WideList({L"C:\\My Music\\caf\u00e9 \u00fcber.mp3", L"C:\\\u65e5\u672c\\\u2713.txt"}))},
        {"one wide path", Block(true, WideList({L"C:\\x.y"}))},
        {"paths of 259, 260 and 300 units", Block(true, WideList({units259, units260, units300, L"C:\\after"}))},
        {"8-bit paths", Block(false, NarrowList({"C:\\a\\one.txt", "D:\\two words.txt"}))},
        {"8-bit path of 300 bytes", Block(false, NarrowList({bytes300, "C:\\short.txt"}))},
        {"8-bit path with a byte above 127", Block(false, NarrowList({"C:\\caf\xe9.txt"}))},
        {"wide list at an odd offset", Block(true, WideList({L"C:\\odd.bin", L"C:\\even.bin"}), sizeof(DROPFILES) + 1)},
        {"list after padding", Block(true, WideList({L"C:\\pad.bin"}), sizeof(DROPFILES) + 16)},
    };
    return cases;
}

TEST(DropListReader, DeliversWhatDragQueryFileDeliversForWellFormedBlocks) {
    for (const DropCase& c : WellFormedCases()) {
        SCOPED_TRACE(c.name);
        HGLOBAL drop = ToGlobal(c.block);
        std::vector<std::wstring> expected = ByDragQueryFile(drop);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(ByReader(drop), expected);
        GlobalFree(drop);
    }
}

// A path cut to a buffer's size names another file: paths come whole, wide or 8-bit.
TEST(DropListReader, ReadsLongPathsWhole) {
    std::string narrow = "C:\\" + std::string(400, 'z') + ".mp3";
    std::wstring wide(narrow.begin(), narrow.end());
    for (bool isWide : {true, false}) {
        HGLOBAL drop = ToGlobal(isWide ? Block(true, WideList({wide, L"C:\\b.mp3"}))
                                       : Block(false, NarrowList({narrow, "C:\\b.mp3"})));
        EXPECT_EQ(ByReader(drop), (std::vector<std::wstring>{wide, L"C:\\b.mp3"})) << isWide;
        GlobalFree(drop);
    }
}

TEST(DropListReader, AnEmptyListHasNoPaths) {
    for (bool wide : {true, false}) {
        HGLOBAL drop = ToGlobal(Block(wide, wide ? WideList({}) : NarrowList({})));
        EXPECT_TRUE(ByReader(drop).empty());
        GlobalFree(drop);
    }
}

TEST(DropListReader, MalformedHeadersGiveNoPaths) {
    std::vector<BYTE> list = WideList({L"C:\\a.txt"});
    std::vector<BYTE> pastEnd = Block(true, list);
    reinterpret_cast<DROPFILES*>(pastEnd.data())->pFiles = static_cast<DWORD>(pastEnd.size());
    std::vector<BYTE> tooShort(sizeof(DROPFILES) - 1, 0);
    std::vector<std::wstring> paths;
    EXPECT_EQ(ReadDropList(pastEnd.data(), pastEnd.size(), paths), 0u);
    EXPECT_EQ(ReadDropList(tooShort.data(), tooShort.size(), paths), 0u);
    EXPECT_EQ(ReadDropList(nullptr, 100, paths), 0u);
    EXPECT_EQ(ReadDropList(static_cast<HGLOBAL>(nullptr), paths), 0u);
    EXPECT_TRUE(paths.empty());
}

// The block is placed so that its last byte is the last readable one: a page without access
// follows it, and any read past the end ends the process.
class GuardedBlock {
public:
    explicit GuardedBlock(const std::vector<BYTE>& block) {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        size_t page = info.dwPageSize;
        size_t pages = (block.size() + page - 1) / page + 1;
        base_ = static_cast<BYTE*>(VirtualAlloc(nullptr, pages * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(base_ + (pages - 1) * page, page, PAGE_NOACCESS, &old);
        data_ = base_ + (pages - 1) * page - block.size();
        std::memcpy(data_, block.data(), block.size());
        size_ = block.size();
    }
    ~GuardedBlock() { VirtualFree(base_, 0, MEM_RELEASE); }
    const BYTE* Data() const { return data_; }
    size_t Size() const { return size_; }

private:
    BYTE* base_ = nullptr;
    BYTE* data_ = nullptr;
    size_t size_ = 0;
};

TEST(DropListReader, NeverReadsPastTheEndOfABlockWithoutItsFinalNull) {
    struct Case {
        const char* name;
        std::vector<BYTE> block;
        std::vector<std::wstring> expected;
    } cases[] = {
        {"wide, last path terminated, no final null",
         Block(true, WideList({L"C:\\a.txt", L"C:\\b.txt"}, false)), {L"C:\\a.txt", L"C:\\b.txt"}},
        {"wide, last path cut off by the end",
         [] {
             std::vector<BYTE> list = WideList({L"C:\\a.txt", L"C:\\b.txt"}, false);
             list.resize(list.size() - 2);
             return Block(true, list);
         }(),
         {L"C:\\a.txt"}},
        {"wide, odd byte at the end",
         [] {
             std::vector<BYTE> list = WideList({L"C:\\a.txt"}, false);
             list.push_back('x');
             return Block(true, list);
         }(),
         {L"C:\\a.txt"}},
        {"8-bit, last path cut off by the end",
         [] {
             std::vector<BYTE> list = NarrowList({"C:\\a.txt", "C:\\b.txt"}, false);
             list.pop_back();
             return Block(false, list);
         }(),
         {L"C:\\a.txt"}},
        {"header only", Block(true, {}), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GuardedBlock guarded(c.block);
        std::vector<std::wstring> paths;
        EXPECT_EQ(ReadDropList(guarded.Data(), guarded.Size(), paths), c.expected.size());
        EXPECT_EQ(paths, c.expected);
    }
}

TEST(DropListReader, ManyPathsComeBackInDropOrder) {
    std::vector<std::wstring> names;
    for (int i = 0; i < 2000; ++i) names.push_back(L"C:\\sel\\file " + std::to_wstring(i) + L".dat");
    HGLOBAL drop = ToGlobal(Block(true, WideList(names)));
    EXPECT_EQ(ByReader(drop), names);
    EXPECT_EQ(ByDragQueryFile(drop), names);
    GlobalFree(drop);
}

}  // namespace
