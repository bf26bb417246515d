#include "exports/text_block.h"

#include <algorithm>
#include <cstring>

#include "memory/large_block.h"

void CTextBlock::ChunkDeleter::operator()(char16_t* chunk) const noexcept {
    orvanta::memory::FreeLarge(chunk, kChunkCharacters * sizeof(char16_t));
}

void CTextBlock::Clear() {
    m_size = 0;
    Locate();
}

void CTextBlock::Release() {
    m_chunks.clear();
    m_chunks.shrink_to_fit();
    m_size = 0;
    Locate();
}

void CTextBlock::RemoveLast() {
    --m_size;
    Locate();
}

void CTextBlock::Locate() {
    const std::size_t chunk = m_size / kChunkCharacters;
    const std::size_t offset = m_size % kChunkCharacters;
    if (chunk < m_chunks.size()) {
        m_next = m_chunks[chunk].get() + offset;
        m_room = kChunkCharacters - offset;
    } else {
        m_next = nullptr;
        m_room = 0;
    }
}

void CTextBlock::AppendAcrossChunks(std::u16string_view text) {
    while (!text.empty()) {
        if (m_room == 0) {
            if (m_size / kChunkCharacters == m_chunks.size()) {
                m_chunks.emplace_back(
                    static_cast<char16_t*>(orvanta::memory::AllocateLarge(kChunkCharacters * sizeof(char16_t))));
            }
            Locate();
        }
        const std::size_t count = std::min(text.size(), m_room);
        std::memcpy(m_next, text.data(), count * sizeof(char16_t));
        m_next += count;
        m_room -= count;
        m_size += count;
        text.remove_prefix(count);
    }
}

void CTextBlock::CopyTo(char16_t* out) const {
    for (std::size_t done = 0, chunk = 0; done < m_size; ++chunk) {
        const std::size_t count = std::min(kChunkCharacters, m_size - done);
        std::memcpy(out + done, m_chunks[chunk].get(), count * sizeof(char16_t));
        done += count;
    }
}
