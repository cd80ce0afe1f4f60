// Holders that release a Win32 object when the function that obtained it
// returns, whichever way it leaves. Meant for functions with several exits;
// where one plain call releases the object, the plain call is clearer.
#pragma once

#include <windows.h>

#include <shlobj.h>

// One reference to a COM interface, released once.
template <typename Interface>
class ComHolder {
  public:
    ComHolder() = default;
    ~ComHolder() {
        if (pointer_ != nullptr) pointer_->Release();
    }
    ComHolder(const ComHolder&) = delete;
    ComHolder& operator=(const ComHolder&) = delete;

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    // Where a creating call (CoCreateInstance, QueryInterface) stores the
    // new reference. Only for an empty holder: a held reference would leak.
    void** out() { return reinterpret_cast<void**>(&pointer_); }
    Interface** put() { return &pointer_; }

  private:
    Interface* pointer_ = nullptr;
};

// A kernel handle (an open file, say), closed once. Both null and
// INVALID_HANDLE_VALUE count as no handle.
class HandleHolder {
  public:
    explicit HandleHolder(HANDLE handle) : handle_(handle) {}
    ~HandleHolder() {
        if (valid()) CloseHandle(handle_);
    }
    HandleHolder(const HandleHolder&) = delete;
    HandleHolder& operator=(const HandleHolder&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    // Closes it before the holder goes, where the file must be closed before
    // the next step (renamed, say).
    void Close() {
        if (valid()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    // Holds another handle, closing the one it held.
    void Reset(HANDLE handle) {
        Close();
        handle_ = handle;
    }
    // Hands the handle on, still open; the holder no longer closes it.
    HANDLE Release() {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }

  private:
    HANDLE handle_;
};

// An item list the shell allocated for the caller (SHBrowseForFolderW,
// SHGetSpecialFolderLocation, ParseDisplayName), given back to the shell's
// allocator when the holder goes.
class ItemListHolder {
  public:
    ItemListHolder() = default;
    explicit ItemListHolder(LPITEMIDLIST list) : list_(list) {}
    ~ItemListHolder() {
        if (list_ == nullptr) return;
        ComHolder<IMalloc> allocator;
        if (SHGetMalloc(allocator.put()) == S_OK) allocator->Free(list_);
    }
    ItemListHolder(const ItemListHolder&) = delete;
    ItemListHolder& operator=(const ItemListHolder&) = delete;

    LPITEMIDLIST get() const { return list_; }
    // Where a creating call stores the list; only for an empty holder.
    LPITEMIDLIST* put() { return &list_; }

  private:
    LPITEMIDLIST list_ = nullptr;
};
