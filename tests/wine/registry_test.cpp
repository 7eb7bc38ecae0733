// The registry service against Wine's real registry.

#include <gtest/gtest.h>
#include <windows.h>

#include "common/error.h"
#include "scripthost/transaction.h"
#include "scripthost/win32_registry.h"

namespace orbelin::reg {
namespace {

class RegistryOnWine : public testing::Test {
  protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\.orbtest");
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\.orbtest-new");
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                         L"SOFTWARE\\Classes\\MIME\\Database\\Content Type\\model/orbtest+xml");
    }
    Win32Registry registry;
};

TEST_F(RegistryOnWine, WritesCreateKeysAndClassesRootSeesMachineClasses) {
    registry.Write(Path::Parse(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.orbtest\\Sub\\"),
                   std::wstring(L"Octaga"));
    EXPECT_EQ(registry.Read(Path::Parse(L"HKEY_CLASSES_ROOT\\.orbtest\\Sub\\")),
              Value(std::wstring(L"Octaga")));

    // A slash belongs to the key name: one key "model/orbtest+xml", not "model" and a child.
    const auto mime = Path::Parse(
        L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\MIME\\Database\\Content Type\\model/orbtest+xml\\CLSID");
    registry.Write(mime, std::wstring(L"{X}"));
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                              L"SOFTWARE\\Classes\\MIME\\Database\\Content Type\\model/orbtest+xml", 0,
                              KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    wchar_t buffer[16] = {};
    DWORD size = sizeof(buffer);
    DWORD type = 0;
    EXPECT_EQ(::RegQueryValueExW(key, L"CLSID", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(buffer, L"{X}");
}

TEST_F(RegistryOnWine, ReadsNumbersAndReportsMissingValuesByPath) {
    const auto path = Path::Parse(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.orbtest\\");
    registry.WriteRaw(path, DwordValue(3));
    EXPECT_EQ(registry.Read(path), Value(std::int64_t{3}));
    registry.Write(path, std::int64_t{2});
    EXPECT_EQ(registry.ReadRaw(path), StringValue(L"2")) << "a number is written as its text";

    const wchar_t* missing = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.orbtest\\Absent";
    try {
        (void)registry.Read(Path::Parse(missing));
        FAIL() << "read a missing value";
    } catch (const Error& error) {
        EXPECT_EQ(error.Number(), kErrorFileNotFound);
        EXPECT_NE(error.Description().find(missing), std::wstring::npos);
    }
    EXPECT_THROW((void)registry.Read(Path::Parse(L"HKEY_CLASSES_ROOT\\.orbtest-new\\")), Error);
}

TEST_F(RegistryOnWine, DeleteRemovesAKeyWithItsSubkeys) {
    registry.Write(Path::Parse(L"HKLM\\SOFTWARE\\Classes\\.orbtest\\App\\"), std::wstring(L"1"));
    registry.Write(Path::Parse(L"HKLM\\SOFTWARE\\Classes\\.orbtest\\App\\Deep\\Name"), std::wstring(L"x"));
    registry.Delete(Path::Parse(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.orbtest\\"));
    EXPECT_FALSE(registry.KeyExists(Root::LocalMachine, L"SOFTWARE\\Classes\\.orbtest"));
    EXPECT_THROW(registry.Delete(Path::Parse(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.orbtest\\")), Error);
}

// Fails the n-th write, otherwise the real registry.
class FailingRegistry : public Win32Registry {
  public:
    explicit FailingRegistry(int failAt) : failAt_(failAt) {}
    void WriteRaw(const Path& path, const RawValue& value) override {
        Count();
        Win32Registry::WriteRaw(path, value);
    }
    Prior Exchange(const Path& path, const RawValue& value) override {
        Count();
        return Win32Registry::Exchange(path, value);
    }

  private:
    void Count() {
        if (++seen_ == failAt_) throw Error(kErrorAccessDenied, L"injected");
    }
    int failAt_;
    int seen_ = 0;
};

TEST_F(RegistryOnWine, RollbackRestoresTheRealRegistryThroughBothRoots) {
    registry.WriteRaw(Path::Parse(L"HKLM\\SOFTWARE\\Classes\\.orbtest\\"), DwordValue(9));
    FailingRegistry failing(4);
    EXPECT_THROW(WriteAll(failing,
                          {
                              {Path::Parse(L"HKLM\\SOFTWARE\\Classes\\.orbtest\\"), std::wstring(L"")},
                              {Path::Parse(L"HKLM\\SOFTWARE\\Classes\\.orbtest-new\\A\\"), std::wstring(L"")},
                              {Path::Parse(L"HKCR\\.orbtest\\"), std::wstring(L"Octaga.Octaga.wrl")},
                              {Path::Parse(L"HKCR\\.orbtest-new\\A\\"), std::wstring(L"never")},
                          }),
                 Error);
    EXPECT_EQ(registry.ReadRaw(Path::Parse(L"HKLM\\SOFTWARE\\Classes\\.orbtest\\")), DwordValue(9));
    EXPECT_FALSE(registry.KeyExists(Root::ClassesRoot, L".orbtest-new")) << "a created key is removed again";
}

}  // namespace
}  // namespace orbelin::reg
