#include "ui_win32/folder_picker.h"

#include <shobjidl.h>

#include <memory>

namespace tavlix::ui_win32 {
namespace {

struct Release {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <typename T>
using ComPtr = std::unique_ptr<T, Release>;

struct FreeTaskMemory {
  void operator()(wchar_t* text) const { ::CoTaskMemFree(text); }
};

}  // namespace

std::optional<std::wstring> PickFolder(HWND owner, const std::wstring& description) {
  IFileOpenDialog* made = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                reinterpret_cast<void**>(&made))))
    return std::nullopt;
  const ComPtr<IFileOpenDialog> dialog(made);
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
  dialog->SetTitle(description.c_str());
  if (FAILED(dialog->Show(owner))) return std::nullopt;  // cancelled, too
  IShellItem* chosen = nullptr;
  if (FAILED(dialog->GetResult(&chosen))) return std::nullopt;
  const ComPtr<IShellItem> item(chosen);
  wchar_t* path = nullptr;
  if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) return std::nullopt;
  const std::unique_ptr<wchar_t, FreeTaskMemory> owned(path);
  return std::wstring(owned.get());
}

}  // namespace tavlix::ui_win32
