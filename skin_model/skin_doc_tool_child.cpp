// Drives the skin document from the command line, for host-side peer checks and tests.
// Commands run in order; the first that fails ends the program with its number (1-based)
// as exit code and the error lines on stderr.
//   tmp <folder>           use folder as the temporary folder (before anything else)
//   new | open <package> | close | commit | save | saveas <package>
//   set <part>.<field> <value>
//       general.name, general.author, display.font_size, h1.opacity,
//       status.<key> (a status-bar cell at position 0), btn<n>.<key> (button set n, 0..6)
//   work                   prints the work folder on stdout (UTF-8)
// What an open reports about the package goes to stdout, one "note: " line each.
//   snapshot <folder>      copies the work folder there (it is removed when the program ends)
//   signal <event>         sets the named event (a test's mark between two commands)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "foundation/files/path.h"
#include "skin_model/button_set.h"
#include "skin_model/combine_info.h"
#include "skin_model/display_info.h"
#include "skin_model/general_info.h"
#include "skin_model/ime_skin.h"
#include "skin_model/status_info.h"

namespace {

void PrintUtf8(FILE* out, const wchar_t* text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return;
    std::string bytes(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &bytes[0], n, nullptr, nullptr);
    fwrite(bytes.data(), 1, size_t(n - 1), out);
}

void PrintErrors(const t_errorChain& errors)
{
    for (const t_errorLine* line = errors.FirstLine(); line; line = line->next) {
        PrintUtf8(stderr, line->text.c_str());
        fputs("\n", stderr);
    }
}

void CopyField(wchar_t* field, const wchar_t* value)
{
    wcsncpy(field, value, BaseInfo::c_pathChars - 1);
    field[BaseInfo::c_pathChars - 1] = 0;
}

bool SetField(IMESkin& skin, const std::wstring& name, const wchar_t* value)
{
    const size_t dot = name.find(L'.');
    if (dot == std::wstring::npos)
        return false;
    const std::wstring part = name.substr(0, dot);
    const std::wstring key = name.substr(dot + 1);
    if (part == L"general") {
        GeneralInfo* general = &skin.General();
        if (key == L"name")
            CopyField(general->skinName, value);
        else if (key == L"author")
            CopyField(general->skinAuthor, value);
        else
            return false;
        return true;
    }
    if (part == L"display" && key == L"font_size") {
        skin.Display().fontSize = _wtoi(value);
        return true;
    }
    if (part == L"h1" && key == L"opacity") {
        skin.HorizontalCombined().opacity = _wtoi(value);
        return true;
    }
    if (part == L"status") {
        StatusInfo* status = &skin.StatusBar();
        return status->SetInt(key.c_str(), 0, _wtoi(value)) || status->SetString(key.c_str(), 0, value);
    }
    if (part.size() == 4 && part.compare(0, 3, L"btn") == 0 && part[3] >= L'0' && part[3] <= L'6') {
        BtnInfo* buttons = &skin.ButtonSet(part[3] - L'0');
        return buttons->SetIntByKey(key.c_str(), 0, _wtoi(value)) || buttons->SetStringByKey(key.c_str(), 0, value);
    }
    return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    IMESkin* skin = nullptr;
    int step = 0;
    for (int i = 1; i < argc; ++i) {
        ++step;
        const std::wstring command = argv[i];
        const wchar_t* argument = i + 1 < argc ? argv[i + 1] : nullptr;
        t_errorChain errors;
        bool ok = true;
        if (command == L"tmp" && argument) {
            ok = SetEnvironmentVariableW(L"TMP", argument) && SetEnvironmentVariableW(L"TEMP", argument);
            ++i;
        } else {
            if (!skin)
                skin = IMESkin::Instance();
            if (command == L"new") {
                ok = skin->New();
            } else if (command == L"open" && argument) {
                ok = skin->Open(argument);
                for (const t_errorLine* line = skin->OpenNotes().FirstLine(); line; line = line->next) {
                    fputs("note: ", stdout);
                    PrintUtf8(stdout, line->text.c_str());
                    fputs("\n", stdout);
                }
                ++i;
            } else if (command == L"close") {
                ok = skin->Close();
            } else if (command == L"commit") {
                ok = skin->Commit(errors, true);
            } else if (command == L"save") {
                ok = skin->Save(errors, nullptr);
            } else if (command == L"saveas" && argument) {
                ok = skin->Save(errors, argument);
                ++i;
            } else if (command == L"set" && argument && i + 2 < argc) {
                ok = SetField(*skin, argument, argv[i + 2]);
                i += 2;
            } else if (command == L"snapshot" && argument) {
                ok = skin->GetWorkFolder() && CopyFolderTree(errors, argument, skin->GetWorkFolder());
                ++i;
            } else if (command == L"signal" && argument) {
                const HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, argument);
                ok = event && SetEvent(event);
                if (event)
                    CloseHandle(event);
                ++i;
            } else if (command == L"work") {
                const wchar_t* work = skin->GetWorkFolder();
                ok = work != nullptr;
                if (ok) {
                    PrintUtf8(stdout, work);
                    fputs("\n", stdout);
                }
            } else {
                fputs("unknown command or missing argument\n", stderr);
                ok = false;
            }
        }
        if (!ok) {
            PrintErrors(errors);
            fflush(stdout);
            return step;
        }
    }
    fflush(stdout);
    return 0;
}
