// The program's operator new: blocks of a couple of megabytes and more (the
// columns and lists of a big table) are placed on 2 MB boundaries and asked
// of the kernel as huge pages. A million-row table touches some 50 MB of
// fresh memory on every open and sort; on 4 KB pages each of them costs a
// page fault, which on a virtual machine can take longer than the whole
// computation. Where huge pages are not available the advice is ignored
// and memory behaves as it always did. Only linked into the programs and
// benchmarks (the sanitizers bring their own allocator).
#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <malloc.h>
#include <sys/mman.h>
#endif

namespace {

constexpr std::size_t kPaginaGrande = std::size_t{2} << 20;

void aconsejarPaginasGrandes([[maybe_unused]] void* p, [[maybe_unused]] std::size_t n) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // p is on a boundary. The tail is advised too: left on small pages, the
    // last part of each block would cost up to 511 faults of its own. The
    // block is mapped with room past its end, as an aligned block is.
    const std::size_t paginas = (n + kPaginaGrande - 1) / kPaginaGrande * kPaginaGrande;
    madvise(p, paginas, MADV_HUGEPAGE);
#endif
}

#if defined(__linux__) && defined(M_MMAP_THRESHOLD)
// A big block is mapped afresh, never carved from the heap: the advice
// then covers the whole block, and its memory goes back to the system as
// soon as it is freed. (malloc would otherwise move the threshold up to
// 32 MB as blocks are freed, and serve them from heap memory whose pages
// the advice does not reach.)
const bool kUmbralFijo = mallopt(M_MMAP_THRESHOLD, static_cast<int>(kPaginaGrande)) == 1;
// Fixing the threshold also fixes the heap's trim threshold at 128 KB, so
// the heap gave back its top on nearly every free and the next block of a
// megabyte (a column's cell kinds) paid a page fault every 4 KB again. The
// heap now keeps up to this much of its top for reuse.
const bool kRecorteFijo = mallopt(M_TRIM_THRESHOLD, 4 << 20) == 1;
#endif

void* intentar(std::size_t n, std::size_t alineacion) {
    if (n >= kPaginaGrande) {
        void* p = nullptr;
        if (posix_memalign(&p, kPaginaGrande > alineacion ? kPaginaGrande : alineacion, n) != 0)
            return nullptr;
        aconsejarPaginasGrandes(p, n);
        return p;
    }
    if (alineacion <= alignof(std::max_align_t))
        return std::malloc(n);
    void* p = nullptr;
    return posix_memalign(&p, alineacion, n) == 0 ? p : nullptr;
}

// As the standard's operator new: retry through the new-handler, and fail
// with bad_alloc (or nullptr for the nothrow forms) when there is none.
void* reservar(std::size_t n, std::size_t alineacion, bool lanzar) {
    if (n == 0)
        n = 1;
    for (;;) {
        if (void* p = intentar(n, alineacion))
            return p;
        const std::new_handler manejador = std::get_new_handler();
        if (!manejador) {
            if (lanzar)
                throw std::bad_alloc();
            return nullptr;
        }
        manejador();
    }
}

constexpr std::size_t kNormal = alignof(std::max_align_t);

} // namespace

void* operator new(std::size_t n) {
    return reservar(n, kNormal, true);
}
void* operator new[](std::size_t n) {
    return reservar(n, kNormal, true);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    try {
        return reservar(n, kNormal, false);
    } catch (...) {
        return nullptr; // a new-handler that throws
    }
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept {
    return operator new(n, t);
}
void* operator new(std::size_t n, std::align_val_t a) {
    return reservar(n, static_cast<std::size_t>(a), true);
}
void* operator new[](std::size_t n, std::align_val_t a) {
    return reservar(n, static_cast<std::size_t>(a), true);
}
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    try {
        return reservar(n, static_cast<std::size_t>(a), false);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t& t) noexcept {
    return operator new(n, a, t);
}

// Every block, aligned or not, is released by free().
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(p);
}
