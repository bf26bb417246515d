// The query's text block: UTF-16 text appended in large chunks, so that it never moves while it
// grows, and copied to the host's buffer once. Its chunks are kept for the next query.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

class CTextBlock {
public:
    // Empties the block but keeps its memory.
    void Clear();
    // Gives the memory back.
    void Release();

    void Append(std::u16string_view text) {
        if (text.size() <= m_room) {  // the usual case: the text fits the current chunk
            std::memcpy(m_next, text.data(), text.size() * sizeof(char16_t));
            m_next += text.size();
            m_room -= text.size();
            m_size += text.size();
            return;
        }
        AppendAcrossChunks(text);
    }
    void Append(char16_t c) {
        if (m_room == 0) return AppendAcrossChunks(std::u16string_view(&c, 1));
        *m_next++ = c;
        --m_room;
        ++m_size;
    }
    // Removes the last character.
    void RemoveLast();
    std::size_t Size() const { return m_size; }
    // Writes the whole block to `out`, which has room for Size() characters.
    void CopyTo(char16_t* out) const;

private:
    static constexpr std::size_t kChunkCharacters = std::size_t{1} << 20;  // 2 MB

    struct ChunkDeleter {
        void operator()(char16_t* chunk) const noexcept;
    };
    using Chunk = std::unique_ptr<char16_t[], ChunkDeleter>;

    void AppendAcrossChunks(std::u16string_view text);
    // Points the write position at the end of the text.
    void Locate();

    std::vector<Chunk> m_chunks;
    std::size_t m_size = 0;
    char16_t* m_next = nullptr;  // where the next character goes
    std::size_t m_room = 0;      // characters left in its chunk
};
