#include "foundation/win/security.h"

#include <gtest/gtest.h>

#include <sddl.h>

#include <string>

#include "tests/support/child_runner.h"
#include "foundation/win/mutex.h"
#include "tests/support/temp_folder.h"

namespace {

std::wstring SidText(PSID sid)
{
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text))
        return L"";
    std::wstring result(text);
    LocalFree(text);
    return result;
}

// The SIDs of the access-allowed entries of a DACL, in order.
std::wstring AllowedSids(PACL acl)
{
    std::wstring sids;
    for (DWORD i = 0; acl && i < acl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (GetAce(acl, i, reinterpret_cast<void**>(&ace)) && ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE)
            sids += SidText(&ace->SidStart) + L";";
    }
    return sids;
}

}  // namespace

TEST(Security, OsVersionComesFromKernel32)
{
    OSVERSIONINFOW version;
    ASSERT_TRUE(GetOsVersion(version));
    EXPECT_EQ(276u, version.dwOSVersionInfoSize);
    EXPECT_EQ(2u, version.dwPlatformId);
    EXPECT_GE(version.dwMajorVersion, 5u);
    bool win8 = version.dwMajorVersion > 6 || (version.dwMajorVersion == 6 && version.dwMinorVersion > 1);
    EXPECT_EQ(version.dwMajorVersion > 5, IsVistaOrLater());
    EXPECT_EQ(win8, IsWin8OrLater());
}

TEST(Security, SharedDaclOpensToEveryoneAndAppPackages)
{
    PACL dacl = GetSharedDacl();
    ASSERT_NE(nullptr, dacl);
    EXPECT_EQ(ACL_REVISION, dacl->AclRevision);
    std::wstring expected = IsWin8OrLater() ? L"S-1-1-0;S-1-15-2-1;" : L"S-1-1-0;";
    EXPECT_EQ(expected, AllowedSids(dacl));
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
        EXPECT_EQ(DWORD(GENERIC_ALL | WRITE_DAC), ace->Mask);
        EXPECT_EQ(OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, ace->Header.AceFlags);
    }
}

TEST(Security, LowLabelSaclAndAttributes)
{
    SECURITY_ATTRIBUTES* attributes = GetLowIntegritySecurityAttributes();
    ASSERT_NE(nullptr, attributes);
    EXPECT_EQ(attributes, GetLowIntegritySecurityAttributes());  // built once
    EXPECT_TRUE(attributes->bInheritHandle);
    EXPECT_EQ(sizeof(SECURITY_ATTRIBUTES), attributes->nLength);

    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(attributes->lpSecurityDescriptor, &present, &dacl, &defaulted));
    EXPECT_TRUE(present);
    EXPECT_EQ(GetSharedDacl(), dacl);

    PACL sacl = GetLowLabelSacl();
    if (!IsVistaOrLater()) {
        EXPECT_EQ(nullptr, sacl);
        return;
    }
    ASSERT_NE(nullptr, sacl);
    ASSERT_EQ(1u, sacl->AceCount);
    SYSTEM_MANDATORY_LABEL_ACE* ace = nullptr;
    ASSERT_TRUE(GetAce(sacl, 0, reinterpret_cast<void**>(&ace)));
    EXPECT_EQ(SYSTEM_MANDATORY_LABEL_ACE_TYPE, ace->Header.AceType);
    EXPECT_EQ(OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, ace->Header.AceFlags);
    EXPECT_EQ(0u, ace->Mask);
    EXPECT_EQ(L"S-1-16-4096", SidText(&ace->SidStart));
}

TEST(Security, NamedMutexCarriesTheSharedDacl)
{
    t_errorChain errors;
    t_mutex mutex;
    ASSERT_TRUE(mutex.Create(errors, UniqueTag(L"security_test_").c_str()));
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, GetSecurityInfo(mutex.Handle(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                             nullptr, &dacl, nullptr, &descriptor));
    EXPECT_NE(std::wstring::npos, AllowedSids(dacl).find(L"S-1-1-0;"));
    LocalFree(descriptor);
}

TEST(Security, GrantObjectAccessMergesOrReplaces)
{
    // Registry keys keep their DACL whole under every system, so they show the entries.
    std::wstring key = UniqueTag(L"Software\\kavrel_security_test_");
    std::wstring name = L"CURRENT_USER\\" + key;
    std::wstring ours = IsWin8OrLater() ? L"S-1-1-0;S-1-15-2-1;" : L"S-1-1-0;";
    for (bool merge : {true, false}) {
        HKEY handle = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 &handle, nullptr));
        RegCloseKey(handle);
        PACL before = nullptr, after = nullptr;
        PSECURITY_DESCRIPTOR beforeDescriptor = nullptr, afterDescriptor = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, GetNamedSecurityInfoW(name.c_str(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION,
                                                       nullptr, nullptr, &before, nullptr, &beforeDescriptor));
        EXPECT_TRUE(GrantObjectAccess(KEY_READ, merge, name.c_str(), SE_REGISTRY_KEY));
        ASSERT_EQ(ERROR_SUCCESS, GetNamedSecurityInfoW(name.c_str(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION,
                                                       nullptr, nullptr, &after, nullptr, &afterDescriptor));
        std::wstring expected = merge ? ours + AllowedSids(before) : ours;
        EXPECT_EQ(expected, AllowedSids(after)) << "merge " << merge;
        LocalFree(beforeDescriptor);
        LocalFree(afterDescriptor);
        RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    }
}

TEST(Security, GrantPathAccess)
{
    t_tempFolder dir(L"security_grant");
    const std::wstring path = dir / L"file.txt";
    ASSERT_TRUE(WriteRaw(path, ""));
    EXPECT_TRUE(GrantPathAccess(path.c_str(), SE_FILE_OBJECT, GENERIC_ALL, true));
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                                   nullptr, &dacl, nullptr, &descriptor));
    EXPECT_NE(std::wstring::npos, AllowedSids(dacl).find(L"S-1-1-0;"));
    LocalFree(descriptor);

    EXPECT_FALSE(GrantPathAccess(nullptr, SE_FILE_OBJECT, GENERIC_ALL, true));
    EXPECT_FALSE(GrantPathAccess(L"Z:\\no\\such\\folder\\file.txt", SE_FILE_OBJECT, GENERIC_ALL, true));
}

TEST(Security, LowLabelOnPaths)
{
    if (!IsVistaOrLater()) {
        EXPECT_TRUE(SetPathLowIntegrity(L"Z:\\no\\such.txt", SE_FILE_OBJECT));
        return;
    }
    // Executables keep their label: nothing is touched, so even a missing one passes.
    EXPECT_TRUE(SetPathLowIntegrity(L"Z:\\no\\such\\Tool.EXE", SE_FILE_OBJECT));
    EXPECT_TRUE(SetPathLowIntegrity(L"Z:\\no\\such.exe.bak", SE_FILE_OBJECT));
    EXPECT_FALSE(SetPathLowIntegrity(L"Z:\\no\\such\\file.txt", SE_FILE_OBJECT));
    EXPECT_FALSE(SetPathLowIntegrity(nullptr, SE_FILE_OBJECT));

    t_tempFolder dir(L"security_label");
    const std::wstring path = dir / L"file.txt";
    ASSERT_TRUE(WriteRaw(path, ""));
    EXPECT_TRUE(SetPathLowIntegrity(path.c_str(), SE_FILE_OBJECT));
    // Wine accepts file labels without storing them, so they are not read back here.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | WRITE_OWNER | WRITE_DAC | READ_CONTROL, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    EXPECT_TRUE(SetHandleLowIntegrity(file, SE_FILE_OBJECT));
    EXPECT_TRUE(SetHandleAccessDacl(file, SE_FILE_OBJECT));
    CloseHandle(file);
}
