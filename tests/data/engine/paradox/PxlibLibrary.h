#pragma once
// Debian's pxlib, loaded at run time, as the independent reader of tables
// the engine writes (loading it keeps the test program's link line free of it).

extern "C" {
#include <paradox.h>
}

struct TPxlib {
    pxdoc_t* (*New)();
    int (*OpenFile)(pxdoc_t*, const char*);
    int (*SetTargetEncoding)(pxdoc_t*, const char*);
    int (*NumRecords)(pxdoc_t*);
    int (*NumFields)(pxdoc_t*);
    int (*RecordSize)(pxdoc_t*);
    pxfield_t* (*Fields)(pxdoc_t*);
    char* (*GetRecord)(pxdoc_t*, int, char*);
    int (*Alpha)(pxdoc_t*, char*, int, char**);
    int (*Bytes)(pxdoc_t*, char*, int, char**);
    int (*Double)(pxdoc_t*, char*, int, double*);
    int (*Long)(pxdoc_t*, char*, int, long*);
    int (*Short)(pxdoc_t*, char*, int, short*);
    int (*Byte)(pxdoc_t*, char*, int, char*);
    int (*Bcd)(pxdoc_t*, unsigned char*, int, char**);
    void (*Close)(pxdoc_t*);
    void (*Delete)(pxdoc_t*);

    // Null when the library is not installed.
    static const TPxlib* Get();
};
