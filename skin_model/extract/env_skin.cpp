#include "skin_model/extract/env_skin.h"

#include <windows.h>

#include <climits>
#include <cwchar>
#include <vector>

#include "foundation/config/ini_document.h"
#include "foundation/core/perf.h"
#include "foundation/core/singleton.h"
#include "foundation/env/env.h"
#include "foundation/env/env_entries.h"
#include "foundation/env/user_env.h"
#include "foundation/files/file.h"
#include "foundation/files/path.h"
#include "foundation/flash/flash_util.h"
#include "foundation/records/skin_pack.h"
#include "foundation/users/user_manager.h"
#include "foundation/win/shared_versions.h"
#include "skin_model/extract/skin_package_reader.h"

const wchar_t* const c_runtimeSkinFileName = L"skin_v3.dat";

namespace {

const wchar_t c_allSkinFolder[] = L"AllSkin";
const wchar_t c_previewFolder[] = L"SkinPreview";
const wchar_t c_packageExtension[] = L".vsf";

bool EndsWithNoCase(const wchar_t* text, const wchar_t* tail)
{
    const size_t n = wcslen(text);
    const size_t m = wcslen(tail);
    return n >= m && _wcsicmp(text + n - m, tail) == 0;
}

// "<folder>\AllSkin" of the installation (false while it is unknown) and of the user.
bool InstallSkinFolder(UserManager& users, t_path& out)
{
    t_str install;
    if (!users.GetInstallDir(install) || install.IsEmpty())
        return false;
    out = install;
    return out.AppendPart(c_allSkinFolder);
}

bool UserSkinFolder(UserManager& users, int userId, t_path& out)
{
    t_str user;
    if (!users.GetUserPath(user, userId) || user.IsEmpty())
        return false;
    out = user;
    return out.AppendPart(c_allSkinFolder);
}

// A copy of an installed package into the user's "AllSkin"; a failure only costs the copy.
void CopyIntoUserFolder(const t_path& package, const t_path& userFolder)
{
    t_path target(userFolder);
    target.AppendPart(package.FileName());
    t_errorChain ignored;
    package.Copy(ignored, target.c_str(), false);
}

// Whether two paths name one file, by their full forms without regard to case.
bool IsSameFile(const wchar_t* a, const wchar_t* b)
{
    wchar_t fullA[MAX_PATH];
    wchar_t fullB[MAX_PATH];
    const DWORD n = GetFullPathNameW(a, MAX_PATH, fullA, nullptr);
    const DWORD m = GetFullPathNameW(b, MAX_PATH, fullB, nullptr);
    if (n == 0 || n >= MAX_PATH || m == 0 || m >= MAX_PATH)
        return _wcsicmp(a, b) == 0;
    return _wcsicmp(fullA, fullB) == 0;
}

bool WriteBytes(t_errorChain& errors, const wchar_t* path, const std::vector<uint8_t>& bytes)
{
    t_fileWrite file;
    const bool ok = bytes.size() <= UINT32_MAX && file.Open(errors, path, t_file::e_writeNew) &&
                    file.Write(errors, bytes.data(), uint32_t(bytes.size()));
    file.Close();
    return ok;
}

// Writes pack (or, when given, the container bytes it was read from) beside target and
// moves it over target only when complete, so that a failed write leaves the old runtime
// skin whole.
bool WriteContainer(t_errorChain& errors, t_skinPack& pack, const wchar_t* target, bool packed,
                    const std::vector<uint8_t>* asRead)
{
    t_path partial(target);
    partial.Append(L".part");
    if (asRead ? !WriteBytes(errors, partial.c_str(), *asRead) : !pack.Export(errors, partial.c_str(), packed)) {
        DeleteFileW(partial.c_str());
        return false;
    }
    if (!partial.Move(errors, target, false)) {
        DeleteFileW(partial.c_str());
        return false;
    }
    return true;
}

// A skin name or target is a name inside the folder it is looked up in, or a full path
// ("X:\\..."); either way without a ".." part, a device or a name Windows cannot create,
// and a name also without a drive or a leading separator. The refusal names what and why.
bool CheckNameOrPath(t_errorChain& errors, const wchar_t* what, const wchar_t* name)
{
    if (!name || !name[0])
        return true;
    const t_pathFault fault = CheckPathParts(name, true);
    if (fault == t_pathFault::e_none)
        return true;
    errors.NewLine().AppendFormat(L"解压缩皮肤失败：%s%s：%s", what, PathFaultText(fault), name);
    return false;
}

}  // namespace

t_envSkin* t_envSkin::Instance() { return ImmSingleton<t_envSkin>::Instance("t_envSkin"); }

bool t_envSkin::Extract2(t_errorChain& errors, int userId, bool checkFlash, const wchar_t* source,
                         const wchar_t* target, int32_t* code)
{
    PerfScope scope("Extract2");
    if (userId == -1) {
        UserManager* users = UserManager::Instance();
        if (!users || !users->ReadCurrentUserId(errors, userId)) {
            SetExtractCode(code, t_extractCode::e_noUser);
            errors.AddText(L"解压缩皮肤失败:获取用户失败");
            return false;
        }
    }
    t_str sourcePath;
    if (!FindPackageSource(errors, sourcePath, userId, source)) {
        SetExtractCode(code, t_extractCode::e_noSource);
        errors.AddText(L"解压缩皮肤失败:Extract2:查找源文件失败");
        return false;
    }
    t_str targetPath;
    if (!CheckNameOrPath(errors, L"目标", target)) {
        SetExtractCode(code, t_extractCode::e_noTarget);
        errors.AddText(L"解压缩皮肤失败:Extract2:查找目标文件失败");
        return false;
    }
    if (!FindPackageTarget(targetPath, userId, target)) {
        SetExtractCode(code, t_extractCode::e_noTarget);
        errors.AddText(L"解压缩皮肤失败:Extract2:查找目标文件失败");
        return false;
    }
    return ConvertPackage(errors, checkFlash, sourcePath.c_str(), targetPath.c_str(), code);
}

bool t_envSkin::FindPackageSource(t_errorChain& errors, t_str& source, int userId, const wchar_t* name)
{
    UserManager* users = UserManager::Instance();
    if (!users)
        return false;
    t_env env;
    if (!name) {
        if (!GetUserEnvironment(errors, env, userId)) {
            errors.NewLine().AppendFormat(L"查找Env失败：uid = %d", userId);
            return false;
        }
        name = env.GetString(n_env::ActiveSkinName);
        if (!name)
            name = L"";
    }

    if (!CheckNameOrPath(errors, L"皮肤名", name))
        return false;
    t_path found;
    const t_path given(name);
    if (given.IsRelative()) {
        if (!FindSkinFile(errors, found, name, userId)) {
            errors.NewLine().AppendText(L"解压缩皮肤失败：找不到文件").AppendText(name);
            return false;
        }
    } else {
        if (!given.IsFile()) {
            errors.NewLine().AppendText(L"解压缩皮肤失败：").AppendText(name);
            return false;
        }
        found = given;
    }

    // A package of the installation's "AllSkin" is also kept in the user's, and the
    // installation's copy is preferred while the user has none of that name.
    t_path installFolder;
    t_path userFolder;
    if (InstallSkinFolder(*users, installFolder) && UserSkinFolder(*users, userId, userFolder)) {
        if (!given.IsRelative() && installFolder.Contains(found.c_str(), true))
            CopyIntoUserFolder(found, userFolder);
        t_path installed(installFolder);
        installed.AppendPart(found.FileName());
        t_path userCopy(userFolder);
        userCopy.AppendPart(found.FileName());
        if (installed.IsFile() && !userCopy.IsFile()) {
            found = installed;
            CopyIntoUserFolder(found, userFolder);
        }
    }
    source = found;
    return true;
}

bool t_envSkin::FindSkinFile(t_errorChain& errors, t_str& path, const wchar_t* name, int userId)
{
    UserManager* users = UserManager::Instance();
    if (!users)
        return false;
    t_str file(name);
    if (!EndsWithNoCase(name, c_packageExtension))
        file.Append(c_packageExtension);
    // The lines of the attempts reach the caller only when every attempt failed.
    t_errorChain attempts;
    for (const wchar_t* folder : {c_allSkinFolder, c_previewFolder}) {
        t_str candidate(folder);
        candidate.Append(L"\\");
        candidate.AppendStr(file);
        if (users->FindFile(attempts, UserManager::e_userThenInstall, candidate, userId, true, nullptr)) {
            path = candidate;
            return true;
        }
    }
    if (attempts.FirstLine())
        errors.CopyLines(attempts.FirstLine(), errors.NewLine());
    errors.NewLine().AppendText(L"找不到皮肤文件:").AppendText(name);
    return false;
}

bool t_envSkin::FindPackageTarget(t_str& target, int userId, const wchar_t* name)
{
    if (name && CheckPathParts(name, true) != t_pathFault::e_none)
        return false;
    const t_path given(name ? name : L"");
    if (name && !given.IsRelative()) {
        target = given;
        return true;
    }
    UserManager* users = UserManager::Instance();
    t_str user;
    if (!users || !users->GetUserPath(user, userId) || user.IsEmpty())
        return false;
    t_path path(user);
    path.AppendPart(name ? name : c_runtimeSkinFileName);
    target = path;
    return true;
}

bool t_envSkin::ConvertPackage(t_errorChain& errors, bool checkFlash, const wchar_t* source, const wchar_t* target,
                               int32_t* code)
{
    t_skinPack pack;
    bool packed = false;
    t_skinPackageReader reader;
    bool ok = reader.Open(errors, source, pack, code, packed);
    const int opened = pack.Count();
    if (ok && !CheckPackageVersion(pack, packed)) {
        errors.AddText(L"皮肤版本不支持");
        ok = false;
    }
    if (ok && !CheckPackageFlash(pack, checkFlash, code)) {
        errors.AddText(L"flash不支持");
        ok = false;
    }
    // The runtime skin never replaces the user's package.
    if (ok && IsSameFile(source, target)) {
        SetExtractCode(code, t_extractCode::e_writeFailed);
        errors.AddText(L"皮肤打包失败:目标文件就是皮肤包");
        ok = false;
    }
    // A container stays packed; a zip archive's files are written plain. A packed container
    // that the checks left whole is written as it was read.
    const bool asRead = packed && pack.GetVersion() == t_skinPack::c_formatPacked && pack.Count() == opened;
    if (ok && !WriteContainer(errors, pack, target, packed, asRead ? &reader.ContainerBytes() : nullptr)) {
        SetExtractCode(code, t_extractCode::e_writeFailed);
        errors.AddText(L"皮肤打包失败:保存文件失败");
        ok = false;
    }
    if (!ok) {
        // The user's package stays where and as it is, whatever went wrong with it.
        AppendFromToError(errors.NewLine(), L"皮肤解压失败", source, target);
        return false;
    }
    t_path::GrantAccess(target);
    t_path::ApplyLowLabel(target);
    return true;
}

bool t_envSkin::OpenSkinPackage(t_errorChain& errors, const wchar_t* path, t_skinPack& pack, int32_t* code,
                                bool& packed, const wchar_t* libraryFolder)
{
    t_skinPackageReader reader(libraryFolder);
    return reader.Open(errors, path, pack, code, packed);
}

bool t_envSkin::CheckPackageVersion(const t_skinPack& pack, bool packed)
{
    if (packed)
        return true;
    t_varFile* index = nullptr;
    if (!pack.Find(L"skin.ini", &index) || !index)
        return false;
    uint32_t size = 0;
    const unsigned char* bytes = index->GetData(&size);
    t_iniDocument ini(false);
    if (!bytes || !ini.ReadFromMemory(bytes, size, 936))
        return false;
    const wchar_t* version = ini.GetValue(L"General", L"version");
    if (!version || !version[0])
        return true;
    const long value = wcstol(version, nullptr, 10);
    // Version 2 skins need a layout this runtime does not read.
    return value != 2 && value <= long(t_skinPack::c_formatPacked);
}

bool t_envSkin::CheckPackageFlash(t_skinPack& pack, bool checkFlash, int32_t* code)
{
    if (pack.Count() == 0)
        return false;
    const bool installed = IsFlashComponentInstalled();
    bool flash = false;
    for (int i = 0; i < pack.Count();) {
        const t_varFile* entry = pack.At(i);
        const t_path name(entry->GetName());
        const wchar_t* extension = name.Extension();
        uint32_t size = 0;
        const unsigned char* bytes = entry->GetData(&size);
        const bool fits = size <= uint32_t(INT_MAX);
        if (extension && _wcsicmp(extension, L".swf") == 0) {
            flash = true;
            if (checkFlash && installed) {
                i_flashSwf* swf = fits ? FlashUtilLoadSwf(bytes, int(size)) : nullptr;
                if (!swf) {
                    SetExtractCode(code, t_extractCode::e_swfLoad);
                    return false;
                }
                swf->Release();
            }
        } else if (extension && _wcsicmp(extension, L".ssw") == 0) {
            flash = true;
            if (fits)
                FlashUtilInstallSsw(bytes, int(size));
            // The next entry moves into this place: it is visited without advancing.
            pack.Remove(name.c_str());
            continue;
        }
        ++i;
    }
    if (!flash)
        return true;
    if (!installed) {
        SetExtractCode(code, t_extractCode::e_flashMissing);
        return false;
    }
    if (FlashUtilIsUsable())
        return true;
    SetExtractCode(code, t_extractCode::e_flashUnusable);
    return false;
}

bool t_envSkin::BumpSkinVersionCounter()
{
    if (t_versionReg::IsOpen())
        t_versionReg::Increment(c_skinVersionCounter);
    return true;
}
