#include "skin_model/ime_skin.h"

#include <shlwapi.h>

#include <cwchar>

#include "foundation/config/ini_document.h"
#include "foundation/core/exe_path.h"
#include "foundation/files/path.h"
#include "foundation/records/skin_pack.h"
#include "skin_model/button_set.h"
#include "skin_model/combine_info.h"
#include "skin_model/display_info.h"
#include "skin_model/general_info.h"
#include "skin_model/picture_path.h"
#include "skin_model/separate_info.h"
#include "skin_model/skin_cleaner.h"
#include "skin_model/skin_ini.h"
#include "skin_model/status_info.h"

namespace {

const wchar_t c_templateName[] = L"skin.dat";
const wchar_t c_iniName[] = L"skin.ini";
const wchar_t c_backupIniName[] = L"skinbak.ini";
const wchar_t c_workCopyExtension[] = L".dat";
const wchar_t c_asideExtension[] = L".tmp";

// The work folder's path with an extension appended as text ("SkinTmp" + ".dat").
t_str Sibling(const wchar_t* workFolder, const wchar_t* extension)
{
    t_str path(workFolder);
    path.Append(extension);
    return path;
}

}  // namespace

IMESkin::IMESkin() : m_parts(1), m_zip(nullptr), m_editing(false), m_new(true)
{
    // In index order.
    BaseInfo* parts[c_partCount] = {
        new GeneralInfo(),
        new DisplayInfo(),
        new HorizontalCombineInfo(),
        new HorizontalSeparateInfo(),
        new VerticalCombineInfo(),
        new VerticalSeparateInfo(),
        new StatusInfo(),
    };
    for (int window = 0; window < c_buttonWindowCount; ++window)
        parts[static_cast<int>(ButtonSetPartOf(window))] = BtnInfo::New(window);
    for (BaseInfo* part : parts) {
        // The status bar and the button sets start from their constructors' values.
        if (part->PartIndex() < t_partIndex::e_statusBar)
            part->Reset();
        m_parts.PushBack(part);
    }
}

IMESkin::~IMESkin()
{
    for (int i = 0; i < m_parts.Count(); ++i) {
        BaseInfo* part = PartAt(i);
        part->Clear();
        delete part;
    }
    m_parts.Free();
    delete m_zip;
    if (BaseInfo::WorkFolder()[0])
        BaseInfo::SetWorkFolder(L"");
}

IMESkin* IMESkin::Instance()
{
    static IMESkin document;
    return &document;
}

ZipHandler& IMESkin::Handler()
{
    if (!m_zip)
        m_zip = new ZipHandler();
    BaseInfo::SetWorkFolder(m_zip->GetWorkFolder());
    return *m_zip;
}

void IMESkin::CloseFiles()
{
    for (int i = 0; i < m_parts.Count(); ++i)
        PartAt(i)->Clear();
    if (m_zip) {
        const wchar_t* work = m_zip->GetWorkFolder();
        if (work[0]) {
            DeleteFileW(Sibling(work, c_workCopyExtension).c_str());
            DeleteFolder(Sibling(work, c_asideExtension).c_str());
        }
        delete m_zip;
        m_zip = nullptr;
    }
    BaseInfo::SetWorkFolder(L"");
    m_editing = false;
}

bool IMESkin::New()
{
    t_str folder;
    wchar_t templatePath[MAX_PATH];
    if (GetExeFolder(folder) && FormatPath(templatePath, L"%s\\%s", folder.c_str(), c_templateName) &&
        Open(templatePath)) {
        m_new = true;
        return true;
    }
    ZipHandler& zip = Handler();
    wchar_t ini[MAX_PATH];
    if (!zip.PrepareWorkFolder() || !zip.GetIniPath(ini)) {
        CloseFiles();
        return false;
    }
    for (int i = 0; i < m_parts.Count(); ++i) {
        BaseInfo* part = PartAt(i);
        part->ResetAll();
        part->SetIniPath(ini);
    }
    m_new = true;
    m_editing = true;
    return true;
}

bool IMESkin::Open(const wchar_t* path)
{
    m_openNotes.Reset();
    bool packed = false;
    if (!ProbeFile(path, packed))
        return false;
    // The package path must not depend on the current directory, which editing changes.
    wchar_t full[MAX_PATH];
    const DWORD fullLength = GetFullPathNameW(path, MAX_PATH, full, nullptr);
    if (fullLength == 0 || fullLength >= MAX_PATH)
        return false;

    ZipHandler& zip = Handler();
    // From here on the old work folder is gone: every failure closes the document.
    if (!zip.PrepareWorkFolder() || !zip.SetArchivePath(full, true)) {
        CloseFiles();
        return false;
    }
    const wchar_t* work = zip.GetWorkFolder();
    // The package must bring its own Skin.ini: the empty one of the fresh folder goes.
    wchar_t ini[MAX_PATH];
    if (zip.GetIniPath(ini))
        DeleteFileW(ini);
    t_skinPack pack;
    t_errorChain errors;
    bool ok;
    if (packed) {
        // Only plain containers open in the editor; a packed one is refused from its
        // header, before anything is inflated.
        uint32_t format = 0;
        ok = t_skinPack::ProbeHeader(full, &format) && format == t_skinPack::c_formatPlain &&
             pack.Import(errors, full) && pack.GetVersion() < 2 && pack.HasOnlyPlainNames() &&
             pack.ExtractTo(errors, work) && zip.GetIniPath(ini);
    } else {
        ok = zip.UnZip(m_openNotes) && zip.GetIniPath(ini);
        if (ok)
            pack.AddFolder(work);
    }
    if (!ok) {
        CloseFiles();
        return false;
    }

    if (t_iniDocument* document = SkinIni::Instance()) {
        document->Clear();
        document->ReadConfig(errors, ini, SkinIni::c_codePage);
        // A package from someone else must not make the editor read, copy or pack a file
        // outside the skin: such values are emptied here, before any part or the preview
        // sees them, and the work folder and its packed copy get the emptied Skin.ini.
        if (n_picturePath::RefuseOutside(*document, m_openNotes) > 0 && document->WriteConfig(errors, ini))
            pack.AddFolder(work);
    }
    pack.Export(errors, Sibling(work, c_workCopyExtension).c_str(), false);
    for (int i = 0; i < m_parts.Count(); ++i) {
        BaseInfo* part = PartAt(i);
        part->SetIniPath(ini);
        part->Load();
    }
    m_new = false;
    m_editing = true;
    return true;
}

bool IMESkin::Close()
{
    if (!m_editing)
        return false;
    CloseFiles();
    return true;
}

bool IMESkin::Commit(t_errorChain& errors, bool validate)
{
    SetUseGdip(AnyPartUsesPngOrGif() ? 1 : 0);
    for (int i = 0; i < m_parts.Count(); ++i) {
        BaseInfo* part = PartAt(i);
        bool ok = true;
        if (validate && IsButtonSetPart(part->PartIndex()))
            ok = static_cast<BtnInfo*>(part)->SyncPageKeys() && part->Message().IsEmpty();
        // A part that cannot write itself (a picture that would not import) says why.
        if (!ok || !part->Save())
            return errors.Fail(L"%s:%s", PartNameOf(part->PartIndex()), part->Message().c_str());
    }
    SetUseGdip(1);
    wchar_t ini[MAX_PATH];
    if (!GetIniPath(ini))
        return errors.Fail(L"保存ini失败:获取临时路径失败");
    t_iniDocument* document = SkinIni::Instance();
    t_errorChain writeErrors;
    if (!document || !document->WriteConfig(writeErrors, ini))
        return errors.Fail(L"保存ini失败:%s", ini);
    return true;
}

bool IMESkin::RestoreWorkFolder(t_errorChain& errors, const t_str& aside, const wchar_t* ini, const wchar_t* backupIni)
{
    t_errorChain local;
    bool ok = true;
    if (!CopyFolderTree(local, m_zip->GetWorkFolder(), aside.c_str()))
        ok = errors.Fail(L"恢复临时目录失败:%s", m_zip->GetWorkFolder());
    if (!t_path(backupIni).Copy(local, ini, false))
        ok = errors.Fail(L"恢复ini失败:%s", ini);
    return ok;
}

bool IMESkin::Save(t_errorChain& errors, const wchar_t* target)
{
    if (!m_editing)
        return errors.Fail(L"不处于编辑状态");
    if (!m_zip)
        return errors.Fail(L"ziplib加载失败");

    if (t_iniDocument* document = SkinIni::Instance())
        document->Clear();
    if (!Commit(errors, true))
        return false;

    const t_str work(m_zip->GetWorkFolder());
    const t_str ini = t_path::Combine(work.c_str(), c_iniName);
    const t_str backupIni = t_path::Combine(work.c_str(), c_backupIniName);
    t_errorChain local;
    if (!t_path(ini).Copy(local, backupIni.c_str(), false))
        return errors.Fail(L"保存失败:备份ini失败:%s", backupIni.c_str());

    // The uncleaned folder goes aside before anything is blanked, cleaned or deleted; a
    // stale aside copy from an earlier save would bring back files deleted since.
    const t_str aside = Sibling(work.c_str(), c_asideExtension);
    DeleteFolderTree(aside.c_str());
    if (t_path(aside).IsDirectory() || !CopyFolderTree(local, aside.c_str(), work.c_str()))
        return errors.Fail(L"保存失败:备份临时目录失败:%s", aside.c_str());

    PostProcessIni(ini.c_str());
    if (m_new || (target && target[0]))
        m_zip->SetArchivePath(target, true);
    m_new = false;

    DeleteFileW(backupIni.c_str());
    CleanSkinFolder(work.c_str());
    t_errorChain zipErrors;
    const bool zipped = m_zip->Zip(zipErrors);
    if (!zipped) {
        // The system's reason and the path follow, so that the user knows what to fix.
        errors.Fail(L"压缩失败");
        if (zipErrors.FirstLine())
            errors.CopyLines(zipErrors.FirstLine(), errors.NewLine());
    }
    const bool restored = RestoreWorkFolder(errors, aside, ini.c_str(), backupIni.c_str());
    return zipped && restored;
}

const wchar_t* IMESkin::GetWorkFolder() const { return m_zip ? m_zip->GetWorkFolder() : nullptr; }

bool IMESkin::GetIniPath(wchar_t (&out)[MAX_PATH]) const { return m_zip && m_zip->GetIniPath(out); }

bool IMESkin::ResolvePath(wchar_t (&out)[MAX_PATH], const wchar_t* name) const
{
    out[0] = 0;
    if (!name)
        name = L"";
    // A full path is a picture picked from anywhere; other names lie in the work folder,
    // and one that would leave it resolves to nothing.
    if (!n_picturePath::StaysInside(name)) {
        if (PathIsRelativeW(name))
            return false;
        const size_t length = wcslen(name);
        if (length >= MAX_PATH)
            return false;
        wmemcpy(out, name, length + 1);
        return true;
    }
    const wchar_t* work = GetWorkFolder();
    if (!work)
        return false;
    return name[0] ? FormatPath(out, L"%s\\%s", work, name) : FormatPath(out, L"%s", work);
}

void IMESkin::SetCurrentDirToWork() const
{
    wchar_t ini[MAX_PATH];
    if (!m_editing || !GetIniPath(ini))
        return;
    wchar_t* slash = wcsrchr(ini, L'\\');
    if (!slash || slash == ini)
        return;
    *slash = 0;
    SetCurrentDirectoryW(ini);
}

bool IMESkin::GetAllSkinFolder(wchar_t (&out)[MAX_PATH]) const
{
    wchar_t root[MAX_PATH];
    out[0] = 0;
    if (!GetUserSkinRoot(root, MAX_PATH) || !FormatPath(out, L"%s\\AllSkin", root))
        return false;
    if (t_path(out).IsDirectory())
        return true;
    if (!CreateDirectoryW(out, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        out[0] = 0;
        return false;
    }
    return true;
}

bool IsSkinPackFile(const wchar_t* path) { return path && path[0] && t_skinPack::ProbeHeader(path, nullptr); }

bool IMESkin::ProbeFile(const wchar_t* path, bool& packed)
{
    if (!path || !path[0] || !t_path(path).IsFile())
        return false;
    packed = IsSkinPackFile(path);
    return true;
}

bool IMESkin::AnyPartUsesPngOrGif() const
{
    bool any = false;
    for (int i = 0; i < m_parts.Count(); ++i)
        any = PartAt(i)->UsesPngOrGif() || any;
    return any;
}

void IMESkin::SetUseGdip(unsigned char use) { Display().useGdip = use != 0; }

unsigned char IMESkin::GetUseGdip() const { return Display().useGdip ? 1 : 0; }

GeneralInfo& IMESkin::General() const { return *static_cast<GeneralInfo*>(GetPart(t_partIndex::e_general)); }

DisplayInfo& IMESkin::Display() const { return *static_cast<DisplayInfo*>(GetPart(t_partIndex::e_display)); }

LayoutInfo& IMESkin::Layout(t_partIndex index) const { return *static_cast<LayoutInfo*>(GetPart(index)); }

CombineInfo& IMESkin::HorizontalCombined() const
{
    return *static_cast<CombineInfo*>(GetPart(t_partIndex::e_horizontalCombined));
}

SeparateInfo& IMESkin::HorizontalSeparate() const
{
    return *static_cast<SeparateInfo*>(GetPart(t_partIndex::e_horizontalSeparate));
}

CombineInfo& IMESkin::VerticalCombined() const
{
    return *static_cast<CombineInfo*>(GetPart(t_partIndex::e_verticalCombined));
}

SeparateInfo& IMESkin::VerticalSeparate() const
{
    return *static_cast<SeparateInfo*>(GetPart(t_partIndex::e_verticalSeparate));
}

StatusInfo& IMESkin::StatusBar() const { return *static_cast<StatusInfo*>(GetPart(t_partIndex::e_statusBar)); }

BtnInfo& IMESkin::ButtonSet(int window) const { return *static_cast<BtnInfo*>(GetPart(ButtonSetPartOf(window))); }

void IMESkin::PostProcessIni(const wchar_t* path) const
{
    t_iniDocument document(false);
    t_errorChain errors;
    if (!path || !document.ReadConfig(errors, path, SkinIni::c_codePage))
        return;
    const auto blank = [&document](const wchar_t* section, const wchar_t* picture, const wchar_t* mask) {
        document.SetValue(section, picture, L"");
        document.SetValue(section, mask, L"");
    };
    for (const CombineInfo* combined : {&HorizontalCombined(), &VerticalCombined()}) {
        if (!combined->hasPic)
            blank(combined->Section(), L"pic", L"pic_mask");
    }
    for (const SeparateInfo* separate : {&HorizontalSeparate(), &VerticalSeparate()}) {
        if (!separate->pinyinHasPic)
            blank(separate->Section(), L"pinyin_pic", L"pinyin_pic_mask");
        if (!separate->zhongwenHasPic)
            blank(separate->Section(), L"zhongwen_pic", L"zhongwen_pic_mask");
    }
    if (!StatusBar().editorFlag)
        blank(L"StatusBar", L"pic", L"pic_mask");
    document.WriteConfig(errors, path);
}
