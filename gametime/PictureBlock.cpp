#include "gametime/PictureBlock.h"

#include <cstdint>
#include <new>

#include "common/TZEMError.h"

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace {

const QString OutOfMemory = QStringLiteral("時計の針の画像を作るメモリが足りません");

#ifdef Q_OS_LINUX
constexpr std::size_t HugePage = std::size_t{2} << 20;
#endif

}  // namespace

PictureBlock::PictureBlock(std::size_t bytes) : m_size(bytes) {
    if (bytes == 0) {
        return;
    }
#ifdef Q_OS_LINUX
    // A huge page must start on a 2 MiB boundary: map one more and start at the first boundary.
    m_mapped = (bytes + HugePage - 1) / HugePage * HugePage + HugePage;
    m_mapping = mmap(nullptr, m_mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (m_mapping == MAP_FAILED) {
        m_mapping = nullptr;
        throw TZEMError(OutOfMemory);
    }
    const auto start = reinterpret_cast<std::uintptr_t>(m_mapping);
    m_data = reinterpret_cast<uchar*>((start + HugePage - 1) / HugePage * HugePage);
    // Where the kernel has no huge pages for us this fails, and small pages serve as ever.
    madvise(m_data, m_mapped - HugePage, MADV_HUGEPAGE);
#else
    m_data = new (std::nothrow) uchar[bytes];
    if (m_data == nullptr) {
        throw TZEMError(OutOfMemory);
    }
#endif
}

PictureBlock::~PictureBlock() {
#ifdef Q_OS_LINUX
    if (m_mapping != nullptr) {
        munmap(m_mapping, m_mapped);
    }
#else
    delete[] m_data;
#endif
}
