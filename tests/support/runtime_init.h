// Test helper: sets up the process's runtime (installation folder, user data, the registry
// facts it reads) the way a test program needs it.
#pragma once

#include <string>

#include "foundation/config/runtime.h"
#include "foundation/core/error_chain.h"

// The program's own folder as the installation, once per process.
inline void InitRuntimeInProgramFolder()
{
    t_runtime* runtime = GetRuntime();
    if (!runtime->IsInitialised()) {
        runtime->SetInstallDirSource(nullptr);
        t_errorChain errors;
        runtime->Init(errors);
    }
}

// A folder of the test's as the installation.
inline bool InitRuntimeAt(t_errorChain& errors, const std::wstring& installFolder)
{
    t_runtime::Instance()->SetInstallDirSource(installFolder.c_str());
    return t_runtime::Instance()->Init(errors);
}
