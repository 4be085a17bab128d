#pragma once

#include <windows.h>
#include <aclapi.h>

// Security shared by every kernel object and file the program makes: a DACL that opens
// them to Everyone (and, on Windows 8 or later, to ALL APPLICATION PACKAGES), and the low
// mandatory integrity label, so that the input method running at low integrity or in an
// app container can use them.

// Inheritable attributes with the shared DACL and (where the system has labels) the low
// label SACL, built on first use and kept for the process. Null when the build failed:
// callers then create their objects with default security.
SECURITY_ATTRIBUTES* GetLowIntegritySecurityAttributes();

// The shared DACL (null when it could not be built); kept for the process.
PACL GetSharedDacl();
// The low label SACL; null before Windows Vista or when it could not be built.
PACL GetLowLabelSacl();

// Sets the shared DACL on an object.
bool SetHandleAccessDacl(HANDLE handle, SE_OBJECT_TYPE type);
// Sets the low mandatory label ("S:(ML;;NW;;;LW)") on an object; true with nothing done
// before Windows Vista.
bool SetHandleLowIntegrity(HANDLE handle, SE_OBJECT_TYPE type);
// As SetHandleLowIntegrity for a named object; a file whose path contains ".exe" keeps
// its label.
bool SetPathLowIntegrity(const wchar_t* path, SE_OBJECT_TYPE type);

// Grants mask to Everyone (and ALL APPLICATION PACKAGES on Windows 8 or later), inherited
// by sub-folders and files. With merge the entries join the object's DACL; without it
// they replace it and inheritance from the parent is cut.
bool GrantObjectAccess(DWORD mask, bool merge, const wchar_t* name, SE_OBJECT_TYPE type);
bool GrantPathAccess(const wchar_t* path, SE_OBJECT_TYPE type, DWORD mask, bool merge);

// The system's version, taken from the file version of kernel32.dll (the version API
// lies to programs without a manifest). Platform is always VER_PLATFORM_WIN32_NT.
bool GetOsVersion(OSVERSIONINFOW& out);
// Computed once; an unreadable version counts as false.
bool IsVistaOrLater();
bool IsWin8OrLater();
