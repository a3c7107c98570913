#pragma once

#include <QtGlobal>
#include <cstddef>

// One block of memory for many pictures made at once: one allocation instead of one per picture,
// and on Linux a mapping in transparent huge pages where the kernel offers them, so that filling
// 120 MiB costs a few dozen page faults instead of thirty thousand. The pictures are QImages over
// it; the block must outlive them.
class PictureBlock {
public:
    // Raises TZEMError when there is no memory for it.
    explicit PictureBlock(std::size_t bytes);
    ~PictureBlock();
    PictureBlock(const PictureBlock&) = delete;
    PictureBlock& operator=(const PictureBlock&) = delete;

    uchar* data() const { return m_data; }
    std::size_t size() const { return m_size; }

private:
    uchar* m_data = nullptr;
    std::size_t m_size = 0;
    void* m_mapping = nullptr;  // what the system handed out, when it was mapped
    std::size_t m_mapped = 0;
};
