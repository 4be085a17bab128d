// Helper process for the user environment test: a second input-method process working on
// the same user's shared environment.
//   user_env_child <install folder> <folder hash> <accounts number> <user id> second <mapping>
//       expects the snapshot the test built (PageSize 7, mapping name <mapping>), not the
//       changed file; then sets FontSize 30 and merges.
//   user_env_child ... third
//       expects both earlier changes (FontSize 30, MaxWordCand 8); then stores a skin name
//       too long for the block, which must move the snapshot to a new generation.
// After its step the process signals the event "Local\user_env_test_<hash>_done" and stays
// alive until "Local\user_env_test_<hash>_quit" is set: a generation it made lives only
// while some process holds it. Exit code 0 when every expectation holds; 2 bad usage, 3
// start-up failed, 10 and up the failed check.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

#include <string>

#include "foundation/env/user_env.h"
#include "foundation/env/user_env_test_setup.h"

namespace {

int Report(t_errorChain& errors, int code)
{
    for (const t_errorLine* line = errors.FirstLine(); line; line = line->next)
        fwprintf(stderr, L"%ls\n", line->text.c_str());
    return code;
}

int Step(int argc, wchar_t** argv)
{
    if (argc < 6)
        return 2;
    t_errorChain errors;
    if (!InitUserEnvTestProcess(errors, argv[1], argv[2], _wtoi(argv[3])))
        return Report(errors, 3);
    const int userId = _wtoi(argv[4]);
    const std::wstring step = argv[5];

    t_env env;
    if (!GetUserEnvironment(errors, env, userId))
        return Report(errors, 10);
    UserEnv::t_envContainer* container = UserEnv::Instance()->Find(userId);
    if (!container)
        return 11;
    const std::wstring mapping = container->Memory().MappingName();

    if (step == L"second" && argc == 7) {
        if (env.GetInt(n_env::PageSize) != 7)
            return 12;
        if (mapping != argv[6])
            return 13;
        env.SetInt(n_env::FontSize, 30);
        return GetUserEnvironment(errors, env, userId) ? 0 : Report(errors, 14);
    }
    if (step == L"third") {
        if (env.GetInt(n_env::FontSize) != 30 || env.GetInt(n_env::MaxWordCand) != 8)
            return 20;
        const std::wstring longName(3000, L'x');
        env.SetString(n_env::ActiveSkinName, longName.c_str());
        if (!GetUserEnvironment(errors, env, userId))
            return Report(errors, 21);
        if (mapping == container->Memory().MappingName())
            return 22;
        return env.GetString(n_env::ActiveSkinName) && longName == env.GetString(n_env::ActiveSkinName) ? 0 : 23;
    }
    return 2;
}

// Runs the step, then hands over to the test and waits for its leave to end.
int Run(int argc, wchar_t** argv)
{
    if (argc < 6)
        return 2;
    const int code = Step(argc, argv);
    const std::wstring prefix = std::wstring(L"Local\\user_env_test_") + argv[2];
    HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, (prefix + L"_done").c_str());
    HANDLE quit = OpenEventW(SYNCHRONIZE, FALSE, (prefix + L"_quit").c_str());
    if (code == 0 && done && quit) {
        SetEvent(done);
        WaitForSingleObject(quit, 30000);
    }
    if (done)
        CloseHandle(done);
    if (quit)
        CloseHandle(quit);
    return code;
}

}  // namespace

int wmain(int argc, wchar_t** argv) { return Run(argc, argv); }
