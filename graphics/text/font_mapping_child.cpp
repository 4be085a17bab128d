// Helper process for the font tests.
//   font_mapping_child <prefix> <font path>: the parent holds the font open under the mapping
//       prefix; this process must find the named mapping and open its face over it.
//       Exit code 0 when so, else the step that failed.
#include <windows.h>

#include <string>

#include "graphics/text/font_manager.h"
#include "graphics/text/system_fonts.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 200;
    char prefix[256], path[c_fontPathBytes], name[260];
    if (!WideCharToMultiByte(936, 0, argv[1], -1, prefix, sizeof(prefix), nullptr, nullptr) ||
        !WideToFontPath(argv[2], path))
        return 201;
    SetFontMappingPrefix(prefix);
    if (!FontMappingName(path, name))
        return 202;
    const std::wstring wideName(name, name + strlen(name));
    HANDLE existing = OpenFileMappingW(FILE_MAP_READ, FALSE, wideName.c_str());
    if (!existing)
        return 1;  // the parent's mapping is not there by its name

    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return 203;
    int result = 0;
    {
        t_criticalSection lock;
        t_errorChain errors;
        lock.Create(errors, nullptr);
        t_freetype_fontmanager manager(library, lock);
        FT_Face face = nullptr;
        if (!manager.OpenFace(path, 0, false, face))
            result = 2;
        else if (!manager.FindEntry(face)->sharedMapping)
            result = 3;  // a mapping of its own instead of the parent's
        else if (face->num_glyphs <= 0 || manager.LoadGlyph(16, FT_Get_Char_Index(face, 0x56FD), face) != 0)
            result = 4;
    }
    FT_Done_FreeType(library);
    CloseHandle(existing);
    return result;
}
