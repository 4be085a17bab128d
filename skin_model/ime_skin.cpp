#include "skin_model/ime_skin.h"

#include <shlwapi.h>

#include <algorithm>
#include <cwchar>
#include <deque>
#include <map>
#include <string>

#include "foundation/config/ini_document.h"
#include "foundation/files/file.h"
#include "foundation/core/exe_path.h"
#include "foundation/files/bulk_read.h"
#include "foundation/files/path.h"
#include "foundation/files/private_file_write.h"
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
// ZipFolder's limit on folder depth.
const int c_maxFolderDepth = 200;

// The work folder's path with an extension appended as text ("SkinTmp" + ".dat").
t_str Sibling(const wchar_t* workFolder, const wchar_t* extension)
{
    t_str path(workFolder);
    path.Append(extension);
    return path;
}

// The order ZipFolder gives a folder's children: ordinal ignoring case, then exact.
bool PackOrderLess(const t_listedFile& a, const t_listedFile& b)
{
    const int order = CompareFileNames(a.name.c_str(), a.name.Length(), b.name.c_str(), b.name.Length());
    return order < 0 || (order == 0 && wcscmp(a.name.c_str(), b.name.c_str()) < 0);
}

// The entries ZipFolder would write for the work folder, with a save's changes: Skin.ini
// from memory, skinbak.ini and the cleaner's dropped pictures left out, and the files the
// document holds unchanged in memory given from there.
class t_packList {
public:
    t_packList(const t_skinPackCopy& copy, const t_cleanPlan& plan, const wchar_t* archive) : m_plan(plan)
    {
        for (int i = 0; i < copy.Count(); ++i)
            m_held.emplace(copy.At(i).name, &copy.At(i));
        wchar_t full[MAX_PATH];
        const DWORD length = archive ? GetFullPathNameW(archive, MAX_PATH, full, nullptr) : 0;
        if (length > 0 && length < MAX_PATH)
            m_archive.assign(full, length);
    }

    // False when a folder cannot be listed or lies too deep.
    bool Collect(const std::wstring& folder, const std::wstring& relative, int depth)
    {
        std::vector<t_listedFile> children;
        if (depth > c_maxFolderDepth || !ListFolder(folder.c_str(), children))
            return false;
        std::sort(children.begin(), children.end(), PackOrderLess);
        for (const t_listedFile& child : children) {
            const wchar_t* name = child.name.c_str();
            const std::wstring path = folder + L"\\" + name;
            const std::wstring entry = relative.empty() ? std::wstring(name) : relative + L"\\" + name;
            if (CompareFileNames(path.c_str(), int(path.size()), m_archive.c_str(), int(m_archive.size())) == 0)
                continue;
            if (child.IsFolder()) {
                Add(entry + L"\\", path.c_str(), nullptr, 0, 0);
                // A link or junction stands as the folder entry it appears as.
                if (!(child.attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !Collect(path, entry, depth + 1))
                    return false;
                continue;
            }
            if (relative.empty())
                AddTopLevelFile(child, path);
            else
                Add(entry, path.c_str(), nullptr, 0, 0);
        }
        return true;
    }

    const std::vector<t_zipListEntry>& Entries() const { return m_entries; }

private:
    void AddTopLevelFile(const t_listedFile& file, const std::wstring& path)
    {
        const wchar_t* name = file.name.c_str();
        if (_wcsicmp(name, c_backupIniName) == 0 || m_plan.dropped.count(file.name))
            return;
        if (_wcsicmp(name, c_iniName) == 0) {
            Add(name, nullptr, m_plan.ini.data(), uint32_t(m_plan.ini.size()), 0);
            return;
        }
        const auto found = m_held.find(file.name);
        const t_skinPackCopy::t_entry* held = found != m_held.end() ? found->second : nullptr;
        if (held && !held->given && held->size == file.size && held->written == file.written)
            Add(name, nullptr, held->data.data(), uint32_t(held->data.size()), held->written);
        else
            Add(name, path.c_str(), nullptr, 0, 0);
    }

    void Add(const std::wstring& name, const wchar_t* path, const uint8_t* data, uint32_t size, uint64_t time)
    {
        // The texts live in deques, whose elements never move.
        m_names.push_back(name);
        const wchar_t* storedPath = nullptr;
        if (path) {
            m_paths.emplace_back(path);
            storedPath = m_paths.back().c_str();
        }
        m_entries.push_back(t_zipListEntry{m_names.back().c_str(), storedPath, data, size, time});
    }

    // The files the document holds, by name.
    std::map<t_str, const t_skinPackCopy::t_entry*, t_fileNameLess> m_held;
    const t_cleanPlan& m_plan;
    std::wstring m_archive;
    std::deque<std::wstring> m_names;
    std::deque<std::wstring> m_paths;
    std::vector<t_zipListEntry> m_entries;
};

// Whether the document holds a section: a Skin.ini without any says nothing of the skin.
bool HasAnySection(const t_iniDocument& document)
{
    const t_iniFile* root = document.ParsedRoot();
    return root && root->Count() > 0;
}

// Receives the files UnZipEx4 writes: those directly in the work folder seed the copy.
void ZIPLIB_CALL SeedFromArchive(void* context, const wchar_t* name, const uint8_t* data, uint32_t size)
{
    if (name && !wcschr(name, L'\\') && !wcschr(name, L'/'))
        static_cast<t_skinPackCopy*>(context)->Seed(name, data, size);
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
        if (work[0])
            DeleteFileW(Sibling(work, c_workCopyExtension).c_str());
        delete m_zip;
        m_zip = nullptr;
    }
    BaseInfo::SetWorkFolder(L"");
    m_editing = false;
    m_copy.Clear();
    m_lastPlan = t_lastPlan();
    m_ini = t_writtenText();
    m_backupIni = t_writtenText();
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
    if (!ProbeFile(path, packed)) {
        AppendPathError(m_openNotes.NewLine(), L"皮肤包不存在", path ? path : L"");
        return false;
    }
    // The package path must not depend on the current directory, which editing changes.
    wchar_t full[MAX_PATH];
    const DWORD fullLength = GetFullPathNameW(path, MAX_PATH, full, nullptr);
    if (fullLength == 0 || fullLength >= MAX_PATH) {
        AppendPathError(m_openNotes.NewLine(), L"皮肤包路径过长", path);
        return false;
    }
    uint64_t size = 0, written = 0;
    if (GetFileStamp(full, size, written) && size == 0) {
        AppendPathError(m_openNotes.NewLine(), L"皮肤包是空文件(0字节)", full);
        return false;
    }

    ZipHandler& zip = Handler();
    // From here on the old work folder is gone: every failure closes the document.
    const auto refuse = [&](const wchar_t* why) {
        if (why)
            AppendPathError(m_openNotes.NewLine(), why, full);
        CloseFiles();
        return false;
    };
    if (!zip.PrepareWorkFolder() || !zip.SetArchivePath(full, true)) {
        AppendPathError(m_openNotes.NewLine(), L"无法准备工作目录", zip.GetWorkFolder());
        return refuse(nullptr);
    }
    const wchar_t* work = zip.GetWorkFolder();
    // The package must bring its own Skin.ini: the empty one of the fresh folder goes.
    wchar_t ini[MAX_PATH];
    if (zip.GetIniPath(ini))
        DeleteFileW(ini);
    t_errorChain errors;
    // The packed copy starts from the bytes just unpacked, not from the files again.
    m_copy.Clear();
    m_lastPlan = t_lastPlan();
    m_ini = t_writtenText();
    m_backupIni = t_writtenText();
    if (packed) {
        // Only plain containers open in the editor; a packed one is refused from its
        // header, before anything is inflated.
        t_skinPack pack;
        uint32_t format = 0;
        if (!t_skinPack::ProbeHeader(full, &format) || format != t_skinPack::c_formatPlain) {
            m_openNotes.NewLine().AppendFormat(L"皮肤打包文件的格式%u不能在编辑器中打开(只能打开格式1)", format);
            return refuse(L"皮肤包无法打开");
        }
        if (!pack.Import(m_openNotes, full) || pack.GetVersion() >= 2)
            return refuse(L"皮肤打包文件已损坏");
        if (const wchar_t* name = pack.FirstNameNotPlain()) {
            t_skinPack::AppendNameRefusal(m_openNotes.NewLine(), name);
            return refuse(L"皮肤包无法打开");
        }
        if (!pack.ExtractTo(m_openNotes, work))
            return refuse(L"皮肤包无法解开");
        for (int i = 0; i < pack.Count(); ++i) {
            uint32_t size = 0;
            const unsigned char* data = pack.At(i)->GetData(&size);
            m_copy.Seed(pack.At(i)->GetName(), data, size);
        }
    } else if (!zip.UnZip(m_openNotes, SeedFromArchive, &m_copy)) {
        return refuse(nullptr);
    }
    if (!zip.GetIniPath(ini))
        return refuse(L"皮肤包中没有Skin.ini");

    // Skin.ini must be read before anything else: a text that cannot be read would load
    // every part at its defaults, and a save would then drop every picture.
    t_iniDocument* document = SkinIni::Instance();
    if (!document)
        return refuse(L"内存不足");
    document->Clear();
    if (!document->ReadConfig(m_openNotes, ini, SkinIni::c_codePage))
        return refuse(L"Skin.ini无法读取");
    if (!HasAnySection(*document)) {
        document->Clear();
        return refuse(L"Skin.ini是空的或不含任何节");
    }
    // The package was read whole: a save it interrupted is of no more use.
    zip.RemoveSaveTemporary();

    // A package from someone else must not make the editor read, copy or pack a file
    // outside the skin: such values are emptied here, before any part or the preview
    // sees them, and the work folder and its packed copy get the emptied Skin.ini.
    if (n_picturePath::RefuseOutside(*document, m_openNotes) > 0)
        document->WriteConfig(errors, ini);
    WriteWorkCopy(errors, nullptr, nullptr, nullptr);
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
    wchar_t ini[MAX_PATH];
    std::vector<uint8_t> text;
    return RenderCommit(errors, validate, ini, text) && WriteIni(errors, ini, text);
}

bool IMESkin::RenderCommit(t_errorChain& errors, bool validate, wchar_t (&ini)[MAX_PATH], std::vector<uint8_t>& text,
                           t_folderListing* listing)
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
    // The parts have imported their pictures: the folder holds what the copy must hold.
    if (listing)
        listing->Start(m_zip->GetWorkFolder());
    if (!GetIniPath(ini))
        return errors.Fail(L"保存ini失败:获取临时路径失败");
    // What WriteConfig writes.
    t_iniDocument* document = SkinIni::Instance();
    if (!document || !RenderIni(*document, text))
        return errors.Fail(L"保存ini失败:%s", ini);
    return true;
}

bool IMESkin::WriteIni(t_errorChain& errors, const wchar_t* ini, const std::vector<uint8_t>& text)
{
    // Replaced safely, as WriteConfig replaces; left out when the file already holds it.
    if (m_ini.Holds(ini, text))
        return true;
    m_ini.known = false;
    t_errorChain writeErrors;
    if (!ReplacePrivateFile(writeErrors, ini, text.data(), uint32_t(text.size()), TemporaryFor(c_iniName).c_str()))
        return errors.Fail(L"保存ini失败:%s", ini);
    m_ini.Record(ini, text);
    return true;
}

t_str IMESkin::TemporaryFor(const wchar_t* name) const
{
    t_str path(m_zip ? m_zip->GetWorkFolder() : L"");
    path.Append(L".");
    path.Append(name);
    path.Append(L".wtm");
    return path;
}

bool IMESkin::t_writtenText::Holds(const wchar_t* path, const std::vector<uint8_t>& text) const
{
    return known && bytes == text && Unchanged(path);
}

bool IMESkin::t_writtenText::Unchanged(const wchar_t* path) const
{
    uint64_t nowSize = 0, nowWritten = 0;
    return known && GetFileStamp(path, nowSize, nowWritten) && nowSize == size && nowWritten == written;
}

void IMESkin::t_writtenText::Record(const wchar_t* path, const std::vector<uint8_t>& text)
{
    bytes = text;
    known = GetFileStamp(path, size, written) && size == text.size();
}

bool IMESkin::CommitForPacking(t_errorChain& errors, bool validate, std::vector<uint8_t>& committed,
                               std::vector<uint8_t>& packed)
{
    wchar_t ini[MAX_PATH];
    return RenderCommit(errors, validate, ini, committed) && WriteIni(errors, ini, committed) &&
           PackedIni(errors, committed, packed);
}

bool IMESkin::PackedIni(t_errorChain& errors, const std::vector<uint8_t>& committed, std::vector<uint8_t>& packed)
{
    const t_str ini = t_path::Combine(m_zip->GetWorkFolder(), c_iniName);
    // The committed text was rendered from SkinIni: when every key the blanking sets is
    // already empty there, the packed text is the committed one, without a second parse.
    const t_iniDocument* current = SkinIni::Instance();
    if (!committed.empty() && current && !PostProcessChanges(*current)) {
        packed = committed;
        return true;
    }
    // Else the committed text blanked for packing, without touching the work folder's
    // Skin.ini.
    t_iniDocument forPacking(false);
    if (committed.empty() || !forPacking.ReadFromMemory(committed.data(), committed.size(), SkinIni::c_codePage))
        return errors.Fail(L"保存ini失败:%s", ini.c_str());
    PostProcessIni(forPacking);
    if (!RenderIni(forPacking, packed))
        return errors.Fail(L"保存ini失败:%s", ini.c_str());
    return true;
}

bool IMESkin::BackUpIni(t_errorChain& errors, const std::vector<uint8_t>& committed)
{
    const t_str backupIni = t_path::Combine(m_zip->GetWorkFolder(), c_backupIniName);
    if (m_backupIni.Holds(backupIni.c_str(), committed))
        return true;
    // A copy, overwritten where it stands as a file copy would overwrite it, when it is the
    // file this document wrote (with the shared security); any other is replaced by a new one.
    const bool ours = m_backupIni.Unchanged(backupIni.c_str());
    m_backupIni.known = false;
    t_errorChain local;
    bool ok = false;
    if (ours) {
        t_privateFileWrite file;
        ok = file.Open(local, backupIni.c_str(), t_privateFileWrite::e_existing) &&
             file.Write(local, committed.data(), uint32_t(committed.size())) && SetEndOfFile(file.Handle());
        file.Close();
    } else {
        ok = ReplacePrivateFile(local, backupIni.c_str(), committed.data(), uint32_t(committed.size()),
                                TemporaryFor(c_backupIniName).c_str());
    }
    if (!ok)
        return errors.Fail(L"保存失败:备份ini失败:%s", backupIni.c_str());
    m_backupIni.Record(backupIni.c_str(), committed);
    return true;
}

bool IMESkin::WriteWorkCopy(t_errorChain& errors, std::vector<t_listedFile>* listing,
                            const std::vector<uint8_t>* packedIni, const std::vector<uint8_t>* backupIni)
{
    const wchar_t* work = m_zip ? m_zip->GetWorkFolder() : L"";
    t_skinPackCopy::t_given given[2];
    size_t count = 0;
    if (packedIni)
        given[count++] = {c_iniName, packedIni->data(), uint32_t(packedIni->size())};
    if (backupIni)
        given[count++] = {c_backupIniName, backupIni->data(), uint32_t(backupIni->size())};
    if (listing && work[0])
        m_copy.Update(work, *listing, given, count);
    else if (!work[0] || !m_copy.Update(work, given, count)) {
        errors.AddText(L"皮肤打包文件导出失败");
        return false;
    }
    return m_copy.Write(errors, Sibling(work, c_workCopyExtension).c_str());
}

bool IMESkin::RefreshWorkCopy(t_errorChain& errors)
{
    if (!m_editing || !m_zip)
        return errors.Fail(L"解压失败:保存ini失败");
    const wchar_t* work = m_zip->GetWorkFolder();
    if (!work[0])
        return errors.Fail(L"解压失败:获取解压路径失败");
    std::vector<uint8_t> committed, packed;
    wchar_t ini[MAX_PATH];
    t_errorChain local;
    // The folder is listed on the thread pool from the moment the parts are saved (they may
    // import pictures into it) while Skin.ini is rendered and the two INI files are written:
    // their temporaries lie beside the folder and each lands whole by a rename, so the
    // listing sees no half-written file, and the copy takes both texts from memory anyway.
    t_folderListing listing;
    if (!RenderCommit(local, false, ini, committed, &listing))
        return errors.Fail(L"解压失败:保存ini失败");
    const bool written = WriteIni(local, ini, committed) && PackedIni(local, committed, packed);
    // A backup that fails stops nothing: the packed copy takes the committed text anyway.
    if (written)
        BackUpIni(local, committed);
    std::vector<t_listedFile> files;
    bool listed = listing.Wait(files);
    if (!written)
        return errors.Fail(L"解压失败:保存ini失败");
    // A backup made while the folder was listed may be missing from the listing.
    if (listed && !std::any_of(files.begin(), files.end(), [](const t_listedFile& file) {
            return CompareFileNames(file.name.c_str(), -1, c_backupIniName, -1) == 0;
        }))
        listed = ListFolder(work, files);
    if (!listed || !WriteWorkCopy(local, &files, &packed, &committed))
        return errors.Fail(L"解压失败:保存文件失败");
    return true;
}

bool IMESkin::Save(t_errorChain& errors, const wchar_t* target)
{
    if (!m_editing)
        return errors.Fail(L"不处于编辑状态");
    if (!m_zip)
        return errors.Fail(L"ziplib加载失败");

    // The parts write over the Skin.ini read at opening, as the preview's commits do: keys
    // no part owns (colours and switches only the input method reads) stay in the package,
    // so that it previews as the work copy did.
    std::vector<uint8_t> committed, packed;
    if (!CommitForPacking(errors, true, committed, packed) || !BackUpIni(errors, committed))
        return false;
    if (m_new || (target && target[0]))
        m_zip->SetArchivePath(target, true);
    m_new = false;

    // The work folder's files as they stand, from memory where they did not change.
    const t_str work(m_zip->GetWorkFolder());
    m_copy.Update(work.c_str());
    // The plan depends only on the text and the files: unchanged since the last save, it is
    // that save's.
    if (!m_lastPlan.Fits(packed, m_copy)) {
        std::vector<t_heldPicture> pictures;
        for (int i = 0; i < m_copy.Count(); ++i) {
            const t_skinPackCopy::t_entry& entry = m_copy.At(i);
            pictures.push_back({entry.name.c_str(), entry.data.data(), uint32_t(entry.data.size())});
        }
        t_cleanPlan plan;
        t_skinCleaner cleaner;
        t_errorChain ignored;
        if (!cleaner.Plan(ignored, pictures.data(), pictures.size(), packed.data(), packed.size(), plan)) {
            // An unreadable text is packed as it is, with every picture.
            plan.dropped.clear();
            plan.ini = packed;
        }
        m_lastPlan.Record(packed, m_copy, plan);
    }
    t_packList list(m_copy, m_lastPlan.plan, m_zip->GetArchivePath());
    t_errorChain zipErrors;
    bool zipped = list.Collect(std::wstring(work.c_str()), std::wstring(), 0);
    if (zipped)
        zipped = m_zip->ZipEntries(zipErrors, list.Entries().data(), uint32_t(list.Entries().size()));
    else
        AppendSystemErrorText(zipErrors.NewLine(), GetLastError());
    if (!zipped) {
        // The system's reason and the path follow, so that the user knows what to fix.
        errors.Fail(L"压缩失败");
        if (zipErrors.FirstLine())
            errors.CopyLines(zipErrors.FirstLine(), errors.NewLine());
    }
    return zipped;
}

bool IMESkin::t_lastPlan::Fits(const std::vector<uint8_t>& text, const t_skinPackCopy& copy) const
{
    if (!made || text != ini || files.size() != size_t(copy.Count()))
        return false;
    for (int i = 0; i < copy.Count(); ++i) {
        const t_skinPackCopy::t_entry& entry = copy.At(i);
        const t_file& file = files[size_t(i)];
        // Bytes given to the copy are not vouched for by size and time.
        if (entry.given || entry.size != file.size || entry.written != file.written ||
            wcscmp(entry.name.c_str(), file.name.c_str()) != 0)
            return false;
    }
    return true;
}

void IMESkin::t_lastPlan::Record(const std::vector<uint8_t>& text, const t_skinPackCopy& copy, const t_cleanPlan& made)
{
    this->made = true;
    ini = text;
    files.clear();
    for (int i = 0; i < copy.Count(); ++i) {
        const t_skinPackCopy::t_entry& entry = copy.At(i);
        files.push_back({entry.name, entry.size, entry.written});
    }
    plan = made;
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
    PostProcessIni(document);
    document.WriteConfig(errors, path);
}

void IMESkin::PostProcessIni(t_iniDocument& document) const
{
    for (const t_iniKeyName& key : BlankedPictureKeys())
        document.SetValue(key.section, key.key, L"");
}

bool IMESkin::PostProcessChanges(const t_iniDocument& document) const
{
    for (const t_iniKeyName& key : BlankedPictureKeys()) {
        const wchar_t* value = document.GetValue(key.section, key.key);
        if (!value || value[0])
            return true;
    }
    return false;
}

std::vector<IMESkin::t_iniKeyName> IMESkin::BlankedPictureKeys() const
{
    std::vector<t_iniKeyName> keys;
    const auto blank = [&keys](const wchar_t* section, const wchar_t* picture, const wchar_t* mask) {
        keys.push_back({section, picture});
        keys.push_back({section, mask});
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
    return keys;
}
