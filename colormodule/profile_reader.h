// Reading an ICC printer profile: locating and loading the file, checking
// its header, walking its tag table and decoding the B2A and 'gamt' tables.
#pragma once

#include <cstdint>

#include "cmm_transform.h"

namespace huebridge {

// Builds the path of profile `name` in `path` (MAX_PATH bytes): a name that
// holds a directory separator is the path itself, a bare name is looked up
// in the colour directory. 0 or an error code (206 when it does not fit).
DWORD ComposeProfilePath(const char* name, char* path);

// Reads the whole file named by `name` into a malloc'ed buffer.
// 0, or ERROR_PATH_NOT_FOUND, ERROR_FILENAME_EXCED_RANGE, ERROR_OPEN_FAILED,
// ERROR_OUTOFMEMORY, ERROR_READ_FAULT, ERROR_INVALID_DATA (a file of 4 GiB
// or more).
DWORD LoadProfileImage(const char* name, std::uint8_t** image, std::uint32_t* size);

// Converts the header to host order in place. True for a 'prtr' profile in
// 'CMYK' or 'RGB ' that holds at least the header and the tag count.
bool CheckProfileHeader(std::uint8_t* image, std::uint32_t size);

// Converts the tag table to host order in place and decodes the tags of
// interest into `t`. 0, ERROR_INVALID_DATA for a table or tag of interest
// that does not fit in the file, or ERROR_OUTOFMEMORY.
DWORD ReadTagTable(std::uint8_t* image, std::uint32_t size, CMM_TRANSFORM* t);

// Decodes one 'mft1' or 'mft2' element of `tagSize` bytes into `slot`; an
// element of any other type leaves the slot as it was. 0,
// ERROR_INVALID_DATA when the element is smaller than its tables need, or
// ERROR_OUTOFMEMORY.
DWORD ReadLutTag(const std::uint8_t* tag, std::uint32_t tagSize, CMM_LUT* slot);

// Releases a slot's buffer and empties it.
void FreeLut(CMM_LUT* slot);

// The device table for the intent in t->colorSpace.
CMM_LUT* SelectLut(CMM_TRANSFORM* t);

}  // namespace huebridge
