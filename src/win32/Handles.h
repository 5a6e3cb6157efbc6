// Move-only owners of Windows resources: one template, one traits type per kind of
// resource with its own invalid value and release call, and owners that undo a pairing
// (EndPaint, ReleaseDC, re-selecting the previous GDI object).
#pragma once

#include <windows.h>

#include <atomic>
#include <utility>

// Live GDI objects and memory DCs held by the owners below (the leak checks read it).
long LiveGdiObjectCount();
void CountGdiObject(long delta);

template <class Traits>
class UniqueResource {
public:
    using pointer = typename Traits::pointer;

    UniqueResource() = default;
    explicit UniqueResource(pointer value) : value_(value) { Traits::Created(value_); }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    pointer get() const { return value_; }
    explicit operator bool() const { return Traits::IsValid(value_); }
    // Releases the old value and takes ownership of the new one.
    void reset(pointer value = Traits::Invalid()) {
        if (Traits::IsValid(value_)) Traits::Close(value_);
        value_ = value;
        Traits::Created(value_);
    }
    // Gives up ownership without closing.
    pointer release() {
        pointer value = value_;
        if (Traits::IsValid(value_)) Traits::Released(value_);
        value_ = Traits::Invalid();
        return value;
    }
    // For out-parameters: closes the old value first so that nothing can leak.
    pointer* put() {
        reset();
        return &value_;
    }

private:
    pointer value_ = Traits::Invalid();
};

struct KernelHandleTraits {
    using pointer = HANDLE;
    static pointer Invalid() { return nullptr; }
    static bool IsValid(pointer p) { return p != nullptr && p != INVALID_HANDLE_VALUE; }
    static void Close(pointer p) { CloseHandle(p); }
    static void Created(pointer) {}
    static void Released(pointer) {}
};
// File handles come back as INVALID_HANDLE_VALUE on failure; both values count as empty.
struct FileHandleTraits : KernelHandleTraits {
    static pointer Invalid() { return INVALID_HANDLE_VALUE; }
};
struct FindHandleTraits : FileHandleTraits {
    static void Close(pointer p) { FindClose(p); }
};
// A resource that is null when empty and given back by one call.
template <class T, auto Release>
struct NullableTraits {
    using pointer = T;
    static pointer Invalid() { return nullptr; }
    static bool IsValid(pointer p) { return p != nullptr; }
    static void Close(pointer p) { Release(p); }
    static void Created(pointer) {}
    static void Released(pointer) {}
};
using RegistryKeyTraits = NullableTraits<HKEY, RegCloseKey>;
using MenuTraits = NullableTraits<HMENU, DestroyMenu>;
template <class T>
struct GdiObjectTraits {
    using pointer = T;
    static pointer Invalid() { return nullptr; }
    static bool IsValid(pointer p) { return p != nullptr; }
    static void Close(pointer p) {
        DeleteObject(p);
        CountGdiObject(-1);
    }
    static void Created(pointer p) {
        if (p) CountGdiObject(+1);
    }
    static void Released(pointer) { CountGdiObject(-1); }
};
// Memory DCs count like GDI objects but go with DeleteDC.
struct MemoryDcTraits : GdiObjectTraits<HDC> {
    static void Close(pointer p) {
        DeleteDC(p);
        CountGdiObject(-1);
    }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFile = UniqueResource<FileHandleTraits>;
using UniqueFind = UniqueResource<FindHandleTraits>;
using UniqueHkey = UniqueResource<RegistryKeyTraits>;
using UniqueMenu = UniqueResource<MenuTraits>;
template <class T>
using UniqueGdi = UniqueResource<GdiObjectTraits<T>>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniquePen = UniqueGdi<HPEN>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueRegion = UniqueGdi<HRGN>;
using UniqueMemoryDc = UniqueResource<MemoryDcTraits>;

// A process record as CreateProcessW fills it, read like the record itself (hProcess,
// hThread, dwProcessId). Its two handles are closed together: by Close, by put (before the
// record is filled again) and when the owner goes.
class UniqueProcessInformation : public PROCESS_INFORMATION {
public:
    UniqueProcessInformation() : PROCESS_INFORMATION{} {}
    UniqueProcessInformation(const UniqueProcessInformation&) = delete;
    UniqueProcessInformation& operator=(const UniqueProcessInformation&) = delete;
    ~UniqueProcessInformation() { Close(); }
    void Close() {
        if (hProcess) CloseHandle(hProcess);
        if (hThread) CloseHandle(hThread);
        static_cast<PROCESS_INFORMATION&>(*this) = PROCESS_INFORMATION{};
    }
    // For CreateProcessW's out-parameter.
    PROCESS_INFORMATION* put() {
        Close();
        return this;
    }
};

// A DC of a window's whole client area, released with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint in the constructor, EndPaint in the destructor.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(window_, &paint_); }
    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back when it goes.
class SelectionGuard {
public:
    SelectionGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;
    ~SelectionGuard() {
        if (dc_ && previous_) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Runs a function when the scope ends, unless dismissed.
template <class F>
class ScopeExit {
public:
    explicit ScopeExit(F f) : f_(std::move(f)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() {
        if (active_) f_();
    }
    void Dismiss() { active_ = false; }

private:
    F f_;
    bool active_ = true;
};
