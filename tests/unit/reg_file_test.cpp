#include <gtest/gtest.h>

#include "common/error.h"
#include "scripthost/reg_file.h"

namespace orbelin::reg {
namespace {

using Kind = RegFileEntry::Kind;

RegFileEntry Set(const wchar_t* path, RawValue value) {
    return {Kind::SetValue, Path::Parse(path), std::move(value)};
}

TEST(RegFile, WritesWhatTheRegistryEditorWrites) {
    const std::vector<RegFileEntry> entries = {
        Set(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\MIME\\Database\\Content Type\\model/x3d+xml\\CLSID",
            StringValue(L"{660D}")),
        Set(L"HKEY_CLASSES_ROOT\\.wrl\\", StringValue(L"")),
        Set(L"HKEY_CLASSES_ROOT\\.wrl\\Quote \"and\" slash", StringValue(L"C:\\a\"b")),
        {Kind::DeleteValue, Path::Parse(L"HKEY_CLASSES_ROOT\\.wrz\\"), {}},
        {Kind::DeleteKey, Path::Parse(L"HKEY_CLASSES_ROOT\\.x3d\\"), {}},
        Set(L"HKEY_CURRENT_USER\\Software\\T\\Count", DwordValue(0x1A)),
    };
    EXPECT_EQ(WriteRegFile(entries),
              L"Windows Registry Editor Version 5.00\r\n"
              L"\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\MIME\\Database\\Content Type\\model/x3d+xml]\r\n"
              L"\"CLSID\"=\"{660D}\"\r\n"
              L"\r\n[HKEY_CLASSES_ROOT\\.wrl]\r\n"
              L"@=\"\"\r\n"
              L"\"Quote \\\"and\\\" slash\"=\"C:\\\\a\\\"b\"\r\n"
              L"\r\n[HKEY_CLASSES_ROOT\\.wrz]\r\n"
              L"@=-\r\n"
              L"\r\n[-HKEY_CLASSES_ROOT\\.x3d]\r\n"
              L"\r\n[HKEY_CURRENT_USER\\Software\\T]\r\n"
              L"\"Count\"=dword:0000001a\r\n");
}

TEST(RegFile, EveryKindOfValueComesBackExactly) {
    RawValue textWithTail = StringValue(L"ab");
    textWithTail.data.push_back('x');  // bytes after the terminator must survive
    const std::vector<RegFileEntry> entries = {
        Set(L"HKLM\\SOFTWARE\\T\\Accents", StringValue(L"Paramétres à l'écran")),
        Set(L"HKLM\\SOFTWARE\\T\\Tail", textWithTail),
        Set(L"HKLM\\SOFTWARE\\T\\Expand", RawValue{kRegExpandSz, StringValue(L"%TEMP%").data}),
        Set(L"HKLM\\SOFTWARE\\T\\Multi", RawValue{kRegMultiSz, {'a', 0, 0, 0, 0, 0}}),
        Set(L"HKLM\\SOFTWARE\\T\\Binary", RawValue{kRegBinary, {0, 0xFF, 0x10}}),
        Set(L"HKLM\\SOFTWARE\\T\\Qword", RawValue{kRegQword, {1, 2, 3, 4, 5, 6, 7, 8}}),
        Set(L"HKLM\\SOFTWARE\\T\\Empty", RawValue{kRegBinary, {}}),
        Set(L"HKLM\\SOFTWARE\\T\\", DwordValue(0xFFFFFFFF)),
        {Kind::DeleteValue, Path::Parse(L"HKLM\\SOFTWARE\\T\\Gone"), {}},
        {Kind::DeleteKey, Path::Parse(L"HKLM\\SOFTWARE\\T\\Sub\\"), {}},
    };
    EXPECT_EQ(ParseRegFile(DecodeUtf16File(EncodeUtf16File(WriteRegFile(entries)))), entries);
}

TEST(RegFile, ReadsContinuedHexLinesAndComments) {
    const auto entries = ParseRegFile(
        L"Windows Registry Editor Version 5.00\n\n; a comment\n[HKEY_CURRENT_USER\\Software\\T]\n"
        L"\"Long\"=hex(7):41,00,\\\n  42,00,00,\\\n  00\n\"N\"=dword:0000000A\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].value, (RawValue{kRegMultiSz, {0x41, 0, 0x42, 0, 0, 0}}));
    EXPECT_EQ(entries[1].value, DwordValue(10));
}

TEST(RegFile, RefusesWhatItCannotRead) {
    const wchar_t* header = L"Windows Registry Editor Version 5.00\r\n";
    const struct {
        std::wstring text;
        const wchar_t* mentions;
    } cases[] = {
        {L"REGEDIT4\r\n[HKEY_CLASSES_ROOT\\.wrl]\r\n", L""},
        {std::wstring(header) + L"@=\"value before any key\"\r\n", L"2"},
        {std::wstring(header) + L"[HKEY_NOWHERE\\Key]\r\n", L"2"},
        {std::wstring(header) + L"[HKEY_CLASSES_ROOT\\.wrl]\r\n\"Unclosed=\"x\"\r\n", L"3"},
        {std::wstring(header) + L"[HKEY_CLASSES_ROOT\\.wrl]\r\n@=dword:12\r\n", L"3"},
        {std::wstring(header) + L"[HKEY_CLASSES_ROOT\\.wrl]\r\n@=hex:1,2g\r\n", L"3"},
        {std::wstring(header) + L"[HKEY_CLASSES_ROOT\\.wrl\r\n", L"2"},
    };
    for (const auto& c : cases) {
        try {
            (void)ParseRegFile(c.text);
            ADD_FAILURE() << "accepted case " << (&c - cases);
        } catch (const Error& error) {
            EXPECT_EQ(error.Number(), kErrorInvalidData);
            EXPECT_NE(error.Description().find(c.mentions), std::wstring::npos) << "the line number is named";
        }
    }
    EXPECT_THROW((void)DecodeUtf16File({'W', 0, 'i', 0}), Error) << "no byte-order mark";
}

}  // namespace
}  // namespace orbelin::reg
