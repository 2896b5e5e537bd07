// Window calls and the program's pictures.
#include <ocidl.h>
#include <olectl.h>

#include "win32/win32_platform.h"

namespace win32 {

std::int32_t Win32Platform::GetWindowRect(platform::Hwnd window, platform::Rect& rect) {
  RECT r;
  const BOOL ok = ::GetWindowRect(ToHwnd(window), &r);
  if (ok) rect = {r.left, r.top, r.right, r.bottom};
  return ok;
}

std::int32_t Win32Platform::GetWindowLongA(platform::Hwnd window, std::int32_t index) {
  return ::GetWindowLongA(ToHwnd(window), index);
}

std::int32_t Win32Platform::SetWindowLongA(platform::Hwnd window, std::int32_t index,
                                           std::int32_t value) {
  return ::SetWindowLongA(ToHwnd(window), index, value);
}

platform::Hwnd Win32Platform::SetParent(platform::Hwnd child, platform::Hwnd new_parent) {
  return FromHwnd(::SetParent(ToHwnd(child), ToHwnd(new_parent)));
}

platform::Hwnd Win32Platform::GetWindow(platform::Hwnd window, std::uint32_t command) {
  return FromHwnd(::GetWindow(ToHwnd(window), command));
}

std::int32_t Win32Platform::PostMessageA(platform::Hwnd window, std::uint32_t message,
                                         std::uint32_t wparam, std::int32_t lparam) {
  return ::PostMessageA(ToHwnd(window), message, static_cast<WPARAM>(wparam),
                        static_cast<LPARAM>(lparam));
}

std::int32_t Win32Platform::IsWindow(platform::Hwnd window) {
  return ::IsWindow(ToHwnd(window));
}

HBITMAP DecodePicture(const void* bytes, std::size_t size, SIZE& pixels) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return nullptr;
  if (void* p = GlobalLock(memory)) {
    CopyMemory(p, bytes, size);
    GlobalUnlock(memory);
  }
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  IPicture* picture = nullptr;
  const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                    reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(hr) || !picture) return nullptr;
  // The decoded bitmap belongs to the picture object: keep a copy of our own.
  OLE_HANDLE handle = 0;
  HBITMAP copy = nullptr;
  if (SUCCEEDED(picture->get_Handle(&handle)) && handle) {
    HBITMAP decoded = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    BITMAP info{};
    if (GetObjectA(decoded, sizeof info, &info)) {
      pixels = {info.bmWidth, info.bmHeight};
      copy = static_cast<HBITMAP>(CopyImage(decoded, IMAGE_BITMAP, 0, 0, 0));
    }
  }
  picture->Release();
  return copy;
}

HBITMAP Win32Platform::Picture(std::uint16_t resource, SIZE& size) {
  for (const auto& [id, decoded] : pictures_) {
    if (id == resource) {
      size = decoded.size;
      return decoded.bitmap;
    }
  }
  DecodedPicture decoded{nullptr, {0, 0}};
  if (HRSRC found = FindResourceA(instance_, MAKEINTRESOURCEA(resource), RT_RCDATA)) {
    HGLOBAL loaded = LoadResource(instance_, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (bytes)
      decoded.bitmap = DecodePicture(bytes, SizeofResource(instance_, found), decoded.size);
  }
  pictures_.emplace_back(resource, decoded);
  size = decoded.size;
  return decoded.bitmap;
}

}  // namespace win32
