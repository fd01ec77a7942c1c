#include "core/ZipArchiveApi.h"

#include "SkinZip.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace DirectUI;

namespace {
const int kEntryCount = 6;

std::vector<BYTE> Pattern()
{
    std::vector<BYTE> bytes(50000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = (BYTE)(i % 251);
    return bytes;
}

std::vector<BYTE> ExtractAll(HZIP zip, int index, DWORD* code)
{
    ZipItemInfo item;
    *code = ZipArchiveGetItem(zip, index, item);
    if (*code != ZR_OK) return {};
    std::vector<BYTE> bytes(item.uncompressedSize);
    DWORD produced = 0;
    *code = ZipArchiveExtract(zip, index, bytes.data(), (DWORD)bytes.size(), ZIP_MEMORY, &produced);
    bytes.resize(produced);
    return bytes;
}

FILETIME FromUnix(ULONGLONG seconds)
{
    ULONGLONG ticks = seconds * 10000000ULL + 116444736000000000ULL;
    FILETIME ft = { (DWORD)ticks, (DWORD)(ticks >> 32) };
    return ft;
}

bool SameTime(const FILETIME& a, const FILETIME& b)
{
    return CompareFileTime(&a, &b) == 0;
}

// A fresh folder that becomes the current directory while it lives.
struct ScratchFolder
{
    WCHAR previous[MAX_PATH];
    std::wstring path;
    ScratchFolder()
    {
        GetCurrentDirectoryW(MAX_PATH, previous);
        WCHAR temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path = std::wstring(temp) + L"ziptest" + std::to_wstring(GetTickCount()) + L"_" +
               std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path.c_str(), NULL);
        SetCurrentDirectoryW(path.c_str());
    }
    ~ScratchFolder() { SetCurrentDirectoryW(previous); }
};

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
} // namespace

TEST(ZipArchive, ReadsStoredAndDeflatedEntriesFromEverySource)
{
    std::vector<BYTE> fileBytes = ReadFileBytes(kSkinZipFile);
    ASSERT_FALSE(fileBytes.empty());
    const BYTE* resource = NULL;
    DWORD resourceSize = 0;
    ASSERT_TRUE(LoadSkinZipResource(&resource, &resourceSize));
    HANDLE handle = CreateFileW(kSkinZipFile, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);

    struct Source { const char* name; LPCVOID data; DWORD size; DWORD kind; };
    const Source sources[] = {
        { "file name", kSkinZipFile, 0, ZIP_FILENAME },
        { "handle", handle, 0, ZIP_HANDLE },
        { "memory", fileBytes.data(), (DWORD)fileBytes.size(), ZIP_MEMORY },
        { "ZIPRES resource", resource, resourceSize, ZIP_MEMORY },
    };
    for (const Source& source : sources) {
        SCOPED_TRACE(source.name);
        HZIP zip = ZipArchiveOpen(source.data, source.size, source.kind);
        ASSERT_TRUE(zip != NULL) << ZipLastError;
        ZipItemInfo summary;
        ASSERT_EQ(ZR_OK, ZipArchiveGetItem(zip, -1, summary));
        EXPECT_EQ(kEntryCount, summary.index);

        int index = -1;
        ZipItemInfo item;
        ASSERT_EQ(ZR_OK, ZipArchiveFindItem(zip, L"MAIN.XML", true, index, item));
        EXPECT_STREQ(L"Main.xml", item.name);
        EXPECT_EQ(ZR_NOTFOUND, ZipArchiveFindItem(zip, L"MAIN.XML", false, index, item));
        EXPECT_EQ(-1, index);

        DWORD code = 0;
        ASSERT_EQ(ZR_OK, ZipArchiveFindItem(zip, L"main.xml", true, index, item));
        std::vector<BYTE> xml = ExtractAll(zip, index, &code);
        EXPECT_EQ(ZR_MORE, code);
        EXPECT_EQ(0, memcmp(xml.data(), "<?xml", 5));

        ASSERT_EQ(ZR_OK, ZipArchiveFindItem(zip, L"images/PATTERN.bin", true, index, item));
        EXPECT_EQ(Pattern(), ExtractAll(zip, index, &code));
        EXPECT_EQ(ZR_MORE, code);
        EXPECT_EQ(ZR_OK, ZipArchiveClose(zip));
    }
    CloseHandle(handle);
}

TEST(ZipArchive, MemoryExtractionReportsAFullBlockThenTheEnd)
{
    HZIP zip = ZipArchiveOpen(kSkinZipFile, 0, ZIP_FILENAME);
    ASSERT_TRUE(zip != NULL);
    int index = -1;
    ZipItemInfo item;
    ASSERT_EQ(ZR_OK, ZipArchiveFindItem(zip, L"hundred.bin", true, index, item));
    BYTE block[100] = { 0 };
    DWORD produced = 0;
    EXPECT_EQ(ZR_MORE, ZipArchiveExtract(zip, index, block, sizeof(block), ZIP_MEMORY, &produced));
    EXPECT_EQ(100u, produced);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(i, block[i]);
    EXPECT_EQ(ZR_OK, ZipArchiveExtract(zip, index, block, sizeof(block), ZIP_MEMORY, &produced));
    EXPECT_EQ(0u, produced);

    // Small pieces: every call continues where the last one stopped.
    ASSERT_EQ(ZR_OK, ZipArchiveFindItem(zip, L"Images/pattern.bin", true, index, item));
    std::vector<BYTE> joined;
    BYTE piece[4096];
    DWORD code = ZR_MORE;
    for (int calls = 0; code == ZR_MORE && calls < 100; ++calls) {
        code = ZipArchiveExtract(zip, index, piece, sizeof(piece), ZIP_MEMORY, &produced);
        joined.insert(joined.end(), piece, piece + produced);
    }
    EXPECT_EQ(ZR_OK, code);
    EXPECT_EQ(Pattern(), joined);
    ZipArchiveClose(zip);
}

TEST(ZipArchive, EntryRecordsCarryAttributesAndTimes)
{
    HZIP zip = ZipArchiveOpen(kSkinZipFile, 0, ZIP_FILENAME);
    ASSERT_TRUE(zip != NULL);
    FILETIME dos;
    ASSERT_TRUE(DosDateTimeToFileTime((WORD)(((2020 - 1980) << 9) | (1 << 5) | 2), (WORD)((3 << 11) | (4 << 5) | 3), &dos));

    struct Row { const wchar_t* name; DWORD attributes; bool stamped; };
    const Row rows[] = {
        { L"Images/", 0x90, false },
        { L"hundred.bin", FILE_ATTRIBUTE_NORMAL, false },
        { L"readonly.txt", FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_READONLY, false },
        { L"stamped.txt", FILE_ATTRIBUTE_NORMAL, true },
    };
    for (const Row& row : rows) {
        int index = -1;
        ZipItemInfo item;
        ASSERT_EQ(ZR_OK, ZipArchiveFindItem(zip, row.name, true, index, item)) << row.name;
        EXPECT_EQ(row.attributes, item.attributes) << row.name;
        EXPECT_TRUE(SameTime(row.stamped ? FromUnix(1234567890) : dos, item.writeTime)) << row.name;
        EXPECT_TRUE(SameTime(dos, item.createTime)) << row.name;
        ZipItemInfo again;
        EXPECT_EQ(ZR_OK, ZipArchiveGetItem(zip, index, again));
        EXPECT_STREQ(item.name, again.name);
    }
    ZipArchiveClose(zip);
}

TEST(ZipArchive, ExtractsToFilesOnlyInsideTheBaseFolder)
{
    WCHAR zipPath[MAX_PATH];
    GetFullPathNameW(kSkinZipFile, MAX_PATH, zipPath, NULL);
    ScratchFolder scratch;
    HZIP zip = ZipArchiveOpen(zipPath, 0, ZIP_FILENAME);
    ASSERT_TRUE(zip != NULL);
    int index = -1;
    ZipItemInfo item;
    ASSERT_EQ(ZR_OK, ZipArchiveFindItem(zip, L"Images/pattern.bin", true, index, item));

    EXPECT_EQ(ZR_OK, ZipArchiveExtract(zip, index, (LPVOID)L"out/Images/pattern.bin", 0, ZIP_FILENAME));
    EXPECT_EQ(Pattern(), ReadFileBytes((scratch.path + L"\\out\\Images\\pattern.bin").c_str()));

    struct Row { const wchar_t* target; };
    const Row escaping[] = { { L"..\\escaped.bin" }, { L"a/../../escaped.bin" }, { L"..\\sub\\x.bin" } };
    for (const Row& row : escaping) {
        EXPECT_EQ(ZR_NOFILE, ZipArchiveExtract(zip, index, (LPVOID)row.target, 0, ZIP_FILENAME)) << row.target;
    }
    EXPECT_FALSE(Exists(scratch.path + L"\\..\\escaped.bin"));
    EXPECT_FALSE(Exists(scratch.path + L"\\..\\sub"));

    std::wstring absolute = scratch.path + L"\\absolute.bin";
    EXPECT_EQ(ZR_OK, ZipArchiveExtract(zip, index, (LPVOID)absolute.c_str(), 0, ZIP_FILENAME));
    EXPECT_EQ(Pattern(), ReadFileBytes(absolute.c_str()));

    HANDLE target = CreateFileW((scratch.path + L"\\handle.bin").c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, target);
    DWORD produced = 0;
    EXPECT_EQ(ZR_OK, ZipArchiveExtract(zip, index, target, 0, ZIP_HANDLE, &produced));
    EXPECT_EQ(50000u, produced);
    CloseHandle(target);
    EXPECT_EQ(Pattern(), ReadFileBytes((scratch.path + L"\\handle.bin").c_str()));

    ASSERT_EQ(ZR_OK, ZipArchiveFindItem(zip, L"Images/", true, index, item));
    EXPECT_EQ(ZR_OK, ZipArchiveExtract(zip, index, (LPVOID)L"tree/Images", 0, ZIP_FILENAME));
    EXPECT_NE(0u, GetFileAttributesW((scratch.path + L"\\tree\\Images").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(Exists(scratch.path + L"\\tree\\Images"));
    ZipArchiveClose(zip);
}

TEST(ZipArchive, RefusesBadArgumentsWithCodes)
{
    HZIP zip = ZipArchiveOpen(kSkinZipFile, 0, ZIP_FILENAME);
    ASSERT_TRUE(zip != NULL);
    ZipItemInfo item;
    BYTE block[8];
    struct Row { const char* what; std::function<DWORD()> call; DWORD code; };
    const Row rows[] = {
        { "index -2", [&] { return ZipArchiveGetItem(zip, -2, item); }, ZR_ARGS },
        { "index = count", [&] { return ZipArchiveGetItem(zip, kEntryCount, item); }, ZR_ARGS },
        { "extract index -1", [&] { return ZipArchiveExtract(zip, -1, block, 8, ZIP_MEMORY); }, ZR_ARGS },
        { "extract past the end", [&] { return ZipArchiveExtract(zip, kEntryCount, block, 8, ZIP_MEMORY); }, ZR_ARGS },
        { "unknown target kind", [&] { return ZipArchiveExtract(zip, 0, block, 8, 9); }, ZR_ARGS },
        { "null archive", [&] { return ZipArchiveGetItem(NULL, 0, item); }, ZR_ARGS },
        { "not an archive", [&] { ZipHandle fake = { 2, NULL }; return ZipArchiveGetItem(&fake, 0, item); }, ZR_NOTZIP },
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.code, row.call()) << row.what;
        EXPECT_EQ(row.code, ZipLastError) << row.what;
    }
    ZipArchiveClose(zip);

    EXPECT_TRUE(ZipArchiveOpen(L"no such.zip", 0, ZIP_FILENAME) == NULL);
    EXPECT_EQ(ZR_NOFILE, ZipLastError);
    EXPECT_TRUE(ZipArchiveOpen(kSkinZipFile, 0, 7) == NULL);
    EXPECT_EQ(ZR_ARGS, ZipLastError);
}

namespace {
DWORD Read32(const std::vector<BYTE>& z, size_t at)
{
    return z[at] | (z[at + 1] << 8) | (z[at + 2] << 16) | ((DWORD)z[at + 3] << 24);
}
WORD Read16(const std::vector<BYTE>& z, size_t at)
{
    return (WORD)(z[at] | (z[at + 1] << 8));
}
void Write32(std::vector<BYTE>& z, size_t at, DWORD v)
{
    for (int i = 0; i < 4; ++i) z[at + i] = (BYTE)(v >> (8 * i));
}
void Write16(std::vector<BYTE>& z, size_t at, WORD v)
{
    z[at] = (BYTE)v;
    z[at + 1] = (BYTE)(v >> 8);
}

// Where the structures of the fixture archive lie.
struct Layout
{
    size_t eocd = 0;
    size_t central = 0;  // first central directory record (Main.xml, deflated)
    size_t local = 0;    // its local header
    size_t stampedLocal = 0;
};

Layout Locate(const std::vector<BYTE>& z)
{
    Layout l;
    for (size_t at = z.size() - 22;; --at) {
        if (Read32(z, at) == 0x06054b50) { l.eocd = at; break; }
        if (at == 0) break;
    }
    l.central = Read32(z, l.eocd + 16);
    l.local = Read32(z, l.central + 42);
    for (size_t at = l.central; Read32(z, at) == 0x02014b50;) {
        WORD nameLength = Read16(z, at + 28);
        std::string name(z.begin() + at + 46, z.begin() + at + 46 + nameLength);
        if (name == "stamped.txt") l.stampedLocal = Read32(z, at + 42);
        at += 46 + nameLength + Read16(z, at + 30) + Read16(z, at + 32);
    }
    return l;
}

// Walks everything a skin reader would touch; true when some step failed.
bool WalkArchive(const std::vector<BYTE>& bytes)
{
    HZIP zip = ZipArchiveOpen(bytes.data(), (DWORD)bytes.size(), ZIP_MEMORY);
    if (zip == NULL) return true;
    bool failed = false;
    ZipItemInfo summary;
    ZipArchiveGetItem(zip, -1, summary);
    int count = summary.index < 100 ? summary.index : 100;
    std::vector<BYTE> block(64 * 1024);
    for (int i = 0; i < count; ++i) {
        ZipItemInfo item;
        if (ZipArchiveGetItem(zip, i, item) != ZR_OK) {
            failed = true;
            continue;
        }
        DWORD code = ZR_MORE;
        for (int calls = 0; code == ZR_MORE && calls < 64; ++calls)
            code = ZipArchiveExtract(zip, i, block.data(), (DWORD)block.size(), ZIP_MEMORY);
        if (code != ZR_OK) failed = true;
    }
    int index = -1;
    ZipItemInfo item;
    if (ZipArchiveFindItem(zip, L"Main.xml", true, index, item) != ZR_OK) failed = true;
    ZipArchiveClose(zip);
    return failed;
}
} // namespace

TEST(ZipArchive, DamagedArchivesFailCleanly)
{
    const std::vector<BYTE> good = ReadFileBytes(kSkinZipFile);
    ASSERT_FALSE(good.empty());
    const Layout at = Locate(good);
    ASSERT_NE(0u, at.eocd);
    ASSERT_NE(0u, at.stampedLocal);

    typedef std::function<void(std::vector<BYTE>&)> Damage;
    struct Row { const char* name; Damage damage; };
    const Row rows[] = {
        { "empty", [](std::vector<BYTE>& z) { z.clear(); } },
        { "four bytes", [](std::vector<BYTE>& z) { z.resize(4); } },
        { "cut in half", [](std::vector<BYTE>& z) { z.resize(z.size() / 2); } },
        { "end record missing", [](std::vector<BYTE>& z) { z.resize(z.size() - 22); } },
        { "end record cut short", [&](std::vector<BYTE>& z) { z.resize(at.eocd + 12); } },
        { "cut inside the directory", [&](std::vector<BYTE>& z) { z.resize(at.central + 20); } },
        { "directory offset past the end", [&](std::vector<BYTE>& z) { Write32(z, at.eocd + 16, 0xFFFFFF00); } },
        { "directory offset into entry data", [&](std::vector<BYTE>& z) { Write32(z, at.eocd + 16, 7); } },
        { "entry count too large", [&](std::vector<BYTE>& z) { Write16(z, at.eocd + 8, 0xFFFF); Write16(z, at.eocd + 10, 0xFFFF); } },
        { "name length past the end", [&](std::vector<BYTE>& z) { Write16(z, at.central + 28, 0xFFFF); } },
        { "directory extra length past the end", [&](std::vector<BYTE>& z) { Write16(z, at.central + 30, 0xFFFF); } },
        { "local name length past the end", [&](std::vector<BYTE>& z) { Write16(z, at.local + 26, 0xFFFF); } },
        { "local extra length past the end", [&](std::vector<BYTE>& z) { Write16(z, at.local + 28, 0xFFFF); } },
        { "local header offset past the end", [&](std::vector<BYTE>& z) { Write32(z, at.central + 42, 0x7FFFFFF0); } },
        { "local header signature wrong", [&](std::vector<BYTE>& z) { Write32(z, at.local, 0); } },
        { "compressed size past the end", [&](std::vector<BYTE>& z) { Write32(z, at.central + 20, 0x7FFFFFF0); Write32(z, at.local + 18, 0x7FFFFFF0); } },
        { "uncompressed size too small", [&](std::vector<BYTE>& z) { Write32(z, at.central + 24, 10); Write32(z, at.local + 22, 10); } },
        { "deflated data damaged", [&](std::vector<BYTE>& z) { for (int i = 0; i < 12; ++i) z[at.local + 30 + 8 + 20 + i] ^= 0x5A; } },
    };
    for (const Row& row : rows) {
        std::vector<BYTE> damaged = good;
        row.damage(damaged);
        EXPECT_TRUE(WalkArchive(damaged)) << row.name << ": the damage went unnoticed";
    }
    EXPECT_FALSE(WalkArchive(good));
}

TEST(ZipArchive, TimestampBlockLongerThanItsFieldIsIgnored)
{
    std::vector<BYTE> z = ReadFileBytes(kSkinZipFile);
    Layout at = Locate(z);
    size_t extra = at.stampedLocal + 30 + Read16(z, at.stampedLocal + 26);
    ASSERT_EQ(0x5455, Read16(z, extra));
    Write16(z, extra + 2, 0xFF);
    HZIP zip = ZipArchiveOpen(z.data(), (DWORD)z.size(), ZIP_MEMORY);
    ASSERT_TRUE(zip != NULL);
    int index = -1;
    ZipItemInfo item;
    ASSERT_EQ(ZR_OK, ZipArchiveFindItem(zip, L"stamped.txt", true, index, item));
    EXPECT_FALSE(SameTime(FromUnix(1234567890), item.writeTime));
    DWORD code = 0;
    std::vector<BYTE> text = ExtractAll(zip, index, &code);
    EXPECT_EQ(std::string("time"), std::string(text.begin(), text.end()));
    ZipArchiveClose(zip);
}
