// The interfaces of the maker's Flash component library, in slot order: the library and
// the program agree on the order of the virtual operations and on nothing else. None has a
// virtual destructor, since that would take two slots; objects are deleted through their
// own operations.
#pragma once

#include <windows.h>

#include <cstdint>

class t_flashSkinCmd;  // the input method's receiver of Flash commands
class i_flashStub;

// One frame of a player stub: 32-bit premultiplied pixels, rows top-down.
struct t_flashFrame {
    void* pixels;
    int width;
    int height;
};

// Told by the library when it is unloaded.
class i_unloadObserver {
public:
    virtual void OnUnload() = 0;  // 0

protected:
    ~i_unloadObserver() = default;
};

// What the library made of in-memory ".swf" data.
class i_flashSwf {
public:
    virtual const void* Data() = 0;  // 0 the data to keep
    virtual int Size() = 0;          // 1 its size in bytes
    virtual int Security() = 0;      // 2 the security level it allows
    virtual void Release() = 0;      // 3 frees the object

protected:
    ~i_flashSwf() = default;
};

class i_flashStubFactory {
public:
    virtual i_flashStub* CreateStub() = 0;            // 0
    virtual void ReleaseStub(i_flashStub* stub) = 0;  // 1

protected:
    ~i_flashStubFactory() = default;
};

// A player: plays one Flash file into frames or into a window of its own.
class i_flashStub {
public:
    virtual void Delete() = 0;  // 0 deletes the object
    virtual int Version() = 0;  // 1
    // 2: non-zero when the player was created.
    virtual int Create(DWORD exStyle, DWORD style, HWND host, int controlId, LPARAM parameter) = 0;
    virtual void SetSize(const SIZE* size) = 0;                                           // 3
    virtual bool GetFrame(t_flashFrame* frame) = 0;                                       // 4 whether a frame exists
    virtual LRESULT SendMouse(HWND window, UINT message, WPARAM keys, LPARAM point) = 0;  // 5 point: y << 16 | x
    virtual int Load(const wchar_t* fileName) = 0;                                        // 6
    virtual int HitTest(int x, int y) = 0;                                                // 7 non-zero on a hit
    virtual void SetCommandSink(t_flashSkinCmd* sink) = 0;                                // 8
    virtual void Call2(intptr_t a, intptr_t b) = 0;                                       // 9
    virtual void Call3(intptr_t a, intptr_t b, intptr_t c) = 0;                           // 10
    virtual void Call1(intptr_t a) = 0;                                                   // 11
    virtual void SetHostWindow(HWND window) = 0;                                          // 12
    virtual void Move(int x, int y, int width, int height) = 0;                           // 13
    virtual void Show(bool shown) = 0;                                                    // 14

protected:
    ~i_flashStub() = default;
};

// The library's utility object. Operations without a name here belong to the input
// method's Flash windows and are passed on unchanged.
class i_flashUtil {
public:
    virtual int Version() = 0;                                             // 0 interface version
    virtual i_flashStubFactory* GetStubFactory() = 0;                      // 1
    virtual i_flashSwf* LoadSwf(const void* bytes, int size) = 0;          // 2 null when refused
    virtual void Notify3(intptr_t a, intptr_t b) = 0;                      // 3
    virtual bool IsServerReady() = 0;                                      // 4
    virtual bool Query5(intptr_t a, intptr_t b) = 0;                       // 5
    virtual bool Query6(intptr_t a, intptr_t b) = 0;                       // 6
    virtual void Notify7(intptr_t a, intptr_t b) = 0;                      // 7
    virtual bool Query8(intptr_t a, intptr_t b) = 0;                       // 8
    virtual void Notify9(intptr_t a, intptr_t b) = 0;                      // 9
    virtual bool Query10(intptr_t a, intptr_t b) = 0;                      // 10
    virtual bool InstallSsw(const void* bytes, int size, int userId) = 0;  // 11
    virtual i_flashStubFactory* GetStubFactory1() = 0;                     // 12 from version 1
    virtual void Notify13(intptr_t a, intptr_t b) = 0;                     // 13
    virtual intptr_t Value14(intptr_t a, intptr_t b) = 0;                  // 14
    virtual i_flashStubFactory* GetStubFactory3() = 0;                     // 15 from version 3
    virtual bool Query16(intptr_t a, intptr_t b) = 0;                      // 16
    virtual bool Query17(intptr_t a, intptr_t b) = 0;                      // 17
    virtual bool Query18(intptr_t a, intptr_t b) = 0;                      // 18
    virtual intptr_t Value19(intptr_t a, intptr_t b) = 0;                  // 19
    virtual void Notify20(intptr_t a, intptr_t b) = 0;                     // 20
    virtual void Notify21(intptr_t a, intptr_t b) = 0;                     // 21
    virtual bool Query22(intptr_t a, intptr_t b) = 0;                      // 22
    virtual bool Query23(intptr_t a, intptr_t b) = 0;                      // 23
    virtual void Notify24(intptr_t a, intptr_t b) = 0;                     // 24
    virtual intptr_t Value25(intptr_t a, intptr_t b) = 0;                  // 25
    virtual bool IsUsable() = 0;                                           // 26
    virtual bool RegisterUnloadObserver(i_unloadObserver* observer) = 0;   // 27

    static const int c_slotCount = 28;

protected:
    ~i_flashUtil() = default;
};

// The library's exports.
using t_fnFlashDoInit = BOOL(WINAPI*)();
using t_fnGetFlashUtil = i_flashUtil*(WINAPI*)();
