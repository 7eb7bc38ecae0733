#include <gtest/gtest.h>

#include "common/error.h"
#include "scripthost/memory_registry.h"
#include "scripthost/transaction.h"

namespace orbelin::reg {
namespace {

struct PathCase {
    const wchar_t* text;
    Root root;
    const wchar_t* key;
    const wchar_t* valueName;
};

TEST(RegistryPath, ParsesRootKeyAndValue) {
    const PathCase cases[] = {
        {L"HKEY_CLASSES_ROOT\\.wrl\\", Root::ClassesRoot, L".wrl", L""},
        {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\MIME\\Database\\Content Type\\model/x3d+xml\\CLSID",
         Root::LocalMachine, L"SOFTWARE\\Classes\\MIME\\Database\\Content Type\\model/x3d+xml", L"CLSID"},
        {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.x3dv.gz\\", Root::LocalMachine,
         L"SOFTWARE\\Classes\\.x3dv.gz", L""},
        {L"HKLM\\SOFTWARE\\Vantrel\\App\\", Root::LocalMachine, L"SOFTWARE\\Vantrel\\App", L""},
        {L"hkcu\\Software\\x-world/x-x3d-vrml\\Name", Root::CurrentUser, L"Software\\x-world/x-x3d-vrml",
         L"Name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        const Path path = Path::Parse(c.text);
        EXPECT_EQ(path.root, c.root);
        EXPECT_EQ(path.key, c.key);
        EXPECT_EQ(path.valueName, c.valueName);
        EXPECT_EQ(path.IsDefaultValue(), std::wstring(c.valueName).empty());
    }
}

TEST(RegistryPath, RejectsMalformedPaths) {
    for (const wchar_t* text :
         {L"", L"HKEY_CLASSES_ROOT", L"HKEY_CLASSES_ROOT\\", L"HKEY_CLASSES_ROOT\\CLSID",
          L"HKEY_NOWHERE\\Key\\", L"HKEY_LOCAL_MACHINE\\SOFTWARE\\\\Classes\\", L"HKEY_LOCAL_MACHINE\\\\",
          L".wrl\\"}) {
        try {
            (void)Path::Parse(text);
            ADD_FAILURE() << "accepted a malformed path";
        } catch (const Error& error) {
            EXPECT_EQ(error.Number(), kErrorBadPathName);
            EXPECT_NE(error.Description().find(text), std::wstring::npos) << "the description names the path";
        }
    }
}

TEST(RegistryService, ReadsTextAndNumbersAndRefusesOtherKinds) {
    MemoryRegistry registry;
    const auto path = [](const wchar_t* name) {
        return Path::Parse(std::wstring(L"HKLM\\SOFTWARE\\T\\") + name);
    };
    registry.WriteRaw(path(L"Text"), StringValue(L"VRML.World"));
    registry.WriteRaw(path(L"Expand"), RawValue{kRegExpandSz, StringValue(L"%X%").data});
    registry.WriteRaw(path(L"Dword"), DwordValue(3));
    registry.WriteRaw(path(L"Qword"), RawValue{kRegQword, {1, 0, 0, 0, 1, 0, 0, 0}});
    registry.WriteRaw(path(L"Binary"), RawValue{kRegBinary, {1, 2}});
    registry.WriteRaw(path(L"ShortDword"), RawValue{kRegDword, {1}});

    EXPECT_EQ(registry.Read(path(L"Text")), Value(std::wstring(L"VRML.World")));
    EXPECT_EQ(registry.Read(path(L"Expand")), Value(std::wstring(L"%X%")));
    EXPECT_EQ(registry.Read(path(L"Dword")), Value(std::int64_t{3}));
    EXPECT_EQ(registry.Read(path(L"Qword")), Value(std::int64_t{0x100000001}));
    for (const wchar_t* name : {L"Binary", L"ShortDword"}) {
        try {
            (void)registry.Read(path(name));
            ADD_FAILURE() << "read a value of an unexpected kind";
        } catch (const Error& error) {
            EXPECT_EQ(error.Number(), kErrorTypeMismatch);
            EXPECT_NE(error.Description().find(name), std::wstring::npos);
        }
    }
    for (const wchar_t* missing :
         {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\T\\Absent", L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Nowhere\\"}) {
        try {
            (void)registry.Read(Path::Parse(missing));
            ADD_FAILURE() << "read a missing value";
        } catch (const Error& error) {
            EXPECT_EQ(error.Number(), kErrorFileNotFound);
            EXPECT_NE(error.Description().find(missing), std::wstring::npos);
        }
    }
}

TEST(RegistryService, WriteStoresStringsAndNumbersAsText) {
    MemoryRegistry registry;
    const auto path = Path::Parse(L"HKLM\\SOFTWARE\\Vantrel\\App\\");
    registry.Write(path, std::int64_t{-1});
    EXPECT_EQ(registry.ReadRaw(path), StringValue(L"-1"));
    registry.Write(path, std::wstring());
    EXPECT_EQ(registry.ReadRaw(path), (RawValue{kRegSz, {0, 0}})) << "an empty value is written, not skipped";
}

TEST(RegistryService, DeleteOfAKeyTakesItsSubkeys) {
    MemoryRegistry registry;
    registry.Write(Path::Parse(L"HKLM\\SOFTWARE\\Vantrel\\App\\"), std::wstring(L"1"));
    registry.Write(Path::Parse(L"HKLM\\SOFTWARE\\Vantrel\\Other\\Deep\\Name"), std::wstring(L"x"));
    registry.Write(Path::Parse(L"HKLM\\SOFTWARE\\Vantrelle\\"), std::wstring(L"kept"));
    registry.Delete(Path::Parse(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantrel\\"));
    EXPECT_FALSE(registry.KeyExists(Root::LocalMachine, L"SOFTWARE\\Vantrel"));
    EXPECT_FALSE(registry.KeyExists(Root::LocalMachine, L"SOFTWARE\\Vantrel\\Other\\Deep"));
    EXPECT_TRUE(registry.KeyExists(Root::LocalMachine, L"SOFTWARE\\Vantrelle"))
        << "a sibling with a longer name";
    EXPECT_THROW(registry.Delete(Path::Parse(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantrel\\")), Error);
}

TEST(Transaction, FailureInTheMiddlePutsBackValuesAndRemovesCreatedKeys) {
    MemoryRegistry registry;
    const auto existing = Path::Parse(L"HKLM\\SOFTWARE\\Classes\\.wrl\\");
    registry.WriteRaw(existing, DwordValue(7));  // a value of another kind must come back as it was
    registry.WriteRaw(Path::Parse(L"HKLM\\SOFTWARE\\Classes\\.wrz\\Other"), StringValue(L"keep"));
    const auto before = registry.Dump();
    const auto keysBefore = registry.KeyNames();

    registry.FailWriteNumber(4);
    EXPECT_THROW(
        WriteAll(registry,
                 {
                     {existing, std::wstring(L"A")},
                     {Path::Parse(L"HKCR\\.wrl\\"), std::wstring(L"B")},  // the same value, other root
                     {Path::Parse(L"HKLM\\SOFTWARE\\Classes\\New\\Deeper\\"), std::wstring(L"C")},
                     {Path::Parse(L"HKCR\\.wrz\\"), std::wstring(L"D")},
                 }),
        Error);
    EXPECT_EQ(registry.Dump(), before);
    EXPECT_EQ(registry.KeyNames(), keysBefore);
}

}  // namespace
}  // namespace orbelin::reg
