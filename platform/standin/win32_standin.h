// Declarations of the stand-in for the part of Win32 that the gauges and the host use, written from
// the public documentation of each call: kernel and user here, GDI in standin_gdi.h, DirectDraw in
// standin_ddraw.h. Types keep their Win32 widths on every architecture. What tests and the host may
// ask beyond Win32 (the journal, the fault switch, the counters) is in standin_control.h.
//
// Every call is journaled, may be made to fail, and refuses bad input with its documented failure
// value instead of crashing: null or unknown handles, null pointers, coordinates far off the surface.
#ifndef STANDIN_WIN32_STANDIN_H
#define STANDIN_WIN32_STANDIN_H

#include <stddef.h>
#include <stdint.h>

#define WINAPI
#define STANDIN_API extern "C" __attribute__((visibility("default")))

typedef int32_t BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t UINT;
typedef int16_t SHORT;
typedef int32_t INT;
typedef char CHAR;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef uint32_t ULONG;
typedef int32_t HRESULT;
typedef DWORD* LPDWORD;
typedef LONG* LPLONG;
typedef BOOL* LPBOOL;
typedef uintptr_t UINT_PTR;
typedef size_t SIZE_T;

typedef void* HANDLE;
typedef void* HMODULE;
typedef void* HINSTANCE;
typedef void* HWND;
typedef void* HRSRC;
typedef void* HGLOBAL;
typedef void (*FARPROC)(void);
typedef struct StandInSecurityAttributes* LPSECURITY_ATTRIBUTES;

#define TRUE 1
#define FALSE 0

#define MAKEINTRESOURCEA(id) ((LPCSTR)(UINT_PTR)(WORD)(id))
#define IS_INTRESOURCE(p) (((UINT_PTR)(p) >> 16) == 0)
#define RT_BITMAP MAKEINTRESOURCEA(2)

#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)
#define PAGE_READONLY 0x02u
#define PAGE_READWRITE 0x04u
#define FILE_MAP_WRITE 0x0002u
#define FILE_MAP_READ 0x0004u
#define FILE_MAP_ALL_ACCESS 0x000F001Fu

#define ERROR_SUCCESS 0u
#define ERROR_FILE_NOT_FOUND 2u
#define ERROR_INVALID_HANDLE 6u
#define ERROR_NOT_ENOUGH_MEMORY 8u
#define ERROR_GEN_FAILURE 31u
#define ERROR_INVALID_PARAMETER 87u
#define ERROR_MOD_NOT_FOUND 126u
#define ERROR_PROC_NOT_FOUND 127u
#define ERROR_ALREADY_EXISTS 183u
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813u
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814u

#define MB_OK 0x0u
#define MB_ICONWARNING 0x30u
#define MB_ICONERROR 0x10u
#define IDOK 1

#define VK_TAB 0x09
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPFILEHEADER) == 14, "BITMAPFILEHEADER");

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER");

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

#define BI_RGB 0u

// kernel: errors
STANDIN_API DWORD GetLastError(void);
STANDIN_API void SetLastError(DWORD error);

// kernel: libraries. A plain name ("GaugeSound") means that name plus ".so" on the library path.
STANDIN_API HMODULE LoadLibraryA(LPCSTR name);
STANDIN_API HMODULE GetModuleHandleA(LPCSTR name);
STANDIN_API FARPROC GetProcAddress(HMODULE module, LPCSTR name);
STANDIN_API BOOL FreeLibrary(HMODULE module);

// kernel: resources of a loaded module
STANDIN_API HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
STANDIN_API HGLOBAL LoadResource(HMODULE module, HRSRC resource);
STANDIN_API LPVOID LockResource(HGLOBAL loaded);
STANDIN_API DWORD SizeofResource(HMODULE module, HRSRC resource);

// kernel: named file mappings backed by the system's page file, shared with other processes
STANDIN_API HANDLE CreateFileMappingA(HANDLE file, LPSECURITY_ATTRIBUTES attributes, DWORD protect,
                                      DWORD size_high, DWORD size_low, LPCSTR name);
STANDIN_API HANDLE OpenFileMappingA(DWORD access, BOOL inherit, LPCSTR name);
STANDIN_API LPVOID MapViewOfFile(HANDLE mapping, DWORD access, DWORD offset_high, DWORD offset_low,
                                 SIZE_T bytes);
STANDIN_API BOOL UnmapViewOfFile(LPCVOID view);
STANDIN_API BOOL CloseHandle(HANDLE handle);

// kernel: arithmetic and strings
// MulDiv: a * b / c with a 64-bit product, rounded half away from zero; -1 when c is 0 or the result
// does not fit in 32 bits.
STANDIN_API int MulDiv(int a, int b, int c);
STANDIN_API LPSTR lstrcpyA(LPSTR destination, LPCSTR source);
STANDIN_API LPSTR lstrcatA(LPSTR destination, LPCSTR source);

// user: headless message box and the keyboard state the host sets
STANDIN_API int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
STANDIN_API SHORT GetAsyncKeyState(int virtual_key);
STANDIN_API SHORT GetKeyState(int virtual_key);

#include "standin_gdi.h"
#include "standin_ddraw.h"

#endif
