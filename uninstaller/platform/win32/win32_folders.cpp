#include "platform/win32/win32_folders.h"

#include "platform/win32/convert.h"
#include "platform/win32/handles.h"
// After windows.h (through handles.h): the shell and spooler declarations.
#include <shlobj.h>
#include <winspool.h>

namespace win32 {
namespace {

using platform::Win32Error;

// Shell calls report HRESULTs; the layer speaks Win32 codes. Errors that
// wrap a Win32 code give that code back.
Win32Error ErrorOf(HRESULT result) {
  const auto bits = static_cast<std::uint32_t>(result);
  constexpr std::uint32_t kFacilityWin32 = 7;
  if (((bits >> 16) & 0x1FFFu) == kFacilityWin32) return bits & 0xFFFFu;
  if (result == E_OUTOFMEMORY) return ERROR_OUTOFMEMORY;
  if (result == E_INVALIDARG) return ERROR_INVALID_PARAMETER;
  // E_FAIL and the like: the folder does not exist on this system.
  return ERROR_FILE_NOT_FOUND;
}

// An item list handed out by the shell, given back to the shell's allocator.
class ItemList {
 public:
  explicit ItemList(IMalloc* allocator) : allocator_(allocator) {}
  ItemList(const ItemList&) = delete;
  ItemList& operator=(const ItemList&) = delete;
  ~ItemList() {
    if (list_ != nullptr) allocator_->Free(list_);
  }
  ITEMIDLIST** out() { return &list_; }
  const ITEMIDLIST* get() const { return list_; }

 private:
  IMalloc* allocator_;
  ITEMIDLIST* list_ = nullptr;
};

// GetColorDirectoryA(machine, buffer, size in/out).
using GetColorDirectoryFn = BOOL(WINAPI*)(PCSTR, PSTR, DWORD*);

}  // namespace

std::uint32_t Win32Folders::windowsDirectory(char* buffer, std::uint32_t size) {
  return ::GetWindowsDirectoryA(buffer, size);
}

std::uint32_t Win32Folders::systemDirectory(char* buffer, std::uint32_t size) {
  return ::GetSystemDirectoryA(buffer, size);
}

std::uint32_t Win32Folders::tempPath(char* buffer, std::uint32_t size) {
  return ::GetTempPathA(size, buffer);
}

Win32Error Win32Folders::specialFolder(int csidl, char* path) {
  path[0] = '\0';
  ComRef<IMalloc> allocator;
  HRESULT result = ::SHGetMalloc(allocator.out());
  if (FAILED(result)) return ErrorOf(result);
  ItemList list(allocator.get());
  result = ::SHGetSpecialFolderLocation(nullptr, csidl, list.out());
  if (FAILED(result)) return ErrorOf(result);
  // Virtual folders (the Printers folder, say) have an item list but no
  // path in the file system: Windows fails here. Wine succeeds with the
  // folder's parsing name ("::{20D04FE0-...}\\::{2227A280-...}"), which is
  // passed on as it is; no file function accepts it.
  if (!::SHGetPathFromIDListA(list.get(), path)) {
    path[0] = '\0';
    return ERROR_FILE_NOT_FOUND;
  }
  return ERROR_SUCCESS;
}

Win32Error Win32Folders::printerDriverDirectory(const char* environment, char* buffer,
                                                std::uint32_t size) {
  DWORD needed = 0;
  // The environment parameter is declared writable but only read.
  return ResultOf(::GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(environment), 1,
                                               reinterpret_cast<BYTE*>(buffer), size, &needed));
}

Win32Error Win32Folders::printProcessorDirectory(const char* environment, char* buffer,
                                                 std::uint32_t size) {
  DWORD needed = 0;
  return ResultOf(::GetPrintProcessorDirectoryA(nullptr, const_cast<char*>(environment), 1,
                                                reinterpret_cast<BYTE*>(buffer), size, &needed));
}

Win32Error Win32Folders::colorDirectory(char* buffer, std::uint32_t* size) {
  // mscms.dll is loaded at run time: systems without the colour system
  // (and older ones) lack it, and the caller then falls back on its own.
  Library mscms(::LoadLibraryA("mscms.dll"));
  if (!mscms.valid()) return ::GetLastError();
  const FARPROC proc = ::GetProcAddress(mscms.get(), "GetColorDirectoryA");
  if (proc == nullptr) return ::GetLastError();
  // Through the generic function pointer type, which converts to any other
  // without a cast-function-type warning.
  const auto getColorDirectory =
      reinterpret_cast<GetColorDirectoryFn>(reinterpret_cast<void (*)()>(proc));
  DWORD length = *size;
  const Win32Error error = ResultOf(getColorDirectory(nullptr, buffer, &length));
  *size = length;
  return error;
}

}  // namespace win32
