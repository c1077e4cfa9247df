#include "app/logo_win32.h"

#include <ole2.h>
#include <olectl.h>

#include <cstring>

namespace {

// Owns a COM interface pointer.
template <typename Interface>
class ComPtr {
public:
    ~ComPtr()
    {
        if (p_)
            p_->Release();
    }
    Interface** Receive() { return &p_; }
    Interface* operator->() const { return p_; }
    Interface* Get() const { return p_; }

private:
    Interface* p_ = nullptr;
};

class GlobalBlock {
public:
    explicit GlobalBlock(SIZE_T size) : block_(GlobalAlloc(GPTR, size)) {}
    ~GlobalBlock()
    {
        if (block_)
            GlobalFree(block_);
    }
    HGLOBAL Get() const { return block_; }

private:
    HGLOBAL block_;
};

} // namespace

HBITMAP LoadImageResource(HINSTANCE instance, int id, const char* type)
{
    if (type == RT_BITMAP) {
        if (HANDLE bitmap = LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0))
            return static_cast<HBITMAP>(bitmap);
    }
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), type);
    if (found == nullptr)
        return nullptr;
    const DWORD size = SizeofResource(instance, found);
    HGLOBAL loaded = LoadResource(instance, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (bytes == nullptr || size == 0)
        return nullptr;

    GlobalBlock block(size);
    if (block.Get() == nullptr)
        return nullptr;
    std::memcpy(block.Get(), bytes, size);  // GPTR: the handle is the pointer

    // The picture and the stream are released before the block they read.
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block.Get(), FALSE, stream.Receive())))
        return nullptr;
    ComPtr<IPicture> picture;
    if (FAILED(OleLoadPicture(stream.Get(), 0, FALSE, IID_IPicture, reinterpret_cast<void**>(picture.Receive()))))
        return nullptr;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Handle(&handle)))
        return nullptr;
    return static_cast<HBITMAP>(
        CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, 0));
}
