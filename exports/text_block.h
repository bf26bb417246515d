// The query's text block: UTF-16 text appended in large chunks, so that it never moves while it
// grows, and copied to the host's buffer once. Its chunks are kept for the next query.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

class CTextBlock {
public:
    // Empties the block but keeps its memory.
    void Clear();
    // Gives the memory back.
    void Release();

    void Append(std::u16string_view text);
    void Append(char16_t c) { Append(std::u16string_view(&c, 1)); }
    // Removes the last character.
    void RemoveLast() { --m_size; }
    std::size_t Size() const { return m_size; }
    // Writes the whole block to `out`, which has room for Size() characters.
    void CopyTo(char16_t* out) const;

private:
    static constexpr std::size_t kChunkCharacters = std::size_t{1} << 20;  // 2 MB

    struct ChunkDeleter {
        void operator()(char16_t* chunk) const noexcept;
    };
    using Chunk = std::unique_ptr<char16_t[], ChunkDeleter>;

    std::vector<Chunk> m_chunks;
    std::size_t m_size = 0;
};
