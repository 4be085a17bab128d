#include "foundation/win/security.h"
#include "foundation/win/file_version.h"

#include <sddl.h>
#include <wchar.h>

#include <vector>

namespace {

// Well-known SIDs are built from their authorities rather than looked up by account
// name, since the names are localised on some systems.
struct t_sid {
    PSID sid = nullptr;
    t_sid(SID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD rid0, DWORD rid1 = 0)
    {
        if (!AllocateAndInitializeSid(&authority, count, rid0, rid1, 0, 0, 0, 0, 0, 0, &sid))
            sid = nullptr;
    }
    ~t_sid()
    {
        if (sid)
            FreeSid(sid);
    }
    t_sid(const t_sid&) = delete;
    t_sid& operator=(const t_sid&) = delete;
};

const t_sid& EveryoneSid()
{
    static const t_sid sid(SID_IDENTIFIER_AUTHORITY{SECURITY_WORLD_SID_AUTHORITY}, 1, SECURITY_WORLD_RID);
    return sid;
}

// S-1-15-2-1
const t_sid& AllAppPackagesSid()
{
    static const t_sid sid(SID_IDENTIFIER_AUTHORITY{{0, 0, 0, 0, 0, 15}}, 2, 2, 1);
    return sid;
}

// S-1-16-4096
const t_sid& LowLabelSid()
{
    static const t_sid sid(SID_IDENTIFIER_AUTHORITY{{0, 0, 0, 0, 0, 16}}, 1, 0x1000);
    return sid;
}

const DWORD c_inheritFlags = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;

struct t_aclHolder {
    PACL acl = nullptr;
    ~t_aclHolder() { free(acl); }
};

PACL BuildSharedDacl()
{
    PSID sids[2] = {EveryoneSid().sid, IsWin8OrLater() ? AllAppPackagesSid().sid : nullptr};
    DWORD size = sizeof(ACL);
    for (PSID sid : sids) {
        if (sid)
            size += sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(sid);
    }
    if (!sids[0] || (IsWin8OrLater() && !sids[1]))
        return nullptr;
    PACL acl = static_cast<PACL>(calloc(1, size));
    if (!acl || !InitializeAcl(acl, size, ACL_REVISION)) {
        free(acl);
        return nullptr;
    }
    for (PSID sid : sids) {
        if (sid && !AddAccessAllowedAceEx(acl, ACL_REVISION, c_inheritFlags, GENERIC_ALL | WRITE_DAC, sid)) {
            free(acl);
            return nullptr;
        }
    }
    return acl;
}

typedef BOOL(WINAPI* t_addMandatoryAce)(PACL, DWORD, DWORD, DWORD, PSID);

// Null before Windows Vista (no AddMandatoryAce) or when building fails.
PACL BuildLowLabelSacl()
{
    HMODULE advapi = GetModuleHandleW(L"advapi32.dll");
    if (!advapi)
        advapi = LoadLibraryW(L"advapi32.dll");
    if (!advapi)
        return nullptr;
    auto addMandatoryAce =
        reinterpret_cast<t_addMandatoryAce>(reinterpret_cast<void*>(GetProcAddress(advapi, "AddMandatoryAce")));
    PSID sid = LowLabelSid().sid;
    if (!addMandatoryAce || !sid)
        return nullptr;
    DWORD size = sizeof(ACL) + sizeof(SYSTEM_MANDATORY_LABEL_ACE) - sizeof(DWORD) + GetLengthSid(sid);
    PACL acl = static_cast<PACL>(calloc(1, size));
    if (!acl || !InitializeAcl(acl, size, ACL_REVISION) ||
        !addMandatoryAce(acl, ACL_REVISION, c_inheritFlags, 0, sid)) {
        free(acl);
        return nullptr;
    }
    return acl;
}

struct t_sharedSecurity {
    t_aclHolder dacl;
    t_aclHolder sacl;
    SECURITY_DESCRIPTOR descriptor;
    SECURITY_ATTRIBUTES attributes;
    bool valid = false;

    t_sharedSecurity()
    {
        dacl.acl = BuildSharedDacl();
        sacl.acl = BuildLowLabelSacl();
        if (!dacl.acl || !InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
            !SetSecurityDescriptorDacl(&descriptor, TRUE, dacl.acl, FALSE))
            return;
        if (sacl.acl && !SetSecurityDescriptorSacl(&descriptor, TRUE, sacl.acl, FALSE))
            return;
        attributes.nLength = sizeof(attributes);
        attributes.lpSecurityDescriptor = &descriptor;
        attributes.bInheritHandle = TRUE;
        valid = true;
    }
};

t_sharedSecurity& SharedSecurity()
{
    static t_sharedSecurity security;
    return security;
}

// Converts the low label SDDL and hands its SACL to apply; true when apply returns 0.
template <class F>
bool ApplyLowLabel(F apply)
{
    if (!IsVistaOrLater())
        return true;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"S:(ML;;NW;;;LW)", SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return false;
    BOOL present = FALSE, defaulted = FALSE;
    PACL sacl = nullptr;
    bool ok =
        GetSecurityDescriptorSacl(descriptor, &present, &sacl, &defaulted) && present && apply(sacl) == ERROR_SUCCESS;
    LocalFree(descriptor);
    return ok;
}

bool ContainsExe(const wchar_t* path)
{
    for (const wchar_t* p = path; *p; ++p) {
        if (_wcsnicmp(p, L".exe", 4) == 0)
            return true;
    }
    return false;
}

}  // namespace

SECURITY_ATTRIBUTES* GetLowIntegritySecurityAttributes()
{
    t_sharedSecurity& security = SharedSecurity();
    return security.valid ? &security.attributes : nullptr;
}

PACL GetSharedDacl() { return SharedSecurity().dacl.acl; }

PACL GetLowLabelSacl() { return SharedSecurity().sacl.acl; }

bool SetHandleAccessDacl(HANDLE handle, SE_OBJECT_TYPE type)
{
    PACL dacl = GetSharedDacl();
    if (!dacl)
        return false;
    return SetSecurityInfo(handle, type, DACL_SECURITY_INFORMATION, nullptr, nullptr, dacl, nullptr) == ERROR_SUCCESS;
}

bool SetHandleLowIntegrity(HANDLE handle, SE_OBJECT_TYPE type)
{
    return ApplyLowLabel([&](PACL sacl) {
        return SetSecurityInfo(handle, type, LABEL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, sacl);
    });
}

bool SetPathLowIntegrity(const wchar_t* path, SE_OBJECT_TYPE type)
{
    if (!path)
        return false;
    if (!IsVistaOrLater())
        return true;
    if (type == SE_FILE_OBJECT && ContainsExe(path))
        return true;
    if (type == SE_FILE_OBJECT) {
        // Through a handle opened for WRITE_OWNER: some systems refuse the label when
        // SetNamedSecurityInfoW opens the file itself.
        HANDLE file =
            CreateFileW(path, READ_CONTROL | WRITE_OWNER, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            bool ok = SetHandleLowIntegrity(file, type);
            CloseHandle(file);
            if (ok)
                return true;
        }
    }
    std::vector<wchar_t> name(path, path + wcslen(path) + 1);
    return ApplyLowLabel([&](PACL sacl) {
        return SetNamedSecurityInfoW(name.data(), type, LABEL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, sacl);
    });
}

bool GrantObjectAccess(DWORD mask, bool merge, const wchar_t* name, SE_OBJECT_TYPE type)
{
    if (!name)
        return false;
    std::vector<wchar_t> objectName(name, name + wcslen(name) + 1);
    PSECURITY_DESCRIPTOR oldDescriptor = nullptr;
    PACL oldDacl = nullptr;
    if (merge && GetNamedSecurityInfoW(objectName.data(), type, DACL_SECURITY_INFORMATION, nullptr, nullptr, &oldDacl,
                                       nullptr, &oldDescriptor) != ERROR_SUCCESS)
        return false;

    PSID sids[2] = {EveryoneSid().sid, AllAppPackagesSid().sid};
    ULONG count = IsWin8OrLater() ? 2 : 1;
    EXPLICIT_ACCESSW entries[2] = {};
    bool ok = true;
    for (ULONG i = 0; i < count; ++i) {
        ok = ok && sids[i];
        entries[i].grfAccessPermissions = mask;
        entries[i].grfAccessMode = SET_ACCESS;
        entries[i].grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
        entries[i].Trustee.TrusteeForm = TRUSTEE_IS_SID;
        entries[i].Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
        entries[i].Trustee.ptstrName = static_cast<LPWSTR>(sids[i]);
    }
    PACL newDacl = nullptr;
    ok = ok && SetEntriesInAclW(count, entries, oldDacl, &newDacl) == ERROR_SUCCESS;
    if (ok) {
        SECURITY_INFORMATION info = DACL_SECURITY_INFORMATION;
        if (!merge)
            info |= PROTECTED_DACL_SECURITY_INFORMATION;
        ok = SetNamedSecurityInfoW(objectName.data(), type, info, nullptr, nullptr, newDacl, nullptr) == ERROR_SUCCESS;
    }
    if (newDacl)
        LocalFree(newDacl);
    if (oldDescriptor)
        LocalFree(oldDescriptor);
    return ok;
}

bool GrantPathAccess(const wchar_t* path, SE_OBJECT_TYPE type, DWORD mask, bool merge)
{
    // GCC has no structured exception handling; the calls report failures by their
    // results, and a null path is refused before any of them.
    return GrantObjectAccess(mask, merge, path, type);
}

bool GetOsVersion(OSVERSIONINFOW& out)
{
    wchar_t path[MAX_PATH + 16];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    wcscpy(path + length, L"\\kernel32.dll");
    uint16_t version[4];
    if (!GetFileVersion(path, version))
        return false;
    ZeroMemory(&out, sizeof(out));
    out.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    out.dwMajorVersion = version[0];
    out.dwMinorVersion = version[1];
    out.dwBuildNumber = version[2];
    out.dwPlatformId = VER_PLATFORM_WIN32_NT;
    return true;
}

namespace {

struct t_osFlags {
    bool vista = false;
    bool win8 = false;
    t_osFlags()
    {
        OSVERSIONINFOW version;
        if (!GetOsVersion(version))
            return;
        vista = version.dwMajorVersion > 5;
        win8 = version.dwMajorVersion > 6 || (version.dwMajorVersion == 6 && version.dwMinorVersion > 1);
    }
};

const t_osFlags& OsFlags()
{
    static const t_osFlags flags;
    return flags;
}

}  // namespace

bool IsVistaOrLater() { return OsFlags().vista; }

bool IsWin8OrLater() { return OsFlags().win8; }
