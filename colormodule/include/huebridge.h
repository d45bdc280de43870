/*
 * Huebridge: a colour management module for the Windows colour system.
 *
 * The module reads one ICC printer profile (device class 'prtr', colour
 * space 'CMYK' or 'RGB ') and translates colours: RGB (taken as sRGB) to
 * CIE Lab and XYZ, and through the profile's B2A lookup tables to CMYK, for
 * colour arrays, single colours and bitmaps. It also checks Lab colours
 * against the profile's 'gamt' table. Windows finds it through the ICM
 * matcher value "VH7Q" and calls the exports below.
 *
 * The same C API is built twice: as Huebridge.dll for 64-bit Windows and as
 * libhuebridge.so on Linux. On Linux this header supplies the Windows types
 * with their Windows x64 layouts (DWORD and ULONG 32 bits, LONG and BOOL
 * signed 32 bits, WORD 16 bits, pointer-sized handles, a 16-byte COLOR) and
 * the library exports GetLastError and SetLastError, whose value is per
 * thread, so that callers see the same error codes on both systems.
 *
 * Handles: a transform handle is the address of the module's transform
 * record, so valid handles are never below 256. Creation returns either a
 * handle or an error code below 256 (also set as the last error). Every
 * export that takes a handle refuses null and values below 256 with FALSE
 * and ERROR_INVALID_HANDLE. One transform is used by one thread at a time;
 * different transforms are independent. The module takes no locks.
 *
 * Error codes (Win32 values): ERROR_PATH_NOT_FOUND 3, ERROR_INVALID_HANDLE
 * 6, ERROR_INVALID_DATA 13, ERROR_OUTOFMEMORY 14, ERROR_READ_FAULT 30,
 * ERROR_INVALID_PARAMETER 87, ERROR_OPEN_FAILED 110,
 * ERROR_CALL_NOT_IMPLEMENTED 120, ERROR_FILENAME_EXCED_RANGE 206.
 */
#ifndef HUEBRIDGE_H
#define HUEBRIDGE_H

#ifdef _WIN32

#include <windows.h>
#include <icm.h>

#define HUEBRIDGE_API
typedef LPARAM HUEBRIDGE_CALLBACK_DATA;

#else /* Linux: the Windows types the API uses, with Windows x64 layouts. */

#include <stdint.h>

#define HUEBRIDGE_API __attribute__((visibility("default")))
#define WINAPI

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef uint32_t ULONG;
typedef int32_t LONG;
typedef int32_t BOOL;
typedef uint32_t UINT;
typedef char CHAR;
typedef uint16_t WCHAR;
typedef uintptr_t ULONG_PTR;
typedef intptr_t LONG_PTR;
typedef LONG_PTR LPARAM;
typedef LONG HRESULT;
typedef DWORD COLORREF;
typedef DWORD* LPCOLORREF;
typedef BYTE* LPBYTE;
typedef DWORD* PDWORD;
typedef void* LPVOID;
typedef void* HANDLE;
typedef HANDLE HCMTRANSFORM;
typedef HANDLE HPROFILE;
typedef HPROFILE* PHPROFILE;
typedef void* LPDEVCHARACTER;
typedef ULONG_PTR HUEBRIDGE_CALLBACK_DATA;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif
#define MAX_PATH 260

#define ERROR_SUCCESS 0
#define ERROR_PATH_NOT_FOUND 3
#define ERROR_INVALID_HANDLE 6
#define ERROR_INVALID_DATA 13
#define ERROR_OUTOFMEMORY 14
#define ERROR_READ_FAULT 30
#define ERROR_INVALID_PARAMETER 87
#define ERROR_OPEN_FAILED 110
#define ERROR_CALL_NOT_IMPLEMENTED 120
#define ERROR_FILENAME_EXCED_RANGE 206
#define S_OK 0
#define E_UNEXPECTED (-2147418113) /* 0x8000FFFF as a signed HRESULT */

/* Colour-space record. Only the first five fields are read. */
typedef LONG LCSCSTYPE;
typedef LONG LCSGAMUTMATCH;
typedef LONG FXPT2DOT30;
typedef struct tagCIEXYZ {
  FXPT2DOT30 ciexyzX, ciexyzY, ciexyzZ;
} CIEXYZ;
typedef struct tagCIEXYZTRIPLE {
  CIEXYZ ciexyzRed, ciexyzGreen, ciexyzBlue;
} CIEXYZTRIPLE;
typedef struct tagLOGCOLORSPACEA {
  DWORD lcsSignature;
  DWORD lcsVersion;
  DWORD lcsSize;
  LCSCSTYPE lcsCSType;
  LCSGAMUTMATCH lcsIntent;
  CIEXYZTRIPLE lcsEndpoints;
  DWORD lcsGammaRed;
  DWORD lcsGammaGreen;
  DWORD lcsGammaBlue;
  CHAR lcsFilename[MAX_PATH];
} LOGCOLORSPACEA, *LPLOGCOLORSPACEA;
typedef struct tagLOGCOLORSPACEW {
  DWORD lcsSignature;
  DWORD lcsVersion;
  DWORD lcsSize;
  LCSCSTYPE lcsCSType;
  LCSGAMUTMATCH lcsIntent;
  CIEXYZTRIPLE lcsEndpoints;
  DWORD lcsGammaRed;
  DWORD lcsGammaGreen;
  DWORD lcsGammaBlue;
  WCHAR lcsFilename[MAX_PATH];
} LOGCOLORSPACEW, *LPLOGCOLORSPACEW;

#define LCS_GM_BUSINESS 1
#define LCS_GM_GRAPHICS 2
#define LCS_GM_IMAGES 4
#define LCS_GM_ABS_COLORIMETRIC 8

typedef struct tagRGBTRIPLE {
  BYTE rgbtBlue;
  BYTE rgbtGreen;
  BYTE rgbtRed;
} RGBTRIPLE;

/* One colour, 16 bytes as on 64-bit Windows; the channels are the 16-bit
 * words at its start. */
struct GRAYCOLOR {
  WORD gray;
};
struct RGBCOLOR {
  WORD red, green, blue;
};
struct CMYKCOLOR {
  WORD cyan, magenta, yellow, black;
};
struct XYZCOLOR {
  WORD X, Y, Z;
};
struct YxyCOLOR {
  WORD Y, x, y;
};
struct LabCOLOR {
  WORD L, a, b;
};
struct GENERIC3CHANNEL {
  WORD ch1, ch2, ch3;
};
struct NAMEDCOLOR {
  DWORD dwIndex;
};
#define MAX_COLOR_CHANNELS 8
struct HiFiCOLOR {
  BYTE channel[MAX_COLOR_CHANNELS];
};
typedef union tagCOLOR {
  struct GRAYCOLOR gray;
  struct RGBCOLOR rgb;
  struct CMYKCOLOR cmyk;
  struct XYZCOLOR XYZ;
  struct YxyCOLOR Yxy;
  struct LabCOLOR Lab;
  struct GENERIC3CHANNEL gen3ch;
  struct NAMEDCOLOR named;
  struct HiFiCOLOR hifi;
  struct {
    DWORD reserved1;
    void* reserved2;
  } reserved;
} COLOR, *PCOLOR, *LPCOLOR;

typedef enum {
  COLOR_GRAY = 1,
  COLOR_RGB,
  COLOR_XYZ,
  COLOR_Yxy,
  COLOR_Lab,
  COLOR_3_CHANNEL,
  COLOR_CMYK,
  COLOR_5_CHANNEL,
  COLOR_6_CHANNEL,
  COLOR_7_CHANNEL,
  COLOR_8_CHANNEL,
  COLOR_NAMED
} COLORTYPE;

typedef enum {
  BM_x555RGB = 0x0000,
  BM_565RGB = 0x0001,
  BM_RGBTRIPLETS = 0x0002,
  BM_BGRTRIPLETS = 0x0004,
  BM_xRGBQUADS = 0x0008,
  BM_10b_RGB = 0x0009,
  BM_16b_RGB = 0x000A,
  BM_xBGRQUADS = 0x0010,
  BM_CMYKQUADS = 0x0020,
  BM_x555XYZ = 0x0101,
  BM_x555Yxy,
  BM_x555Lab,
  BM_x555G3CH,
  BM_XYZTRIPLETS = 0x0201,
  BM_YxyTRIPLETS,
  BM_LabTRIPLETS,
  BM_G3CHTRIPLETS,
  BM_5CHANNEL,
  BM_6CHANNEL,
  BM_7CHANNEL,
  BM_8CHANNEL,
  BM_GRAY,
  BM_xG3CHQUADS = 0x0304,
  BM_KYMCQUADS,
  BM_10b_XYZ = 0x0401,
  BM_10b_Yxy,
  BM_10b_Lab,
  BM_10b_G3CH,
  BM_NAMED_INDEX,
  BM_16b_XYZ = 0x0501,
  BM_16b_Yxy,
  BM_16b_Lab,
  BM_16b_G3CH,
  BM_16b_GRAY
} BMFORMAT;

/* Progress callback of bitmap translations: (rows in all, rows done, data).
 * Returning FALSE stops the translation, which still returns TRUE. */
typedef BOOL (*PBMCALLBACKFN)(ULONG, ULONG, ULONG_PTR);
typedef PBMCALLBACKFN LPBMCALLBACKFN;

#define CMM_IDENT 1
#define CMM_DLL_VERSION 3
#define CMM_DESCRIPTION 5
#define CMS_BACKWARD 1

#endif /* _WIN32 */

/* The module's identifier "VH7Q", first character in the top byte. */
#define HUEBRIDGE_IDENT 0x56483751u

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Creates a transform from the printer profile `name`, read whole and kept
 * for the life of the transform. Of *colorSpace only lcsSignature,
 * lcsVersion, lcsSize, lcsCSType and lcsIntent are read; lcsIntent picks the
 * device table (1: 'B2A2', 2: 'B2A1', anything else: 'B2A0').
 *
 * On Windows a name holding a backslash is a path, a bare name is looked up
 * in the colour directory (GetColorDirectoryA, else <system>\color\). On
 * Linux a name holding '/' or '\' is a path, a bare name is looked up in
 * $HUEBRIDGE_COLOR_DIR, else in /usr/share/color/icc. The path must fit in
 * MAX_PATH bytes.
 *
 * Result: a handle (>= 256), or an error code below 256, also set as the
 * last error: 87 null or empty name or null record, 206 path too long,
 * 3 no colour directory, 110 open failed, 14 out of memory, 30 read failed,
 * 13 not a 'prtr' profile in 'CMYK' or 'RGB ', or a profile whose header,
 * tag table or B2A / 'gamt' tables do not fit in the file.
 */
HUEBRIDGE_API HCMTRANSFORM WINAPI CMCreateTransformA(LPLOGCOLORSPACEA colorSpace,
                                                     LPDEVCHARACTER name, LPDEVCHARACTER target);
/* Same as CMCreateTransformA: the name is read as an ANSI string here too,
 * and of the record only its first five fields (laid out as in the ANSI
 * record). Further arguments are not read. */
HUEBRIDGE_API HCMTRANSFORM WINAPI CMCreateTransformW(LPLOGCOLORSPACEW colorSpace,
                                                     LPDEVCHARACTER name, LPDEVCHARACTER target);
HUEBRIDGE_API HCMTRANSFORM WINAPI CMCreateTransformExt(LPLOGCOLORSPACEA colorSpace,
                                                       LPDEVCHARACTER name, LPDEVCHARACTER target,
                                                       DWORD flags);
HUEBRIDGE_API HCMTRANSFORM WINAPI CMCreateTransformExtW(LPLOGCOLORSPACEW colorSpace,
                                                        LPDEVCHARACTER name, LPDEVCHARACTER target,
                                                        DWORD flags);
/* Not supported: sets and returns ERROR_CALL_NOT_IMPLEMENTED (120). */
HUEBRIDGE_API HCMTRANSFORM WINAPI CMCreateMultiProfileTransform(PHPROFILE profiles, DWORD count,
                                                                PDWORD intents, DWORD intentCount,
                                                                DWORD flags);
/* Releases the transform and everything it owns. TRUE. */
HUEBRIDGE_API BOOL WINAPI CMDeleteTransform(HCMTRANSFORM transform);
/* CMM_IDENT: HUEBRIDGE_IDENT; CMM_DLL_VERSION: 0x10000; CMM_DESCRIPTION: 1,
 * the string resource holding "Color Management Module."; else 0. */
HUEBRIDGE_API DWORD WINAPI CMGetInfo(DWORD info);

/*
 * Translates `count` colours (16 bytes apart). Supported pairs:
 *   COLOR_RGB -> COLOR_CMYK  lcsCSType 0 or 1 and a 'CMYK' profile
 *   COLOR_RGB -> COLOR_Lab   lcsCSType 0 or 1
 *   COLOR_RGB -> COLOR_XYZ   lcsCSType 0 or 1
 *   COLOR_Lab or COLOR_CMYK -> COLOR_CMYK   a 'CMYK' profile (the first
 *                            three words are run through the device table)
 * Only the high byte of each RGB word counts. Words beyond those written
 * stay as they were. Input and output may be the same array.
 * FALSE with 87 for any other pair or a null array with a non-zero count;
 * FALSE with 13 when the selected device table is missing or cannot be
 * evaluated (not 3 inputs and at least 4 outputs, fewer than 2 grid points,
 * a 16-bit table with fewer than 2 input entries).
 */
HUEBRIDGE_API BOOL WINAPI CMTranslateColors(HCMTRANSFORM transform, LPCOLOR input, DWORD count,
                                            COLORTYPE inputType, LPCOLOR output,
                                            COLORTYPE outputType);
/*
 * Translates one COLORREF (red in bits 0-7) to CMYK packed as
 * C | M << 8 | Y << 16 | K << 24. FALSE with 87 for flags CMS_BACKWARD;
 * FALSE without error code when lcsCSType is neither 0 nor 1; TRUE without
 * writing on an 'RGB ' profile; otherwise as CMTranslateColors.
 */
HUEBRIDGE_API BOOL WINAPI CMTranslateRGB(HCMTRANSFORM transform, COLORREF color, LPCOLORREF result,
                                         DWORD flags);
/* CMTranslateRGBsExt with `stride` as the input stride, 0 as the output
 * stride and no callback; `direction` is not read. */
HUEBRIDGE_API BOOL WINAPI CMTranslateRGBs(HCMTRANSFORM transform, LPVOID source,
                                          BMFORMAT inputFormat, DWORD width, DWORD height,
                                          DWORD stride, LPVOID dest, BMFORMAT outputFormat,
                                          DWORD direction);
/*
 * Translates a bitmap of RGB pixels to 4-byte CMYK pixels.
 * Input formats: BM_RGBTRIPLETS, BM_BGRTRIPLETS (3 bytes a pixel),
 * BM_xRGBQUADS, BM_xBGRQUADS (4 bytes a pixel); in all four byte 0 of a
 * pixel is taken as red, byte 1 as green and byte 2 as blue. Output formats:
 * BM_CMYKQUADS and BM_KYMCQUADS, both with C, M, Y, K in bytes 0 to 3.
 * Other formats: FALSE without error code.
 * A non-zero stride is the distance in bytes between row starts; zero means
 * rows padded to a multiple of 4 bytes. A non-zero stride shorter than a
 * row: FALSE with 87. After each row the callback, when given, receives
 * (height, rows done, callbackData); FALSE from it stops the work and the
 * call still returns TRUE. Device table faults as for CMTranslateColors.
 * Source and destination must not overlap, unless they are the same buffer
 * with 4-byte input pixels and the same distance between row starts for
 * both (for CMTranslateRGBs: a stride of 0 or of width x 4).
 */
HUEBRIDGE_API BOOL WINAPI CMTranslateRGBsExt(HCMTRANSFORM transform, LPVOID source,
                                             BMFORMAT inputFormat, DWORD width, DWORD height,
                                             DWORD inputStride, LPVOID dest, BMFORMAT outputFormat,
                                             DWORD outputStride, LPBMCALLBACKFN callback,
                                             HUEBRIDGE_CALLBACK_DATA callbackData);
/*
 * Checks `count` Lab colours against the profile's 'gamt' table: one result
 * byte per colour. FALSE without error code for any input type but
 * COLOR_Lab; FALSE with 87 for a null array with a non-zero count; FALSE
 * with 13 when the profile has no usable 'gamt' table (3 inputs, at least 1
 * output, 2 or more grid points, a 16-bit table with 2 or more input
 * entries).
 */
HUEBRIDGE_API BOOL WINAPI CMCheckColors(HCMTRANSFORM transform, LPCOLOR input, DWORD count,
                                        COLORTYPE inputType, LPBYTE result);
/* Not supported: FALSE (with 6 for an invalid handle, else no error code).
 * Nothing but the handle is read. */
HUEBRIDGE_API BOOL WINAPI CMCheckColorsInGamut(HCMTRANSFORM transform, RGBTRIPLE* colors,
                                               LPBYTE result, UINT count);
HUEBRIDGE_API BOOL WINAPI CMCheckRGBs(HCMTRANSFORM transform, LPVOID source, BMFORMAT inputFormat,
                                      DWORD width, DWORD height, DWORD stride, LPBYTE result,
                                      PBMCALLBACKFN callback, HUEBRIDGE_CALLBACK_DATA callbackData);

/* Writes (or removes) the REG_SZ value "VH7Q" = full path of the module
 * under HKLM "SOFTWARE\Microsoft\Windows NT\CurrentVersion\ICM\ICMatchers"
 * ("Windows" instead of "Windows NT" on Windows 9x when registering).
 * S_OK or E_UNEXPECTED. On Linux the registry is an in-memory one, private
 * to the process. */
HUEBRIDGE_API HRESULT WINAPI DllRegisterServer(void);
HUEBRIDGE_API HRESULT WINAPI DllUnregisterServer(void);

#ifndef _WIN32
/* The calling thread's last error code, as on Windows. */
HUEBRIDGE_API DWORD GetLastError(void);
HUEBRIDGE_API void SetLastError(DWORD code);
#endif

#ifdef __cplusplus
}
#endif

#endif /* HUEBRIDGE_H */
