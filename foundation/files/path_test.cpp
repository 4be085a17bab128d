#include "foundation/files/path.h"

#include <gtest/gtest.h>

#include <aclapi.h>

#include "tests/support/temp_folder.h"

namespace {

struct t_combineCase {
    const wchar_t* base;
    const wchar_t* a;
    const wchar_t* b;
    const wchar_t* expected;
};

TEST(PathBuild, CombineFollowsTheJoinRule)
{
    const t_combineCase cases[] = {
        {L"C:\\a", L"b", L".ini", L"C:\\a\\b.ini"},
        {L"C:\\a", L"b\\", L"c", L"C:\\a\\b\\c"},  // no doubled backslash
        {L"C:\\a\\", L"b", nullptr, L"C:\\a\\b"},
        {L"", L"a", nullptr, L"\\a"},            // an empty base still gets a separator
        {L"x.ini", L".INI", nullptr, L"x.ini"},  // extension already there, any case
        {L"ini", L".ini", nullptr, L"ini.ini"},  // the path must be longer than the extension
        {L"C:\\a", nullptr, L"b", L"C:\\a\\b"},  // null texts are skipped
        {L"a/b", L"c", nullptr, L"a/b\\c"},      // forward slash is an ordinary character
    };
    for (const auto& c : cases) {
        t_str got = t_path::Combine(c.base, c.a, c.b);
        EXPECT_STREQ(c.expected, got.c_str()) << c.base;
        EXPECT_STREQ(c.expected, t_path::CombineFromStr(t_str(c.base), c.a, c.b).c_str());
    }
    t_path p(L"C:\\dir");
    EXPECT_STREQ(L"C:\\dir\\f.txt", p.Concat(L"f.txt").c_str());
    EXPECT_STREQ(L"C:\\dir", p.c_str());
}

// Join picks extension or component by the first character; AppendPart always adds a
// component; Append (the string's own) adds the text as it is.
TEST(PathBuild, JoinAppendPartAndPlainAppend)
{
    struct {
        const wchar_t* part;
        const wchar_t* joined;
        const wchar_t* asPart;
        const wchar_t* plain;
    } cases[] = {
        {L"b.txt", L"C:\\a\\b.txt", L"C:\\a\\b.txt", L"C:\\ab.txt"},
        {L".bak", L"C:\\a.bak", L"C:\\a\\.bak", L"C:\\a.bak"},
        {L"\\b", L"C:\\a\\\\b", L"C:\\a\\\\b", L"C:\\a\\b"},
    };
    for (const auto& c : cases) {
        t_path joined(L"C:\\a"), asPart(L"C:\\a"), plain(L"C:\\a");
        EXPECT_TRUE(joined.Join(c.part));
        EXPECT_TRUE(asPart.AppendPart(c.part));
        plain.Append(c.part);
        EXPECT_STREQ(c.joined, joined.c_str()) << c.part;
        EXPECT_STREQ(c.asPart, asPart.c_str()) << c.part;
        EXPECT_STREQ(c.plain, plain.c_str()) << c.part;
    }
}

struct t_splitCase {
    const wchar_t* path;
    const wchar_t* fileName;
    const wchar_t* extension;  // null: none
    const wchar_t* baseName;
    bool hasFolder;
    const wchar_t* folder;
    bool relative;
    bool driveRoot;
};

TEST(PathBuild, SplittingTable)
{
    const t_splitCase cases[] = {
        {L"C:\\f.txt", L"f.txt", L".txt", L"f", true, L"C:\\", false, false},
        {L"C:\\a\\b.tar.gz", L"b.tar.gz", L".gz", L"b.tar", true, L"C:\\a", false, false},
        {L"\\\\srv\\share\\f", L"f", nullptr, L"f", true, L"\\\\srv\\share", true, false},
        {L"ab", L"ab", nullptr, L"ab", false, L"ab", true, false},
        {L"C:\\a.d\\noext", L"noext", nullptr, L"noext", true, L"C:\\a.d", false, false},
        {L"C:\\", L"", nullptr, L"", true, L"C:\\", false, true},
        {L"c:\\x", L"x", nullptr, L"x", true, L"c:\\", false, false},
        {L"1:\\", L"", nullptr, L"", true, L"1:\\", false, false},
        {L"C", L"C", nullptr, L"C", false, L"C", true, false},
    };
    for (const auto& c : cases) {
        t_path p(c.path);
        EXPECT_STREQ(c.fileName, p.FileName()) << c.path;
        if (c.extension) {
            EXPECT_STREQ(c.extension, p.Extension()) << c.path;
        } else {
            EXPECT_EQ(nullptr, p.Extension()) << c.path;
        }
        t_str base, folder;
        EXPECT_TRUE(p.BaseName(base));
        EXPECT_STREQ(c.baseName, base.c_str()) << c.path;
        EXPECT_EQ(c.hasFolder, p.GetFolder(folder)) << c.path;
        EXPECT_STREQ(c.folder, folder.c_str()) << c.path;
        EXPECT_EQ(c.relative, p.IsRelative()) << c.path;
        EXPECT_EQ(c.driveRoot, p.IsDriveRoot()) << c.path;
    }
}

TEST(PathBuild, ContainsTable)
{
    struct {
        const wchar_t* folder;
        const wchar_t* other;
        bool directOnly;
        bool expected;
    } cases[] = {
        {L"C:\\Skins", L"c:\\skins\\a.bmp", false, true},
        {L"C:\\Skins", L"C:\\Skins\\sub\\a.bmp", false, true},
        {L"C:\\Skins", L"C:\\Skins\\sub\\a.bmp", true, false},
        {L"C:\\Skins", L"C:\\Skins\\a.bmp", true, true},
        {L"C:\\Skins", L"C:\\SkinsOld\\a.bmp", false, false},  // needs the backslash after the prefix
        {L"C:\\Skins", L"C:\\Skins", false, false},
        {L"C:\\Skins", L"C:\\Ski", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, t_path(c.folder).Contains(c.other, c.directOnly)) << c.other;
    }
}

// Names and paths from files and users: what keeps each from staying where it is put.
TEST(PathNames, FileNameAndPathFaultTable)
{
    struct {
        const wchar_t* text;
        t_nameFault name;
        t_pathFault relative;  // joined to a folder
        t_pathFault absolute;  // or taken as a full path where one is allowed
    } cases[] = {
        {L"skin.vsf", t_nameFault::e_none, t_pathFault::e_none, t_pathFault::e_none},
        {L"皮肤 1.vsf", t_nameFault::e_none, t_pathFault::e_none, t_pathFault::e_none},
        {L"sub\\skin.vsf", t_nameFault::e_character, t_pathFault::e_none, t_pathFault::e_none},
        {L"sub/./skin.vsf", t_nameFault::e_character, t_pathFault::e_none, t_pathFault::e_none},
        {L"..", t_nameFault::e_dots, t_pathFault::e_parent, t_pathFault::e_parent},
        {L"a\\..\\..\\b", t_nameFault::e_character, t_pathFault::e_parent, t_pathFault::e_parent},
        {L"a/../b", t_nameFault::e_character, t_pathFault::e_parent, t_pathFault::e_parent},
        {L"C:\\skins\\a.vsf", t_nameFault::e_character, t_pathFault::e_drive, t_pathFault::e_none},
        {L"C:\\skins\\..\\a.vsf", t_nameFault::e_character, t_pathFault::e_drive, t_pathFault::e_parent},
        {L"C:a.vsf", t_nameFault::e_character, t_pathFault::e_drive, t_pathFault::e_drive},
        {L"a.vsf:stream", t_nameFault::e_character, t_pathFault::e_drive, t_pathFault::e_drive},
        {L"\\a.vsf", t_nameFault::e_character, t_pathFault::e_root, t_pathFault::e_root},
        {L"/a.vsf", t_nameFault::e_character, t_pathFault::e_root, t_pathFault::e_root},
        {L"\\\\server\\share\\a.vsf", t_nameFault::e_character, t_pathFault::e_root, t_pathFault::e_root},
        {L"\\\\.\\C:\\a.vsf", t_nameFault::e_character, t_pathFault::e_device, t_pathFault::e_device},
        {L"\\\\?\\C:\\a.vsf", t_nameFault::e_character, t_pathFault::e_device, t_pathFault::e_device},
        {L"NUL", t_nameFault::e_device, t_pathFault::e_device, t_pathFault::e_device},
        {L"sub\\com1.vsf", t_nameFault::e_character, t_pathFault::e_device, t_pathFault::e_device},
        {L"C:\\x\\aux.txt", t_nameFault::e_character, t_pathFault::e_drive, t_pathFault::e_device},
        {L"a<b.vsf", t_nameFault::e_character, t_pathFault::e_name, t_pathFault::e_name},
        {L"a.vsf.", t_nameFault::e_trailing, t_pathFault::e_name, t_pathFault::e_name},
        {L"", t_nameFault::e_empty, t_pathFault::e_name, t_pathFault::e_name},
    };
    for (const auto& c : cases) {
        const std::string label(c.text, c.text + wcslen(c.text));
        EXPECT_EQ(c.name, CheckFileName(c.text)) << label;
        EXPECT_EQ(c.relative, CheckPathParts(c.text, false)) << label;
        EXPECT_EQ(c.absolute, CheckPathParts(c.text, true)) << label;
    }
    EXPECT_EQ(t_nameFault::e_tooLong, CheckFileName(std::wstring(256, L'n').c_str()));
}

class PathFs : public t_tempFolderTest {
protected:
    PathFs() : t_tempFolderTest(L"path") {}
};

TEST_F(PathFs, FileAndDirectoryQueries)
{
    std::wstring file = At(L"f.txt");
    ASSERT_TRUE(WriteRaw(file, "12345"));
    wchar_t drive[3] = {dir.Path()[0], L':', 0};
    wchar_t root[4] = {dir.Path()[0], L':', L'\\', 0};

    EXPECT_TRUE(t_path(drive).IsDirectory());
    EXPECT_TRUE(t_path(root).IsDirectory());
    EXPECT_TRUE(t_path((dir.Path() + L"\\").c_str()).IsDirectory());  // trailing backslash ignored
    EXPECT_TRUE(t_path(dir.Path().c_str()).IsDirectory());
    EXPECT_FALSE(t_path(file.c_str()).IsDirectory());
    EXPECT_FALSE(t_path(At(L"missing").c_str()).IsDirectory());
    EXPECT_TRUE(t_path(file.c_str()).IsFile());
    EXPECT_FALSE(t_path(dir.Path().c_str()).IsFile());

    t_errorChain errors;
    unsigned size = 0;
    EXPECT_TRUE(t_path(file.c_str()).GetFileSize(errors, size));
    EXPECT_EQ(5u, size);
    EXPECT_FALSE(t_path(At(L"missing").c_str()).GetFileSize(errors, size));
    EXPECT_FALSE(t_path(dir.Path().c_str()).GetFileSize(errors, size));
    std::wstring lines = Lines(errors);
    EXPECT_NE(std::wstring::npos, lines.find(L"无法取得文件大小：\r\n    　 " + At(L"missing")));
    EXPECT_NE(std::wstring::npos, lines.find(L"无法取得大小（对象为目录）"));
}

TEST_F(PathFs, DeleteStrictAndQuiet)
{
    t_errorChain errors;
    t_path missing(At(L"missing.txt").c_str());
    EXPECT_TRUE(missing.Delete(errors, false, false));
    EXPECT_TRUE(errors.IsEmpty());
    EXPECT_FALSE(missing.Delete(errors, true, false));
    std::wstring lines = Lines(errors);
    EXPECT_EQ(0u, lines.find(L"系统错误")) << lines;
    EXPECT_NE(std::wstring::npos, lines.find(L"删除文件失败")) << lines;
    EXPECT_EQ(0u, GetLastError());

    // A read-only file is deleted too.
    std::wstring ro = At(L"ro.txt");
    ASSERT_TRUE(WriteRaw(ro, "x"));
    SetFileAttributesW(ro.c_str(), FILE_ATTRIBUTE_READONLY);
    t_errorChain errors2;
    EXPECT_TRUE(t_path(ro.c_str()).Delete(errors2, true, false)) << Lines(errors2);
    EXPECT_FALSE(Exists(ro));

    // Not strict, a folder is left alone and counts as done.
    t_path folder(At(L"sub").c_str());
    CreateDirectoryW(folder.c_str(), nullptr);
    EXPECT_TRUE(folder.Delete(errors2, false, true));
    EXPECT_TRUE(folder.IsDirectory());
    folder.DeleteFolderQuiet();
    EXPECT_FALSE(Exists(folder.c_str()));
    missing.DeleteQuiet(true);
}

TEST_F(PathFs, CreateDirectoryTree)
{
    t_errorChain errors;
    t_path deep(At(L"a\\b\\中文\\d").c_str());
    EXPECT_TRUE(deep.CreateDirectoryTree(errors, true)) << Lines(errors);
    EXPECT_TRUE(deep.IsDirectory());
    EXPECT_TRUE(deep.CreateDirectoryTree(errors, false));
    EXPECT_TRUE(errors.IsEmpty());
    EXPECT_FALSE(deep.CreateDirectoryTree(errors, true));
    EXPECT_NE(std::wstring::npos, Lines(errors).find(L"创建目录失败，目录已经存在"));

    // UNC paths are never created.
    t_errorChain unc;
    EXPECT_TRUE(t_path(L"\\\\nosuchserver\\share\\x").CreateDirectoryTree(unc, true));
}

TEST_F(PathFs, CreateDirectoryTreeStopsWhenAParentCannotBeMade)
{
    // Each case used to be able to recurse without end or needs a parent that cannot be made.
    ASSERT_TRUE(WriteRaw(At(L"file"), "x"));
    const std::wstring cases[] = {
        L"Q:",                   // no folder part at all
        At(L"file\\sub\\leaf"),  // a file stands where a parent must go
        L"1:\\x\\y",             // no such drive
    };
    for (const auto& c : cases) {
        t_errorChain errors;
        EXPECT_FALSE(t_path(c.c_str()).CreateDirectoryTree(errors, false)) << c;
        EXPECT_NE(std::wstring::npos, Lines(errors).find(L"创建目录失败")) << c;
    }
}

TEST_F(PathFs, CopyAndMoveFiles)
{
    std::wstring src = At(L"src.txt");
    ASSERT_TRUE(WriteRaw(src, "new"));
    t_path source(src.c_str());
    t_errorChain errors;

    // The target's folder is made on the way.
    std::wstring target = At(L"x\\y\\dst.txt");
    EXPECT_TRUE(source.Copy(errors, target.c_str(), false)) << Lines(errors);
    EXPECT_EQ("new", ReadRaw(target));

    // failIfExists refuses; without it a read-only target is overwritten.
    ASSERT_TRUE(WriteRaw(target, "old"));
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(source.Copy(errors, target.c_str(), true));
    std::wstring lines = Lines(errors);
    EXPECT_NE(std::wstring::npos, lines.find(L"拷贝文件失败：\r\n    从 " + src + L"\r\n    到 " + target)) << lines;
    EXPECT_EQ("old", ReadRaw(target));
    t_errorChain ok;
    EXPECT_TRUE(source.Copy(ok, target.c_str(), false)) << Lines(ok);
    EXPECT_EQ("new", ReadRaw(target));
    EXPECT_EQ(0u, GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_READONLY);

    // Move replaces unless failIfExists.
    std::wstring other = At(L"other.txt");
    ASSERT_TRUE(WriteRaw(other, "moved"));
    t_errorChain moveErrors;
    EXPECT_FALSE(t_path(other.c_str()).Move(moveErrors, target.c_str(), true));
    EXPECT_NE(std::wstring::npos, Lines(moveErrors).find(L"移动文件失败"));
    EXPECT_TRUE(t_path(other.c_str()).Move(ok, target.c_str(), false)) << Lines(ok);
    EXPECT_EQ("moved", ReadRaw(target));
    EXPECT_FALSE(Exists(other));

    // A UNC target folder is not created; the copy then fails in the copy itself.
    t_errorChain unc;
    EXPECT_FALSE(source.Copy(unc, L"\\\\nosuchserver\\share\\f.txt", false));
    EXPECT_NE(std::wstring::npos, Lines(unc).find(L"拷贝文件失败"));
}

TEST_F(PathFs, FolderTreesCopiedMovedDeleted)
{
    std::wstring src = At(L"src");
    CreateDirectoryW(src.c_str(), nullptr);
    CreateDirectoryW((src + L"\\sub").c_str(), nullptr);
    CreateDirectoryW((src + L"\\sub\\empty").c_str(), nullptr);
    ASSERT_TRUE(WriteRaw(src + L"\\a.txt", "A"));
    ASSERT_TRUE(WriteRaw(src + L"\\sub\\皮肤.ini", "B"));

    std::wstring dst = At(L"dst");
    CreateDirectoryW(dst.c_str(), nullptr);
    ASSERT_TRUE(WriteRaw(dst + L"\\a.txt", "old"));

    // failIfExists refuses an existing target before anything is copied.
    t_errorChain errors;
    EXPECT_FALSE(t_path(src.c_str()).CopyFolder(errors, dst.c_str(), true));
    EXPECT_NE(std::wstring::npos, Lines(errors).find(L"复制文件夹失败：目标文件夹已存在"));
    EXPECT_EQ("old", ReadRaw(dst + L"\\a.txt"));
    EXPECT_FALSE(Exists(dst + L"\\sub"));

    // Without it files are overwritten and missing folders made.
    t_errorChain ok;
    EXPECT_TRUE(t_path(src.c_str()).CopyFolder(ok, dst.c_str(), false)) << Lines(ok);
    EXPECT_EQ("A", ReadRaw(dst + L"\\a.txt"));
    EXPECT_EQ("B", ReadRaw(dst + L"\\sub\\皮肤.ini"));
    EXPECT_TRUE(t_path((dst + L"\\sub\\empty").c_str()).IsDirectory());

    // A missing source names itself right after the message.
    EXPECT_FALSE(CopyFolderTree(errors, dst.c_str(), At(L"nope").c_str()));
    EXPECT_NE(std::wstring::npos, Lines(errors).find(L"目录不存在" + At(L"nope")));

    // A whole tree moves.
    std::wstring moved = At(L"moved\\tree");
    EXPECT_TRUE(t_path(dst.c_str()).Move(ok, moved.c_str(), false)) << Lines(ok);
    EXPECT_EQ("B", ReadRaw(moved + L"\\sub\\皮肤.ini"));
    EXPECT_FALSE(Exists(dst));

    // And is deleted.
    EXPECT_TRUE(DeleteFolderTree(moved.c_str()));
    EXPECT_FALSE(Exists(moved));
    EXPECT_FALSE(DeleteFolderTree(moved.c_str()));
    EXPECT_TRUE(DeleteFolder(moved.c_str()));
}

TEST_F(PathFs, FolderDeleteAtRebootLeavesTheTreeForNow)
{
    std::wstring tree = At(L"later");
    CreateDirectoryW(tree.c_str(), nullptr);
    CreateDirectoryW((tree + L"\\sub").c_str(), nullptr);
    ASSERT_TRUE(WriteRaw(tree + L"\\sub\\f.txt", "x"));
    EXPECT_TRUE(DeleteFolderTreeAtReboot(tree.c_str()));
    EXPECT_EQ("x", ReadRaw(tree + L"\\sub\\f.txt"));
    EXPECT_FALSE(DeleteFolderTreeAtReboot(At(L"missing").c_str()));
    EXPECT_TRUE(ScheduleFolderDelete(At(L"missing").c_str()));
}

TEST(PathFormat, FormatPathRefusesWhatDoesNotFit)
{
    wchar_t buffer[MAX_PATH];
    EXPECT_TRUE(FormatPath(buffer, L"%s\\%d", L"C:\\x", 7));
    EXPECT_STREQ(L"C:\\x\\7", buffer);
    std::wstring longText(400, L'a');
    EXPECT_FALSE(FormatPath(buffer, L"%s", longText.c_str()));
    EXPECT_STREQ(L"", buffer);
}

}  // namespace
