// What tests and the gauge host may ask of the Linux stand-in beyond Win32 itself.
//
// Environment variables read by the stand-in (each is looked at again on every call, so a test may
// set them at any time):
//   WIN32_STANDIN_JOURNAL  a file to which every Win32 call is appended as one line: the call's name,
//                          then its arguments separated by blanks; integers in decimal, COLORREFs as
//                          0x and six hexadecimal digits, texts in double quotes (bytes as the gauge
//                          passed them, in its code page, with `"`, `\` and control characters
//                          escaped as \", \\, \n, \r, \t or \xHH), null pointers as `null`. Handles and
//                          output pointers are left out; a GDI object is shown by its kind and what it
//                          was made from (`SelectObject pen 0 1 0x00FF00`).
//   WIN32_STANDIN_FAIL     calls to fail, by name, separated by commas; `Name#N` fails only the Nth call
//                          of that name. A failed call returns its documented failure value (a
//                          DirectDraw method DDERR_GENERIC, a creating call null, a BOOL call FALSE)
//                          and does nothing else. AddRef and Release never fail.
//   WIN32_STANDIN_PREFIX   prefixes the name of every file mapping, so that parallel runs never meet.
#ifndef STANDIN_CONTROL_H
#define STANDIN_CONTROL_H

#include "win32_standin.h"

// Objects alive in this process, by kind.
struct StandInLiveObjects {
    int pens;
    int brushes;
    int fonts;
    int device_contexts;
    int directdraw_objects;  // IDirectDraw objects
    int surfaces;
    int palettes;
    int file_mappings;       // open mapping handles
    int file_views;          // mapped views
    int library_references;  // LoadLibraryA references not yet given back
};

STANDIN_API void standin_live_objects(StandInLiveObjects* counts);

// Starts the numbering of calls for WIN32_STANDIN_FAIL afresh (as at the start of the process) and
// reopens the journal file on the next call.
STANDIN_API void standin_restart_calls(void);

#endif
