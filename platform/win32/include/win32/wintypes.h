// Windows data types with the widths the stored records and the calling code expect.
//
// LONG, BOOL and int are 32-bit signed; DWORD, UINT and COLORREF 32-bit unsigned.
// `long` is 64 bits on this platform and must never stand for LONG or DWORD.
// Pointer-sized values (WPARAM, LPARAM, LRESULT, handles) are 64 bits here; records never store them.
#pragma once

#include <cstddef>
#include <cstdint>

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef uint32_t UINT;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int32_t BOOL;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef char CHAR;
typedef char TCHAR;
typedef unsigned char UCHAR;
typedef int32_t INT;
typedef float FLOAT;
typedef double DOUBLE;
typedef uint32_t COLORREF;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef char* LPTSTR;
typedef const char* LPCTSTR;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;

static_assert(sizeof(LONG) == 4 && sizeof(DWORD) == 4 && sizeof(BOOL) == 4 && sizeof(int) == 4,
              "record fields are 32-bit");

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef NULL
#define NULL nullptr
#endif

// Handles are opaque pointers to distinct incomplete types, so they cannot be mixed up.
#define CORVANE_DECLARE_HANDLE(name) struct name##__; typedef struct name##__* name
CORVANE_DECLARE_HANDLE(HINSTANCE);
CORVANE_DECLARE_HANDLE(HWND);
CORVANE_DECLARE_HANDLE(HDC);
CORVANE_DECLARE_HANDLE(HCURSOR);
CORVANE_DECLARE_HANDLE(HICON);
CORVANE_DECLARE_HANDLE(HMENU);

CORVANE_DECLARE_HANDLE(HPEN);
CORVANE_DECLARE_HANDLE(HBRUSH);
CORVANE_DECLARE_HANDLE(HFONT);
CORVANE_DECLARE_HANDLE(HBITMAP);
CORVANE_DECLARE_HANDLE(HRGN);
CORVANE_DECLARE_HANDLE(HPALETTE);
CORVANE_DECLARE_HANDLE(HGLOBAL);
CORVANE_DECLARE_HANDLE(HKEY);
CORVANE_DECLARE_HANDLE(HANDLE_);
typedef void* HANDLE;
// As on the original system, every GDI handle converts to HGDIOBJ.
typedef void* HGDIOBJ;
typedef HINSTANCE HMODULE;

struct tagPOINT {
    LONG x;
    LONG y;
};
typedef tagPOINT POINT;
typedef POINT* LPPOINT;

struct tagSIZE {
    LONG cx;
    LONG cy;
};
typedef tagSIZE SIZE;
typedef SIZE* LPSIZE;

struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef tagRECT RECT;
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;

static_assert(sizeof(POINT) == 8 && sizeof(RECT) == 16 && sizeof(SIZE) == 8, "GDI records are 32-bit");

#define MAKEWORD(a, b) ((WORD)(((BYTE)(a)) | ((WORD)((BYTE)(b))) << 8))
#define MAKELONG(a, b) ((LONG)(((WORD)(a)) | ((DWORD)((WORD)(b))) << 16))
#define LOWORD(l) ((WORD)((DWORD)(l) & 0xffff))
#define HIWORD(l) ((WORD)((DWORD)(l) >> 16))
#define LOBYTE(w) ((BYTE)((w) & 0xff))
#define HIBYTE(w) ((BYTE)(((WORD)(w) >> 8) & 0xff))

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))

#define MAX_PATH 260

// Message-box styles and dialog answers.
#define MB_OK 0x00000000u
#define MB_OKCANCEL 0x00000001u
#define MB_ABORTRETRYIGNORE 0x00000002u
#define MB_YESNOCANCEL 0x00000003u
#define MB_YESNO 0x00000004u
#define MB_RETRYCANCEL 0x00000005u
#define MB_ICONHAND 0x00000010u
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONEXCLAMATION 0x00000030u
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONINFORMATION 0x00000040u
#define MB_ICONASTERISK MB_ICONINFORMATION
#define MB_DEFBUTTON1 0x00000000u
#define MB_DEFBUTTON2 0x00000100u
#define MB_DEFBUTTON3 0x00000200u
#define MB_TYPEMASK 0x0000000Fu
#define MB_DEFMASK 0x00000F00u

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

// Entry-point reason codes.
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3
