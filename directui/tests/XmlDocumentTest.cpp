#include "core/XmlDocument.h"
#include "manager/WindowUIManager.h"

#include "SkinZip.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace DirectUI;

namespace {
const char kSkinUtf8[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<Window size=\"300,200\" caption=\"0,0,0,30\">\n"
    "  <!-- pages -->\n"
    "  <VBox name=\"pages\">\n"
    "    <Button name=\"ok\" text=\"\xe7\xa1\xae\xe5\xae\x9a\" />\n"
    "    <Label name=\"tip\">A &amp; B</Label>\n"
    "  </VBox>\n"
    "  <HBox/>\n"
    "</Window>\n";

std::vector<BYTE> Utf16(const std::wstring& text, bool bigEndian)
{
    std::vector<BYTE> bytes;
    bytes.push_back(bigEndian ? 0xFE : 0xFF);
    bytes.push_back(bigEndian ? 0xFF : 0xFE);
    for (wchar_t ch : text) {
        BYTE high = (BYTE)(ch >> 8), low = (BYTE)ch;
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

std::wstring Value(CXmlNode node, LPCWSTR name)
{
    WCHAR buffer[256];
    return node.GetAttributeValue(name, buffer, 256) ? std::wstring(buffer) : std::wstring(L"<absent>");
}

// The skin above, whatever encoding it came in.
void ExpectSkinTree(CXmlDocument& doc)
{
    CXmlNode root = doc.GetRoot();
    ASSERT_TRUE(root.IsValid());
    EXPECT_STREQ(L"Window", root.GetName());
    EXPECT_EQ(2, root.GetAttributeCount());
    EXPECT_EQ(L"0,0,0,30", Value(root, L"caption"));
    CXmlNode pages = root.GetChild();
    ASSERT_TRUE(pages.IsValid());
    EXPECT_STREQ(L"VBox", pages.GetName());
    CXmlNode ok = pages.GetChild();
    EXPECT_STREQ(L"Button", ok.GetName());
    EXPECT_EQ(L"\x786e\x5b9a", Value(ok, L"text"));
    EXPECT_FALSE(ok.HasChildren());
    CXmlNode tip = ok.GetSibling();
    EXPECT_STREQ(L"Label", tip.GetName());
    EXPECT_FALSE(tip.GetSibling().IsValid());
    CXmlNode hbox = pages.GetSibling();
    EXPECT_STREQ(L"HBox", hbox.GetName());
    EXPECT_FALSE(hbox.HasAttributes());
    EXPECT_FALSE(hbox.GetSibling().IsValid());
}

std::wstring Widen(const char* utf8)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, NULL, 0);
    std::wstring text(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &text[0], n);
    text.resize(n - 1);
    return text;
}
} // namespace

TEST(XmlDocument, ReadsTheSameTreeFromEveryEncoding)
{
    std::wstring wide = Widen(kSkinUtf8);
    std::vector<BYTE> plain(kSkinUtf8, kSkinUtf8 + sizeof(kSkinUtf8) - 1);
    std::vector<BYTE> withMark = plain;
    withMark.insert(withMark.begin(), { 0xEF, 0xBB, 0xBF });
    std::vector<BYTE> little = Utf16(wide, false), big = Utf16(wide, true);

    struct Row { const char* name; const std::vector<BYTE>* bytes; int encoding; };
    const Row rows[] = {
        { "UTF-8", &plain, CXmlDocument::XMLFILE_ENCODING_UTF8 },
        { "UTF-8 with mark", &withMark, CXmlDocument::XMLFILE_ENCODING_UTF8 },
        { "UTF-16 little-endian", &little, CXmlDocument::XMLFILE_ENCODING_UNICODE },
        { "UTF-16 big-endian", &big, CXmlDocument::XMLFILE_ENCODING_UNICODE },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CXmlDocument doc;
        ASSERT_TRUE(doc.LoadBuffer(row.bytes->data(), (DWORD)row.bytes->size(), row.encoding))
            << doc.GetLastErrorMessage();
        ExpectSkinTree(doc);
    }
    CXmlDocument doc(wide.c_str());
    ExpectSkinTree(doc);
}

TEST(XmlDocument, Utf16NeedsAMarkAndWholeCharacters)
{
    std::vector<BYTE> noMark = Utf16(L"<a/>", false);
    noMark.erase(noMark.begin(), noMark.begin() + 2);
    const BYTE one[] = { 0xFF };
    std::vector<BYTE> odd = Utf16(L"<a/>", false);
    odd.push_back('x');
    CXmlDocument doc;
    EXPECT_FALSE(doc.LoadBuffer(noMark.data(), (DWORD)noMark.size(), CXmlDocument::XMLFILE_ENCODING_UNICODE));
    EXPECT_FALSE(doc.LoadBuffer(one, 1, CXmlDocument::XMLFILE_ENCODING_UNICODE));
    EXPECT_FALSE(doc.LoadBuffer(one, 0, CXmlDocument::XMLFILE_ENCODING_UNICODE));
    EXPECT_TRUE(doc.LoadBuffer(odd.data(), (DWORD)odd.size(), CXmlDocument::XMLFILE_ENCODING_UNICODE));
    EXPECT_STREQ(L"a", doc.GetRoot().GetName());
}

TEST(XmlDocument, ParsesAttributesEntitiesAndComments)
{
    struct Row { const wchar_t* xml; const wchar_t* attribute; const wchar_t* value; };
    const Row rows[] = {
        { L"<a v=\"x &amp; y\"/>", L"v", L"x & y" },
        { L"<a v=\"&lt;&gt;&quot;&apos;\"/>", L"v", L"<>\"'" },
        { L"<a v=\"&copy; &amp\"/>", L"v", L"&copy; &amp" },
        { L"<a x = \"1\"  y=\"\" z=\"3\"></a>", L"z", L"3" },
        { L"<a x=\"1\" y=\"\"/>", L"y", L"" },
        { L"<!-- first --><a v=\"1\"><!-- inside --></a><!-- last -->", L"v", L"1" },
        { L"<?xml version=\"1.0\"?>\n<a v=\"2\">text</a>", L"v", L"2" },
        { L"<a v=\"open\"><b/>", L"v", L"open" },
        { L"<a:b v_1=\"u\"/>", L"v_1", L"u" },
    };
    for (const Row& row : rows) {
        CXmlDocument doc;
        ASSERT_TRUE(doc.Load(row.xml)) << row.xml << ": " << doc.GetLastErrorMessage();
        EXPECT_EQ(row.value, Value(doc.GetRoot(), row.attribute)) << row.xml;
        EXPECT_FALSE(doc.GetRoot().GetSibling().IsValid()) << row.xml;
    }
}

TEST(XmlDocument, IndexesAtMost64AttributesAndCutsLongValues)
{
    std::wstring xml = L"<a";
    for (int i = 0; i < 65; ++i) xml += L" k" + std::to_wstring(i) + L"=\"v" + std::to_wstring(i) + L"\"";
    xml += L"/>";
    CXmlDocument doc;
    ASSERT_TRUE(doc.Load(xml.c_str()));
    CXmlNode root = doc.GetRoot();
    EXPECT_EQ(64, root.GetAttributeCount());
    EXPECT_STREQ(L"k63", root.GetAttributeName(63));
    EXPECT_STREQ(L"v63", root.GetAttributeValue(63));
    EXPECT_STREQ(L"", root.GetAttributeValue(64));
    EXPECT_STREQ(L"", root.GetAttributeName(-1));

    WCHAR small[4];
    ASSERT_TRUE(root.GetAttributeValue(L"k10", small, 4));
    EXPECT_STREQ(L"v10", small);
    ASSERT_TRUE(root.GetAttributeValue(L"k1", small, 2));
    EXPECT_STREQ(L"v", small);
    EXPECT_FALSE(root.GetAttributeValue(L"K1", small, 4));

    CXmlNode invalid;
    EXPECT_EQ(NULL, invalid.GetAttributeName(0));
    EXPECT_EQ(NULL, invalid.GetName());
}

TEST(XmlDocument, MalformedDocumentsFailWithAMessage)
{
    std::wstring deep;
    for (int i = 0; i < 400; ++i) deep += L"<a>";
    struct Row { std::wstring xml; const wchar_t* message; };
    const Row rows[] = {
        { L"<a><b></a>", L"Unmatched closing tag" },
        { L"<a></ab>", L"Unmatched closing tag" },
        { L"<a><b></b", L"Unmatched closing tag" },
        { L"<a x=\"1></a>", L"Error while parsing attribute string" },
        { L"<a x=1/>", L"Expected attribute value" },
        { L"<a x='1'/>", L"Expected attribute value" },
        { L"<a x=\"1\"y=\"2\"/>", L"Error while parsing attributes" },
        { L"<a x", L"Error while parsing attributes" },
        { L"<a x=\"1\"", L"Expected start-tag closing" },
        { L"<a/ >", L"Expected start-tag closing" },
        { L"<!-- never closed <a/>", L"Unterminated comment" },
        { L"<?xml version=\"1.0\" <a/>", L"Unterminated declaration" },
        { L"text", L"Expected start tag" },
        { L"<a/>tail", L"Expected start tag" },
        { L"<>", L"Error parsing element name" },
        { L"<a><b><c>", L"Expected end-tag start" },
        { deep, L"Elements nested too deeply" },
    };
    for (const Row& row : rows) {
        CXmlDocument doc;
        EXPECT_FALSE(doc.Load(row.xml.c_str())) << row.xml;
        EXPECT_STREQ(row.message, doc.GetLastErrorMessage()) << row.xml;
        EXPECT_FALSE(doc.GetRoot().IsValid()) << row.xml;
    }
}

TEST(XmlDocument, EveryCutOfADocumentLoadsOrFailsCleanly)
{
    std::wstring full = Widen(kSkinUtf8);
    int loaded = 0;
    for (size_t n = 0; n <= full.size(); ++n) {
        CXmlDocument doc;
        if (doc.Load(full.substr(0, n).c_str())) {
            ++loaded;
            CXmlNode root = doc.GetRoot();
            for (CXmlNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) node.GetAttributeCount();
        } else {
            EXPECT_NE(L'\0', doc.GetLastErrorMessage()[0]) << n;
        }
    }
    EXPECT_GT(loaded, 1);
}

TEST(XmlDocument, LoadsSkinFilesFromTheZipResourceAZipFileAndDisk)
{
    const BYTE* resource = NULL;
    DWORD size = 0;
    ASSERT_TRUE(LoadSkinZipResource(&resource, &size));
    CWindowUIManager::SetSkinZipBuffer(resource, size);
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(L"main.xml")) << doc.GetLastErrorMessage();
    EXPECT_STREQ(L"Window", doc.GetRoot().GetName());
    EXPECT_EQ(L"Orbela\x5b89\x88c5\x5411\x5bfc", Value(doc.GetRoot().GetChild(), L"text"));
    EXPECT_FALSE(doc.LoadFile(L"missing.xml"));
    EXPECT_STREQ(L"Could not find ziped file", doc.GetLastErrorMessage());
    EXPECT_FALSE(doc.LoadFile(L"Images/"));
    EXPECT_STREQ(L"File is empty", doc.GetLastErrorMessage());

    WCHAR here[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, here);
    CWindowUIManager::SetSkinPath(here);
    CWindowUIManager::SetSkinZip(kSkinZipFile, false);
    EXPECT_TRUE(doc.LoadFile(L"MAIN.XML")) << doc.GetLastErrorMessage();
    CWindowUIManager::SetSkinZip(L"no such.zip", false);
    EXPECT_FALSE(doc.LoadFile(L"main.xml"));
    EXPECT_STREQ(L"Error opening zip file", doc.GetLastErrorMessage());

    WCHAR temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"xmltest" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), NULL);
    struct File { const wchar_t* name; DWORD size; };
    const File files[] = { { L"empty.xml", 0 }, { L"big.xml", CXmlDocument::kMaxFileSize + 1 }, { L"ok.xml", 4 } };
    for (const File& file : files) {
        HANDLE h = CreateFileW((folder + L"\\" + file.name).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        std::vector<BYTE> bytes(file.size, ' ');
        if (file.size == 4) memcpy(bytes.data(), "<a/>", 4);
        DWORD written = 0;
        WriteFile(h, bytes.data(), file.size, &written, NULL);
        CloseHandle(h);
    }
    CWindowUIManager::SetSkinZip(L"", false);
    CWindowUIManager::SetSkinPath(folder.c_str());
    struct Row { const wchar_t* name; bool ok; const wchar_t* message; };
    const Row rows[] = {
        { L"ok.xml", true, L"" },
        { L"empty.xml", false, L"File is empty" },
        { L"big.xml", false, L"File too large" },
        { L"missing.xml", false, L"Error opening file" },
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.ok, doc.LoadFile(row.name)) << row.name;
        EXPECT_STREQ(row.message, doc.GetLastErrorMessage()) << row.name;
    }
}
